// Whether windows may be translucent, and whether they get the desktop's
// frosted glass behind them. Translucency needs a compositing manager: without
// one, transparent pixels show black and window opacity does nothing, so
// windows are drawn opaque and cut to their shape instead.
//
// Thread safety: main thread only (these talk to the display connection).
#pragma once

#include <QRegion>

struct xcb_connection_t;
class QWidget;

namespace Whirlpane {

// True when a compositing manager runs on the display Qt uses. Always false
// on platforms other than X11 (the offscreen one included). Asked anew on each
// call: a compositor can start or stop at any time.
bool compositorRunning();

// True when the X screen `screen` of `connection` has a compositing manager,
// which the owner of the selection _NET_WM_CM_S<screen> announces.
bool compositorOwnsSelection(xcb_connection_t* connection, int screen);

// The "useSystemGlass" setting: the stored Boolean, true when absent or not a
// Boolean.
bool systemGlassSetting();

// Whether glass windows get the translucent, blurred backdrop: a compositor
// runs and the "useSystemGlass" setting allows it.
bool usesSystemGlass();

// Asks the desktop to blur what lies behind `region` (window coordinates) of
// `window`'s top-level window, where it offers that (KWin's blur-behind hint on
// X11). Desktops without the hint simply show the window translucent.
void requestBlurBehind(QWidget* window, const QRegion& region);

}  // namespace Whirlpane
