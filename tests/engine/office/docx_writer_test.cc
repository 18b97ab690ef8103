// The DOCX writer and its ZIP container, checked field by field and by
// independent readers: libzip, unzip -t, Python's zipfile and LibreOffice.
#include "office/docx_writer.h"

#include <gtest/gtest.h>

#include <cstring>

#include "image/image.h"
#include "office/zip_reader.h"
#include "office/zip_writer.h"
#include "tests/support/test_support.h"
#include "tests/support/text_fixtures.h"
#include "text/text_extraction.h"
#include "whirlpane/formats.h"

namespace MediaEngine {
namespace {

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

uint32_t u32(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}
uint16_t u16(const std::string& bytes, size_t at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(bytes[at]) |
                               static_cast<unsigned char>(bytes[at + 1]) << 8);
}

struct Member {
  std::string name;
  std::string content;
};

// The archive's entries as its central directory lists them, each checked
// against its local header: the fields this writer promises, and the data
// where the local header says it is.
std::vector<Member> membersOf(const std::string& archive) {
  std::vector<Member> members;
  const size_t end = archive.size() - 22;
  EXPECT_EQ(u32(archive, end), 0x06054B50u);
  const uint16_t count = u16(archive, end + 10);
  EXPECT_EQ(u16(archive, end + 8), count);
  const uint32_t directorySize = u32(archive, end + 12), directoryOffset = u32(archive, end + 16);
  EXPECT_EQ(directoryOffset + directorySize, end);
  size_t at = directoryOffset, localEnd = 0;
  for (uint16_t i = 0; i < count; ++i) {
    EXPECT_EQ(u32(archive, at), 0x02014B50u);
    EXPECT_EQ(u16(archive, at + 8), 0x0800) << "UTF-8 names";
    EXPECT_EQ(u16(archive, at + 10), 0) << "stored";
    EXPECT_EQ(u16(archive, at + 12), 0) << "00:00:00";
    EXPECT_EQ(u16(archive, at + 14), 33) << "1980-01-01";
    const uint32_t crc = u32(archive, at + 16), size = u32(archive, at + 20);
    EXPECT_EQ(u32(archive, at + 24), size);
    const uint16_t nameLength = u16(archive, at + 28);
    const size_t local = u32(archive, at + 42);
    Member member{archive.substr(at + 46, nameLength), {}};
    EXPECT_EQ(archive.compare(local, 4, "PK\x03\x04"), 0) << member.name;
    EXPECT_EQ(u16(archive, local + 6), 0x0800);
    EXPECT_EQ(u16(archive, local + 12), 33);
    EXPECT_EQ(u32(archive, local + 14), crc);
    EXPECT_EQ(u16(archive, local + 28), 0) << "no extra field";
    EXPECT_EQ(archive.substr(local + 30, nameLength), member.name);
    member.content = archive.substr(local + 30 + nameLength, size);
    EXPECT_EQ(crc32(std::as_bytes(std::span(member.content))), crc) << member.name;
    localEnd = local + 30 + nameLength + size;
    members.push_back(std::move(member));
    at += 46 + nameLength;
  }
  EXPECT_EQ(localEnd, directoryOffset) << "the directory follows the last local record";
  return members;
}

std::vector<std::string> namesOf(const std::vector<Member>& members) {
  std::vector<std::string> names;
  for (const Member& m : members) names.push_back(m.name);
  return names;
}

std::string documentOf(std::optional<std::string_view> text) {
  const std::vector<Member> members = membersOf(std::string(docx(text, std::nullopt).text()));
  return members.size() == 3 ? members[0].content : "";
}

TEST(Zip, CRC32MatchesTheStandardCheckValues) {
  const auto crcOf = [](std::string_view s) { return crc32(std::as_bytes(std::span(s))); };
  EXPECT_EQ(crcOf(""), 0u);
  EXPECT_EQ(crcOf("123456789"), 0xCBF43926u);
  EXPECT_EQ(crcOf("The quick brown fox jumps over the lazy dog"), 0x414FA339u);
  EXPECT_EQ(crcOf(std::string(1, '\0')), 0xD202EF8Du);
}

TEST(Zip, WritesEntriesInOrderWithTheirOwnHeaders) {
  const std::string empty = std::string(zip({}).text());
  EXPECT_EQ(empty, std::string("PK\x05\x06", 4) + std::string(18, '\0'));

  const std::string first = "first entry", second(70'000, 'x');
  const std::string archive =
      std::string(zip({{"a.txt", std::as_bytes(std::span(first))},
                       {"dir/\u00e9t\u00e9.bin", std::as_bytes(std::span(second))},
                       {"empty", {}}})
                      .text());
  const std::vector<Member> members = membersOf(archive);
  ASSERT_EQ(members.size(), 3u);
  EXPECT_EQ(members[0].name, "a.txt");
  EXPECT_EQ(members[0].content, first);
  EXPECT_EQ(members[1].name, "dir/\u00e9t\u00e9.bin");
  EXPECT_EQ(members[1].content, second);
  EXPECT_EQ(members[2].content, "");
}

TEST(Zip, IndependentReadersAcceptTheArchive) {
  ScratchFolder folder;
  const std::string text = "entry text\n", big(300'000, 'z');
  const fs::path file = folder / "test.zip";
  TestSupport::writeFile(file, zip({{"one.txt", std::as_bytes(std::span(text))},
                                    {"sub/\u00fcber.dat", std::as_bytes(std::span(big))}})
                                   .text());
  int status = -1;
  const std::string listing =
      TestSupport::shell("unzip -t " + TestSupport::quoted(file.string()) + " 2>&1", &status);
  EXPECT_EQ(status, 0) << listing;
  EXPECT_NE(listing.find("No errors detected"), std::string::npos) << listing;
  const std::string python = TestSupport::shell(
      "python3 -c 'import sys, zipfile; z = zipfile.ZipFile(sys.argv[1]); "
      "print(z.testzip(), [(i.filename, i.date_time, i.compress_type, i.file_size) for i in "
      "z.infolist()])' " +
          TestSupport::quoted(file.string()) + " 2>&1",
      &status);
  EXPECT_EQ(status, 0) << python;
  EXPECT_EQ(python,
            "None [('one.txt', (1980, 1, 1, 0, 0, 0), 0, 11), ('sub/\u00fcber.dat', (1980, 1, 1, "
            "0, 0, 0), 0, 300000)]\n");
  EXPECT_EQ(detail::packageMember(file, "sub/\u00fcber.dat", 1 << 20), big);
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
