// SPDX-License-Identifier: GPL-3.0-or-later
// The Crop editor's picture: the image with the outside of the selection
// dimmed, the selection outlined in the accent colour with its eight handles,
// and a rule-of-thirds grid while a drag is in progress. The mouse moves and
// resizes the selection; the geometry itself is CropSelection's.
//
// Thread safety: main thread only.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <optional>

#include "editors/crop/crop_selection.h"

namespace Whirlpane {

class CropCanvas : public QWidget {
  Q_OBJECT

 public:
  CropCanvas(const QImage& image, const QRectF& frame, QWidget* parent);
  // Shows `shown`, a reduced copy of a picture of `fullSize` not yet decoded:
  // the selection is in the whole picture's pixels from the start, and
  // setImage() brings the whole picture.
  CropCanvas(const QImage& shown, QSize fullSize, const QRectF& frame, QWidget* parent);

  // The whole picture; null until it is decoded.
  const QImage& image() const { return image_; }
  // The whole picture, of the size the selection is measured in.
  void setImage(const QImage& image);
  const CropSelection& geometry() const { return geometry_; }
  QRectF selection() const { return geometry_.selection(); }

  // Told the new selection after every change.
  std::function<void(const QRectF&)> onChange;

  // `selection` fitted into the picture (keeping a locked ratio).
  void setSelection(const QRectF& selection);
  void setRatio(std::optional<double> ratio);
  void setSize(double width, double height, bool changingWidth);
  void reset();
  // The picture inside the selection rounded to whole pixels; null when it
  // cannot be made.
  QImage croppedImage() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void changed();
  void reduce();

  QImage image_;
  QImage source_;  // what is shown: the whole picture, or a reduced copy of it
  // The image reduced to about the canvas's size, so that a drag redraws
  // without resampling the whole photograph each time.
  QImage shown_;
  CropSelection geometry_;
};

}  // namespace Whirlpane
