// Image loading and encoding: files to upright 8-bit sRGB pixels, and pixels
// to the bytes of any of the seven raster formats.
//
// Decoding goes through an allowlist of decoders only (JPEG, PNG, GIF, TIFF,
// WebP, HEIF/AVIF, and BMP through gdk-pixbuf); every other decoder the image
// library knows is blocked, so a crafted file cannot reach it. Stored
// dimensions are checked against the pixel budget before any pixel is decoded.
//
// Thread safety: every function may be called from any thread at once.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>
#include <vips/vips8>

#include "engine/bytes.h"

namespace MediaEngine {

// An image is processed only if both sides are at least 1 and
// width <= floor(100,000,000 / height).
bool withinPixelBudget(long long width, long long height);

// A decoded, upright picture: 8-bit sRGB with three channels, or four with
// (unpremultiplied) alpha, held in memory, and nothing else: no metadata of
// the file it came from travels with it, so no encoder can copy any out.
// Cheap to copy (the pixels are shared).
class Image {
 public:
  // `pixels` must be 8-bit sRGB with 3 or 4 bands; it is rendered into memory
  // first if it is not there yet.
  explicit Image(const vips::VImage& pixels);

  int width() const { return pixels_.width(); }
  int height() const { return pixels_.height(); }
  bool hasAlpha() const { return pixels_.bands() == 4; }
  // Interleaved rows, width * (3 or 4) bytes each, no padding; data() is valid.
  const vips::VImage& pixels() const { return pixels_; }

 private:
  vips::VImage pixels_;  // a bare header over pixels it keeps alive
};

// An image file whose header has been read and whose pixels have not.
class ImageSource {
 public:
  // Reads the header of `path`; nullopt when no allowed decoder recognises it.
  static std::optional<ImageSource> open(const std::filesystem::path& path);

  // Frames as the decoder counts them: animation frames, TIFF pages, top-level
  // HEIF images; 1 for a still image.
  int frameCount() const { return frames_; }
  long long storedWidth() const { return width_; }
  long long storedHeight() const { return height_; }
  // True for a baseline or progressive 8-bit JPEG, grey or YCbCr, without a
  // colour profile and stored upright: one whose stored pixels are exactly
  // what decoding it gives, so its data can be used as it is.
  bool isPlainJPEG() const { return plainJPEG_; }

  // Decodes the first frame, upright. Throws Failure::tooLarge when the stored
  // dimensions are outside the pixel budget (before decoding anything), and
  // Failure::unreadable with the file name when the pixels cannot be decoded.
  Image decode() const;

  const std::filesystem::path& path() const { return path_; }

 private:
  enum class Decoder { vips, bmp, none };
  ImageSource() = default;
  friend Bytes encodedImage(const ImageSource&, std::string_view, double);

  // The first frame, upright, 8-bit sRGB, to be computed as it is read. Reading
  // it decodes the file, once, front to back.
  vips::VImage uprightPixels() const;

  std::filesystem::path path_;
  Decoder decoder_ = Decoder::none;
  long long width_ = 0;
  long long height_ = 0;
  int frames_ = 1;
  bool plainJPEG_ = false;
};

// Decodes the first frame of `url` upright. Throws Failure::unreadable (file
// name) when it is no image we read, Failure::tooLarge outside the budget.
Image loadImage(const std::filesystem::path& url);

// What a picture shows, for encoders whose best settings differ: a
// photograph, or a rendered document page (flat colour, text, lines).
enum class Content { photograph, document };

// The bytes of `image` in `format`, a canonical raster identifier, at `quality`
// in [0, 1]. "jpg" and "bmp" are flattened on white; the other formats keep
// alpha. No metadata of the source is carried over; TIFF is LZW-compressed.
// Throws Failure::unsupported for a non-raster format, Failure::tooLarge outside
// the budget, Failure::encoding when no encoder could write the format.
Bytes encodedImage(const Image& image, std::string_view format, double quality,
                   Content content = Content::photograph);

// The same bytes as encodedImage(source.decode(), format, quality), produced
// while the file is decoded where the encoder allows it, so that decoding and
// encoding overlap and no whole decoded frame is held. Fails like decode()
// and encodedImage() do.
Bytes encodedImage(const ImageSource& source, std::string_view format, double quality);

// Validates `quality` (finite, within [0, 1]) before anything else, normalises
// `format`, makes the bytes (a raster encoding; for "pdf" a one-page PDF of
// the image; for "txt" the text recognised in it, Failure::noText when there
// is none) and publishes them at `to`, which must not exist.
void writeImage(const Image& image, std::string_view format, const std::filesystem::path& to,
                double quality = 0.9);

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
