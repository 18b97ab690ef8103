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
  const fs::path source = folder / "photo.tiff";
  TestSupport::saveImage(TestSupport::testPicture(16, 16), source);
  for (double quality : {1.5, -0.01, std::nan(""), HUGE_VAL}) {
    EXPECT_EQ(TestSupport::failureKind(
                  [&] { writeImage(picture, "gif", folder / "x.gif", source, quality); }),
              Failure::Kind::invalidQuality);
  }
  EXPECT_EQ(
      TestSupport::failureKind([&] { writeImage(picture, "gif", folder / "x.gif", source, 0.5); }),
      Failure::Kind::unsupported);
  writeImage(picture, "jpeg", folder / "a.jpg", source, -0.0);
  writeImage(picture, " PNG ", folder / "a.png", source, 1.0);
  EXPECT_EQ(TestSupport::readFile(folder / "a.jpg").substr(0, 3), "\xFF\xD8\xFF");
  EXPECT_EQ(TestSupport::readFile(folder / "a.png").substr(1, 3), "PNG");
  EXPECT_EQ(TestSupport::failureKind([&] { writeImage(picture, "png", folder / "a.png", source); }),
            Failure::Kind::exists);
}

TEST(WriteImage, ASaveIsNoMoreOpenThanItsSource) {
  ScratchFolder folder;
  const fs::path source = folder / "private.jpg";
  TestSupport::saveImage(TestSupport::testPicture(16, 16), source);
  fs::permissions(source, fs::perms::owner_read | fs::perms::owner_write);
  writeImage(Image(TestSupport::testPicture(16, 16)), "png", folder / "edited.png", source);
  EXPECT_EQ(fs::status(folder / "edited.png").permissions(),
            fs::perms::owner_read | fs::perms::owner_write);
}

}  // namespace
}  // namespace MediaEngine
