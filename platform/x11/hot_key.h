// SPDX-License-Identifier: GPL-3.0-or-later
// The global hot key Ctrl+Alt+Space. On X11 it is a key grab on the root
// window, on a connection of its own, with the NumLock and CapsLock variants
// (so that either lock does not disable it), redone when the keyboard mapping
// changes. A press counts when the key is released; a held key's repeats do
// not count.
//
// Thread safety: main thread only.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>

#include "platform/platform.h"

struct xcb_connection_t;

namespace Whirlpane {

class X11HotKey : public QObject, public HotKey {
  Q_OBJECT

 public:
  // Grabs the key on the X server named by DISPLAY: unavailable without one,
  // taken when another program holds Ctrl+Alt+Space.
  explicit X11HotKey(std::function<void()> onPressed);
  ~X11HotKey() override;
  X11HotKey(const X11HotKey&) = delete;
  X11HotKey& operator=(const X11HotKey&) = delete;

  State state() const override { return state_; }

 private:
  void grab();
  void ungrab();
  void drain();

  std::function<void()> onPressed_;
  xcb_connection_t* connection_ = nullptr;
  unsigned root_ = 0;
  unsigned char keycode_ = 0;
  bool down_ = false;
  State state_ = State::unavailable;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace Whirlpane
