// The wheel's model, without widgets: the wedges' shapes and hit test, where
// the panel goes, the grow's spring, the centre caption and typed numbers.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>
#include <string>

#include "tests/support/test_support.h"
#include "wheel/panel_placement.h"
#include "wheel/spring.h"
#include "wheel/wheel_geometry.h"
#include "wheel/wheel_input.h"
#include "wheel/wheel_state.h"

namespace Whirlpane {
namespace {

constexpr double degrees = std::numbers::pi / 180;

// The point `distance` from the centre, `clockwise` degrees clockwise from
// 12 o'clock (y up).
WheelPoint at(const WheelGeometry& g, double clockwise, double distance) {
  return {g.center().x + distance * std::sin(clockwise * degrees),
          g.center().y + distance * std::cos(clockwise * degrees)};
}

double distance(WheelPoint a, WheelPoint b) { return std::hypot(a.x - b.x, a.y - b.y); }

// Signed distance of `p` from the line through `a` and `b`, positive on the
// left (counter-clockwise) side of a → b.
double fromLine(WheelPoint p, WheelPoint a, WheelPoint b) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  return (dx * (p.y - a.y) - dy * (p.x - a.x)) / std::hypot(dx, dy);
}

TEST(WheelGeometry, IndexFollowsTheWedgeBoundariesAndTheDistanceLimits) {
  const struct {
    int count;
    double clockwise;
    double distance;
    std::optional<int> expected;
  } cases[] = {
      // clang-format off
      {8, 90, 80, 2},     {8, 180, 80, 4},    {8, 22.4, 80, 0},   {8, 22.6, 80, 1},
      {8, 337.6, 80, 0},  {8, 337.4, 80, 7},  {8, 202.4, 115, 4}, {4, 44.9, 80, 0},
      {4, 45.1, 80, 1},   {4, 315.1, 80, 0},  {7, 25.7, 80, 0},   {7, 25.8, 80, 1},
      {1, 359.9, 116, 0}, {8, 0, 44, 0},      {8, 0, 119, 0},     {8, 0, 43.9, std::nullopt},
      {8, 0, 119.01, std::nullopt},  {0, 90, 100, std::nullopt},
      // clang-format on
  };
  for (const auto& c : cases) {
    const WheelGeometry g(c.count);
    EXPECT_EQ(g.index(at(g, c.clockwise, c.distance)), c.expected)
        << c.count << " wedges, " << c.clockwise << "° at " << c.distance;
  }
}

// Every arc starts where the outline has got to, so the corner circles touch
// the straight edges and the rings exactly; and the outline closes where it
// began.
TEST(WheelGeometry, OutlinesAreContinuousWithTheirCornersTangent) {
  for (const int count : {0, 1, 2, 4, 7, 8}) {
    const WheelGeometry g(count);
    for (int i = 0; i < std::max(count, 1); ++i) {
      const Outline outline = g.wedge(i);
      ASSERT_EQ(outline.size(), 10u);
      const double radii[] = {10, 112, 10, 6, 47, 6};
      int arcs = 0;
      for (size_t s = 1; s + 1 < outline.size(); ++s) {
        const OutlineStep& step = outline[s];
        if (step.kind != OutlineStep::Kind::arc) continue;
        const WheelPoint start{step.centre.x + step.radius * std::cos(step.startAngle * degrees),
                               step.centre.y + step.radius * std::sin(step.startAngle * degrees)};
        EXPECT_NEAR(distance(start, outline[s - 1].to), 0, 1e-9)
            << count << " wedges, wedge " << i << ", step " << s;
        EXPECT_DOUBLE_EQ(step.radius, radii[arcs++]);
      }
      EXPECT_EQ(arcs, 6);
      EXPECT_NEAR(distance(outline[outline.size() - 2].to, outline.front().to), 0, 1e-9);
      // The rings: the outer one counter-clockwise, the inner one clockwise.
      EXPECT_GT(outline[3].sweep, 0);
      EXPECT_LT(outline[7].sweep, 0);
    }
  }
}

// Wedge i's clockwise edge faces wedge i + 1's counter-clockwise edge: both
// run parallel, 6 apart, with the boundary between the wedges in the middle.
// With one wedge, its own two edges face each other across the gap at the
// bottom.
TEST(WheelGeometry, NeighbouringEdgesAreParallelAndSixApart) {
  for (const int count : {1, 2, 3, 4, 7, 8}) {
    const WheelGeometry g(count);
    for (int i = 0; i < count; ++i) {
      const Outline mine = g.wedge(i);
      const Outline next = g.wedge((i + 1) % count);
      const WheelPoint a = mine[0].to;  // the clockwise edge, from inside out
      const WheelPoint b = mine[1].to;
      const WheelPoint p = next[4].to;  // the counter-clockwise edge, from outside in
      const WheelPoint q = next[5].to;
      for (double t = 0; t <= 1; t += 0.25) {
        const WheelPoint onMine{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
        const WheelPoint onNext{p.x + t * (q.x - p.x), p.y + t * (q.y - p.y)};
        // Each lies on the other's clockwise side, seen along its own direction.
        EXPECT_NEAR(fromLine(onMine, p, q), -6, 1e-9) << count << " wedges, edge " << i;
        EXPECT_NEAR(fromLine(onNext, a, b), -6, 1e-9) << count << " wedges, edge " << i;
      }
      // The boundary between the two wedges runs midway.
      const double boundary = (i + 0.5) * 360.0 / count;
      const WheelPoint o = g.center();
      const WheelPoint far = at(g, boundary, 100);
      EXPECT_NEAR(fromLine(a, o, far), 3, 1e-9) << count << " wedges, edge " << i;
      EXPECT_NEAR(fromLine(q, o, far), -3, 1e-9) << count << " wedges, edge " << i;
    }
  }
}

TEST(PanelPlacement, CentresOnThePointAndKeepsTheDiscOnItsScreen) {
  const ScreenFrame main{0, 0, 1440, 900};
  const ScreenFrame left{-1280, 0, 1280, 1024};
  const ScreenFrame tiny{0, 0, 200, 100};
  const struct {
    DesktopPoint point;
    std::vector<ScreenFrame> screens;
    DesktopPoint expected;
  } cases[] = {
      {{720, 450}, {main}, {587, 317}},
      {{0, 0}, {main}, {-14, -14}},  // a corner: only the margin passes the edges
      {{0, 900}, {main}, {-14, 648}},
      {{1440, 900}, {main}, {1188, 648}},
      {{1439, 899}, {main, left}, {1188, 648}},
      {{-5, 500}, {main, left}, {-252, 367}},  // on the second screen, to the left
      {{-1280, 0}, {main, left}, {-1294, -14}},
      {{-1281, 500}, {main, left}, {-14, 367}},  // on no screen: the primary one
      {{2000, 100}, {main, left}, {1188, -14}},
      {{100, 50}, {tiny}, {-14, -14}},  // too small: the left and top limits win
      {{100, 50}, {}, {-33, -83}},      // no screens at all
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
  } cases[] = {
      {std::nullopt, false, std::nullopt, {}, {}, "CONVERT"},
      {std::nullopt, true, std::nullopt, {}, {}, "TOOLS"},
      {2, false, photo, {photo, small}, {small}, "HEIC"},
      {8, false, std::nullopt, {}, {}, "CONVERT"},  // past the last wedge
      {-1, true, std::nullopt, {}, {}, "TOOLS"},
      {std::nullopt, false, photo, {photo}, {}, "2.4 MB"},
      {std::nullopt, false, small, {}, {}, "812 bytes"},
      {std::nullopt, false, photo, {small}, {}, "812 bytes"},  // the files before the file
      {std::nullopt, false, photo, {photo, small}, {}, "2 files"},
      {std::nullopt, false, std::nullopt, {photo}, {photo, small, gone}, "3 files"},
      {std::nullopt, false, std::nullopt, {photo, small}, {small}, "812 bytes"},
      {std::nullopt, false, std::nullopt, {gone}, {}, "CONVERT"},  // size unreadable
      {std::nullopt, true, gone, {}, {}, "TOOLS"},
      {std::nullopt, false, folder.path(), {}, {}, "CONVERT"},
  };
  for (const auto& c : cases) {
    WheelState state;
    state.actions = WheelAction::formats(std::nullopt);
    state.hovered = c.hovered;
    state.isTools = c.tools;
    state.file = c.file;
    state.files = c.files;
    state.provisionalFiles = c.provisional;
    EXPECT_EQ(state.centerLabel(), c.expected) << "expected " << c.expected;
  }
}

TEST(TypedWedge, ANumberFromOneToTheCountPicksAWedge) {
  const struct {
    const char* typed;
    int count;
    std::optional<int> expected;
  } cases[] = {
      // clang-format off
      {"4", 4, 3},  {"1", 4, 0},  {"5", 4, {}},  {"0", 4, {}},  {"-1", 4, {}},
      {"+2", 4, 1}, {"04", 4, 3}, {"8", 8, 7},   {"", 4, {}},   {"a", 4, {}},
      {"1a", 4, {}}, {" 1", 4, {}}, {"-0", 4, {}}, {"+", 4, {}}, {"99999999999999999999", 4, {}},
      {"1", 0, {}},
      // clang-format on
  };
  for (const auto& c : cases)
    EXPECT_EQ(typedWedge(c.typed, c.count), c.expected) << '"' << c.typed << '"' << c.count;
}

}  // namespace
}  // namespace Whirlpane
