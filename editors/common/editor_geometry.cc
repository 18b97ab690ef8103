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

qreal statusLineWidth(qreal windowWidth, qreal saveWidth) {
  return std::max<qreal>(windowWidth - saveWidth - 98, 40);
}

qreal saveButtonWidth(qreal titleWidth) { return std::ceil(titleWidth) + 20; }

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

int ratioSegmentAt(qreal x, qreal width, int count) {
  const int n = std::max(count, 1);
  if (width <= 0) return 0;
  const double index = std::trunc(x / (width / n));
  return static_cast<int>(std::clamp(index, 0.0, static_cast<double>(n - 1)));
}

QString pixelValueText(double value) {
  return QString::number(static_cast<long long>(std::trunc(value))) + " px";
}

QString percentValueText(double value) {
  return QString::number(static_cast<long long>(std::round(value * 100))) + "%";
}

}  // namespace Whirlpane
