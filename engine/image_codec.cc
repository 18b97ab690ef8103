#include "engine/image_codec.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

#include "engine/bmp_codec.h"
#include "engine/codec_runtime.h"
#include "engine/external_encoders.h"
#include "engine/formats.h"
#include "engine/heif_codec.h"
#include "engine/pdf_pages.h"

namespace MediaEngine {
namespace {

namespace fs = std::filesystem;
using vips::VImage;

constexpr long long pixelBudget = 100'000'000;

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
  auto be32 = [&](size_t at) {
    return static_cast<long long>(
        static_cast<uint32_t>(head[at]) << 24 | static_cast<uint32_t>(head[at + 1]) << 16 |
        static_cast<uint32_t>(head[at + 2]) << 8 | static_cast<uint32_t>(head[at + 3]));
  };
  return std::pair(be32(16), be32(20));
}

VImage openForDecoding(const fs::path& path) {
  return VImage::new_from_file(path.c_str(), VImage::option()
                                                 ->set("access", VIPS_ACCESS_SEQUENTIAL)
                                                 ->set("fail_on", VIPS_FAIL_ON_TRUNCATED));
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

VImage flattenedOnWhite(const VImage& pixels) {
  return pixels.flatten(VImage::option()->set("background", std::vector<double>{255, 255, 255}))
      .cast(VIPS_FORMAT_UCHAR);
}

int vipsQuality(double quality, int lowest) {
  const long q = std::lround(quality * 100.0);
  return static_cast<int>(std::clamp<long>(q, lowest, 100));
}

Bytes adoptVipsBuffer(void* buffer, size_t size) { return Bytes::adopt(buffer, size, g_free); }

// PNG settings, measured in bench/RESULTS.md. Photographs: adaptive row
// filters shrink them by a fifth or more, and zlib level 4 writes files within
// 1 % of level 6 in a third of the time. Document pages (white paper, text):
// no row filter at all gives the smallest files, level 6 a quarter smaller
// than level 4 for little more time, and both run faster than the filters.
struct PngSettings {
  int compression;
  VipsForeignPngFilter filter;
};
constexpr PngSettings photographPng{4, VIPS_FOREIGN_PNG_FILTER_ALL};
constexpr PngSettings documentPng{6, VIPS_FOREIGN_PNG_FILTER_NONE};

// libvips 8.14 writes an EXIF chunk of its own making (orientation,
// resolution, version fields) into every WebP file, "strip" or not. The
// chunks that hold metadata are dropped here, and the extended header's flags
// for them cleared. Data that is not a well-formed WebP file is left alone.
Bytes withoutWebPMetadata(Bytes webp) {
  const auto* data = reinterpret_cast<const unsigned char*>(webp.data());
  const size_t size = webp.size();
  if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WEBP", 4) != 0)
    return webp;
  std::string kept(reinterpret_cast<const char*>(data), 12);
  bool dropped = false;
  for (size_t at = 12; at < size;) {
    if (at + 8 > size) return webp;
    const size_t length = size_t(data[at + 4]) | size_t(data[at + 5]) << 8 |
                          size_t(data[at + 6]) << 16 | size_t(data[at + 7]) << 24;
    const size_t whole = 8 + length + (length & 1);
    if (whole > size - at) return webp;
    const std::string_view fourCC(reinterpret_cast<const char*>(data + at), 4);
    if (fourCC == "EXIF" || fourCC == "XMP " || fourCC == "ICCP") {
      dropped = true;
    } else {
      kept.append(reinterpret_cast<const char*>(data + at), whole);
    }
    at += whole;
  }
  if (!dropped) return webp;
  if (kept.size() >= 21 && kept.compare(12, 4, "VP8X") == 0)
    kept[20] = static_cast<char>(kept[20] & ~0x2C);
  const size_t riff = kept.size() - 8;
  for (int i = 0; i < 4; ++i) kept[4 + i] = static_cast<char>((riff >> (8 * i)) & 0xFF);
  return Bytes::copyOf(kept);
}

std::optional<Bytes> saveWithLibrary(const VImage& image, std::string_view format, double quality,
                                     Content content = Content::photograph) {
  void* buffer = nullptr;
  size_t size = 0;
  int status = -1;
  VipsImage* in = image.get_image();
  if (format == "jpg") {
    status = vips_jpegsave_buffer(in, &buffer, &size, "Q", vipsQuality(quality, 1), "strip", TRUE,
                                  "optimize_coding", TRUE, nullptr);
  } else if (format == "png") {
    const PngSettings png = content == Content::document ? documentPng : photographPng;
    status = vips_pngsave_buffer(in, &buffer, &size, "compression", png.compression, "filter",
                                 png.filter, "strip", TRUE, nullptr);
  } else if (format == "webp") {
    status = vips_webpsave_buffer(in, &buffer, &size, "Q", vipsQuality(quality, 0), "strip", TRUE,
                                  nullptr);
  } else if (format == "tiff") {
    status = vips_tiffsave_buffer(in, &buffer, &size, "compression",
                                  VIPS_FOREIGN_TIFF_COMPRESSION_LZW, "predictor",
                                  VIPS_FOREIGN_TIFF_PREDICTOR_HORIZONTAL, "strip", TRUE, nullptr);
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
  if (format == "webp") return withoutWebPMetadata(adoptVipsBuffer(buffer, size));
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

}  // namespace

namespace detail {

Bytes handOffPNG(const Image& image) {
  void* buffer = nullptr;
  size_t size = 0;
  if (vips_pngsave_buffer(image.pixels().get_image(), &buffer, &size, "compression", 1, "filter",
                          VIPS_FOREIGN_PNG_FILTER_NONE, "strip", TRUE, nullptr) != 0) {
    vips_error_clear();
    throw Failure::encoding("The system PNG encoder failed.");
  }
  return adoptVipsBuffer(buffer, size);
}

}  // namespace detail

bool withinPixelBudget(long long width, long long height) {
  return width >= 1 && height >= 1 && width <= pixelBudget / height;
}

Image::Image(const VImage& pixels) {
  const VipsImageType type = pixels.get_image()->dtype;
  const VImage memory = type == VIPS_IMAGE_SETBUF || type == VIPS_IMAGE_SETBUF_FOREIGN
                            ? pixels
                            : pixels.copy_memory();
  VipsImage* owner = memory.get_image();
  VipsImage* bare =
      vips_image_new_from_memory(VIPS_IMAGE_ADDR(owner, 0, 0), VIPS_IMAGE_SIZEOF_IMAGE(owner),
                                 owner->Xsize, owner->Ysize, owner->Bands, owner->BandFmt);
  if (!bare) throw vips::VError();
  bare->Type = VIPS_INTERPRETATION_sRGB;
  // The bare header borrows the owner's pixels: it holds a reference to the
  // owner until it is closed itself, however long a copy of it lives.
  g_object_ref(owner);
  g_signal_connect(bare, "postclose",
                   G_CALLBACK(+[](VipsImage*, gpointer data) { g_object_unref(data); }), owner);
  pixels_ = VImage(bare);
}

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
    header = openForDecoding(path);
  } catch (const vips::VError&) {
    vips_error_clear();
    return std::nullopt;
  }
  source.decoder_ = Decoder::vips;
  source.width_ = header.width();
  source.height_ = header.height();
  if (header.get_typeof(VIPS_META_N_PAGES) != 0) {
    source.frames_ = std::max(1, header.get_int(VIPS_META_N_PAGES));
  }
  const bool upright =
      header.get_typeof(VIPS_META_ORIENTATION) == 0 || header.get_int(VIPS_META_ORIENTATION) == 1;
  source.plainJPEG_ = header.get_typeof(VIPS_META_LOADER) != 0 &&
                      std::string_view(header.get_string(VIPS_META_LOADER)) == "jpegload" &&
                      (header.bands() == 1 || header.bands() == 3) &&
                      header.format() == VIPS_FORMAT_UCHAR &&
                      header.get_typeof(VIPS_META_ICC_NAME) == 0 && upright;
  return source;
}

VImage ImageSource::uprightPixels() const {
  if (!withinPixelBudget(width_, height_)) throw Failure::tooLarge();
  // A fresh decoder each time: the header stays a header, and what a decoder
  // holds while it works (a progressive JPEG keeps every coefficient) goes as
  // soon as the pixels are out.
  VImage pixels =
      toSRGB8(decoder_ == Decoder::bmp ? detail::decodeBmp(path_) : openForDecoding(path_));
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

Image loadImage(const fs::path& url) {
  if (lowerExtension(url) == "pdf") return rasterize(pdf(url), 0);
  const std::optional<ImageSource> source = ImageSource::open(url);
  if (!source) throw Failure::unreadable(url.filename().string());
  return source->decode();
}

namespace {

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

}  // namespace

bool canEncode(std::string_view format) {
  detail::startImageLibrary();
  if (nativeEncoderTurnedOff(format)) return false;
  if (format == "heic") return detail::heifCanEncode(detail::HeifCodec::hevc);
  if (format == "avif") return detail::heifCanEncode(detail::HeifCodec::av1);
  if (format == "bmp") return detail::canEncodeBmp();
  const std::string probe = format == "jpg"    ? "x.jpg"
                            : format == "tiff" ? "x.tif"
                                               : "x." + std::string(format);
  return isRaster(format) && vips_foreign_find_save_buffer(probe.c_str()) != nullptr;
}

Bytes encodedImage(const ImageSource& source, std::string_view format, double quality) {
  // libheif, gdk-pixbuf and the external encoders want the whole frame at once.
  const bool streams = format == "jpg" || format == "png" || format == "webp" || format == "tiff";
  if (!streams || source.decoder_ != ImageSource::Decoder::vips || !canEncode(format)) {
    return encodedImage(source.decode(), format, quality);
  }
  VImage pixels;
  try {
    pixels = source.uprightPixels();
    if (format == "jpg" && pixels.bands() == 4) pixels = flattenedOnWhite(pixels);
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

Bytes encodedImage(const Image& image, std::string_view format, double quality, Content content) {
  if (!isRaster(format))
    throw Failure::unsupported("Unsupported image format: " + std::string(format));
  detail::startImageLibrary();
  const bool opaque = format == "jpg" || format == "bmp";
  if (!withinPixelBudget(image.width(), image.height())) throw Failure::tooLarge();

  VImage pixels = image.pixels();
  if (opaque && image.hasAlpha()) {
    try {
      pixels = flattenedOnWhite(pixels).copy_memory();
    } catch (const vips::VError&) {
      vips_error_clear();
      throw Failure::encoding("image rendering failed");
    }
  }
  if (canEncode(format)) {
    if (std::optional<Bytes> bytes = saveWithLibrary(pixels, format, quality, content))
      return std::move(*bytes);
  }
  if (format == "webp" || format == "avif") return externalEncode(Image(pixels), format, quality);
  throw Failure::encoding("The system " + upperCased(format) + " encoder failed.");
}

}  // namespace MediaEngine
