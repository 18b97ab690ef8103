// SPDX-License-Identifier: GPL-3.0-or-later
// BMP files are built byte by byte, so that header variants few writers produce are covered.
#include "image/bmp_codec.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "base/byte_order.h"
#include "image/image.h"
#include "image/image_decoding.h"
#include "image/image_encoding.h"
#include "tests/support/test_support.h"

namespace MediaEngine {
namespace {

using TestSupport::ScratchFolder;
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
