#include "editors/rendering/background_renderer.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QColorSpace>
#include <QPainter>
#include <cmath>
#include <limits>
#include <optional>

namespace Whirlpane {
namespace {

using WPBackgroundRenderer::render;

QImage filled(int w, int h, QColor color) {
  QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
  image.fill(color);
  return image;
}

WPBackgroundStyle flat(std::uint32_t hex) { return {"Flat", {rgb(hex)}, false, {}}; }

const WPBackgroundStyle& named(const char* name) {
  for (const auto* list : {&WPBackgroundStyle::gradients(), &WPBackgroundStyle::solids()})
    for (const WPBackgroundStyle& style : *list)
      if (style.name == QLatin1String(name)) return style;
  throw std::runtime_error(name);
}

// Channel distance between a pixel and a colour, alpha included.
int distance(const QImage& image, int x, int y, QColor expected) {
  const QRgb p = image.pixel(x, y);
  return std::max({std::abs(qRed(p) - expected.red()), std::abs(qGreen(p) - expected.green()),
                   std::abs(qBlue(p) - expected.blue()), std::abs(qAlpha(p) - expected.alpha())});
}

long peakRssKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

TEST(WPBackgroundRenderer, PlacesThePictureOnTheGrownCanvas) {
  const struct {
    std::optional<double> maxDimension;
    int side;
    QRect picture;  // y down
  } cases[] = {
      {std::nullopt, 1200, {100, 350, 1000, 500}},
      {600, 600, {50, 175, 500, 250}},
      {5000, 1200, {100, 350, 1000, 500}},  // never enlarged
  };
  const QColor red(255, 0, 0), blue(0, 0, 255);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.side);
    const auto out = render(filled(1000, 500, red), flat(0x0000FF), std::nullopt, 100, 0, 0, 1.0,
                            c.maxDimension);
    ASSERT_TRUE(out);
    ASSERT_EQ(out->size(), QSize(c.side, c.side));
    const QRect p = c.picture;
    for (const QPoint& inside : {p.topLeft(), p.topRight(), p.bottomLeft(), p.bottomRight()})
      EXPECT_LE(distance(*out, inside.x(), inside.y(), red), 1) << inside.x() << "," << inside.y();
    for (const QPoint& outside : {p.topLeft() - QPoint(1, 0), p.topLeft() - QPoint(0, 1),
                                  p.bottomRight() + QPoint(1, 0), p.bottomRight() + QPoint(0, 1)})
      EXPECT_LE(distance(*out, outside.x(), outside.y(), blue), 1)
          << outside.x() << "," << outside.y();
  }
}

TEST(WPBackgroundRenderer, TransparentPartsShowOnlyTheBackdrop) {
  const struct {
    const char* style;
    double shadow;
  } cases[] = {{"Dusk", 0}, {"Dusk", 24}, {"Sunset", 60}, {"Daybreak", 160}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.style);
    const auto out = render(filled(300, 200, Qt::transparent), named(c.style), std::nullopt, 50, 24,
                            c.shadow, std::nullopt, std::nullopt);
    ASSERT_TRUE(out);
    QImage backdrop = filled(400, 300, Qt::transparent);
    backdrop.setColorSpace(out->colorSpace());
    QPainter painter(&backdrop);
    painter.setRenderHint(QPainter::Antialiasing);
    WPBackgroundRenderer::drawBackdrop(named(c.style), painter, QRectF(0, 0, 400, 300));
    painter.end();
    EXPECT_TRUE(out->convertToFormat(backdrop.format()) == backdrop);
  }
}

TEST(WPBackgroundRenderer, ShadowFollowsThePicturesVisibleShapeNotItsFrame) {
  // A transparent picture with one opaque square in its middle.
  QImage picture = filled(400, 400, Qt::transparent);
  QPainter(&picture).fillRect(150, 150, 100, 100, Qt::white);
  const QColor backdrop(0xEF, 0xEE, 0xEC);
  const auto out =
      render(picture, named("White"), std::nullopt, 100, 0, 40, std::nullopt, std::nullopt);
  ASSERT_TRUE(out);
  EXPECT_EQ(distance(*out, 300, 499, backdrop), 0);            // under the frame's bottom edge
  EXPECT_EQ(distance(*out, 120, 300, backdrop), 0);            // beside the frame's left edge
  EXPECT_LT(qRed(out->pixel(300, 365)), backdrop.red() - 20);  // under the square
  EXPECT_EQ(distance(*out, 300, 300, Qt::white), 0);
}

TEST(WPBackgroundRenderer, CornerRadiusIsLimitedToHalfTheShorterSide) {
  const struct {
    double corner;
    QPoint point;  // from the picture's top-left corner
    bool inPicture;
  } cases[] = {
      {1000, {16, 16}, true}, {1000, {3, 3}, false}, {1000, {100, 1}, true},
      {10, {1, 1}, false},    {10, {6, 6}, true},    {0, {0, 0}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.corner);
    const auto out = render(filled(200, 100, Qt::white), named("Black"), std::nullopt, 20, c.corner,
                            0, std::nullopt, std::nullopt);
    ASSERT_TRUE(out);
    const QColor expected = c.inPicture ? QColor(Qt::white) : QColor(0x11, 0x11, 0x11);
    EXPECT_LE(distance(*out, 20 + c.point.x(), 20 + c.point.y(), expected), 2)
        << c.point.x() << "," << c.point.y();
  }
}

