// SPDX-License-Identifier: GPL-3.0-or-later
// Where the wheel's panel goes on the desktop: centred on a point of the
// screen that holds it, and pushed back near the edges so that no more than
// the panel's transparent margin lies off that screen. Desktop coordinates are
// Qt's global ones (logical pixels, origin at the top left, y down); the rule
// is the same whichever way y runs.
//
// Thread safety: values; no shared state.
#pragma once

#include <cstddef>
#include <vector>

namespace Whirlpane {

struct DesktopPoint {
  double x = 0;
  double y = 0;
};

// One screen's whole frame on the desktop, panels and docks included.
struct ScreenFrame {
  double x = 0;
  double y = 0;
  double width = 0;
  double height = 0;

  // Left and top edges inside, right and bottom edges outside.
  bool contains(DesktopPoint point) const;
};

// The origin of a `width` × `height` panel shown at `point`: on the first of
// `screens` that contains the point, else on `screens[primary]`, the panel is
// centred on the point but kept so that at most `margin` of it passes any
// edge of that screen (the left and top limits win on a screen too small for
// the panel). With no screens at all the panel is simply centred.
DesktopPoint panelOrigin(DesktopPoint point, const std::vector<ScreenFrame>& screens,
                         std::size_t primary, double width, double height, double margin);

}  // namespace Whirlpane
