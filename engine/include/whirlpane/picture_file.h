// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures for the editors: a file decoded into plain RGBA pixels the way every
// conversion decodes it (upright, sRGB, within the pixel budget), and pixels
// written back as a new file beside their source. The editors draw on these
// pixels with their own toolkit; only the engine touches files.
//
// Thread safety: any thread; calls share nothing.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace MediaEngine {

// An upright picture: 8-bit sRGB red, green, blue and alpha per pixel, alpha
// not premultiplied, rows packed without padding (width * 4 bytes each).
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;
};

// The most pixels a picture may have to be decoded or written: beyond it,
// Failure::tooLarge.
inline constexpr long long picturePixelBudget = 100'000'000;

// Decodes the first frame of `url` upright. Throws Failure::unreadable when it
// is no image the engine reads, Failure::tooLarge outside the pixel budget,
// and FileError when the file cannot be read.
Picture loadPicture(const std::filesystem::path& url);

// A picture reduced for showing while the whole of it is decoded, and the
// size the whole has.
struct PicturePreview {
  Picture picture;
  int fullWidth = 0;
  int fullHeight = 0;
};

// Decodes the first frame of `url` upright and reduced so that neither side
// exceeds `longestSide` (never enlarged), the fast way its format allows: a
// JPEG, HEIF or WebP at a reduced scale, anything else shrunk as it is read.
// A file cut short gives what could be decoded (loadPicture() fails on it).
// Throws what loadPicture() throws for a file that is no picture or too large.
PicturePreview loadPicturePreview(const std::filesystem::path& url, int longestSide);

// Encodes `picture` as `format` at `quality` (0 to 1) and publishes it at
// `to`, which must not exist yet, with the permissions the outputs of
// `source` get. Throws Failure::invalidQuality, Failure::unreadable for a
// picture whose buffer does not match its size, what normalized() throws for
// an unknown format, and whatever encoding and publishing throw.
void writePicture(const Picture& picture, std::string_view format, const std::filesystem::path& to,
                  const std::filesystem::path& source, double quality = 0.9);

// What tells a file from another put in its place or a changed one: its
// identity on the file system (device and inode), its size and the time it
// was last modified.
struct FileStamp {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::int64_t size = 0;
  std::int64_t modifiedNanoseconds = 0;

  bool operator==(const FileStamp&) const = default;
};

// The stamp `url` has now; nullopt when it cannot be examined (gone, for one).
std::optional<FileStamp> fileStamp(const std::filesystem::path& url);

// Writes the part (`x`, `y`, `width`, `height`) of `source`'s pixels to `to`,
// which must not exist yet, when `source` is still the file stamped
// `decoded` (taken before it was decoded for showing) and a plain JPEG
// (colour or grey, stored upright, without a colour profile other than sRGB)
// and `x` and `y` lie on its block grid: the coded blocks are copied, not
// decoded and encoded again, so every pixel stays exactly the source's.
// Metadata is not carried over. Returns false, having written nothing, for
// any other source or rectangle, and for a source replaced, changed or gone
// since; throws what publishing throws.
bool writeCroppedJPEG(const std::filesystem::path& source, const FileStamp& decoded, int x, int y,
                      int width, int height, const std::filesystem::path& to);

// True when writePicture() can write `format` (any name normalized() takes)
// on this machine: a raster format its codecs encode, or WebP or AVIF with the
// bundled encoder. HEIC, for one, needs an HEVC encoder that not every
// system has.
bool canWritePicture(std::string_view format);

// "<base name><suffix>.<ext>" beside `source`, or with " 2", " 3", ... before
// the extension, the first such name that does not exist now. Claiming it is
// left to the writer (writePicture never overwrites).
std::filesystem::path uniqueSibling(const std::filesystem::path& source, std::string_view suffix,
                                    std::string_view ext);

}  // namespace MediaEngine
