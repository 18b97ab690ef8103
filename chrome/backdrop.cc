// SPDX-License-Identifier: GPL-3.0-or-later
#include "chrome/backdrop.h"

#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include "platform/platform.h"
#include "settings/settings.h"

namespace Whirlpane {

BackdropStyle currentBackdropStyle() {
  if (!Platform::current().compositing()) return BackdropStyle::opaque;
  return systemGlassSetting() ? BackdropStyle::glass : BackdropStyle::frosted;
}

Backdrop::Backdrop(BackdropStyle style, qreal cornerRadius, bool clear, QWidget* parent)
    : QWidget(parent), style_(style), cornerRadius_(cornerRadius), clear_(clear) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

QRegion Backdrop::windowShape(qreal scale) const {
  QPainterPath shape;
  shape.addRoundedRect(QRectF(mapTo(window(), QPoint(0, 0)), size()), cornerRadius_, cornerRadius_);
  const QPointF center = QRectF(window()->rect()).center();
  const QTransform grow = QTransform::fromTranslate(center.x(), center.y())
                              .scale(scale, scale)
                              .translate(-center.x(), -center.y());
  return QRegion(grow.map(shape).toFillPolygon().toPolygon());
}

void Backdrop::shapeWindow() {
  if (isWindow()) return;  // a backdrop is always inside the window it shapes
  if (style_ == BackdropStyle::opaque) {
    window()->setMask(windowShape());
    return;
  }
  // Translucent: the clear pixels around the shape show what lies below, and
  // where the display allows, presses there reach it too.
  Platform::current().setInputRegion(window(), windowShape());
  if (style_ == BackdropStyle::glass)
    Platform::current().requestBlurBehind(window(), windowShape());
}

void Backdrop::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  shapeWindow();
}

void Backdrop::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (isVisible()) shapeWindow();
}

void Backdrop::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF bounds = QRectF(rect());
  QColor fill;
  switch (style_) {
    case BackdropStyle::glass:
      fill = QColor::fromRgbF(1, 1, 1, clear_ ? 0.3f : 0.5f);
      break;
    case BackdropStyle::frosted:
      fill = QColor::fromRgbF(0.965f, 0.965f, 0.972f, 0.94f);
      break;
    case BackdropStyle::opaque:
      fill = QColor::fromRgbF(0.93f, 0.93f, 0.945f, 1);
      break;
  }
  painter.setPen(Qt::NoPen);
  painter.setBrush(fill);
  painter.drawRoundedRect(bounds, cornerRadius_, cornerRadius_);
  if (style_ != BackdropStyle::opaque) {
    // A hairline edge keeps a light window apart from a light desktop.
    painter.setPen(QPen(QColor::fromRgbF(1, 1, 1, 0.5f), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(bounds.adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius_ - 0.5,
                            cornerRadius_ - 0.5);
  }
}

Backdrop* makeGlassBackdrop(QWidget* parent, const QRect& frame, qreal cornerRadius, bool clear) {
  auto* backdrop = new Backdrop(currentBackdropStyle(), cornerRadius, clear, parent);
  backdrop->setGeometry(frame);
  backdrop->lower();
  return backdrop;
}

}  // namespace Whirlpane
