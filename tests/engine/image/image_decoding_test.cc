#include "image/image_decoding.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <functional>

#include "image/image.h"
#include "tests/support/test_support.h"
#include "whirlpane/formats.h"

namespace MediaEngine {
namespace {

using TestSupport::ScratchFolder;
using TestSupport::testPicture;
using vips::VImage;
namespace fs = std::filesystem;

// A PNG holding only a header that declares `width` x `height`, and a token
// of image data; enough for any decoder to report the size.
std::string pngDeclaring(uint32_t width, uint32_t height) {
  std::string png("\x89PNG\r\n\x1a\n", 8);
  auto put32 = [](std::string& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(value >> shift));
  };
  auto chunk = [&](std::string_view type, std::string_view data) {
    put32(png, static_cast<uint32_t>(data.size()));
    const size_t start = png.size();
    png.append(type);
    png.append(data);
    put32(png, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(png.data() + start),
                                           static_cast<uInt>(png.size() - start))));
  };
  std::string header;
  put32(header, width);
  put32(header, height);
  header.append("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB, no interlace
  chunk("IHDR", header);
  chunk("IDAT", std::string_view("\x78\x9c\x03\x00", 4));
  chunk("IEND", "");
  return png;
}

// The stored picture that a viewer turns into `upright` by honouring EXIF
// orientation `orientation`.
VImage storedFor(const VImage& upright, int orientation) {
  const VipsAngle turns[] = {VIPS_ANGLE_D0,  VIPS_ANGLE_D0,   VIPS_ANGLE_D180, VIPS_ANGLE_D180,
                             VIPS_ANGLE_D90, VIPS_ANGLE_D270, VIPS_ANGLE_D270, VIPS_ANGLE_D90};
  const VImage turned = upright.rot(turns[orientation - 1]);
  const bool mirrored =
      orientation == 2 || orientation == 4 || orientation == 5 || orientation == 7;
  return mirrored ? turned.fliphor() : turned;
}

TEST(LoadImage, HonoursAllEightOrientations) {
  ScratchFolder folder;
  const VImage upright = testPicture(120, 80);
  for (int orientation = 1; orientation <= 8; ++orientation) {
    for (const char* ext : {"tiff", "jpg"}) {
      VImage stored = storedFor(upright, orientation).copy();
      stored.set(VIPS_META_ORIENTATION, orientation);
      const fs::path path = folder / ("o" + std::to_string(orientation) + "." + ext);
      TestSupport::saveImage(stored, path, std::string(ext) == "jpg" ? "[Q=100]" : "");
      const Image image = loadImage(path);
      ASSERT_EQ(image.width(), 120) << path;
      ASSERT_EQ(image.height(), 80) << path;
      // The marker block sits in the top-left corner only when upright.
      EXPECT_GT(image.pixels().extract_area(2, 2, 20, 10)[2].avg(), 240) << path;
      EXPECT_LT(image.pixels().extract_area(98, 68, 20, 10)[2].avg(), 200) << path;
      EXPECT_LE(*TestSupport::maxDifference(image.pixels(), upright),
                std::string(ext) == "jpg" ? 40 : 0)
          << path;
    }
  }
}

