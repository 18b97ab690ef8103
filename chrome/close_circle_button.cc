// SPDX-License-Identifier: GPL-3.0-or-later
#include "chrome/close_circle_button.h"

#include <QPainter>

#include "chrome/accent.h"

namespace Whirlpane {

CloseCircleButton::CloseCircleButton(const QRect& frame, const QString& identifier,
                                     const QString& label, QWidget* parent)
    : QAbstractButton(parent) {
  setGeometry(frame);
  setObjectName(identifier);
  setAccessibleName(label);
  setFocusPolicy(Qt::TabFocus);
  connect(this, &QAbstractButton::clicked, this, [this] {
    if (handler) handler();
  });
}

void CloseCircleButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF bounds = QRectF(rect());
  if (hasFocus()) drawFocusRing(painter, bounds, bounds.width() / 2);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor::fromRgbF(0, 0, 0, isDown() ? 0.12f : 0.06f));
  const qreal edge = hasFocus() ? focusRingInset : 0.5;
  painter.drawEllipse(bounds.adjusted(edge, edge, -edge, -edge));

  // The mark matches a semibold glyph of 0.42 × the button's width.
  const qreal arm = bounds.width() * 0.16;
  QPen pen(QColor::fromRgbF(0, 0, 0, 0.62f), bounds.width() * 0.075);
  pen.setCapStyle(Qt::RoundCap);
  painter.setPen(pen);
  const QPointF c = bounds.center();
  painter.drawLine(c + QPointF(-arm, -arm), c + QPointF(arm, arm));
  painter.drawLine(c + QPointF(-arm, arm), c + QPointF(arm, -arm));
}

}  // namespace Whirlpane
