// SPDX-License-Identifier: GPL-3.0-or-later
#include "wheel/wheel_wait.h"

namespace Whirlpane {

void WheelWait::start(const Readings& in) {
  waiting_ = true;
  lastActivity_ = in.now;
}

bool WheelWait::shouldHide(const Readings& in) {
  if (!waiting_) return false;
  if (in.dragInside) {
    lastActivity_ = in.now;
    return false;
  }
  // The press (and any drag begun with it) is over, and it did not end on the
  // wheel: a drop there would have hidden it already.
  if (in.buttonDown) return !*in.buttonDown;
  return in.now - lastActivity_ > patience;
}

}  // namespace Whirlpane
