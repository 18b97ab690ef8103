// SPDX-License-Identifier: GPL-3.0-or-later
#include "wheel/wheel_state.h"

namespace Whirlpane {

std::optional<int> WheelState::validHovered() const {
  if (hovered && *hovered >= 0 && *hovered < static_cast<int>(actions.size())) return hovered;
  return std::nullopt;
}

const std::vector<std::filesystem::path>& WheelState::labelledFiles() const {
  return provisionalFiles.empty() ? files : provisionalFiles;
}

std::optional<std::filesystem::path> WheelState::labelledFile() const {
  const auto& list = labelledFiles();
  if (list.size() >= 2) return std::nullopt;
  return list.empty() ? file : list.front();
}

std::string WheelState::centerLabel() const {
  if (const auto index = validHovered()) return actions[*index].label;
  const auto& list = labelledFiles();
  if (list.size() >= 2) return std::to_string(list.size()) + " files";
  if (labelledFile() && sizeText) return *sizeText;
  return isTools ? "TOOLS" : "CONVERT";
}

}  // namespace Whirlpane
