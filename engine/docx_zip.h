// DOCX and ZIP: word-processing documents in Office Open XML (ECMA-376,
// Transitional) made from plain text, one image, or both; the minimal ZIP
// writer that packs their parts; and the reading of one member of a ZIP
// package, which text extraction uses to open DOCX files.
//
// The ZIP archives written hold their entries stored as they are (no
// compression), names in UTF-8, every date 1980-01-01 00:00, and no extra
// fields, data descriptors, ZIP64 records or comments: byte-for-byte
// reproducible.
//
// Thread safety: every function may be called from any thread at once.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/bytes.h"
#include "engine/image_codec.h"

namespace MediaEngine {

// A DOCX file holding `text`, one paragraph per line, followed by `image`
// scaled to fit 6.5 × 9 inches, on US Letter pages with 0.75-inch margins.
// Either may be absent; an empty text is one empty paragraph. A carriage
// return followed by a line feed ends one line; every other line break
// (U+000A to U+000D, U+0085, U+2028, U+2029) ends a line on its own. Throws
// what encodedImage() throws for the image, and Failure::tooLarge when the
// package would pass ZIP's 4 GB limits.
Bytes docx(std::optional<std::string_view> text, const std::optional<Image>& image);

// `text` without the characters XML 1.0 does not allow: the controls other
// than tab, line feed and carriage return, U+FFFE and U+FFFF. Bytes that are
// not UTF-8 are dropped too.
std::string xml(std::string_view text);

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

namespace detail {
// The uncompressed bytes of `member` (its exact name, such as
// "word/document.xml") in the ZIP package at `package`. Bytes are counted as
// they are inflated, whatever the package claims their size to be.
//
// Throws Failure::tooLarge when the member holds more than `maximumBytes`, and
// Failure::encoding with a detail that begins "unzip: " when the file is not a
// ZIP package, has no such member, or the member cannot be inflated (damaged,
// encrypted, compressed in a way we do not read); FileError when the file
// cannot be opened at all.
std::string packageMember(const std::filesystem::path& package, std::string_view member,
                          size_t maximumBytes);

}  // namespace detail
}  // namespace MediaEngine
