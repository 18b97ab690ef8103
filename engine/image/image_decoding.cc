// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/image_decoding.h"

#include <lcms2.h>
#include <tiffio.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "base/byte_order.h"
#include "base/handles.h"
#include "base/translation.h"
#include "image/bmp_codec.h"
#include "image/codec_runtime.h"
#include "whirlpane/failure.h"

namespace MediaEngine {
namespace {

namespace fs = std::filesystem;
using vips::VImage;

std::vector<std::byte> readHead(const fs::path& path, size_t count) {
  std::vector<std::byte> head(count);
  std::ifstream file(path, std::ios::binary);
  file.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(count));
  head.resize(file ? count : static_cast<size_t>(std::max<std::streamsize>(file.gcount(), 0)));
  return head;
}

bool isHeifContainer(std::span<const std::byte> head) {
  return head.size() >= 12 && head[4] == std::byte{'f'} && head[5] == std::byte{'t'} &&
         head[6] == std::byte{'y'} && head[7] == std::byte{'p'};
}

// libpng refuses a header that declares a zero side or more than a million
// rows before it reports the size; read the declaration ourselves so that such
// files are judged by the pixel budget like any other.
std::optional<std::pair<long long, long long>> declaredPngSize(std::span<const std::byte> head) {
  static constexpr unsigned char signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (head.size() < 24) return std::nullopt;
  for (size_t i = 0; i < sizeof signature; ++i) {
    if (head[i] != std::byte{signature[i]}) return std::nullopt;
  }
  return std::pair<long long, long long>(bigEndian<4>(head.data() + 16),
                                         bigEndian<4>(head.data() + 20));
}

bool isJpeg(std::span<const std::byte> head) {
  return head.size() >= 3 && head[0] == std::byte{0xFF} && head[1] == std::byte{0xD8} &&
         head[2] == std::byte{0xFF};
}

// `jpeg`: the file starts as a JPEG, whose loader is then called by name.
// Otherwise the library asks each of its loaders in turn whether the file is
// its kind, opening and reading it again for each: a dozen opens, which are
// most of the work for a small picture.
VImage openForDecoding(const fs::path& path, bool jpeg) {
  vips::VOption* options = VImage::option()
                               ->set("access", VIPS_ACCESS_SEQUENTIAL)
                               ->set("fail_on", VIPS_FAIL_ON_TRUNCATED);
  return jpeg ? VImage::jpegload(path.c_str(), options)
              : VImage::new_from_file(path.c_str(), options);
}

// Converts whatever the decoder produced (any colour space, an embedded
// profile, 16 bits, grey, CMYK) to 8-bit sRGB with three or four channels.
VImage toSRGB8(VImage image) {
  bool converted = false;
  if (image.get_typeof(VIPS_META_ICC_NAME) != 0) {
    try {
      image = image.icc_transform("srgb", VImage::option()->set("embedded", true)->set("depth", 8));
      converted = true;
    } catch (const vips::VError&) {
      vips_error_clear();  // a broken profile: fall back to the colour space alone
    }
  }
  if (!converted &&
      (image.interpretation() != VIPS_INTERPRETATION_sRGB || image.format() != VIPS_FORMAT_UCHAR)) {
    image = image.colourspace(VIPS_INTERPRETATION_sRGB);
  }
  if (image.format() != VIPS_FORMAT_UCHAR) image = image.cast(VIPS_FORMAT_UCHAR);
  if (image.bands() < 3) image = image.colourspace(VIPS_INTERPRETATION_sRGB);
  if (image.bands() > 4) image = image.extract_band(0, VImage::option()->set("n", 4));
  return image;
}

// Converts what the decoder of a grey file produced (16 bits, a grey profile)
// to 8-bit grey with one channel, or two with alpha.
VImage toGrey8(VImage image) {
  if (image.get_typeof(VIPS_META_ICC_NAME) != 0) {
    try {
      image = image.icc_transform("srgb", VImage::option()->set("embedded", true)->set("depth", 8));
    } catch (const vips::VError&) {
      vips_error_clear();  // a broken profile: the values as they are
    }
  }
  if (image.interpretation() != VIPS_INTERPRETATION_B_W || image.format() != VIPS_FORMAT_UCHAR)
    image = image.colourspace(VIPS_INTERPRETATION_B_W);
  if (image.format() != VIPS_FORMAT_UCHAR) image = image.cast(VIPS_FORMAT_UCHAR);
  return image;
}

// The pages of the TIFF file at `path` that are pictures of their own, at
// most `pages` of them: a directory marked as a reduced-resolution copy of
// another (NewSubfileType bit 0: the levels of a pyramid, a thumbnail) is no
// frame. nullopt when the file cannot be read this way.
std::optional<int> fullResolutionPages(const fs::path& path, int pages) {
  // libtiff reports on the terminal unless each file has handlers of its own;
  // the decoder judges the file anyway.
  const auto quiet = [](TIFF*, void*, const char*, const char*, va_list) { return 1; };
  const Owned<TIFFOpenOptions, TIFFOpenOptionsFree> options(TIFFOpenOptionsAlloc());
  if (!options) return std::nullopt;
  TIFFOpenOptionsSetErrorHandlerExtR(options.get(), quiet, nullptr);
  TIFFOpenOptionsSetWarningHandlerExtR(options.get(), quiet, nullptr);
  TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), 16 << 20);
  const Owned<TIFF, TIFFClose> tiff(TIFFOpenExt(path.c_str(), "r", options.get()));
  if (!tiff) return std::nullopt;
  int full = 0;
  for (int page = 0; page < pages; ++page) {
    if (page > 0 && !TIFFReadDirectory(tiff.get())) break;
    uint32_t kind = 0;
    if (!TIFFGetField(tiff.get(), TIFFTAG_SUBFILETYPE, &kind) || !(kind & FILETYPE_REDUCEDIMAGE))
      ++full;
  }
  return full;
}

