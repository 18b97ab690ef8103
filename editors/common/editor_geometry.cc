// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/common/editor_geometry.h"

#include <algorithm>
#include <cmath>

namespace Whirlpane {

QPointF editorOrigin(QPointF point, const QRectF& available, QSizeF size) {
  const qreal w = size.width();
  const qreal h = size.height();
  if (available.isEmpty()) return {point.x() - w / 2, point.y() - h / 2};
  const qreal x =
      std::max(available.left() + 8, std::min(available.right() - w - 8, point.x() - w / 2));
  const qreal y =
      std::min(available.bottom() - h - 8, std::max(available.top() + 8, point.y() - h / 2));
  return {x, y};
}

QRectF fitInInset(const QRectF& bounds, QSizeF picture, qreal inset) {
  const QRectF r = bounds.adjusted(inset, inset, -inset, -inset);
  if (picture.isEmpty() || r.isEmpty()) return {};
  const qreal s = std::min(r.width() / picture.width(), r.height() / picture.height());
  const QSizeF size(picture.width() * s, picture.height() * s);
  return {r.center().x() - size.width() / 2, r.center().y() - size.height() / 2, size.width(),
          size.height()};
}

qreal statusLineWidth(qreal windowWidth, qreal resetWidth, qreal saveWidth) {
  return std::max<qreal>(windowWidth - resetWidth - saveWidth - 52, 40);
}

qreal saveButtonWidth(qreal titleWidth) { return std::ceil(titleWidth) + 20; }

qreal resetButtonWidth(qreal titleWidth) { return std::max<qreal>(std::ceil(titleWidth) + 16, 46); }

QRectF sliderKnobRect(const QRectF& bar, double value, double minimum, double maximum) {
  const double span = std::max(maximum - minimum, 0.0001);
  const qreal x = bar.left() + (bar.width() - 18) * (value - minimum) / span;
  return {x, bar.center().y() - 6, 18, 12};
}

double sliderValueAt(const QRectF& bar, qreal x, double minimum, double maximum) {
  const qreal travel = bar.width() - 18;
  if (travel <= 0 || maximum <= minimum) return minimum;
  const double fraction = std::clamp((x - bar.left() - 9) / travel, 0.0, 1.0);
  return minimum + fraction * (maximum - minimum);
}

std::vector<qreal> ratioSegmentEdges(const std::vector<qreal>& needs, qreal width) {
  const std::size_t n = std::max<std::size_t>(needs.size(), 1);
  std::vector<qreal> sizes(n, width / n);
  if (needs.size() == n) {
    // Labels wider than their share take their need, which makes the share
    // of the others smaller: repeat until every label fits or has its need.
    std::vector<bool> fixed(n, false);
    for (bool changed = true; changed;) {
      changed = false;
      qreal rest = width;
      std::size_t free = 0;
      for (std::size_t i = 0; i < n; ++i) {
        if (fixed[i])
          rest -= needs[i];
        else
          ++free;
      }
      for (std::size_t i = 0; i < n; ++i) {
        if (fixed[i]) {
          sizes[i] = needs[i];
        } else {
          sizes[i] = rest / free;
          if (needs[i] > sizes[i]) fixed[i] = changed = true;
        }
      }
      if (free == 0 || rest < 0) break;
    }
    qreal total = 0;
    for (const qreal need : needs) total += need;
    if (total > width) {
      for (std::size_t i = 0; i < n; ++i) sizes[i] = width * needs[i] / total;
    }
  }
  std::vector<qreal> edges{0};
  for (const qreal size : sizes) edges.push_back(edges.back() + size);
  edges.back() = width;
  return edges;
}

int ratioSegmentAt(qreal x, const std::vector<qreal>& edges) {
  const int last = std::max(static_cast<int>(edges.size()) - 2, 0);
  for (int i = 0; i < last; ++i) {
    if (x < edges[i + 1]) return i;
  }
  return last;
}

QString pixelValueText(double value) {
  return QString::number(static_cast<long long>(std::trunc(value))) + " px";
}

QString percentValueText(double value) {
  return QString::number(static_cast<long long>(std::round(value * 100))) + "%";
}

}  // namespace Whirlpane
