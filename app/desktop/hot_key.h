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

struct xcb_connection_t;

namespace Whirlpane {

class HotKey : public QObject {
 public:
  enum class State {
    grabbed,      // presses reach onPressed
    taken,        // another program holds Ctrl+Alt+Space
    unavailable,  // no X server: Wayland, or no display at all
  };

  // Grabs the key on the X server named by DISPLAY.
  explicit HotKey(std::function<void()> onPressed);
  ~HotKey() override;
  HotKey(const HotKey&) = delete;
  HotKey& operator=(const HotKey&) = delete;

  State state() const { return state_; }

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
