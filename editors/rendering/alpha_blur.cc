// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/rendering/alpha_blur.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

namespace Whirlpane {
namespace {

// Box radii whose three passes have the variance of a Gaussian of `sigma`
// (boxes of two neighbouring odd widths, as many of each as fits best).
std::array<int, 3> boxRadii(double sigma) {
  constexpr int passes = 3;
  const double ideal = std::sqrt(12 * sigma * sigma / passes + 1);
  int lower = static_cast<int>(std::floor(ideal));
  if (lower % 2 == 0) --lower;
  const int upper = lower + 2;
  const double lowerCount =
      (12 * sigma * sigma - passes * lower * lower - 4 * passes * lower - 3 * passes) /
      (-4.0 * lower - 4);
  const int m = static_cast<int>(std::lround(lowerCount));
  std::array<int, 3> radii{};
  for (int i = 0; i < passes; ++i) radii[i] = ((i < m ? lower : upper) - 1) / 2;
  return radii;
}

// Runs `work(begin, end)` over [0, count), in two halves on two threads when
// the job is big enough to pay for the second thread.
void split(int count, std::int64_t cost, const std::function<void(int, int)>& work) {
  if (cost < 1'000'000 || count < 2 || std::thread::hardware_concurrency() < 2) {
    work(0, count);
    return;
  }
  const int half = count / 2;
  std::thread other(work, half, count);
  work(0, half);
  other.join();
}

// Rows of an 8-bit plane, taken once so that threads never call into QImage
// (whose scanLine() counts detaches without a lock).
struct Plane {
  std::uint8_t* bits;
  qsizetype stride;
  int width;
  int height;
  std::uint8_t* line(int y) const { return bits + y * stride; }
};

Plane planeOf(QImage& image) {
  return {image.bits(), image.bytesPerLine(), image.width(), image.height()};
}

// The rounded mean of a window of 2r + 1 bytes from their sum, by a multiply
// and a shift instead of a division per pixel (exact for sums up to 255 per
// byte: the error of the reciprocal stays below half a step).
class Mean {
 public:
  explicit Mean(int r)
      : window_(2 * r + 1), reciprocal_(((std::uint64_t{1} << 32) + window_ - 1) / window_) {}
  std::uint8_t operator()(int sum) const {
    return static_cast<std::uint8_t>(
        ((static_cast<std::uint64_t>(sum) + window_ / 2) * reciprocal_) >> 32);
  }

 private:
  std::uint64_t window_;
  std::uint64_t reciprocal_;
};

// One horizontal box pass over rows [begin, end): each value becomes the
// rounded mean of the 2r + 1 values around it.
void boxRows(const Plane& mask, int r, int begin, int end) {
  const int w = mask.width;
  const Mean mean(r);
  std::vector<std::uint8_t> row(static_cast<size_t>(w));
  for (int y = begin; y < end; ++y) {
    std::uint8_t* line = mask.line(y);
    std::copy(line, line + w, row.begin());
    int sum = 0;
    for (int x = 0; x < std::min(r, w); ++x) sum += row[x];
    for (int x = 0; x < w; ++x) {
      if (x + r < w) sum += row[x + r];
      if (x - r - 1 >= 0) sum -= row[x - r - 1];
      line[x] = mean(sum);
    }
  }
}

// One vertical box pass over columns [begin, end), from `source` into `mask`.
void boxColumns(const Plane& source, const Plane& mask, int r, int begin, int end) {
  const int h = mask.height;
  const Mean mean(r);
  std::vector<int> sums(static_cast<size_t>(end - begin), 0);
  for (int y = 0; y < std::min(r, h); ++y) {
    const std::uint8_t* line = source.line(y);
    for (int x = begin; x < end; ++x) sums[x - begin] += line[x];
  }
  for (int y = 0; y < h; ++y) {
    if (y + r < h) {
      const std::uint8_t* in = source.line(y + r);
      for (int x = begin; x < end; ++x) sums[x - begin] += in[x];
    }
    if (y - r - 1 >= 0) {
      const std::uint8_t* out = source.line(y - r - 1);
      for (int x = begin; x < end; ++x) sums[x - begin] -= out[x];
    }
    std::uint8_t* line = mask.line(y);
    for (int x = begin; x < end; ++x) line[x] = mean(sums[x - begin]);
  }
}

}  // namespace

int blurReach(double sigma) {
  if (!(sigma >= 0.5)) return 0;
  const auto radii = boxRadii(sigma);
  return radii[0] + radii[1] + radii[2];
}

void blurAlpha(QImage& mask, double sigma) {
  if (!(sigma >= 0.5) || mask.format() != QImage::Format_Alpha8 || mask.isNull()) return;
  const std::int64_t cost = std::int64_t{mask.width()} * mask.height();
  const Plane plane = planeOf(mask);
  for (const int r : boxRadii(sigma)) {
    if (r > 0) split(plane.height, cost, [&](int b, int e) { boxRows(plane, r, b, e); });
  }
  // Vertical passes go back and forth between the mask and one scratch plane.
  QImage scratch(mask.size(), QImage::Format_Alpha8);
  if (scratch.isNull()) return;
  Plane from = plane;
  Plane to = planeOf(scratch);
  for (const int r : boxRadii(sigma)) {
    if (r == 0) continue;
    split(plane.width, cost, [&](int b, int e) { boxColumns(from, to, r, b, e); });
    std::swap(from, to);
  }
  if (from.bits != plane.bits) {
    for (int y = 0; y < plane.height; ++y) std::copy_n(from.line(y), plane.width, plane.line(y));
  }
}

}  // namespace Whirlpane
