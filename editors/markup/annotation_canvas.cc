// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/markup/annotation_canvas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace Whirlpane {

AnnotationCanvas::AnnotationCanvas(const QImage& image, QWidget* parent)
    : AnnotationCanvas(image, image.size(), parent) {
  originalImage_ = image;
}

AnnotationCanvas::AnnotationCanvas(const QImage& shown, QSize fullSize, QWidget* parent)
    : QWidget(parent), source_(shown), layer_(fullSize) {
  setObjectName("editor.annotation.canvas");
  setFocusPolicy(Qt::ClickFocus);
  setMouseTracking(true);
}

void AnnotationCanvas::setTool(Tool tool) {
  const bool dragging = layer_.activeAnnotation().has_value();
  layer_.setTool(tool);
  if (dragging) update();
  updateCursor(mapFromGlobal(QCursor::pos()));
}

void AnnotationCanvas::undo() { changed(layer_.undo()); }

void AnnotationCanvas::clear() { changed(layer_.clear()); }

void AnnotationCanvas::changed(bool marksChanged) {
  update();
  if (marksChanged && onChange) onChange();
}

void AnnotationCanvas::updateCursor(QPointF at) {
  if (layer_.imageRect(size()).contains(at)) {
    setCursor(tool() == Tool::text ? Qt::IBeamCursor : Qt::CrossCursor);
  } else {
    unsetCursor();
  }
}

const QImage& AnnotationCanvas::shownImage(const QRectF& rect, qreal ratio) {
  const QSize wanted = (rect.size() * ratio).toSize().expandedTo(QSize(1, 1));
  if (shown_.size() != wanted) {
    shown_ = wanted.width() >= source_.width()
                 ? source_
                 : source_.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  return shown_;
}

void AnnotationCanvas::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor::fromRgbF(0.97f, 0.97f, 0.97f, 0.1f));
  painter.drawRoundedRect(QRectF(rect()), 10, 10);
  const QRectF r = layer_.imageRect(size());
  if (r.isEmpty()) return;

  painter.save();
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(r, shownImage(r, devicePixelRatioF()));
  const qreal s = r.width() / layer_.imageSize().width();
  painter.translate(r.topLeft());
  painter.scale(s, s);
  layer_.drawAnnotations(painter);
  painter.restore();

  // The guide is drawn in view units: 1.5 wide, 5 on and 3 off at any zoom.
  const QRectF guide = layer_.guideRect();
  if (guide.isEmpty()) return;
  const QRectF shown(r.topLeft() + guide.topLeft() * s, guide.size() * s);
  painter.setClipRect(r);
  painter.setBrush(Qt::NoBrush);
  QPen dashed(QColor(255, 149, 0), 1.5, Qt::CustomDashLine, Qt::FlatCap, Qt::MiterJoin);
  dashed.setDashPattern({5 / 1.5, 3 / 1.5});  // in pen widths
  painter.setPen(dashed);
  painter.drawRect(shown);
}

void AnnotationCanvas::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  if (!layer_.sourcePoint(event->position(), size(), false)) return;
  setFocus(Qt::MouseFocusReason);
  changed(layer_.press(event->position(), size()));
}

void AnnotationCanvas::mouseMoveEvent(QMouseEvent* event) {
  updateCursor(event->position());
  if (!(event->buttons() & Qt::LeftButton) || !layer_.activeAnnotation()) return;
  layer_.drag(event->position(), size());
  update();
}

void AnnotationCanvas::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !layer_.activeAnnotation()) return;
  changed(layer_.release(event->position(), size()));
}

void AnnotationCanvas::keyPressEvent(QKeyEvent* event) {
  const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
  if (event->key() == Qt::Key_Escape && layer_.activeAnnotation()) {
    layer_.cancelActive();
    update();
  } else if (event->key() == Qt::Key_Z && modifiers == Qt::ControlModifier) {
    undo();
  } else {
    event->ignore();  // Escape with nothing dragged closes the window
  }
}

void AnnotationCanvas::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  updateCursor(mapFromGlobal(QCursor::pos()));
}

}  // namespace Whirlpane
