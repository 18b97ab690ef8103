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

bool canEncodeBmp() {
  static const bool writable = [] {
    GSList* formats = gdk_pixbuf_get_formats();
    bool found = false;
    for (GSList* f = formats; f; f = f->next) {
      auto* info = static_cast<GdkPixbufFormat*>(f->data);
      gchar* name = gdk_pixbuf_format_get_name(info);
      if (std::string_view(name) == "bmp" && gdk_pixbuf_format_is_writable(info)) found = true;
      g_free(name);
    }
    g_slist_free(formats);
    return found;
  }();
  return writable;
}

Bytes encodeBmp(const vips::VImage& rgb) {
  GdkPixbuf* raw =
      gdk_pixbuf_new_from_data(static_cast<const guchar*>(rgb.data()), GDK_COLORSPACE_RGB, FALSE, 8,
                               rgb.width(), rgb.height(), rgb.width() * 3, nullptr, nullptr);
  Owned<GdkPixbuf, g_object_unref> pixbuf(raw);
  const size_t rowBytes = static_cast<size_t>(rgb.width()) * 3;
  const size_t stride = (rowBytes + 3) / 4 * 4;

  // The file's size is known up front (a 54-byte header, then padded rows), so
  // the bytes go into one buffer of that size instead of one that doubles as
  // it grows, which would hold up to twice the file at its peak.
  struct Sink {
    Owned<std::byte, ::free> data;
    size_t size = 0;
    size_t capacity = 0;
  } sink;
  sink.capacity = 54 + stride * static_cast<size_t>(rgb.height());
  sink.data.reset(static_cast<std::byte*>(std::malloc(sink.capacity)));
  if (!sink.data) throw std::bad_alloc();
  auto append = [](const gchar* bytes, gsize count, GError**, gpointer target) -> gboolean {
    auto& out = *static_cast<Sink*>(target);
    if (out.size + count > out.capacity) {
      const size_t capacity = std::max(out.size + count, out.capacity * 2);
      void* grown = std::realloc(out.data.get(), capacity);
      if (!grown) return FALSE;
      out.data.release();
      out.data.reset(static_cast<std::byte*>(grown));
      out.capacity = capacity;
    }
    std::memcpy(out.data.get() + out.size, bytes, count);
    out.size += count;
    return TRUE;
  };
  GError* error = nullptr;
  if (!gdk_pixbuf_save_to_callback(pixbuf.get(), append, &sink, "bmp", &error, nullptr)) {
    fail(error, "the BMP encoder failed");
  }
  // The saver leaves the padding at the end of each row uninitialised, which
  // would write stray process memory into the file; clear it.
  std::byte* file = sink.data.get();
  const size_t offset = sink.size >= 14 ? littleEndian<4>(file + 10) : sink.size;
  for (size_t row = offset; stride > rowBytes && row + stride <= sink.size; row += stride) {
    std::memset(file + row + rowBytes, 0, stride - rowBytes);
  }
  // The saver writes no resolution; the picture's goes into the header, in
  // pixels per metre, when it has one.
  const bool stated = rgb.xres() != unstatedResolution || rgb.yres() != unstatedResolution;
  if (stated && sink.size >= 46 && littleEndian<4>(file + 14) >= 40) {
    const double resolution[] = {rgb.xres(), rgb.yres()};
    for (size_t axis = 0; axis < 2; ++axis) {
      const auto perMetre = static_cast<uint32_t>(std::lround(resolution[axis] * 1000.0));
      for (size_t i = 0; i < 4; ++i)
        file[38 + 4 * axis + i] = static_cast<std::byte>(perMetre >> (8 * i) & 0xFF);
    }
  }
  return Bytes::adopt(sink.data.release(), sink.size, std::free);
}

}  // namespace MediaEngine::detail
