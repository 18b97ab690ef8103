// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/x11_platform.h"

#include <xcb/xcb.h>

#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/x11/drag_reader.h"
#include "platform/x11/hot_key.h"
#include "platform/x11/x11_connection.h"

namespace Whirlpane {
namespace {

template <typename Reply>
using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

// True when the X screen `screen` of `connection` has a compositing manager,
// which the owner of the selection _NET_WM_CM_S<screen> announces.
bool compositorOwnsSelection(xcb_connection_t* connection, int screen) {
  const xcb_atom_t selection = internAtom(connection, "_NET_WM_CM_S" + std::to_string(screen));
  if (selection == XCB_ATOM_NONE) return false;
  const Owned<xcb_get_selection_owner_reply_t> reply(
      xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selection),
                                    nullptr),
      &std::free);
  return reply && reply->owner != XCB_WINDOW_NONE;
}

}  // namespace

bool X11Platform::compositing() const {
  xcb_connection_t* connection = x11Connection();
  if (!connection) return false;
  // The screen Qt connected to is the one $DISPLAY names.
  char* host = nullptr;
  int display = 0;
  int screen = 0;
  if (!xcb_parse_display(nullptr, &host, &display, &screen)) screen = 0;
  std::free(host);
  return compositorOwnsSelection(connection, screen);
}

void X11Platform::markAsFloatingPanel(QWidget* window) {
  xcb_connection_t* connection = x11Connection();
  if (!connection || !window) return;
  const auto id = static_cast<xcb_window_t>(window->window()->winId());
  const xcb_atom_t property = internAtom(connection, "_NET_WM_STATE");
  // Qt adds its own states (above others) to what it finds here when it maps
  // the window, keeping these.
  const Owned<xcb_get_property_reply_t> reply(
      xcb_get_property_reply(
          connection, xcb_get_property(connection, 0, id, property, XCB_ATOM_ATOM, 0, 64), nullptr),
      &std::free);
  std::vector<xcb_atom_t> states;
  if (reply && reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
    const auto* data = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    states.assign(data, data + xcb_get_property_value_length(reply.get()) / 4);
  }
  for (const char* name :
       {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER", "_NET_WM_STATE_STICKY"}) {
    const xcb_atom_t state = internAtom(connection, name);
    if (state != XCB_ATOM_NONE && std::find(states.begin(), states.end(), state) == states.end())
      states.push_back(state);
  }
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, property, XCB_ATOM_ATOM, 32,
                      static_cast<uint32_t>(states.size()), states.data());
  const uint32_t allDesktops = 0xFFFFFFFF;
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id,
                      internAtom(connection, "_NET_WM_DESKTOP"), XCB_ATOM_CARDINAL, 32, 1,
                      &allDesktops);
  xcb_flush(connection);
}

void X11Platform::requestBlurBehind(QWidget* window, const QRegion& region) {
  xcb_connection_t* connection = x11Connection();
  if (!connection || !window) return;
  window = window->window();
  const xcb_atom_t hint = internAtom(connection, "_KDE_NET_WM_BLUR_BEHIND_REGION");
  if (hint == XCB_ATOM_NONE) return;
  // The hint is in device pixels: x, y, width, height per rectangle.
  const qreal ratio = window->devicePixelRatioF();
  std::vector<uint32_t> rectangles;
  for (const QRect& r : region) {
    const QRect device(QPointF(r.topLeft() * ratio).toPoint(), QSizeF(r.size() * ratio).toSize());
    rectangles.insert(
        rectangles.end(),
        {static_cast<uint32_t>(device.x()), static_cast<uint32_t>(device.y()),
         static_cast<uint32_t>(device.width()), static_cast<uint32_t>(device.height())});
  }
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window->winId()),
                      hint, XCB_ATOM_CARDINAL, 32, static_cast<uint32_t>(rectangles.size()),
                      rectangles.data());
  xcb_flush(connection);
}

std::unique_ptr<HotKey> X11Platform::grabHotKey(std::function<void()> pressed) {
  return std::make_unique<X11HotKey>(std::move(pressed));
}

std::unique_ptr<DragReader> X11Platform::watchDrags(std::function<void()> pressed) {
  auto reader = std::make_unique<X11DragReader>(std::move(pressed));
  if (!reader->available()) return nullptr;
  return reader;
}

}  // namespace Whirlpane
