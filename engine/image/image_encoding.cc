// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/image_encoding.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "base/file_io.h"
#include "base/handles.h"
#include "base/translation.h"
#include "base/unicode.h"
#include "image/bmp_codec.h"
#include "image/codec_runtime.h"
#include "image/external_encoders.h"
#include "image/heif_codec.h"
#include "image/jpeg_segments.h"
#include "image/png_writer.h"
#include "image/webp_chunks.h"
#include "image/webp_encoder.h"
#include "whirlpane/formats.h"

namespace MediaEngine {
namespace {

namespace fs = std::filesystem;
using vips::VImage;

// Colour or grey on white, without its alpha.
VImage flattenedOnWhite(const VImage& pixels) {
  const std::vector<double> white(static_cast<size_t>(pixels.bands() - 1), 255);
  return pixels.flatten(VImage::option()->set("background", white)).cast(VIPS_FORMAT_UCHAR);
}

int vipsQuality(double quality, int lowest) {
  const long q = std::lround(quality * 100.0);
  return static_cast<int>(std::clamp<long>(q, lowest, 100));
}

Bytes adoptVipsBuffer(void* buffer, size_t size) { return Bytes::adopt(buffer, size, g_free); }

// PNG settings, measured in bench/RESULTS.md. Photographs: adaptive row
// filters shrink them by a fifth or more; zlib level 5 writes files within
// 2 to 4 % of level 6 for much less time, where level 4 was up to 8 % larger
// on photographs of fine texture (foliage, wood). Document pages (white paper, text):
// no row filter at all gives the smallest files, level 6 a quarter smaller
// than level 4 for little more time, and both run faster than the filters.
// A page is written as grey or as a palette when either holds it exactly; a
// page that stays in full colour holds pictures and takes the photograph
// settings.
struct PngSettings {
  int compression;
  VipsForeignPngFilter filter;
};
constexpr PngSettings photographPng{5, VIPS_FOREIGN_PNG_FILTER_ALL};
constexpr PngSettings documentPng{6, VIPS_FOREIGN_PNG_FILTER_NONE};

// TIFF: LZW with the horizontal predictor, no metadata. (A macro, for the
// savers' variable argument lists.)
#define tiffOptions                                              \
  "compression", VIPS_FOREIGN_TIFF_COMPRESSION_LZW, "predictor", \
      VIPS_FOREIGN_TIFF_PREDICTOR_HORIZONTAL, "strip", TRUE

detail::PngOptions pngOptions(Content content) {
  const PngSettings png = content == Content::document ? documentPng : photographPng;
  return {png.compression,
          png.filter == VIPS_FOREIGN_PNG_FILTER_NONE ? detail::PngRowFilter::none
                                                     : detail::PngRowFilter::adaptive,
          content == Content::document};
}

std::optional<Bytes> saveWithLibrary(const VImage& image, std::string_view format, double quality,
                                     Content content = Content::photograph) {
  void* buffer = nullptr;
  size_t size = 0;
  int status = -1;
  VipsImage* in = image.get_image();
  if (format == "jpg") {
    // Pages halve their colour resolution, as other page renderers' JPEGs do:
    // at 300 dpi that costs text nothing visible and takes 40 % off the
    // encoder's work and 7 % off the file. The library keeps full colour
    // resolution at quality 90 and above, which photographs are given. Pages
    // also skip the second pass that fits the Huffman tables to the picture:
    // on 300 dpi pages it takes 40 % of the conversion's time to make the
    // files 11 % smaller.
    const VipsForeignSubsample subsample =
        content == Content::document ? VIPS_FOREIGN_SUBSAMPLE_ON : VIPS_FOREIGN_SUBSAMPLE_AUTO;
    status = vips_jpegsave_buffer(in, &buffer, &size, "Q", vipsQuality(quality, 1), "strip", TRUE,
                                  "optimize_coding", content != Content::document, "subsample_mode",
                                  subsample, nullptr);
  } else if (format == "png") {
    // Our own writer deflates on every core, and writes a page with no colour
    // as grey and one of few colours as a palette; the library's saver takes
    // what it does not (16-bit samples, other colour spaces).
    if (std::optional<Bytes> encoded = detail::encodePng(image, pngOptions(content)))
      return encoded;
    const PngSettings png = content == Content::document ? documentPng : photographPng;
    status = vips_pngsave_buffer(in, &buffer, &size, "compression", png.compression, "filter",
                                 png.filter, "strip", TRUE, nullptr);
  } else if (format == "webp") {
    if (std::optional<Bytes> encoded = detail::encodeWebp(image, vipsQuality(quality, 0)))
      return encoded;
    status = vips_webpsave_buffer(in, &buffer, &size, "Q", vipsQuality(quality, 0), "strip", TRUE,
                                  nullptr);
  } else if (format == "tiff") {
    status = vips_tiffsave_buffer(in, &buffer, &size, tiffOptions, nullptr);
  } else if (format == "heic" || format == "avif") {
    return detail::encodeHeif(Image(image),
                              format == "avif" ? detail::HeifCodec::av1 : detail::HeifCodec::hevc,
                              vipsQuality(quality, 1));
  } else if (format == "bmp") {
    try {
      return detail::encodeBmp(image);
    } catch (const vips::VError&) {
      return std::nullopt;
    }
  }
  if (status != 0) {
    vips_error_clear();
    return std::nullopt;
  }
  if (format == "webp") {
    Bytes saved = adoptVipsBuffer(buffer, size);
    if (std::optional<Bytes> clean = detail::webpWithoutMetadata(saved.span(), false)) return clean;
    return saved;
  }
  // The JPEG saver states the resolution only in the EXIF data it leaves out.
  if (format == "jpg" &&
      (image.xres() != unstatedResolution || image.yres() != unstatedResolution)) {
    const Bytes saved = adoptVipsBuffer(buffer, size);
    const auto* data = reinterpret_cast<const unsigned char*>(saved.data());
    const std::vector<unsigned char> stated = detail::withResolution(
        std::vector<unsigned char>(data, data + saved.size()), image.xres(), image.yres());
    return Bytes::copyOf(std::as_bytes(std::span(stated)));
  }
  return adoptVipsBuffer(buffer, size);
}

// A header over `pixels` that carries none of the source file's metadata, so
// that no saver can copy any of it out.
VImage withoutMetadata(const VImage& pixels) {
  VImage bare = pixels.copy();
  gchar** fields = vips_image_get_fields(bare.get_image());
  for (gchar** field = fields; *field; ++field) vips_image_remove(bare.get_image(), *field);
  g_strfreev(fields);
  return bare;
}

// Refuses a picture wider or higher than the format's readers take, where
// that is below what the pixel budget lets through: WebP's own limit, and the
// one libheif puts on every HEIF file it reads (HEIC and AVIF alike), which
// makes it refuse the result of its own encoders. Checked before encoding, so
// that nothing unreadable is ever written.
void requireWithinFormatLimit(std::string_view format, long long width, long long height) {
  const long long limit = format == "webp"                       ? 16383
                          : format == "heic" || format == "avif" ? 16384
                                                                 : 0;
  if (limit == 0 || (width <= limit && height <= limit)) return;
  throw Failure::unsupported(translated(
      // TRANSLATORS: %1$s is a format name such as "WEBP"; %3$s and %4$s are the image's
      // width and height in pixels.
      "%1$s images can be at most %2$s pixels wide and high; this one is %3$s \u00d7 %4$s.",
      {upperCased(format), std::to_string(limit), std::to_string(width), std::to_string(height)}));
}

bool nativeEncoderTurnedOff(std::string_view format) {
  const char* list = std::getenv("WHIRLPANE_NO_NATIVE_ENCODERS");
  if (!list) return false;
  std::string_view rest(list);
  while (!rest.empty()) {
    const size_t comma = rest.find(',');
    std::string_view item = rest.substr(0, comma);
    rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    try {
      if (normalized(item) == format) return true;
    } catch (const Failure&) {
      // a name that is no format turns nothing off
    }
  }
  return false;
}

// Empties the file at `path` open as `fd`, for writing it again.
void startAgain(int fd, const fs::path& path) {
  if (::ftruncate(fd, 0) != 0 || ::lseek(fd, 0, SEEK_SET) != 0)
    throwFileError(errno, "Could not write \"%1$s\": %2$s", path);
}

}  // namespace

namespace detail {

Bytes handOffPNG(const Image& image) {
  void* buffer = nullptr;
  size_t size = 0;
  if (vips_pngsave_buffer(image.pixels().get_image(), &buffer, &size, "compression", 1, "filter",
                          VIPS_FOREIGN_PNG_FILTER_NONE, "strip", TRUE, nullptr) != 0) {
    vips_error_clear();
    throw Failure::encoding(translated("The system %1$s encoder failed.", {"PNG"}));
  }
  return adoptVipsBuffer(buffer, size);
}

}  // namespace detail

bool canEncode(std::string_view format) {
  detail::startImageLibrary();
  if (nativeEncoderTurnedOff(format)) return false;
  if (format == "heic") return detail::heifCanEncode(detail::HeifCodec::hevc);
  if (format == "avif") return detail::heifCanEncode(detail::HeifCodec::av1);
  if (format == "bmp") return true;  // our own writer
  const std::string probe = format == "jpg"    ? "x.jpg"
                            : format == "tiff" ? "x.tif"
                                               : "x." + std::string(format);
  return isRaster(format) && vips_foreign_find_save_buffer(probe.c_str()) != nullptr;
}

Bytes encodedImage(const ImageSource& source, std::string_view format, double quality) {
  // Refused from the stored size, before anything is decoded.
  const bool quarterTurn = source.orientation() >= 5;
  requireWithinFormatLimit(format, quarterTurn ? source.storedHeight() : source.storedWidth(),
                           quarterTurn ? source.storedWidth() : source.storedHeight());
  // libheif, gdk-pixbuf and the external encoders want the whole frame at once.
  const bool streams = format == "jpg" || format == "png" || format == "webp" || format == "tiff";
  if (!streams || source.decoder_ != ImageSource::Decoder::vips || !canEncode(format)) {
    return encodedImage(source.decode(), format, quality);
  }
  VImage pixels;
  try {
    // WebP has no grey mode; the others write grey as grey.
    pixels = source.uprightPixels(format != "webp");
    if (format == "jpg" && (pixels.bands() == 2 || pixels.bands() == 4))
      pixels = flattenedOnWhite(pixels);
  } catch (const vips::VError&) {
    vips_error_clear();
    throw Failure::unreadable(source.path_.filename().string());
  }
  if (std::optional<Bytes> bytes = saveWithLibrary(withoutMetadata(pixels), format, quality)) {
    return std::move(*bytes);
  }
  // Decoding or encoding failed, and a streamed error does not say which.
  // Decoding alone again tells: it throws if the file is at fault; otherwise the
  // whole-frame path reports the encoder's failure as usual.
  return encodedImage(source.decode(), format, quality);
}

bool writeEncoded(const ImageSource& source, std::string_view format, double quality, int fd,
                  const fs::path& path) {
  if ((format != "tiff" && format != "bmp" && format != "png") ||
      source.decoder_ == ImageSource::Decoder::none)
    return false;
  const bool quarterTurn = source.orientation() >= 5;
  requireWithinFormatLimit(format, quarterTurn ? source.storedHeight() : source.storedWidth(),
                           quarterTurn ? source.storedWidth() : source.storedHeight());
  if (format == "bmp") {
    // BMP stores its rows from the bottom up: the whole frame is decoded
    // first, then written a band of rows at a time.
    VImage pixels;
    try {
      pixels = source.uprightPixels(true);
      if (pixels.bands() == 2 || pixels.bands() == 4) pixels = flattenedOnWhite(pixels);
      pixels = pixels.copy_memory();
    } catch (const vips::VError&) {
      vips_error_clear();
      throw Failure::unreadable(source.path_.filename().string());
    }
    detail::writeBmp(pixels, fd, path);
    return true;
  }
  if (source.decoder_ != ImageSource::Decoder::vips || !canEncode(format)) return false;
  if (format == "png") {
    // Written as the file is decoded, by our writer where it takes the pixels
    // (8-bit grey or sRGB); otherwise, or when decoding failed, in memory by
    // the streamed encoding, which reports a failure as usual.
    bool written = false;
    try {
      written = detail::writePng(withoutMetadata(source.uprightPixels(true)),
                                 pngOptions(Content::photograph), fd, path);
    } catch (const vips::VError&) {
      vips_error_clear();
    }
    if (written) return true;
    startAgain(fd, path);
    detail::writeAll(fd, encodedImage(source, format, quality).span(), path);
    return true;
  }
  // TIFF is written as the file is decoded.
  int status = -1;
  try {
    const VImage pixels = withoutMetadata(source.uprightPixels(true));
    const Owned<VipsTarget, g_object_unref> target(vips_target_new_to_descriptor(fd));
    if (target)
      status = vips_tiffsave_target(pixels.get_image(), target.get(), tiffOptions, nullptr);
  } catch (const vips::VError&) {
    status = -1;
  }
  if (status == 0) return true;
  vips_error_clear();
  // As for a streamed encoding: decoding alone again tells whether the file is
  // at fault; if not, the whole-frame path reports the encoder's failure.
  startAgain(fd, path);
  detail::writeAll(fd, encodedImage(source.decode(), format, quality).span(), path);
  return true;
}

bool writeEncoded(const Image& image, std::string_view format, int fd, const fs::path& path) {
  if (format != "png" || !canEncode(format) || !withinPixelBudget(image.width(), image.height()))
    return false;
  if (detail::writePng(image.pixels(), pngOptions(Content::photograph), fd, path)) return true;
  startAgain(fd, path);
  return false;
}

Bytes encodedWithin(const Image& image, std::string_view format, size_t size) {
  constexpr int steps = 20;  // quality = step / steps
  int low = 1, high = steps;
  std::optional<Bytes> fitting, smallest;
  while (low <= high) {
    const int step = (low + high) / 2;
    Bytes candidate = encodedImage(image, format, static_cast<double>(step) / steps);
    if (candidate.size() <= size) {
      fitting = std::move(candidate);
      low = step + 1;
    } else {
      if (step == 1) smallest = std::move(candidate);
      high = step - 1;
    }
  }
  return fitting ? std::move(*fitting) : std::move(*smallest);
}

Bytes encodedImage(const Image& image, std::string_view format, double quality, Content content) {
  if (!isRaster(format))
    throw Failure::unsupported(translated("Unsupported image format: %1$s", {format}));
  detail::startImageLibrary();
  const bool opaque = format == "jpg" || format == "bmp";
  if (!withinPixelBudget(image.width(), image.height())) throw Failure::tooLarge();
  requireWithinFormatLimit(format, image.width(), image.height());

  VImage pixels = image.pixels();
  if (opaque && image.hasAlpha()) {
    try {
      pixels = flattenedOnWhite(pixels).copy_memory();
    } catch (const vips::VError&) {
      vips_error_clear();
      throw Failure::encoding(translated("image rendering failed"));
    }
  }
  if (canEncode(format)) {
    if (std::optional<Bytes> bytes = saveWithLibrary(pixels, format, quality, content))
      return std::move(*bytes);
  }
  if (format == "webp" || format == "avif")
    return externalEncode(detail::handOffPNG(Image(pixels)), format, quality);
  throw Failure::encoding(translated("The system %1$s encoder failed.", {upperCased(format)}));
}

}  // namespace MediaEngine
