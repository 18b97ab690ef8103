#include "wheel/wheel_state.h"

#include <system_error>

#include "whirlpane/metadata.h"

namespace Whirlpane {

std::optional<int> WheelState::validHovered() const {
  if (hovered && *hovered >= 0 && *hovered < static_cast<int>(actions.size())) return hovered;
  return std::nullopt;
}

std::string WheelState::centerLabel() const {
  if (const auto index = validHovered()) return actions[*index].label;
  const auto& list = provisionalFiles.empty() ? files : provisionalFiles;
  if (list.size() >= 2) return std::to_string(list.size()) + " files";
  const std::optional<std::filesystem::path> one = list.empty() ? file : list.front();
  if (one) {
    std::error_code error;
    const auto size = std::filesystem::file_size(*one, error);
    if (!error) return MediaEngine::byteCount(static_cast<long long>(size));
  }
  return isTools ? "TOOLS" : "CONVERT";
}

}  // namespace Whirlpane
