// SPDX-License-Identifier: GPL-3.0-or-later
// Conversions from every kind of source to every format as users name them,
// and the writer of a picture in hand.
#include "whirlpane/pipeline.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>

#include "image/image.h"
#include "image/image_decoding.h"
#include "image/image_encoding.h"
#include "operations/image_writer.h"
#include "tests/support/test_support.h"
#include "tests/support/text_fixtures.h"
#include "text/text_extraction.h"
#include "whirlpane/failure.h"
#include "whirlpane/formats.h"

namespace MediaEngine {
namespace {

using TestSupport::failureText;
using TestSupport::testPicture;
using TestSupport::writeFile;
using vips::VImage;
namespace fs = std::filesystem;

class Pipeline : public ::testing::Test {
 protected:
  TestSupport::ScratchFolder folder;
};

TEST_F(Pipeline, EveryImageFormatConvertsToEveryRasterFormatBesideTheSource) {
  const VImage picture = testPicture(90, 60, 4), opaque = testPicture(90, 60);
  std::vector<fs::path> sources;
  for (const char* ext : {"jpg", "png", "gif", "tiff", "webp", "heic", "avif"}) {
    sources.push_back(folder / (std::string("in-") + ext + "." + ext));
    TestSupport::saveImage(ext == std::string("jpg") ? opaque : picture, sources.back());
  }
  sources.push_back(folder / "in-bmp.bmp");
  writeFile(sources.back(), encodedImage(Image(opaque), "bmp", 1).text());
  // A PNG under a JPEG name: the content decides how a file is read.
  sources.push_back(folder / "really-a-png.jpg");
  fs::copy_file(sources[1], sources.back());
  const std::string original = TestSupport::readFile(sources[0]);
  for (const fs::path& source : sources) {
    for (const std::string format : {"jpg", "png", "webp", "heic", "tiff", "avif", "bmp"}) {
      SCOPED_TRACE(source.filename().string() + " to " + format);
      const std::vector<fs::path> written = convert(source, format);
      // Only the source itself holds a name; its own format gets the next.
      const bool own = source.extension() == "." + format;
      EXPECT_EQ(written, std::vector<fs::path>{
                             folder / (source.stem().string() + (own ? " 2." : ".") + format)});
      const Image output = loadImage(written.at(0));
      EXPECT_EQ(std::pair(output.width(), output.height()), std::pair(90, 60));
    }
  }
  EXPECT_EQ(convert(sources[0], " .Tif "), std::vector<fs::path>{folder / "in-jpg 2.tiff"});
  EXPECT_EQ(TestSupport::loadWithVips(folder / "really-a-png.webp").bands(), 4);
  EXPECT_EQ(TestSupport::readFile(sources[0]), original);
  EXPECT_TRUE(TestSupport::workingFilesIn(folder.path()).empty());
}

// A grey source stays grey in every output format with a grey mode, with its
// alpha where the format keeps alpha, and its grey levels unchanged where the
// format is lossless; WebP, which has none, is written in colour.
TEST_F(Pipeline, AGreySourceStaysGreyWhereTheFormatHasAGreyMode) {
  const VImage grey = testPicture(90, 60, 4).colourspace(VIPS_INTERPRETATION_B_W);
  const VImage opaque = grey.extract_band(0);
  TestSupport::saveImage(opaque, folder / "scan.jpg", "[Q=95]");
  TestSupport::saveImage(grey, folder / "mask.png");
  TestSupport::saveImage(
      opaque.cast(VIPS_FORMAT_USHORT).linear(257.0, 0.0).cast(VIPS_FORMAT_USHORT),
      folder / "deep.png", "[bitdepth=16]");
  struct Case {
    const char* source;
    const char* format;
    int bands;        // read back by libvips; BMP: bits per pixel
    VImage expected;  // the grey levels, where the format is lossless
  };
  const Case cases[] = {
      {"scan.jpg", "png", 1, {}},     {"scan.jpg", "tiff", 1, {}},     {"scan.jpg", "jpg", 1, {}},
      {"scan.jpg", "bmp", 8, {}},     {"scan.jpg", "webp", 3, {}},     {"mask.png", "png", 2, grey},
      {"mask.png", "tiff", 2, grey},  {"mask.png", "jpg", 1, {}},      {"mask.png", "bmp", 8, {}},
      {"deep.png", "png", 1, opaque}, {"deep.png", "tiff", 1, opaque},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.source) + " to " + c.format);
    const fs::path written = convert(folder / c.source, c.format).at(0);
    if (std::string_view(c.format) == "bmp") {
      EXPECT_EQ(TestSupport::readFile(written)[28], c.bands);
    } else {
      const VImage output = TestSupport::loadWithVips(written);
      EXPECT_EQ(output.bands(), c.bands);
      EXPECT_EQ(output.interpretation(),
                c.bands <= 2 ? VIPS_INTERPRETATION_B_W : VIPS_INTERPRETATION_sRGB);
      if (!c.expected.is_null()) {
        EXPECT_EQ(TestSupport::maxDifference(output, c.expected), 0.0);
      }
    }
    // Whatever the mode, an opaque picture reads back as it was, near enough
    // where the format is lossy.
    if (std::string_view(c.source) != "mask.png") {
      const bool lossless = c.format == std::string("png") || c.format == std::string("tiff") ||
                            c.format == std::string("bmp");
      EXPECT_LE(TestSupport::maxDifference(loadImage(written).pixels(),
                                           loadImage(folder / c.source).pixels()),
                lossless ? 0.0 : 24.0);
    }
    fs::remove(written);
  }
}

