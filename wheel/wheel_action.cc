#include "wheel/wheel_action.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace Whirlpane {

const std::vector<WheelAction>& WheelAction::tools() {
  static const std::vector<WheelAction> list{
      {"COMPRESS", "arrows-inward", "compress"},
      {"METADATA", "tag", "metadata"},
      {"EDIT", "sliders", "edit"},
      {"ANNOTATE", "pencil-line", "annotate"},
      {"ADD BG", "photo", "background"},
      {"CROP", "crop", "crop"},
      {"REDACT", "eye-slash", "redact"},
  };
  return list;
}

std::vector<WheelAction> WheelAction::formats(const std::optional<std::filesystem::path>& url) {
  static constexpr std::array<std::string_view, 4> pdfLabels{"DOCX", "JPG", "PNG", "TXT"};
  static constexpr std::array<std::string_view, 8> imageLabels{"PNG",  "WEBP", "HEIC", "TIFF",
                                                               "AVIF", "BMP",  "PDF",  "DOCX"};
  std::string extension = url ? url->extension().string() : ".png";
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  const auto build = [](const auto& labels) {
    std::vector<WheelAction> actions;
    for (const std::string_view label : labels) {
      std::string key(label);
      std::transform(key.begin(), key.end(), key.begin(),
                     [](unsigned char c) { return std::tolower(c); });
      actions.push_back({std::string(label), std::nullopt, key});
    }
    return actions;
  };
  return extension == ".pdf" ? build(pdfLabels) : build(imageLabels);
}

bool WheelAction::isTool(const std::string& key) {
  const auto& list = tools();
  return std::any_of(list.begin(), list.end(), [&](const WheelAction& t) { return t.key == key; });
}

}  // namespace Whirlpane
