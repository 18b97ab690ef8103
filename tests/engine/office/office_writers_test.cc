// SPDX-License-Identifier: GPL-3.0-or-later
// The ZIP and DOCX writers, their archives walked field by field and read
// back by other readers.
#include <gtest/gtest.h>

#include "base/byte_order.h"
#include "image/image.h"
#include "office/docx_writer.h"
#include "office/zip_reader.h"
#include "office/zip_writer.h"
#include "tests/support/test_support.h"
#include "text/text_extraction.h"
#include "whirlpane/failure.h"

namespace MediaEngine {
namespace {

using TestSupport::ScratchFolder;
namespace fs = std::filesystem;

// The entries of a ZIP archive the engine wrote, in central directory order,
// each checked field by field against what the writer promises.
struct Member {
  std::string name;
  std::string content;
};
std::vector<Member> membersOf(const std::string& archive) {
  std::vector<Member> members;
  const size_t end = archive.size() - 22;
  EXPECT_EQ(littleEndian<4>(archive.data() + end), 0x06054B50u);
  const uint16_t count = littleEndian<2>(archive.data() + end + 10);
  EXPECT_EQ(littleEndian<2>(archive.data() + end + 8), count);
  const uint32_t directorySize = littleEndian<4>(archive.data() + end + 12),
                 directoryOffset = littleEndian<4>(archive.data() + end + 16);
  EXPECT_EQ(directoryOffset + directorySize, end);
  size_t at = directoryOffset, localEnd = 0;
  for (uint16_t i = 0; i < count; ++i) {
    EXPECT_EQ(littleEndian<4>(archive.data() + at), 0x02014B50u);
    EXPECT_EQ(littleEndian<2>(archive.data() + at + 8), 0x0800) << "UTF-8 names";
    EXPECT_EQ(littleEndian<2>(archive.data() + at + 10), 0) << "stored";
    EXPECT_EQ(littleEndian<2>(archive.data() + at + 12), 0) << "00:00:00";
    EXPECT_EQ(littleEndian<2>(archive.data() + at + 14), 33) << "1980-01-01";
    const uint32_t crc = littleEndian<4>(archive.data() + at + 16),
                   size = littleEndian<4>(archive.data() + at + 20);
    EXPECT_EQ(littleEndian<4>(archive.data() + at + 24), size);
    const uint16_t nameLength = littleEndian<2>(archive.data() + at + 28);
    const size_t local = littleEndian<4>(archive.data() + at + 42);
    Member member{archive.substr(at + 46, nameLength), {}};
    EXPECT_EQ(archive.compare(local, 4, "PK\x03\x04"), 0) << member.name;
    EXPECT_EQ(littleEndian<2>(archive.data() + local + 6), 0x0800);
    EXPECT_EQ(littleEndian<2>(archive.data() + local + 12), 33);
    EXPECT_EQ(littleEndian<4>(archive.data() + local + 14), crc);
    EXPECT_EQ(littleEndian<2>(archive.data() + local + 28), 0) << "no extra field";
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

// What the document holds, as our own extraction reads it back.
std::string readBack(std::optional<std::string_view> text) {
  const auto members = membersOf(std::string(docx(text, std::nullopt).text()));
  EXPECT_EQ(namesOf(members),
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
    ASSERT_EQ(namesOf(members), (std::vector<std::string>{
                                    "word/media/image.png", "word/_rels/document.xml.rels",
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
  const std::vector<Member> members = membersOf(archive);
  ASSERT_EQ(namesOf(members), (std::vector<std::string>{"one.txt", "sub/\u00fcber.dat", "empty"}));
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
