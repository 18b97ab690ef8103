// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures decoded upright to 8-bit sRGB from every layout, and encoded to
// every raster format and read back by another decoder; BMP files built byte
// by byte, so that header variants few writers produce are covered.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "base/byte_order.h"
#include "image/bmp_codec.h"
#include "image/image.h"
#include "image/image_decoding.h"
#include "image/image_encoding.h"
#include "tests/support/test_support.h"
#include "whirlpane/formats.h"

namespace MediaEngine {
namespace {

using TestSupport::ScratchFolder;
using TestSupport::testPicture;
using vips::VImage;

TEST(LoadImage, DecodesEveryLayoutUprightTo8BitSRGB) {
  ScratchFolder folder;
  const VImage picture = testPicture(64, 48);
  const auto wide = [](const VImage& image) {
    return (image.cast(VIPS_FORMAT_USHORT) * 257)
        .cast(VIPS_FORMAT_USHORT)
        .copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_RGB16));
  };
  // Mid tones lie inside the CMYK gamut, so they survive the round trip.
  const VImage midTones = (picture * 0.5 + 64).cast(VIPS_FORMAT_UCHAR);
  const VImage cmyk =
      midTones.icc_transform("cmyk", VImage::option()->set("input_profile", "srgb"));
  struct Case {
    std::string name;
    VImage stored;
    const char* options;
    VImage expected;
    double tolerance;  // the largest difference, or for JPEG the mean one
  };
  std::vector<Case> cases{
      {"rgb16.png", wide(picture), "", picture, 1},
      {"cmyk.jpg", cmyk, "[Q=100]", midTones, 4},
  };
  // Each EXIF orientation: the picture stored turned, then mirrored.
  const VipsAngle turns[] = {VIPS_ANGLE_D0,  VIPS_ANGLE_D0,   VIPS_ANGLE_D180, VIPS_ANGLE_D180,
                             VIPS_ANGLE_D90, VIPS_ANGLE_D270, VIPS_ANGLE_D270, VIPS_ANGLE_D90};
  for (int orientation = 1; orientation <= 8; ++orientation) {
    VImage stored = picture.rot(turns[orientation - 1]);
    if (orientation == 2 || orientation == 4 || orientation == 5 || orientation == 7)
      stored = stored.fliphor();
    stored = stored.copy();
    stored.set(VIPS_META_ORIENTATION, orientation);
    cases.push_back(
        {"turned" + std::to_string(orientation) + ".jpg", stored, "[Q=100]", picture, 2});
  }
  for (const auto& c : cases) {
    TestSupport::saveImage(c.stored, folder / c.name, c.options);
    const VImage pixels = loadImage(folder / c.name).pixels();
    EXPECT_EQ(pixels.format(), VIPS_FORMAT_UCHAR) << c.name;
    ASSERT_TRUE(TestSupport::maxDifference(pixels, c.expected)) << c.name << ": size or bands";
    EXPECT_LE(c.name.ends_with("jpg") ? TestSupport::meanDifference(pixels, c.expected)
                                      : *TestSupport::maxDifference(pixels, c.expected),
              c.tolerance)
        << c.name;
  }
}

TEST(LoadImage, RefusesSizesOutsideTheBudgetBeforeDecoding) {
  ScratchFolder folder;
  TestSupport::saveImage(VImage::black(10000, 10000), folder / "largest.png", "[compression=1]");
  EXPECT_EQ(loadImage(folder / "largest.png").width(), 10000);
  // The same file declaring other sizes, its header's checksum now wrong:
  // only a decoder that reads past the declaration finds that.
  const std::string png = TestSupport::readFile(folder / "largest.png");
  const std::pair<uint32_t, uint32_t> refused[] = {
      {100001, 1000}, {0, 0}, {0, 10}, {10001, 10000}, {1, 100000001}};
  for (auto [width, height] : refused) {
    std::string declared = png;
    for (int i = 0; i < 4; ++i) {
      declared[16 + i] = static_cast<char>(width >> (24 - 8 * i));
      declared[20 + i] = static_cast<char>(height >> (24 - 8 * i));
    }
    TestSupport::writeFile(folder / "declared.png", declared);
    EXPECT_EQ(TestSupport::failureKind([&] { loadImage(folder / "declared.png"); }),
              Failure::Kind::tooLarge)
        << width << " x " << height;
  }
}

