// SPDX-License-Identifier: GPL-3.0-or-later
// writeImage(): one call from decoded pixels to a published file of any
// output format.
//
// Thread safety: any thread; calls share nothing.
#pragma once

#include <filesystem>
#include <string_view>

#include "image/image.h"

namespace MediaEngine {

// Validates `quality` (finite, within [0, 1]) before anything else, normalises
// `format`, makes the bytes (a raster encoding; for "pdf" a one-page PDF of
// the image; for "txt" the text recognised in it, Failure::noText when there
// is none) and publishes them at `to`, which must not exist, with the
// permissions outputPermissions() gives for `source`, the file the image was
// made from.
void writeImage(const Image& image, std::string_view format, const std::filesystem::path& to,
                const std::filesystem::path& source, double quality = 0.9);

}  // namespace MediaEngine
