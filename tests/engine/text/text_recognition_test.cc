// Text recognition: images read by OCR, and PDF pages read through both their
// text layer and OCR of their rendering. Fixtures are drawn with Pango at test
// time, so the text on them is known.
#include <gtest/gtest.h>

#include <cstdlib>

#include "image/image.h"
#include "image/image_encoding.h"
#include "operations/image_writer.h"
#include "tests/support/test_support.h"
#include "tests/support/text_fixtures.h"
#include "text/text_extraction.h"
#include "whirlpane/formats.h"

namespace MediaEngine {
namespace {

using TestSupport::failureText;
using TestSupport::PDFPageText;
using TestSupport::ScratchFolder;
using TestSupport::textPicture;
namespace fs = std::filesystem;

const std::string noText = "No readable text was found in this file.";

class TextRecognition : public ::testing::Test {
 protected:
  void SetUp() override { TestSupport::startVips(); }
  ScratchFolder folder;
};

// Lines come in order; transparent pixels keep whatever colour they were
// stored with (here black, the colour of the text), so only showing them on
// white makes a label legible; a picture without text has none.
TEST_F(TextRecognition, ReadsTheLinesOfAnImageInOrderOnWhite) {
  const vips::VImage ink = textPicture({"Transparent label"})[0] < 128;  // 255 where there is text
  const vips::VImage label =
      vips::VImage::black(ink.width(), ink.height(), vips::VImage::option()->set("bands", 3))
          .bandjoin(ink)
          .cast(VIPS_FORMAT_UCHAR)
          .copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
  const std::pair<vips::VImage, std::string> cases[] = {
      {textPicture({"Invoice 42", "Thank you for your order", "Total: 1,250 EUR"}),
       "Invoice 42\nThank you for your order\nTotal: 1,250 EUR"},
      {label, "Transparent label"},
      {TestSupport::testPicture(400, 300), ""},
  };
  for (const auto& [picture, text] : cases) EXPECT_EQ(recognize(Image(picture), true), text);
  EXPECT_EQ(failureText([&] { recognize(Image(TestSupport::testPicture(400, 300)), false); }),
            noText);
}

TEST_F(TextRecognition, ReadsImagesOfEveryFormatByTheirContent) {
  const Image picture(textPicture({"Quarterly report"}));
  std::vector<fs::path> files;
  for (const std::string format : {"png", "jpg", "webp", "tiff", "heic", "avif", "bmp"}) {
    files.push_back(folder / ("scan." + format));
    TestSupport::writeFile(files.back(), encodedImage(picture, format, 0.95).text());
  }
  files.push_back(folder / "scan.gif");
  TestSupport::saveImage(picture.pixels(), files.back());
  files.push_back(folder / "scan.bin");  // a PNG under a name that says nothing
  fs::copy_file(folder / "scan.png", files.back());
  for (const fs::path& file : files) {
    EXPECT_EQ(detail::comparable(extractText(file)), "quarterly report") << file.filename();
  }
  TestSupport::writeFile(folder / "notes.jpg", "plain text in disguise");
  EXPECT_EQ(failureText([&] { extractText(folder / "notes.jpg"); }),
            "Could not read notes.jpg. The file may be damaged or unsupported.");
}

// A page's text layer counts once, with only the lines recognition alone
// finds (a misread copy of a layer line is not one); pages stay in order,
// blank ones as blank lines; an A0 page is read though too large to render at
// 300 dots per inch.
TEST_F(TextRecognition, PdfPagesGiveTheirTextLayerAndTheLinesOnlyRecognitionFinds) {
  struct Case {
    std::vector<PDFPageText> pages;
    std::string text;
    double width = 612, height = 792;
  };
  const Case cases[] = {
      {{{{"Invoice 42"}, {"Thank you for your order"}}}, "Invoice 42\nThank you for your order"},
      {{{{"Load all the text/html.xml files"}, {"Load all the text/htm1.xm1 files", "Thank you"}},
        {{}, {"Delivery note", "Thank you"}}},
       "Load all the text/html.xml files\nThank you\n\nDelivery note\nThank you"},
      {{{{"Site plan, ground floor"}, {"North entrance"}}},
       "Site plan, ground floor\nNorth entrance",
       2384,
       3370},
      {{{{}, {"First scanned page"}}, {}, {{"Typed third page"}, {}}, {{}, {"Fourth page"}}},
       "First scanned page\n\n\n\nTyped third page\n\nFourth page"},
  };
  for (const Case& c : cases) {
    TestSupport::writePDF(folder / "page.pdf", c.pages, c.width, c.height);
    EXPECT_EQ(extractText(folder / "page.pdf"), c.text);
  }
}

TEST_F(TextRecognition, LanguagesComeFromTheSettingAndAreCheckedBeforeUse) {
  const Image picture(textPicture({"Straße über Größe"}));
  const auto languages = [](const char* value) { ::setenv("WHIRLPANE_OCR_LANGUAGES", value, 1); };
  languages("deu");
  EXPECT_EQ(recognize(picture, false), "Straße über Größe");
  languages("eng+xyz");
  EXPECT_EQ(failureText([&] { recognize(picture, false); }),
            "Could not create the output: no text-recognition data for \"xyz\" is installed");
  for (const char* value : {"../../etc/passwd", "eng+", "eng deu"}) {
    languages(value);
    EXPECT_EQ(failureText([&] { recognize(picture, false); }),
              "\"" + std::string(value) +
                  "\" is not a list of text-recognition languages such as \"eng\" or \"eng+deu\".");
  }
  languages("");
  EXPECT_EQ(detail::comparable(recognize(picture, false)).substr(0, 4), "stra");
  ::unsetenv("WHIRLPANE_OCR_LANGUAGES");
}

TEST_F(TextRecognition, AnImageSavedAsTextIsItsRecognisedText) {
  const Image picture(textPicture({"Saved as text"}));
  const fs::path source = folder / "picture.png";
  TestSupport::saveImage(picture.pixels(), source);
  writeImage(picture, "TXT", folder / "out.txt", source);
  EXPECT_EQ(TestSupport::readFile(folder / "out.txt"), "Saved as text");
  EXPECT_EQ(failureText([&] {
              writeImage(Image(TestSupport::testPicture(50, 50)), "txt", folder / "none.txt",
                         source);
            }),
            noText);
  EXPECT_FALSE(fs::exists(folder / "none.txt"));
}

}  // namespace
}  // namespace MediaEngine
