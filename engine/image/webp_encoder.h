// SPDX-License-Identifier: GPL-3.0-or-later
// Lossy WebP through libwebp itself, with the settings the image library's
// saver uses (its default preset at the quality asked, method 4, lossless
// alpha), and with libwebp's own second thread, which the library's saver does
// not turn on: the picture's analysis and its alpha run beside the main
// encoding pass.
//
// Thread safety: encodeWebp() may be called from any thread at once.
#pragma once

#include <optional>
#include <vips/vips8>

#include "whirlpane/bytes.h"

namespace MediaEngine::detail {

// 8-bit sRGB or sRGB with alpha `pixels` as WebP at `quality` (0 to 100), with
// no metadata. nullopt when the pixels are of another kind (the library's saver
// converts those) or could not be read or encoded.
std::optional<Bytes> encodeWebp(const vips::VImage& pixels, int quality);

}  // namespace MediaEngine::detail