// Text, documents, PDFs and pictures of text convert to UTF-8 text and DOCX;
// text is typeset into letter-sized pages, as PDF or one picture per page at
// 300 dpi; a picture goes into its document with no text.
// Sources that cannot be used fail with their own reason and leave nothing.
TEST_F(Pipeline, EveryKindOfSourceConvertsToTextDocumentsAndPages) {
  std::string lines;
  for (int i = 1; i <= 70; ++i) lines += "Numbered line " + std::to_string(i) + "\r\n";
  writeFile(folder / "notes.txt", lines);
  writeFile(folder / "legacy.txt",
            "caf\xE9 \x80"
            "5\r\nline two\r\n");
  TestSupport::writeDocx(folder / "letter.docx",
                         TestSupport::wordDocument("<w:p><w:r><w:t>Dear reader</w:t></w:r></w:p>"));
  TestSupport::writePDF(folder / "report.pdf", {{{"Annual report"}, {}}, {{}, {"Second page"}}});
  TestSupport::saveImage(TestSupport::textPicture({"Scanned note"}), folder / "scan.png");
  const std::string whole = TestSupport::readFile(folder / "scan.png");
  writeFile(folder / "cut.png", whole.substr(0, whole.size() * 2 / 3));
  VImage frames = testPicture(32, 96).copy();
  frames.set(VIPS_META_PAGE_HEIGHT, 32);
  TestSupport::saveImage(frames, folder / "anim.gif");
  fs::create_directory(folder / "album.jpg");
  // What an output holds: its text, its pages' size, or its picture's.
  const auto contentOf = [](const fs::path& output) -> std::string {
    const std::string ext = output.extension().string();
    if (ext == ".pdf") {
      return TestSupport::shell("pdfinfo " + TestSupport::quoted(output.string()) +
                                " | grep -E '^Page(s| size)'");
    }
    if (ext == ".png" || ext == ".jpg") {
      const VImage picture = TestSupport::loadWithVips(output);
      return std::to_string(picture.width()) + " x " + std::to_string(picture.height());
    }
    std::string text;
    const std::string failure = failureText([&] { text = extractText(output); });
    return failure == "no failure" ? text : failure;
  };
  const std::string report = "Annual report\n\nSecond page", page = "2550 x 3300";
  const std::string manyFrames =
      "This operation would discard additional image frames. Convert individual frames first.";
  const std::tuple<const char*, const char*, std::vector<std::string>, std::string> cases[] = {
      // source, format, outputs, what each holds (or the failure, when there are none)
      {"legacy.txt", "TXT", {"legacy 2.txt"}, "caf\u00e9 \u20ac5\r\nline two\r\n"},
      {"legacy.txt", "docx", {"legacy.docx"}, "caf\u00e9 \u20ac5\nline two"},
      {"letter.docx", "txt", {"letter.txt"}, "Dear reader"},
      {"report.pdf", "txt", {"report.txt"}, report},
      {"scan.png", "txt", {"scan.txt"}, "Scanned note"},
      {"scan.png", "docx", {"scan.docx"}, "No readable text was found in this file."},
      {"notes.txt",
       "pdf",
       {"notes.pdf"},
       "Pages:           2\nPage size:       612 x 792 pts (letter)\n"},
      {"notes.txt", "png", {"notes-page-1.png", "notes-page-2.png"}, page},
      {"letter.docx", "jpg", {"letter.jpg"}, page},
      {"cut.png", "jpg", {}, "Could not read cut.png. The file may be damaged or unsupported."},
      {"anim.gif", "png", {}, manyFrames},
      {"album.jpg",
       "png",
       {},
       "Could not open \"" + (folder / "album.jpg").string() + "\": Is a directory"},
  };
  for (const auto& [source, format, outputs, content] : cases) {
    SCOPED_TRACE(std::string(source) + " to " + format);
    std::vector<fs::path> expected;
    for (const std::string& name : outputs) expected.push_back(folder / name);
    if (expected.empty()) {
      const auto before = TestSupport::listFolder(folder.path());
      EXPECT_EQ(failureText([&] { convert(folder / source, format); }), content);
      EXPECT_EQ(TestSupport::listFolder(folder.path()), before);
    } else {
      EXPECT_EQ(convert(folder / source, format), expected);
    }
    for (const fs::path& output : expected) EXPECT_EQ(contentOf(output), content);
  }
  EXPECT_TRUE(TestSupport::workingFilesIn(folder.path()).empty());
}

