#include "tests/support/zip_members.h"

#include <gtest/gtest.h>

#include <span>

#include "base/byte_order.h"
#include "office/zip_writer.h"

namespace TestSupport {

using MediaEngine::littleEndian;

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
    EXPECT_EQ(MediaEngine::crc32(std::as_bytes(std::span(member.content))), crc) << member.name;
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

}  // namespace TestSupport
