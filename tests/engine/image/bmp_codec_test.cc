// BMP fixtures are built byte by byte here rather than saved with a codec, so
// that header variants and compressions that few writers produce are covered,
// and the expected pixels come from each fixture's own definition.
#include "image/bmp_codec.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "base/byte_order.h"
#include "image/image.h"
#include "image/image_decoding.h"
#include "image/image_encoding.h"
#include "tests/support/test_support.h"
#include "whirlpane/formats.h"

namespace MediaEngine {
namespace {

using TestSupport::ScratchFolder;
using Rows = std::vector<std::vector<uint32_t>>;  // top row first

constexpr uint32_t biRGB = 0, biRLE8 = 1, biRLE4 = 2, biBitfields = 3;

void put(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}
uint32_t get32(std::string_view bytes, size_t at) { return littleEndian<4>(bytes.data() + at); }

// One BMP file as stored; `data` is the pixel array exactly as it follows the
// headers, palette and masks.
struct BmpFile {
  int32_t width = 0;
  int32_t height = 0;  // negative: rows stored top row first
  uint16_t bits = 24;
  uint32_t compression = biRGB;
  uint32_t headerSize = 40;       // 12 core, 40 info, 108 V4, 124 V5
  std::vector<uint32_t> palette;  // 0xRRGGBB
  std::vector<uint32_t> masks;    // red, green, blue, alpha
  std::string data;

