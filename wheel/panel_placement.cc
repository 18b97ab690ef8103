// SPDX-License-Identifier: GPL-3.0-or-later
#include "wheel/panel_placement.h"

#include <algorithm>

namespace Whirlpane {

bool ScreenFrame::contains(DesktopPoint point) const {
  return point.x >= x && point.x < x + width && point.y >= y && point.y < y + height;
}

DesktopPoint panelOrigin(DesktopPoint point, const std::vector<ScreenFrame>& screens,
                         std::size_t primary, double width, double height, double margin) {
  const DesktopPoint centered{point.x - width / 2, point.y - height / 2};
  if (screens.empty()) return centered;
  const auto found = std::find_if(screens.begin(), screens.end(),
                                  [&](const ScreenFrame& s) { return s.contains(point); });
  const ScreenFrame& s =
      found != screens.end() ? *found : screens[std::min(primary, screens.size() - 1)];
  return {std::max(s.x - margin, std::min(s.x + s.width - width + margin, centered.x)),
          std::max(s.y - margin, std::min(s.y + s.height - height + margin, centered.y))};
}

}  // namespace Whirlpane
