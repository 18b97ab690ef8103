// SPDX-License-Identifier: GPL-3.0-or-later
// The quality every encoding operation takes: a number from 0 (smallest) to 1
// (best). Internal to the engine; any thread.
#pragma once

#include <cmath>

#include "whirlpane/failure.h"

namespace MediaEngine {

// Throws Failure::invalidQuality unless `quality` is finite and within [0, 1].
inline void requireQuality(double quality) {
  if (!std::isfinite(quality) || quality < 0.0 || quality > 1.0) throw Failure::invalidQuality();
}

}  // namespace MediaEngine