TEST(LoadImage, ConvertsEveryColourLayoutTo8BitSRGB) {
  ScratchFolder folder;
  const VImage picture = testPicture(64, 48);
  struct Case {
    std::string name;
    VImage stored;
    std::string options;
    int bands;         // after loading
    double tolerance;  // largest difference from `expected`, or the mean one for JPEG
    VImage expected;
  };
  const VImage grey = picture.colourspace(VIPS_INTERPRETATION_B_W);
  const VImage withAlpha = testPicture(64, 48, 4);
  // Mid tones lie inside the CMYK gamut, so they survive the round trip.
  const VImage midTones =
      (picture * 0.5 + 64)
          .cast(VIPS_FORMAT_UCHAR)
          .copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
  std::vector<Case> cases{
      {"rgb16.png",
       (picture.cast(VIPS_FORMAT_USHORT) * 257)
           .cast(VIPS_FORMAT_USHORT)
           .copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_RGB16)),
       "", 3, 1, picture},
      {"rgba16.tiff",
       (withAlpha.cast(VIPS_FORMAT_USHORT) * 257)
           .cast(VIPS_FORMAT_USHORT)
           .copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_RGB16)),
       "", 4, 1, withAlpha},
      {"grey.png", grey, "", 3, 0, grey.bandjoin(grey).bandjoin(grey)},
      {"palette.png", picture, "[palette,colours=256]", 3, 40, picture},
      {"cmyk.jpg", midTones.icc_transform("cmyk", VImage::option()->set("input_profile", "srgb")),
       "[Q=100]", 3, 4, midTones},
      {"p3.png", picture.icc_transform("p3", VImage::option()->set("input_profile", "srgb")), "", 3,
       8, picture},
  };
  for (Case& c : cases) {
    const fs::path path = folder / c.name;
    TestSupport::saveImage(c.stored, path, c.options);
    const Image image = loadImage(path);
    EXPECT_EQ(image.pixels().format(), VIPS_FORMAT_UCHAR) << c.name;
    EXPECT_EQ(image.pixels().bands(), c.bands) << c.name;
    const auto difference = TestSupport::maxDifference(image.pixels(), c.expected);
    ASSERT_TRUE(difference) << c.name;
    if (c.name.ends_with(".jpg")) {
      EXPECT_LE(TestSupport::meanDifference(image.pixels(), c.expected), c.tolerance) << c.name;
    } else {
      EXPECT_LE(*difference, c.tolerance) << c.name;
    }
  }
  // The P3 file's stored values differ from sRGB; only honouring its profile
  // brings them back.
  EXPECT_GT(*TestSupport::maxDifference(TestSupport::loadWithVips(folder / "p3.png")
                                            .extract_band(0, VImage::option()->set("n", 3)),
                                        picture),
            10);
}

TEST(LoadImage, RefusesSizesOutsideTheBudgetBeforeDecoding) {
  ScratchFolder folder;
  const std::pair<uint32_t, uint32_t> refused[] = {
      {100001, 1000}, {0, 0}, {0, 10}, {10001, 10000}, {1, 100000001}};
  for (auto [width, height] : refused) {
    const fs::path path =
        folder / ("declared-" + std::to_string(width) + "x" + std::to_string(height) + ".png");
    TestSupport::writeFile(path, pngDeclaring(width, height));
    EXPECT_EQ(TestSupport::failureKind([&] { loadImage(path); }), Failure::Kind::tooLarge) << path;
  }
  const fs::path largest = folder / "largest.png";
  TestSupport::saveImage(VImage::black(10000, 10000), largest, "[compression=1]");
  EXPECT_EQ(loadImage(largest).width(), 10000);
}

// Damaged files of every format are refused in the pipeline's tests.
TEST(LoadImage, ForeignFilesAreUnreadableByName) {
  ScratchFolder folder;
  const std::pair<const char*, std::string> foreign[] = {
      {"notes.jpg", "Just some text, not an image.\n"},
      {"empty.png", ""},
      {"page.jpg", "%PDF-1.4\n1 0 obj<<>>endobj\n"},
      {"drawing.png", "<svg xmlns='http://www.w3.org/2000/svg' width='10' height='10'/>"},
      {"picture.jpg", "P6\n2 2\n255\n012345678901"},  // a PPM: a decoder that is not on the list
  };
  for (const auto& [name, content] : foreign) {
    const fs::path path = folder / name;
    TestSupport::writeFile(path, content);
    EXPECT_EQ(TestSupport::failureText([&] { loadImage(path); }),
              "Could not read " + std::string(name) + ". The file may be damaged or unsupported.");
  }
}

TEST(ImageSource, CountsFramesFromTheDecoder) {
  ScratchFolder folder;
  const VImage strip = testPicture(32, 96);  // three 32 x 32 pages
  VImage pages = strip.copy();
  pages.set(VIPS_META_PAGE_HEIGHT, 32);
  const std::pair<const char*, int> cases[] = {
      {"anim.gif", 3}, {"pages.tiff", 3}, {"anim.webp", 3}, {"pages.heic", 3}, {"still.png", 1}};
  for (auto [name, frames] : cases) {
    const fs::path path = folder / name;
    TestSupport::saveImage(std::string(name) == "still.png" ? strip : pages, path);
    const auto source = ImageSource::open(path);
    ASSERT_TRUE(source) << name;
    EXPECT_EQ(source->frameCount(), frames) << name;
  }
}
}  // namespace
}  // namespace MediaEngine
