#include "app/chrome/progress_bar.h"

#include <gtest/gtest.h>

namespace Whirlpane {
namespace {

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

}  // namespace
}  // namespace Whirlpane
