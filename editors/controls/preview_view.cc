#include "editors/controls/preview_view.h"

#include <QPainter>
#include <algorithm>

#include "editors/controls/draw.h"

namespace Whirlpane {

WPPreviewView::WPPreviewView(const QRectF& frame, QWidget* parent, qreal inset)
    : QWidget(parent), inset_(inset) {
  setGeometry(frame.toAlignedRect());
}

void WPPreviewView::setImage(const QImage& image) {
  image_ = image;
  update();
}

QRectF WPPreviewView::pictureRect(const QRectF& bounds, QSize picture, qreal inset) {
  const QRectF r = bounds.adjusted(inset, inset, -inset, -inset);
  if (picture.isEmpty() || r.isEmpty()) return {};
  const qreal s = std::min(r.width() / picture.width(), r.height() / picture.height());
  const QSizeF size(picture.width() * s, picture.height() * s);
  return {r.center().x() - size.width() / 2, r.center().y() - size.height() / 2, size.width(),
          size.height()};
}

void WPPreviewView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor::fromRgbF(0, 0, 0, 0.035f));
  painter.drawRoundedRect(QRectF(rect()), 12, 12);
  if (!image_.isNull()) wpDraw(painter, image_, pictureRect(rect(), image_.size(), inset_));
}

}  // namespace Whirlpane
