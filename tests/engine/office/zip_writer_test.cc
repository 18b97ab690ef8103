#include "office/zip_writer.h"

#include <gtest/gtest.h>

#include "office/zip_reader.h"
#include "tests/support/test_support.h"
#include "tests/support/zip_members.h"

namespace MediaEngine {
namespace {

using TestSupport::Member;
using TestSupport::membersOf;
using TestSupport::ScratchFolder;
namespace fs = std::filesystem;

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

}  // namespace
}  // namespace MediaEngine
