// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/platform.h"

#include <QGuiApplication>

#include "platform/x11/x11_platform.h"

namespace Whirlpane {

Platform& Platform::current() {
  static const std::unique_ptr<Platform> platform = []() -> std::unique_ptr<Platform> {
    if (QGuiApplication::platformName() == "xcb") return std::make_unique<X11Platform>();
    return std::make_unique<Platform>();
  }();
  return *platform;
}

}  // namespace Whirlpane