TEST(WPBackgroundRenderer, StylesPaintTheirBaseAndGlows) {
  QImage sunset = filled(400, 400, Qt::transparent);
  QPainter painter(&sunset);
  WPBackgroundRenderer::drawBackdrop(named("Sunset"), painter, QRectF(0, 0, 400, 400));
  painter.end();
  EXPECT_LE(distance(sunset, 0, 0, QColor(0xFF, 0x71, 0x8D)), 3);  // the first colour, no glow
  const QRgb topRight = sunset.pixel(399, 0);                      // the yellow glow
  EXPECT_GT(qGreen(topRight), 195);
  EXPECT_LT(qBlue(topRight), 70);
  const QRgb bottomRight = sunset.pixel(399, 399);  // the violet glow
  EXPECT_GT(qBlue(bottomRight), 200);
  EXPECT_LT(qRed(bottomRight), 130);
}

TEST(WPBackgroundRenderer, PhotographFillsTheCanvasCroppedEquallyOnBothSides) {
  // 400 × 100, drawn at twice its size on a 200 × 200 canvas: only its middle
  // 100 columns (green) can show; the yellow bands mark a crop off centre.
  QImage photo = filled(400, 100, Qt::red);
  QPainter painter(&photo);
  painter.fillRect(140, 0, 120, 100, Qt::yellow);
  painter.fillRect(150, 0, 100, 100, Qt::green);
  painter.fillRect(260, 0, 140, 100, Qt::blue);
  painter.end();
  const auto out = render(filled(100, 100, Qt::transparent), named("Sunset"), photo, 50, 0, 0,
                          std::nullopt, std::nullopt);
  ASSERT_TRUE(out);
  for (int x = 0; x < 200; x += 1) {
    const QRgb p = out->pixel(x, x % 200);
    ASSERT_TRUE(qRed(p) < 100 && qGreen(p) > 200 && qBlue(p) < 60) << x;
  }
}

TEST(WPBackgroundRenderer, OversizedRequestsAreRefusedBeforeAllocating) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    QSize picture;
    double padding;
    std::optional<double> ratio;
    std::optional<double> maxDimension;
    std::optional<QSize> expected;
  } cases[] = {
      {{32768, 1}, 0, std::nullopt, std::nullopt, QSize(32768, 1)},
      {{32769, 1}, 0, std::nullopt, std::nullopt, std::nullopt},
      {{1, 1}, 6324.5, std::nullopt, std::nullopt, std::nullopt},  // 12650², area
      {{1, 1}, 1e300, std::nullopt, std::nullopt, std::nullopt},
      {{1, 1}, 20000, std::nullopt, 1000, QSize(1000, 1000)},  // the output counts
      {{4, 2}, 0, 1e-9, std::nullopt, std::nullopt},
      {{4, 2}, nan, std::nullopt, std::nullopt, std::nullopt},
      {{4, 2}, 0, 0, std::nullopt, std::nullopt},
      {{4, 2}, 0, -1, std::nullopt, std::nullopt},
  };
  const long before = peakRssKiB();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.padding);
    const auto out =
        render(filled(c.picture.width(), c.picture.height(), Qt::white), named("Sunset"),
               std::nullopt, c.padding, 24, 24, c.ratio, c.maxDimension);
    ASSERT_EQ(out.has_value(), c.expected.has_value());
    if (out) {
      EXPECT_EQ(out->size(), *c.expected);
    }
  }
  // A refused 640 MB canvas was never made and filled.
  EXPECT_LT(peakRssKiB() - before, 100 * 1024);
}

TEST(WPBackgroundRenderer, AReducedPictureRendersLikeTheFullOne) {
  QImage picture = filled(3000, 2000, Qt::white);
  QPainter(&picture).fillRect(0, 0, 1500, 2000, QColor(0x20, 0x60, 0xA0));
  const WPReducedPicture reduced = WPBackgroundRenderer::reducePicture(picture, 820);
  EXPECT_EQ(reduced.image.width(), 820);
  EXPECT_EQ(reduced.size, picture.size());
  const auto direct = render(picture, named("Lagoon"), std::nullopt, 160, 24, 24, 1.0, 820);
  const auto fromReduced = render(reduced, named("Lagoon"), std::nullopt, 160, 24, 24, 1.0, 820);
  ASSERT_TRUE(direct && fromReduced);
  ASSERT_EQ(direct->size(), QSize(820, 820));
  ASSERT_EQ(fromReduced->size(), direct->size());
  for (int y = 0; y < 820; y += 7)
    for (int x = 0; x < 820; x += 7)
      ASSERT_LE(distance(*fromReduced, x, y, direct->pixelColor(x, y)), 8) << x << "," << y;
}

}  // namespace
}  // namespace Whirlpane
