// SPDX-License-Identifier: GPL-3.0-or-later
// Compression and metadata stripping: a smaller or a cleaner copy of a file,
// in its own format, written beside it under a free name. The source is never
// touched.
//
// Thread safety: any thread; calls share nothing.
#pragma once

#include <filesystem>
#include <optional>

#include "whirlpane/picture_file.h"

namespace MediaEngine {

// Re-encodes an image at `quality` (0 to 1), or rewrites a PDF with its
// images recompressed as JPEG at `quality` and, below 0.8, reduced to 150
// pixels per inch of the size they are shown at; nothing else in a PDF
// changes. The result is written as "<name>-compressed.<format>" only when it
// is strictly smaller than the source.
//
// Throws Failure::invalidQuality before reading anything when `quality` is not
// a number in [0, 1]; what normalized() throws for an unknown extension;
// Failure::unsupported for an image with several frames; Failure::encoding
// "PDF optimization failed" when the PDF cannot be rewritten;
// Failure::noReduction when nothing smaller came out; and whatever reading,
// decoding, encoding and publishing throw.
std::filesystem::path compress(const std::filesystem::path& url, double quality);

// compress() for a file an editor opened: refused with Failure::changed, and
// nothing written, when `url` is no longer the file stamped `opened` (taken
// before it was first read), whether replaced, changed or gone, before the
// copy is read or once it has been; and when `opened` is nullopt.
std::filesystem::path compress(const std::filesystem::path& url, double quality,
                               const std::optional<FileStamp>& opened);

// The size in bytes of the file compress() would write for `url` at
// `quality`, made the same way and thrown away; throws as compress() does
// short of publishing (Failure::noReduction when it would not be smaller).
long long compressedSize(const std::filesystem::path& url, double quality);

// Writes a copy of an image without its metadata (EXIF, GPS, XMP, IPTC, maker
// notes, comments, previews) as "<name>-clean.<format>", costing neither
// picture nor size where the format allows: a JPEG, PNG or WebP file keeps its
// coded picture and loses only its metadata segments or chunks; a JPEG stored
// turned or mirrored has the turn applied to its coded blocks when its sides
// allow that without loss. Colour profiles and the resolution stay. Anything
// else is encoded again from its decoded pixels: lossless formats as they are,
// lossy ones (a JPEG that cannot be turned without loss, HEIC, AVIF, a WebP
// file stored turned) at the highest quality, in steps of 0.05, whose file is
// no larger than the source.
//
// Throws Failure::unsupported for anything but the seven image formats and
// for images with several frames, and whatever decoding, encoding and
// publishing throw.
std::filesystem::path stripMetadata(const std::filesystem::path& url);

// stripMetadata() for a file an editor opened, refused as the compress() for
// one is when `url` is no longer the file stamped `opened`.
std::filesystem::path stripMetadata(const std::filesystem::path& url,
                                    const std::optional<FileStamp>& opened);

}  // namespace MediaEngine
