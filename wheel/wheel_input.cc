// SPDX-License-Identifier: GPL-3.0-or-later
#include "wheel/wheel_input.h"

#include <algorithm>
#include <cmath>
#include <system_error>

namespace Whirlpane {

void CenterPress::press(DesktopPoint pointer, DesktopPoint windowOrigin) {
  pressedAt_ = pointer;
  windowOrigin_ = windowOrigin;
  moved_ = false;
}

std::optional<DesktopPoint> CenterPress::drag(DesktopPoint pointer) {
  if (!pressedAt_) return std::nullopt;
  const double dx = pointer.x - pressedAt_->x;
  const double dy = pointer.y - pressedAt_->y;
  if (std::hypot(dx, dy) > moveThreshold) moved_ = true;
  if (!moved_) return std::nullopt;
  return DesktopPoint{windowOrigin_.x + dx, windowOrigin_.y + dy};
}

bool CenterPress::release() {
  const bool toggles = pressedAt_ && !moved_;
  pressedAt_.reset();
  moved_ = false;
  return toggles;
}

std::optional<int> typedWedge(std::string_view characters, int count) {
  std::string_view digits = characters;
  bool negative = false;
  if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
    negative = digits.front() == '-';
    digits.remove_prefix(1);
  }
  if (digits.empty() ||
      !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  // Past the largest wheel's count the exact value no longer matters.
  long long n = 0;
  for (const char c : digits) n = std::min<long long>(n * 10 + (c - '0'), 1'000'000);
  if (negative || n < 1 || n > count) return std::nullopt;
  return static_cast<int>(n - 1);
}

std::vector<std::filesystem::path> droppableFiles(std::vector<std::filesystem::path> candidates) {
  std::erase_if(candidates, [](const std::filesystem::path& p) {
    std::error_code ignored;
    return std::filesystem::is_directory(p, ignored);
  });
  return candidates;
}

std::optional<std::vector<WheelAction>> wedgesForDrag(
    const std::vector<std::filesystem::path>& files, bool isTools,
    const std::vector<WheelAction>& current) {
  if (isTools || files.empty()) return std::nullopt;
  std::vector<WheelAction> offered = WheelAction::formats(files.front());
  const bool sameLabels =
      std::equal(offered.begin(), offered.end(), current.begin(), current.end(),
                 [](const WheelAction& a, const WheelAction& b) { return a.label == b.label; });
  if (sameLabels) return std::nullopt;
  return offered;
}

}  // namespace Whirlpane
