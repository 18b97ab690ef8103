// Text recognition: images read by OCR, and PDF pages read through both their
// text layer and OCR of their rendering. Fixtures are drawn with Pango at test
// time, so the text on them is known.
#include <gtest/gtest.h>

#include <cstdlib>

#include "image/image.h"
#include "tests/support/test_support.h"
#include "tests/support/text_fixtures.h"
#include "text/text_extraction.h"

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

}  // namespace
}  // namespace MediaEngine
