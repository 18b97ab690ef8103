// The wheel on a real X display (Xvfb, with openbox managing the windows):
// where its window appears, what it looks like without a compositor, that a
// real drag dropped on a wedge reaches onAction, how it keeps or takes the
// focus, and what an assistive tool sees over AT-SPI. Each test has a
// desktop of its own; the pointer and keys come from xdotool.
#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "tests/support/x_session.h"

namespace {

using TestSupport::Program;
using TestSupport::XSession;

constexpr QRgb desktopColour = 0xFF336699;
const QSize panelSize(266, 266);

// A desktop with the wheel's test program on it.
struct Desktop {
  explicit Desktop(XSession::Options options, const QProcessEnvironment& extra = {})
      : session(options) {
    if (!session.failure().isEmpty()) return;
    session.setBackground(desktopColour);
    harness = session.start(WHEEL_HARNESS, {}, extra);
    ready = harness->waitFor("ready").has_value();
  }

  // Shows the wheel at `at` for a drag or as a menu, for `files`.
  void show(QPoint at, const char* mode, const QStringList& files = {}) {
    harness->send(
        QStringList{"show", QString::number(at.x()), QString::number(at.y()), mode, "formats"} +
        files);
    ASSERT_TRUE(harness->waitFor("shown")) << qPrintable(harness->errors());
  }

  // The wheel's window once it is on screen at `origin`.
  std::optional<xcb_window_t> panelAt(QPoint origin) {
    std::optional<xcb_window_t> window;
    XSession::eventually([&] {
      window = session.windowTitled("Whirlpane");
      return window && session.geometry(*window) == QRect(origin, panelSize);
    });
    return window && session.geometry(*window) == QRect(origin, panelSize) ? window : std::nullopt;
  }

  void xdotool(const QString& commands) { session.run("xdotool", commands.split(' ')); }