// True when `profile` is an RGB profile that maps every colour where sRGB
// does, to within two levels in eight bits (sRGB profiles of different
// makers differ by one; the nearest other spaces by dozens): pixels in it
// show as they would with no profile at all.
bool isSRGBProfile(const void* profile, size_t size) {
  const Owned<void, cmsCloseProfile> given(
      cmsOpenProfileFromMem(profile, static_cast<cmsUInt32Number>(size)));
  if (!given || cmsGetColorSpace(given.get()) != cmsSigRgbData) return false;
  const Owned<void, cmsCloseProfile> srgb(cmsCreate_sRGBProfile());
  const Owned<void, cmsDeleteTransform> transform(
      cmsCreateTransform(given.get(), TYPE_RGB_8, srgb.get(), TYPE_RGB_8,
                         INTENT_RELATIVE_COLORIMETRIC, cmsFLAGS_NOCACHE));
  if (!transform) return false;
  std::vector<unsigned char> in;
  for (int r = 0; r < 256; r += 15) {
    for (int g = 0; g < 256; g += 15) {
      for (int b = 0; b < 256; b += 15)
        in.insert(in.end(), {static_cast<unsigned char>(r), static_cast<unsigned char>(g),
                             static_cast<unsigned char>(b)});
    }
  }
  std::vector<unsigned char> out(in.size());
  cmsDoTransform(transform.get(), in.data(), out.data(),
                 static_cast<cmsUInt32Number>(in.size() / 3));
  for (size_t i = 0; i < in.size(); ++i) {
    if (std::abs(in[i] - out[i]) > 2) return false;
  }
  return true;
}

}  // namespace

