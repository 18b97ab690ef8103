// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/rendering/background_renderer.h"

#include <QColorSpace>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRegion>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <thread>

#include "editors/rendering/alpha_blur.h"

namespace Whirlpane::BackgroundRenderer {
namespace {

// Shadow colour and geometry, in the picture's pixels.
constexpr double shadowAlpha = 0.34;
constexpr double shadowDrop = 0.35;  // of the shadow size, downward
// A blur radius is about twice the Gaussian's standard deviation.
constexpr double sigmaPerBlur = 0.5;

// A radial gradient from `color` at `center` to the same colour at alpha 0 at
// `radius`, painted only inside `bounds` and where it is not yet transparent.
void fillGlow(QPainter& context, const QRectF& bounds, const QPointF& center, double radius,
              const QColor& color) {
  if (!(radius > 0)) return;
  QColor clear = color;
  clear.setAlphaF(0);
  QRadialGradient glow(center, radius);
  glow.setColorAt(0, color);
  glow.setColorAt(1, clear);
  const QRectF reach(center.x() - radius, center.y() - radius, 2 * radius, 2 * radius);
  context.fillRect(bounds.intersected(reach), glow);
}

// Whether every pixel of `image` is opaque, so that nothing behind its
// interior can show.
bool isOpaque(const QImage& image) {
  if (!image.hasAlphaChannel()) return true;
  if (image.format() != QImage::Format_ARGB32 &&
      image.format() != QImage::Format_ARGB32_Premultiplied)
    return false;
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if ((line[x] >> 24) != 0xFF) return false;
    }
  }
  return true;
}

