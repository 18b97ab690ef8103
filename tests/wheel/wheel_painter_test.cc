#include "wheel/wheel_painter.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <numbers>

#include "wheel/wheel_geometry.h"

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

// Caption ink: dark and nearly opaque.
bool isInk(QRgb p) { return qAlpha(p) > 200 && std::max({qRed(p), qGreen(p), qBlue(p)}) < 140; }

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

TEST(WheelPainter, LabelAlphaZeroHidesTheWedgeCaptionsAndSymbolsOnly) {
  WheelState state;
  state.actions = WheelAction::tools();
  state.isTools = true;
  const QImage shown = painted(state);
  state.labelAlpha = 0;
  const QImage hidden = painted(state);

  const WheelGeometry g(7);
  std::vector<QRect> captions;
  for (int i = 0; i < 7; ++i) {
    const WheelPoint anchor = g.captionAnchor(i);
    captions.emplace_back(QPointF(anchor.x - 24, 266 - anchor.y - 17).toPoint(), QSize(48, 34));
  }
  for (int i = 0; i < 7; ++i) {
    int inkShown = 0;
    int inkHidden = 0;
    for (int y = captions[i].top(); y <= captions[i].bottom(); ++y) {
      for (int x = captions[i].left(); x <= captions[i].right(); ++x) {
        inkShown += isInk(shown.pixel(x, y));
        inkHidden += isInk(hidden.pixel(x, y));
      }
    }
    EXPECT_GT(inkShown, 40) << "wedge " << i;
    EXPECT_EQ(inkHidden, 0) << "wedge " << i;
  }
  // The centre caption stays.
  int centreInk = 0;
  for (int y = 116; y < 150; ++y)
    for (int x = 99; x < 167; ++x) centreInk += isInk(hidden.pixel(x, y));
  EXPECT_GT(centreInk, 20);
}

// A caption shrinks in half-point steps while it is wider than 58 and larger
// than 6 points, and stops at the first size that fits.
TEST(WheelPainter, CentreCaptionShrinksToFitAndStopsAtSixPoints) {
  QImage device(1, 1, QImage::Format_ARGB32_Premultiplied);
  enum Hovered { nothing, tool, format };
  const struct {
    const char* text;
    Hovered hovered;
    double start;
    bool shrinks;
  } cases[] = {
      {"CONVERT", nothing, 11, false},
      {"2.4 MB", nothing, 11, false},
      {"12345 files", nothing, 11, true},
      {"12345678901234567890 files", nothing, 11, true},
      {"ANNOTATE", tool, 8, false},
      {"DOCX", format, 10, false},
      {"A VERY LONG FORMAT", format, 10, true},
  };
  for (const auto& c : cases) {
    WheelState state;
    state.actions = c.hovered == tool ? WheelAction::tools() : WheelAction::formats(std::nullopt);
    if (c.hovered != nothing) state.hovered = 3;
    const auto caption = WheelPainter::fitCenterCaption(c.text, state, &device);
    EXPECT_EQ(caption.size < c.start, c.shrinks) << c.text << " at " << caption.size;
    EXPECT_GE(caption.size, 6) << c.text;
    EXPECT_EQ(caption.font.weight(), c.hovered ? QFont::Bold : QFont::DemiBold) << c.text;
    EXPECT_TRUE(caption.size == 6 || caption.measured.width() <= 58) << c.text;
    if (caption.size < c.start) {
      const QFont larger = WheelPainter::systemFont(caption.size + 0.5, caption.font.weight(),
                                                    caption.kerning, &device);
      EXPECT_GT(QFontMetricsF(larger, &device).horizontalAdvance(c.text), 58) << c.text;
    }
  }
  const auto longest = WheelPainter::fitCenterCaption("12345678901234567890 files", {}, &device);
  EXPECT_EQ(longest.size, 6);
  EXPECT_GT(longest.measured.width(), 58);
}

}  // namespace
}  // namespace Whirlpane
