#include "image/external_encoders.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>

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

TEST_F(ExternalEncoders, CodecIsLookedForInEveryFolderInTurn) {
  const fs::path empty = folders_.path() / "empty";
  fs::create_directories(empty / "webp");
  TestSupport::writeFile(empty / "webp" / "cwebp", "not executable");
  const fs::path real = codecsWith("stand-in-encoder", "webp");
  EXPECT_EQ(codec("webp", {empty, real}), real / "webp/cwebp");
  EXPECT_EQ(TestSupport::failureText([&] { codec("webp", {empty}); }),
            "The bundled WEBP encoder is missing. Rebuild the app with Resources/Codecs included.");
  EXPECT_EQ(TestSupport::failureText([&] { codec("avif", {real}); }),
            "The bundled AVIF encoder is missing. Rebuild the app with Resources/Codecs included.");
}

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

// The arguments the stand-in encoder was given for `format` at `quality`.
std::vector<std::string> argumentsFor(const fs::path& codecs, std::string_view format,
                                      double quality, const fs::path& record) {
  ::setenv("STAND_IN_ARGUMENTS", record.c_str(), 1);
  const Bytes picture = detail::handOffPNG(Image(TestSupport::testPicture(8, 8)));
  externalEncode(picture, format, quality, {codecs});
  ::unsetenv("STAND_IN_ARGUMENTS");
  std::vector<std::string> lines;
  std::ifstream in(record);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST_F(ExternalEncoders, EncodersGetExactlyTheirCommandLines) {
  const fs::path record = folders_.path() / "arguments";
  const fs::path webp = codecsWith("stand-in-encoder", "webp");
  const fs::path avif = codecsWith("stand-in-encoder", "avif");
  struct Case {
    double quality;
    std::string q;
  };
  for (const Case& c :
       {Case{0.9, "90"}, Case{0.0, "0"}, Case{1.0, "100"}, Case{0.005, "1"}, Case{0.004, "0"}}) {
    const auto args = argumentsFor(webp, "webp", c.quality, record);
    ASSERT_EQ(args.size(), 11u);
    EXPECT_EQ(
        std::vector<std::string>(args.begin(), args.begin() + 8),
        (std::vector<std::string>{"-quiet", "-q", c.q, "-m", "6", "-mt", "-metadata", "none"}));
    EXPECT_EQ(fs::path(args[8]).filename(), "input.png");
    EXPECT_EQ(args[9], "-o");
    EXPECT_EQ(fs::path(args[10]).filename(), "output.webp");
    EXPECT_EQ(fs::path(args[10]).parent_path(), fs::path(args[8]).parent_path());
  }
  const auto modern = argumentsFor(avif, "avif", 0.9, record);
  ASSERT_EQ(modern.size(), 12u);
  EXPECT_EQ(std::vector<std::string>(modern.begin(), modern.begin() + 10),
            (std::vector<std::string>{"-q", "90", "--qalpha", "100", "--speed", "6", "--jobs", "2",
                                      "--ignore-exif", "--ignore-xmp"}));
  EXPECT_EQ(fs::path(modern[11]).filename(), "output.avif");

  // avifenc before 1.0 takes quantizers: quality 90 is quantizer 6, alpha lossless.
  ::setenv("STAND_IN_VERSION", "0.11.1", 1);
  const auto legacy = argumentsFor(avif, "avif", 0.9, record);
  ::unsetenv("STAND_IN_VERSION");
  ASSERT_EQ(legacy.size(), 16u);
  EXPECT_EQ(std::vector<std::string>(legacy.begin(), legacy.begin() + 12),
            (std::vector<std::string>{"--min", "6", "--max", "6", "--minalpha", "0", "--maxalpha",
                                      "0", "--speed", "6", "--jobs", "2"}));
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
  EXPECT_EQ(
      TestSupport::failureText([&] { externalEncode(picture, "webp", 0.9, {folders_.path()}); }),
      "The bundled WEBP encoder is missing. Rebuild the app with Resources/Codecs included.");
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
