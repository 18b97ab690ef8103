// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"

#include <libintl.h>

#include <algorithm>
#include <clocale>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "whirlpane/formats.h"

namespace Whirlpane {
namespace {

// The engine's catalogue, which holds the command line's texts too.
constexpr char textDomain[] = "whirlpane";

// Index of the first argument equal to `option`, or npos.
size_t find(const std::vector<std::string>& arguments, std::string_view option) {
  const auto it = std::find(arguments.begin(), arguments.end(), option);
  return it == arguments.end() ? std::string::npos : static_cast<size_t>(it - arguments.begin());
}

// Every option the program knows, its own and the desktop program's: where one
// stands, the files of "--convert" end.
constexpr std::string_view knownOptions[] = {
    "--convert", "--to",          "--metadata",      "--compress",       "--quality",
    "--strip",   "--version",     "--help",          "--open",           "--tools",
    "--editor",  "--test-mode",   "--output-folder", "--password-stdin", "--show-wheel",
    "--window",  "--batch-worker"};

bool isOption(std::string_view argument) {
  return std::find(std::begin(knownOptions), std::end(knownOptions), argument) !=
         std::end(knownOptions);
}

}  // namespace

Invocation parseCommandLine(const std::vector<std::string>& arguments) {
  using Mode = Invocation::Mode;
  // The argument after the first `option`, or nullopt when either is missing.
  const auto valueOf = [&](std::string_view option) -> std::optional<std::string> {
    const size_t at = find(arguments, option);
    if (at == std::string::npos || at + 1 >= arguments.size()) return std::nullopt;
    return arguments[at + 1];
  };
  const auto present = [&](std::string_view option) {
    return find(arguments, option) != std::string::npos;
  };
  const auto make = [](Mode mode, std::string source = {}, std::string format = {},
                       std::string quality = {}) {
    Invocation invocation;
    invocation.mode = mode;
    invocation.source = std::move(source);
    invocation.format = std::move(format);
    invocation.quality = std::move(quality);
    return invocation;
  };
  const auto incomplete = [&](std::string_view usage) {
    Invocation invocation = make(Mode::usageError);
    invocation.usage = usage;
    return invocation;
  };

  if (present("--batch-worker")) return make(Mode::batchWorker);
  if (present("--convert")) {
    const auto source = valueOf("--convert"), format = valueOf("--to");
    const auto folder = valueOf("--output-folder");
    if (!source || !format || (present("--output-folder") && !folder)) {
      return incomplete(usageLine);
    }
    Invocation invocation = make(Mode::convert, *source, *format);
    invocation.outputFolder = folder.value_or("");
    invocation.passwordFromStdin = present("--password-stdin");
    invocation.sources.push_back(*source);
    // The format itself ends them too ("--convert --to png": "--to" is the file).
    const size_t formatAt = find(arguments, "--to") + 1;
    for (size_t at = find(arguments, "--convert") + 2;
         at < arguments.size() && at != formatAt && !isOption(arguments[at]); ++at)
      invocation.sources.push_back(arguments[at]);
    return invocation;
  }
  if (present("--metadata")) {
    const auto source = valueOf("--metadata");
    if (!source) return incomplete(metadataUsageLine);
    return make(Mode::metadata, *source);
  }
  if (present("--compress")) {
    const auto source = valueOf("--compress"), quality = valueOf("--quality");
    if (!source || !quality) return incomplete(compressUsageLine);
    return make(Mode::compress, *source, {}, *quality);
  }
  if (present("--strip")) {
    const auto source = valueOf("--strip");
    if (!source) return incomplete(stripUsageLine);
    return make(Mode::strip, *source);
  }
  if (present("--version")) return make(Mode::version);
  if (present("--help")) return make(Mode::help);
  return make(Mode::application);
}

std::string helpText() {
  // Options, file names and format names are the same in every language.
  std::string text;
  text += translated(
      // TRANSLATORS: only "Usage:" is translated; the lines below it line up with the first
      // "whirlpane".
      "Usage: whirlpane --convert /path/to/file… --to png [--output-folder DIR] "
      "[--password-stdin]\n"
      "       whirlpane --metadata /path/to/file\n"
      "       whirlpane --compress /path/to/file --quality 0.6\n"
      "       whirlpane --strip /path/to/file\n"
      "       whirlpane --version\n"
      "       whirlpane --help");
  text += "\n\n";
  for (const char* line : {
           translatable(
               "--convert converts each file, several at once, and prints the path of every file\n"
               "  written beside it, file by file in the order given. A file that fails gets one\n"
               "  line of its own on standard error; the others go on."),
           translatable("--password-stdin reads the password of a locked PDF from the first line "
                        "of standard input\n"
                        "  (asking for it when that is a terminal); it is used for this conversion "
                        "only."),
           translatable("--output-folder DIR puts what --convert writes in the folder DIR "
                        "instead."),
           translatable(
               // TRANSLATORS: the labels are English in every language; \\, \t and \n are
               // written as they are.
               "--metadata lists what is known about a file, one \"label<tab>value\" line each\n"
               "  (backslashes, tabs and line breaks inside a value are written as \\\\, \\t and "
               "\\n)."),
           // TRANSLATORS: "-compressed" is added to the file name as it stands.
           translatable("--compress writes a smaller copy (\"-compressed\") at a quality from 0 "
                        "to 1, if one can be made."),
           // TRANSLATORS: "-clean" is added to the file name as it stands.
           translatable("--strip writes a copy of an image without its metadata (\"-clean\")."),
           // TRANSLATORS: "photo 2.png" is a name the program makes, the same in every language.
           translatable("Existing files are never replaced: a taken name gets a number (\"photo "
                        "2.png\")."),
       }) {
    text += translated(line);
    text += '\n';
  }
  text += '\n';
  text += translated("Output formats:");
  for (std::string_view format : MediaEngine::outputFormats) {
    text += ' ';
    text += format;
  }
  text += '\n';
  text += translated("(jpeg, tif and heif are accepted for jpg, tiff and heic.)");
  text += "\n\n";
  text += translated(
      "Exit status: 0 on success, 1 when the operation fails (for --convert: when any\n"
      "file fails), 2 when its arguments are incomplete, 3 when a PDF is locked and no\n"
      "password, or a wrong one, was given, 128 + N when stopped by signal N.");
  text += '\n';
  text +=
      translated("Without an operation, Whirlpane starts the desktop program. See whirlpane(1).");
  text += '\n';
  text += translated(
      "A launch hands what it asks for to the desktop program that runs already, if one does:");
  text += '\n';
  const std::pair<std::string_view, const char*> launches[] = {
      {"whirlpane FILE...                     ", translatable("the wheel for the files")},
      {"whirlpane --open FILE [--tools]       ",
       translatable("the formats (or the tools) wheel for the file")},
      {"whirlpane --open FILE --editor EDITOR ", translatable("an editor on the file")},
      {"whirlpane --to FORMAT FILE...         ", translatable("the files converted as one batch")},
      {"whirlpane --editor EDITOR FILE...     ", translatable("an editor on each file")},
      {"whirlpane --show-wheel [--tools]      ",
       // TRANSLATORS: what a custom keyboard shortcut of the desktop runs.
       translatable("the wheel for the current files, as the hot key shows it")},
      {"whirlpane --window                    ",
       translatable("the program's own window, which takes dropped files")},
  };
  for (const auto& [launch, description] : launches) {
    text += "  ";
    text += launch;
    text += ' ';
    text += translated(description);
    text += '\n';
  }
  text += translated("Editors:");
  for (std::string_view editor : editorKeys) {
    text += ' ';
    text += editor;
  }
  text += '\n';
  return text;
}

void followUserLanguage() {
  std::setlocale(LC_CTYPE, "");
  std::setlocale(LC_MESSAGES, "");
  std::error_code ignored;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", ignored);
  if (!executable.empty()) {
    const std::filesystem::path folder =
        (executable.parent_path() / "../share/locale").lexically_normal();
    ::bindtextdomain(textDomain, folder.c_str());
  }
  ::bind_textdomain_codeset(textDomain, "UTF-8");
}

std::string translated(std::string_view english) {
  return ::dgettext(textDomain, std::string(english).c_str());
}

}  // namespace Whirlpane
