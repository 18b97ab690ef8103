// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/controls/action_button.h"

#include <QEvent>
#include <QPainter>

#include "chrome/accent.h"
#include "chrome/symbols.h"
#include "editors/common/editor_text.h"

namespace Whirlpane {

ActionButton::ActionButton(const QRectF& frame, QWidget* parent) : QAbstractButton(parent) {
  setGeometry(frame.toAlignedRect());
  setFocusPolicy(Qt::TabFocus);
  setFont(editorFont(11));
  connect(this, &QAbstractButton::clicked, this, [this] {
    if (handler) handler();
  });
}

void ActionButton::setPrimary(bool primary) {
  primary_ = primary;
  update();
}

void ActionButton::setSymbol(const QString& name) {
  symbol_ = name;
  update();
}

void ActionButton::changeEvent(QEvent* event) {
  QAbstractButton::changeEvent(event);
  if (event->type() == QEvent::EnabledChange) update();
}

void ActionButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  QColor fill;
  if (primary_) {
    const QColor& accent = whirlAccent();
    fill = isDown() ? QColor::fromRgbF(accent.redF() * 0.82f, accent.greenF() * 0.82f,
                                       accent.blueF() * 0.82f)
                    : accent;
    fill.setAlphaF(isEnabled() ? 1.0f : 0.5f);
  } else {
    fill = QColor::fromRgbF(0, 0, 0, isDown() ? 0.13f : 0.075f);
  }
  QRectF face(rect());
  if (hasFocus()) {
    drawFocusRing(painter, face, 6);
    face.adjust(focusRingInset, focusRingInset, -focusRingInset, -focusRingInset);
  }
  painter.setPen(Qt::NoPen);
  painter.setBrush(fill);
  painter.drawRoundedRect(face, 4, 4);

  if (text().isEmpty() && !symbol_.isEmpty()) {
    const QImage image = symbolImage(symbol_, 12, labelColor(0.7), devicePixelRatioF());
    const QSizeF natural = symbolSize(symbol_, 12);
    const QRectF target(QPointF(width() - natural.width(), height() - natural.height()) / 2,
                        natural);
    painter.drawImage(target, image);
    return;
  }
  painter.setPen(primary_ ? QColor(Qt::white) : labelColor(0.72));
  painter.setFont(font());
  painter.drawText(rect(), Qt::AlignCenter, text());
}

}  // namespace Whirlpane
