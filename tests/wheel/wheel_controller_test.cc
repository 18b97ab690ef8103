// SPDX-License-Identifier: GPL-3.0-or-later
// The presentation of the wheel on Qt's offscreen platform (one 800 × 800
// screen): where it goes, what it offers, how it comes in and goes away.
#include "wheel/wheel_controller.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>

#include "app/desktop/tray_application.h"
#include "wheel/radial_menu.h"
#include "wheel/wheel_accessibility.h"
#include "wheel/wheel_panel.h"

namespace Whirlpane {
namespace {

using Files = WheelController::Files;
using Labels = std::vector<std::string>;

Labels labels(const RadialMenu* menu) {
  Labels result;
  for (const WheelAction& a : menu->actions()) result.push_back(a.label);
  return result;
}

TEST(WheelController, ShowsWhatItIsAskedAtThePointAndForgetsThePast) {
  WheelController wheel(false, toolWedges());
  const Files photos{"/p/a.jpg", "/p/b.png"}, report{"/p/report.pdf"};
  const Labels pdf{"DOCX", "JPG", "PNG", "TXT"};
  const struct {
    QPointF at;
    bool tools;
    std::optional<Files> files;
    QPoint origin;
    Files expectedFiles;
    Labels expectedLabels;
  } cases[] = {
      // clang-format off
      {{400, 300}, false, photos, {267, 167}, photos,
       {"PNG", "WEBP", "HEIC", "TIFF", "AVIF", "BMP", "PDF", "DOCX"}},
      {{799, 799}, false, std::nullopt, {548, 548}, {"/c/current.pdf"}, pdf},  // the current file
      {{-500, 300}, true, report, {-14, 167}, report,  // on no screen
       {"COMPRESS", "METADATA", "EDIT", "ANNOTATE", "ADD BG", "CROP", "REDACT"}},
      // clang-format on
  };
  for (const auto& c : cases) {
    wheel.currentFiles = {"/c/current.pdf"};
    wheel.hideAfterDrag = 12.5;
    wheel.wheel()->setHovered(1);
    wheel.showWheel(c.at, c.tools, false, c.files);
    EXPECT_TRUE(wheel.panel()->isVisible());
    EXPECT_EQ(wheel.panel()->pos(), c.origin) << c.at.x() << "," << c.at.y();
    EXPECT_EQ(wheel.wheel()->files(), c.expectedFiles);
    EXPECT_EQ(labels(wheel.wheel()), c.expectedLabels);
    EXPECT_EQ(wheel.showingTools(), c.tools);
    EXPECT_EQ(wheel.wheel()->hovered(), std::nullopt);
    EXPECT_EQ(wheel.hideAfterDrag, std::nullopt);
  }
  // Nothing shows while a batch is converting.
  wheel.hideWheel();
  wheel.busy = [] { return true; };
  wheel.showWheel({400, 300}, true, true, photos);
  EXPECT_FALSE(wheel.panel()->isVisible());
}

TEST(WheelController, TheWheelsOwnRequestsSwitchAndHideIt) {
  WheelController wheel(false, toolWedges());
  Labels chosen;
  wheel.onAction = [&](const WheelAction& action, const Files& files) {
    chosen.push_back(action.key + " " + files.front().string());
  };
  wheel.showWheel({400, 300}, false, false, Files{"/p/report.pdf"});
  RadialMenu* menu = wheel.wheel();
  menu->onToggle();
  EXPECT_TRUE(menu->state().isTools);
  EXPECT_EQ(menu->actions().size(), 7u);
  // Asking for the wheel already showing changes nothing, not even the
  // accessible wedges or the hovered one.
  menu->setHovered(3);
  const WheelAccessibilityElement* element = menu->actionElements()[0];
  wheel.setToolMode(true);
  EXPECT_EQ(menu->actionElements()[0], element);
  EXPECT_EQ(menu->hovered(), 3);

  menu->onToggle();  // back to the formats of the wheel's file
  EXPECT_EQ(labels(menu), (Labels{"DOCX", "JPG", "PNG", "TXT"}));
  menu->execute(2, menu->files());
  EXPECT_EQ(chosen, Labels{"png /p/report.pdf"});
  wheel.hideAfterDrag = 1;
  menu->onDismiss();
  EXPECT_FALSE(wheel.panel()->isVisible());
  EXPECT_EQ(wheel.hideAfterDrag, std::nullopt);
  EXPECT_FALSE(wheel.dragSession());
}

// On X11 Qt reports the application inactive 400 ms after a focus leaves:
// one that comes before a new showing has the focus is the earlier one's.
TEST(WheelController, AMenuShowingLeftOnceItHadTheFocusGoesWhenThePressElsewhereEnds) {
  WheelController wheel(false, toolWedges());
  bool down = true;
  wheel.buttonDown = [&down] { return std::optional(down); };
  const auto visibleAfter = [&wheel](int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds) QApplication::processEvents(QEventLoop::AllEvents, 10);
    return wheel.panel()->isVisible();
  };
  wheel.showWheel({400, 300}, false, false, Files{"/p/a.jpg"});
  Q_EMIT qGuiApp->applicationStateChanged(Qt::ApplicationInactive);
  EXPECT_TRUE(wheel.panel()->isVisible());
  QApplication::processEvents();  // the focus comes
  ASSERT_EQ(QGuiApplication::focusWindow(), wheel.panel()->windowHandle());
  Q_EMIT qGuiApp->applicationStateChanged(Qt::ApplicationInactive);
  // A press held elsewhere may become a drag to the wheel.
  EXPECT_TRUE(visibleAfter(200));
  down = false;
  EXPECT_FALSE(visibleAfter(200));
}

// Switching wheels under a held drag lights up the wedge under the pointer at
// once; outside a drag the pointer is not asked.
TEST(WheelController, UnderADragTheNewWheelLightsTheWedgeUnderThePointer) {
  WheelController wheel(false, toolWedges());
  for (const bool dragging : {true, false}) {
    wheel.showWheel({400, 300}, false, dragging, Files{"/p/a.jpg"});
    QCursor::setPos(480, 300);  // 80 to the right of the centre
    wheel.setToolMode(true);
    EXPECT_EQ(wheel.wheel()->hovered(), dragging ? std::optional(2) : std::nullopt);
    wheel.hideWheel();
  }
}

}  // namespace
}  // namespace Whirlpane
