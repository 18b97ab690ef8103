#include "operations/image_writer.h"

#include <gtest/gtest.h>

#include <cmath>

#include "image/image.h"
#include "tests/support/test_support.h"
#include "whirlpane/formats.h"

namespace MediaEngine {
namespace {

using TestSupport::ScratchFolder;
namespace fs = std::filesystem;

TEST(WriteImage, ValidatesQualityFirstThenFormatThenPublishes) {
  ScratchFolder folder;
  const Image picture(TestSupport::testPicture(16, 16));
  for (double quality : {1.5, -0.01, std::nan(""), HUGE_VAL}) {
    EXPECT_EQ(
        TestSupport::failureKind([&] { writeImage(picture, "gif", folder / "x.gif", quality); }),
        Failure::Kind::invalidQuality);
  }
  EXPECT_EQ(TestSupport::failureKind([&] { writeImage(picture, "gif", folder / "x.gif", 0.5); }),
            Failure::Kind::unsupported);
  writeImage(picture, "jpeg", folder / "a.jpg", -0.0);
  writeImage(picture, " PNG ", folder / "a.png", 1.0);
  EXPECT_EQ(TestSupport::readFile(folder / "a.jpg").substr(0, 3), "\xFF\xD8\xFF");
  EXPECT_EQ(TestSupport::readFile(folder / "a.png").substr(1, 3), "PNG");
  EXPECT_EQ(TestSupport::failureKind([&] { writeImage(picture, "png", folder / "a.png"); }),
            Failure::Kind::exists);
}

}  // namespace
}  // namespace MediaEngine
