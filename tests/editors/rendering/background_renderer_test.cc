// SPDX-License-Identifier: GPL-3.0-or-later
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

using BackgroundRenderer::render;

QImage filled(int w, int h, QColor color) {
  QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
  image.fill(color);
  return image;
}

const BackgroundStyle& named(const std::string& name) {
  for (const auto* list : {&BackgroundStyle::gradients(), &BackgroundStyle::solids()})
    for (const BackgroundStyle& style : *list)
      if (style.name.toStdString() == name) return style;
  throw std::runtime_error(name);
}

// Channel distance between a pixel and a colour, alpha included.
int distance(const QImage& image, int x, int y, QColor expected) {
  const QRgb p = image.pixel(x, y);
  return std::max({std::abs(qRed(p) - expected.red()), std::abs(qGreen(p) - expected.green()),
                   std::abs(qBlue(p) - expected.blue()), std::abs(qAlpha(p) - expected.alpha())});
}

TEST(BackgroundRenderer, PlacesClipsAndShadowsThePictureOnItsBackdrop) {
  const QColor red(Qt::red), white(Qt::white), green(Qt::green), black(0x11, 0x11, 0x11);
  const QColor paper(0xEF, 0xEE, 0xEC);               // the White style
  QImage square = filled(400, 400, Qt::transparent);  // opaque only in its middle
  QPainter(&square).fillRect(150, 150, 100, 100, Qt::white);
  // Drawn at twice its size on a 200 × 200 canvas, only the green middle
  // shows when the overflow is cropped equally on both sides.
  QImage photo = filled(400, 100, Qt::red);
  QPainter(&photo).fillRect(150, 0, 100, 100, Qt::green);
  struct Probe {
    int x, y;
    QColor color;
    bool differs = false;  // true: more than 20 away from `color`
  };
  const struct {
    const char* name;
    QImage picture;
    const char* style;
    std::optional<QImage> photo;
    double padding, corner, shadow;
    std::optional<double> ratio, maxDimension;
    QSize canvas;
    std::vector<Probe> probes;  // each within 2 of its colour unless it differs
  } rows[] = {
      // clang-format off
      {"squared", filled(1000, 500, red), "Black", {}, 100, 0, 0, 1.0, {}, {1200, 1200},
       {{100, 350, red}, {99, 350, black}, {100, 349, black}, {1099, 849, red}, {1100, 849, black}}},
      {"reduced", filled(1000, 500, red), "Black", {}, 100, 0, 0, 1.0, 600, {600, 600},
       {{50, 175, red}, {49, 175, black}, {549, 424, red}, {549, 425, black}}},
      {"never enlarged", filled(1000, 500, red), "Black", {}, 100, 0, 0, 1.0, 5000, {1200, 1200},
       {{100, 350, red}}},
      {"corner at most half the shorter side", filled(200, 100, white), "Black", {}, 20, 1000, 0,
       {}, {}, {240, 140}, {{36, 36, white}, {23, 23, black}, {120, 21, white}}},
      {"corner 10", filled(200, 100, white), "Black", {}, 20, 10, 0, {}, {}, {240, 140},
       {{21, 21, black}, {26, 26, white}, {20, 60, white}}},
      {"shadow of the visible shape", square, "White", {}, 100, 0, 40, {}, {}, {600, 600},
       {{300, 499, paper}, {120, 300, paper}, {300, 300, white}, {300, 365, paper, true}}},
      {"photograph cropped equally", filled(100, 100, Qt::transparent), "Sunset", photo, 50, 0, 0,
       {}, {}, {200, 200}, {{0, 0, green}, {100, 100, green}, {199, 199, green}}},
      // clang-format on
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const auto out = render(row.picture, named(row.style), row.photo, row.padding, row.corner,
                            row.shadow, row.ratio, row.maxDimension);
    ASSERT_TRUE(out);
    ASSERT_EQ(out->size(), row.canvas);
    for (const Probe& p : row.probes) {
      const int d = distance(*out, p.x, p.y, p.color);
      EXPECT_TRUE(p.differs ? d > 20 : d <= 2) << p.x << "," << p.y << ": " << d;
    }
  }
}

TEST(BackgroundRenderer, TransparentPartsShowOnlyTheBackdrop) {
  const auto out = render(filled(300, 200, Qt::transparent), named("Dusk"), std::nullopt, 50, 24,
                          60, std::nullopt, std::nullopt);
  ASSERT_TRUE(out);
  QImage backdrop = filled(400, 300, Qt::transparent);
  backdrop.setColorSpace(out->colorSpace());
  QPainter painter(&backdrop);
  painter.setRenderHint(QPainter::Antialiasing);
  BackgroundRenderer::drawBackdrop(named("Dusk"), painter, QRectF(0, 0, 400, 300));
  painter.end();
  EXPECT_TRUE(out->convertToFormat(backdrop.format()) == backdrop);
}

TEST(BackgroundRenderer, OversizedRequestsAreRefusedBeforeAllocating) {
  const struct {
    QSize picture;
    double padding;
    std::optional<double> ratio, maxDimension;
    std::optional<QSize> expected;
  } cases[] = {
      {{32768, 1}, 0, {}, {}, QSize(32768, 1)},
      {{32769, 1}, 0, {}, {}, {}},
      {{1, 1}, 6324.5, {}, {}, {}},  // 12650², too large an area
      {{1, 1}, 1e300, {}, {}, {}},
      {{1, 1}, 20000, {}, 1000, QSize(1000, 1000)},  // the output counts
      {{4, 2}, std::numeric_limits<double>::quiet_NaN(), {}, {}, {}},
      {{4, 2}, 0, 0, {}, {}},
  };
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const long before = usage.ru_maxrss;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.padding);
    const auto out =
        render(filled(c.picture.width(), c.picture.height(), Qt::white), named("Sunset"),
               std::nullopt, c.padding, 24, 24, c.ratio, c.maxDimension);
    EXPECT_EQ(out ? std::optional(out->size()) : std::nullopt, c.expected);
  }
  // The refused 640 MB canvas was never made and filled.
  getrusage(RUSAGE_SELF, &usage);
  EXPECT_LT(usage.ru_maxrss - before, 100 * 1024);
}

TEST(BackgroundRenderer, AReducedPictureRendersLikeTheFullOne) {
  QImage picture = filled(3000, 2000, Qt::white);
  QPainter(&picture).fillRect(0, 0, 1500, 2000, QColor(0x20, 0x60, 0xA0));
  const ReducedPicture reduced = BackgroundRenderer::reducePicture(picture, 820);
  EXPECT_EQ(reduced.image.width(), 820);
  const auto direct = render(picture, named("Lagoon"), std::nullopt, 160, 24, 24, 1.0, 820);
  const auto fromReduced = render(reduced, named("Lagoon"), std::nullopt, 160, 24, 24, 1.0, 820);
  ASSERT_TRUE(direct && fromReduced);
  ASSERT_EQ(fromReduced->size(), QSize(820, 820));
  for (int y = 0; y < 820; y += 7)
    for (int x = 0; x < 820; x += 7)
      ASSERT_LE(distance(*fromReduced, x, y, direct->pixelColor(x, y)), 8) << x << "," << y;
}

}  // namespace
}  // namespace Whirlpane
