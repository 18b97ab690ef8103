// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/edit/adjustment.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <thread>
#include <vector>

namespace Whirlpane {
namespace {

constexpr double luminance[3] = {0.2126, 0.7152, 0.0722};

// The matrix in fixed point, 12 fractional bits, for the integer pass.
struct FixedMatrix {
  int m[3][4];
};

FixedMatrix fixedMatrix(const Adjustment& adjustment) {
  const auto matrix = colorMatrix(adjustment);
  FixedMatrix fixed{};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 4; ++j) fixed.m[i][j] = static_cast<int>(std::lround(matrix[i][j] * 4096));
  }
  return fixed;
}

inline int channel(const int (&row)[4], int r, int g, int b, int a) {
  // The added column is on the 0 … 1 scale: times alpha it stays inside the
  // premultiplied pixel.
  const int value = (row[0] * r + row[1] * g + row[2] * b + row[3] * a + 2048) >> 12;
  return std::clamp(value, 0, a);
}

// Where a result pixel (X, Y) comes from in the source: source = origin + X·u
// + Y·v, in whole pixels.
struct Mapping {
  long ox, oy, ux, uy, vx, vy;
};

Mapping mapping(int width, int height, const Adjustment& adjustment) {
  Mapping map = adjustment.flipped ? Mapping{width - 1, 0, -1, 0, 0, 1} : Mapping{0, 0, 1, 0, 0, 1};
  const int turns = ((adjustment.quarterTurns % 4) + 4) % 4;
  long w = width, h = height;
  for (int turn = 0; turn < turns; ++turn) {
    // A clockwise turn of a w × h picture puts its pixel (x, y) at (h − 1 − y, x),
    // so the turned picture's (X, Y) is the previous one's (Y, h − 1 − X).
    map = Mapping{
        map.ox + (h - 1) * map.vx, map.oy + (h - 1) * map.vy, -map.vx, -map.vy, map.ux, map.uy};
    std::swap(w, h);
  }
  return map;
}

}  // namespace

std::array<std::array<double, 4>, 3> colorMatrix(const Adjustment& adjustment) {
  const double s = adjustment.saturation, k = adjustment.contrast;
  std::array<std::array<double, 4>, 3> matrix{};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) matrix[i][j] = k * ((1 - s) * luminance[j] + (i == j ? s : 0));
    matrix[i][3] = 0.5 * (1 - k) + adjustment.brightness;
  }
  return matrix;
}

QImage previewSource(const QImage& image) {
  const QImage source = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  if (std::max(source.width(), source.height()) <= previewSide) return source;
  return source.scaled(previewSide, previewSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QImage adjusted(const QImage& image, const Adjustment& adjustment) {
  if (image.isNull()) return {};
  const QImage source = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  const int width = source.width(), height = source.height();
  const bool across = ((adjustment.quarterTurns % 4) + 4) % 2 == 1;
  QImage result(across ? height : width, across ? width : height,
                QImage::Format_ARGB32_Premultiplied);
  if (result.isNull()) return {};

  const FixedMatrix fixed = fixedMatrix(adjustment);
  const Mapping map = mapping(width, height, adjustment);
  const long stride = source.bytesPerLine() / 4;
  const long stepX = map.uy * stride + map.ux;
  const long stepY = map.vy * stride + map.vx;
  const long origin = map.oy * stride + map.ox;
  const auto* from = reinterpret_cast<const std::uint32_t*>(source.constBits());
  const int outWidth = result.width(), outHeight = result.height();

  // Square tiles keep a turned picture's reads, which run down the source's
  // columns, inside the cache.
  constexpr int tile = 64;
  const auto rows = [&](int firstRow, int endRow) {
    for (int top = firstRow; top < endRow; top += tile) {
      const int bottom = std::min(top + tile, endRow);
      for (int left = 0; left < outWidth; left += tile) {
        const int right = std::min(left + tile, outWidth);
        for (int y = top; y < bottom; ++y) {
          auto* out = reinterpret_cast<std::uint32_t*>(result.scanLine(y));
          long at = origin + y * stepY + left * stepX;
          for (int x = left; x < right; ++x, at += stepX) {
            const std::uint32_t p = from[at];
            const int a = static_cast<int>(p >> 24), r = (p >> 16) & 255, g = (p >> 8) & 255,
                      b = p & 255;
            out[x] = static_cast<std::uint32_t>(a) << 24 |
                     static_cast<std::uint32_t>(channel(fixed.m[0], r, g, b, a)) << 16 |
                     static_cast<std::uint32_t>(channel(fixed.m[1], r, g, b, a)) << 8 |
                     static_cast<std::uint32_t>(channel(fixed.m[2], r, g, b, a));
          }
        }
      }
    }
  };

  // scanLine() on a shared image would detach it; the result is ours alone,
  // and touching it once here keeps the workers from racing to do so.
  result.bits();
  const int parts = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 8);
  const int band = (outHeight + parts - 1) / parts;
  {
    std::vector<std::jthread> workers;
    for (int part = 1; part < parts; ++part) {
      const int first = std::min(part * band, outHeight), end = std::min(first + band, outHeight);
      if (first < end) workers.emplace_back(rows, first, end);
    }
    rows(0, std::min(band, outHeight));
  }  // the workers are joined here
  return result;
}

}  // namespace Whirlpane
