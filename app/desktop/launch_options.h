// SPDX-License-Identifier: GPL-3.0-or-later
// What the desktop program's arguments ask for at launch: a file to open the
// wheel (or an editor) on, the tools wheel, the wheel for the current files
// (what a desktop's own shortcut asks), the program's window, files to convert to a format or to
// open an editor on (what the file managers' menus ask), the quiet test mode,
// and files handed over by the desktop's Open With (plain paths or file://
// URIs). A later launch hands the same request to the running program.
//
// Thread safety: plain functions of their arguments; any thread.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Whirlpane {

struct LaunchOptions {
  // "--open" followed by another argument: that argument as a path (not
  // checked for existence or type). An "--open" that is the last argument
  // counts as absent.
  std::optional<std::filesystem::path> open;
  // "--editor" followed by another argument: that editor on `open`, or on
  // each of `files`.
  std::optional<std::string> editor;
  // "--to" followed by another argument: `files` converted to that format as
  // one batch, as if dropped on its wedge.
  std::optional<std::string> format;
  bool tools = false;    // "--tools"
  bool testing = false;  // "--test-mode": no introduction, no drag watch
  // "--window": the program's own window, even where a tray exists.
  bool window = false;
  // "--show-wheel": the wheel for the current files (the tools with
  // "--tools"), as the hot key shows it.
  bool showWheel = false;
  // Every other argument that names a file: what Open With hands over.
  std::vector<std::filesystem::path> files;
  // Why the arguments cannot be acted on, as one line for the user: an
  // option that is not the program's, or one whose value is missing.
  std::optional<std::string> problem;

  // `open` (when present) followed by `files`.
  std::vector<std::filesystem::path> allFiles() const;

  bool operator==(const LaunchOptions&) const = default;
};

// `arguments[0]` is the program path. Relative paths are made absolute
// against the working folder.
LaunchOptions parseLaunchOptions(const std::vector<std::string>& arguments);

// Why the request of well-formed `options` cannot be carried out, as one line
// for the user, checked before anything starts or is handed over: "--to" or
// "--editor" without a file; a format that is not one, or that one of the
// files cannot take (the formats its wheel offers); an editor that is not
// one; "--to" together with "--editor"; for those two, a file that does not
// exist, a folder, or a file Whirlpane does not open. None when it can be.
std::optional<std::string> requestProblem(const LaunchOptions& options);

// The local file an argument names: a path as it is (made absolute), or a
// "file://" URI with an empty or "localhost" host, percent-decoded. None for
// other URIs, malformed escapes and empty arguments.
std::optional<std::filesystem::path> fileFromArgument(std::string_view argument);

// The twelve source extensions the wheel accepts, compared in lower case.
bool supported(const std::filesystem::path& file);

// The supported files of `files`, in their order.
std::vector<std::filesystem::path> supportedOnly(const std::vector<std::filesystem::path>& files);

}  // namespace Whirlpane
