// SPDX-License-Identifier: GPL-3.0-or-later
// Image encoding: pixels to the bytes of any of the seven raster formats,
// through the image library, gdk-pixbuf (BMP), the HEIF module, or an
// external encoder where the library cannot write WebP or AVIF.
//
// Thread safety: every function may be called from any thread at once.
#pragma once

#include <filesystem>
#include <string_view>

#include "image/image.h"
#include "image/image_decoding.h"
#include "whirlpane/bytes.h"

namespace MediaEngine {

// What a picture shows, for encoders whose best settings differ: a
// photograph, or a rendered document page (flat colour, text, lines).
enum class Content { photograph, document };

// The bytes of `image` in `format`, a canonical raster identifier, at `quality`
// in [0, 1]. "jpg" and "bmp" are flattened on white; the other formats keep
// alpha. No metadata of the source is carried over; TIFF is LZW-compressed.
// Throws Failure::unsupported for a non-raster format and for a picture with a
// side longer than the format's readers take (WebP: 16,383 pixels; HEIC and
// AVIF: 16,384), Failure::tooLarge outside the budget, Failure::encoding when
// no encoder could write the format.
Bytes encodedImage(const Image& image, std::string_view format, double quality,
                   Content content = Content::photograph);

// The bytes of `image` in `format` at the highest quality, in steps of 0.05
// from 0.05 to 1, whose file is no larger than `size` bytes, found by
// bisection in at most five encodings; the file at 0.05 when none is that
// small. For encoding a lossy file again whose own quality is unknown, so that
// the copy costs about what the original did. Fails as encodedImage() does.
Bytes encodedWithin(const Image& image, std::string_view format, size_t size);

// The same bytes as encodedImage(source.decode(), format, quality), produced
// while the file is decoded where the encoder allows it, so that decoding and
// encoding overlap and no whole decoded frame is held. Fails like decode()
// and encodedImage() do.
Bytes encodedImage(const ImageSource& source, std::string_view format, double quality);

// Writes `source` in `format` straight into `fd`, an open, empty file at
// `path`, as the encoder makes it, where the format's encoder can write a
// file as it goes (PNG, TIFF, BMP), and returns true; returns false, having
// written nothing, for the other formats, whose bytes encodedImage() gives.
// The file holds the same picture encodedImage() would give. Fails like
// encodedImage(), and with a FileError when writing fails; the file's content
// is then undefined.
bool writeEncoded(const ImageSource& source, std::string_view format, double quality, int fd,
                  const std::filesystem::path& path);

// Writes `image` in `format` straight into `fd`, an open, empty file at
// `path`, where the format's encoder can write a file as it goes (PNG), and
// returns true; returns false, with the file left empty, where it cannot, and
// encodedImage() gives the bytes. Throws FileError when writing fails.
bool writeEncoded(const Image& image, std::string_view format, int fd,
                  const std::filesystem::path& path);

// True when this machine's codecs can write the canonical raster `format`.
// The environment variable WHIRLPANE_NO_NATIVE_ENCODERS, a comma-separated
// list such as "webp,avif", makes it answer false for the formats named, so
// that WebP and AVIF go to the external encoders.
bool canEncode(std::string_view format);

namespace detail {
// `image` as a PNG for handing to another program: quick to write and to read,
// not small.
Bytes handOffPNG(const Image& image);
}  // namespace detail

}  // namespace MediaEngine
