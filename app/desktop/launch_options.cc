// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop/launch_options.h"

#include <algorithm>
#include <iterator>

#include "whirlpane/formats.h"

namespace Whirlpane {
namespace {

namespace fs = std::filesystem;

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::string> percentDecoded(std::string_view text) {
  std::string decoded;
  decoded.reserve(text.size());
  for (size_t at = 0; at < text.size(); ++at) {
    if (text[at] != '%') {
      decoded.push_back(text[at]);
      continue;
    }
    if (at + 2 >= text.size()) return std::nullopt;
    const int high = hexValue(text[at + 1]), low = hexValue(text[at + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    decoded.push_back(static_cast<char>(high * 16 + low));
    at += 2;
  }
  return decoded;
}

}  // namespace

std::optional<fs::path> fileFromArgument(std::string_view argument) {
  if (argument.empty()) return std::nullopt;
  constexpr std::string_view scheme = "file://";
  if (MediaEngine::asciiLower(argument.substr(0, scheme.size())) == scheme) {
    const std::string_view rest = argument.substr(scheme.size());
    const size_t slash = rest.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    const std::string_view host = rest.substr(0, slash);
    if (!host.empty() && host != "localhost") return std::nullopt;
    std::optional<std::string> path = percentDecoded(rest.substr(slash));
    if (!path || path->find('\0') != std::string::npos) return std::nullopt;
    return fs::path(*path);
  }
  if (argument.find("://") != std::string_view::npos) return std::nullopt;
  std::error_code ignored;
  return fs::absolute(fs::path(argument), ignored);
}

LaunchOptions parseLaunchOptions(const std::vector<std::string>& arguments) {
  LaunchOptions options;
  const auto open =
      std::find(arguments.begin() + (arguments.empty() ? 0 : 1), arguments.end(), "--open");
  const auto editor = std::find(arguments.begin(), arguments.end(), "--editor");
  for (size_t at = 1; at < arguments.size(); ++at) {
    const std::string& argument = arguments[at];
    if (argument == "--tools") {
      options.tools = true;
    } else if (argument == "--test-mode") {
      options.testing = true;
    } else if (argument == "--open" || argument == "--editor") {
      ++at;  // its value is not a file handed over
    } else if (!argument.starts_with("--")) {
      if (auto file = fileFromArgument(argument)) options.files.push_back(std::move(*file));
    }
  }
  if (open != arguments.end() && open + 1 != arguments.end()) {
    std::error_code ignored;
    options.open = fs::absolute(fs::path(*(open + 1)), ignored);
    if (editor != arguments.end() && editor + 1 != arguments.end()) options.editor = *(editor + 1);
  }
  return options;
}

bool supported(const fs::path& file) {
  const std::string ext = file.extension().string();
  if (ext.empty()) return false;
  const auto& known = MediaEngine::sourceExtensions;
  return std::find(known.begin(), known.end(), MediaEngine::asciiLower(ext.substr(1))) !=
         known.end();
}

std::vector<fs::path> supportedOnly(const std::vector<fs::path>& files) {
  std::vector<fs::path> kept;
  std::copy_if(files.begin(), files.end(), std::back_inserter(kept),
               [](const fs::path& file) { return supported(file); });
  return kept;
}

}  // namespace Whirlpane
