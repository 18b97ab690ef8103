// SPDX-License-Identifier: GPL-3.0-or-later
// What the desktop session offers the program beyond Qt's own windows:
// whether windows may be translucent, the hints that keep a floating panel out
// of task bars and blur what lies behind glass, a hot key grabbed for the whole
// desktop, and a watch on other programs' drags. One platform serves the
// process, chosen by the Qt platform it runs on: X11 ("xcb") offers all of
// these; Wayland composites but places no windows and watches no drags;
// everywhere else (the offscreen platform of the tests) the null platform
// offers none of them, so that callers take their plain paths.
//
// Thread safety: main thread only, like the windows it serves.
#pragma once

#include <QRegion>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QWidget;

namespace Whirlpane {

// A desktop-wide hot key held for as long as the object lives.
class HotKey {
 public:
  enum class State {
    grabbed,      // presses reach the callback
    taken,        // another program holds the key
    unavailable,  // the display takes no grabs
  };
  virtual ~HotKey() = default;
  virtual State state() const = 0;
};

// The readings a drag watch makes of other programs' drags.
class DragReader {
 public:
  struct Pointer {
    bool down = false;  // the left button
    bool alt = false;   // the Alt modifier
    int x = 0, y = 0;   // device pixels on the desktop
  };
  virtual ~DragReader() = default;
  // The pointer's state now; none when the display has gone.
  virtual std::optional<Pointer> readPointer() = 0;
  // Counts the drags begun so far: a change means a new drag.
  virtual long changeCount() const = 0;
  // The running drag's text/uri-list, as far as its source has answered;
  // empty before it answers and for drags of anything else.
  virtual std::string uriList() = 0;
};

class Platform {
 public:
  // The platform of the Qt platform this process runs on, made on first use.
  static Platform& current();

  virtual ~Platform() = default;

  // True when a compositing manager runs: translucent pixels and window
  // opacity show as such. Asked anew on each call: a compositor can start or
  // stop at any time.
  virtual bool compositing() const { return false; }

  // Whether the program places its own windows and reads the pointer
  // wherever it is. Where not (Wayland), the compositor puts each new window
  // where it likes, and QCursor::pos() says nothing about the pointer outside
  // the program's windows.
  virtual bool placesWindows() const { return true; }

  // Whether a window's opacity (QWidget::setWindowOpacity) shows where a
  // compositor runs. Not on Wayland, whose Qt platform cannot set it: fades
  // are left out there rather than asked for in vain on every frame.
  virtual bool fadesWindows() const { return true; }

  // Makes `region` (window coordinates) the only part of `window`'s top-level
  // window that takes presses and drops, leaving its pixels as painted, where
  // the display can do that without cutting the window's shape (Wayland);
  // elsewhere nothing. An empty region gives the whole window back.
  virtual void setInputRegion(QWidget* /*window*/, const QRegion& /*region*/) {}

  // Keeps `window`'s top-level window out of task bars, pagers and window
  // switchers, on every workspace. Window managers read this when a window is
  // mapped and drop it when it is hidden, so call it before each showing.
  virtual void markAsFloatingPanel(QWidget* /*window*/) {}

  // Asks the desktop to blur what lies behind `region` (window coordinates)
  // of `window`'s top-level window, where it offers that; elsewhere the window
  // simply shows translucent.
  virtual void requestBlurBehind(QWidget* /*window*/, const QRegion& /*region*/) {}

  // Ctrl+Alt+Space for the whole desktop, calling `pressed` on the main thread
  // for each press; null where the display takes no key grabs (the desktop's
  // shortcut portal is the way there).
  virtual std::unique_ptr<HotKey> grabHotKey(std::function<void()> /*pressed*/) { return nullptr; }

  // Whether other programs' drags can be watched here at all (what the
  // program tells its user), whether or not a watch runs.
  virtual bool canWatchDrags() const { return false; }

  // A reader of other programs' drags, calling `pressed` (on a thread of its
  // own) whenever it finds the left button down, so that the caller need read
  // nothing at rest; null where no program may watch another's drags.
  virtual std::unique_ptr<DragReader> watchDrags(std::function<void()> /*pressed*/) {
    return nullptr;
  }
};

}  // namespace Whirlpane
