// SPDX-License-Identifier: GPL-3.0-or-later
// What a wheel shown by the key, a second launch or `--open` does once
// another window takes the focus from it. The user may be pressing on a file
// in a file manager to drag it over: the wheel stays up while that drag can
// still come to it, and goes when the press turns out to be a plain click.
//
// Where the pointer can be read anywhere (X11), the press that took the focus
// decides: the wheel waits while the button is held (a drag may be starting
// or running) and goes once it is up, unless a drag is over the wheel then.
// A drop on a wedge hides the wheel through its action, as always.
//
// Where nothing outside the program's windows can be seen (Wayland), a plain
// click and the start of a drag look alike: the wheel waits `patience`
// seconds after the focus left or after a drag was last over it, then goes.
//
// Thread safety: a value; no shared state.
#pragma once

#include <optional>

namespace Whirlpane {

class WheelWait {
 public:
  static constexpr double patience = 8.0;

  struct Readings {
    double now = 0;           // seconds on any steady clock
    bool dragInside = false;  // a drag of files is over the wheel now
    // The left button, where the pointer can be read outside the program's
    // windows; none elsewhere.
    std::optional<bool> buttonDown;
  };

  // The focus has just gone to another window.
  void start(const Readings& in);

  // Whether the wheel should go now; false before start().
  bool shouldHide(const Readings& in);

 private:
  bool waiting_ = false;
  double lastActivity_ = 0;
};

}  // namespace Whirlpane