TEST(ImageSource, CountsFramesAndRefusesForeignFilesByName) {
  ScratchFolder folder;
  VImage pages = testPicture(32, 96).copy();  // three 32 x 32 pages
  pages.set(VIPS_META_PAGE_HEIGHT, 32);
  TestSupport::saveImage(pages, folder / "pages.heic");
  EXPECT_EQ(ImageSource::open(folder / "pages.heic").value().frameCount(), 3);
  const std::pair<const char*, std::string> foreign[] = {
      {"page.jpg", "%PDF-1.4\n1 0 obj<<>>endobj\n"},
      {"drawing.png", "<svg xmlns='http://www.w3.org/2000/svg' width='10' height='10'/>"},
      {"picture.jpg", "P6\n2 2\n255\n012345678901"},  // a PPM: a decoder that is not on the list
  };
  for (const auto& [name, content] : foreign) {
    TestSupport::writeFile(folder / name, content);
    EXPECT_EQ(TestSupport::failureText([&] { loadImage(folder / name); }),
              "Could not read " + std::string(name) + ". The file may be damaged or unsupported.");
  }
}

// What an independent decoder makes of `bytes` (the engine's own for BMP,
// which libvips does not read), grey (and alpha) widened to the `bands` given.
VImage decoded(const Bytes& bytes, std::string_view format, int bands) {
  ScratchFolder folder;
  TestSupport::writeFile(folder / "decoded.bmp", bytes.text());
  VImage d = format == "bmp" ? loadImage(folder / "decoded.bmp").pixels()
                             : VImage::new_from_buffer(bytes.data(), bytes.size(), "");
  if (d.bands() < 3 && bands >= 3) d = VImage::bandjoin({d[0], d[0], d});
  return d.copy_memory();
}

TEST(EncodedImage, EveryRasterFormatDecodesBackToThePictureItWasGiven) {
  const struct {
    const char* format;
    bool lossless, exactAlpha;  // exactAlpha: false where alpha is flattened or lossy
  } formats[] = {{"jpg", false, false},  {"png", true, true},  {"webp", false, true},
                 {"heic", false, false}, {"tiff", true, true}, {"avif", false, false},
                 {"bmp", true, false}};
  const Image opaque(testPicture(200, 120));
  const Image clear(testPicture(64, 64, 4));  // alpha 0 at the left edge, 255 at the right
  for (const auto& [format, lossless, exactAlpha] : formats) {
    const VImage back = decoded(encodedImage(opaque, format, 0.9), format, 3);
    ASSERT_TRUE(TestSupport::maxDifference(back, opaque.pixels())) << format << ": size or bands";
    EXPECT_LE(lossless ? *TestSupport::maxDifference(back, opaque.pixels())
                       : TestSupport::meanDifference(back, opaque.pixels()),
              lossless ? 0 : 3)
        << format;
    const VImage alpha = decoded(encodedImage(clear, format, 0.9), format, 4);
    if (std::string_view(format) == "jpg" || std::string_view(format) == "bmp") {
      EXPECT_EQ(alpha.bands(), 3) << format;
      EXPECT_GE(alpha.extract_area(0, 0, 1, 64).min(), 245) << format << ": not flattened on white";
    } else if (exactAlpha) {
      EXPECT_EQ(TestSupport::maxDifference(alpha[3], clear.pixels()[3]), 0) << format;
    } else {
      EXPECT_LE(alpha[3].extract_area(0, 0, 1, 64).max(), 8) << format;
      EXPECT_GE(alpha[3].extract_area(63, 0, 1, 64).min(), 247) << format;
    }
    if (!lossless) {
      EXPECT_LT(encodedImage(opaque, format, 0.1).size(), encodedImage(opaque, format, 0.95).size())
          << format << ": the quality does not reach the encoder";
    }
  }
}

// Whether every chunk's CRC holds and the joined IDAT data inflate, with zlib
// checking the stream's Adler-32, to `rowBytes` × rows: libpng as libvips
// calls it lets both sums pass unchecked.
bool sumsHold(const Bytes& png, size_t expectedSize) {
  const std::string_view text = png.text();
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const auto word = [&](size_t at) { return bigEndian<4>(bytes + at); };
  std::string idat;
  for (size_t at = 8; at + 12 <= png.size();) {
    const size_t length = word(at);
    if (at + 12 + length > png.size()) return false;
    if (crc32_z(0, bytes + at + 4, length + 4) != word(at + 8 + length)) return false;
    if (text.substr(at + 4, 4) == "IDAT") idat.append(text.substr(at + 8, length));
    at += 12 + length;
  }
  std::string raw(expectedSize + 1, '\0');
  uLongf rawSize = raw.size();
  return uncompress(reinterpret_cast<Bytef*>(raw.data()), &rawSize,
                    reinterpret_cast<const Bytef*>(idat.data()), idat.size()) == Z_OK &&
         rawSize == expectedSize;
}

