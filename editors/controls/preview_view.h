// SPDX-License-Identifier: GPL-3.0-or-later
// A picture shown whole, as large as fits inside a faint rounded tray (small
// pictures are enlarged), centred.
//
// Thread safety: main thread only.
#pragma once

#include <QImage>
#include <QWidget>

namespace Whirlpane {

class PreviewView : public QWidget {
  Q_OBJECT

 public:
  PreviewView(const QRectF& frame, QWidget* parent, qreal inset = 12);

  const QImage& image() const { return image_; }
  // A null image leaves only the tray.
  void setImage(const QImage& image);
  qreal inset() const { return inset_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage image_;
  qreal inset_;
};

}  // namespace Whirlpane
