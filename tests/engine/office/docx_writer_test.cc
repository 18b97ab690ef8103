// The DOCX writer, read back by our own text extraction and by LibreOffice.
#include "office/docx_writer.h"

#include <gtest/gtest.h>

#include <regex>

#include "image/image.h"
#include "office/zip_reader.h"
#include "tests/support/test_support.h"
#include "tests/support/zip_members.h"
#include "text/text_extraction.h"
#include "whirlpane/failure.h"

namespace MediaEngine {
namespace {

using TestSupport::membersOf;
using TestSupport::ScratchFolder;
namespace fs = std::filesystem;

// What the document holds, as our own extraction reads it back.
std::string readBack(std::optional<std::string_view> text) {
  ScratchFolder folder;
  const Bytes written = docx(text, std::nullopt);
  EXPECT_EQ(TestSupport::namesOf(membersOf(std::string(written.text()))),
            (std::vector<std::string>{"word/document.xml", "[Content_Types].xml", "_rels/.rels"}));
  TestSupport::writeFile(folder / "round.docx", written.text());
  try {
    return extractText(folder / "round.docx");
  } catch (const Failure& failure) {
    return failure.kind() == Failure::Kind::noText ? "(no text)" : failure.what();
  }
}

TEST(Docx, TextBecomesOneParagraphPerLineExactly) {
  const std::pair<std::optional<std::string_view>, std::string> cases[] = {
      {std::nullopt, "(no text)"},
      {"", "(no text)"},
      {"a & <b> \"c\" 'd' &amp; &#38;", "a & <b> \"c\" 'd' &amp; &#38;"},
      {std::string_view("a\0b\x08"
                        "c\x01\x1F\tt\xEF\xBF\xBE\xEF\xBF\xBF\xF0\x9F\x98\x80",
                        20),
       "abc\tt\xF0\x9F\x98\x80"},
      {"one\n\nthree\n", "one\n\nthree"},
      {"one\r\ntwo\r\n\r\nfour", "one\ntwo\n\nfour"},
      {"a\rb\n\rc\u2028d\u2029e\u0085f\x0Bg\x0Ch", "a\nb\n\nc\nd\ne\nf\ng\nh"},
      {"Title\n\n\tIndented\nLast line \u00e9\u00e8",
       "Title\n\n\tIndented\nLast line \u00e9\u00e8"},
  };
  for (const auto& [text, back] : cases) EXPECT_EQ(readBack(text), back) << text.value_or("none");
}

TEST(Docx, AnImageFitsSixAndAHalfByNineInchesWithoutLoss) {
  struct Case {
    int width, height;
    long long cx, cy;
  };
  for (const Case& c : {Case{4000, 3000, 5943600, 4457700}, Case{100, 100, 5943600, 5943600},
                        Case{1000, 4000, 2057400, 8229600}, Case{7, 3, 5943600, 2547257}}) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
    const Image image(TestSupport::testPicture(c.width, c.height));
    const auto members = membersOf(std::string(docx("Caption", image).text()));
    ASSERT_EQ(
        TestSupport::namesOf(members),
        (std::vector<std::string>{"word/media/image.png", "word/_rels/document.xml.rels",
                                  "word/document.xml", "[Content_Types].xml", "_rels/.rels"}));
    const std::string extent =
        "cx=\"" + std::to_string(c.cx) + "\" cy=\"" + std::to_string(c.cy) + "\"/>";
    const std::string& document = members[2].content;
    EXPECT_NE(document.find("<wp:extent " + extent), std::string::npos);
    EXPECT_NE(document.find("<a:ext " + extent), std::string::npos);
    EXPECT_LT(document.find(">Caption<"), document.find("<w:drawing>"));
    ScratchFolder folder;
    TestSupport::writeFile(folder / "image.png", members[0].content);
    EXPECT_EQ(
        TestSupport::maxDifference(TestSupport::loadWithVips(folder / "image.png"), image.pixels()),
        0.0);
  }
}

// LibreOffice finds the main part, the image and its relationship only when
// the content types and relationships are right.
TEST(Docx, LibreOfficeReadsTheTextAndPlacesTheImage) {
  if (!TestSupport::haveTool("soffice")) GTEST_SKIP() << "LibreOffice is not installed";
  ScratchFolder folder;
  const std::string text = "Dear reader,\n\nTabs\tand <angle> & \"quotes\"\r\nZ\u00fcrich \u20ac";
  TestSupport::writeFile(folder / "letter.docx", docx(text, std::nullopt).text());
  for (const auto& [name, width, height] : {std::tuple{"wide", 4000, 3000}, {"tall", 1000, 4000}}) {
    TestSupport::writeFile(
        folder / (std::string(name) + ".docx"),
        docx(std::nullopt, Image(TestSupport::testPicture(width, height))).text());
  }
  const std::string soffice = "cd " + TestSupport::quoted(folder.path().string()) +
                              " && soffice -env:UserInstallation=file://" +
                              (folder / "profile").string() +
                              " --headless --norestore --convert-to ";
  int status = -1;
  TestSupport::shell(soffice + "txt:Text letter.docx >/dev/null 2>&1", &status);
  ASSERT_EQ(status, 0);
  EXPECT_EQ(TestSupport::readFile(folder / "letter.txt"),
            "\xEF\xBB\xBF"
            "Dear reader,\n\nTabs\tand <angle> & \"quotes\"\nZ\u00fcrich \u20ac\n");
  TestSupport::shell(soffice + "fodt wide.docx tall.docx >/dev/null 2>&1", &status);
  ASSERT_EQ(status, 0);
  // The frame's size in inches, whichever unit LibreOffice writes it in.
  static const std::regex frame(
      R"re(<draw:frame[^>]* svg:width="([\d.]+)(in|cm)" svg:height="([\d.]+)(in|cm)")re");
  for (const auto& [name, width, height] :
       {std::tuple{"wide.fodt", 6.5, 4.875}, std::tuple{"tall.fodt", 2.25, 9.0}}) {
    const std::string flat = TestSupport::readFile(folder / name);
    std::smatch size;
    ASSERT_TRUE(std::regex_search(flat, size, frame)) << name;
    EXPECT_NEAR(std::stod(size[1]) / (size[2] == "cm" ? 2.54 : 1), width, 0.001) << size[0];
    EXPECT_NEAR(std::stod(size[3]) / (size[4] == "cm" ? 2.54 : 1), height, 0.001) << size[0];
    EXPECT_NE(flat.find("<draw:image"), std::string::npos) << name;
  }
}

}  // namespace
}  // namespace MediaEngine
