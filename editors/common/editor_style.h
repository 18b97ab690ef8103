// SPDX-License-Identifier: GPL-3.0-or-later
// The editors' text style: the interface font at a given size and weight, and
// the text color of the light editor surface at a given strength.
//
// Thread safety: main thread only (the font is the application's).
#pragma once

#include <QColor>
#include <QFont>

namespace Whirlpane {

// The interface font at `pixels` logical pixels (a point of the layout) and
// `weight`.
QFont editorFont(qreal pixels, QFont::Weight weight = QFont::Normal);

// The colour of text on the light editor surface (near black) at `alpha`
// of its own strength.
QColor labelColor(qreal alpha);

}  // namespace Whirlpane
