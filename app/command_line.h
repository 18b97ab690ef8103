// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the argument vector: which of the program's modes applies, decided
// from the arguments alone. Options are whole, case-sensitive arguments; no
// short forms, no "--opt=value", no clustering.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "whirlpane/version.h"

namespace Whirlpane {

inline constexpr std::string_view versionLine = "Whirlpane " WHIRLPANE_VERSION;
inline constexpr std::string_view usageLine = "Usage: whirlpane --convert /path/to/file --to png";
inline constexpr std::string_view metadataUsageLine = "Usage: whirlpane --metadata /path/to/file";
inline constexpr std::string_view compressUsageLine =
    "Usage: whirlpane --compress /path/to/file --quality 0.6";
inline constexpr std::string_view stripUsageLine = "Usage: whirlpane --strip /path/to/file";

struct Invocation {
  enum class Mode {
    convert,      // "--convert" with a source and "--to" with a format
    metadata,     // "--metadata" with a file
    compress,     // "--compress" with a file and "--quality" with a number
    strip,        // "--strip" with a file
    usageError,   // one of the above present but its arguments incomplete
    version,      // "--version", none of the above present
    help,         // "--help", none of the above nor "--version" present
    application,  // anything else: the desktop application
  };
  Mode mode = Mode::application;
  std::string source;                  // as typed, for the file operations
  std::string format;                  // as typed, for Mode::convert
  std::string quality;                 // as typed, for Mode::compress
  std::string_view usage = usageLine;  // for Mode::usageError: the form that was incomplete
};

// `arguments[0]` is the program path. "--convert" takes precedence, then
// "--metadata", "--compress" and "--strip", in that order. The first
// occurrence of an option counts, options come in any order, and the argument
// after each is taken verbatim, even when it looks like an option.
Invocation parseCommandLine(const std::vector<std::string>& arguments);

// The --help text: the forms of the command line and the output formats.
std::string helpText();

}  // namespace Whirlpane
