// The window chrome: the progress toast and its bar, and the settings file's
// switches (on or off only for a Boolean, any case; otherwise the default).
#include <gtest/gtest.h>

#include <QAbstractAnimation>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTemporaryDir>
#include <QVariantAnimation>
#include <memory>

#include "app/chrome/close_circle_button.h"
#include "app/chrome/desktop_glass.h"
#include "app/chrome/progress_bar.h"
#include "app/chrome/progress_toast.h"
#include "app/chrome/settings.h"
#include "app/desktop/app_settings.h"
#include "tests/support/scoped_environment.h"

namespace Whirlpane {
namespace {

// A clock the test sets by hand.
struct ManualClock {
  double now = 0;
  ProgressToast::Clock clock() {
    return [this] { return now; };
  }
};

// Runs every running animation under `widget` to its end at once.
void endAnimations(QWidget* widget) {
  for (QVariantAnimation* animation : widget->findChildren<QVariantAnimation*>()) {
    if (animation->state() == QAbstractAnimation::Running)
      animation->setCurrentTime(animation->totalDuration());
  }
}

TEST(ProgressToast, StaysEightInsideTheAvailableArea) {
  const QRect screen(0, 0, 1440, 900);
  const QRect left(-1280, 24, 1280, 1000);
  const struct {
    QPointF point;
    QRect area;
    QPoint expected;
  } cases[] = {
      // clang-format off
      {{700, 400}, screen, {544, 354}},   {{165, 55}, screen, {9, 9}},  // no push needed
      {{0, 0}, screen, {8, 8}},           {{1440, 0}, screen, {1120, 8}},
      {{0, 900}, screen, {8, 799}},       {{1440, 900}, screen, {1120, 799}},
      {{-5, 1010}, left, {-320, 923}},    {{-1280, 24}, left, {-1272, 32}},
      {{100, 30}, QRect(0, 0, 200, 50), {8, 8}},  // too small: left and top win
      {{500, 500}, QRect(), {8, 8}},              // no screen at all
      // clang-format on
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ProgressToast::origin(c.point, c.area), c.expected)
        << c.point.x() << "," << c.point.y();
  }

