// SPDX-License-Identifier: GPL-3.0-or-later
// What the picture programs behind `make screenshots` share: a widget drawn
// to an image at a fixed density, a picture written into a folder with its
// path printed, and a made-up landscape photograph to open.
#pragma once

#include <QDir>
#include <QImage>
#include <QSize>
#include <QString>

class QWidget;

namespace Whirlpane {

// Makes the Inter face the interface font, so that the pictures come out the
// same on every machine; says so on the error stream and answers false when
// the face is missing.
bool useInterFace();

// Installs the program's catalogue for `language` ("de", "ja"; the
// build tree's, beside this program) and makes it the default locale; says so
// on the error stream and answers false when there is none.
bool useLanguage(const char* language);

// `widget` and its children as they paint themselves, over transparency, at
// `scale` pixels a point.
QImage widgetPicture(QWidget* widget, qreal scale);

// Writes `image` as `name` in `folder` and prints its path; says why not on
// the error stream and answers false when it cannot.
bool savePicture(const QImage& image, const QDir& folder, const QString& name);

// A sky, a sun and two hills, drawn at `size` (opaque).
QImage hillsPhoto(QSize size);

}  // namespace Whirlpane
