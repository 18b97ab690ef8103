// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/crop/crop_selection.h"

#include <algorithm>
#include <cmath>

#include "editors/common/editor_geometry.h"

namespace Whirlpane {

CropSelection::CropSelection(QSize size)
    : size_(size), selection_(0, 0, size.width(), size.height()) {}

QRectF CropSelection::bounded(const QRectF& rect) const {
  const double W = size_.width(), H = size_.height();
  double w = std::max(rect.width(), 1.0);
  double h;
  if (!ratio_) {
    w = std::min(w, W);
    h = std::min(std::max(rect.height(), 1.0), H);
  } else {
    const double f = std::min({W / w, H / std::max(rect.height(), 1.0), 1.0});
    w = std::max(f * rect.width(), 1.0);
    h = std::max(f * rect.height(), 1.0);
  }
  const double x = std::max(0.0, std::min(rect.x(), W - w));
  const double y = std::max(0.0, std::min(rect.y(), H - h));
  return {x, y, w, h};
}

void CropSelection::setRatio(std::optional<double> ratio) {
  ratio_ = ratio;
  if (!ratio) return;
  const double W = size_.width(), H = size_.height();
  const double w = selection_.width(), h = w / *ratio;
  const double f = std::min({W / w, H / h, 1.0});
  selection_ = bounded({selection_.x(), selection_.y(), w * f, h * f});
}

void CropSelection::setSize(double width, double height, bool changingWidth) {
  if (!std::isfinite(width) || !std::isfinite(height)) return;
  double w = std::max(width, 1.0), h = std::max(height, 1.0);
  if (ratio_) {
    if (changingWidth) {
      h = w / *ratio_;
    } else {
      w = h * *ratio_;
    }
  }
  selection_ = bounded({selection_.x(), selection_.y(), w, h});
}

void CropSelection::reset() {
  ratio_.reset();
  selection_ = QRectF(0, 0, size_.width(), size_.height());
}

QRect CropSelection::pixelRect() const {
  // std::round takes halves away from zero.
  const QRect rounded(static_cast<int>(std::round(selection_.x())),
                      static_cast<int>(std::round(selection_.y())),
                      std::max(static_cast<int>(std::round(selection_.width())), 1),
                      std::max(static_cast<int>(std::round(selection_.height())), 1));
  return rounded.intersected(QRect(QPoint(0, 0), size_));
}

QRectF CropSelection::imageRect(const QRectF& bounds) const {
  return fitInInset(bounds, size_, margin);
}

QRectF CropSelection::displaySelection(const QRectF& bounds) const {
  const QRectF picture = imageRect(bounds);
  const double k = picture.width() / size_.width();
  return {picture.x() + k * selection_.x(), picture.y() + k * selection_.y(),
          k * selection_.width(), k * selection_.height()};
}

QPointF CropSelection::sourcePoint(const QRectF& bounds, QPointF p) const {
  const QRectF picture = imageRect(bounds);
  const double W = size_.width(), H = size_.height();
  return {std::clamp((p.x() - picture.x()) * W / picture.width(), 0.0, W),
          std::clamp((p.y() - picture.y()) * H / picture.height(), 0.0, H)};
}

std::array<QPointF, 8> CropSelection::handles(const QRectF& r) {
  const double midX = r.center().x(), midY = r.center().y();
  return {QPointF(r.left(), r.top()),     QPointF(midX, r.top()),
          QPointF(r.right(), r.top()),    QPointF(r.right(), midY),
          QPointF(r.right(), r.bottom()), QPointF(midX, r.bottom()),
          QPointF(r.left(), r.bottom()),  QPointF(r.left(), midY)};
}

void CropSelection::mouseDown(const QRectF& bounds, QPointF p) {
  startRect_ = selection_;
  startPoint_ = sourcePoint(bounds, p);
  const QRectF shown = displaySelection(bounds);
  const auto points = handles(shown);
  for (int i = 0; i < 8; ++i) {
    if (std::hypot(points[i].x() - p.x(), points[i].y() - p.y()) <= grabDistance) {
      dragHandle_ = i;
      return;
    }
  }
  if (shown.contains(p)) {
    dragHandle_ = move;
    return;
  }
  dragHandle_ = newSelection;
  startRect_ = QRectF(startPoint_, QSizeF(0, 0));
}

void CropSelection::mouseDragged(const QRectF& bounds, QPointF p) {
  if (dragHandle_ == none) return;
  selection_ = dragged(sourcePoint(bounds, p));
}

void CropSelection::mouseUp() {
  dragHandle_ = none;
  selection_ = bounded(selection_);
}

QRectF CropSelection::dragged(QPointF q) const {
  const double W = size_.width(), H = size_.height();
  const QRectF& S = startRect_;
  const QPointF sp = startPoint_;

  if (dragHandle_ == move) {
    const double x = std::min(std::max(q.x() + S.x() - sp.x(), 0.0), W - S.width());
    const double y = std::min(std::max(q.y() + S.y() - sp.y(), 0.0), H - S.height());
    return {x, y, S.width(), S.height()};
  }

  if (dragHandle_ == top || dragHandle_ == bottom || dragHandle_ == left || dragHandle_ == right) {
    double x = S.x(), y = S.y(), w = S.width(), h = S.height();
    switch (dragHandle_) {
      case top:
        y = std::min(q.y(), S.bottom() - 1);
        h = S.bottom() - y;
        break;
      case bottom:
        h = std::max(q.y() - S.y(), 1.0);
        break;
      case left:
        x = std::min(q.x(), S.right() - 1);
        w = S.right() - x;
        break;
      default:
        w = std::max(q.x() - S.x(), 1.0);
        break;
    }
    if (ratio_) {
      // The rectangle stays centred across the direction the edge moved in.
      if (dragHandle_ == left || dragHandle_ == right) {
        h = w / *ratio_;
        y = S.center().y() - h / 2;
      } else {
        w = h * *ratio_;
        x = S.center().x() - w / 2;
      }
    }
    return bounded({x, y, w, h});
  }

  // A corner, or a new rectangle: one corner stays put, the opposite one
  // follows the pointer. A corner never turns over its anchor.
  QPointF anchor;
  bool growLeft, growUp;
  switch (dragHandle_) {
    case topLeft:
      anchor = {S.right(), S.bottom()}, growLeft = true, growUp = true;
      break;
    case topRight:
      anchor = {S.left(), S.bottom()}, growLeft = false, growUp = true;
      break;
    case bottomRight:
      anchor = {S.left(), S.top()}, growLeft = false, growUp = false;
      break;
    case bottomLeft:
      anchor = {S.right(), S.top()}, growLeft = true, growUp = false;
      break;
    default:
      anchor = sp, growLeft = q.x() < sp.x(), growUp = q.y() < sp.y();
      break;
  }
  double w = std::max(growLeft ? anchor.x() - q.x() : q.x() - anchor.x(), 1.0);
  double h = std::max(growUp ? anchor.y() - q.y() : q.y() - anchor.y(), 1.0);
  if (ratio_) {
    if (w / h <= *ratio_) {
      w = h * *ratio_;
    } else {
      h = w / *ratio_;
    }
  }
  const double fx = (growLeft ? anchor.x() : W - anchor.x()) / w;
  const double fy = (growUp ? anchor.y() : H - anchor.y()) / h;
  if (fx < 1 || fy < 1) {
    const double f = std::min(fx, fy);
    w *= f;
    h *= f;
  }
  const double x = growLeft ? anchor.x() - w : anchor.x();
  const double y = growUp ? anchor.y() - h : anchor.y();
  return {x, y, std::max(w, 1.0), std::max(h, 1.0)};
}

}  // namespace Whirlpane