// `image` reduced to `size` with area averaging when drawing it there would
// throw away more than a quarter of its pixels in either direction (where
// bilinear sampling would alias); otherwise `image` itself.
QImage fitted(const QImage& image, const QSizeF& size) {
  const QSize target(std::max(1, static_cast<int>(std::lround(size.width()))),
                     std::max(1, static_cast<int>(std::lround(size.height()))));
  if (image.width() <= target.width() * 1.25 && image.height() <= target.height() * 1.25)
    return image;
  return image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// Integer device rectangles strictly inside the rounded frame `frame` with
// corner radius `corner`: where an opaque picture hides everything beneath.
QRegion coveredBy(const QRectF& frame, double corner) {
  auto inside = [](const QRectF& r) {
    const int left = static_cast<int>(std::ceil(r.left()));
    const int top = static_cast<int>(std::ceil(r.top()));
    const int right = static_cast<int>(std::floor(r.right()));
    const int bottom = static_cast<int>(std::floor(r.bottom()));
    return right > left && bottom > top ? QRegion(left, top, right - left, bottom - top)
                                        : QRegion();
  };
  constexpr double edge = 2;  // beyond the antialiased rim
  return inside(frame.adjusted(edge, corner + edge, -edge, -corner - edge)) |
         inside(frame.adjusted(corner + edge, edge, -corner - edge, -edge));
}

// Paints black at `shadowAlpha` times the bilinearly sampled `mask` over
// `canvas`, source over. `mask` pixel (i, j) stands for the device square of
// side `factor` at `origin` + (i, j)·factor. Pixels in `hidden` are skipped.
void castShadow(QImage& canvas, const QImage& mask, QPointF origin, int factor,
                const QRegion& hidden) {
  const int top = std::max(0, static_cast<int>(std::floor(origin.y())));
  const int bottom =
      std::min(canvas.height(), static_cast<int>(std::ceil(origin.y() + mask.height() * factor)));
  const int left = std::max(0, static_cast<int>(std::floor(origin.x())));
  const int right =
      std::min(canvas.width(), static_cast<int>(std::ceil(origin.x() + mask.width() * factor)));
  if (top >= bottom || left >= right) return;
  auto* bits = canvas.bits();
  const qsizetype stride = canvas.bytesPerLine();
  const std::uint8_t* maskBits = mask.constBits();
  const qsizetype maskStride = mask.bytesPerLine();
  const int mw = mask.width();
  const int mh = mask.height();
  const double scale = shadowAlpha / 255.0;
  auto sample = [&](int i, int j) -> double {
    if (i < 0 || j < 0 || i >= mw || j >= mh) return 0;
    return maskBits[j * maskStride + i];
  };
  auto rows = [&](int begin, int end) {
    for (int y = begin; y < end; ++y) {
      const double v = (y + 0.5 - origin.y()) / factor - 0.5;
      const int j = static_cast<int>(std::floor(v));
      const double fy = v - j;
      // Where the picture will hide this row, only its two ends need a shadow.
      int skipFrom = right;
      int skipTo = right;
      for (const QRect& r : hidden) {
        const int from = std::max(left, r.left());
        const int to = std::min(right, r.right() + 1);
        if (y >= r.top() && y <= r.bottom() && to - from > skipTo - skipFrom) {
          skipFrom = from;
          skipTo = to;
        }
      }
      auto* line = reinterpret_cast<std::uint32_t*>(bits + y * stride);
      for (int x = left; x < right; ++x) {
        if (x == skipFrom) {
          x = skipTo - 1;
          continue;
        }
        const double u = (x + 0.5 - origin.x()) / factor - 0.5;
        const int i = static_cast<int>(std::floor(u));
        const double fx = u - i;
        const double m = (sample(i, j) * (1 - fx) + sample(i + 1, j) * fx) * (1 - fy) +
                         (sample(i, j + 1) * (1 - fx) + sample(i + 1, j + 1) * fx) * fy;
        const double a = m * scale;
        if (a <= 0) continue;
        const std::uint32_t p = line[x];
        const double keep = 1 - a;
        const auto channel = [&](int shift) {
          return static_cast<std::uint32_t>(((p >> shift) & 0xFF) * keep + 0.5) << shift;
        };
        const auto alpha = static_cast<std::uint32_t>(a * 255 + ((p >> 24) & 0xFF) * keep + 0.5);
        line[x] =
            (std::min<std::uint32_t>(alpha, 255) << 24) | channel(16) | channel(8) | channel(0);
      }
    }
  };
  const std::int64_t cost = std::int64_t{bottom - top} * (right - left);
  if (cost < 1'000'000 || std::thread::hardware_concurrency() < 2) {
    rows(top, bottom);
  } else {
    const int middle = top + (bottom - top) / 2;
    std::thread other(rows, middle, bottom);
    rows(top, middle);
    other.join();
  }
}

std::optional<QImage> renderPicture(const QImage& pixels, QSizeF pictureSize,
                                    const BackgroundStyle& style,
                                    const std::optional<QImage>& backgroundImage, double padding,
                                    double corner, double shadow, std::optional<double> ratio,
                                    std::optional<double> maxDimension) {
  const double w0 = pictureSize.width();
  const double h0 = pictureSize.height();
  auto finite = [](double v) { return std::isfinite(v); };
  if (pixels.isNull() || !(w0 >= 1) || !(h0 >= 1) || !finite(w0) || !finite(h0) ||
      !finite(padding) || !finite(corner) || !finite(shadow))
    return std::nullopt;
  if (ratio && !(finite(*ratio) && *ratio > 0)) return std::nullopt;
  if (maxDimension && !(*maxDimension > 0)) return std::nullopt;
  padding = std::max(padding, 0.0);
  corner = std::max(corner, 0.0);
  shadow = std::max(shadow, 0.0);

  const QSizeF canvasPixels = canvasSize(pictureSize, padding, ratio);
  const double width = canvasPixels.width();
  const double height = canvasPixels.height();
  const double longer = std::max(width, height);
  const double s = std::min(maxDimension.value_or(longer) / longer, 1.0);
  const double pw = std::max(std::round(width * s), 1.0);
  const double ph = std::max(std::round(height * s), 1.0);
  // Checked in floating point before anything is allocated or converted.
  if (!(pw <= maxSide) || !(ph <= maxSide) || !(pw * ph <= maxArea)) return std::nullopt;

  QImage canvas(static_cast<int>(pw), static_cast<int>(ph), QImage::Format_ARGB32_Premultiplied);
  if (canvas.isNull()) return std::nullopt;
  canvas.setColorSpace(QColorSpace::SRgb);
  canvas.fill(Qt::transparent);

  // Device scale: s, stretched by under a pixel so that the backdrop reaches
  // the last row and column of the rounded output size.
  const double sx = pw / width;
  const double sy = ph / height;
  const QRectF frame((width - w0) / 2 * sx, (height - h0) / 2 * sy, w0 * sx, h0 * sy);
  const double radius = std::min(corner, std::min(w0, h0) / 2);
  const double deviceRadius = radius * std::min(sx, sy);
  QPainterPath outline;
  outline.addRoundedRect(frame, radius * sx, radius * sy);

  QImage picture = pixels;
  if (picture.colorSpace().isValid() && picture.colorSpace() != QColorSpace::SRgb)
    picture.convertToColorSpace(QColorSpace::SRgb);
  picture = fitted(picture, frame.size());
  const QRegion hidden = isOpaque(picture) ? coveredBy(frame, deviceRadius) : QRegion();

  QPainter painter(&canvas);
  painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
  // Nothing is painted where the opaque picture will cover it.
  if (!hidden.isEmpty()) painter.setClipRegion(QRegion(canvas.rect()) - hidden);

  const QImage* photo = backgroundImage && !backgroundImage->isNull() ? &*backgroundImage : nullptr;
  if (photo) {
    const double k = std::max(width / photo->width(), height / photo->height());
    const QRectF target((width - k * photo->width()) / 2 * sx,
                        (height - k * photo->height()) / 2 * sy, k * photo->width() * sx,
                        k * photo->height() * sy);
    // Only the part of the photograph that lands on the canvas.
    const QRectF shown = target.intersected(QRectF(canvas.rect()));
    const QRectF source((shown.left() - target.left()) / (k * sx),
                        (shown.top() - target.top()) / (k * sy), shown.width() / (k * sx),
                        shown.height() / (k * sy));
    const QRect whole = source.toAlignedRect().intersected(photo->rect());
    const QImage part =
        fitted(photo->copy(whole), QSizeF(whole.width() * k * sx, whole.height() * k * sy));
    const QRectF wholeTarget(target.left() + whole.left() * k * sx,
                             target.top() + whole.top() * k * sy, whole.width() * k * sx,
                             whole.height() * k * sy);
    painter.drawImage(wholeTarget, part);
  } else {
    painter.save();
    painter.scale(sx, sy);
    drawBackdrop(style, painter, QRectF(0, 0, width, height));
    painter.restore();
  }

  // The shadow: the clipped picture's own alpha, blurred, dropped and tinted.
  // The mask is made at a lower resolution when the blur is wide enough to
  // hide it, which keeps a full-size shadow cheap.
  const double sigma = shadow * sigmaPerBlur * std::min(sx, sy);
  if (shadow > 0 && sigma > 0) {
    const int factor = std::max(1, static_cast<int>(sigma / 2));
    const double maskSigma = sigma / factor;
    const int margin = blurReach(maskSigma) + 2;
    const QPointF origin(std::floor(frame.left()) - margin * factor,
                         std::floor(frame.top()) - margin * factor);
    QImage mask(static_cast<int>(std::ceil(frame.width() / factor)) + 2 * margin + 2,
                static_cast<int>(std::ceil(frame.height() / factor)) + 2 * margin + 2,
                QImage::Format_Alpha8);
    if (mask.isNull()) return std::nullopt;
    mask.fill(0);
    {
      QPainter maskPainter(&mask);
      maskPainter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
      maskPainter.scale(1.0 / factor, 1.0 / factor);
      maskPainter.translate(-origin);
      if (hidden.isEmpty()) {
        QBrush brush(picture);
        brush.setTransform(
            QTransform::fromTranslate(frame.left(), frame.top())
                .scale(frame.width() / picture.width(), frame.height() / picture.height()));
        maskPainter.fillPath(outline, brush);
      } else {
        maskPainter.fillPath(outline, Qt::black);  // an opaque picture's alpha is its frame
      }
    }
    blurAlpha(mask, maskSigma);
    painter.end();
    castShadow(canvas, mask, origin + QPointF(0, shadow * shadowDrop * sy), factor, hidden);
    painter.begin(&canvas);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
  }

  // The picture itself, clipped to its rounded frame with antialiased edges.
  painter.setClipping(false);
  QBrush brush(picture);
  brush.setTransform(
      QTransform::fromTranslate(frame.left(), frame.top())
          .scale(frame.width() / picture.width(), frame.height() / picture.height()));
  painter.fillPath(outline, brush);
  painter.end();
  return canvas;
}

}  // namespace