// The PNG writer deflates pieces of about a megabyte apart and joins them, and
// writes a page as grey or as a palette where either holds it exactly.
TEST(EncodedImage, PngsAreWholeAndPagesTakeTheFewestChannelsThatHoldThem) {
  const VImage noise = TestSupport::noisePicture(1000, 800), smooth = testPicture(1000, 800, 4);
  const VImage grey = VImage::bandjoin({smooth[1], smooth[1], smooth[1]});
  const VImage posterised =
      (smooth.extract_band(0, VImage::option()->set("n", 3)) / 64).cast(VIPS_FORMAT_UCHAR) * 64;
  const auto colours = [](int n) {  // n different colours in one row
    const VImage x = VImage::xyz(n, 1)[0];
    return VImage::bandjoin({x & 255, x / 2, x * 0 + 7});
  };
  const struct {
    const char* name;
    VImage pixels;
    Content content;
    int colourType;
  } cases[] = {
      {"photograph", noise, Content::photograph, 2},
      // Pieces deflated at different levels join into one stream.
      {"grain below smooth",
       smooth.extract_band(0, VImage::option()->set("n", 3))
           .insert(noise.crop(0, 0, 1000, 400), 0, 400),
       Content::photograph, 2},
      {"grey page", grey, Content::document, 0},
      {"64 colours, some clear", posterised.bandjoin(smooth[3] > 128), Content::document, 3},
      {"256 colours", colours(256), Content::document, 3},
      {"257 colours", colours(257), Content::document, 2},
  };
  for (const auto& c : cases) {
    const Image image(c.pixels.cast(VIPS_FORMAT_UCHAR));
    const Bytes png = encodedImage(image, "png", 0.9, c.content);
    EXPECT_EQ(std::to_integer<int>(png.data()[25]), c.colourType) << c.name;
    const int samples = c.colourType == 2 ? 3 : 1;  // RGB; grey or palette
    EXPECT_TRUE(sumsHold(png, static_cast<size_t>(c.pixels.height()) *
                                  (1 + static_cast<size_t>(c.pixels.width()) * samples)))
        << c.name;
    EXPECT_EQ(TestSupport::maxDifference(decoded(png, "png", c.pixels.bands()), image.pixels()), 0)
        << c.name;
  }
}

using Rows = std::vector<std::vector<uint32_t>>;  // top row first; 0xRRGGBB or 0xRRGGBBAA
enum Compression : uint32_t { rgb, rle8, rle4, bitfields };

std::string le(uint64_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i));
  return out;
}

struct BmpFile {
  int32_t width, height;  // a negative height stores the top row first
  uint16_t bits = 24;
  uint32_t compression = rgb;
  uint32_t headerSize = 40;       // 12 core, 40 info, 108 V4, 124 V5
  std::vector<uint32_t> palette;  // 0xRRGGBB
  std::vector<uint32_t> masks;    // red, green, blue, alpha
  std::string data;               // the pixel array as stored

  std::string bytes() const {
    const int side = headerSize == 12 ? 2 : 4;
    std::string info =
        le(headerSize, 4) + le(width, side) + le(height, side) + le(1, 2) + le(bits, 2);
    if (headerSize > 12) {
      info += le(compression, 4) + le(data.size(), 4) + le(2835, 4) + le(2835, 4) +
              le(palette.size(), 4) + le(0, 4);
      const size_t maskCount = headerSize >= 108 ? 4 : compression == bitfields ? 3 : 0;
      for (size_t i = 0; i < maskCount; ++i) info += le(i < masks.size() ? masks[i] : 0, 4);
      // 'sRGB', so the end points and gammas that follow go unused.
      if (headerSize >= 108) info += le(0x73524742, 4) + std::string(headerSize - 60, '\0');
    }
    for (uint32_t colour : palette) info += le(colour, headerSize == 12 ? 3 : 4);
    return "BM" + le(14 + info.size() + data.size(), 4) + le(0, 4) + le(14 + info.size(), 4) +
           info + data;
  }
};

