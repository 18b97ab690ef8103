// SPDX-License-Identifier: GPL-3.0-or-later
// The Wayland platform. Every Wayland compositor composites, so translucent
// windows always show as such. A client neither places its own windows nor
// reads the pointer outside them: windows go where the compositor puts them
// (most centre a new one), and no program watches another's drags. The
// desktop's shortcut portal stands in for a key grab, and a window's mask
// becomes its surface's input region, so that transparent corners let presses
// through to what lies below.
//
// Thread safety: main thread only.
#pragma once

#include "platform/platform.h"

namespace Whirlpane {

class WaylandPlatform : public Platform {
 public:
  bool compositing() const override { return true; }
  bool placesWindows() const override { return false; }
  bool fadesWindows() const override { return false; }
  void setInputRegion(QWidget* window, const QRegion& region) override;
};

}  // namespace Whirlpane
