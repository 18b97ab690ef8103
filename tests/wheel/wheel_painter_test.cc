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

WheelState formatsWheel() {
  WheelState state;
  state.actions = WheelAction::formats(std::nullopt);
  return state;
}

// What covers each part of the disc, told apart by opacity over a transparent
// image: frame 0.3 (0.26 on glass), wedges 0.5 to 0.43 (0.42 to 0.35 on glass),
// the central disc 0.05 (0.06 on glass).
TEST(WheelPainter, FrameFillsTheRimTheGapsAndTheRingAroundTheHole) {
  enum Part { none, frame, wedge, disc };
  const struct {
    int count;
    bool glass;
    double clockwise;
    double distance;
    Part part;
  } cases[] = {
      {8, false, 0, 104, wedge},     {8, false, 135, 104, wedge}, {8, false, 22.5, 80, frame},
      {8, false, 202.5, 100, frame}, {8, false, 0, 115, frame},   {8, false, 90, 44, frame},
      {8, false, 0, 30, disc},       {8, false, 0, 121, none},    {8, false, 45, 140, none},
      {8, true, 0, 104, wedge},      {8, true, 22.5, 80, frame},  {8, true, 0, 30, disc},
      {4, false, 45, 80, frame},     {4, false, 90, 104, wedge},  {1, false, 180, 80, frame},
      {1, false, 170, 80, wedge},    {0, false, 0, 80, frame},    {0, false, 200, 104, frame},
      {0, false, 0, 30, disc},
  };
  for (const auto& c : cases) {
    WheelState state;
    state.actions = WheelAction::formats(std::nullopt);
    state.actions.resize(c.count);
    state.hasGlassBackdrop = c.glass;
    const int alpha = qAlpha(painted(state).pixel(at(c.clockwise, c.distance)));
    const auto within = [&](double low, double high) {
      return alpha >= std::floor(low * 255) - 1 && alpha <= std::ceil(high * 255) + 1;
    };
    const bool expected = c.part == none    ? alpha == 0
                          : c.part == frame ? within(c.glass ? 0.26 : 0.3, c.glass ? 0.26 : 0.3)
                          : c.part == wedge ? within(c.glass ? 0.35 : 0.43, c.glass ? 0.42 : 0.5)
                                            : within(c.glass ? 0.06 : 0.05, c.glass ? 0.06 : 0.05);
    EXPECT_TRUE(expected) << c.count << " wedges" << (c.glass ? " on glass" : "") << ", "
                          << c.clockwise << "° at " << c.distance << ": alpha " << alpha;
  }
}

TEST(WheelPainter, OnlyTheHoveredWedgeIsOrangeWithItsGradientRunningOutward) {
  WheelState state = formatsWheel();
  state.hovered = 2;
  const QImage image = painted(state);
  for (int i = 0; i < 8; ++i) {
    for (const double distance : {55.0, 104.0}) {
      EXPECT_EQ(isOrange(image.pixel(at(i * 45, distance))), i == 2)
          << "wedge " << i << " at " << distance;
    }
  }
  // Around each caption anchor, orange only in the hovered wedge.
  const WheelGeometry g(8);
  for (int i = 0; i < 8; ++i) {
    const WheelPoint anchor = g.captionAnchor(i);
    int orange = 0;
    for (int dy = -4; dy <= 4; ++dy)
      for (int dx = -4; dx <= 4; ++dx)
        orange += isOrange(image.pixel(QPointF(anchor.x + dx, 266 - anchor.y + dy).toPoint()));
    EXPECT_EQ(orange > 0, i == 2) << "wedge " << i;
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
  // Everything else, the centre caption included, is drawn the same.
  int differing = 0;
  for (int y = 0; y < 266; ++y) {
    for (int x = 0; x < 266; ++x) {
      const bool inCaption = std::any_of(captions.begin(), captions.end(),
                                         [&](const QRect& r) { return r.contains(x, y); });
      if (!inCaption && shown.pixel(x, y) != hidden.pixel(x, y)) ++differing;
    }
  }
  EXPECT_EQ(differing, 0);
  int centreInk = 0;
  for (int y = 116; y < 150; ++y)
    for (int x = 99; x < 167; ++x) centreInk += isInk(hidden.pixel(x, y));
  EXPECT_GT(centreInk, 20);
}

// A symbol that cannot be drawn leaves the wedge as if it had none.
TEST(WheelPainter, AnUnknownSymbolDrawsTheWedgeWithoutOne) {
  WheelState plain;
  plain.actions = {{"CROP", std::nullopt, "crop"}, {"EDIT", std::nullopt, "edit"}};
  WheelState unknown = plain;
  unknown.actions[0].symbol = "no-such-icon";
  EXPECT_EQ(painted(unknown), painted(plain));
  unknown.actions[0].symbol = "crop";
  EXPECT_NE(painted(unknown), painted(plain));
}

// A caption shrinks in half-point steps while it is wider than 58 and larger
// than 6 points, and stops at the first size that fits.
TEST(WheelPainter, CentreCaptionShrinksToFitAndStopsAtSixPoints) {
  QImage device(1, 1, QImage::Format_ARGB32_Premultiplied);
  const struct {
    const char* text;
    std::optional<int> hoveredTool;  // hovered wedge of the tools wheel
    bool hoveredFormat;
    double start;
    bool shrinks;
  } cases[] = {
      {"CONVERT", std::nullopt, false, 11, false},
      {"2.4 MB", std::nullopt, false, 11, false},
      {"12345 files", std::nullopt, false, 11, true},
      {"12345678901234567890 files", std::nullopt, false, 11, true},
      {"ANNOTATE", 3, false, 8, false},
      {"DOCX", std::nullopt, true, 10, false},
      {"A VERY LONG FORMAT", std::nullopt, true, 10, true},
  };
  for (const auto& c : cases) {
    WheelState state;
    if (c.hoveredTool) {
      state.actions = WheelAction::tools();
      state.hovered = c.hoveredTool;
    } else if (c.hoveredFormat) {
      state.actions = WheelAction::formats(std::nullopt);
      state.hovered = 0;
    }
    const bool bold = c.hoveredTool || c.hoveredFormat;
    const auto caption = WheelPainter::fitCenterCaption(c.text, state, &device);
    const double steps = (c.start - caption.size) / 0.5;
    EXPECT_EQ(steps, std::round(steps)) << c.text;
    EXPECT_EQ(caption.size < c.start, c.shrinks) << c.text << " at " << caption.size;
    EXPECT_GE(caption.size, 6) << c.text;
    EXPECT_EQ(caption.font.weight(), bold ? QFont::Bold : QFont::DemiBold) << c.text;
    if (caption.size > 6) {
      EXPECT_LE(caption.measured.width(), 58) << c.text;
    }
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
