// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop/launch_options.h"

#include <QCoreApplication>
#include <QString>
#include <algorithm>
#include <iterator>

#include "editors/editor_table.h"
#include "wheel/wheel_action.h"
#include "whirlpane/formats.h"

namespace Whirlpane {
namespace {

// `text` in the program's language with its %1, %2 filled in: what the
// launch tells the user on standard error, or in the alert.
QString translation(const char* text) {
  return QCoreApplication::translate("Whirlpane::LaunchOptions", text);
}
std::string said(const char* text) { return translation(text).toStdString(); }
std::string said(const char* text, const std::string& first) {
  return translation(text).arg(QString::fromStdString(first)).toStdString();
}
std::string said(const char* text, const std::string& first, const std::string& second) {
  return translation(text)
      .arg(QString::fromStdString(first), QString::fromStdString(second))
      .toStdString();
}

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

std::vector<fs::path> LaunchOptions::allFiles() const {
  std::vector<fs::path> all;
  if (open) all.push_back(*open);
  all.insert(all.end(), files.begin(), files.end());
  return all;
}

LaunchOptions parseLaunchOptions(const std::vector<std::string>& arguments) {
  LaunchOptions options;
  // The options that take the next argument as their value, and where it goes.
  const auto valueOf = [&](const std::string& option) -> std::optional<std::string>* {
    if (option == "--editor") return &options.editor;
    if (option == "--to") return &options.format;
    return nullptr;
  };
  for (size_t at = 1; at < arguments.size(); ++at) {
    const std::string& argument = arguments[at];
    if (argument == "--tools") {
      options.tools = true;
    } else if (argument == "--test-mode") {
      options.testing = true;
    } else if (argument == "--window") {
      options.window = true;
    } else if (argument == "--show-wheel") {
      options.showWheel = true;
    } else if (argument == "--open") {
      // An "--open" that is the last argument counts as absent.
      if (at + 1 < arguments.size() && !options.open) {
        std::error_code ignored;
        options.open = fs::absolute(fs::path(arguments[at + 1]), ignored);
      }
      ++at;
    } else if (std::optional<std::string>* value = valueOf(argument)) {
      if (at + 1 >= arguments.size()) {
        if (!options.problem) {
          options.problem = said(QT_TRANSLATE_NOOP("Whirlpane::LaunchOptions",
                                                   "%1 needs a value: see whirlpane --help."),
                                 argument);
        }
      } else if (!*value) {
        *value = arguments[at + 1];
      }
      ++at;
    } else if (argument.starts_with("--")) {
      if (!options.problem) {
        options.problem =
            said(QT_TRANSLATE_NOOP("Whirlpane::LaunchOptions",
                                   "%1 is not an option of Whirlpane: see whirlpane --help."),
                 argument);
      }
    } else if (auto file = fileFromArgument(argument)) {
      options.files.push_back(std::move(*file));
    }
  }
  return options;
}

namespace {

std::string quoted(const fs::path& file) { return file.filename().string(); }

// Why `file` cannot be converted or edited, or none.
std::optional<std::string> fileProblem(const fs::path& file) {
  std::error_code error;
  const fs::file_status status = fs::status(file, error);
  if (!fs::exists(status)) {
    return said(QT_TRANSLATE_NOOP("Whirlpane::LaunchOptions", "\u201C%1\u201D does not exist."),
                quoted(file));
  }
  if (fs::is_directory(status)) {
    return said(QT_TRANSLATE_NOOP("Whirlpane::LaunchOptions",
                                  "\u201C%1\u201D is a folder; choose the files in it."),
                quoted(file));
  }
  if (!supported(file))
    return said(QT_TRANSLATE_NOOP("Whirlpane::LaunchOptions",
                                  "Whirlpane does not open \u201C%1\u201D: images and PDFs only."),
                quoted(file));
  return std::nullopt;
}

}  // namespace

std::optional<std::string> requestProblem(const LaunchOptions& options) {
  if (options.problem) return options.problem;
  if (!options.format && !options.editor) return std::nullopt;
  if (options.format && options.editor) {
    return said(QT_TRANSLATE_NOOP("Whirlpane::LaunchOptions",
                                  "--to and --editor cannot be used together."));
  }
  const std::vector<fs::path> files = options.allFiles();
  if (files.empty()) {
    return options.format
               ? said(QT_TRANSLATE_NOOP("Whirlpane::LaunchOptions",
                                        "Name the files to convert: whirlpane --to FORMAT FILE..."))
               : said(QT_TRANSLATE_NOOP("Whirlpane::LaunchOptions",
                                        "Name the file to edit: whirlpane --editor EDITOR FILE"));
  }
  if (options.editor) {
    const std::string key = MediaEngine::asciiLower(*options.editor);
    const auto& editors = editorTable();
    if (std::none_of(editors.begin(), editors.end(),
                     [&](const EditorEntry& editor) { return editor.key == key; })) {
      std::string known;
      for (const EditorEntry& editor : editors) known += (known.empty() ? "" : ", ") + editor.key;
      return said(QT_TRANSLATE_NOOP("Whirlpane::LaunchOptions",
                                    "\u201C%1\u201D is not an editor of Whirlpane: %2."),
                  *options.editor, known);
    }
  }
  std::string format;
  if (options.format) {
    try {
      format = MediaEngine::normalized(*options.format);
    } catch (const std::exception&) {
      return said(QT_TRANSLATE_NOOP("Whirlpane::LaunchOptions",
                                    "\u201C%1\u201D is not a format Whirlpane converts to."),
                  *options.format);
    }
  }
  for (const fs::path& file : files) {
    if (auto problem = fileProblem(file)) return problem;
    if (options.format) {
      const std::vector<WheelAction> offered = WheelAction::convertibleTo(file);
      if (std::none_of(offered.begin(), offered.end(),
                       [&](const WheelAction& action) { return action.key == format; })) {
        return said(QT_TRANSLATE_NOOP("Whirlpane::LaunchOptions",
                                      "\u201C%1\u201D cannot be converted to %2."),
                    quoted(file), MediaEngine::asciiUpper(format));
      }
    }
  }
  return std::nullopt;
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
