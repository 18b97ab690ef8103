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
#include <filesystem>
#include <optional>
#include <vector>

struct xcb_connection_t;

namespace Whirlpane {

class DragReader {
 public:
  using Files = std::vector<std::filesystem::path>;

  struct Pointer {
    bool down = false;  // the left button
    bool alt = false;   // Mod1
    int x = 0, y = 0;   // root window pixels
  };

  // Connects to the X server named by DISPLAY; without one, or without
  // XFixes, the reader is unavailable and reads nothing.
  DragReader();
  ~DragReader();
  DragReader(const DragReader&) = delete;
  DragReader& operator=(const DragReader&) = delete;

  bool available() const { return connection_ != nullptr; }

  // The pointer's state now (one round trip), after taking in the events
  // that arrived. None when the connection is gone.
  std::optional<Pointer> readPointer();

  // How many owners XdndSelection has had since start.
  long changeCount() const { return changeCount_; }

  // The files of the current drag as far as the drag source has answered;
  // until then empty, and the question is asked (again) without waiting.
  Files files();

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
  std::optional<Files> answer_;
};

}  // namespace Whirlpane
