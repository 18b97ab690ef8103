#include "editors/common/editor_text.h"

#include <QApplication>
#include <QPainter>
#include <QTextLayout>
#include <cmath>

namespace Whirlpane {

QFont editorFont(qreal pixels, QFont::Weight weight) {
  QFont font = QApplication::font();
  // Qt takes whole pixel sizes; half sizes are set as points at 72 dpi.
  if (pixels == std::floor(pixels)) {
    font.setPixelSize(static_cast<int>(pixels));
  } else {
    font.setPointSizeF(pixels * 72.0 / 96.0);
  }
  font.setWeight(weight);
  return font;
}

QColor labelColour(qreal alpha) { return QColor::fromRgbF(0, 0, 0, 0.85f * float(alpha)); }

WPLabel::WPLabel(const QRectF& frame, const QFont& font, const QColor& colour, QWidget* parent,
                 Qt::Alignment alignment, int lines)
    : QLabel(parent), colour_(colour), lines_(std::max(lines, 1)) {
  setGeometry(frame.toAlignedRect());
  setFont(font);
  setAlignment(alignment);
  setTextFormat(Qt::PlainText);
}

void WPLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(colour_);
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
