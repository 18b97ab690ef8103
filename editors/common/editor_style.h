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

// The colour of the secondary texts (hints, slider titles and values, the
// status line): the label colour at the strength that keeps them at 4.5 : 1
// or more against editorSurfaceColor().
QColor hintColor();

// The editors' light surface at its darkest, where no compositor lets the
// desktop through: the opaque backdrop under the warm tint.
QColor editorSurfaceColor();

}  // namespace Whirlpane
