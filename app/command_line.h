// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the argument vector: which of the program's modes applies, decided
// from the arguments alone. Options are whole, case-sensitive arguments; no
// short forms, no "--opt=value", no clustering. And the command line's texts
// in the user's language: what it tells a person (usage, help, its own
// errors) comes from the catalogue it shares with the engine; options and
// what programs read (paths, the metadata listing) stay as they are.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "whirlpane/version.h"

namespace Whirlpane {

// Marks a text for the catalogue where it is defined; translated() gives it in
// the user's language where it is shown. (xgettext reads the argument.)
constexpr const char* translatable(const char* english) { return english; }

inline constexpr std::string_view versionLine = "Whirlpane " WHIRLPANE_VERSION;
// The usage lines, in English; each is a text of the catalogue.
inline constexpr std::string_view usageLine =
    translatable("Usage: whirlpane --convert /path/to/file… --to png");
inline constexpr std::string_view metadataUsageLine =
    translatable("Usage: whirlpane --metadata /path/to/file");
inline constexpr std::string_view compressUsageLine =
    translatable("Usage: whirlpane --compress /path/to/file --quality 0.6");
inline constexpr std::string_view stripUsageLine =
    translatable("Usage: whirlpane --strip /path/to/file");

// The desktop program's editors as --editor names them, in the tools wheel's
// order. The desktop program checks its own table against this list.
inline constexpr std::string_view editorKeys[] = {"compress",   "metadata", "edit",  "annotate",
                                                  "background", "crop",     "redact"};

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
    batchWorker,  // "--batch-worker": the desktop program's conversion worker (not in --help)
  };
  Mode mode = Mode::application;
  std::string source;                  // as typed, for the file operations (the first)
  std::vector<std::string> sources;    // as typed, for Mode::convert: every file, in order
  std::string format;                  // as typed, for Mode::convert
  std::string quality;                 // as typed, for Mode::compress
  bool passwordFromStdin = false;      // "--password-stdin", for Mode::convert
  std::string outputFolder;            // "--output-folder" as typed, for Mode::convert
  std::string_view usage = usageLine;  // for Mode::usageError: the form that was incomplete
};

// `arguments[0]` is the program path. "--batch-worker" takes precedence, then
// "--convert" (with "--output-folder" where given), then
// "--metadata", "--compress" and "--strip", in that order. The first
// occurrence of an option counts, options come in any order, and the argument
// after each is taken verbatim, even when it looks like an option. "--convert"
// takes further files after its first, up to the next of the program's options,
// the format, or the end.
Invocation parseCommandLine(const std::vector<std::string>& arguments);

// Exit status of a conversion that stopped at a locked PDF: no password was
// given, or the one given does not open it.
inline constexpr int needsPasswordStatus = 3;

// The --help text, in the user's language: the forms of the command line and
// the output formats.
std::string helpText();

// Makes the process follow the user's language: the locale the environment
// names (LC_ALL, LC_MESSAGES, LANG; then LANGUAGE's list) for messages and
// characters, and the catalogue "whirlpane" bound to <prefix>/share/locale
// beside the executable. Numbers, dates and sorting stay in the C locale, so
// that "--quality 0.8" and the metadata listing read alike in every language.
// Call once, first thing in main, before any other thread.
void followUserLanguage();

// `english` in the user's language: its translation in the catalogue, or
// `english` itself where there is none (or under the C locale).
std::string translated(std::string_view english);

}  // namespace Whirlpane
