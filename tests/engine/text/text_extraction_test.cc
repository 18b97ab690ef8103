// SPDX-License-Identifier: GPL-3.0-or-later
// Text from plain text, DOCX, pictures (by recognition) and PDF pages (their
// text layer and what recognition reads on them); and text typeset into PDF
// pages, checked with poppler's own tools: page sizes, where every word lies,
// what text comes back, which font was used.
#include "text/text_extraction.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

#include "image/image.h"
#include "tests/support/test_support.h"
#include "tests/support/text_fixtures.h"
#include "text/text_pdf.h"
#include "whirlpane/failure.h"

namespace MediaEngine {
namespace {

using TestSupport::failureKind;
using TestSupport::failureText;
using TestSupport::PDFPageText;
using TestSupport::ScratchFolder;
using TestSupport::textPicture;
using TestSupport::wordDocument;
namespace fs = std::filesystem;

std::string run(std::string_view t) { return "<w:r><w:t>" + std::string(t) + "</w:t></w:r>"; }
std::string paragraph(std::string_view content) {
  return "<w:p>" + std::string(content) + "</w:p>";
}

// The text `action` returns, or the message its failure shows.
std::string textOrFailure(const std::function<std::string()>& action) {
  std::string text;
  const std::string failure = failureText([&] { text = action(); });
  return failure == "no failure" ? text : failure;
}

TEST(PlainText, DecodesEveryEncodingItRecognisesAndRefusesBinaryData) {
  ScratchFolder folder;
  const fs::path file = folder / "Report.TXT";  // the extension is compared in lower case
  const std::string binary = "Could not read \"" + file.string() +
                             "\": the file does not hold text in an encoding Whirlpane knows";
  const std::string cafe = "caf\u00e9 \u20ac5 \U0001F600\r\n\tend  ";
  const std::pair<std::string, std::string> cases[] = {
      {cafe, cafe},
      {"\xEF\xBB\xBF" + cafe, cafe},
      {std::string("\xFF\xFE\xE9\0\xAC\x20\x3D\xD8\x00\xDE\r\0\n\0", 14),
       "\u00e9\u20ac\U0001F600\r\n"},
      {"caf\xE9 \x80 \x93q\x94 \x9F", "caf\u00e9 \u20ac \u201cq\u201d \u0178"},  // Windows-1252
      {std::string("plain\0text", 10), binary},
      {"na\x81ve", binary},                             // undefined in Windows-1252
      {std::string("\xFF\xFE\x00\xD8h\0", 6), binary},  // a lone UTF-16 surrogate
  };
  for (const auto& [bytes, text] : cases) {
    TestSupport::writeFile(file, bytes);
    EXPECT_EQ(textOrFailure([&] { return extractText(file); }), text) << bytes;
  }
}

TEST(DocxText, FollowsTheReadingRulesOfWordprocessingML) {
  ScratchFolder folder;
  TestSupport::writeFile(folder / "secret.txt", "TOPSECRET");
  const std::string unreadable = "Could not read a.docx. The file may be damaged or unsupported.";
  std::string references;  // one large entity referenced many times: a quadratic blow-up
  for (int i = 0; i < 20'000; ++i) references += "&big;";
  struct Case {
    std::string declarations;  // a document type declaration's internal subset
    std::string body;
    std::string text;
  };
  const std::vector<Case> cases{
      {"",
       paragraph(run("Hello") + "<w:r><w:tab/><w:t xml:space=\"preserve\">a &amp; &lt;b&gt; </w:t>"
                                "<w:br/><w:t>two</w:t><w:cr/><w:t>three</w:t></w:r>") +
           paragraph(run("Next")),
       "Hello\ta & <b> \ntwo\nthree\nNext"},
      // Of an alternative, the first branch.
      {"",
       paragraph("<w:r><mc:AlternateContent><mc:Choice Requires=\"wps\">" + run("A") +
                 "</mc:Choice><mc:Fallback>" + run("B") +
                 "</mc:Fallback></mc:AlternateContent></w:r>"),
       "A"},
      // Field codes and section properties are not text.
      {"",
       paragraph("<w:r><w:fldChar w:fldCharType=\"begin\"/><w:instrText> HYPERLINK x </w:instrText>"
                 "<w:fldChar w:fldCharType=\"separate\"/></w:r>" +
                 run("Link") + "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r>") +
           "<w:sectPr><w:pgSz w:w=\"12240\"/>stray</w:sectPr>",
       "Link"},
      {"", paragraph("") + paragraph(run(" \t")), "No readable text was found in this file."},
      {"", "<w:p><w:r><w:t>open", unreadable},
      // An internal entity expands; an external one is never read; expansion is bounded.
      {"<!ENTITY co \"Contoso Ltd\">", paragraph(run("&co; and &co;")),
       "Contoso Ltd and Contoso Ltd"},
      {"<!ENTITY x SYSTEM \"file://" + (folder / "secret.txt").string() + "\">",
       paragraph(run("before &x; after")), "before  after"},
      {"<!ENTITY big \"" + std::string(100'000, 'a') + "\">", paragraph(run(references)),
       unreadable},
  };
  for (const Case& c : cases) {
    std::string document = wordDocument(c.body);
    if (!c.declarations.empty()) {
      document = "<?xml version=\"1.0\"?><!DOCTYPE w:document [" + c.declarations + "]>" +
                 document.substr(document.find("<w:document"));
    }
    EXPECT_EQ(textOrFailure([&] { return detail::documentText(document, "a.docx"); }), c.text)
        << c.body.substr(0, 200);
  }
}

TEST(DocxText, ReadsTheMainPartAndReportsPackagesItCannotUnpackAsUnzipDoes) {
  ScratchFolder folder;
  const fs::path docx = folder / "Letter.DOCX";
  TestSupport::writeDocx(docx,
                         wordDocument(paragraph(run("Dear reader,")) + paragraph(run("Bye"))));
  EXPECT_EQ(extractText(docx), "Dear reader,\nBye");
  const std::string unzip = "Could not create the output: unzip: Letter.DOCX";
  TestSupport::writeZip(docx, "word/Document.xml", wordDocument(paragraph(run("wrong case"))));
  EXPECT_EQ(failureText([&] { extractText(docx); }), unzip + " has no member word/document.xml");
  TestSupport::writeFile(docx, "This is plain text, not a package.");
  EXPECT_EQ(failureText([&] { extractText(docx); }), unzip + " is not a ZIP package");
}

// Inflating stops at the cap, also when the member's sizes claim 100 bytes.
TEST(DocxText, StopsInflatingAtTheCapWhateverThePackageClaims) {
  ScratchFolder folder;
  std::string body;
  const std::string filler = paragraph(run(std::string(1000, 'x')));
  while (body.size() < 40'000'000) body += filler;
  const fs::path docx = folder / "big.docx";
  TestSupport::writeDocx(docx, wordDocument(body));
  EXPECT_EQ(failureKind([&] { extractText(docx); }), Failure::Kind::tooLarge);
  // The member's own header opens the package; its directory entry is the last.
  std::string package = TestSupport::readFile(docx);
  const std::string claim("\x64\0\0\0", 4);
  package.replace(22, 4, claim);
  package.replace(package.rfind("PK\x01\x02") + 24, 4, claim);
  TestSupport::writeFile(docx, package);
  const Failure::Kind kind = failureKind([&] { extractText(docx); });
  EXPECT_TRUE(kind == Failure::Kind::tooLarge || kind == Failure::Kind::encoding)
      << static_cast<int>(kind);
}

TEST(PageText, AddsOnlyTheRecognisedLinesTheTextLayerLacks) {
  const std::tuple<std::string, std::string, std::string> cases[] = {
      // text layer, recognised, merged
      {"", "Scanned line one\n  indented line two  ", "Scanned line one\n  indented line two  "},
      {"Words", "---\n\n  \n...\nwords", "Words"},  // punctuation, blank lines and case
      {"Total: 1,250 EUR due today", "total today", "Total: 1,250 EUR due today\ntotal today"},
      // Misread copies of lines the layer has.
      {"Load all the <MIME>/text/html.xml files.\nAny file named Override.xml takes precedence",
       "Load all the <MIME>/text/htm1.xm1 files.\nAny file named Override. xmi takes precedence",
       "Load all the <MIME>/text/html.xml files.\nAny file named Override.xml takes precedence"},
      // A line a third unlike any stretch of the layer.
      {"Checked by the quality team", "Checked by the safety board",
       "Checked by the quality team\nChecked by the safety board"},
      {"", "a\r\nb\u2028c\u0085d", "a\nb\nc\nd"},
  };
  for (const auto& [embedded, recognized, text] : cases)
    EXPECT_EQ(detail::pageText(embedded, recognized), text) << recognized;
}

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
  const vips::VImage label = ink.new_from_image({0, 0, 0}).bandjoin(ink).copy(
      vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
  const std::pair<vips::VImage, std::string> cases[] = {
      {textPicture({"Invoice 42", "Thank you for your order", "Total: 1,250 EUR"}),
       "Invoice 42\nThank you for your order\nTotal: 1,250 EUR"},
      {label, "Transparent label"},
      {TestSupport::testPicture(400, 300), ""},
  };
  for (const auto& [picture, text] : cases) EXPECT_EQ(recognize(Image(picture), true), text);
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
  languages("../../etc/passwd");
  EXPECT_EQ(failureText([&] { recognize(picture, false); }),
            "\"../../etc/passwd\" is not a list of text-recognition languages such as \"eng\" or "
            "\"eng+deu\".");
  ::unsetenv("WHIRLPANE_OCR_LANGUAGES");
}

struct Word {
  int page;
  double xMin, yMin, xMax, yMax;
  std::string text;
};

struct Typeset {
  std::vector<std::pair<double, double>> pageSizes;
  std::vector<Word> words;
};

// The pages and words of `text` typeset, as pdftotext -bbox reports them.
Typeset typeset(std::string_view text) {
  ScratchFolder folder;
  const fs::path file = folder / "text.pdf";
  TestSupport::writeFile(file, textPDF(text).text());
  const std::string html =
      TestSupport::shell("pdftotext -bbox " + TestSupport::quoted(file.string()) + " - 2>&1");
  Typeset result;
  static const std::regex item(
      R"re(<page width="([\d.]+)" height="([\d.]+)">|<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
  for (auto it = std::sregex_iterator(html.begin(), html.end(), item); it != std::sregex_iterator();
       ++it) {
    const std::smatch& m = *it;
    if (m[1].matched) {
      result.pageSizes.emplace_back(std::stod(m[1]), std::stod(m[2]));
    } else {
      result.words.push_back({static_cast<int>(result.pageSizes.size()), std::stod(m[3]),
                              std::stod(m[4]), std::stod(m[5]), std::stod(m[6]), m[7]});
    }
  }
  return result;
}

// Lines, and one long paragraph, come back whole and in order on letter pages
// within one-inch margins, each page's text from its top margin. 40 lines of
// 12-point text fit in the 684 points between the margins.
TEST(TextPDF, EveryWordArrivesInOrderInsideTheMarginsOfLetterPages) {
  std::string forty, paragraph;
  for (int i = 1; i <= 1500; ++i) {
    if (i <= 40) forty += "w" + std::to_string(i) + "\n";
    paragraph += "w" + std::to_string(i) + " ";
  }
  for (const auto& [text, words, pages] : {std::tuple{forty, 40u, 1u}, {paragraph, 1500u, 2u}}) {
    const Typeset result = typeset(text);
    EXPECT_EQ(result.pageSizes.size(), pages);
    for (const auto& size : result.pageSizes) EXPECT_EQ(size, std::pair(612.0, 792.0));
    ASSERT_EQ(result.words.size(), words);
    for (size_t i = 0; i < words; ++i) {
      const Word& word = result.words[i];
      EXPECT_EQ(word.text, "w" + std::to_string(i + 1));
      EXPECT_TRUE(word.xMin > 53.99 && word.xMax < 558.01 && word.yMin > 53.99 &&
                  word.yMax < 738.01)
          << word.text;
      if (i == 0 || word.page != result.words[i - 1].page) {
        EXPECT_NEAR(word.yMin, 54.0, 4.0) << word.text;
        EXPECT_NEAR(word.xMin, 54.0, 2.0) << word.text;
      }
    }
  }
}

// Every line break is one line, a Windows CR LF included; blank lines, and
// breaks before any text, keep their space; an empty text is one blank page.
TEST(TextPDF, LineBreaksBlankLinesAndEmptyTexts) {
  const Typeset plain = typeset("First\nSecond");
  ASSERT_EQ(plain.words.size(), 2u);
  const double top = plain.words[0].yMin, line = plain.words[1].yMin - top;
  EXPECT_GE(line, 11.9);  // the face's ascent and descent: 12 points in Nimbus Sans
  EXPECT_LT(line, 16.0);
  const std::pair<const char*, std::vector<int>> cases[] = {
      // text, the line each word is on
      {"First\r\nSecond\r\n", {0, 1}},
      {"First\n\n\nSecond", {0, 3}},
      {"\n\n\nFirst", {3}},
      {"", {}},
  };
  for (const auto& [text, lines] : cases) {
    const Typeset result = typeset(text);
    EXPECT_EQ(result.pageSizes.size(), 1u);
    ASSERT_EQ(result.words.size(), lines.size()) << text;
    for (size_t i = 0; i < lines.size(); ++i)
      EXPECT_NEAR(result.words[i].yMin - top, lines[i] * line, 0.5) << text;
  }
}

// Helvetica's metric twin first; other scripts fall back to faces that have
// them, and a character no face has is drawn as a box showing its code.
TEST(TextPDF, TypesetsInHelveticaFallingBackForOtherScripts) {
  ScratchFolder folder;
  const std::string file = TestSupport::quoted((folder / "fonts.pdf").string());
  TestSupport::writeFile(
      folder / "fonts.pdf",
      textPDF("Helvetica \u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac \U0010fffd").text());
  EXPECT_NE(TestSupport::shell("pdffonts " + file).find("NimbusSans-Regular"), std::string::npos);
  const std::string back = TestSupport::shell("pdftotext " + file + " -");
  EXPECT_TRUE(
      back.starts_with("Helvetica \u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac 10F\nFFD"))
      << back;
}

}  // namespace
}  // namespace MediaEngine
