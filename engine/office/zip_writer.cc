// SPDX-License-Identifier: GPL-3.0-or-later
#include "office/zip_writer.h"

#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

#include "whirlpane/failure.h"

namespace MediaEngine {
namespace {

constexpr uint64_t fieldLimit = 0xFFFF'FFFF;
constexpr uint16_t version = 20;        // 2.0: stored entries and folders
constexpr uint16_t utf8Names = 0x0800;  // general-purpose flag bit 11
constexpr uint16_t stored = 0;
constexpr uint16_t midnight = 0;
constexpr uint16_t firstOfJanuary1980 = 33;  // MS-DOS date: day 1, month 1, year 0

// Writes little-endian fields and bytes at a moving position in a buffer
// sized beforehand.
class Cursor {
 public:
  explicit Cursor(std::byte* at) : at_(at) {}
  void u16(uint16_t value) {
    *at_++ = static_cast<std::byte>(value & 0xFF);
    *at_++ = static_cast<std::byte>(value >> 8);
  }
  void u32(uint64_t value) {
    u16(static_cast<uint16_t>(value & 0xFFFF));
    u16(static_cast<uint16_t>(value >> 16));
  }
  void append(std::span<const std::byte> data) {
    if (!data.empty()) std::memcpy(at_, data.data(), data.size());
    at_ += data.size();
  }
  void append(std::string_view text) { append(std::as_bytes(std::span(text))); }
  // The fields a local header and a central directory header share, from
  // "version needed" to "extra field length".
  void entryFields(uint32_t crc, uint64_t size, uint16_t nameLength) {
    u16(version);
    u16(utf8Names);
    u16(stored);
    u16(midnight);
    u16(firstOfJanuary1980);
    u32(crc);
    u32(size);  // compressed
    u32(size);  // uncompressed
    u16(nameLength);
    u16(0);  // extra field length
  }

 private:
  std::byte* at_;
};

}  // namespace

uint32_t crc32(std::span<const std::byte> data) {
  // zlib's implementation of the same CRC, which handles several bytes per step.
  uLong crc = ::crc32(0L, Z_NULL, 0);
  while (!data.empty()) {
    const size_t chunk = std::min<size_t>(data.size(), std::numeric_limits<uInt>::max());
    crc = ::crc32(crc, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(chunk));
    data = data.subspan(chunk);
  }
  return static_cast<uint32_t>(crc);
}

Bytes zip(const std::vector<ZipEntry>& entries) {
  // Sizes first: the archive is allocated once, the local records written
  // from its start and the central directory right after them.
  uint64_t localSize = 0, directorySize = 0;
  for (const ZipEntry& entry : entries) {
    if (entry.data.size() >= fieldLimit || localSize >= fieldLimit) throw Failure::tooLarge();
    localSize += 30 + entry.name.size() + entry.data.size();
    directorySize += 46 + entry.name.size();
  }
  if (localSize >= fieldLimit || directorySize >= fieldLimit) throw Failure::tooLarge();

  const size_t total = localSize + directorySize + 22;
  void* buffer = std::malloc(total);
  if (!buffer) throw std::bad_alloc();
  Bytes archive = Bytes::adopt(buffer, total, std::free);
  auto* start = static_cast<std::byte*>(buffer);
  Cursor local(start), directory(start + localSize);
  uint64_t offset = 0;
  for (const ZipEntry& entry : entries) {
    const uint32_t crc = crc32(entry.data);
    const auto nameLength = static_cast<uint16_t>(entry.name.size());

    local.u32(0x04034B50);
    local.entryFields(crc, entry.data.size(), nameLength);
    local.append(entry.name);
    local.append(entry.data);

    directory.u32(0x02014B50);
    directory.u16(version);  // made by: 2.0, MS-DOS attributes
    directory.entryFields(crc, entry.data.size(), nameLength);
    directory.u16(0);  // comment length
    directory.u16(0);  // disk number start
    directory.u16(0);  // internal attributes
    directory.u32(0);  // external attributes
    directory.u32(offset);
    directory.append(entry.name);
    offset += 30 + entry.name.size() + entry.data.size();
  }

  const auto count = static_cast<uint16_t>(entries.size());
  directory.u32(0x06054B50);
  directory.u16(0);  // this disk
  directory.u16(0);  // disk where the directory starts
  directory.u16(count);
  directory.u16(count);
  directory.u32(directorySize);
  directory.u32(localSize);
  directory.u16(0);  // comment length
  return archive;
}

}  // namespace MediaEngine
