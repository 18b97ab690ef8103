#include "image/image_encoding.h"

#include <gtest/gtest.h>

#include "image/image.h"
#include "image/image_decoding.h"
#include "tests/support/test_support.h"
#include "whirlpane/formats.h"

namespace MediaEngine {
namespace {

using TestSupport::ScratchFolder;
using TestSupport::testPicture;
using vips::VImage;
namespace fs = std::filesystem;

constexpr const char* rasterFormats[] = {"jpg", "png", "webp", "heic", "tiff", "avif", "bmp"};

VImage decodedBytes(const Bytes& bytes, std::string_view format) {
  if (format != "bmp") return VImage::new_from_buffer(bytes.data(), bytes.size(), "").copy_memory();
  ScratchFolder folder;
  TestSupport::writeFile(folder / "decoded.bmp", bytes.text());
  return loadImage(folder / "decoded.bmp").pixels();
}

TEST(EncodedImage, WritesEveryRasterFormatThatDecodesBackToThePicture) {
  const Image picture(testPicture(200, 120));
  for (const char* format : rasterFormats) {
    ASSERT_TRUE(canEncode(format)) << format;
    const Bytes bytes = encodedImage(picture, format, 0.9);
    const VImage decoded = decodedBytes(bytes, format);
    ASSERT_EQ(decoded.width(), 200) << format;
    ASSERT_EQ(decoded.height(), 120) << format;
    ASSERT_EQ(decoded.bands(), 3) << format << ": an opaque picture gained or lost channels";
    const bool lossless = std::string(format) == "png" || std::string(format) == "tiff" ||
                          std::string(format) == "bmp";
    if (lossless) {
      EXPECT_EQ(*TestSupport::maxDifference(decoded, picture.pixels()), 0) << format;
    } else {
      EXPECT_LE(TestSupport::meanDifference(decoded, picture.pixels()), 3.0) << format;
    }
  }
}

TEST(EncodedImage, OpaqueFormatsFlattenOnWhiteAndTheOthersKeepAlpha) {
  VImage rgba = testPicture(64, 64, 4);
  const Image picture(rgba);  // alpha runs from 0 at the left edge to 255 at the right
  for (const char* format : rasterFormats) {
    const VImage decoded = decodedBytes(encodedImage(picture, format, 0.9), format);
    const bool opaque = std::string(format) == "jpg" || std::string(format) == "bmp";
    if (opaque) {
      EXPECT_LE(decoded.bands(), 3) << format;
      EXPECT_GE(decoded.extract_area(0, 0, 1, 64).min(), 245)
          << format << ": transparent column is not white";
    } else {
      ASSERT_EQ(decoded.bands(), 4) << format;
      EXPECT_LE(decoded[3].extract_area(0, 0, 1, 64).max(), 8) << format;
      EXPECT_GE(decoded[3].extract_area(63, 0, 1, 64).min(), 247) << format;
    }
  }
}

TEST(EncodedImage, QualityReachesTheLossyEncoders) {
  const Image picture(testPicture(256, 256));
  for (const char* format : {"jpg", "webp", "heic", "avif"}) {
    EXPECT_LT(encodedImage(picture, format, 0.1).size(), encodedImage(picture, format, 0.95).size())
        << format;
  }
}

TEST(EncodedImage, RefusesWhatIsNotARasterFormatOrTooLarge) {
  const Image picture(testPicture(8, 8));
  EXPECT_EQ(TestSupport::failureText([&] { encodedImage(picture, "pdf", 0.9); }),
            "Unsupported image format: pdf");
  EXPECT_EQ(TestSupport::failureKind([&] { encodedImage(picture, "jpeg", 0.9); }),
            Failure::Kind::unsupported);
  const Image tooWide(VImage::black(100001, 1000)
                          .cast(VIPS_FORMAT_UCHAR)
                          .bandjoin(VImage::black(100001, 1000).cast(VIPS_FORMAT_UCHAR))
                          .bandjoin(VImage::black(100001, 1000).cast(VIPS_FORMAT_UCHAR)));
  EXPECT_EQ(TestSupport::failureKind([&] { encodedImage(tooWide, "png", 0.9); }),
            Failure::Kind::tooLarge);
}

}  // namespace
}  // namespace MediaEngine
