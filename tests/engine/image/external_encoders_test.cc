// SPDX-License-Identifier: GPL-3.0-or-later
// The codecs' runtime: the engine's start leaving the environment alone, and
// the external encoders, found only beside the engine.
#include "image/external_encoders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "base/locations.h"
#include "image/codec_runtime.h"
#include "image/image.h"
#include "image/image_encoding.h"
#include "tests/support/processes.h"
#include "tests/support/test_support.h"
#include "whirlpane/pipeline.h"
#include "whirlpane/startup.h"

extern char** environ;

namespace MediaEngine {
namespace {

namespace fs = std::filesystem;

// Stand-in encoders in folders of their own, leaving no process behind.
class ExternalEncoders : public TestSupport::NothingLeftBehind {
 protected:
  // A folder holding `program` where the encoder for `format` belongs.
  fs::path codecsWith(const fs::path& program, std::string_view format) {
    const fs::path folder = folders_ / ("codecs-" + std::to_string(++made_));
    const fs::path encoder = folder / (format == "webp" ? "webp/cwebp" : "avif/avifenc");
    fs::create_directories(encoder.parent_path());
    fs::create_symlink(program, encoder);
    return folder;
  }

  TestSupport::ScratchFolder folders_;
  int made_ = 0;
};

// A folder the user converts in, or the tree the program was built from, must
// never choose the program we run: only the engine's own resource folder counts.
TEST_F(ExternalEncoders, EncodersAreLookedForOnlyBesideTheEngine) {
  fs::create_directories(folders_ / "Resources");
  fs::rename(codecsWith(TestSupport::standIns() / "stand-in-encoder", "webp"),
             folders_ / "Resources/Codecs");
  const fs::path previous = fs::current_path();
  fs::current_path(folders_.path());
  const std::vector<fs::path> folders = codecFolders();
  fs::current_path(previous);
  EXPECT_EQ(folders, std::vector<fs::path>{detail::resourceFolder() / "Codecs"});
  EXPECT_EQ(detail::resourceFolder(),
            (detail::engineFolder() / "../../share/whirlpane").lexically_normal());
}

TEST_F(ExternalEncoders, OnlyAWholeFileFromAnEncoderThatIsThereIsTaken) {
  const Bytes picture = detail::handOffPNG(Image(TestSupport::testPicture(8, 8)));
  const fs::path webp = codecsWith(TestSupport::standIns() / "stand-in-encoder", "webp");
  EXPECT_EQ(externalEncode(picture, "webp", 0.9, {webp}).text().substr(8, 4), "WEBP");
  const auto failure = [&](const char* format) {
    return TestSupport::failureText([&] { externalEncode(picture, format, 0.9, {webp}); });
  };
  EXPECT_EQ(failure("avif"),
            "The bundled AVIF encoder is missing. Rebuild the app with Resources/Codecs included.");
  ::setenv("STAND_IN_OUTPUT", "RIFF\\001\\002\\003\\004WEB", 1);  // 11 bytes
  EXPECT_EQ(failure("webp"),
            "Could not create the output: The WEBP encoder returned an invalid file.");
  ::unsetenv("STAND_IN_OUTPUT");
}

// The bundled avifenc, where libvips cannot write AVIF (the package's test runs cwebp).
TEST_F(ExternalEncoders, TheRealEncoderConvertsWhenTheLibraryCannot) {
  TestSupport::saveImage(TestSupport::testPicture(320, 200, 4), folders_ / "overlay.png");
  ::setenv("WHIRLPANE_NO_NATIVE_ENCODERS", "webp, AVIF", 1);
  EXPECT_FALSE(canEncode("webp") || canEncode("avif"));
  const auto written = convert(folders_ / "overlay.png", "avif");
  ::unsetenv("WHIRLPANE_NO_NATIVE_ENCODERS");
  const vips::VImage decoded = TestSupport::loadWithVips(written.at(0));
  EXPECT_EQ(std::tuple(decoded.width(), decoded.height(), decoded.bands()),
            std::tuple(320, 200, 4));
  // alpha runs from transparent at the left to opaque at the right
  EXPECT_LE(decoded[3].extract_area(0, 0, 2, 200).max(), 8);
  EXPECT_GE(decoded[3].extract_area(318, 0, 2, 200).min(), 247);
}

// Another thread may read the environment at any moment (Qt does), so once
// the engine is started no operation may write it: not the table, not one entry.
TEST(EngineStart, OperationsAfterStartLeaveTheEnvironmentAlone) {
  const auto environment = [] {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry; ++entry) entries.emplace_back(*entry);
    return entries;
  };
  TestSupport::ScratchFolder folder;
  // Made by another process, so that nothing in this one has started libvips.
  TestSupport::shell("vips xyz " + TestSupport::quoted((folder / "photo.jpg").string()) + " 64 48");
  const char* home = std::getenv("VIPSHOME");
  const std::string homeBefore = home ? home : "(unset)";

  start();
  char** const table = environ;
  const std::vector<std::string> before = environment();
  EXPECT_EQ(convert(folder / "photo.jpg", "png").size(), 1u);
  EXPECT_EQ(convert(folder / "photo.jpg", "heic").size(), 1u);
  EXPECT_EQ(convert(folder / "photo.png", "pdf").size(), 1u);
  detail::loadHeifDecoder();
  EXPECT_EQ(environ, table);
  EXPECT_EQ(environment(), before);
  home = std::getenv("VIPSHOME");
  EXPECT_EQ(home ? home : "(unset)", homeBefore) << "start() puts the variable back as it found it";
}

}  // namespace
}  // namespace MediaEngine
