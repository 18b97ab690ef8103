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
  setFocusPolicy(Qt::NoFocus);
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
  const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  if (backdrop_) {
    painter.save();
    QPainterPath clip;
    clip.addRoundedRect(r, 6, 6);
    painter.setClipPath(clip);
    backdrop_(painter, r);
    painter.restore();
  }
  painter.setBrush(Qt::NoBrush);
  if (selected_) {
    painter.setPen(QPen(whirlAccent(), 1.8));
    const QRectF ring = QRectF(rect()).adjusted(0.9, 0.9, -0.9, -0.9);
    painter.drawRoundedRect(ring, 5.5, 5.5);
  } else {
    painter.setPen(QPen(QColor::fromRgbF(0, 0, 0, 0.08f), 0.5));
    painter.drawRoundedRect(r, 6, 6);
  }
}

}  // namespace Whirlpane
