// SPDX-License-Identifier: GPL-3.0-or-later
// The accent colour the progress bar fills with and other windows highlight in.
#pragma once

#include <QColor>

namespace Whirlpane {

// sRGB (0.94, 0.34, 0.10), opaque; made once, shared by everyone.
const QColor& whirlAccent();

}  // namespace Whirlpane
