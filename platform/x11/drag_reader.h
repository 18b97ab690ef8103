// SPDX-License-Identifier: GPL-3.0-or-later
// The X11 readings of the drag watcher, on a connection of its own (like the
// hot key's): the pointer query gives the left button, Alt (Mod1) and the
// pointer; XFixes reports every new owner of XdndSelection, and their count
// is the drag's change count; the dragged files are XdndSelection converted to
// text/uri-list, asked with the owner's time stamp and answered whenever the
// drag source answers. Nothing here waits for another program: a conversion is
// sent, and its answer is picked up by a later tick; a source that never
// answers costs only its own drag.
//
// With the button up a reading costs one round trip (the pointer query);
// events are read without waiting.
//
// Thread safety: main thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/platform.h"

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
  std::string uriList() override;

 private:
  // Takes in the events that arrived; `read`: also those not read from the
  // socket yet (one system call), else only those xcb has queued.
  void takeEvents(bool read = true);

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
  std::unique_ptr<PressWatch> presses_;
};

}  // namespace Whirlpane