// The stored pixel array: samples little-endian (0xRRGGBB stored blue first),
// rows padded to four bytes, bottom row first unless `topDown`.
std::string pack(const Rows& rows, unsigned bits, bool topDown = false) {
  std::string data;
  for (size_t i = 0; i < rows.size(); ++i) {
    std::string line;
    for (uint32_t sample : rows[topDown ? i : rows.size() - 1 - i])
      line += le(sample, static_cast<int>(bits / 8));
    data += line + std::string((4 - line.size() % 4) % 4, '\0');
  }
  return data;
}

Rows lookUp(Rows rows, const std::vector<uint32_t>& colours) {
  for (auto& row : rows) {
    for (auto& sample : row) sample = colours.at(sample);
  }
  return rows;
}

// Colour indices below `count`, in no simple order.
Rows indices(uint32_t width, uint32_t height, uint32_t count) {
  Rows rows(height, std::vector<uint32_t>(width));
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) rows[y][x] = (x * 97 + y * 59 + x * y * 31) % count;
  }
  return rows;
}

// Colours whose channels all differ, so that a red/blue swap or a wrong index shows.
std::vector<uint32_t> palette(uint32_t size) {
  std::vector<uint32_t> colours;
  for (uint32_t i = 0; i < size; ++i)
    colours.push_back(i << 16 | (255 - i) << 8 | (i * 7 + 3) % 256);
  return colours;
}

// Decoded 8-bit samples packed as 0xRRGGBB(AA) words.
Rows rowsOf(const vips::VImage& pixels) {
  const auto* samples = static_cast<const uint8_t*>(pixels.data());
  Rows rows(static_cast<size_t>(pixels.height()), std::vector<uint32_t>(pixels.width()));
  for (auto& row : rows) {
    for (auto& pixel : row) {
      for (int b = 0; b < pixels.bands(); ++b) pixel = pixel << 8 | *samples++;
    }
  }
  return rows;
}

const Rows fine = lookUp(indices(5, 3, 256), palette(256));
const Rows seeThrough{{0x112233FF, 0x44556680, 0x77889900}, {0xAABBCC40, 0xDDEEFFC0, 0x102030FF}};

// Stored bottom line first; 99 marks the pixels that an end of line, a delta
// or an early end skips, which come out transparent.
const std::string rle8Stream{
    "\x03\x01\x00\x03\x02\x03\x04\x00\x02\x05\x00\x00"  // 1 1 1 | 2 3 4 (padded) | 5 5, end of line
    "\x02\x06\x00\x00"                                  // 6 6, end of line
    "\x01\x07\x00\x02\x03\x01"                          // 7, then 3 right and 1 up
    "\x04\x08\x00\x01",                                 // 8 8 8 8, end of bitmap
    26};
const Rows rle8Indices{{99, 99, 99, 99, 8, 8, 8, 8},
                       {7, 99, 99, 99, 99, 99, 99, 99},
                       {6, 6, 99, 99, 99, 99, 99, 99},
                       {1, 1, 1, 2, 3, 4, 5, 5}};

TEST(BmpReading, DecodesEveryLayoutExactly) {
  const Rows low = indices(5, 3, 16);  // into a palette of 16
  const std::vector<uint32_t> p16 = palette(16), mRgba{0xFF000000, 0xFF0000, 0xFF00, 0xFF};
  std::vector<uint32_t> withAlpha(100, 0);  // 0xRRGGBBAA
  for (uint32_t i = 0; i < 16; ++i) withAlpha[i] = p16[i] << 8 | 0xFF;
  const struct {
    const char* name;
    BmpFile file;
    Rows expected;
    bool alpha = false;
  } cases[] = {
      {"8-bit top-down", {5, -3, 8, rgb, 40, p16, {}, pack(low, 8, true)}, lookUp(low, p16)},
      {"24-bit core header", {5, 3, 24, rgb, 12, {}, {}, pack(fine, 24)}, fine},
      {"32-bit, fourth byte zero", {5, 3, 32, rgb, 40, {}, {}, pack(fine, 32)}, fine},
      {"32-bit V4 with alpha",
       {3, 2, 32, bitfields, 108, {}, mRgba, pack(seeThrough, 32)},
       seeThrough,
       true},
      {"RLE8", {8, 4, 8, rle8, 40, p16, {}, rle8Stream}, lookUp(rle8Indices, withAlpha), true},
  };
  ScratchFolder folder;
  for (const auto& c : cases) {
    TestSupport::writeFile(folder / "fixture.bmp", c.file.bytes());
    const Image image = loadImage(folder / "fixture.bmp");
    EXPECT_EQ(image.hasAlpha(), c.alpha) << c.name;
    EXPECT_EQ(rowsOf(image.pixels()), c.expected) << c.name;
  }
}