std::optional<ImageSource> ImageSource::open(const fs::path& path) {
  detail::startImageLibrary();
  const std::vector<std::byte> head = readHead(path, 64);
  ImageSource source;
  source.path_ = path;
  if (detail::looksLikeBmp(head)) {
    const auto size = detail::bmpDimensions(head);
    if (!size) return std::nullopt;
    source.decoder_ = Decoder::bmp;
    std::tie(source.width_, source.height_) = *size;
    return source;
  }
  if (const auto size = declaredPngSize(head);
      size && !withinPixelBudget(size->first, size->second)) {
    source.decoder_ = Decoder::none;
    std::tie(source.width_, source.height_) = *size;
    return source;
  }
  if (isHeifContainer(head)) detail::loadHeifDecoder();
  VImage header;
  try {
    header = openForDecoding(path, isJpeg(head));
  } catch (const vips::VError&) {
    vips_error_clear();
    return std::nullopt;
  }
  source.decoder_ = Decoder::vips;
  source.jpeg_ = isJpeg(head);
  source.width_ = header.width();
  source.height_ = header.height();
  source.xres_ = header.xres();
  source.yres_ = header.yres();
  if (header.get_typeof(VIPS_META_N_PAGES) != 0) {
    source.frames_ = std::max(1, header.get_int(VIPS_META_N_PAGES));
  }
  const std::string_view loader = header.get_typeof(VIPS_META_LOADER) != 0
                                      ? std::string_view(header.get_string(VIPS_META_LOADER))
                                      : std::string_view();
  if (loader == "tiffload" && source.frames_ > 1) {
    if (const std::optional<int> pages = fullResolutionPages(path, source.frames_))
      source.frames_ = std::max(1, *pages);
  }
  if (header.get_typeof(VIPS_META_ORIENTATION) != 0) {
    const int orientation = header.get_int(VIPS_META_ORIENTATION);
    if (orientation >= 1 && orientation <= 8) source.orientation_ = orientation;
  }
  const bool upright = source.orientation_ == 1;
  const bool jpeg = loader == "jpegload";
  const auto srgbOrNoProfile = [&] {
    if (header.get_typeof(VIPS_META_ICC_NAME) == 0) return true;
    size_t size = 0;
    const void* profile = header.get_blob(VIPS_META_ICC_NAME, &size);
    return header.bands() == 3 && isSRGBProfile(profile, size);
  };
  source.grey_ = header.bands() <= 2 && header.get_image()->Coding == VIPS_CODING_NONE;
  source.plainJPEG_ = jpeg && (header.bands() == 1 || header.bands() == 3) &&
                      header.format() == VIPS_FORMAT_UCHAR && upright && srgbOrNoProfile();
  return source;
}

VImage ImageSource::uprightPixels(bool keepGrey) const {
  if (!withinPixelBudget(width_, height_)) throw Failure::tooLarge();
  // A fresh decoder each time: the header stays a header, and what a decoder
  // holds while it works (a progressive JPEG keeps every coefficient) goes as
  // soon as the pixels are out.
  const VImage decoded =
      decoder_ == Decoder::bmp ? detail::decodeBmp(path_) : openForDecoding(path_, jpeg_);
  VImage pixels = keepGrey && grey_ && decoded.bands() <= 2 ? toGrey8(decoded) : toSRGB8(decoded);
  const bool turned =
      pixels.get_typeof(VIPS_META_ORIENTATION) != 0 && pixels.get_int(VIPS_META_ORIENTATION) != 1;
  // Turning needs the pixels in any order, so the decoded frame is held first.
  if (turned) pixels = pixels.copy_memory().autorot();
  return pixels;
}

Image ImageSource::decode() const {
  try {
    return Image(uprightPixels().copy_memory());
  } catch (const vips::VError&) {
    vips_error_clear();
    throw Failure::unreadable(path_.filename().string());
  }
}

Image ImageSource::decodeReduced(int longestSide) const {
  if (!withinPixelBudget(width_, height_)) throw Failure::tooLarge();
  const auto fitted = [longestSide] {
    return VImage::option()->set("height", longestSide)->set("size", VIPS_SIZE_DOWN);
  };
  try {
    VImage pixels;
    if (decoder_ == Decoder::bmp) {
      pixels = toSRGB8(detail::decodeBmp(path_)).thumbnail_image(longestSide, fitted());
    } else {
      // The thumbnail operation picks the decoder's own reduction (a JPEG's
      // DCT scaling, HEIF's stored thumbnail, WebP's scaled decode) and turns
      // the picture upright.
      pixels = toSRGB8(VImage::thumbnail(path_.c_str(), longestSide, fitted()));
    }
    return Image(pixels.copy_memory());
  } catch (const vips::VError&) {
    vips_error_clear();
    throw Failure::unreadable(path_.filename().string());
  }
}

Image loadImage(const fs::path& url) {
  const std::optional<ImageSource> source = ImageSource::open(url);
  if (!source) throw Failure::unreadable(url.filename().string());
  return source->decode();
}

Failure discardedFrames() {
  return Failure::unsupported(translated(
      "This operation would discard additional image frames. Convert individual frames first."));
}

}  // namespace MediaEngine
