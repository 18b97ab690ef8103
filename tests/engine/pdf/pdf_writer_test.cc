#include "pdf/pdf_writer.h"

#include <gtest/gtest.h>

#include "image/image.h"
#include "pdf/pdf_document.h"
#include "tests/support/test_support.h"
#include "whirlpane/pipeline.h"

namespace MediaEngine {
namespace {

using TestSupport::ScratchFolder;
using TestSupport::shell;

TEST(ImagePDF, AnImagePageIsSizedAt300DotsPerInchAndRendersBackToItsPixels) {
  ScratchFolder folder;
  const Image picture(TestSupport::testPicture(3000, 1500));
  TestSupport::writeFile(folder / "picture.pdf", imagePDF(picture).text());
  const std::string info =
      shell("pdfinfo " + TestSupport::quoted((folder / "picture.pdf").string()));
  EXPECT_NE(info.find("Pages:           1"), std::string::npos) << info;
  EXPECT_NE(info.find("Page size:       720 x 360 pts"), std::string::npos) << info;
  EXPECT_EQ(info.find("CreationDate"), std::string::npos) << info;
  const Image back = rasterize(pdf(folder / "picture.pdf"), 0);
  ASSERT_EQ(std::pair(back.width(), back.height()), std::pair(3000, 1500));
  EXPECT_LE(TestSupport::meanDifference(back.pixels(), picture.pixels()), 2.0);

  // A picture with transparency becomes a page of its own size as well.
  TestSupport::saveImage(TestSupport::testPicture(600, 300, 4), folder / "logo.png");
  EXPECT_EQ(convert(folder / "logo.png", "pdf"), std::vector{folder / "logo.pdf"});
  EXPECT_NE(shell("pdfinfo " + TestSupport::quoted((folder / "logo.pdf").string()))
                .find("Page size:       144 x 72 pts"),
            std::string::npos);
}

}  // namespace
}  // namespace MediaEngine
