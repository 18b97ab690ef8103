// SPDX-License-Identifier: GPL-3.0-or-later
// The X11 connections the platform's pieces use: Qt's own, and connections of
// their own for the readers that must not share Qt's event queue.
//
// Thread safety: main thread only (these talk to the display connection).
#pragma once

#include <cstdint>
#include <string_view>

struct xcb_connection_t;

namespace Whirlpane {

// Qt's connection to the X server, or null when Qt does not run on X11.
xcb_connection_t* x11Connection();

// A connection of its own to the X server named by DISPLAY, with the root
// window of its default screen in `root`; null, with nothing left open, when
// there is no X server. The caller disconnects it. Any thread.
xcb_connection_t* connectToDisplay(uint32_t* root);

// The atom called `name` (XCB_ATOM_NONE when the server cannot give it).
uint32_t internAtom(xcb_connection_t* connection, std::string_view name);

}  // namespace Whirlpane
