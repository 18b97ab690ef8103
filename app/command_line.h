// Reading the argument vector: which of the program's modes applies, decided
// from the arguments alone. Options are whole, case-sensitive arguments; no
// short forms, no "--opt=value", no clustering.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace Whirlpane {

struct Invocation {
  enum class Mode {
    convert,      // "--convert" with a source and "--to" with a format
    usageError,   // "--convert" present but its arguments incomplete
    version,      // "--version", "--convert" absent
    help,         // "--help", "--convert" and "--version" absent
    application,  // anything else: the desktop application
  };
  Mode mode = Mode::application;
  std::string source;  // as typed, for Mode::convert
  std::string format;  // as typed, for Mode::convert
};

// `arguments[0]` is the program path. The first "--convert" and the first
// "--to" count, in either order; the argument after each is taken verbatim, even
// when it looks like an option.
Invocation parseCommandLine(const std::vector<std::string>& arguments);

inline constexpr std::string_view versionLine = "Whirlpane 1.1.0";
inline constexpr std::string_view usageLine = "Usage: Whirlpane --convert /path/to/file --to png";

// The --help text: the forms of the command line and the output formats.
std::string helpText();

}  // namespace Whirlpane
