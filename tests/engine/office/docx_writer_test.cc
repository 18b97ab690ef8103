// The DOCX writer and its ZIP container, checked field by field and by
// independent readers: libzip, unzip -t, Python's zipfile and LibreOffice.
#include "office/docx_writer.h"

#include <gtest/gtest.h>

#include <cstring>

#include "image/image.h"
#include "office/zip_reader.h"
#include "tests/support/test_support.h"
#include "tests/support/text_fixtures.h"
#include "tests/support/zip_members.h"
#include "text/text_extraction.h"
#include "whirlpane/formats.h"

namespace MediaEngine {
namespace {

using TestSupport::Member;
using TestSupport::membersOf;
using TestSupport::namesOf;
using TestSupport::ScratchFolder;
namespace fs = std::filesystem;

const std::string declaration = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)";
const std::string documentStart =
    declaration +
    R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main" )"
    R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships" )"
    R"(xmlns:wp="http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing" )"
    R"(xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main" )"
    R"(xmlns:pic="http://schemas.openxmlformats.org/drawingml/2006/picture"><w:body>)";
const std::string documentEnd =
    R"(<w:sectPr><w:pgSz w:w="12240" w:h="15840"/><w:pgMar w:top="1080" w:right="1080" w:bottom="1080" w:left="1080"/>)"
    R"(</w:sectPr></w:body></w:document>)";

std::string paragraph(std::string_view text) {
  return R"(<w:p><w:r><w:t xml:space="preserve">)" + std::string(text) + "</w:t></w:r></w:p>";
}

std::string documentOf(std::optional<std::string_view> text) {
  const std::vector<Member> members = membersOf(std::string(docx(text, std::nullopt).text()));
  return members.size() == 3 ? members[0].content : "";
}

TEST(Docx, TextBecomesOneParagraphPerLineExactly) {
  const std::vector<Member> members = membersOf(std::string(docx("Hello", std::nullopt).text()));
  EXPECT_EQ(namesOf(members),
            (std::vector<std::string>{"word/document.xml", "[Content_Types].xml", "_rels/.rels"}));
  EXPECT_EQ(members[0].content, documentStart + paragraph("Hello") + documentEnd);
  EXPECT_EQ(
      members[1].content,
      declaration +
          R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
          R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
          R"(<Default Extension="xml" ContentType="application/xml"/><Default Extension="png" ContentType="image/png"/>)"
          R"(<Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/></Types>)");
  EXPECT_EQ(
      members[2].content,
      declaration +
          R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
          R"(<Relationship Id="rIdDocument" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/></Relationships>)");

  struct Case {
    const char* what;
    std::optional<std::string_view> text;
    std::string body;
  };
  const std::vector<Case> cases{
      {"no text", std::nullopt, ""},
      {"an empty text", "", paragraph("")},
      {"the five escapes", "a & <b> \"c\" 'd'",
       paragraph("a &amp; &lt;b&gt; &quot;c&quot; &apos;d&apos;")},
      {"an entity already there", "&amp; &#38;", paragraph("&amp;amp; &amp;#38;")},
      {"characters XML forbids",
       std::string_view("a\0b\x08"
                        "c\x01\x1F\tt\xEF\xBF\xBE\xEF\xBF\xBF\xF0\x9F\x98\x80",
                        20),
       paragraph("abc\tt\xF0\x9F\x98\x80")},
      {"blank lines and a final break", "one\n\nthree\n",
       paragraph("one") + paragraph("") + paragraph("three") + paragraph("")},
      {"Windows line ends", "one\r\ntwo\r\n\r\nfour",
       paragraph("one") + paragraph("two") + paragraph("") + paragraph("four")},
      {"every other line break on its own", "a\rb\n\rc\u2028d\u2029e\u0085f\x0Bg\x0Ch",
       paragraph("a") + paragraph("b") + paragraph("") + paragraph("c") + paragraph("d") +
           paragraph("e") + paragraph("f") + paragraph("g") + paragraph("h")},
  };
  for (const Case& c : cases)
    EXPECT_EQ(documentOf(c.text), documentStart + c.body + documentEnd) << c.what;
}

