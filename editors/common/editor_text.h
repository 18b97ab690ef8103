// SPDX-License-Identifier: GPL-3.0-or-later
// A label for the editors' surfaces that cuts its text at the tail with an
// ellipsis instead of growing, in the editors' font and text color
// (editor_style.h).
//
// Thread safety: main thread only.
#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>

#include "editors/common/editor_style.h"

namespace Whirlpane {

// A plain-text label painted in one colour. With `lines` 1 the text stays on
// one line and is cut at the tail; with more it wraps and the last line is
// cut. The accessible name is the full text.
class EditorLabel : public QLabel {
  Q_OBJECT

 public:
  EditorLabel(const QRectF& frame, const QFont& font, const QColor& color, QWidget* parent,
              Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter, int lines = 1);

  const QColor& color() const { return color_; }

  // Whether the text is cut: longer than its lines, or taller than the frame.
  bool isCut() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  // The lines as they are painted, the last one cut at the tail where the
  // text is longer; `cut` tells whether it was.
  QStringList shownLines(bool* cut = nullptr) const;

  QColor color_;
  int lines_;
};

}  // namespace Whirlpane
