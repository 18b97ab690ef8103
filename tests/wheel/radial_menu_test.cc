// SPDX-License-Identifier: GPL-3.0-or-later
// The wheel view: driven with Qt's own events, as the window system would
// deliver them (what each input reports, and the drop target), and painted.
#include "wheel/radial_menu.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>
#include <cmath>
#include <numbers>

#include "wheel/wheel_painter.h"

namespace Whirlpane {
namespace {

using Files = RadialMenu::Files;
using Log = std::vector<std::string>;

// The widget point `distance` from the centre, `clockwise` degrees clockwise
// from 12 o'clock.
QPointF at(double clockwise, double distance) {
  const double a = clockwise * std::numbers::pi / 180;
  return {133 + distance * std::sin(a), 133 - distance * std::cos(a)};
}

// The formats wheel at (100, 200) on the desktop acting on one photo, with
// every callback written to `log`.
struct Wheel {
  Wheel() {
    menu.move(100, 200);
    menu.setActions(WheelAction::formats(std::nullopt));
    menu.setFiles({"/p/photo.jpg"});
    menu.onAction = [this](const WheelAction& action, const Files& files) {
      std::string line = "action " + action.key;
      for (const auto& file : files) line += " " + file.string();
      log.push_back(line);
    };
    menu.onToggle = [this] { log.push_back("toggle"); };
    menu.onDismiss = [this] { log.push_back("dismiss"); };
  }

  void send(QEvent&& event) { QApplication::sendEvent(&menu, &event); }
  void mouse(QEvent::Type type, QPointF local, Qt::MouseButton button, Qt::MouseButtons held) {
    send(QMouseEvent(type, local, local + QPointF(100, 200), button, held, Qt::NoModifier));
  }