  std::string bytes() const {
    std::string info;
    put(info, headerSize, 4);
    const int side = headerSize == 12 ? 2 : 4;  // the core header stores 16-bit sides
    put(info, static_cast<uint32_t>(width), side);
    put(info, static_cast<uint32_t>(height), side);
    put(info, 1, 2);
    put(info, bits, 2);
    if (headerSize > 12) {
      put(info, compression, 4);
      put(info, static_cast<uint32_t>(data.size()), 4);
      put(info, 2835, 4);
      put(info, 2835, 4);
      put(info, static_cast<uint32_t>(palette.size()), 4);
      put(info, 0, 4);
      if (headerSize >= 108) {
        for (size_t i = 0; i < 4; ++i) put(info, i < masks.size() ? masks[i] : 0, 4);
        put(info, 0x73524742, 4);  // 'sRGB': the end points and gamma that follow are unused
        info.append(36 + 12, '\0');
        if (headerSize == 124) info.append(16, '\0');
      } else if (compression == biBitfields) {
        for (size_t i = 0; i < 3; ++i) put(info, masks.at(i), 4);
      }
    }
    for (uint32_t colour : palette) put(info, colour, headerSize == 12 ? 3 : 4);  // blue first
    std::string file = "BM";
    put(file, static_cast<uint32_t>(14 + info.size() + data.size()), 4);
    put(file, 0, 4);
    put(file, static_cast<uint32_t>(14 + info.size()), 4);
    return file + info + data;
  }
};

// The stored pixel array of `rows`: samples `bits` wide, the leftmost in a
// byte's high bits; 16-, 24- and 32-bit samples little-endian (so 0xRRGGBB is
// stored blue first); rows padded to four bytes, bottom row first unless `topDown`.
std::string packRows(const Rows& rows, unsigned bits, bool topDown = false) {
  std::string data;
  for (size_t i = 0; i < rows.size(); ++i) {
    const std::vector<uint32_t>& row = rows[topDown ? i : rows.size() - 1 - i];
    std::string line;
    if (bits < 8) {
      line.assign((row.size() * bits + 7) / 8, '\0');
      for (size_t x = 0; x < row.size(); ++x) {
        const size_t bit = x * bits;
        line[bit / 8] =
            static_cast<char>(static_cast<uint8_t>(line[bit / 8]) | row[x] << (8 - bits - bit % 8));
      }
    } else {
      for (uint32_t sample : row) put(line, sample, static_cast<int>(bits / 8));
    }
    line.resize((line.size() + 3) / 4 * 4, '\0');
    data += line;
  }
  return data;
}

template <typename Convert>
Rows mapRows(Rows rows, Convert convert) {
  for (auto& row : rows) {
    for (auto& sample : row) sample = convert(sample);
  }
  return rows;
}

Rows lookUp(const Rows& indices, const std::vector<uint32_t>& colours) {
  return mapRows(indices, [&](uint32_t index) { return colours.at(index); });
}

// Packs interleaved 8-bit samples into 0xRRGGBB(AA) words.
Rows rowsOf(const vips::VImage& pixels) {
  const auto* samples = static_cast<const uint8_t*>(pixels.data());
  Rows rows(static_cast<size_t>(pixels.height()));
  for (auto& row : rows) {
    for (int x = 0; x < pixels.width(); ++x) {
      uint32_t pixel = 0;
      for (int b = 0; b < pixels.bands(); ++b) pixel = pixel << 8 | *samples++;
      row.push_back(pixel);
    }
  }
  return rows;
}

// Colours whose channels all differ, so that a red/blue swap or a neighbouring
// palette index shows.
std::vector<uint32_t> palette(unsigned size) {
  std::vector<uint32_t> colours;
  for (uint32_t i = 0; i < size; ++i)
    colours.push_back(i << 16 | (255 - i) << 8 | ((i * 7 + 3) & 0xFF));
  return colours;
}

const Rows finePicture{
    {0x102030, 0x405060, 0x708090, 0xA0B0C0, 0xD0E0F0},
    {0x0A0B0C, 0xFF0001, 0x01FF02, 0x0203FF, 0x7F8081},
    {0xC0FFEE, 0xBADA55, 0x123456, 0x654321, 0x000000},
};
// Only full and empty channels, which every 5- and 6-bit expansion keeps exact.
const Rows primaryPicture{
    {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000},
    {0xFFFF00, 0x000000, 0x00FFFF, 0x000000, 0xFF00FF},
    {0x0000FF, 0xFF00FF, 0xFF0000, 0x00FFFF, 0xFFFF00},
};
// 0xRRGGBBAA, alpha varying from opaque to fully transparent.
const Rows translucentPicture{
    {0x112233FF, 0x44556680, 0x77889900},
    {0xAABBCC40, 0xDDEEFFC0, 0x102030FF},
};

uint32_t to555(uint32_t c) { return (c >> 19 & 31) << 10 | (c >> 11 & 31) << 5 | (c >> 3 & 31); }
uint32_t to565(uint32_t c) { return (c >> 19 & 31) << 11 | (c >> 10 & 63) << 5 | (c >> 3 & 31); }
uint32_t toArgb(uint32_t c) { return (c & 0xFF) << 24 | c >> 8; }
uint32_t toAbgr(uint32_t c) {
  return (c & 0xFF) << 24 | (c >> 8 & 0xFF) << 16 | (c >> 16 & 0xFF) << 8 | c >> 24;
}

std::string fromBytes(std::initializer_list<uint8_t> bytes) { return {bytes.begin(), bytes.end()}; }

// Stored bottom line first.
// clang-format off
const std::string rle8Stream = fromBytes({
    0x03, 0x01, 0x00, 0x03, 0x02, 0x03, 0x04, 0x00, 0x02, 0x05, 0x00, 0x00,  // 1 1 1 | 2 3 4 (padded) | 5 5
    0x02, 0x06, 0x00, 0x00,                                                  // 6 6, end of line
    0x01, 0x07, 0x00, 0x02, 0x03, 0x01,                                      // 7, then 3 right and 1 up
    0x04, 0x08, 0x00, 0x01,                                                  // 8 8 8 8, end of bitmap
});
const std::string rle4Stream = fromBytes({
    0x03, 0x12, 0x00, 0x05, 0x34, 0x56, 0x70, 0x00, 0x00, 0x00,  // 1 2 1 | 3 4 5 6 7 (padded), end of line
    0x00, 0x02, 0x02, 0x00, 0x04, 0x9A, 0x00, 0x01,              // 2 right, 9 A 9 A, end of bitmap
});
// clang-format on

struct ReadCase {
  std::string name;
  BmpFile file;
  Rows expected;  // 0xRRGGBB, or 0xRRGGBBAA when `alpha`
  bool alpha = false;
};

std::vector<ReadCase> readCases() {
  // clang-format off
  const Rows oneBit{{1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1}, {0, 1, 1, 0, 0, 0, 0, 0, 0, 1, 0},
                    {0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0}};
  const Rows fourBit{{0, 1, 2, 3, 4}, {15, 14, 13, 12, 11}, {5, 10, 6, 9, 7}};
  const Rows eightBit{{0, 255, 128}, {17, 200, 3}};
  const std::vector<uint32_t> twoColours{0x0A1B2C, 0xF0E1D2}, m565{0xF800, 0x07E0, 0x001F};
  const std::vector<uint32_t> argb{0xFF0000, 0xFF00, 0xFF, 0xFF000000}, abgr{0xFF, 0xFF00, 0xFF0000, 0xFF000000};
  const Rows as555 = mapRows(primaryPicture, to555), as565 = mapRows(primaryPicture, to565);
  const Rows translucentArgb = mapRows(translucentPicture, toArgb);
  const Rows translucentAbgr = mapRows(translucentPicture, toAbgr);
  // Pixels that an end of line, a delta or an early end of bitmap skips over
  // get no colour from the file and come out transparent.
  constexpr uint32_t _ = 99;
  const Rows rle8Indices{{_, _, _, _, 8, 8, 8, 8}, {7, _, _, _, _, _, _, _},
                         {6, 6, _, _, _, _, _, _}, {1, 1, 1, 2, 3, 4, 5, 5}};
  const Rows rle4Indices{{_, _, 9, 10, 9, 10, _, _}, {1, 2, 1, 3, 4, 5, 6, 7}};
  const Rows earlyEndIndices{{_, _, _, _}, {_, _, _, _}, {2, 2, 2, 2}};
  const std::string earlyEnd = fromBytes({0x04, 0x02, 0x00, 0x01});
  std::vector<uint32_t> withAlpha;
  for (uint32_t colour : palette(16)) withAlpha.push_back(colour << 8 | 0xFF);
  withAlpha.resize(_ + 1, 0x00000000);
  return {
      {"1-bit palette", {11, 3, 1, biRGB, 40, twoColours, {}, packRows(oneBit, 1)}, lookUp(oneBit, twoColours)},
      {"4-bit palette", {5, 3, 4, biRGB, 40, palette(16), {}, packRows(fourBit, 4)}, lookUp(fourBit, palette(16))},
      {"8-bit palette", {3, 2, 8, biRGB, 40, palette(256), {}, packRows(eightBit, 8)}, lookUp(eightBit, palette(256))},
      {"4-bit palette, top-down", {5, -3, 4, biRGB, 40, palette(16), {}, packRows(fourBit, 4, true)},
       lookUp(fourBit, palette(16))},
      {"4-bit palette, core header", {5, 3, 4, biRGB, 12, palette(16), {}, packRows(fourBit, 4)},
       lookUp(fourBit, palette(16))},
      {"16-bit 5-5-5", {5, 3, 16, biRGB, 40, {}, {}, packRows(as555, 16)}, primaryPicture},
      {"16-bit 5-6-5 bitfields", {5, 3, 16, biBitfields, 40, {}, m565, packRows(as565, 16)}, primaryPicture},
      {"24-bit", {5, 3, 24, biRGB, 40, {}, {}, packRows(finePicture, 24)}, finePicture},
      {"24-bit, top-down", {5, -3, 24, biRGB, 40, {}, {}, packRows(finePicture, 24, true)}, finePicture},
      {"24-bit, core header", {5, 3, 24, biRGB, 12, {}, {}, packRows(finePicture, 24)}, finePicture},
      {"32-bit, fourth byte zero", {5, 3, 32, biRGB, 40, {}, {}, packRows(finePicture, 32)}, finePicture},
      {"32-bit V4 bitfields with alpha", {3, 2, 32, biBitfields, 108, {}, argb, packRows(translucentArgb, 32)},
       translucentPicture, true},
      {"32-bit V4 bitfields, alpha zero everywhere",
       {5, 3, 32, biBitfields, 108, {}, argb, packRows(finePicture, 32)}, finePicture},
      {"32-bit V5 bitfields with alpha, bytes in RGBA order",
       {3, 2, 32, biBitfields, 124, {}, abgr, packRows(translucentAbgr, 32)}, translucentPicture, true},
      {"RLE8", {8, 4, 8, biRLE8, 40, palette(16), {}, rle8Stream}, lookUp(rle8Indices, withAlpha), true},
      {"RLE4", {8, 2, 4, biRLE4, 40, palette(16), {}, rle4Stream}, lookUp(rle4Indices, withAlpha), true},
      {"RLE8 ending early", {4, 3, 8, biRLE8, 40, palette(16), {}, earlyEnd}, lookUp(earlyEndIndices, withAlpha),
       true},
  };
  // clang-format on
}

TEST(BmpReading, DecodesEveryLayoutExactly) {
  ScratchFolder folder;
  for (const ReadCase& c : readCases()) {
    SCOPED_TRACE(c.name);
    const auto path = folder / "fixture.bmp";
    TestSupport::writeFile(path, c.file.bytes());
    const Image image = loadImage(path);
    EXPECT_EQ(image.width(), static_cast<int>(c.expected.front().size()));
    EXPECT_EQ(image.height(), static_cast<int>(c.expected.size()));
    EXPECT_EQ(image.hasAlpha(), c.alpha);
    EXPECT_EQ(rowsOf(image.pixels()), c.expected);
  }
}

template <typename Action>
void expectFailure(Action action, Failure::Kind kind, const std::string& payload) {
  try {
    action();
    ADD_FAILURE() << "no failure";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.kind(), kind);
    EXPECT_EQ(failure.payload(), payload);
  }
}

std::string patched(std::string bytes, size_t at, uint32_t value, size_t width) {
  for (size_t i = 0; i < width; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return bytes;
}

TEST(BmpReading, RefusesTruncatedOrDamagedFilesNamingThem) {
  const Rows four(3, {0x102030, 0x405060, 0x708090, 0xA0B0C0});
  const std::string good = BmpFile{4, 3, 24, biRGB, 40, {}, {}, packRows(four, 24)}.bytes();
  const Rows indices{{0, 1, 2}, {3, 4, 5}};
  const std::string paletted =
      BmpFile{3, 2, 8, biRGB, 40, palette(256), {}, packRows(indices, 8)}.bytes();
  const BmpFile rle8{8, 4, 8, biRLE8, 40, palette(16), {}, rle8Stream.substr(0, 24)};
  const BmpFile rle4{8, 2, 4, biRLE4, 40, palette(16), {}, rle4Stream.substr(0, 6)};
  const std::vector<std::pair<std::string, std::string>> cases{
      {"cut in the pixel data.bmp", good.substr(0, 54 + 18)},
      {"last byte missing.bmp", good.substr(0, good.size() - 1)},
      {"cut in the palette.bmp", paletted.substr(0, 54 + 100)},
      {"cut in the header.bmp", good.substr(0, 30)},
      {"header size 7.bmp", patched(good, 14, 7, 4)},
      {"7 bits per pixel.bmp", patched(good, 28, 7, 2)},
      {"24-bit RLE8.bmp", patched(good, 30, biRLE8, 4)},
      {"unknown compression.bmp", patched(good, 30, 77, 4)},
      {"pixels past the end.bmp", patched(good, 10, 0x10000, 4)},
      {"RLE8 without its end.bmp", rle8.bytes()},
      {"RLE4 cut in a run.bmp", rle4.bytes()},
      // The decoder would reserve 16 GB for this palette, and buffer 2 GB
      // on the way to these pixels, before finding the file too short.
      {"palette of 4 billion colours.bmp", patched(paletted, 46, 0xFFFF0000, 4)},
      {"pixels 2 GB away.bmp", patched(good, 10, 0x80000036, 4)},
  };
  ScratchFolder folder;
  rusage before{};
  ::getrusage(RUSAGE_SELF, &before);
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    TestSupport::writeFile(folder / name, bytes);
    expectFailure([&] { loadImage(folder / name); }, Failure::Kind::unreadable, name);
  }
  rusage after{};
  ::getrusage(RUSAGE_SELF, &after);
  EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 100 * 1024) << "KiB of peak memory added";
  // The oversized palette is refused from the header, before the decoder sees it.
  const std::string huge = patched(paletted, 46, 0xFFFF0000, 4);
  EXPECT_FALSE(detail::bmpDimensions(std::as_bytes(std::span(huge.data(), 64))));
  EXPECT_TRUE(detail::bmpDimensions(std::as_bytes(std::span(paletted.data(), 64))));
}

