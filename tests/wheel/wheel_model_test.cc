// SPDX-License-Identifier: GPL-3.0-or-later
// The wheel's model, without widgets (the wedges' hit test, where the panel
// goes, the grow's spring, the centre caption and the wait for a drag), and
// its presentation on Qt's offscreen platform (one 800 × 800 screen): where
// it goes, what it offers, how it comes in and goes away.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "app/desktop/tray_application.h"
#include "tests/support/test_support.h"
#include "wheel/panel_placement.h"
#include "wheel/radial_menu.h"
#include "wheel/spring.h"
#include "wheel/wheel_accessibility.h"
#include "wheel/wheel_controller.h"
#include "wheel/wheel_geometry.h"
#include "wheel/wheel_panel.h"
#include "wheel/wheel_state.h"
#include "wheel/wheel_wait.h"
#include "whirlpane/formats.h"

namespace Whirlpane {
namespace {

constexpr double degrees = std::numbers::pi / 180;

// The point `distance` from the centre, `clockwise` degrees clockwise from
// 12 o'clock (y up).
WheelPoint at(const WheelGeometry& g, double clockwise, double distance) {
  return {g.center().x + distance * std::sin(clockwise * degrees),
          g.center().y + distance * std::cos(clockwise * degrees)};
}

TEST(WheelGeometry, IndexFollowsTheWedgeBoundariesAndTheDistanceLimits) {
  const struct {
    int count;
    double clockwise;
    double distance;
    std::optional<int> expected;
  } cases[] = {
      // clang-format off
      {8, 90, 80, 2},     {8, 22.4, 80, 0},   {8, 22.6, 80, 1},   {8, 337.4, 80, 7},
      {4, 45.1, 80, 1},   {7, 25.8, 80, 1},   {1, 359.9, 116, 0}, {8, 0, 44, 0},
      {8, 0, 119, 0},     {8, 0, 43.9, std::nullopt},  {8, 0, 119.01, std::nullopt},
      {0, 90, 100, std::nullopt},
      // clang-format on
  };
  for (const auto& c : cases) {
    const WheelGeometry g(c.count);
    EXPECT_EQ(g.index(at(g, c.clockwise, c.distance)), c.expected)
        << c.count << " wedges, " << c.clockwise << "° at " << c.distance;
  }
}

TEST(PanelPlacement, CentersOnThePointAndKeepsTheDiscOnItsScreen) {
  const ScreenFrame main{0, 0, 1440, 900};
  const ScreenFrame left{-1280, 0, 1280, 1024};
  const struct {
    DesktopPoint point;
    std::vector<ScreenFrame> screens;
    DesktopPoint expected;
  } cases[] = {
      {{720, 450}, {main}, {587, 317}},
      {{0, 0}, {main}, {-14, -14}},  // a corner: only the margin passes the edges
      {{1440, 900}, {main}, {1188, 648}},
      {{-5, 500}, {main, left}, {-252, 367}},       // on the second screen, to the left
      {{-1281, 500}, {main, left}, {-14, 367}},     // on no screen: the primary one
      {{100, 50}, {{0, 0, 200, 100}}, {-14, -14}},  // too small: the left and top limits win
      {{100, 50}, {}, {-33, -83}},                  // no screens at all
  };
  for (const auto& c : cases) {
    const DesktopPoint origin = panelOrigin(c.point, c.screens, 0, 266, 266, 14);
    EXPECT_DOUBLE_EQ(origin.x, c.expected.x) << c.point.x << "," << c.point.y;
    EXPECT_DOUBLE_EQ(origin.y, c.expected.y) << c.point.x << "," << c.point.y;
  }
  // The primary screen need not come first.
  const DesktopPoint origin = panelOrigin({-3000, 0}, {main, left}, 1, 266, 266, 14);
  EXPECT_DOUBLE_EQ(origin.x, -1294);
}

// The closed form against the spring's equation, m x'' = −k (x − to) − c x',
// integrated step by step (fourth-order Runge–Kutta); and settled means
// within the tolerance from then on, no later than one swing after it must.
TEST(Spring, FollowsTheSpringEquationAndSettlesNoLaterThanNeeded) {
  const struct {
    double from, to, damping, stiffness, mass;
  } cases[] = {
      {0.55, 1, 22, 380, 1},  // the wheel's grow
      {3, -1, 5, 100, 2},     // lightly damped, falling
      {0, 10, 39, 400, 1},    // nearly critical
  };
  for (const auto& c : cases) {
    const Spring spring(c.from, c.to, c.damping, c.stiffness, c.mass);
    const auto pull = [&](double x, double v) {
      return (-c.stiffness * (x - c.to) - c.damping * v) / c.mass;
    };
    double x = c.from, v = 0;
    const double dt = 1e-5;
    for (int step = 0; step <= 150'000; ++step) {
      if (step % 5'000 == 0) {
        ASSERT_NEAR(spring.value(step * dt), x, 1e-7 * std::abs(c.from - c.to))
            << c.damping << " at " << step * dt << " s";
      }
      const double k1x = v, k1v = pull(x, v);
      const double k2x = v + dt / 2 * k1v, k2v = pull(x + dt / 2 * k1x, v + dt / 2 * k1v);
      const double k3x = v + dt / 2 * k2v, k3v = pull(x + dt / 2 * k2x, v + dt / 2 * k2v);
      const double k4x = v + dt * k3v, k4v = pull(x + dt * k3x, v + dt * k3v);
      x += dt / 6 * (k1x + 2 * k2x + 2 * k3x + k4x);
      v += dt / 6 * (k1v + 2 * k2v + 2 * k3v + k4v);
    }

    const double settled = spring.settlingDuration();
    const double ratio = c.damping / (2 * std::sqrt(c.stiffness * c.mass));
    const double swing =
        std::numbers::pi / (std::sqrt(c.stiffness / c.mass) * std::sqrt(1 - ratio * ratio));
    double farthestBefore = 0;
    for (double t = settled - swing; t < settled; t += 1e-4)
      farthestBefore = std::max(farthestBefore, std::abs(spring.value(t) - c.to));
    EXPECT_GT(farthestBefore, Spring::settlingTolerance) << c.damping;
    for (double t = settled; t < settled * 6; t += 1e-4)
      ASSERT_LE(std::abs(spring.value(t) - c.to), Spring::settlingTolerance) << t;
  }
  EXPECT_EQ(Spring(1.0005, 1, 22, 380, 1).settlingDuration(), 0);
  EXPECT_THROW(Spring(0, 1, 40, 400, 1), std::invalid_argument);  // critical
}

TEST(WheelAction, TheSourcesOwnFormatGivesItsWedgeToJpg) {
  const struct {
    std::optional<std::filesystem::path> file;
    std::string labels;
  } cases[] = {
      {"IMG_0001.HEIC", "PNG WEBP JPG TIFF AVIF BMP PDF DOCX"},
      {"photo.heif", "PNG WEBP JPG TIFF AVIF BMP PDF DOCX"},
      {"scan.tif", "PNG WEBP HEIC JPG AVIF BMP PDF DOCX"},
      {"shot.png", "JPG WEBP HEIC TIFF AVIF BMP PDF DOCX"},
      {"photo.JPEG", "PNG WEBP HEIC TIFF AVIF BMP PDF DOCX"},
      {"anim.gif", "PNG WEBP HEIC TIFF AVIF BMP PDF DOCX"},
      {std::nullopt, "PNG WEBP HEIC TIFF AVIF BMP PDF DOCX"},
      {"report.PDF", "DOCX JPG PNG TXT"},
  };
  for (const auto& c : cases) {
    std::string labels;
    for (const WheelAction& action : WheelAction::formats(c.file)) {
      labels += (labels.empty() ? "" : " ") + action.label;
      EXPECT_EQ(action.key, MediaEngine::asciiLower(action.label));
    }
    EXPECT_EQ(labels, c.labels) << (c.file ? c.file->string() : "no file");
  }
}

TEST(WheelState, CenterLabelTakesTheFirstRuleThatApplies) {
  TestSupport::ScratchFolder folder;
  const auto photo = folder / "photo.jpg";  // 2.4 MB
  const auto small = folder / "small.png";  // 812 bytes
  const auto gone = folder / "gone.png";
  TestSupport::writeFile(photo, std::string(2'400'000, 'x'));
  TestSupport::writeFile(small, std::string(812, 'x'));
  using Paths = std::vector<std::filesystem::path>;
  const struct {
    std::optional<int> hovered;  // of the eight formats
    bool tools;
    std::optional<std::filesystem::path> file;
    Paths files;
    Paths provisional;
    std::string expected;
    bool invitesDrop = false;  // the window's wheel at rest
  } cases[] = {
      {2, false, photo, {photo, small}, {small}, "HEIC"},
      {8, false, std::nullopt, {}, {}, "CONVERT"},  // past the last wedge
      {std::nullopt, false, photo, {photo}, {}, "2.4 MB"},
      {std::nullopt, false, photo, {small}, {}, "812 bytes"},  // the files before the file
      {std::nullopt, false, photo, {photo, small}, {}, "2 files"},
      {std::nullopt, false, std::nullopt, {photo}, {photo, small, gone}, "3 files"},
      {std::nullopt, false, std::nullopt, {gone}, {}, "CONVERT"},  // size unreadable
      {std::nullopt, true, std::nullopt, {}, {}, "Drop files here", true},
      {std::nullopt, false, std::nullopt, {}, {small}, "812 bytes", true},
      {0, false, std::nullopt, {}, {}, "PNG", true},
  };
  // The menu reads the size when its files change; the label takes it from
  // there on every paint.
  for (const auto& c : cases) {
    RadialMenu menu;
    menu.setActions(WheelAction::formats(std::nullopt));
    menu.setHovered(c.hovered);
    menu.setIsTools(c.tools);
    menu.setFile(c.file);
    menu.setFiles(c.files);
    menu.setProvisionalFiles(c.provisional);
    menu.setInvitesDrop(c.invitesDrop);
    EXPECT_EQ(menu.state().centerLabel(), c.expected) << "expected " << c.expected;
  }
}

TEST(WheelWait, StaysWhileADragCanStillComeAndGoesAfterAClickOrThePatience) {
  using R = WheelWait::Readings;
  constexpr auto up = std::optional(false), down = std::optional(true);
  constexpr std::optional<bool> unreadable;
  const double late = WheelWait::patience + 0.1;
  const struct {
    const char* what;
    R atStart;
    std::vector<R> then;
    int hidesAt;  // index into `then`; -1: stays up throughout
  } cases[] = {
      {"a click elsewhere", {0, false, up}, {{0.05, false, up}}, 0},
      {"a press held, then a drag over the wheel, then the drop elsewhere",
       {0, false, down},
       {{0.5, false, down}, {30, true, down}, {31, true, up}, {31.05, false, up}},
       3},
      {"a press held long, readable", {0, false, down}, {{late * 4, false, down}}, -1},
      {"unreadable: nothing seen",
       {0, false, unreadable},
       {{WheelWait::patience - 0.1, false, unreadable}, {late, false, unreadable}},
       1},
      {"unreadable: a drag over the wheel starts the patience again",
       {0, false, unreadable},
       {{5, true, unreadable}, {late, false, unreadable}, {5 + late, false, unreadable}},
       2},
  };
  for (const auto& c : cases) {
    WheelWait wait;
    EXPECT_FALSE(wait.shouldHide(c.then.back())) << c.what << ": before the focus went";
    wait.start(c.atStart);
    int hidden = -1;
    for (std::size_t i = 0; i < c.then.size() && hidden < 0; ++i) {
      if (wait.shouldHide(c.then[i])) hidden = static_cast<int>(i);
    }
    EXPECT_EQ(hidden, c.hidesAt) << c.what;
  }
}

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
