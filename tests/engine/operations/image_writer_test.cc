#include "operations/image_writer.h"

#include <gtest/gtest.h>

#include <cmath>

#include "image/image.h"
#include "tests/support/test_support.h"
#include "tests/support/text_fixtures.h"

namespace MediaEngine {
namespace {

namespace fs = std::filesystem;

// The quality is checked first, then the format; a save is no more open than
// its source, replaces nothing, and as text is the picture's recognised text.
TEST(WriteImage, ValidatesQualityThenFormatThenPublishes) {
  TestSupport::ScratchFolder folder;
  const Image picture(TestSupport::testPicture(16, 16));
  const fs::path source = folder / "private.tiff";
  TestSupport::saveImage(picture.pixels(), source);
  fs::permissions(source, fs::perms::owner_read | fs::perms::owner_write);
  const std::string quality = "Quality must be a finite number between 0 and 1.";
  const std::tuple<const char*, const char*, double, std::string> cases[] = {
      // format, file, quality, failure
      {"gif", "x.gif", 1.5, quality},
      {"gif", "x.gif", -0.01, quality},
      {"gif", "x.gif", NAN, quality},
      {"gif", "x.gif", HUGE_VAL, quality},
      {"gif", "x.gif", 0.5, "GIF is not a supported output format."},
      {"jpeg", "a.jpg", -0.0, "no failure"},
      {" PNG ", "a.png", 1.0, "no failure"},
      {"png", "a.png", 1.0, "a.png already exists. Choose a different output filename."},
      {"txt", "none.txt", 1.0, "No readable text was found in this file."},
  };
  for (const auto& [format, name, q, failure] : cases) {
    EXPECT_EQ(
        TestSupport::failureText([&] { writeImage(picture, format, folder / name, source, q); }),
        failure)
        << format << " " << q;
  }
  EXPECT_EQ(TestSupport::listFolder(folder.path()),
            (std::vector<std::string>{"a.jpg", "a.png", "private.tiff"}));
  EXPECT_EQ(TestSupport::readFile(folder / "a.jpg").substr(0, 3), "\xFF\xD8\xFF");
  EXPECT_EQ(TestSupport::readFile(folder / "a.png").substr(1, 3), "PNG");
  EXPECT_EQ(fs::status(folder / "a.png").permissions(),
            fs::perms::owner_read | fs::perms::owner_write);
  writeImage(Image(TestSupport::textPicture({"Saved as text"})), "TXT", folder / "out.txt", source);
  EXPECT_EQ(TestSupport::readFile(folder / "out.txt"), "Saved as text");
}

}  // namespace
}  // namespace MediaEngine
