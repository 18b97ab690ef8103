// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/crop/crop_canvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "chrome/accent.h"
#include "editors/controls/draw.h"

namespace Whirlpane {

CropCanvas::CropCanvas(const QImage& image, const QRectF& frame, QWidget* parent)
    : CropCanvas(image, image.size(), frame, parent) {
  image_ = image;
}

CropCanvas::CropCanvas(const QImage& shown, QSize fullSize, const QRectF& frame, QWidget* parent)
    : QWidget(parent), source_(shown), geometry_(fullSize) {
  setGeometry(frame.toRect());
  setObjectName("editor.crop.canvas");
  //: The crop area's name for screen readers, with how to use it.
  setAccessibleName(tr("Crop selection. Drag edges or corners to resize; drag inside to move."));
  reduce();
}

void CropCanvas::resizeEvent(QResizeEvent*) { reduce(); }

void CropCanvas::reduce() {
  // Twice the shown size keeps the picture sharp on a doubled display.
  const QSizeF room = geometry_.imageRect(rect()).size() * 2;
  shown_ = source_.width() > room.width() || source_.height() > room.height()
               ? source_.scaled(room.toSize(), Qt::KeepAspectRatio, Qt::SmoothTransformation)
               : source_;
}

void CropCanvas::setImage(const QImage& image) { image_ = image; }

void CropCanvas::changed() {
  update();
  if (onChange) onChange(geometry_.selection());
}

void CropCanvas::setSelection(const QRectF& selection) {
  geometry_.setSelection(geometry_.bounded(selection));
  changed();
}

void CropCanvas::setRatio(std::optional<double> ratio) {
  geometry_.setRatio(ratio);
  if (ratio) changed();
}

void CropCanvas::setSize(double width, double height, bool changingWidth) {
  if (!std::isfinite(width) || !std::isfinite(height)) return;
  geometry_.setSize(width, height, changingWidth);
  changed();
}

void CropCanvas::reset() {
  geometry_.reset();
  changed();
}

QImage CropCanvas::croppedImage() const {
  const QRect rect = geometry_.pixelRect();
  return rect.isEmpty() || image_.isNull() ? QImage() : image_.copy(rect);
}

void CropCanvas::paintEvent(QPaintEvent*) {
  if (source_.isNull()) return;
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF picture = geometry_.imageRect(rect());
  const QRectF shown = geometry_.displaySelection(rect());
  drawPicture(painter, shown_, picture);

  QPainterPath outside;
  outside.setFillRule(Qt::OddEvenFill);
  outside.addRect(picture);
  outside.addRect(shown);
  painter.fillPath(outside, QColor(0, 0, 0, qRound(0.55 * 255)));

  const QColor accent = whirlAccent();
  painter.setPen(QPen(accent, 1.5));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(shown);

  if (geometry_.dragHandle() != CropSelection::none) {
    painter.setPen(QPen(QColor(255, 255, 255, qRound(0.42 * 255)), 0.5));
    for (int third = 1; third <= 2; ++third) {
      const qreal x = shown.left() + shown.width() * third / 3;
      const qreal y = shown.top() + shown.height() * third / 3;
      painter.drawLine(QPointF(x, shown.top()), QPointF(x, shown.bottom()));
      painter.drawLine(QPointF(shown.left(), y), QPointF(shown.right(), y));
    }
  }

  painter.setPen(Qt::NoPen);
  painter.setBrush(accent);
  const auto points = CropSelection::handles(shown);
  for (int i = 0; i < 8; ++i) {
    const bool corner = i % 2 == 0;
    const bool across = i == CropSelection::top || i == CropSelection::bottom;
    const QSizeF size = corner ? QSizeF(10, 10) : across ? QSizeF(20, 5) : QSizeF(5, 20);
    const qreal radius = corner ? 2 : 2.5;
    painter.drawRoundedRect(QRectF(points[i] - QPointF(size.width(), size.height()) / 2, size),
                            radius, radius);
  }
}

void CropCanvas::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  geometry_.mouseDown(rect(), event->position());
  update();
}

void CropCanvas::mouseMoveEvent(QMouseEvent* event) {
  if (geometry_.dragHandle() == CropSelection::none) return;
  geometry_.mouseDragged(rect(), event->position());
  changed();
}

void CropCanvas::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || geometry_.dragHandle() == CropSelection::none) return;
  geometry_.mouseUp();
  changed();
}

}  // namespace Whirlpane
