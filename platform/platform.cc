// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/platform.h"

#include <QGuiApplication>

#include "platform/wayland/wayland_platform.h"
#include "platform/x11/x11_platform.h"

namespace Whirlpane {

Platform& Platform::current() {
  static const std::unique_ptr<Platform> platform = []() -> std::unique_ptr<Platform> {
    const QString name = QGuiApplication::platformName();
    if (name == "xcb") return std::make_unique<X11Platform>();
    // "wayland", and the variants named for a shell ("wayland-egl").
    if (name.startsWith("wayland")) return std::make_unique<WaylandPlatform>();
    return std::make_unique<Platform>();
  }();
  return *platform;
}

}  // namespace Whirlpane
