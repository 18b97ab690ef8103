// SPDX-License-Identifier: GPL-3.0-or-later
// What the desktop program's arguments ask for at launch: a file to open the
// wheel (or an editor) on, the tools wheel, the quiet test mode, and files
// handed over by the desktop's Open With (plain paths or file:// URIs).
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
  // "--editor" followed by another argument, only together with `open`.
  std::optional<std::string> editor;
  bool tools = false;    // "--tools"
  bool testing = false;  // "--test-mode": no introduction, no drag watch
  // Every other argument that names a file: what Open With hands over.
  std::vector<std::filesystem::path> files;
};

// `arguments[0]` is the program path. Relative paths are made absolute
// against the working folder.
LaunchOptions parseLaunchOptions(const std::vector<std::string>& arguments);

// The local file an argument names: a path as it is (made absolute), or a
// "file://" URI with an empty or "localhost" host, percent-decoded. None for
// other URIs, malformed escapes and empty arguments.
std::optional<std::filesystem::path> fileFromArgument(std::string_view argument);

// The twelve source extensions the wheel accepts, compared in lower case.
bool supported(const std::filesystem::path& file);

// The supported files of `files`, in their order.
std::vector<std::filesystem::path> supportedOnly(const std::vector<std::filesystem::path>& files);

}  // namespace Whirlpane