  RadialMenu menu;
  std::vector<std::string> log;
};

// One input to the wheel: a left press ('p'), right press ('r'), release
// ('u'), move with the button held ('m') or without ('h') at a point given
// clockwise from 12 o'clock and from the centre; a key ('k'); or before any
// input, no actions ('e') or the four formats of a PDF ('f').
struct Input {
  char kind;
  double clockwise = 0, distance = 0;
  int key = 0;
  const char* text = "";
};

TEST(RadialMenu, EveryInputReachesItsCallback) {
  const struct {
    const char* input;
    std::vector<Input> steps;
    Log expected;
    QPoint windowAt = {100, 200};
    std::optional<int> hovered = {};
  } cases[] = {
      // clang-format off
      {"press on a wedge", {{'p', 0, 47}}, {"action png /p/photo.jpg"}},
      {"press and release on a wedge", {{'p', 90, 100}, {'u', 90, 100}}, {"action heic /p/photo.jpg"}},
      {"click on the centre", {{'p', 30, 46.9}, {'u', 30, 46.9}}, {"toggle"}},
      {"centre dragged 3 points", {{'p'}, {'m', 90, 3}, {'u', 90, 3}}, {"toggle"}},
      // Qt's global positions are whole pixels.
      {"centre dragged 4 points", {{'p'}, {'m', 180, 4}, {'u', 180, 4}}, {}, {100, 204}},
      {"right press on a wedge", {{'r', 200, 100}}, {"toggle"}},
      {"press outside the disc", {{'p', 45, 119.5}}, {}},
      {"press on an empty wheel", {{'e'}, {'p', 0, 80}}, {"dismiss"}},
      {"Escape", {{'k', 0, 0, Qt::Key_Escape}}, {"dismiss"}},
      {"Tab", {{'k', 0, 0, Qt::Key_Tab, "\t"}}, {"toggle"}},
      {"4 of 4", {{'f'}, {'k', 0, 0, Qt::Key_4, "4"}}, {"action txt /p/photo.jpg"}},
      {"5, 0 and -1 of 4", {{'f'}, {'k', 0, 0, Qt::Key_5, "5"}, {'k', 0, 0, Qt::Key_0, "0"},
                            {'k', 0, 0, Qt::Key_unknown, "-1"}}, {}},
      {"pointer over a wedge", {{'h', 90, 80}}, {}, {100, 200}, 2},
      // clang-format on
  };
  for (const auto& c : cases) {
    Wheel wheel;
    for (const Input& step : c.steps) {
      const QPointF point = at(step.clockwise, step.distance);
      if (step.kind == 'p')
        wheel.mouse(QEvent::MouseButtonPress, point, Qt::LeftButton, Qt::LeftButton);
      if (step.kind == 'r')
        wheel.mouse(QEvent::MouseButtonPress, point, Qt::RightButton, Qt::RightButton);
      if (step.kind == 'u') wheel.mouse(QEvent::MouseButtonRelease, point, Qt::LeftButton, {});
      if (step.kind == 'm') wheel.mouse(QEvent::MouseMove, point, Qt::NoButton, Qt::LeftButton);
      if (step.kind == 'h') wheel.mouse(QEvent::MouseMove, point, Qt::NoButton, {});
      if (step.kind == 'k')
        wheel.send(QKeyEvent(QEvent::KeyPress, step.key, Qt::NoModifier, step.text));
      if (step.kind == 'e') wheel.menu.setActions({});
      if (step.kind == 'f')
        wheel.menu.setActions(WheelAction::formats(std::filesystem::path("a.pdf")));
    }
    EXPECT_EQ(wheel.log, c.expected) << c.input;
    EXPECT_EQ(wheel.menu.pos(), c.windowAt) << c.input;
    EXPECT_EQ(wheel.menu.hovered(), c.hovered) << c.input;
  }
}

// A drag of `files` enters at `enter`, moves to `to` and drops at `drop`
// (`to` when not given). Qt hands the moves and the drop only to the widget
// that accepted the entry, and the window system's positions are whole pixels
// except for the drop's.
struct DragResult {
  bool moveAccepted = false;
  bool dropped = false;
  Qt::DropAction action = Qt::IgnoreAction;
};
DragResult dragOnto(RadialMenu& menu, const QList<QUrl>& files, QPointF enter, QPointF to,
                    std::optional<QPointF> drop = {}) {
  QMimeData data;
  data.setUrls(files);
  const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
  QDragEnterEvent entering(enter.toPoint(), offered, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&menu, &entering);
  QDragMoveEvent moving(to.toPoint(), offered, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&menu, &moving);
  QDropEvent dropping(drop.value_or(to), offered, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&menu, &dropping);
  return {moving.isAccepted(), dropping.isAccepted(), dropping.dropAction()};
}

TEST(RadialMenu, DropsOnAWedgeActOnTheDroppedFilesOnALaterTurn) {
  const QUrl photo = QUrl::fromLocalFile("/d/holiday.jpg");
  const struct {
    QList<QUrl> files;
    double clockwise, distance;
    const char* expected;  // the action, or null when the drop is refused
  } cases[] = {
      {{photo}, 0, 44, "action png /d/holiday.jpg"},
      {{photo}, 90, 119.01, nullptr},
      {{photo}, 22.6, 80, "action webp /d/holiday.jpg"},          // in the gap between two wedges
      {{QUrl::fromLocalFile(QDir::tempPath())}, 0, 80, nullptr},  // a folder
      {{}, 0, 80, nullptr},
  };
  for (const auto& c : cases) {
    // The drag comes up at the centre, as under a resting pointer, and moves
    // out to the wedge before the drop.
    Wheel wheel;
    const DragResult result =
        dragOnto(wheel.menu, c.files, at(0, 0), at(c.clockwise, 80), at(c.clockwise, c.distance));
    EXPECT_EQ(result.moveAccepted, !c.files.isEmpty() && c.files[0] == photo) << c.distance;
    EXPECT_EQ(result.dropped ? result.action : Qt::IgnoreAction,
              c.expected ? Qt::CopyAction : Qt::IgnoreAction)
        << c.distance;
    EXPECT_TRUE(wheel.log.empty()) << "the action waits for the drag to finish";
    QApplication::processEvents();
    EXPECT_EQ(wheel.log, c.expected ? Log{c.expected} : Log{}) << c.clockwise;
    EXPECT_TRUE(wheel.menu.state().provisionalFiles.empty());
  }
  // Over the centre the wheel answers no, and a drop there is refused.
  Wheel wheel;
  const DragResult center = dragOnto(wheel.menu, {photo}, at(0, 80), at(0, 10));
  EXPECT_FALSE(center.moveAccepted);
  EXPECT_FALSE(center.dropped);
}

QImage painted(const WheelState& state) {
  QImage image(266, 266, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  WheelPainter::paint(painter, image.size(), state);
  painter.end();
  return image.convertToFormat(QImage::Format_ARGB32);
}

bool isOrange(QRgb p) {
  return qAlpha(p) > 240 && qRed(p) > 215 && qGreen(p) > 55 && qGreen(p) < 120 && qBlue(p) < 45;
}

TEST(WheelPainter, OnlyTheHoveredWedgeIsOrangeWithItsGradientRunningOutward) {
  WheelState state;
  state.actions = WheelAction::formats(std::nullopt);
  state.hovered = 2;
  const QImage image = painted(state);
  for (int i = 0; i < 8; ++i) {
    for (const double distance : {55.0, 104.0}) {
      EXPECT_EQ(isOrange(image.pixel(at(i * 45, distance).toPoint())), i == 2)
          << "wedge " << i << " at " << distance;
    }
  }
  // Wedge 2 points right: lighter near the centre, darker outside, and the
  // same colour straight above and below a point.
  const QRgb inner = image.pixel(at(90, 55).toPoint());
  const QRgb outer = image.pixel(at(90, 104).toPoint());
  EXPECT_GT(qRed(inner), qRed(outer));
  EXPECT_GT(qGreen(inner), qGreen(outer) + 10);
  EXPECT_EQ(image.pixel(237, 118), image.pixel(237, 148));
}

}  // namespace
}  // namespace Whirlpane
