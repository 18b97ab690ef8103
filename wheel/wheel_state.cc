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

WheelState::CenterCaption WheelState::centerCaption() const {
  using Kind = CenterCaption::Kind;
  if (const auto index = validHovered()) return {Kind::label, actions[*index].label, 0};
  const auto& list = labelledFiles();
  if (list.size() >= 2) return {Kind::files, {}, list.size()};
  if (labelledFile() && sizeText) return {Kind::size, *sizeText, 0};
  if (invitesDrop && !labelledFile()) return {Kind::drop, {}, 0};
  return {isTools ? Kind::tools : Kind::convert, {}, 0};
}

std::string WheelState::centerLabel() const {
  const CenterCaption caption = centerCaption();
  switch (caption.kind) {
    case CenterCaption::Kind::files:
      return std::to_string(caption.count) + " files";
    case CenterCaption::Kind::drop:
      return "Drop files here";
    case CenterCaption::Kind::tools:
      return "TOOLS";
    case CenterCaption::Kind::convert:
      return "CONVERT";
    default:
      return caption.text;
  }
}

}  // namespace Whirlpane
