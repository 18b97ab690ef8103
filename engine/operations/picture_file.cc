// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures for the editors: the engine's decoded image copied out as plain
// RGBA bytes, and plain RGBA bytes wrapped back into an image for writing.
#include "whirlpane/picture_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>

#include "base/file_io.h"
#include "base/translation.h"
#include "files/output_placement.h"
#include "image/external_encoders.h"
#include "image/image.h"
#include "image/image_decoding.h"
#include "image/image_encoding.h"
#include "image/jpeg_transform.h"
#include "operations/image_writer.h"
#include "whirlpane/failure.h"
#include "whirlpane/formats.h"

namespace MediaEngine {

static_assert(picturePixelBudget == pixelBudget, "the editors' budget is the engine's");

namespace {

// The pixels of `image` as RGBA bytes; Failure::unreadable naming `url` when
// they cannot be rendered.
Picture rgbaOf(const Image& image, const std::filesystem::path& url) {
  vips::VImage pixels = image.pixels();
  if (!image.hasAlpha()) pixels = pixels.bandjoin_const({255});
  // bandjoin_const is lazy: the copy below renders it into memory.
  const size_t size = static_cast<size_t>(image.width()) * image.height() * 4;
  size_t rendered = 0;
  void* memory = pixels.write_to_memory(&rendered);
  Picture picture{image.width(), image.height(), std::vector<std::uint8_t>(size)};
  if (rendered == size) std::memcpy(picture.rgba.data(), memory, size);
  g_free(memory);
  if (rendered != size) throw Failure::unreadable(url.filename().string());
  return picture;
}

}  // namespace

Picture loadPicture(const std::filesystem::path& url) { return rgbaOf(loadImage(url), url); }

PicturePreview loadPicturePreview(const std::filesystem::path& url, int longestSide) {
  const std::optional<ImageSource> source = ImageSource::open(url);
  if (!source) throw Failure::unreadable(url.filename().string());
  return {rgbaOf(source->decodeReduced(std::max(1, longestSide)), url),
          static_cast<int>(source->uprightWidth()), static_cast<int>(source->uprightHeight())};
}

void writePicture(const Picture& picture, std::string_view format, const std::filesystem::path& to,
                  const std::filesystem::path& source, double quality) {
  if (picture.width < 1 || picture.height < 1 ||
      picture.rgba.size() != static_cast<size_t>(picture.width) * picture.height * 4) {
    throw Failure::unreadable(translated("picture"));
  }
  if (!withinPixelBudget(picture.width, picture.height)) throw Failure::tooLarge();
  vips::VImage pixels = vips::VImage::new_from_memory(
      const_cast<std::uint8_t*>(picture.rgba.data()), picture.rgba.size(), picture.width,
      picture.height, 4, VIPS_FORMAT_UCHAR);
  pixels = pixels.copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
  // A picture that is opaque everywhere is written without an alpha channel,
  // as a decoded opaque file would be.
  if (pixels.extract_band(3).min() >= 255)
    pixels = pixels.extract_band(0, vips::VImage::option()->set("n", 3));
  writeImage(Image(pixels), format, to, source, quality);
}

std::optional<FileStamp> fileStamp(const std::filesystem::path& url) {
  struct stat info;
  if (::stat(url.c_str(), &info) != 0) return std::nullopt;
  return FileStamp{
      static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
      static_cast<std::int64_t>(info.st_size),
      static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

bool writeCroppedJPEG(const std::filesystem::path& source, const FileStamp& decoded, int x, int y,
                      int width, int height, const std::filesystem::path& to) {
  if (fileStamp(source) != decoded) return false;
  const std::optional<ImageSource> image = ImageSource::open(source);
  if (!image || !image->isPlainJPEG() || image->frameCount() != 1) return false;
  const Bytes jpeg = detail::readWholeFile(source);
  // Unchanged from before the header was read to after the bytes were: the
  // bytes are those of the file that was shown.
  if (fileStamp(source) != decoded) return false;
  const auto cropped = detail::croppedLosslessly(jpeg.span(), x, y, width, height);
  if (!cropped) return false;
  publish(Bytes::copyOf(std::as_bytes(std::span(*cropped))), to, outputPermissions(source));
  return true;
}

bool canWritePicture(std::string_view format) {
  std::string canonical;
  try {
    canonical = normalized(format);
  } catch (const Failure&) {
    return false;
  }
  if (!isRaster(canonical)) return false;
  if (canEncode(canonical)) return true;
  if (canonical != "webp" && canonical != "avif") return false;
  try {
    codec(canonical);
    return true;
  } catch (const Failure&) {
    return false;
  }
}

}  // namespace MediaEngine
