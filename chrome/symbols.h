// SPDX-License-Identifier: GPL-3.0-or-later
// The project's own symbol images (Resources/icons/<name>.svg, built into the
// program), drawn in one colour like the system symbols of other desktops.
// Each icon is drawn for a 12-point symbol of medium weight; other point
// sizes scale it.
//
// Thread safety: main thread only.
#pragma once

#include <QColor>
#include <QImage>
#include <QSizeF>
#include <QString>

namespace Whirlpane {

// The size the symbol takes at `pointSize`, or an empty size when there is no
// icon called `name`.
QSizeF symbolSize(const QString& name, qreal pointSize);

// The symbol `name` at `pointSize`, every pixel in `colour` (its alpha
// included), rendered for `devicePixelRatio`; a null image when there is no
// icon of that name.
QImage symbolImage(const QString& name, qreal pointSize, const QColor& color,
                   qreal devicePixelRatio);

}  // namespace Whirlpane
