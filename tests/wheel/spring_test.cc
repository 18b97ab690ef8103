#include "wheel/spring.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace Whirlpane {
namespace {

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

}  // namespace
}  // namespace Whirlpane
