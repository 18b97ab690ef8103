#include "wheel/wheel_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>

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

}  // namespace
}  // namespace Whirlpane
