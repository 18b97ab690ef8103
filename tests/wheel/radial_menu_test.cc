#include "wheel/radial_menu.h"

#include <gtest/gtest.h>

#include <QImage>

namespace Whirlpane {
namespace {

bool orangeAt(RadialMenu& menu, QPoint point) {
  const QRgb p = menu.grab().toImage().convertToFormat(QImage::Format_ARGB32).pixel(point);
  return qRed(p) > 215 && qGreen(p) < 120 && qBlue(p) < 45;
}

TEST(RadialMenu, PaintsItsHoveredWedgeAndForgetsItWhenTheWedgesChange) {
  RadialMenu menu;
  EXPECT_EQ(menu.size(), QSize(266, 266));
  menu.setActions(WheelAction::formats(std::nullopt));
  const QPoint rightWedge(133 + 104, 133);
  EXPECT_FALSE(orangeAt(menu, rightWedge));
  menu.setHovered(2);
  EXPECT_TRUE(orangeAt(menu, rightWedge));
  menu.setActions(WheelAction::tools());
  EXPECT_FALSE(menu.hovered());
  EXPECT_FALSE(orangeAt(menu, rightWedge));
}

}  // namespace
}  // namespace Whirlpane
