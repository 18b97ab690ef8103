// SPDX-License-Identifier: GPL-3.0-or-later
// A Gaussian blur for 8-bit alpha masks, approximated by three box blurs in
// each direction (running sums, so the cost does not grow with the radius).
// Used for the soft shadows of the background renderer, where the mask is
// the picture's own alpha and the blur is the shadow's softness.
//
// Thread safety: works on the caller's image only; large masks are shared
// between two threads of its own, joined before it returns.
#pragma once

#include <QImage>

namespace Whirlpane {

// Blurs `mask` (Format_Alpha8) in place with a Gaussian of standard deviation
// `sigma` pixels; values beyond the edges count as 0, so a mask needs a
// transparent margin of about 3·sigma to keep its whole shadow. Does nothing
// for sigma below 0.5 or for other formats.
void blurAlpha(QImage& mask, double sigma);

// The radius of each of the three boxes that approximate `sigma`, for the
// margin a mask needs: their sum is how far the blur reaches.
int blurReach(double sigma);

}  // namespace Whirlpane
