#include "wheel/panel_placement.h"

#include <gtest/gtest.h>

namespace Whirlpane {
namespace {

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

}  // namespace
}  // namespace Whirlpane
