// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/image_encoding.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include "base/byte_order.h"
#include "image/image.h"
#include "image/image_decoding.h"
#include "tests/support/test_support.h"

namespace MediaEngine {
namespace {

using TestSupport::ScratchFolder;
using TestSupport::testPicture;
using vips::VImage;

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

}  // namespace
}  // namespace MediaEngine
