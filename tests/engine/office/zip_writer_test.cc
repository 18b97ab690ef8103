#include "office/zip_writer.h"

#include <gtest/gtest.h>

#include "office/zip_reader.h"
#include "tests/support/test_support.h"
#include "tests/support/zip_members.h"

namespace MediaEngine {
namespace {

using TestSupport::ScratchFolder;
namespace fs = std::filesystem;

std::span<const std::byte> bytesOf(std::string_view text) { return std::as_bytes(std::span(text)); }

// Our own header walk (zip_members) checks every field the writer promises;
// unzip, Python's zipfile and libzip read the same archive independently.
TEST(Zip, EntriesReadBackInOrderThroughEveryReader) {
  EXPECT_EQ(crc32(bytesOf("123456789")), 0xCBF43926u);
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
  EXPECT_EQ(python,
            "None [('one.txt', (1980, 1, 1, 0, 0, 0), 0, 11), ('sub/\u00fcber.dat', (1980, 1, 1, "
            "0, 0, 0), 0, 300000), ('empty', (1980, 1, 1, 0, 0, 0), 0, 0)]\n");
  EXPECT_EQ(detail::packageMember(file, "sub/\u00fcber.dat", 1 << 20), big);
}

}  // namespace
}  // namespace MediaEngine
