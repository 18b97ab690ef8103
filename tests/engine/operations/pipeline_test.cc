#include "whirlpane/pipeline.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <set>
#include <thread>

#include "image/image.h"
#include "image/image_decoding.h"
#include "office/docx_writer.h"
#include "office/zip_reader.h"
#include "tests/support/test_support.h"
#include "tests/support/text_fixtures.h"
#include "text/text_extraction.h"
#include "whirlpane/failure.h"
#include "whirlpane/formats.h"

namespace MediaEngine {
namespace {

using TestSupport::failureText;
using TestSupport::ScratchFolder;
using TestSupport::testPicture;
using vips::VImage;
namespace fs = std::filesystem;

class Pipeline : public ::testing::Test {
 protected:
  // A small photo-like JPEG in a folder of its own.
  fs::path photo(const std::string& name = "photo.jpg") {
    const fs::path path = folder / name;
    TestSupport::saveImage(testPicture(160, 100), path, "[Q=90]");
    return path;
  }
  std::vector<std::string> names() const { return TestSupport::listFolder(folder.path()); }

  ScratchFolder folder;
};

TEST_F(Pipeline, ConvertsAnImageToEveryRasterFormatBesideTheSource) {
  const fs::path source = photo();
  const std::string original = TestSupport::readFile(source);
  for (const char* format : {"png", "webp", "heic", "tiff", "avif", "bmp"}) {
    const std::vector<fs::path> written = convert(source, format);
    ASSERT_EQ(written.size(), 1u) << format;
    EXPECT_EQ(written[0], folder / ("photo." + std::string(format)));
  }
  // Its own format gets a numbered name, and aliases name the canonical extension.
  EXPECT_EQ(convert(source, "JPEG"), std::vector<fs::path>{folder / "photo 2.jpg"});
  EXPECT_EQ(convert(source, " .Tif "), std::vector<fs::path>{folder / "photo 2.tiff"});
  EXPECT_EQ(TestSupport::readFile(source), original);
  EXPECT_TRUE(TestSupport::workingFilesIn(folder.path()).empty());
  for (const std::string& name : names()) {
    if (name.ends_with(".bmp")) continue;  // libvips reads BMP only through ImageMagick
    const VImage output = TestSupport::loadWithVips(folder / name);
    EXPECT_EQ(output.width(), 160) << name;
    EXPECT_EQ(output.height(), 100) << name;
  }
}

TEST_F(Pipeline, EverySupportedImageFormatConvertsToEveryRasterFormat) {
  const VImage picture = testPicture(90, 60, 4);
  std::vector<fs::path> sources;
  for (const char* ext : {"jpg", "png", "gif", "tiff", "webp", "heic", "avif"}) {
    sources.push_back(folder / (std::string("in-") + ext + "." + ext));
    TestSupport::saveImage(std::string(ext) == "jpg"
                               ? picture.extract_band(0, VImage::option()->set("n", 3))
                               : picture,
                           sources.back());
  }
  sources.push_back(convert(sources[0], "bmp").at(0));
  for (const fs::path& source : sources) {
    for (const char* format : {"jpg", "png", "webp", "heic", "tiff", "avif", "bmp"}) {
      const auto written = convert(source, format);
      ASSERT_EQ(written.size(), 1u);
      EXPECT_EQ(written[0].extension(), std::string(".") + format);
      const Image output = loadImage(written[0]);
      EXPECT_EQ(output.width(), 90) << source.filename() << " to " << format;
      EXPECT_EQ(output.height(), 60) << source.filename() << " to " << format;
    }
  }
  EXPECT_TRUE(TestSupport::workingFilesIn(folder.path()).empty());
}

TEST_F(Pipeline, DamagedImagesFailByNameWhateverTheOutput) {
  const VImage picture = testPicture(400, 300);
  for (const char* ext : {"jpg", "png", "tiff", "webp", "heic"}) {
    const fs::path whole = folder / (std::string("whole.") + ext);
    TestSupport::saveImage(picture, whole);
    const std::string bytes = TestSupport::readFile(whole);
    fs::remove(whole);
    const fs::path cut = folder / (std::string("cut.") + ext);
    TestSupport::writeFile(cut, bytes.substr(0, bytes.size() * 2 / 3));
    for (const char* format : {"png", "jpg", "tiff", "webp", "bmp"}) {
      EXPECT_EQ(
          TestSupport::failureText([&] { convert(cut, format); }),
          "Could not read " + cut.filename().string() + ". The file may be damaged or unsupported.")
          << ext << " to " << format;
    }
    fs::remove(cut);
    EXPECT_TRUE(names().empty()) << ext;
  }
}

TEST_F(Pipeline, TheExtensionDoesNotDecideHowAnImageIsRead) {
  const fs::path misnamed = folder / "really-a-png.jpg";
  TestSupport::saveImage(testPicture(40, 30, 4), misnamed.string() + ".png");
  fs::rename(misnamed.string() + ".png", misnamed);
  const auto written = convert(misnamed, "webp");
  ASSERT_EQ(written.size(), 1u);
  EXPECT_EQ(TestSupport::loadWithVips(written[0]).bands(), 4);
}

TEST_F(Pipeline, RefusesMultiFrameImagesForEveryFormatWithoutTouchingTheFolder) {
  VImage pages = testPicture(32, 96).copy();
  pages.set(VIPS_META_PAGE_HEIGHT, 32);
  for (const char* name : {"anim.gif", "pages.tiff"}) {
    TestSupport::saveImage(pages, folder / name);
  }
  const auto before = names();
  for (const char* name : {"anim.gif", "pages.tiff"}) {
    for (const char* format : {"png", "jpg", "pdf", "txt", "docx"}) {
      EXPECT_EQ(
          TestSupport::failureText([&] { convert(folder / name, format); }),
          "This operation would discard additional image frames. Convert individual frames first.")
          << name << " to " << format;
    }
  }
  EXPECT_EQ(names(), before);
}

TEST_F(Pipeline, TextDocumentsAreTypesetIntoPDFAndOnePicturePerPage) {
  std::string text;
  for (int i = 1; i <= 70; ++i) text += "Numbered line " + std::to_string(i) + "\r\n";
  TestSupport::writeFile(folder / "notes.txt", text);
  TestSupport::writeDocx(
      folder / "letter.docx",
      TestSupport::wordDocument("<w:p><w:r><w:t>One page only</w:t></w:r></w:p>"));

  const std::vector<fs::path> pdf = convert(folder / "notes.txt", "pdf");
  ASSERT_EQ(pdf, std::vector<fs::path>{folder / "notes.pdf"});
  const std::string info = TestSupport::shell("pdfinfo " + TestSupport::quoted(pdf[0].string()));
  EXPECT_NE(info.find("Pages:           2\n"), std::string::npos) << info;
  EXPECT_NE(info.find("Page size:       612 x 792 pts (letter)"), std::string::npos) << info;
  const std::string back =
      TestSupport::shell("pdftotext " + TestSupport::quoted(pdf[0].string()) + " -");
  EXPECT_NE(back.find("Numbered line 1\nNumbered line 2\n"), std::string::npos) << back;
  EXPECT_NE(back.find("Numbered line 70"), std::string::npos);

  // One picture per typeset page, 2550 × 3300 pixels at 300 dpi.
  EXPECT_EQ(convert(folder / "notes.txt", "png"),
            (std::vector<fs::path>{folder / "notes-page-1.png", folder / "notes-page-2.png"}));
  const std::vector<fs::path> page = convert(folder / "letter.docx", "jpg");
  ASSERT_EQ(page, std::vector<fs::path>{folder / "letter.jpg"});
  const vips::VImage picture = TestSupport::loadWithVips(page[0]);
  EXPECT_EQ(picture.width(), 2550);
  EXPECT_EQ(picture.height(), 3300);
  EXPECT_EQ(TestSupport::listFolder(folder.path()),
            (std::vector<std::string>{"letter.docx", "letter.jpg", "notes-page-1.png",
                                      "notes-page-2.png", "notes.pdf", "notes.txt"}));
}

TEST_F(Pipeline, EveryKindOfSourceConvertsToDocx) {
  TestSupport::writeFile(folder / "notes.txt", "First line\r\nSecond line\r\n");
  TestSupport::writePDF(folder / "report.pdf", {{{"Annual report"}, {}}});
  TestSupport::writeDocx(folder / "letter.docx",
                         TestSupport::wordDocument("<w:p><w:r><w:t>Letter</w:t></w:r></w:p>"));
  const fs::path image = photo();
  const std::pair<const char*, std::string> texts[] = {{"notes.txt", "First line\nSecond line"},
                                                       {"report.pdf", "Annual report"},
                                                       {"letter.docx", "Letter"}};
  for (const auto& [name, text] : texts) {
    const std::vector<fs::path> written = convert(folder / name, "docx");
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(extractText(written[0]), text) << name;
  }
  EXPECT_TRUE(fs::exists(folder / "letter 2.docx"));  // its own format gets the next free name

  const std::vector<fs::path> written = convert(image, "DOCX");
  ASSERT_EQ(written, std::vector<fs::path>{folder / "photo.docx"});
  const std::string png = detail::packageMember(written[0], "word/media/image.png", 1 << 24);
  TestSupport::writeFile(folder / "inside.png", png);
  const vips::VImage inside = TestSupport::loadWithVips(folder / "inside.png");
  EXPECT_EQ(inside.width(), 160);
  EXPECT_EQ(inside.height(), 100);
  EXPECT_EQ(failureText([&] { extractText(written[0]); }),
            "No readable text was found in this file.");
  EXPECT_TRUE(TestSupport::workingFilesIn(folder.path()).empty());
}

TEST_F(Pipeline, EveryKindOfSourceConvertsToUTF8Text) {
  TestSupport::writeFile(folder / "legacy.txt",
                         "caf\xE9 \x80"
                         "5\r\n");
  TestSupport::writeDocx(folder / "letter.docx",
                         TestSupport::wordDocument("<w:p><w:r><w:t>Dear reader</w:t></w:r></w:p>"));
  TestSupport::writePDF(folder / "report.pdf", {{{"Annual report"}, {}}, {{}, {"Second page"}}});
  TestSupport::saveImage(TestSupport::textPicture({"Scanned note"}), folder / "scan.png");
  const std::pair<const char*, std::string> cases[] = {
      {"legacy.txt", "caf\u00e9 \u20ac5\r\n"},
      {"letter.docx", "Dear reader"},
      {"report.pdf", "Annual report\n\nSecond page"},
      {"scan.png", "Scanned note"},
  };
  for (const auto& [name, text] : cases) {
    const std::vector<fs::path> written = convert(folder / name, "TXT");
    ASSERT_EQ(written.size(), 1u) << name;
    const std::string stem = fs::path(name).stem().string();
    EXPECT_EQ(written[0], folder / (stem + (stem == "legacy" ? " 2.txt" : ".txt"))) << name;
    EXPECT_EQ(TestSupport::readFile(written[0]), text) << name;
  }
  EXPECT_TRUE(TestSupport::workingFilesIn(folder.path()).empty());
}

TEST_F(Pipeline, TextThatCannotBeFoundOrReadLeavesTheFolderAsItWas) {
  TestSupport::saveImage(TestSupport::testPicture(300, 200), folder / "photo.png");
  TestSupport::writeZip(folder / "empty.docx", {{"word/other.xml", "<x/>"}});
  TestSupport::writeFile(folder / "binary.txt", std::string("\x89PNG\0\0", 6));
  TestSupport::writePDF(folder / "blank.pdf", {{}});
  const auto before = names();
  const std::pair<const char*, std::string> cases[] = {
      {"photo.png", "No readable text was found in this file."},
      {"blank.pdf", "No readable text was found in this file."},
      {"empty.docx",
       "Could not create the output: unzip: empty.docx has no member word/document.xml"},
      {"binary.txt", "Could not read \"" + (folder / "binary.txt").string() +
                         "\": the file does not hold text in an encoding Whirlpane knows"},
  };
  for (const auto& [name, message] : cases) {
    EXPECT_EQ(TestSupport::failureText([&] { convert(folder / name, "txt"); }), message) << name;
  }
  EXPECT_EQ(names(), before);
}

TEST_F(Pipeline, BadSourcesFailWithTheirOwnReasonAndLeaveNothing) {
  photo();
  fs::create_directory(folder / "album.jpg");
  ::mkfifo((folder / "pipe.jpg").c_str(), 0600);
  TestSupport::writeFile(folder / "notes.jpg", "not an image");
  fs::create_symlink(folder / "gone.jpg", folder / "dangling.jpg");
  const auto before = names();

  EXPECT_EQ(
      TestSupport::failureText([&] { convert(folder / "missing.jpg", "png"); }),
      "Could not open \"" + (folder / "missing.jpg").string() + "\": No such file or directory");
  EXPECT_EQ(TestSupport::failureText([&] { convert(folder / "album.jpg", "png"); }),
            "Could not open \"" + (folder / "album.jpg").string() + "\": Is a directory");
  EXPECT_EQ(
      TestSupport::failureText([&] { convert(folder / "dangling.jpg", "png"); }),
      "Could not open \"" + (folder / "dangling.jpg").string() + "\": No such file or directory");
  EXPECT_EQ(TestSupport::failureText([&] { convert(folder / "pipe.jpg", "png"); }),
            "Could not read pipe.jpg. The file may be damaged or unsupported.");
  EXPECT_EQ(TestSupport::failureText([&] { convert(folder / "notes.jpg", "png"); }),
            "Could not read notes.jpg. The file may be damaged or unsupported.");
  EXPECT_EQ(TestSupport::failureText([&] { convert(folder / "photo.jpg", "gif"); }),
            "GIF is not a supported output format.");
  EXPECT_EQ(names(), before);
}

TEST_F(Pipeline, ATooLargeImageLeavesNoWorkingFiles) {
  const fs::path source = folder / "huge.tiff";
  TestSupport::saveImage(VImage::black(10001, 10000).cast(VIPS_FORMAT_UCHAR), source,
                         "[compression=deflate,tile]");
  EXPECT_EQ(TestSupport::failureText([&] { convert(source, "png"); }),
            "This file is too large to process safely at full resolution.");
  EXPECT_EQ(names(), std::vector<std::string>{"huge.tiff"});
}

TEST_F(Pipeline, ConcurrentConversionsOfOneFileNeverShareAName) {
  const fs::path source = photo();
  constexpr int threads = 6, each = 5;
  std::vector<std::vector<fs::path>> results(threads);
  std::vector<std::thread> workers;
  for (int t = 0; t < threads; ++t) {
    workers.emplace_back([&, t] {
      for (int i = 0; i < each; ++i) {
        const auto written = convert(source, t % 2 ? "png" : "jpg");
        results[t].insert(results[t].end(), written.begin(), written.end());
      }
    });
  }
  for (auto& worker : workers) worker.join();
  std::set<fs::path> distinct;
  for (const auto& list : results) distinct.insert(list.begin(), list.end());
  EXPECT_EQ(distinct.size(), static_cast<size_t>(threads * each));
  EXPECT_EQ(names().size(), static_cast<size_t>(threads * each + 1));
  for (const fs::path& path : distinct)
    EXPECT_EQ(TestSupport::loadWithVips(path).width(), 160) << path;
}

}  // namespace
}  // namespace MediaEngine
