// SPDX-License-Identifier: GPL-3.0-or-later
// The ZIP and DOCX writers, their archives walked field by field (see
// tests/support/test_support.h) and read back by other readers.
#include <gtest/gtest.h>

#include "image/image.h"
#include "office/docx_writer.h"
#include "office/zip_reader.h"
#include "office/zip_writer.h"
#include "tests/support/test_support.h"
#include "text/text_extraction.h"
#include "whirlpane/failure.h"

namespace MediaEngine {
namespace {

using TestSupport::membersOf;
using TestSupport::ScratchFolder;
namespace fs = std::filesystem;

// What the document holds, as our own extraction reads it back.
std::string readBack(std::optional<std::string_view> text) {
  const auto members = membersOf(std::string(docx(text, std::nullopt).text()));
  EXPECT_EQ(TestSupport::namesOf(members),
            (std::vector<std::string>{"word/document.xml", "[Content_Types].xml", "_rels/.rels"}));
  try {
    return detail::documentText(members.at(0).content, "round.docx");
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
      {"one\r\ntwo\r\n\r\nfour\n", "one\ntwo\n\nfour"},
      {"a\rb\n\rc\u2028d\u2029e\u0085f\x0Bg\x0Ch", "a\nb\n\nc\nd\ne\nf\ng\nh"},
  };
  for (const auto& [text, back] : cases) EXPECT_EQ(readBack(text), back) << text.value_or("none");
}

TEST(Docx, AnImageFitsSixAndAHalfByNineInchesWithoutLoss) {
  struct Case {
    int width, height;
    long long cx, cy;
  };
  for (const Case& c : {Case{4000, 3000, 5943600, 4457700}, Case{1000, 4000, 2057400, 8229600},
                        Case{7, 3, 5943600, 2547257}}) {
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
    const vips::VImage png = vips::VImage::new_from_buffer(members[0].content, "");
    EXPECT_EQ(TestSupport::maxDifference(png, image.pixels()), 0.0);
  }
}

std::span<const std::byte> bytesOf(std::string_view text) { return std::as_bytes(std::span(text)); }

// unzip and libzip read the archive independently of our own header walk.
TEST(Zip, EntriesReadBackInOrderThroughEveryReader) {
  EXPECT_EQ(std::string(zip({}).text()), std::string("PK\x05\x06", 4) + std::string(18, '\0'));
  const std::string text = "entry text\n", big(300'000, 'z');
  const std::string archive(
      zip({{"one.txt", bytesOf(text)}, {"sub/\u00fcber.dat", bytesOf(big)}, {"empty", {}}}).text());
  const std::vector<TestSupport::Member> members = TestSupport::membersOf(archive);
  ASSERT_EQ(TestSupport::namesOf(members),
            (std::vector<std::string>{"one.txt", "sub/\u00fcber.dat", "empty"}));
  EXPECT_EQ(members[0].content, text);
  EXPECT_EQ(members[1].content, big);
  EXPECT_EQ(members[2].content, "");

  ScratchFolder folder;
  const fs::path file = folder / "test.zip";
  TestSupport::writeFile(file, archive);
  int status = -1;
  EXPECT_EQ(TestSupport::shell("unzip -tq " + TestSupport::quoted(file.string()), &status),
            "No errors detected in compressed data of " + file.string() + ".\n");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(detail::packageMember(file, "sub/\u00fcber.dat", 1 << 20), big);
}

}  // namespace
}  // namespace MediaEngine
