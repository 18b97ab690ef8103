// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/wayland/wayland_platform.h"

#include <QWidget>
#include <QWindow>

namespace Whirlpane {

void WaylandPlatform::setInputRegion(QWidget* window, const QRegion& region) {
  if (!window) return;
  // Qt's Wayland windows hand a window's mask to the compositor as the
  // surface's input region and leave its pixels alone, unlike a widget's
  // mask, which would also clip the painting to the region's jagged edge.
  if (QWindow* handle = window->window()->windowHandle()) handle->setMask(region);
}

}  // namespace Whirlpane