QSizeF canvasSize(QSizeF picture, double padding, std::optional<double> ratio) {
  padding = std::max(padding, 0.0);
  double width = picture.width() + 2 * padding;
  double height = picture.height() + 2 * padding;
  if (ratio) {
    if (width / height >= *ratio)
      height = width / *ratio;
    else
      width = height * *ratio;
  }
  return {width, height};
}

void drawBackdrop(const BackgroundStyle& style, QPainter& context, const QRectF& bounds) {
  if (!(bounds.width() > 0) || !(bounds.height() > 0)) return;
  const double w = bounds.width();
  const double h = bounds.height();
  // Fractions are measured from the bottom-left corner, y up.
  auto at = [&](double x, double y) {
    return QPointF(bounds.left() + x * w, bounds.bottom() - y * h);
  };

  if (style.colors.size() == 1) {
    context.fillRect(bounds, style.colors.front());
  } else if (style.colors.size() > 1) {
    QLinearGradient base = style.spectrum ? QLinearGradient(at(0, 1), at(1, 0))
                                          : QLinearGradient(at(0.5, 1), at(0.5, 0));
    base.setSpread(QGradient::PadSpread);
    const auto last = static_cast<double>(style.colors.size() - 1);
    for (size_t i = 0; i < style.colors.size(); ++i) base.setColorAt(i / last, style.colors[i]);
    context.fillRect(bounds, base);
  }

  const double shorter = std::min(w, h);
  for (const BackgroundStyle::Blob& blob : style.blobs)
    fillGlow(context, bounds, at(blob.x, blob.y), blob.radius * shorter, blob.color);

  if (style.spectrum) {
    fillGlow(context, bounds, at(0.93, 0.92), 0.9 * w, rgb(0xFFDC29));
    fillGlow(context, bounds, at(0.95, 0), 0.75 * w, rgb(0x6547E5));
  }
}

