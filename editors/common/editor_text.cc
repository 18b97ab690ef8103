// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/common/editor_text.h"

#include <QPainter>
#include <QTextLayout>
#include <cmath>

namespace Whirlpane {

EditorLabel::EditorLabel(const QRectF& frame, const QFont& font, const QColor& color,
                         QWidget* parent, Qt::Alignment alignment, int lines)
    : QLabel(parent), color_(color), lines_(std::max(lines, 1)) {
  setGeometry(frame.toAlignedRect());
  setFont(font);
  setAlignment(alignment);
  setTextFormat(Qt::PlainText);
}

void EditorLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(color_);
  painter.setFont(font());
  const QFontMetricsF metrics(font());
  if (lines_ == 1) {
    painter.drawText(rect(), int(alignment()), metrics.elidedText(text(), Qt::ElideRight, width()));
    return;
  }
  // Wrapped: lay out up to `lines_` lines and cut the last one at the tail.
  QTextLayout layout(text(), font());
  layout.beginLayout();
  QStringList shown;
  for (int i = 0; i < lines_; ++i) {
    QTextLine line = layout.createLine();
    if (!line.isValid()) break;
    line.setLineWidth(width());
    const bool last = i == lines_ - 1;
    QString part = text().mid(line.textStart(), last ? -1 : line.textLength());
    if (last) part = metrics.elidedText(part.simplified(), Qt::ElideRight, width());
    shown << part.trimmed();
  }
  layout.endLayout();
  painter.drawText(rect(), int(alignment() & Qt::AlignHorizontal_Mask) | Qt::AlignTop,
                   shown.join('\n'));
}

}  // namespace Whirlpane