std::string patched(std::string bytes, size_t at, uint32_t value, int width = 4) {
  return bytes.replace(at, static_cast<size_t>(width), le(value, width));
}

// The process's address space, now and at its peak, in KiB.
std::pair<long, long> addressSpace() {
  std::ifstream status("/proc/self/status");
  long size = 0, peak = 0;
  for (std::string key; status >> key;) {
    if (key == "VmPeak:") status >> peak;
    if (key == "VmSize:") status >> size;
  }
  return {size, peak};
}

TEST(BmpReading, RefusesDamagedAndOversizedFilesBeforeReservingMemory) {
  const std::string good =
      BmpFile{4, 3, 24, rgb, 40, {}, {}, pack(indices(4, 3, 1 << 24), 24)}.bytes();
  const std::string paletted =
      BmpFile{3, 2, 8, rgb, 40, palette(256), {}, pack(indices(3, 2, 256), 8)}.bytes();
  constexpr int32_t lowest = std::numeric_limits<int32_t>::min();
  const std::string few(64, '\x7f');
  // Each file, and whether it is refused as too large rather than as damaged.
  const std::pair<std::string, bool> cases[] = {
      {good.substr(0, 54 + 18), false},  // cut in the pixels
      {BmpFile{8, 4, 8, rle8, 40, palette(16), {}, rle8Stream.substr(0, 24)}.bytes(), false},
      {patched(good, 14, 7), false},  // header size
      {patched(good, 10, 0x10000), false},
      // The decoder would reserve 16 GB for this palette, 2 GB for this offset.
      {patched(paletted, 46, 0xFFFF0000), false},
      {patched(good, 10, 0x80000036), false},
      {BmpFile{100'001, 1000, 24, rgb, 40, {}, {}, few}.bytes(), true},
      {BmpFile{0, 0, 24, rgb, 40, {}, {}, {}}.bytes(), true},
      {BmpFile{1, lowest, 24, rgb, 40, {}, {}, few}.bytes(), true},
  };
  ScratchFolder folder;
  [[maybe_unused]] const auto [size, peak] = addressSpace();
  for (size_t i = 0; i < std::size(cases); ++i) {
    const std::string name = "case " + std::to_string(i) + ".bmp";
    TestSupport::writeFile(folder / name, cases[i].first);
    EXPECT_EQ(TestSupport::failureText([&] { loadImage(folder / name); }),
              cases[i].second
                  ? "This file is too large to process safely at full resolution."
                  : "Could not read " + name + ". The file may be damaged or unsupported.");
  }
#if !defined(__SANITIZE_ADDRESS__)  // the sanitizer's own reservations would count too
  EXPECT_LT(addressSpace().second, std::max(peak, size + (1L << 20))) << "KiB";
#endif
}

// The stored rows are compared byte for byte, so that a fault the reader
// shares with the writer cannot hide, and row padding must be zeros.
TEST(BmpWriting, WritesOpaque24BitRowsThatReadBackExactly) {
  const vips::VImage picture = TestSupport::testPicture(7, 5);
  const std::string file(encodedImage(Image(picture), "bmp", 0.9).text());
  ASSERT_GE(file.size(), 54u);
  const auto at = [&](size_t offset) { return littleEndian<4>(file.data() + offset); };
  EXPECT_EQ(file.substr(0, 2), "BM");
  EXPECT_EQ(std::vector<uint32_t>({at(2), at(18), at(22), at(28) & 0xFFFF, at(30)}),
            std::vector<uint32_t>({static_cast<uint32_t>(file.size()), 7, 5, 24, rgb}));
  EXPECT_EQ(file.substr(std::min<size_t>(at(10), file.size())), pack(rowsOf(picture), 24));
  ScratchFolder folder;
  TestSupport::writeFile(folder / "out.bmp", file);
  EXPECT_EQ(TestSupport::maxDifference(loadImage(folder / "out.bmp").pixels(), picture), 0.0);
}

}  // namespace
}  // namespace MediaEngine
