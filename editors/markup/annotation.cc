// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/markup/annotation.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "editors/common/editor_geometry.h"
#include "editors/common/editor_style.h"

namespace Whirlpane {

namespace {

constexpr std::string_view toolNames[] = {"pen", "rectangle", "arrow", "text", "redact"};

// The ink of new marks until the editor chooses one.
const QColor defaultInk(255, 149, 0);

QRectF spanned(const Annotation& mark) {
  if (mark.points.empty()) return {};
  const QPointF p = mark.points.front();
  const QPointF q = mark.points.back();
  return QRectF(QPointF(std::min(p.x(), q.x()), std::min(p.y(), q.y())),
                QPointF(std::max(p.x(), q.x()), std::max(p.y(), q.y())));
}

bool hasArea(const QRectF& r) { return r.width() > 0 && r.height() > 0; }

}  // namespace

std::string_view toolName(Tool tool) { return toolNames[static_cast<int>(tool)]; }

std::optional<ArrowHead> arrowHead(QPointF from, QPointF to, double width) {
  const QPointF delta = to - from;
  const double d = std::hypot(delta.x(), delta.y());
  if (!(d > 0.01)) return std::nullopt;
  const QPointF u = delta / d;
  const double h = std::min(std::max(12.0, 4 * width), 0.6 * d);
  const QPointF base = to - u * h;
  const QPointF side(-u.y() * 0.45 * h, u.x() * 0.45 * h);
  return ArrowHead{base, QPolygonF({to, base + side, base - side}), h};
}

AnnotationLayer::AnnotationLayer(QSize imageSize) : inkColor(defaultInk), imageSize_(imageSize) {}

QRectF AnnotationLayer::imageRect(QSizeF viewSize) const {
  return fitInInset(QRectF(QPointF(0, 0), viewSize), imageSize_, previewInset);
}

std::optional<QPointF> AnnotationLayer::sourcePoint(QPointF viewPoint, QSizeF viewSize,
                                                    bool clampToImage) const {
  const QRectF r = imageRect(viewSize);
  if (r.isEmpty()) return std::nullopt;
  if (!clampToImage && !r.contains(viewPoint)) return std::nullopt;
  const double x = (viewPoint.x() - r.left()) / r.width() * imageSize_.width();
  const double y = (viewPoint.y() - r.top()) / r.height() * imageSize_.height();
  return QPointF(std::clamp(x, 0.0, double(imageSize_.width())),
                 std::clamp(y, 0.0, double(imageSize_.height())));
}

void AnnotationLayer::setTool(Tool tool) {
  if (tool == tool_) return;
  tool_ = tool;
  active_.reset();
}

Annotation AnnotationLayer::startMark(QPointF point, QSizeF viewSize) const {
  const double imagePerView = imageSize_.width() / imageRect(viewSize).width();
  Annotation mark;
  mark.tool = tool_;
  mark.points = {point};
  mark.color = inkColor.isValid() ? inkColor.toRgb() : defaultInk;
  const double seen = std::isfinite(strokeWidth) ? strokeWidth : 4;
  mark.width = seen * imagePerView;
  mark.textSize = std::max(18.0, 5 * seen) * imagePerView;
  mark.text = textValue;
  return mark;
}

bool AnnotationLayer::press(QPointF viewPoint, QSizeF viewSize) {
  const auto point = sourcePoint(viewPoint, viewSize, false);
  if (!point) return false;
  active_.reset();
  Annotation mark = startMark(*point, viewSize);
  if (tool_ != Tool::text) {
    active_ = std::move(mark);
    return false;
  }
  if (textValue.trimmed().isEmpty()) return false;
  annotations_.push_back(std::move(mark));
  return true;
}

void AnnotationLayer::drag(QPointF viewPoint, QSizeF viewSize) {
  if (!active_) return;
  const auto point = sourcePoint(viewPoint, viewSize, true);
  if (!point) return;
  std::vector<QPointF>& points = active_->points;
  if (active_->tool == Tool::pen) {
    if (points.back() != *point) points.push_back(*point);
  } else {
    points = {points.front(), *point};
  }
}

bool AnnotationLayer::release(QPointF viewPoint, QSizeF viewSize) {
  if (!active_) return false;
  drag(viewPoint, viewSize);
  std::optional<Annotation> mark = std::move(active_);
  active_.reset();
  if (!isDrawable(*mark)) return false;
  annotations_.push_back(std::move(*mark));
  return true;
}

bool AnnotationLayer::cancelActive() {
  const bool had = active_.has_value();
  active_.reset();
  return had;
}

bool AnnotationLayer::undo() {
  if (cancelActive() || annotations_.empty()) return false;
  annotations_.pop_back();
  return true;
}

bool AnnotationLayer::clear() {
  active_.reset();
  if (annotations_.empty()) return false;
  annotations_.clear();
  return true;
}

bool AnnotationLayer::isDrawable(const Annotation& mark) {
  if (mark.points.empty()) return false;
  switch (mark.tool) {
    case Tool::pen:
    case Tool::text:
      return true;
    case Tool::rectangle:
    case Tool::redact:
      return hasArea(spanned(mark));
    case Tool::arrow:
      return arrowHead(mark.points.front(), mark.points.back(), mark.width).has_value();
  }
  return false;
}

QRect AnnotationLayer::redactionRect(const Annotation& mark) const {
  const QRectF r = spanned(mark);
  if (!hasArea(r)) return {};
  const int x0 = static_cast<int>(std::floor(r.left()));
  const int y0 = static_cast<int>(std::floor(r.top()));
  const int x1 = static_cast<int>(std::ceil(r.right()));
  const int y1 = static_cast<int>(std::ceil(r.bottom()));
  return QRect(x0, y0, x1 - x0, y1 - y0).intersected(QRect(QPoint(0, 0), imageSize_));
}

QRectF AnnotationLayer::guideRect() const {
  if (!active_) return {};
  if (active_->tool == Tool::rectangle) {
    const QRectF r = spanned(*active_);
    return hasArea(r) ? r : QRectF();
  }
  if (active_->tool == Tool::redact) return QRectF(redactionRect(*active_));
  return {};
}

std::vector<const Annotation*> AnnotationLayer::drawingOrder() const {
  std::vector<const Annotation*> marks;
  marks.reserve(annotations_.size() + 1);
  for (const Annotation& mark : annotations_) marks.push_back(&mark);
  if (active_ && isDrawable(*active_)) marks.push_back(&*active_);
  std::stable_partition(marks.begin(), marks.end(),
                        [](const Annotation* mark) { return mark->tool != Tool::redact; });
  return marks;
}

void AnnotationLayer::drawAnnotations(QPainter& painter) const {
  painter.save();
  painter.setClipRect(QRectF(QPointF(0, 0), imageSize_), Qt::IntersectClip);
  for (const Annotation* mark : drawingOrder()) draw(painter, *mark);
  painter.restore();
}

void AnnotationLayer::draw(QPainter& painter, const Annotation& mark) const {
  if (mark.points.empty()) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter.setOpacity(1);
  QPen pen(mark.color, mark.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  const QPointF p = mark.points.front();
  const QPointF q = mark.points.back();
  switch (mark.tool) {
    case Tool::pen:
      if (mark.points.size() == 1) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(mark.color);
        painter.drawEllipse(p, mark.width / 2, mark.width / 2);
      } else {
        painter.drawPolyline(mark.points.data(), static_cast<int>(mark.points.size()));
      }
      break;
    case Tool::rectangle:
      painter.drawRect(spanned(mark));
      break;
    case Tool::arrow:
      if (const auto head = arrowHead(p, q, mark.width)) {
        painter.drawLine(p, head->base);
        painter.setPen(Qt::NoPen);
        painter.setBrush(mark.color);
        painter.drawPolygon(head->triangle, Qt::WindingFill);
      }
      break;
    case Tool::text: {
      // The label hangs down from the click and wraps at the image's right
      // edge; what runs past the bottom edge is clipped away.
      const qreal available = imageSize_.width() - p.x();
      if (available > 0 && p.y() < imageSize_.height()) {
        const QFont font = editorFont(std::max(1.0, std::round(mark.textSize)), QFont::DemiBold);
        const QRectF box = QFontMetricsF(font).boundingRect(
            QRectF(0, 0, available, 1e9), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop,
            mark.text);
        painter.setFont(font);
        painter.drawText(QRectF(p.x(), p.y(), available, std::ceil(box.height())),
                         Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, mark.text);
      }
      break;
    }
    case Tool::redact:
      // Written, not blended: every covered pixel becomes opaque black.
      painter.setRenderHint(QPainter::Antialiasing, false);
      painter.setCompositionMode(QPainter::CompositionMode_Source);
      painter.fillRect(redactionRect(mark), QColor(0, 0, 0, 255));
      break;
  }
  painter.restore();
}

QImage AnnotationLayer::renderedImage(const QImage& image) const {
  if (isEmpty()) return image;
  // Painting on a copy of the decoded pixels is drawing the image into a
  // clear bitmap of its size and then the marks, without the first pass; in
  // the image's own format, so that pixels no mark touches keep their exact
  // values (straight alpha is not rounded through premultiplication).
  QImage rendered = image;
  if (image.format() != QImage::Format_RGBA8888 &&
      image.format() != QImage::Format_ARGB32_Premultiplied) {
    rendered = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  }
  if (rendered.isNull() || rendered.size() != imageSize_) return {};
  QPainter painter(&rendered);  // takes the pixels for its own, or fails
  if (!painter.isActive()) return {};
  drawAnnotations(painter);
  painter.end();
  return rendered;
}

}  // namespace Whirlpane
