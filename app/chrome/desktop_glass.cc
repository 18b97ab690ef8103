#include "app/chrome/desktop_glass.h"

#include <xcb/xcb.h>

#include <QWidget>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/chrome/settings.h"
#include "app/chrome/x11.h"

namespace Whirlpane {

bool compositorOwnsSelection(xcb_connection_t* connection, int screen) {
  const xcb_atom_t selection = internAtom(connection, "_NET_WM_CM_S" + std::to_string(screen));
  if (selection == XCB_ATOM_NONE) return false;
  const std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> reply(
      xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selection),
                                    nullptr),
      &std::free);
  return reply && reply->owner != XCB_WINDOW_NONE;
}

bool compositorRunning() {
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

bool systemGlassSetting() { return storedBoolean("useSystemGlass").value_or(true); }

bool usesSystemGlass() { return compositorRunning() && systemGlassSetting(); }

void requestBlurBehind(QWidget* window, const QRegion& region) {
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

}  // namespace Whirlpane
