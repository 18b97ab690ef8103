// SPDX-License-Identifier: GPL-3.0-or-later
// The X11 readings of the drag watcher, on a connection of its own (like the
// hot key's): the pointer query gives the left button, Alt (Mod1) and the
// pointer; XFixes reports every new owner of XdndSelection, and their count
// is the drag's change count; the dragged files are XdndSelection converted to
// text/uri-list. Nothing here waits for another program: a conversion is
// sent, and its answer is picked up as soon as it arrives; a source that never
// answers costs only its own drag.
//
// Which time stamp a source answers differs: GTK's answers the owner's time
// stamp at any time; Qt's (Qt 5 and 6) only the time of the latest position
// message it sent to a drop target, which is the time of a pointer motion it
// handled, renewed at every motion over a window that takes drops and kept
// while over one that does not. So the question goes out with the owner's
// stamp the moment the owner changes, and from then on during the press also
// with the times of the pointer's motions (XInput 2's raw motion events, which reach
// us whatever grabs the pointer): each on the next tick and again 1, 3, 7, 15
// and 31 ticks later, since the source may not have handled that motion yet.
//
// With the button up a reading costs one round trip (the pointer query);
// events are read as they arrive, without waiting; motions are taken only
// during a press.
//
// Thread safety: main thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

class QSocketNotifier;
struct xcb_connection_t;

namespace Whirlpane {

class PressWatch;

class X11DragReader : public DragReader {
 public:
  // Connects to the X server named by DISPLAY; without one, or without
  // XFixes, the reader is unavailable and reads nothing. While available, a
  // press watch calls `pressed` whenever it finds the left button down.
  explicit X11DragReader(std::function<void()> pressed);
  ~X11DragReader() override;
  X11DragReader(const X11DragReader&) = delete;
  X11DragReader& operator=(const X11DragReader&) = delete;

  bool available() const { return connection_ != nullptr; }

  // The pointer's state now (one round trip), after taking in the events
  // that arrived. None when the connection is gone.
  std::optional<Pointer> readPointer() override;

  // How many owners XdndSelection has had since start.
  long changeCount() const override { return changeCount_; }

  // The current drag's text/uri-list as far as the drag source has answered;
  // until then empty, and the question is asked (again) without waiting.
  // Called once a tick: the tick paces the repeated questions.
  std::string uriList() override;

 private:
  // Takes in the events that arrived; `read`: also those not read from the
  // socket yet (one system call), else only those xcb has queued.
  void takeEvents(bool read = true);
  // Starts or stops taking the pointer's raw motions.
  void watchMotions(bool on);
  // The left button's state now (one round trip).
  bool buttonDown();
  void ask(uint32_t time);

  // A time stamp the current owner may answer, and the ticks it has waited.
  struct Stamp {
    uint32_t time = 0;
    unsigned ticks = 0;
  };

  xcb_connection_t* connection_ = nullptr;
  uint32_t root_ = 0;
  uint32_t window_ = 0;
  uint8_t xfixesEvent_ = 0;
  uint32_t selection_ = 0, uriList_ = 0, property_ = 0;
  long changeCount_ = 0;
  uint32_t owner_ = 0;
  uint32_t ownerTime_ = 0;
  // The answer for the current owner, once it came.
  std::optional<std::string> answer_;
  // XInput's major opcode; 0 without XInput 2.1, whose raw events reach us
  // during other clients' grabs.
  uint8_t xinput_ = 0;
  bool watchingMotions_ = false;
  // The motions of this press since the owner's time, oldest first.
  std::vector<Stamp> motions_;
  std::unique_ptr<QSocketNotifier> notifier_;
  std::unique_ptr<PressWatch> presses_;
};

}  // namespace Whirlpane
