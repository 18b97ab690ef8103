// The few X11 requests the chrome makes itself, over Qt's own display
// connection: interning atoms and marking floating windows for the window
// manager. Everything here does nothing where Qt does not run on X11 (the
// offscreen platform, Wayland).
//
// Thread safety: main thread only (these talk to the display connection).
#pragma once

#include <cstdint>
#include <string_view>

struct xcb_connection_t;
class QWidget;

namespace Whirlpane {

// Qt's connection to the X server, or null when Qt does not run on X11.
xcb_connection_t* x11Connection();

// A connection of its own to the X server named by DISPLAY, with the root
// window of its default screen in `root`; null, with nothing left open, when
// there is no X server. The caller disconnects it. Any thread.
xcb_connection_t* connectToDisplay(uint32_t* root);

// The atom called `name` (XCB_ATOM_NONE when the server cannot give it).
uint32_t internAtom(xcb_connection_t* connection, std::string_view name);

// Asks the window manager to keep `window`'s top-level window out of task
// bars, pagers and window switchers, and on every workspace. Window managers
// read these states when a window is mapped and drop them when it is hidden,
// so call it before each showing (a show event is the place).
void markAsFloatingPanel(QWidget* window);

}  // namespace Whirlpane