TEST(BmpReading, RefusesDimensionsOutsideTheBudgetBeforeDecoding) {
  constexpr int32_t lowest = std::numeric_limits<int32_t>::min();
  const std::string few(64, '\x7f');
  const std::vector<std::pair<std::string, BmpFile>> cases{
      {"100001 x 1000", {100'001, 1000, 24, biRGB, 40, {}, {}, few}},
      {"1000 x -100001", {1000, -100'001, 24, biRGB, 40, {}, {}, few}},
      {"0 x 0", {0, 0, 24, biRGB, 40, {}, {}, {}}},
      {"1 x INT32_MIN", {1, lowest, 24, biRGB, 40, {}, {}, few}},
      {"INT32_MIN x 1", {lowest, 1, 24, biRGB, 40, {}, {}, few}},
      {"core 65535 x 65535", {65535, 65535, 24, biRGB, 12, {}, {}, few}},
  };
  ScratchFolder folder;
  for (const auto& [name, file] : cases) {
    SCOPED_TRACE(name);
    TestSupport::writeFile(folder / "huge.bmp", file.bytes());
    expectFailure([&] { loadImage(folder / "huge.bmp"); }, Failure::Kind::tooLarge, "");
  }
}

// The stored rows are checked byte for byte, so that a fault the engine's
// reader shares with its writer cannot hide; row padding must be zeros, not
// stray memory.
TEST(BmpWriting, WritesOpaque24BitRowsThatReadBackExactly) {
  const vips::VImage picture = TestSupport::testPicture(7, 5);
  const std::string file(encodedImage(Image(picture), "bmp", 0.9).text());
  ASSERT_GE(file.size(), 54u);
  EXPECT_EQ(file.substr(0, 2), "BM");
  EXPECT_EQ(std::vector<uint32_t>({get32(file, 2), get32(file, 18), get32(file, 22),
                                   get32(file, 28) & 0xFFFF, get32(file, 30)}),
            std::vector<uint32_t>({static_cast<uint32_t>(file.size()), 7, 5, 24, biRGB}));
  ASSERT_LE(get32(file, 10), file.size());
  EXPECT_EQ(file.substr(get32(file, 10)), packRows(rowsOf(picture), 24));
  ScratchFolder folder;
  TestSupport::writeFile(folder / "out.bmp", file);
  EXPECT_EQ(TestSupport::maxDifference(loadImage(folder / "out.bmp").pixels(), picture), 0.0);
}

}  // namespace
}  // namespace MediaEngine
