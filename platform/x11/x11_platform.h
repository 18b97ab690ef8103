// SPDX-License-Identifier: GPL-3.0-or-later
// The X11 platform: compositing read from the compositing manager's
// selection, window manager hints through Qt's own connection, and the hot key
// and drag readings on connections of their own.
//
// Thread safety: main thread only.
#pragma once

#include "platform/platform.h"

namespace Whirlpane {

class X11Platform : public Platform {
 public:
  bool compositing() const override;
  void markAsFloatingPanel(QWidget* window) override;
  // KWin's blur-behind hint; other window managers ignore it.
  void requestBlurBehind(QWidget* window, const QRegion& region) override;
  std::unique_ptr<HotKey> grabHotKey(std::function<void()> pressed) override;
  bool canWatchDrags() const override { return true; }
  std::unique_ptr<DragReader> watchDrags(std::function<void()> pressed) override;
};

}  // namespace Whirlpane
