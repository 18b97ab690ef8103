// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/controls/background_swatch.h"

#include <QPainterPath>

#include "chrome/accent.h"

namespace Whirlpane {

BackgroundSwatch::BackgroundSwatch(const QRectF& frame, const QString& name, Backdrop backdrop,
                                   QWidget* parent)
    : QAbstractButton(parent), backdrop_(std::move(backdrop)) {
  setGeometry(frame.toAlignedRect());
  setAccessibleName(name);
  setFocusPolicy(Qt::TabFocus);
  connect(this, &QAbstractButton::clicked, this, [this] {
    if (handler) handler();
  });
}

void BackgroundSwatch::setSelected(bool selected) {
  selected_ = selected;
  update();
}

void BackgroundSwatch::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  // Focused, the swatch shrinks inside the focus ring and a white gap, which
  // tells it from the single ring of the selected swatch.
  const qreal inset = hasFocus() ? focusRingInset + 1 : 0.5;
  const QRectF r = QRectF(rect()).adjusted(inset, inset, -inset, -inset);
  if (backdrop_) {
    painter.save();
    QPainterPath clip;
    clip.addRoundedRect(r, 6, 6);
    painter.setClipPath(clip);
    backdrop_(painter, r);
    painter.restore();
  }
  painter.setBrush(Qt::NoBrush);
  if (hasFocus()) {
    painter.setPen(QPen(Qt::white, 1.5));
    painter.drawRoundedRect(r.adjusted(-0.75, -0.75, 0.75, 0.75), 5, 5);
    drawFocusRing(painter, QRectF(rect()), 7);
  } else if (selected_) {
    painter.setPen(QPen(whirlAccent(), 1.8));
    const QRectF ring = QRectF(rect()).adjusted(0.9, 0.9, -0.9, -0.9);
    painter.drawRoundedRect(ring, 5.5, 5.5);
  } else {
    painter.setPen(QPen(QColor::fromRgbF(0, 0, 0, 0.08f), 0.5));
    painter.drawRoundedRect(r, 6, 6);
  }
}

}  // namespace Whirlpane