// A full disk or a folder that may not be written is told with the folder's
// and the file's names alone, never our working files' or the system's words;
// another folder then takes the outputs.
TEST(SavingFailures, NameOnlyTheUsersFolderAndFileAndAnotherFolderTakesTheOutputs) {
  const std::string noRoom = "There is no room left on the disk holding “Photos” to save “a.tiff”.";
  const std::string readOnly =
      "“a.tiff” could not be saved: the folder “Photos” does not let you save files in it.";
  const std::pair<int, std::string> errors[] = {
      {ENOSPC, noRoom},  {EDQUOT, noRoom},  {EACCES, readOnly},
      {EROFS, readOnly}, {EPERM, readOnly}, {EIO, "none"},
  };
  for (const auto& [error, message] : errors) {
    const std::optional<Failure> failure = savingFailure(error, "/home/ann/Photos/", "a.tiff");
    EXPECT_EQ(failure ? failure->what() : "none", message) << error;
  }

  TestSupport::LimitedFolder disk(64 << 10);
  const fs::path source = disk / "photo.jpg";
  TestSupport::saveImage(testPicture(300, 200), source);
  const std::string name = disk.path().filename().string();
  if (disk.limited()) {
    // 180 KB of BMP on a 64 KB disk.
    EXPECT_EQ(failureText([&] { convert(source, "bmp"); }),
              "There is no room left on the disk holding “" + name + "” to save “photo.bmp”.");
    // 360 KB of PNG written as it is deflated: the disk fills mid-stream.
    EXPECT_NE(failureText([&] {
                writeImage(Image(TestSupport::noisePicture(400, 300)), "png", disk / "noise.png",
                           source);
              }),
              "no failure");
    EXPECT_EQ(TestSupport::listFolder(disk.path()), std::vector<std::string>{"photo.jpg"});
  }
  if (!disk.makeReadOnly()) GTEST_SKIP() << "no folder here refuses this process";
  EXPECT_EQ(failureText([&] { convert(source, "png"); }),
            "“photo.png” could not be saved: the folder “" + name +
                "” does not let you save files in it.");
  EXPECT_EQ(TestSupport::listFolder(disk.path()), std::vector<std::string>{"photo.jpg"});
  TestSupport::ScratchFolder other;
  EXPECT_EQ(convert(source, "png", other.path()), std::vector<fs::path>{other / "photo.png"});
  EXPECT_EQ(TestSupport::listFolder(other.path()), std::vector<std::string>{"photo.png"});
}

// The quality is checked first, then the format; a save is no more open than
// its source, replaces nothing, and as text needs text to recognise.
TEST(WriteImage, ValidatesQualityThenFormatThenPublishes) {
  TestSupport::ScratchFolder folder;
  const Image picture(TestSupport::testPicture(16, 16));
  const fs::path source = folder / "private.tiff";
  TestSupport::saveImage(picture.pixels(), source);
  fs::permissions(source, fs::perms::owner_read | fs::perms::owner_write);
  const std::tuple<const char*, const char*, double, std::string> cases[] = {
      // format, file, quality, failure
      {"gif", "x.gif", NAN, "Quality must be a finite number between 0 and 1."},
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
}

// Bytes that are not UTF-8 are kept as they are.
TEST(Formats, NormalizesEverySpellingUsersTypeAndQuotesTheRestUpperCased) {
  const std::string refused = " is not a supported output format.";
  const std::pair<std::string, std::string> cases[] = {
      {"PNG", "png"},
      {"  png  ", "png"},
      {".png", "png"},
      {"JPEG", "jpg"},
      {"tif", "tiff"},
      {"\u00A0png\u3000", "png"},
      {"gif", "GIF" + refused},
      {"", refused},
      {"..png", "..PNG" + refused},
      {"straße", "STRASSE" + refused},
      {"\xff\xfepng", "\xff\xfePNG" + refused},
  };
  for (const auto& [typed, expected] : cases) {
    std::string result;
    const std::string failure = failureText([&] { result = normalized(typed); });
    EXPECT_EQ(failure == "no failure" ? result : failure, expected) << typed;
  }
  EXPECT_FALSE(isRaster("jpeg"));
  EXPECT_FALSE(isRaster("pdf"));
  for (std::string_view format : outputFormats) EXPECT_EQ(normalized(format), format);
}

}  // namespace
}  // namespace MediaEngine
