// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/bmp_codec.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "base/byte_order.h"
#include "base/file_io.h"
#include "base/handles.h"
#include "image/image.h"

namespace MediaEngine::detail {
namespace {

// Marks the rows the loader reports as decoded in the std::vector<bool> at `done`.
void noteDecodedRows(GdkPixbufLoader*, gint, gint y, gint, gint height, gpointer done) {
  auto& rows = *static_cast<std::vector<bool>*>(done);
  if (y < 0 || height <= 0) return;
  const size_t end = static_cast<size_t>(y) + static_cast<size_t>(height);
  if (rows.size() < end) rows.resize(end);
  std::fill(rows.begin() + y, rows.begin() + static_cast<std::ptrdiff_t>(end), true);
}

[[noreturn]] void fail(GError* error, const char* fallback) {
  const std::string message = error && error->message ? error->message : fallback;
  if (error) g_error_free(error);
  throw vips::VError(message);
}

}  // namespace

bool looksLikeBmp(std::span<const std::byte> head) {
  return head.size() >= 2 && head[0] == std::byte{'B'} && head[1] == std::byte{'M'};
}

std::optional<std::pair<long long, long long>> bmpDimensions(std::span<const std::byte> head) {
  if (!looksLikeBmp(head) || head.size() < 26) return std::nullopt;
  const uint32_t infoSize = littleEndian<4>(head.data() + 14);
  if (infoSize == 12)
    return std::pair<long long, long long>(littleEndian<2>(head.data() + 18),
                                           littleEndian<2>(head.data() + 20));
  if (infoSize < 16 || infoSize > 124) return std::nullopt;
  // A palette holds at most 256 colours. The decoder takes a larger count at
  // its word and reserves memory for it before reading any: 16 GB for a
  // count of 4 billion in an 868-byte file.
  if (infoSize >= 40 && head.size() >= 50 && littleEndian<4>(head.data() + 46) > 256)
    return std::nullopt;
  const auto width = static_cast<int32_t>(littleEndian<4>(head.data() + 18));
  const auto height = static_cast<int32_t>(littleEndian<4>(head.data() + 22));
  const long long h = height < 0 ? -static_cast<long long>(height) : height;
  return std::pair<long long, long long>(width, h);
}

vips::VImage decodeBmp(const std::filesystem::path& path) {
  // The decoder buffers everything up to the offset the header gives for the
  // pixels, and reserves room for the palette count it declares, before it
  // checks either against the data: a 90-byte file can make it ask for 2 GB.
  // Both are checked against the file here first. The header also holds the
  // resolution, which the decoder does not report.
  double xres = unstatedResolution, yres = unstatedResolution;
  {
    std::ifstream head(path, std::ios::binary);
    std::array<char, 54> bytes{};
    head.read(bytes.data(), bytes.size());
    const auto got = static_cast<size_t>(head.gcount());
    std::error_code ignored;
    const uintmax_t size = std::filesystem::file_size(path, ignored);
    const std::span<const std::byte> header(reinterpret_cast<const std::byte*>(bytes.data()), got);
    if (got < 26 || littleEndian<4>(header.data() + 10) > size || !bmpDimensions(header)) {
      throw vips::VError("the BMP header is damaged");
    }
    if (got >= 46 && littleEndian<4>(header.data() + 14) >= 40) {
      const uint32_t across = littleEndian<4>(header.data() + 38);
      const uint32_t down = littleEndian<4>(header.data() + 42);
      if (across > 0 && down > 0) xres = across / 1000.0, yres = down / 1000.0;
    }
  }
  GError* error = nullptr;
  std::vector<bool> decodedRows;  // outlives the loader that writes to it
  Owned<GdkPixbufLoader, g_object_unref> loader(gdk_pixbuf_loader_new_with_type("bmp", &error));
  if (!loader) fail(error, "the BMP decoder is not installed");
  g_signal_connect(loader.get(), "area-updated", G_CALLBACK(noteDecodedRows), &decodedRows);

  std::ifstream file(path, std::ios::binary);
  if (!file) throw vips::VError("cannot open " + path.string());
  std::vector<char> chunk(1 << 16);
  bool ok = true;
  while (ok && file) {
    file.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    const auto got = static_cast<gsize>(file.gcount());
    if (got > 0)
      ok = gdk_pixbuf_loader_write(loader.get(), reinterpret_cast<const guchar*>(chunk.data()), got,
                                   &error);
  }
  // Closing must run even after a failed write, or the loader complains when
  // it is finalised.
  const bool closed = gdk_pixbuf_loader_close(loader.get(), ok ? &error : nullptr);
  if (!ok || !closed) fail(error, "the BMP data is damaged");
  GdkPixbuf* pixbuf = gdk_pixbuf_loader_get_pixbuf(loader.get());
  if (!pixbuf || gdk_pixbuf_get_bits_per_sample(pixbuf) != 8)
    fail(nullptr, "the BMP decoder gave no image");

  const int width = gdk_pixbuf_get_width(pixbuf);
  const int height = gdk_pixbuf_get_height(pixbuf);
  const int channels = gdk_pixbuf_get_n_channels(pixbuf);
  const size_t stride = static_cast<size_t>(gdk_pixbuf_get_rowstride(pixbuf));
  const guchar* rows = gdk_pixbuf_read_pixels(pixbuf);

  // The loader reports no error for a file that ends early (a short pixel
  // array, or run-length data without its end), and hands back a partly blank
  // picture. It does report each row once decoded, run-length rows skipped by a
  // delta or an early end included, so the file is whole only when every row was.
  const bool whole = std::ssize(decodedRows) >= height &&
                     std::find(decodedRows.begin(), decodedRows.begin() + height, false) ==
                         decodedRows.begin() + height;
  if (!whole) fail(nullptr, "the BMP data ends early");

  // 32-bit files often leave the fourth byte at zero and mean it as padding,
  // and the loader hands back 32-bit files that declare no alpha with an alpha
  // channel opaque throughout. An alpha channel that hides every pixel, or
  // none, is taken as no alpha at all.
  bool anyShown = false;
  bool anyHidden = false;
  if (channels == 4) {
    for (int y = 0; y < height && !(anyShown && anyHidden); ++y) {
      const guchar* row = rows + static_cast<size_t>(y) * stride;
      for (int x = 0; x < width; ++x) {
        anyShown = anyShown || row[x * 4 + 3] != 0;
        anyHidden = anyHidden || row[x * 4 + 3] != 255;
      }
    }
  }
  const bool alphaUsed = anyShown && anyHidden;

  VipsImage* out = vips_image_new_memory();
  vips_image_init_fields(out, width, height, channels, VIPS_FORMAT_UCHAR, VIPS_CODING_NONE,
                         VIPS_INTERPRETATION_sRGB, xres, yres);
  vips::VImage image(out);  // takes the reference
  for (int y = 0; y < height; ++y) {
    if (vips_image_write_line(out, y,
                              const_cast<VipsPel*>(rows + static_cast<size_t>(y) * stride)) != 0) {
      throw vips::VError();
    }
  }
  if (channels == 4 && !alphaUsed)
    return image.extract_band(0, vips::VImage::option()->set("n", 3)).copy_memory();
  return image;
}

namespace {

// The file's header: the 14-byte file header, the 40-byte information header
// and, for grey, the palette of 256 greys.
std::vector<std::byte> bmpHeader(const vips::VImage& pixels) {
  const bool grey = pixels.bands() == 1;
  const uint32_t width = static_cast<uint32_t>(pixels.width());
  const uint32_t height = static_cast<uint32_t>(pixels.height());
  const size_t stride = (width * (grey ? 1u : 3u) + 3) / 4 * 4;
  const uint32_t offset = 54 + (grey ? 256 * 4 : 0);
  std::vector<std::byte> header(offset);
  const auto put = [&](size_t at, uint32_t value, int count) {
    for (int i = 0; i < count; ++i)
      header[at + static_cast<size_t>(i)] = static_cast<std::byte>(value >> (8 * i) & 0xFF);
  };
  header[0] = std::byte{'B'}, header[1] = std::byte{'M'};
  put(2, static_cast<uint32_t>(offset + stride * height), 4);
  put(10, offset, 4);
  put(14, 40, 4);
  put(18, width, 4);
  put(22, height, 4);  // positive: the rows go from the bottom up
  put(26, 1, 2);
  put(28, grey ? 8 : 24, 2);
  put(34, static_cast<uint32_t>(stride * height), 4);
  // The resolution in pixels per metre, where the picture states one.
  if (pixels.xres() != unstatedResolution || pixels.yres() != unstatedResolution) {
    put(38, static_cast<uint32_t>(std::lround(pixels.xres() * 1000.0)), 4);
    put(42, static_cast<uint32_t>(std::lround(pixels.yres() * 1000.0)), 4);
  }
  if (grey) {
    put(46, 256, 4);
    for (uint32_t level = 0; level < 256; ++level) put(54 + 4 * level, level * 0x010101u, 4);
  }
  return header;
}

// Hands `pixels`' file to `sink` (a callable taking a span of bytes) in
// order: the header, then bands of rows, bottom row first, each row in blue,
// green, red order and padded with zeros to a multiple of four bytes.
template <typename Sink>
void emitBmp(const vips::VImage& pixels, Sink&& sink) {
  if (pixels.format() != VIPS_FORMAT_UCHAR || (pixels.bands() != 1 && pixels.bands() != 3))
    throw vips::VError("a BMP is written from 8-bit grey or colour");
  const std::vector<std::byte> header = bmpHeader(pixels);
  sink(std::span<const std::byte>(header));
  const int bands = pixels.bands();
  const size_t width = static_cast<size_t>(pixels.width());
  const size_t rowBytes = width * static_cast<size_t>(bands);
  const size_t stride = (rowBytes + 3) / 4 * 4;
  const auto* data = static_cast<const uint8_t*>(pixels.data());
  // About a megabyte a write: few system calls, little memory.
  const size_t rowsPerBand = std::max<size_t>(1, (1 << 20) / stride);
  std::vector<std::byte> band(rowsPerBand * stride);
  size_t filled = 0;
  for (int y = pixels.height() - 1; y >= 0; --y) {
    const uint8_t* in = data + static_cast<size_t>(y) * rowBytes;
    auto* out = reinterpret_cast<uint8_t*>(band.data() + filled);
    if (bands == 1) {
      std::memcpy(out, in, rowBytes);
    } else {
      for (size_t x = 0; x < width; ++x, in += 3, out += 3) {
        out[0] = in[2], out[1] = in[1], out[2] = in[0];
      }
    }
    std::memset(band.data() + filled + rowBytes, 0, stride - rowBytes);
    filled += stride;
    if (filled == band.size() || y == 0) {
      sink(std::span<const std::byte>(band.data(), filled));
      filled = 0;
    }
  }
}

}  // namespace

Bytes encodeBmp(const vips::VImage& pixels) {
  const vips::VImage held = pixels.copy_memory();
  const size_t stride =
      (static_cast<size_t>(held.width()) * static_cast<size_t>(held.bands()) + 3) / 4 * 4;
  const size_t size =
      54 + (held.bands() == 1 ? 1024 : 0) + stride * static_cast<size_t>(held.height());
  Owned<std::byte, ::free> file(static_cast<std::byte*>(std::malloc(size)));
  if (!file) throw std::bad_alloc();
  size_t at = 0;
  emitBmp(held, [&](std::span<const std::byte> bytes) {
    std::memcpy(file.get() + at, bytes.data(), bytes.size());
    at += bytes.size();
  });
  return Bytes::adopt(file.release(), at, std::free);
}

void writeBmp(const vips::VImage& pixels, int fd, const std::filesystem::path& path) {
  emitBmp(pixels.copy_memory(),
          [&](std::span<const std::byte> bytes) { writeAll(fd, bytes, path); });
}

}  // namespace MediaEngine::detail
