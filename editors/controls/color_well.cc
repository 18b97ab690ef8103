// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/controls/color_well.h"

#include <QColorDialog>
#include <QPainter>

#include "chrome/accent.h"

namespace Whirlpane {

ColorWell::ColorWell(const QRectF& frame, const QColor& color, QWidget* parent, Look look)
    : QAbstractButton(parent), color_(color), look_(look) {
  setGeometry(frame.toAlignedRect());
  setFocusPolicy(Qt::TabFocus);
  setCursor(Qt::PointingHandCursor);
  connect(this, &QAbstractButton::clicked, this, [this] { choose(); });
}

void ColorWell::setColor(const QColor& color) {
  color_ = color;
  update();
}

void ColorWell::choose() {
  // One chooser per well: a second click while it is up only raises it.
  if (chooser_) {
    chooser_->raise();
    return;
  }
  auto* dialog = new QColorDialog(color_, window());
  chooser_ = dialog;
  dialog->setWindowModality(Qt::WindowModal);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  connect(dialog, &QColorDialog::colorSelected, this, [this](const QColor& chosen) {
    if (!chosen.isValid()) return;
    setColor(chosen);
    if (onChange) onChange(chosen);
  });
  dialog->open();
}

void ColorWell::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  if (hasFocus()) {
    drawFocusRing(painter, QRectF(rect()), 6);
    r = QRectF(rect()).adjusted(focusRingInset, focusRingInset, -focusRingInset, -focusRingInset);
  }
  if (look_ == Look::bezel) {
    painter.setPen(QPen(QColor::fromRgbF(0, 0, 0, isDown() ? 0.3f : 0.14f), 1));
    painter.setBrush(QColor::fromRgbF(1, 1, 1, 0.6f));
    painter.drawRoundedRect(r, 5, 5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color_);
    painter.drawRoundedRect(r.adjusted(4, 4, -4, -4), 3, 3);
    return;
  }
  painter.setPen(QPen(QColor::fromRgbF(0, 0, 0, isDown() ? 0.3f : 0.16f), 0.75));
  painter.setBrush(color_);
  painter.drawRoundedRect(r, 4, 4);
}

}  // namespace Whirlpane