std::optional<QImage> render(const QImage& image, const BackgroundStyle& style,
                             const std::optional<QImage>& backgroundImage, double padding,
                             double corner, double shadow, std::optional<double> ratio,
                             std::optional<double> maxDimension) {
  return renderPicture(image, QSizeF(image.size()), style, backgroundImage, padding, corner, shadow,
                       ratio, maxDimension);
}

std::optional<QImage> render(const ReducedPicture& picture, const BackgroundStyle& style,
                             const std::optional<QImage>& backgroundImage, double padding,
                             double corner, double shadow, std::optional<double> ratio,
                             std::optional<double> maxDimension) {
  return renderPicture(picture.image, QSizeF(picture.size), style, backgroundImage, padding, corner,
                       shadow, ratio, maxDimension);
}

ReducedPicture reducePicture(const QImage& image, int maxDimension) {
  const int longer = std::max(image.width(), image.height());
  if (maxDimension < 1 || longer <= maxDimension) return {image, image.size()};
  return {image.scaled(QSize(maxDimension, maxDimension), Qt::KeepAspectRatio,
                       Qt::SmoothTransformation),
          image.size()};
}

QImage reduceBackdrop(const QImage& image, int maxDimension) {
  const int shorter = std::min(image.width(), image.height());
  if (maxDimension < 1 || shorter <= maxDimension) return image;
  const double k = static_cast<double>(maxDimension) / shorter;
  const QSize size(std::max(1, static_cast<int>(std::lround(image.width() * k))),
                   std::max(1, static_cast<int>(std::lround(image.height() * k))));
  return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace Whirlpane::BackgroundRenderer
