#include "wheel/spring.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <stdexcept>

namespace Whirlpane {
namespace {

// The spring's equation, m x'' = −k (x − to) − c x', integrated step by step
// (fourth-order Runge–Kutta), as an independent check of the closed form.
struct Numeric {
  double to, damping, stiffness, mass;
  double x, v;
  void advance(double dt) {
    const auto a = [&](double px, double pv) {
      return (-stiffness * (px - to) - damping * pv) / mass;
    };
    const double k1x = v, k1v = a(x, v);
    const double k2x = v + dt / 2 * k1v, k2v = a(x + dt / 2 * k1x, v + dt / 2 * k1v);
    const double k3x = v + dt / 2 * k2v, k3v = a(x + dt / 2 * k2x, v + dt / 2 * k2v);
    const double k4x = v + dt * k3v, k4v = a(x + dt * k3x, v + dt * k3v);
    x += dt / 6 * (k1x + 2 * k2x + 2 * k3x + k4x);
    v += dt / 6 * (k1v + 2 * k2v + 2 * k3v + k4v);
  }
};

TEST(Spring, FollowsTheSpringEquation) {
  const struct {
    double from, to, damping, stiffness, mass;
  } cases[] = {
      {0.55, 1, 22, 380, 1},  // the wheel's grow
      {3, -1, 5, 100, 2},     // lightly damped, falling
      {0, 10, 39, 400, 1},    // nearly critical
  };
  for (const auto& c : cases) {
    const Spring spring(c.from, c.to, c.damping, c.stiffness, c.mass);
    Numeric numeric{c.to, c.damping, c.stiffness, c.mass, c.from, 0};
    const double dt = 1e-5;
    for (int step = 0; step <= 150'000; ++step) {
      if (step % 5'000 == 0) {
        ASSERT_NEAR(spring.value(step * dt), numeric.x, 1e-7 * std::abs(c.from - c.to))
            << c.damping << "/" << c.stiffness << "/" << c.mass << " at " << step * dt << " s";
      }
      numeric.advance(dt);
    }
  }
}

// Settled means within 0.001 of the target from then on; and the duration is
// no longer than it must be by more than one swing (within the half period
// before it, the value is still farther than that).
TEST(Spring, SettlesWithinTheToleranceAndNoLaterThanNeeded) {
  const struct {
    double from, to, damping, stiffness, mass;
  } cases[] = {{0.55, 1, 22, 380, 1}, {3, -1, 5, 100, 2}, {0, 10, 39, 400, 1}};
  for (const auto& c : cases) {
    const Spring spring(c.from, c.to, c.damping, c.stiffness, c.mass);
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
  EXPECT_NEAR(Spring(0.55, 1, 22, 380, 1).settlingDuration(), 0.573, 0.0005);
  EXPECT_EQ(Spring(1.0005, 1, 22, 380, 1).settlingDuration(), 0);
}

TEST(Spring, TakesOnlyUnderdampedSprings) {
  EXPECT_THROW(Spring(0, 1, 40, 400, 1), std::invalid_argument);  // critical
  EXPECT_THROW(Spring(0, 1, 50, 400, 1), std::invalid_argument);
  EXPECT_THROW(Spring(0, 1, 22, 380, 0), std::invalid_argument);
  EXPECT_THROW(Spring(0, 1, 0, 380, 1), std::invalid_argument);
}

}  // namespace
}  // namespace Whirlpane
