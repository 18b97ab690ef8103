// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/controls/preview_view.h"

#include <QPainter>
#include <algorithm>

#include "editors/common/editor_geometry.h"
#include "editors/controls/draw.h"

namespace Whirlpane {

PreviewView::PreviewView(const QRectF& frame, QWidget* parent, qreal inset)
    : QWidget(parent), inset_(inset) {
  setGeometry(frame.toAlignedRect());
}

void PreviewView::setImage(const QImage& image) {
  image_ = image;
  update();
}

void PreviewView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor::fromRgbF(0, 0, 0, 0.035f));
  painter.drawRoundedRect(QRectF(rect()), 12, 12);
  if (!image_.isNull()) drawPicture(painter, image_, fitInInset(rect(), image_.size(), inset_));
}

}  // namespace Whirlpane
