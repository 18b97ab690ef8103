// SPDX-License-Identifier: GPL-3.0-or-later
// The minimal ZIP writer that packs DOCX parts. The archives it writes hold
// their entries stored as they are (no compression), names in UTF-8, every
// date 1980-01-01 00:00, and no extra fields, data descriptors, ZIP64 records
// or comments: byte-for-byte reproducible.
//
// Thread safety: every function may be called from any thread at once.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "whirlpane/bytes.h"

namespace MediaEngine {

struct ZipEntry {
  std::string name;                 // UTF-8, shorter than 65,536 bytes
  std::span<const std::byte> data;  // must stay alive until zip() returns
};

// The CRC-32 of ZIP and ISO 3309 (reflected polynomial 0xEDB88320, initial
// value and final XOR 0xFFFFFFFF); 0 for no data.
uint32_t crc32(std::span<const std::byte> data);

// The archive holding `entries` in order: the local records, the central
// directory in the same order, the end record. At most 65,535 entries. Throws
// Failure::tooLarge when an entry, the local records or the central directory
// would reach 4,294,967,295 bytes, where the format's 32-bit fields end.
Bytes zip(const std::vector<ZipEntry>& entries);

}  // namespace MediaEngine
