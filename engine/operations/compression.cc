// SPDX-License-Identifier: GPL-3.0-or-later
#include "whirlpane/compression.h"

#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <functional>
#include <optional>

#include "base/file_io.h"
#include "base/quality.h"
#include "base/translation.h"
#include "documents/document_support.h"
#include "files/output_placement.h"
#include "image/image_decoding.h"
#include "image/image_encoding.h"
#include "image/jpeg_segments.h"
#include "image/jpeg_transform.h"
#include "image/png_chunks.h"
#include "image/webp_chunks.h"
#include "whirlpane/failure.h"
#include "whirlpane/formats.h"
#include "whirlpane/picture_file.h"

namespace MediaEngine {
namespace {

namespace fs = std::filesystem;

// The image source of `url`, refused when it holds several frames. This runs
// before the format is looked at, so that an animated GIF, which can be read
// but not written, hears why. nullopt when no decoder recognises the file.
std::optional<ImageSource> singleFrameSource(const fs::path& url) {
  if (lowerExtension(url) == "pdf") return std::nullopt;
  std::optional<ImageSource> source = ImageSource::open(url);
  if (source && source->frameCount() > 1) throw discardedFrames();
  return source;
}

// The decoded image, failing with the decoder's reason when there is none.
Image decoded(const fs::path& url, const std::optional<ImageSource>& source) {
  return source ? source->decode() : loadImage(url);
}

// `url` (a `format` file read as `source`) without its metadata, its coded
// picture kept as it is: a JPEG, PNG or WebP file with its metadata segments
// or chunks left out, and a JPEG stored turned or mirrored with the turn
// applied to its coded blocks. The colour profile stays, being colour, not
// data about the picture. nullopt when the picture must be encoded again: for
// other formats, a PNG or WebP file stored turned, a JPEG whose turn cannot
// be made without loss, and a file whose container does not take apart.
std::optional<Bytes> withoutMetadata(const fs::path& url, const ImageSource& source,
                                     const std::string& format) {
  if (format != "jpg" && format != "png" && format != "webp") return std::nullopt;
  const Bytes file = detail::readWholeFile(url);
  const int orientation = source.orientation();
  if (format == "png" || format == "webp") {
    if (orientation != 1) return std::nullopt;
    return format == "png" ? detail::pngWithoutMetadata(file.span())
                           : detail::webpWithoutMetadata(file.span(), /*keepProfile=*/true);
  }
  std::optional<std::vector<unsigned char>> stream;
  double xres = source.xres(), yres = source.yres();
  if (orientation == 1) {
    stream = detail::jpegWithoutMetadata(file.span(), /*keepProfile=*/true);
  } else if (const auto turned = detail::turnedUpright(file.span(), orientation)) {
    stream = detail::jpegWithoutMetadata(std::as_bytes(std::span(*turned)), /*keepProfile=*/true);
    if (orientation >= 5) std::swap(xres, yres);  // a quarter turn
  }
  if (!stream) return std::nullopt;
  // The resolution may have been stated only in the EXIF data left out.
  if (xres != unstatedResolution || yres != unstatedResolution)
    stream = detail::withResolution(std::move(*stream), xres, yres);
  return Bytes::copyOf(std::as_bytes(std::span(*stream)));
}

// The bytes compress() writes for `url` at `quality`; throws
// Failure::noReduction when they are not smaller than the file.
Bytes compressedCandidate(const fs::path& url, double quality) {
  requireQuality(quality);
  const std::optional<ImageSource> source = singleFrameSource(url);
  const std::string format = normalized(lowerExtension(url));
  Bytes candidate;
  if (format == "pdf") {
    candidate = Bytes::copyOf(detail::documentSupport().compressedPDF(url, quality));
  } else {
    candidate = encodedImage(decoded(url, source), format, quality);
  }
  struct stat info {};
  if (::stat(url.c_str(), &info) != 0) throwFileError(errno, "Could not read \"%1$s\": %2$s", url);
  if (candidate.size() >= static_cast<size_t>(info.st_size)) throw Failure::noReduction();
  return candidate;
}

// Refuses to go on when `url` is no longer the file stamped `opened`.
void requireUnchanged(const fs::path& url, const std::optional<FileStamp>& opened) {
  if (!opened || fileStamp(url) != opened) throw Failure::changed(url.filename().string());
}

// stripMetadata() with `beforePublishing` run once every read is done, just
// before the copy is published.
fs::path strippedCopy(const fs::path& url, const std::function<void()>& beforePublishing) {
  const std::optional<ImageSource> source = singleFrameSource(url);
  const std::string format = normalized(lowerExtension(url));
  if (!isRaster(format)) {
    throw Failure::unsupported(
        translated("Metadata removal currently supports images. "
                   "PDF and document metadata require document-specific sanitization."));
  }
  if (source) {
    if (std::optional<Bytes> clean = withoutMetadata(url, *source, format)) {
      beforePublishing();
      return publishBeside(url, "-clean", format, *clean);
    }
  }
  // Encoded again from its pixels. Lossy formats take the quality that keeps
  // the copy no larger than the source; lossless ones lose nothing anyway.
  const Image image = decoded(url, source);
  if (format == "jpg" || format == "webp" || format == "heic" || format == "avif") {
    struct stat info {};
    if (::stat(url.c_str(), &info) != 0)
      throwFileError(errno, "Could not read \"%1$s\": %2$s", url);
    Bytes clean = encodedWithin(image, format, static_cast<size_t>(info.st_size));
    beforePublishing();
    return publishBeside(url, "-clean", format, clean);
  }
  Bytes clean = encodedImage(image, format, 1.0);
  beforePublishing();
  return publishBeside(url, "-clean", format, clean);
}

}  // namespace

fs::path compress(const fs::path& url, double quality) {
  Bytes candidate = compressedCandidate(url, quality);
  return publishBeside(url, "-compressed", normalized(lowerExtension(url)), candidate);
}

fs::path compress(const fs::path& url, double quality, const std::optional<FileStamp>& opened) {
  requireUnchanged(url, opened);
  Bytes candidate = compressedCandidate(url, quality);
  // Unchanged from before the first read to after the last: the copy is made
  // from the file that was shown.
  requireUnchanged(url, opened);
  return publishBeside(url, "-compressed", normalized(lowerExtension(url)), candidate);
}

long long compressedSize(const fs::path& url, double quality) {
  return static_cast<long long>(compressedCandidate(url, quality).size());
}

fs::path stripMetadata(const fs::path& url) {
  return strippedCopy(url, [] {});
}

fs::path stripMetadata(const fs::path& url, const std::optional<FileStamp>& opened) {
  requireUnchanged(url, opened);
  return strippedCopy(url, [&] { requireUnchanged(url, opened); });
}

}  // namespace MediaEngine
