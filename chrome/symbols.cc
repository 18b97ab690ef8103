// SPDX-License-Identifier: GPL-3.0-or-later
#include "chrome/symbols.h"

#include <QFile>
#include <QHash>
#include <QPainter>
#include <QSvgRenderer>
#include <cmath>
#include <memory>

namespace Whirlpane {

namespace {

// The point size the icons are drawn for.
constexpr qreal iconPointSize = 12;

// One renderer per icon, parsed on first use; null for a name without icon.
QSvgRenderer* renderer(const QString& name) {
  static QHash<QString, std::shared_ptr<QSvgRenderer>> cache;
  auto found = cache.find(name);
  if (found == cache.end()) {
    const QString path = ":/icons/" + name + ".svg";
    std::shared_ptr<QSvgRenderer> loaded;
    if (QFile::exists(path)) loaded = std::make_shared<QSvgRenderer>(path);
    found = cache.insert(name, loaded && loaded->isValid() ? loaded : nullptr);
  }
  return found->get();
}

}  // namespace

QSizeF symbolSize(const QString& name, qreal pointSize) {
  QSvgRenderer* svg = renderer(name);
  return svg ? QSizeF(svg->defaultSize()) * (pointSize / iconPointSize) : QSizeF();
}

QImage symbolImage(const QString& name, qreal pointSize, const QColor& color,
                   qreal devicePixelRatio) {
  QSvgRenderer* svg = renderer(name);
  if (!svg) return {};
  const QSizeF size = symbolSize(name, pointSize) * devicePixelRatio;
  QImage image(static_cast<int>(std::ceil(size.width())),
               static_cast<int>(std::ceil(size.height())), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  svg->render(&painter, QRectF(QPointF(0, 0), size));
  // Keep the icon's coverage, replace its colour.
  painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
  painter.fillRect(image.rect(), color);
  painter.end();
  image.setDevicePixelRatio(devicePixelRatio);
  return image;
}

}  // namespace Whirlpane
