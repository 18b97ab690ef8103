// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/self_check/pictures.h"

#include <QApplication>
#include <QFontInfo>
#include <QLinearGradient>
#include <QLocale>
#include <QPainter>
#include <QWidget>
#include <cstdio>

#include "platform/interface_language.h"

namespace Whirlpane {

bool useInterFace() {
  const QFont inter("Inter");
  if (QFontInfo(inter).family() != "Inter") {
    std::fprintf(stderr, "the Inter face is missing (Debian package fonts-inter)\n");
    return false;
  }
  QApplication::setFont(inter);
  return true;
}

bool useLanguage(const char* language) {
  const QString name = QString::fromLocal8Bit(language);
  if (installInterfaceLanguage(translationsFolder(), {name}).isEmpty()) {
    std::fprintf(stderr, "no catalogue for the language %s\n", language);
    return false;
  }
  // Text in Chinese characters is drawn in the forms of the locale's
  // language.
  QLocale::setDefault(QLocale(name));
  return true;
}

QImage widgetPicture(QWidget* widget, qreal scale) {
  QImage image(widget->size() * scale, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(scale);
  image.fill(Qt::transparent);
  widget->render(&image, {}, {}, QWidget::DrawChildren | QWidget::IgnoreMask);
  return image;
}

bool savePicture(const QImage& image, const QDir& folder, const QString& name) {
  const QString path = folder.filePath(name);
  if (!image.save(path)) {
    std::fprintf(stderr, "could not write %s\n", qPrintable(path));
    return false;
  }
  std::printf("%s\n", qPrintable(path));
  return true;
}

QImage hillsPhoto(QSize size) {
  const qreal w = size.width(), h = size.height();
  QImage image(size, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, h);
  sky.setColorAt(0, QColor(64, 118, 196));
  sky.setColorAt(1, QColor(250, 196, 140));
  painter.fillRect(image.rect(), sky);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 236, 170));
  painter.drawEllipse(QPointF(0.7 * w, 0.375 * h), 0.075 * w, 0.075 * w);
  painter.setBrush(QColor(52, 96, 60));
  painter.drawEllipse(QPointF(0.25 * w, 1.125 * h), 0.583 * w, 0.4 * h);
  painter.setBrush(QColor(70, 124, 72));
  painter.drawEllipse(QPointF(0.833 * w, 1.2 * h), 0.5 * w, 0.4125 * h);
  return image;
}

}  // namespace Whirlpane
