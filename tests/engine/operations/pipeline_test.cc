#include "whirlpane/pipeline.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <regex>

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

// Text, documents, PDFs and pictures of text convert to UTF-8 text and DOCX;
// text is typeset into letter-sized pages, as PDF or one picture per page at
// 300 dpi; a picture goes into its document as the picture, with no text.
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
  // What an output holds: its text, its pages' size, or its picture's.
  const auto contentOf = [](const fs::path& output) -> std::string {
    const std::string ext = output.extension().string();
    if (ext == ".pdf") {
      static const std::regex pages(R"(Pages: +(\d+)[\s\S]*Page size: +([^\n]*))");
      std::smatch match;
      const std::string info =
          TestSupport::shell("pdfinfo " + TestSupport::quoted(output.string()));
      return std::regex_search(info, match, pages) ? match[1].str() + " pages, " + match[2].str()
                                                   : info;
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
  const std::tuple<const char*, const char*, std::vector<std::string>, std::string> cases[] = {
      // source, format, outputs, what each holds
      {"legacy.txt", "TXT", {"legacy 2.txt"}, "caf\u00e9 \u20ac5\r\nline two\r\n"},
      {"legacy.txt", "docx", {"legacy.docx"}, "caf\u00e9 \u20ac5\nline two"},
      {"letter.docx", "txt", {"letter.txt"}, "Dear reader"},
      {"letter.docx", "docx", {"letter 2.docx"}, "Dear reader"},
      {"report.pdf", "txt", {"report.txt"}, report},
      {"report.pdf", "docx", {"report.docx"}, report},
      {"scan.png", "txt", {"scan.txt"}, "Scanned note"},
      {"scan.png", "docx", {"scan.docx"}, noText},
      {"notes.txt", "pdf", {"notes.pdf"}, "2 pages, 612 x 792 pts (letter)"},
      {"notes.txt", "png", {"notes-page-1.png", "notes-page-2.png"}, page},
      {"letter.docx", "jpg", {"letter.jpg"}, page},
  };
  for (const auto& [source, format, outputs, content] : cases) {
    SCOPED_TRACE(std::string(source) + " to " + format);
    std::vector<fs::path> expected;
    for (const std::string& name : outputs) expected.push_back(folder / name);
    EXPECT_EQ(convert(folder / source, format), expected);
    for (const fs::path& output : expected) EXPECT_EQ(contentOf(output), content);
  }
  const std::string back = TestSupport::shell(
      "pdftotext " + TestSupport::quoted((folder / "notes.pdf").string()) + " -");
  EXPECT_NE(back.find("Numbered line 1\nNumbered line 2\n"), std::string::npos) << back;
  EXPECT_NE(back.find("Numbered line 70"), std::string::npos);
  writeFile(folder / "inside.png",
            detail::packageMember(folder / "scan.docx", "word/media/image.png", 1 << 24));
  EXPECT_EQ(TestSupport::loadWithVips(folder / "inside.png").width(),
            TestSupport::loadWithVips(folder / "scan.png").width());
  EXPECT_TRUE(TestSupport::workingFilesIn(folder.path()).empty());
}

}  // namespace
}  // namespace MediaEngine
