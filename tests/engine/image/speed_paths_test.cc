#include <gtest/gtest.h>

#include <vector>

#include "image/png_writer.h"
#include "image/webp_encoder.h"
#include "tests/support/test_support.h"

namespace MediaEngine::detail {
namespace {

using TestSupport::ScratchFolder;
using vips::VImage;

int colourType(const Bytes& png) { return std::to_integer<int>(png.data()[25]); }

VImage asGrey(const VImage& band) {
  return band.copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_B_W));
}

// What libvips (libpng below it) reads back, widened to `bands` as the
// pixels handed to the writer had them.
VImage decodedAs(const Bytes& png, int bands) {
  VImage d = VImage::new_from_buffer(png.data(), png.size(), "").copy_memory();
  if (d.bands() == 1 && bands >= 3) d = d.bandjoin(d).bandjoin(d);
  if (d.bands() == 2 && bands == 4) d = d[0].bandjoin(d[0]).bandjoin(d[0]).bandjoin(d[1]);
  return d;
}

// Over a megabyte of rows, so that every picture is deflated in several pieces.
TEST(PngWriter, PiecesDeflatedApartDecodeToThePixelsInEveryLayout) {
  const VImage noise = TestSupport::noisePicture(900, 700);
  const VImage smooth = TestSupport::testPicture(900, 700, 4);
  const struct {
    VImage pixels;
    int type;
  } cases[] = {
      {noise, 2}, {smooth, 6}, {asGrey(noise[1]), 0}, {asGrey(noise[0].bandjoin(smooth[3])), 4}};
  for (const auto& c : cases) {
    for (PngRowFilter filter : {PngRowFilter::adaptive, PngRowFilter::none}) {
      const std::optional<Bytes> png = encodePng(c.pixels, {4, filter, false});
      ASSERT_TRUE(png);
      EXPECT_EQ(colourType(*png), c.type);
      EXPECT_EQ(TestSupport::maxDifference(decodedAs(*png, c.pixels.bands()), c.pixels), 0)
          << "colour type " << c.type;
    }
  }
}

TEST(PngWriter, ImageMagickAndPythonsZlibReadTheJoinedStream) {
  ScratchFolder folder;
  const VImage noise = TestSupport::noisePicture(1000, 800);
  const std::optional<Bytes> png = encodePng(noise, {4, PngRowFilter::adaptive, false});
  ASSERT_TRUE(png);
  TestSupport::writeFile(folder / "noise.png", png->text());
  size_t size = 0;
  void* raw = noise.write_to_memory(&size);
  const std::string expected(static_cast<const char*>(raw), size);
  g_free(raw);
  int status = -1;
  const std::string magick = TestSupport::shell(
      "convert " + TestSupport::quoted((folder / "noise.png").string()) + " -depth 8 rgb:-",
      &status);
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(magick == expected) << "ImageMagick read other pixels";
  // zlib checks the stream's end and its Adler-32 sum; the length is the
  // filtered rows'.
  const std::string python = TestSupport::shell(
      "python3 -c 'import sys, zlib, struct\n"
      "d = open(sys.argv[1], \"rb\").read(); i = 8; z = b\"\"\n"
      "while i < len(d):\n"
      "  n, t = struct.unpack(\">I4s\", d[i:i + 8])\n"
      "  z += d[i + 8:i + 8 + n] if t == b\"IDAT\" else b\"\"; i += n + 12\n"
      "print(len(zlib.decompress(z)))' " +
          TestSupport::quoted((folder / "noise.png").string()),
      &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(python, std::to_string(800 * (1 + 1000 * 3)) + "\n");
}

VImage fromRows(const std::vector<uint8_t>& samples, int width, int height, int bands) {
  return VImage::new_from_memory(const_cast<uint8_t*>(samples.data()), samples.size(), width,
                                 height, bands, VIPS_FORMAT_UCHAR)
      .copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB))
      .copy_memory();
}

// n different colours in one row of RGB.
VImage colours(int n) {
  std::vector<uint8_t> samples;
  for (int i = 0; i < n; ++i) samples.insert(samples.end(), {uint8_t(i), uint8_t(i / 2), 7});
  return fromRows(samples, n, 1, 3);
}

TEST(PngWriter, PagesOfNoColourOrFewColoursShrinkWithoutChangingAPixel) {
  const VImage smooth = TestSupport::testPicture(300, 200, 4);
  const VImage rgb = smooth.extract_band(0, VImage::option()->set("n", 3));
  const VImage grey = smooth[1].bandjoin(smooth[1]).bandjoin(smooth[1]);
  const VImage posterised = (rgb / 64).cast(VIPS_FORMAT_UCHAR) * 64;
  const struct {
    const char* name;
    VImage pixels;
    int type;
  } cases[] = {
      {"grey", grey, 0},
      {"grey with alpha", grey.bandjoin(smooth[3]), 4},
      {"64 colours", posterised.cast(VIPS_FORMAT_UCHAR), 3},
      {"64 colours, some transparent",
       posterised.bandjoin((smooth[3] > 128).ifthenelse(255, 0)).cast(VIPS_FORMAT_UCHAR), 3},
      {"256 colours", colours(256), 3},
      {"257 colours", colours(257), 2},
      {"a photograph", rgb, 2},
  };
  for (const auto& c : cases) {
    const VImage pixels =
        c.pixels.copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
    const std::optional<Bytes> png = encodePng(pixels, {6, PngRowFilter::none, true});
    ASSERT_TRUE(png) << c.name;
    EXPECT_EQ(colourType(*png), c.type) << c.name;
    EXPECT_EQ(TestSupport::maxDifference(decodedAs(*png, pixels.bands()), pixels), 0) << c.name;
  }
}

TEST(WebpEncoder, TwoThreadsStayWithinTheLossyBoundAndKeepAlphaExact) {
  for (int bands : {3, 4}) {
    const VImage picture = TestSupport::testPicture(1600, 1000, bands);
    const std::optional<Bytes> webp = encodeWebp(picture, 90);
    ASSERT_TRUE(webp) << bands;
    const VImage decoded = VImage::new_from_buffer(webp->data(), webp->size(), "").copy_memory();
    ASSERT_EQ(decoded.bands(), bands);
    EXPECT_LE(TestSupport::meanDifference(decoded.extract_band(0, VImage::option()->set("n", 3)),
                                          picture.extract_band(0, VImage::option()->set("n", 3))),
              3.0);
    if (bands == 4) {
      EXPECT_EQ(TestSupport::maxDifference(decoded[3], picture[3]), 0);
    }
  }
}

}  // namespace
}  // namespace MediaEngine::detail
