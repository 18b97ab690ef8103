// SPDX-License-Identifier: GPL-3.0-or-later
// The rules by which the wheel reads its input, apart from any window: the
// press on the central disc that either switches wheels or carries the panel
// along, the typed numbers that pick wedges, and what a drag of files over the
// wheel changes. RadialMenu turns Qt's events into calls of these.
//
// Thread safety: values; no shared state.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "wheel/panel_placement.h"
#include "wheel/wheel_action.h"

namespace Whirlpane {

// A press on the central disc. Released where it started it switches wheels;
// once the pointer has gone more than 3 points from the press, the press
// carries the panel along instead and switches nothing.
class CenterPress {
 public:
  static constexpr double moveThreshold = 3.0;

  // Starts a press with the pointer and the panel's origin on the desktop.
  void press(DesktopPoint pointer, DesktopPoint windowOrigin);

  // The pointer moved during the press: the panel's new origin once the press
  // has become a move (and for every later call), none before that or
  // without a press.
  std::optional<DesktopPoint> drag(DesktopPoint pointer);

  // Ends the press; true when it should switch wheels, that is, a press that
  // never became a move.
  bool release();

  bool isPressed() const { return pressedAt_.has_value(); }

 private:
  std::optional<DesktopPoint> pressedAt_;
  DesktopPoint windowOrigin_;
  bool moved_ = false;
};

// The wedge that typed `characters` pick among `count` wedges: text that
// reads as a whole decimal number n (an optional sign, then digits only) with
// 1 ≤ n ≤ count picks wedge n − 1, so the keys 1 to 8 count clockwise from
// the top. Anything else picks none.
std::optional<int> typedWedge(std::string_view characters, int count);

// The files among `candidates` that the wheel acts on: folders are dropped.
std::vector<std::filesystem::path> droppableFiles(std::vector<std::filesystem::path> candidates);

// The wedges a wheel showing `current` should offer once `files` are dragged
// over it: the formats for the first file when their labels differ from the
// current wedges'; none when the wedges stay, as the tools wheel's always do.
std::optional<std::vector<WheelAction>> wedgesForDrag(
    const std::vector<std::filesystem::path>& files, bool isTools,
    const std::vector<WheelAction>& current);

}  // namespace Whirlpane
