// SPDX-License-Identifier: GPL-3.0-or-later
// The rounded backing behind the wheel, the editor windows and the progress
// toast. Three looks, chosen by what the desktop can show:
//   glass    a compositor runs and "useSystemGlass" allows it: a light,
//            translucent fill, with the desktop asked to blur behind it;
//   frosted  a compositor runs but glass is switched off: a nearly opaque
//            light fill;
//   opaque   no compositor: an opaque fill, and the top-level window is masked
//            to the rounded shape, since its transparent pixels would be black.
#pragma once

#include <QRegion>
#include <QWidget>

namespace Whirlpane {

enum class BackdropStyle { glass, frosted, opaque };

// The look the desktop allows now.
BackdropStyle currentBackdropStyle();

class Backdrop : public QWidget {
  Q_OBJECT

 public:
  // `clear` asks for the lighter glass, for content that brings its own tint.
  Backdrop(BackdropStyle style, qreal cornerRadius, bool clear, QWidget* parent);

  BackdropStyle style() const { return style_; }
  qreal cornerRadius() const { return cornerRadius_; }

  // The rounded shape in the top-level window's coordinates, scaled by
  // `scale` about the window's centre (for windows that grow into view).
  QRegion windowShape(qreal scale = 1) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Masks the window (opaque) or asks for the blur (glass) to fit the shape.
  void shapeWindow();

  BackdropStyle style_;
  qreal cornerRadius_;
  bool clear_;
};

// A backdrop in the current style, placed at `frame` (parent coordinates)
// below `parent`'s other children.
Backdrop* makeGlassBackdrop(QWidget* parent, const QRect& frame, qreal cornerRadius, bool clear);

}  // namespace Whirlpane
