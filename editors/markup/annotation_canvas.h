// SPDX-License-Identifier: GPL-3.0-or-later
// The drawing surface of the Annotate and Redact editors: the picture fitted
// into a rounded, faintly tinted view, with pen strokes, rectangles, arrows,
// text labels and redaction boxes drawn over it with the mouse. The marks
// and their rules live in AnnotationLayer; the view paints them at its own
// scale and turns mouse and key events into intent. Escape drops the mark
// being dragged; Ctrl+Z drops it, or else the last finished mark.
//
// Thread safety: main thread only.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

#include "editors/markup/annotation.h"

namespace Whirlpane {

class AnnotationCanvas : public QWidget {
  Q_OBJECT

 public:
  // Shows `image` (kept as given, never changed); named
  // "editor.annotation.canvas". The owner names it for screen readers.
  AnnotationCanvas(const QImage& image, QWidget* parent);
  // Shows `shown`, a reduced copy of a picture of `fullSize` not yet decoded:
  // the marks are in the whole picture's pixels from the start, and
  // setOriginalImage() brings the whole picture.
  AnnotationCanvas(const QImage& shown, QSize fullSize, QWidget* parent);

  // The whole picture; null until it is decoded.
  const QImage& originalImage() const { return originalImage_; }
  void setOriginalImage(const QImage& image) { originalImage_ = image; }
  // The marks, the mark being dragged and the settings of new marks; change
  // the tool through setTool().
  AnnotationLayer& layer() { return layer_; }
  const AnnotationLayer& layer() const { return layer_; }

  Tool tool() const { return layer_.tool(); }
  // Drops the mark being dragged when the tool changes.
  void setTool(Tool tool);

  int count() const { return layer_.count(); }
  void undo();
  void clear();
  // The picture at its full size with every mark burnt in (the mark being
  // dragged too, without its guide); the original image itself when there
  // are no marks; null when no such image can be made.
  QImage renderedImage() const { return layer_.renderedImage(originalImage_); }

  // Called after the finished marks change.
  std::function<void()> onChange;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void changed(bool marksChanged);
  void updateCursor(QPointF at);
  // The picture resampled once to the size it is shown at, so that a repaint
  // costs the view's pixels and not the image's.
  const QImage& shownImage(const QRectF& rect, qreal ratio);

  QImage originalImage_;
  QImage source_;  // what is shown: the whole picture, or a reduced copy of it
  AnnotationLayer layer_;
  QImage shown_;
};

}  // namespace Whirlpane
