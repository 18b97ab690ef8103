#include "app/chrome/x11.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

namespace Whirlpane {

namespace {

template <typename Reply>
using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

}  // namespace

xcb_connection_t* x11Connection() {
  const auto* x11 =
      qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 ? x11->connection() : nullptr;
}

xcb_connection_t* connectToDisplay(uint32_t* root) {
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) return nullptr;
  int screenNumber = 0;
  xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
  if (xcb_connection_has_error(connection)) {
    xcb_disconnect(connection);
    return nullptr;
  }
  xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
  for (int i = 0; i < screenNumber && screens.rem; ++i) xcb_screen_next(&screens);
  *root = screens.data->root;
  return connection;
}

uint32_t internAtom(xcb_connection_t* connection, std::string_view name) {
  const Owned<xcb_intern_atom_reply_t> reply(
      xcb_intern_atom_reply(
          connection,
          xcb_intern_atom(connection, 0, static_cast<uint16_t>(name.size()), name.data()), nullptr),
      &std::free);
  return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

void markAsFloatingPanel(QWidget* window) {
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

}  // namespace Whirlpane
