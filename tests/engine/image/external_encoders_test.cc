#include "image/external_encoders.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

#include "base/locations.h"
#include "files/child_process.h"
#include "image/image.h"
#include "image/image_encoding.h"
#include "tests/support/processes.h"
#include "tests/support/test_support.h"
#include "whirlpane/failure.h"
#include "whirlpane/formats.h"
#include "whirlpane/pipeline.h"

namespace MediaEngine {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using TestSupport::ScratchFolder;
using vips::VImage;

// Encoders are stand-ins in folders of their own; what the call leaves
// behind is checked as for any child process.
class ExternalEncoders : public TestSupport::NothingLeftBehind {
 protected:
  // A "Codecs" folder holding `script` under the encoder's name for `format`.
  fs::path codecsWith(const std::string& script, std::string_view format) {
    const fs::path folder = folders_.path() / ("codecs-" + std::to_string(++made_));
    const fs::path relative = format == "webp" ? "webp/cwebp" : "avif/avifenc";
    fs::create_directories((folder / relative).parent_path());
    fs::create_symlink(TestSupport::standIns() / script, folder / relative);
    return folder;
  }

  ScratchFolder folders_;
  int made_ = 0;
};

// A folder the user converts in, or the tree the program was built from, must
// never choose the program we run: only the engine's own resource folder counts.
TEST_F(ExternalEncoders, EncodersAreLookedForOnlyBesideTheEngine) {
  const fs::path planted = folders_.path() / "Resources/Codecs";
  fs::create_directories(planted / "webp");
  fs::create_symlink(TestSupport::standIns() / "stand-in-encoder", planted / "webp/cwebp");
  const fs::path previous = fs::current_path();
  fs::current_path(folders_.path());
  const std::vector<fs::path> folders = codecFolders();
  fs::current_path(previous);
  EXPECT_EQ(folders, std::vector<fs::path>{detail::resourceFolder() / "Codecs"});
  EXPECT_EQ(detail::resourceFolder(),
            (detail::engineFolder() / "../../share/whirlpane").lexically_normal());
}

TEST_F(ExternalEncoders, OutputsWithoutTheFormatsSignatureAreRefused) {
  const Bytes picture = detail::handOffPNG(Image(TestSupport::testPicture(8, 8)));
  const fs::path webp = codecsWith("stand-in-encoder", "webp");
  const fs::path avif = codecsWith("stand-in-encoder", "avif");
  ::setenv("STAND_IN_OUTPUT", "RIFF\\001\\002\\003\\004WEB", 1);  // 11 bytes
  EXPECT_EQ(TestSupport::failureText([&] { externalEncode(picture, "webp", 0.9, {webp}); }),
            "Could not create the output: The WEBP encoder returned an invalid file.");
  ::setenv("STAND_IN_OUTPUT", "\\000\\000\\000\\034ftypheic\\000\\000\\000\\000", 1);
  EXPECT_EQ(TestSupport::failureText([&] { externalEncode(picture, "avif", 0.9, {avif}); }),
            "Could not create the output: The AVIF encoder returned an invalid file.");
  ::unsetenv("STAND_IN_OUTPUT");
  EXPECT_EQ(externalEncode(picture, "webp", 0.9, {webp}).text().substr(8, 4), "WEBP");

  const fs::path silent = codecsWith("leaves-a-child", "webp");  // succeeds, writes no file
  EXPECT_THROW(externalEncode(picture, "webp", 0.9, {silent}), FileError);
  // A file in the encoder's place that cannot run is as good as none.
  const fs::path broken = folders_.path() / "broken";
  fs::create_directories(broken / "webp");
  TestSupport::writeFile(broken / "webp" / "cwebp", "not executable");
  EXPECT_EQ(TestSupport::failureText([&] { externalEncode(picture, "webp", 0.9, {broken}); }),
            "The bundled WEBP encoder is missing. Rebuild the app with Resources/Codecs included.");
  EXPECT_EQ(TestSupport::failureText([&] { codec("avif", {webp}); }),
            "The bundled AVIF encoder is missing. Rebuild the app with Resources/Codecs included.");
}

TEST_F(ExternalEncoders, RealEncodersConvertPhotographsWhenTheLibraryCannot) {
  ScratchFolder photos;
  const VImage opaque = TestSupport::testPicture(640, 400);
  const VImage translucent = TestSupport::testPicture(320, 200, 4);
  TestSupport::saveImage(opaque, photos / "photo.jpg", "[Q=95]");
  TestSupport::saveImage(translucent, photos / "overlay.png");
  ::setenv("WHIRLPANE_NO_NATIVE_ENCODERS", "webp, AVIF", 1);
  EXPECT_FALSE(canEncode("webp"));
  EXPECT_FALSE(canEncode("avif"));
  EXPECT_TRUE(canEncode("png"));
  for (const char* format : {"webp", "avif"}) {
    for (const auto& [name, width, height, bands] :
         {std::tuple{"photo.jpg", 640, 400, 3}, std::tuple{"overlay.png", 320, 200, 4}}) {
      const auto written = convert(photos / name, format);
      ASSERT_EQ(written.size(), 1u);
      const VImage decoded = TestSupport::loadWithVips(written[0]);
      EXPECT_EQ(decoded.width(), width) << name << " to " << format;
      EXPECT_EQ(decoded.height(), height) << name << " to " << format;
      EXPECT_EQ(decoded.bands(), bands) << name << " to " << format;
      if (bands == 4) {
        // Alpha ramps from transparent at the left to opaque at the right.
        EXPECT_LE(decoded[3].extract_area(0, 0, 2, 200).max(), 8) << format;
        EXPECT_GE(decoded[3].extract_area(318, 0, 2, 200).min(), 247) << format;
      }
    }
  }
  ::unsetenv("WHIRLPANE_NO_NATIVE_ENCODERS");
}

}  // namespace
}  // namespace MediaEngine
