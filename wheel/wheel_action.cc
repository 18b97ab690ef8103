// SPDX-License-Identifier: GPL-3.0-or-later
#include "wheel/wheel_action.h"

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
  return pdf ? build(pdfLabels) : build(imageLabels);
}

}  // namespace Whirlpane
