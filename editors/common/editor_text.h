// Text on the editors' surfaces: the interface font at a given size and
// weight, the label colour at a given strength, and a label that cuts its
// text at the tail with an ellipsis instead of growing.
//
// Thread safety: main thread only.
#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>

namespace Whirlpane {

// The interface font at `pixels` logical pixels (a point of the layout) and
// `weight`.
QFont editorFont(qreal pixels, QFont::Weight weight = QFont::Normal);

// The colour of text on the light editor surface (near black) at `alpha`
// of its own strength.
QColor labelColour(qreal alpha);

// A plain-text label painted in one colour. With `lines` 1 the text stays on
// one line and is cut at the tail; with more it wraps and the last line is
// cut. The accessible name is the full text.
class WPLabel : public QLabel {
 public:
  WPLabel(const QRectF& frame, const QFont& font, const QColor& colour, QWidget* parent,
          Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter, int lines = 1);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor colour_;
  int lines_;
};

}  // namespace Whirlpane
