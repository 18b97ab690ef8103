// SPDX-License-Identifier: GPL-3.0-or-later
#include "wheel/wheel_action.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "whirlpane/formats.h"

namespace Whirlpane {

std::vector<WheelAction> WheelAction::formats(const std::optional<std::filesystem::path>& file) {
  static constexpr std::array<std::string_view, 4> pdfLabels{"DOCX", "JPG", "PNG", "TXT"};
  static constexpr std::array<std::string_view, 8> imageLabels{"PNG",  "WEBP", "HEIC", "TIFF",
                                                               "AVIF", "BMP",  "PDF",  "DOCX"};
  const bool pdf = file && MediaEngine::asciiLower(file->extension().string()) == ".pdf";
  const auto build = [](const auto& labels) {
    std::vector<WheelAction> actions;
    for (const std::string_view label : labels) {
      actions.push_back({std::string(label), std::nullopt, MediaEngine::asciiLower(label)});
    }
    return actions;
  };
  if (pdf) return build(pdfLabels);
  std::vector<WheelAction> actions = build(imageLabels);
  // Converting a file to its own format is rarely wanted; JPG, the format
  // every program reads, is.
  std::string own = file ? MediaEngine::asciiLower(file->extension().string()) : "";
  if (own == ".heif") own = ".heic";
  if (own == ".tif") own = ".tiff";
  for (WheelAction& action : actions) {
    if ("." + action.key == own) action = {"JPG", std::nullopt, "jpg"};
  }
  return actions;
}

std::vector<WheelAction> WheelAction::convertibleTo(const std::filesystem::path& file) {
  if (MediaEngine::asciiLower(file.extension().string()) == ".pdf") return formats(file);
  std::vector<WheelAction> actions = formats(std::filesystem::path("a.jpg"));
  for (const WheelAction& action : formats(file)) {
    if (std::find(actions.begin(), actions.end(), action) == actions.end()) {
      actions.push_back(action);
    }
  }
  return actions;
}

}  // namespace Whirlpane