  XSession session;
  std::unique_ptr<Program> harness;
  bool ready = false;
};

// A file to drag, in a folder of its own, beside a folder that is dragged
// along and must be left out.
struct DraggedFiles {
  DraggedFiles() {
    QDir().mkpath(album);
    QFile(photo).open(QIODevice::WriteOnly);
  }
  QTemporaryDir folder;
  const QString album = folder.filePath("album");
  const QString photo = folder.filePath("holiday photo.jpg");
};

#define ASSERT_DESKTOP(desktop)                                                                  \
  ASSERT_TRUE((desktop).session.failure().isEmpty()) << qPrintable((desktop).session.failure()); \
  ASSERT_TRUE((desktop).ready) << qPrintable((desktop).harness->errors())

TEST(WheelOnDesktop, ComesUpCentredOnThePointAndCutToTheDisc) {
  Desktop desktop({});
  ASSERT_DESKTOP(desktop);
  const struct {
    QPoint at;
    QPoint origin;
  } cases[] = {
      {{640, 400}, {507, 267}},
      {{0, 0}, {-14, -14}},  // a corner: only the transparent margin goes off screen
      {{1279, 799}, {1028, 548}},
  };
  for (const auto& c : cases) {
    desktop.show(c.at, "menu", {"/p/photo.jpg"});
    EXPECT_TRUE(desktop.panelAt(c.origin)) << c.at.x() << "," << c.at.y();
  }

  desktop.show({640, 400}, "menu", {"/p/photo.jpg"});
  const auto panel = desktop.panelAt({507, 267});
  ASSERT_TRUE(panel);
  const QStringList states = desktop.session.netWmStates(*panel);
  for (const char* state :
       {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER", "_NET_WM_STATE_ABOVE"})
    EXPECT_TRUE(states.contains(state)) << state << " in " << qPrintable(states.join(' '));

  // Without a compositor the window is opaque, so it is cut to the disc: once
  // the wheel has settled at its full size, the desktop shows in the
  // window's corners and just outside the rim.
  QImage screen;
  const QPoint centre(640, 400);
  const auto settled = [&] {
    return screen.pixel(centre + QPoint(0, -117)) != desktopColour &&
           screen.pixel(centre + QPoint(0, 117)) != desktopColour &&
           screen.pixel(centre + QPoint(0, -122)) == desktopColour &&
           screen.pixel(centre + QPoint(0, 122)) == desktopColour;
  };
  EXPECT_TRUE(XSession::eventually([&] {
    screen = desktop.session.screenshot();
    return settled();
  })) << "the wheel never settled at its full size";
  for (const QPoint corner : {QPoint(509, 269), QPoint(771, 531), QPoint(509, 531)})
    EXPECT_EQ(screen.pixel(corner), desktopColour) << corner.x() << "," << corner.y();
  EXPECT_EQ(screen.pixel(centre + QPoint(88, -88)), desktopColour) << "outside the rim";
  EXPECT_GT(qGray(screen.pixel(centre + QPoint(0, -15))), 200) << "the pill, above its caption";

  // A normal showing takes the keyboard focus: Escape dismisses it.
  EXPECT_TRUE(XSession::eventually([&] { return desktop.session.focus() == *panel; }));
  desktop.xdotool("key Escape");
  EXPECT_TRUE(desktop.harness->waitFor("hidden"));
  EXPECT_TRUE(XSession::eventually([&] { return !desktop.session.windowTitled("Whirlpane"); }));
  EXPECT_EQ(desktop.harness->finish(), 0) << qPrintable(desktop.harness->errors());
}

TEST(WheelOnDesktop, ARealDragDroppedOnAWedgeReachesOnAction) {
  Desktop desktop({});
  ASSERT_DESKTOP(desktop);
  DraggedFiles files;
  const auto source = desktop.session.start(DRAG_SOURCE, {"40", "40", files.album, files.photo});
  ASSERT_TRUE(source->waitFor("ready")) << qPrintable(source->errors());
  const auto sourceWindow = desktop.session.windowTitled("Drag source");
  ASSERT_TRUE(sourceWindow);

  // The drag rests at the point where the wheel comes up, opened for a PDF;
  // the photo dragged over it brings the image formats, PNG at the top.
  desktop.xdotool(
      "mousemove 140 110 mousedown 1 sleep 0.1 mousemove 300 250 sleep 0.05 "
      "mousemove 640 400 sleep 0.1");
  desktop.show({640, 400}, "drag", {"/p/report.pdf"});
  ASSERT_TRUE(desktop.harness->waitFor("nudged"));
  EXPECT_EQ(desktop.session.focus(), *sourceWindow) << "the drag source keeps the focus";
  desktop.xdotool(
      "mousemove 640 360 sleep 0.05 mousemove 640 330 sleep 0.05 "
      "mousemove 640 320 sleep 0.2 mouseup 1");
  EXPECT_EQ(desktop.harness->waitFor("action"), "action\tpng\t" + files.photo)
      << qPrintable(desktop.harness->errors());
  EXPECT_EQ(source->waitFor("dropped"), "dropped copy");

  // The wheel comes up under a drag that rests on the spot where a wedge
  // will be, and the button is released without moving: the pointer's nudge
  // is what makes the source find the wheel.
  desktop.harness->send({"hide"});
  ASSERT_TRUE(desktop.harness->waitFor("hidden"));
  desktop.xdotool(
      "mousemove 140 110 mousedown 1 sleep 0.1 mousemove 300 200 sleep 0.05 "
      "mousemove 640 300 sleep 0.2");
  desktop.show({640, 380}, "drag");
  ASSERT_TRUE(desktop.harness->waitFor("nudged"));
  desktop.xdotool("sleep 0.3 mouseup 1");
  EXPECT_EQ(desktop.harness->waitFor("action"), "action\tpng\t" + files.photo);
  EXPECT_EQ(source->waitFor("dropped"), "dropped copy");
}

// Shown for a drag, the wheel stays when the application loses the focus;
// shown as a menu, it goes.
TEST(WheelOnDesktop, OnlyAMenuShowingGoesWhenTheFocusLeaves) {
  Desktop desktop({});
  ASSERT_DESKTOP(desktop);
  const auto other = desktop.session.start(DRAG_SOURCE, {"40", "40"});
  ASSERT_TRUE(other->waitFor("ready"));
  const auto otherWindow = desktop.session.windowTitled("Drag source");
  ASSERT_TRUE(otherWindow);

  desktop.show({640, 400}, "drag", {"/p/photo.jpg"});
  const auto panel = desktop.panelAt({507, 267});
  ASSERT_TRUE(panel);
  desktop.xdotool("mousemove 140 110 click 1");
  EXPECT_TRUE(XSession::eventually([&] { return desktop.session.focus() == *otherWindow; }));
  desktop.show({640, 400}, "menu", {"/p/photo.jpg"});  // answered after any hiding
  EXPECT_FALSE(desktop.harness->lines().contains("hidden"));

  EXPECT_TRUE(XSession::eventually([&] { return desktop.session.focus() == *panel; }));
  desktop.xdotool("mousemove 140 110 click 1");
  EXPECT_TRUE(desktop.harness->waitFor("hidden"));
}

TEST(WheelOnDesktop, AssistiveToolsListTheWedgesAndPressThem) {
  XSession::Options options;
  options.dbus = true;
  QProcessEnvironment accessible;
  accessible.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
  Desktop desktop(options, accessible);
  ASSERT_DESKTOP(desktop);
  desktop.show({640, 400}, "menu", {"/p/photo.jpg"});
  ASSERT_TRUE(desktop.panelAt({507, 267}));

  const auto client =
      desktop.session.start("/usr/bin/python3", {ATSPI_CLIENT, "wheel-harness", "PNG"});
  EXPECT_EQ(client->waitFor("buttons", 20'000),
            "buttons\tPNG\tWEBP\tHEIC\tTIFF\tAVIF\tBMP\tPDF\tDOCX")
      << qPrintable(client->errors());
  EXPECT_EQ(client->waitFor("pressed"), "pressed PNG");
  EXPECT_EQ(desktop.harness->waitFor("action"), "action\tpng\t/p/photo.jpg");
}

}  // namespace
