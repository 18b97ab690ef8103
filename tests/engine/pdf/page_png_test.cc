#include <gtest/gtest.h>

#include "image/image_encoding.h"
#include "pdf/pdf_document.h"
#include "tests/support/test_support.h"
#include "tests/support/text_fixtures.h"

namespace MediaEngine {
namespace {

TEST(PagePng, ARenderedTextPageIsWrittenGreyAndDecodesToTheRendering) {
  TestSupport::ScratchFolder folder;
  TestSupport::writePDF(folder / "text.pdf", {{{"Grey is enough", "for black text"}, {}}});
  const Image page = rasterize(pdf(folder / "text.pdf"), 0, 100);
  const Bytes png = encodedImage(page, "png", 0.9, Content::document);
  EXPECT_EQ(std::to_integer<int>(png.data()[25]), 0) << "not written as grey";
  const vips::VImage grey = vips::VImage::new_from_buffer(png.data(), png.size(), "");
  EXPECT_EQ(TestSupport::maxDifference(grey.bandjoin(grey).bandjoin(grey), page.pixels()), 0);
}

TEST(PageJpg, APageHalvesItsColourResolutionWithinTheLossyBound) {
  TestSupport::ScratchFolder folder;
  TestSupport::writePDF(folder / "text.pdf", {{{"Colour at half resolution"}, {}}});
  const Image page = rasterize(pdf(folder / "text.pdf"), 0, 150);
  const Bytes jpg = encodedImage(page, "jpg", 0.9, Content::document);
  const vips::VImage decoded = vips::VImage::new_from_buffer(jpg.data(), jpg.size(), "");
  EXPECT_EQ(decoded.get_string("jpeg-chroma-subsample"), std::string("4:2:0"));
  EXPECT_LE(TestSupport::meanDifference(decoded, page.pixels()), 3.0);
}

}  // namespace
}  // namespace MediaEngine
