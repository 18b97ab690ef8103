// SPDX-License-Identifier: GPL-3.0-or-later
#include "wheel/wheel_painter.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <numbers>

namespace Whirlpane {
namespace {

QImage painted(const WheelState& state) {
  QImage image(266, 266, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  WheelPainter::paint(painter, image.size(), state);
  painter.end();
  return image.convertToFormat(QImage::Format_ARGB32);
}

// The widget point `distance` from the centre, `clockwise` degrees clockwise
// from 12 o'clock.
QPoint at(double clockwise, double distance) {
  const double a = clockwise * std::numbers::pi / 180;
  return QPointF(133 + distance * std::sin(a), 133 - distance * std::cos(a)).toPoint();
}

bool isOrange(QRgb p) {
  return qAlpha(p) > 240 && qRed(p) > 215 && qGreen(p) > 55 && qGreen(p) < 120 && qBlue(p) < 45;
}

TEST(WheelPainter, OnlyTheHoveredWedgeIsOrangeWithItsGradientRunningOutward) {
  WheelState state;
  state.actions = WheelAction::formats(std::nullopt);
  state.hovered = 2;
  const QImage image = painted(state);
  for (int i = 0; i < 8; ++i) {
    for (const double distance : {55.0, 104.0}) {
      EXPECT_EQ(isOrange(image.pixel(at(i * 45, distance))), i == 2)
          << "wedge " << i << " at " << distance;
    }
  }
  // Wedge 2 points right: lighter near the centre, darker outside, and the
  // same colour straight above and below a point.
  const QRgb inner = image.pixel(at(90, 55));
  const QRgb outer = image.pixel(at(90, 104));
  EXPECT_GT(qRed(inner), qRed(outer));
  EXPECT_GT(qGreen(inner), qGreen(outer) + 10);
  EXPECT_EQ(image.pixel(237, 118), image.pixel(237, 148));
}

}  // namespace
}  // namespace Whirlpane
