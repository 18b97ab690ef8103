// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/image_decoding.h"

#include <gtest/gtest.h>

#include "image/image.h"
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

}  // namespace
}  // namespace MediaEngine