  // A point on no screen falls back to the primary screen.
  const QRect primary = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_EQ(ProgressToast::availableAreaAt({-5000, -5000}), primary);
  ProgressToast toast("Converting to PNG", 3, {-5000, -5000});
  EXPECT_EQ(toast.panel()->pos(), ProgressToast::origin({-5000, -5000}, primary));
}

// Finishing leaves the toast up 0.55 s after it was shown, and 0.25 s at
// least after finish().
TEST(ProgressToast, FinishWaitsForTheLongerOfTheTwoMinimums) {
  const struct {
    double created;
    std::optional<double> shown;
    double finished;
    int expectedMilliseconds;
  } cases[] = {
      {100, 100, 100.1, 450},      {100, 100, 105, 250},    {100, 100, 100.3, 250},
      {100, 100, 100.2, 350},      {100, 102, 102.05, 500}, {50, std::nullopt, 50.1, 450},
      {50, std::nullopt, 60, 250},
  };
  for (const auto& c : cases) {
    ManualClock clock{c.created};
    ProgressToast toast("Converting to JPG", 2, {100, 100}, clock.clock());
    if (c.shown) {
      clock.now = *c.shown;
      toast.show();
    }
    clock.now = c.finished;
    toast.finish();
    EXPECT_TRUE(toast.dismissTimer().isActive()) << c.finished;
    EXPECT_EQ(toast.dismissTimer().interval(), c.expectedMilliseconds) << c.finished;
  }

  // When the wait is over, the toast goes.
  ManualClock clock{10};
  ProgressToast toast("Converting to JPG", 2, {100, 100}, clock.clock());
  toast.show();
  toast.finish();
  EXPECT_TRUE(toast.panel()->isVisible());
  toast.dismissTimer().start(0);
  QApplication::processEvents();
  EXPECT_FALSE(toast.panel()->isVisible());
}

TEST(ProgressToast, CountsSavedFilesAndNeverDrawsAnEmptyBar) {
  ProgressToast toast("Converting to PNG", 0, {100, 100});
  EXPECT_EQ(toast.title()->text(), "Converting to PNG");
  EXPECT_EQ(toast.detail()->text(), "0 of 0 saved");
  EXPECT_EQ(toast.bar()->fraction(), 0);
  EXPECT_EQ(toast.bar()->shown(), 0.06);
  toast.update(2, 5);
  EXPECT_EQ(toast.detail()->text(), "2 of 5 saved");
  EXPECT_DOUBLE_EQ(toast.bar()->fraction(), 0.4);
  EXPECT_EQ(toast.cancelButton()->accessibleName(), "Cancel");
}

TEST(ProgressToast, TheCloseButtonCancelsThenDismisses) {
  ProgressToast toast("Converting to PNG", 4, {100, 100});
  toast.show();
  toast.cancelButton()->click();  // no onCancel: dismissed all the same
  EXPECT_FALSE(toast.panel()->isVisible());

  // The owner may drop the toast from inside onCancel.
  auto owned = std::make_unique<ProgressToast>("Converting to PNG", 4, QPointF(100, 100));
  owned->show();
  owned->onCancel = [&] { owned.reset(); };
  CloseCircleButton* button = owned->cancelButton();
  button->click();
  EXPECT_EQ(owned, nullptr);
  QApplication::processEvents();

  // ...or while it is still growing.
  auto growing = std::make_unique<ProgressToast>("Converting to PNG", 4, QPointF(100, 100));
  growing->show();
  const QPointer<QWidget> panel = growing->panel();
  growing.reset();
  ASSERT_TRUE(panel);
  endAnimations(panel);
  QApplication::processEvents();
}

// Without a compositor the window is opaque and cut to its rounded shape, and
// the cut follows the grow from 0.35 of the size.
TEST(ProgressToast, WithoutCompositorTheWindowIsMaskedAsItGrows) {
  ProgressToast toast("Converting to PNG", 4, {400, 300});
  EXPECT_FALSE(toast.panel()->testAttribute(Qt::WA_TranslucentBackground));
  toast.show();
  EXPECT_EQ(toast.panel()->windowOpacity(), 1);
  const QRect growing = toast.panel()->mask().boundingRect();
  EXPECT_NEAR(growing.width(), 312 * 0.35, 2);
  // The content is drawn at that scale about the centre: the bar's start
  // (0.06 filled, 72 from the top) sits near the middle, not at the edge.
  const auto accentAt = [&](QPoint point) {
    const QRgb p = toast.panel()->grab().toImage().pixel(point);
    return qRed(p) > 200 && qGreen(p) < 120 && qBlue(p) < 60;
  };
  EXPECT_TRUE(accentAt({110, 56}) && !accentAt({20, 74}));
  endAnimations(toast.panel());
  EXPECT_TRUE(accentAt({20, 74}));
  const QRegion shape = toast.panel()->mask();
  EXPECT_EQ(shape.boundingRect(), QRect(0, 0, 312, 93));
  EXPECT_FALSE(shape.contains(QPoint(1, 1)));  // the rounded corners are cut
}

TEST(ProgressBar, EasesTowardItsTargetAndNeverDrawsBelowSixPercent) {
  const struct {
    double fraction;
    double target;  // what the bar settles at
  } cases[] = {{0, 0.06}, {0.03, 0.06}, {0.4, 0.4}, {1, 1}, {1.7, 1}, {-0.5, 0.06}};
  for (const auto& c : cases) {
    ProgressBar bar;
    bar.setFraction(c.fraction);
    EXPECT_DOUBLE_EQ(bar.shown(), 0.06) << c.fraction;
    EXPECT_GE(bar.fraction(), 0) << c.fraction;
    EXPECT_LE(bar.fraction(), 1) << c.fraction;
    double previous = bar.shown();
    while (bar.isAnimating()) {
      bar.step();
      EXPECT_GE(bar.shown(), previous) << c.fraction;  // never overshoots backwards
      previous = bar.shown();
    }
    EXPECT_EQ(bar.shown(), c.target) << c.fraction;
  }

  // A quarter of the way each frame: 0.06 → 0.145 toward 0.4, there in 18.
  ProgressBar bar;
  bar.setFraction(0.4);
  bar.step();
  EXPECT_DOUBLE_EQ(bar.shown(), 0.145);
  int frames = 1;
  for (; bar.isAnimating() && frames < 100; ++frames) bar.step();
  EXPECT_EQ(frames, 18);
  // A new target eases on from where the bar is, not from the floor.
  bar.setFraction(0.6);
  EXPECT_DOUBLE_EQ(bar.shown(), 0.4);
  bar.step();
  EXPECT_DOUBLE_EQ(bar.shown(), 0.45);
}

TEST(Settings, SwitchesAreReadAsBooleansOrTakeTheirDefaults) {
  QTemporaryDir folder;
  {
    // A relative XDG_CONFIG_HOME is not to be used.
    const ScopedEnvironment relative("XDG_CONFIG_HOME", QByteArray("relative"));
    EXPECT_EQ(settingsFilePath(), QDir::homePath() + "/.config/Whirlpane/Whirlpane.conf");
  }
  const ScopedEnvironment environment("XDG_CONFIG_HOME", folder.path().toUtf8());
  ASSERT_EQ(settingsFilePath(), folder.path() + "/Whirlpane/Whirlpane.conf");
  const struct {
    const char* file;  // null for no file
    bool glass, automaticDrag, opened;
  } cases[] = {
      {nullptr, true, true, false},
      {"[General]\nuseSystemGlass=false\nautomaticDrag=false\nhasOpenedWhirlpane=true\n", false,
       false, true},
      {"useSystemGlass=FALSE\nautomaticDrag=False\n", false, false, false},
      {"[General]\nuseSystemGlass=true\nautomaticDrag=TRUE\n", true, true, false},
      {"[General]\nuseSystemGlass=0\nautomaticDrag=0\nhasOpenedWhirlpane=1\n", true, true, false},
      {"[General]\nuseSystemGlass=no\nautomaticDrag=maybe\nhasOpenedWhirlpane=\n", true, true,
       false},
      {"[Other]\nuseSystemGlass=false\nautomaticDrag=false\n", true, true, false},
  };
  QDir().mkpath(folder.path() + "/Whirlpane");
  QFile file(settingsFilePath());
  for (const auto& c : cases) {
    file.remove();
    if (c.file) {
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write(c.file);
      file.close();
    }
    const char* shown = c.file ? c.file : "(no file)";
    EXPECT_EQ(systemGlassSetting(), c.glass) << shown;
    EXPECT_EQ(automaticDrag(), c.automaticDrag) << shown;
    EXPECT_EQ(hasOpenedWhirlpane(), c.opened) << shown;
  }
  setAutomaticDrag(false);
  setHasOpenedWhirlpane();
  EXPECT_FALSE(automaticDrag());
  EXPECT_TRUE(hasOpenedWhirlpane());
  // The offscreen platform has no compositor, so never glass.
  EXPECT_FALSE(compositorRunning());
  EXPECT_FALSE(usesSystemGlass());
}

}  // namespace
}  // namespace Whirlpane
