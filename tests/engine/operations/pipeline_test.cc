#include "whirlpane/pipeline.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "image/image.h"
#include "image/image_decoding.h"
#include "image/image_encoding.h"
#include "office/zip_reader.h"
#include "tests/support/test_support.h"
#include "tests/support/text_fixtures.h"
#include "text/text_extraction.h"

namespace MediaEngine {
namespace {

using TestSupport::failureText;
using TestSupport::testPicture;
using TestSupport::writeFile;
using vips::VImage;
namespace fs = std::filesystem;

const std::string noText = "No readable text was found in this file.";

std::string unreadable(const std::string& name) {
  return "Could not read " + name + ". The file may be damaged or unsupported.";
}

class Pipeline : public ::testing::Test {
 protected:
  std::vector<std::string> names() const { return TestSupport::listFolder(folder.path()); }
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

TEST_F(Pipeline, UnusableSourcesFailWithTheirOwnReasonAndLeaveNothing) {
  // Damaged files of each format, decoded whole or streamed into the encoder.
  for (const char* ext : {"jpg", "png", "tiff", "webp", "heic"}) {
    const fs::path whole = folder / (std::string("whole.") + ext);
    TestSupport::saveImage(testPicture(400, 300), whole);
    const std::string bytes = TestSupport::readFile(whole);
    fs::remove(whole);
    writeFile(folder / (std::string("cut.") + ext), bytes.substr(0, bytes.size() * 2 / 3));
  }
  VImage pages = testPicture(32, 96).copy();
  pages.set(VIPS_META_PAGE_HEIGHT, 32);
  TestSupport::saveImage(pages, folder / "anim.gif");
  TestSupport::saveImage(pages, folder / "pages.tiff");
  fs::create_directory(folder / "album.jpg");
  ::mkfifo((folder / "pipe.jpg").c_str(), 0600);
  writeFile(folder / "notes.jpg", "not an image");
  fs::create_symlink(folder / "gone.jpg", folder / "dangling.jpg");
  TestSupport::writePDF(folder / "blank.pdf", {{}});
  const auto before = names();
  const std::string frames =
      "This operation would discard additional image frames. Convert individual frames first.";
  const std::string missing = "\": No such file or directory";
  struct Case {
    std::string name;
    std::vector<const char*> formats;
    std::string message;
  };
  const std::vector<Case> cases{
      {"cut.jpg", {"png", "webp", "bmp"}, unreadable("cut.jpg")},
      {"cut.png", {"jpg", "tiff", "bmp"}, unreadable("cut.png")},
      {"cut.tiff", {"png", "webp", "bmp"}, unreadable("cut.tiff")},
      {"cut.webp", {"png", "jpg", "bmp"}, unreadable("cut.webp")},
      {"cut.heic", {"png", "tiff", "bmp"}, unreadable("cut.heic")},
      {"anim.gif", {"png", "jpg", "pdf", "txt", "docx"}, frames},
      {"pages.tiff", {"png", "pdf", "txt", "docx"}, frames},
      {"missing.jpg", {"png"}, "Could not open \"" + (folder / "missing.jpg").string() + missing},
      {"dangling.jpg", {"png"}, "Could not open \"" + (folder / "dangling.jpg").string() + missing},
      {"album.jpg",
       {"png"},
       "Could not open \"" + (folder / "album.jpg").string() + "\": Is a directory"},
      {"pipe.jpg", {"png"}, unreadable("pipe.jpg")},
      {"notes.jpg", {"png"}, unreadable("notes.jpg")},
      {"blank.pdf", {"txt"}, noText},
  };
  for (const Case& c : cases) {
    for (const char* format : c.formats) {
      SCOPED_TRACE(c.name + " to " + format);
      EXPECT_EQ(failureText([&] { convert(folder / c.name, format); }), c.message);
    }
  }
  EXPECT_EQ(names(), before);
}

TEST_F(Pipeline, TextDocumentsAreTypesetIntoPDFAndOnePicturePerPage) {
  std::string text;
  for (int i = 1; i <= 70; ++i) text += "Numbered line " + std::to_string(i) + "\r\n";
  writeFile(folder / "notes.txt", text);
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
  const VImage picture = TestSupport::loadWithVips(page[0]);
  EXPECT_EQ(std::pair(picture.width(), picture.height()), std::pair(2550, 3300));
}

TEST_F(Pipeline, EveryKindOfSourceConvertsToDocxAndUTF8Text) {
  writeFile(folder / "legacy.txt",
            "caf\xE9 \x80"
            "5\r\nline two\r\n");
  TestSupport::writeDocx(folder / "letter.docx",
                         TestSupport::wordDocument("<w:p><w:r><w:t>Dear reader</w:t></w:r></w:p>"));
  TestSupport::writePDF(folder / "report.pdf", {{{"Annual report"}, {}}, {{}, {"Second page"}}});
  TestSupport::saveImage(TestSupport::textPicture({"Scanned note"}), folder / "scan.png");
  const std::tuple<const char*, std::string, std::string> cases[] = {
      // source, its text, and its DOCX read back
      {"legacy.txt", "caf\u00e9 \u20ac5\r\nline two\r\n", "caf\u00e9 \u20ac5\nline two"},
      {"letter.docx", "Dear reader", "Dear reader"},
      {"report.pdf", "Annual report\n\nSecond page", "Annual report\n\nSecond page"},
      {"scan.png", "Scanned note", ""},
  };
  for (const auto& [name, text, docxText] : cases) {
    SCOPED_TRACE(name);
    const std::string stem = fs::path(name).stem().string();
    const std::vector<fs::path> txt = convert(folder / name, "TXT");
    ASSERT_EQ(txt,
              std::vector<fs::path>{folder / (stem + (stem == "legacy" ? " 2" : "") + ".txt")});
    EXPECT_EQ(TestSupport::readFile(txt[0]), text);
    const std::vector<fs::path> docx = convert(folder / name, "docx");
    ASSERT_EQ(docx,
              std::vector<fs::path>{folder / (stem + (stem == "letter" ? " 2" : "") + ".docx")});
    if (!docxText.empty()) {
      EXPECT_EQ(extractText(docx[0]), docxText);
    }
  }
  // A picture goes into its document as the picture, with no text.
  const fs::path scan = folder / "scan.docx";
  writeFile(folder / "inside.png", detail::packageMember(scan, "word/media/image.png", 1 << 24));
  EXPECT_EQ(TestSupport::loadWithVips(folder / "inside.png").width(),
            TestSupport::loadWithVips(folder / "scan.png").width());
  EXPECT_EQ(failureText([&] { extractText(scan); }), noText);
  EXPECT_TRUE(TestSupport::workingFilesIn(folder.path()).empty());
}

}  // namespace
}  // namespace MediaEngine