TEST(Docx, AnImageFitsSixAndAHalfByNineInches) {
  TestSupport::startVips();
  struct Case {
    int width, height;
    long long cx, cy;
  };
  for (const Case& c : {Case{4000, 3000, 5943600, 4457700}, Case{100, 100, 5943600, 5943600},
                        Case{1000, 4000, 2057400, 8229600}, Case{7, 3, 5943600, 2547257}}) {
    const Image image(TestSupport::testPicture(c.width, c.height));
    const std::vector<Member> members = membersOf(std::string(docx(std::nullopt, image).text()));
    ASSERT_EQ(namesOf(members), (std::vector<std::string>{
                                    "word/media/image.png", "word/_rels/document.xml.rels",
                                    "word/document.xml", "[Content_Types].xml", "_rels/.rels"}));
    const std::string extent =
        "cx=\"" + std::to_string(c.cx) + "\" cy=\"" + std::to_string(c.cy) + "\"";
    const std::string& document = members[2].content;
    EXPECT_NE(document.find("<wp:extent " + extent + "/>"), std::string::npos)
        << c.width << "×" << c.height;
    EXPECT_NE(document.find("<a:ext " + extent + "/>"), std::string::npos)
        << c.width << "×" << c.height;
    if (c.width == 100) {
      EXPECT_EQ(
          document,
          documentStart +
              R"(<w:p><w:r><w:drawing><wp:inline distT="0" distB="0" distL="0" distR="0"><wp:extent cx="5943600" cy="5943600"/>)"
              R"(<wp:docPr id="1" name="Converted image"/><a:graphic><a:graphicData uri="http://schemas.openxmlformats.org/drawingml/2006/picture">)"
              R"(<pic:pic><pic:nvPicPr><pic:cNvPr id="1" name="image.png"/><pic:cNvPicPr/></pic:nvPicPr><pic:blipFill><a:blip r:embed="rIdImage"/>)"
              R"(<a:stretch><a:fillRect/></a:stretch></pic:blipFill><pic:spPr><a:xfrm><a:off x="0" y="0"/><a:ext cx="5943600" cy="5943600"/>)"
              R"(</a:xfrm><a:prstGeom prst="rect"><a:avLst/></a:prstGeom></pic:spPr></pic:pic></a:graphicData></a:graphic></wp:inline></w:drawing></w:r></w:p>)" +
              documentEnd);
      EXPECT_EQ(
          members[1].content,
          declaration +
              R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
              R"(<Relationship Id="rIdImage" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/image" Target="media/image.png"/></Relationships>)");
      // The picture is the image, without loss.
      ScratchFolder folder;
      TestSupport::writeFile(folder / "image.png", members[0].content);
      EXPECT_EQ(TestSupport::maxDifference(TestSupport::loadWithVips(folder / "image.png"),
                                           image.pixels()),
                0.0);
    }
  }
  // Text and image together: the text first.
  const std::vector<Member> both =
      membersOf(std::string(docx("Caption", Image(TestSupport::testPicture(20, 10))).text()));
  ASSERT_EQ(both.size(), 5u);
  EXPECT_LT(both[2].content.find(paragraph("Caption")), both[2].content.find("<w:drawing>"));
}

TEST(Docx, LibreOfficeReadsTheTextAndPlacesTheImage) {
  if (!TestSupport::haveTool("soffice")) GTEST_SKIP() << "LibreOffice is not installed";
  ScratchFolder folder;
  TestSupport::writeFile(
      folder / "letter.docx",
      docx("Dear reader,\n\nTabs\tand <angle> & \"quotes\"\r\nZ\u00fcrich \u20ac", std::nullopt)
          .text());
  TestSupport::startVips();
  TestSupport::writeFile(folder / "wide.docx",
                         docx(std::nullopt, Image(TestSupport::testPicture(4000, 3000))).text());
  TestSupport::writeFile(folder / "tall.docx",
                         docx(std::nullopt, Image(TestSupport::testPicture(1000, 4000))).text());
  const std::string profile = "-env:UserInstallation=file://" + (folder / "profile").string();
  const std::string soffice = "cd " + TestSupport::quoted(folder.path().string()) + " && soffice " +
                              profile + " --headless --norestore --convert-to ";
  int status = -1;
  TestSupport::shell(soffice + "txt:Text letter.docx >/dev/null 2>&1", &status);
  ASSERT_EQ(status, 0);
  EXPECT_EQ(TestSupport::readFile(folder / "letter.txt"),
            "\xEF\xBB\xBF"
            "Dear reader,\n\nTabs\tand <angle> & \"quotes\"\nZ\u00fcrich \u20ac\n");

  TestSupport::shell(soffice + "fodt wide.docx tall.docx >/dev/null 2>&1", &status);
  ASSERT_EQ(status, 0);
  // 914,400 EMU make an inch: 5943600 × 4457700 EMU is 6.5 × 4.875 in, 2057400 × 8229600 is 2.25 ×
  // 9 in.
  const auto inches = [](const std::string& tag, const std::string& attribute) {
    const size_t at = tag.find(attribute + "=\"");
    if (at == std::string::npos) return -1.0;
    size_t end = 0;
    const double value = std::stod(tag.substr(at + attribute.size() + 2), &end);
    const std::string unit = tag.substr(at + attribute.size() + 2 + end, 2);
    return unit == "in" ? value : unit == "cm" ? value / 2.54 : -1.0;
  };
  for (const auto& [name, width, height] :
       {std::tuple{"wide.fodt", 6.5, 4.875}, std::tuple{"tall.fodt", 2.25, 9.0}}) {
    const std::string flat = TestSupport::readFile(folder / name);
    const size_t frame = flat.find("<draw:frame");
    ASSERT_NE(frame, std::string::npos) << name;
    const std::string tag = flat.substr(frame, flat.find('>', frame) - frame);
    EXPECT_NEAR(inches(tag, "svg:width"), width, 0.001) << tag;
    EXPECT_NEAR(inches(tag, "svg:height"), height, 0.001) << tag;
    EXPECT_NE(flat.find("<draw:image"), std::string::npos) << name;
  }
}

TEST(Docx, TextExtractionReadsBackWhatTheWriterWrote) {
  ScratchFolder folder;
  const std::string text = "Title\n\n\tIndented & <escaped>\nLast line \u00e9\u00e8";
  TestSupport::writeFile(folder / "round.docx", docx(text, std::nullopt).text());
  EXPECT_EQ(
      detail::documentText(
          detail::packageMember(folder / "round.docx", "word/document.xml", 1 << 20), "round.docx"),
      text);
}

}  // namespace
}  // namespace MediaEngine
