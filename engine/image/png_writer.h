// SPDX-License-Identifier: GPL-3.0-or-later
// PNG encoding of the engine's own, for what the image library's saver does
// not do: deflating on every core, and writing a picture as 8-bit grey or as a
// palette when either holds its pixels exactly. The rows are cut into pieces
// of about a megabyte, each deflated on its own thread with the end of the
// previous piece as its dictionary, and the pieces are joined into the one
// zlib stream PNG asks for (as pigz does for gzip), so any PNG reader takes
// the file and it is within a few bytes of a single-threaded stream.
//
// Thread safety: encodePng() may be called from any thread at once.
#pragma once

#include <filesystem>
#include <optional>
#include <vips/vips8>

#include "whirlpane/bytes.h"

namespace MediaEngine::detail {

enum class PngRowFilter {
  adaptive,  // per row, the filter whose output has the least absolute sum
  none,
};

struct PngOptions {
  int level = 6;  // zlib level, 1 to 9
  PngRowFilter filter = PngRowFilter::adaptive;
  // Write RGB(A) as grey when every pixel is grey, or as a palette when it
  // has at most 256 colours. Reads the pixels twice, so the picture is held
  // in memory first: meant for rendered pages, not for streamed photographs.
  bool fewestChannels = false;
  // With fewestChannels, the level and filter for a picture that stays in
  // full colour (photographs on a page), which row filters shrink several
  // times where flat colour gains nothing from them.
  int fullColourLevel = 4;
  PngRowFilter fullColourFilter = PngRowFilter::adaptive;
};

// `pixels` as a PNG with no metadata but their resolution, read as they are
// produced (a streamed decoder is never held whole unless `fewestChannels`).
// nullopt when the pixels are not 8-bit grey, grey and alpha, sRGB or sRGB
// with alpha (the library's saver converts those), or could not be read.
std::optional<Bytes> encodePng(const vips::VImage& pixels, const PngOptions& options);

// The same PNG written into `fd`, an open file at `path`, as it is made, a
// megabyte at a time; returns true. Returns false when encodePng() would give
// nullopt; the file may then hold part of a PNG. Throws FileError when
// writing fails.
bool writePng(const vips::VImage& pixels, const PngOptions& options, int fd,
              const std::filesystem::path& path);

}  // namespace MediaEngine::detail
