// SPDX-License-Identifier: GPL-3.0-or-later
// Image decoding: files to upright 8-bit sRGB pixels.
//
// Decoding goes through an allowlist of decoders only (JPEG, PNG, GIF, TIFF,
// WebP, HEIF/AVIF, and BMP through gdk-pixbuf); every other decoder the image
// library knows is blocked, so a crafted file cannot reach it. Stored
// dimensions are checked against the pixel budget before any pixel is decoded.
// PDF pages are rendered by the PDF code, never here.
//
// Thread safety: every function may be called from any thread at once.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "image/image.h"
#include "whirlpane/bytes.h"
#include "whirlpane/failure.h"

namespace MediaEngine {

// An image file whose header has been read and whose pixels have not.
class ImageSource {
 public:
  // Reads the header of `path`; nullopt when no allowed decoder recognises it.
  static std::optional<ImageSource> open(const std::filesystem::path& path);

  // Frames as the decoder counts them: animation frames, TIFF pages (not those
  // marked as reduced-resolution copies, such as the levels of a pyramid),
  // top-level HEIF images; 1 for a still image.
  int frameCount() const { return frames_; }
  long long storedWidth() const { return width_; }
  long long storedHeight() const { return height_; }
  // The resolution the file states, in pixels per millimetre across and down
  // the stored pixels; unstatedResolution when it states none.
  double xres() const { return xres_; }
  double yres() const { return yres_; }
  // How the stored pixels are to be turned or mirrored to show upright, as
  // EXIF counts it: 1 (as stored) to 8.
  int orientation() const { return orientation_; }
  // True for a baseline or progressive 8-bit JPEG, grey or YCbCr, without a
  // colour profile or with an sRGB one, and stored upright: one whose stored
  // pixels are exactly what decoding it gives, so its data can be used as it
  // is.
  bool isPlainJPEG() const { return plainJPEG_; }
  // True when the file stores grey pixels (with or without alpha): outputs
  // that have a grey mode keep it.
  bool isGrey() const { return grey_; }

  // Decodes the first frame, upright. Throws Failure::tooLarge when the stored
  // dimensions are outside the pixel budget (before decoding anything), and
  // Failure::unreadable with the file name when the pixels cannot be decoded.
  Image decode() const;
  // Decodes the first frame, upright, reduced so that neither side exceeds
  // `longestSide` (never enlarged), the cheapest way the format allows: JPEG,
  // HEIF and WebP at a reduced scale straight from the file, the rest read
  // once front to back and shrunk as they are read. A file cut short gives
  // what could be decoded. Throws as decode() does.
  Image decodeReduced(int longestSide) const;
  // The size of the decoded first frame, upright.
  long long uprightWidth() const { return orientation_ >= 5 ? height_ : width_; }
  long long uprightHeight() const { return orientation_ >= 5 ? width_ : height_; }

  const std::filesystem::path& path() const { return path_; }

 private:
  enum class Decoder { vips, bmp, none };
  ImageSource() = default;
  friend Bytes encodedImage(const ImageSource&, std::string_view, double);
  friend bool writeEncoded(const ImageSource&, std::string_view, double, int,
                           const std::filesystem::path&);

  // The first frame, upright, 8-bit sRGB, to be computed as it is read. Reading
  // it decodes the file, once, front to back. With `keepGrey`, a grey file
  // gives 8-bit grey instead, with alpha where it has alpha.
  vips::VImage uprightPixels(bool keepGrey = false) const;

  std::filesystem::path path_;
  Decoder decoder_ = Decoder::none;
  long long width_ = 0;
  long long height_ = 0;
  double xres_ = unstatedResolution;
  double yres_ = unstatedResolution;
  int frames_ = 1;
  int orientation_ = 1;
  bool plainJPEG_ = false;
  bool grey_ = false;
  bool jpeg_ = false;  // decoded by the JPEG loader, called by name
};

// Decodes the first frame of `url` upright. Throws Failure::unreadable (file
// name) when it is no image we read, Failure::tooLarge outside the budget.
Image loadImage(const std::filesystem::path& url);

// What an operation that would keep only the first frame of an animation or
// multi-page image throws instead (Failure::unsupported).
Failure discardedFrames();

}  // namespace MediaEngine
