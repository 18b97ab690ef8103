// The presentation of the wheel on Qt's offscreen platform (one 800 × 800
// screen): where it goes, what it offers, how it comes in and goes away.
#include "wheel/wheel_controller.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QGraphicsEffect>
#include <QVariantAnimation>

#include "app/chrome/grow_animation.h"
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

// The grow's own animation (the spring), to step through without a clock.
QVariantAnimation* spring(const WheelController& wheel) {
  for (auto* animation : wheel.panel()->findChildren<QVariantAnimation*>()) {
    if (animation->parent() == wheel.panel()->grow()) return animation;
  }
  return nullptr;
}

TEST(WheelController, ShowsWhatItIsAskedAtThePointAndForgetsThePast) {
  WheelController wheel(false);
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
    EXPECT_EQ(wheel.wheel()->state().file, c.expectedFiles.front());
    EXPECT_EQ(labels(wheel.wheel()), c.expectedLabels);
    EXPECT_EQ(wheel.showingTools(), c.tools);
    EXPECT_EQ(wheel.wheel()->hovered(), std::nullopt);
    EXPECT_EQ(wheel.hideAfterDrag, std::nullopt);
  }
  // Nothing shows while a batch is converting.
  wheel.hideWheel();
  wheel.working = true;
  wheel.showWheel({400, 300}, true, true, photos);
  EXPECT_FALSE(wheel.panel()->isVisible());
}

TEST(WheelController, TheWheelsOwnRequestsSwitchAndHideIt) {
  WheelController wheel(false);
  Labels chosen;
  wheel.onAction = [&](const WheelAction& action, const Files& urls) {
    chosen.push_back(action.key + " " + urls.front().string());
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

// On X11 Qt reports the application inactive 400 ms after a focus leaves: a
// report that comes after the wheel was hidden and shown again, before the
// new showing has the focus, is the earlier showing's.
TEST(WheelController, AMenuShowingGoesWhenTheApplicationIsLeftOnlyOnceItHadTheFocus) {
  WheelController wheel(false);
  wheel.showWheel({400, 300}, false, false, Files{"/p/a.jpg"});
  Q_EMIT qGuiApp->applicationStateChanged(Qt::ApplicationInactive);
  EXPECT_TRUE(wheel.panel()->isVisible());
  QApplication::processEvents();  // the focus comes
  ASSERT_EQ(QGuiApplication::focusWindow(), wheel.panel()->windowHandle());
  Q_EMIT qGuiApp->applicationStateChanged(Qt::ApplicationInactive);
  EXPECT_FALSE(wheel.panel()->isVisible());
}

// Switching wheels under a held drag lights up the wedge under the pointer at
// once; outside a drag the pointer is not asked.
TEST(WheelController, UnderADragTheNewWheelLightsTheWedgeUnderThePointer) {
  WheelController wheel(false);
  for (const bool dragging : {true, false}) {
    wheel.showWheel({400, 300}, false, dragging, Files{"/p/a.jpg"});
    QCursor::setPos(480, 300);  // 80 to the right of the centre
    wheel.setToolMode(true);
    EXPECT_EQ(wheel.wheel()->hovered(), dragging ? std::optional(2) : std::nullopt);
    wheel.hideWheel();
  }
}

// The wheel grows from 0.55 along the spring, past its full size and back;
// the window fades in over 0.1 s and the captions over the 0.1 s after a
// 0.06 s wait. Hiding midway resets everything. Without a compositor the
// window is cut to the disc and the cut follows the grow.
TEST(WheelController, TheWheelGrowsAlongTheSpringAndFadesIn) {
  WheelController wheel(true);
  for (int showing = 0; showing < 2; ++showing) {
    wheel.showWheel({400, 300}, false, false, Files{"/p/a.jpg"});
    EXPECT_DOUBLE_EQ(wheel.panel()->grow()->scale(), 0.55);
    wheel.fades()->setCurrentTime(50);
    EXPECT_NEAR(wheel.panel()->windowOpacity(), 0.5, 0.01);
    EXPECT_EQ(wheel.wheel()->labelAlpha(), 0);
    wheel.fades()->setCurrentTime(110);
    EXPECT_EQ(wheel.panel()->windowOpacity(), 1);
    EXPECT_NEAR(wheel.wheel()->labelAlpha(), 0.5, 0.01);
    spring(wheel)->setCurrentTime(195);  // half a swing: the overshoot
    EXPECT_GT(wheel.panel()->grow()->scale(), 1.04);
    if (showing == 0) wheel.hideWheel();
  }
  spring(wheel)->setCurrentTime(WheelController::growMilliseconds());
  wheel.fades()->setCurrentTime(wheel.fades()->totalDuration());
  EXPECT_EQ(wheel.panel()->grow()->scale(), 1);
  EXPECT_EQ(wheel.panel()->findChild<QGraphicsEffect*>(), nullptr);
  EXPECT_TRUE(wheel.panel()->mask().isEmpty());

  WheelController plain(false);
  plain.showWheel({400, 300}, false, false, Files{"/p/a.jpg"});
  EXPECT_EQ(plain.panel()->windowOpacity(), 1);
  EXPECT_NEAR(plain.panel()->mask().boundingRect().width(), 238 * 0.55, 2);
  spring(plain)->setCurrentTime(WheelController::growMilliseconds());
  const QRect disc = plain.panel()->mask().boundingRect();
  EXPECT_NEAR(disc.left(), 14, 1);
  EXPECT_NEAR(disc.width(), 238, 2);
}

}  // namespace
}  // namespace Whirlpane
