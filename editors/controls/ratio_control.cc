// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/controls/ratio_control.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "chrome/accent.h"
#include "editors/common/editor_geometry.h"
#include "editors/common/editor_text.h"

namespace Whirlpane {

RatioControl::RatioControl(const QStringList& labels, const QRectF& frame, const QString& id,
                           QWidget* parent, std::function<void(int)> onSelect)
    : QWidget(parent), handler(std::move(onSelect)), labels_(labels) {
  setGeometry(frame.toAlignedRect());
  setObjectName(id);
  setAccessibleName(labels.join(", "));
  setFont(editorFont(11));
}

void RatioControl::setSelectedSegment(int index) {
  selected_ = std::clamp(index, 0, std::max(segmentCount() - 1, 0));
  update();
}

void RatioControl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor::fromRgbF(0, 0, 0, 0.065f));
  painter.drawRoundedRect(QRectF(rect()), 5, 5);
  const int n = std::max(segmentCount(), 1);
  const qreal w = width() / qreal(n);
  for (int i = 0; i < segmentCount(); ++i) {
    const QRectF segment(i * w, 0, w, height());
    const bool selected = i == selected_;
    if (selected) {
      painter.setPen(Qt::NoPen);
      painter.setBrush(whirlAccent());
      painter.drawRoundedRect(segment, 5, 5);
    } else if (i > 0 && i - 1 != selected_) {
      painter.fillRect(QRectF(segment.left() - 0.5, height() / 2.0 - 5, 1, 10),
                       QColor::fromRgbF(0, 0, 0, 0.18f));
    }
    painter.setFont(editorFont(11, selected ? QFont::Medium : QFont::Normal));
    painter.setPen(selected ? QColor(Qt::white) : labelColor(0.72));
    painter.drawText(segment, Qt::AlignCenter, labels_[i]);
  }
}

void RatioControl::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || segmentCount() == 0) return;
  const int index = ratioSegmentAt(event->position().x(), width(), segmentCount());
  if (index == selected_) return;
  setSelectedSegment(index);
  if (handler) handler(index);
}

}  // namespace Whirlpane
