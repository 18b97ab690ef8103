// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdf/pdf_writer.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <cstdint>
#include <vector>

#include "base/handles.h"
#include "base/translation.h"
#include "image/jpeg_segments.h"
#include "pdf/pdf_document.h"
#include "whirlpane/failure.h"

namespace MediaEngine {
namespace {

// A one-page PDF showing `picture` (a cairo image surface of `width` by
// `height` pixels) at 300 dots per inch.
Bytes pagePDF(cairo_surface_t* picture, int width, int height) {
  detail::PDFStream pdf(width * 72.0 / pageResolution, height * 72.0 / pageResolution);
  cairo_surface_t* surface = pdf.surface();
  cairo_t* context = cairo_create(surface);
  cairo_scale(context, 72.0 / pageResolution, 72.0 / pageResolution);
  cairo_set_source_surface(context, picture, 0, 0);
  cairo_paint(context);
  cairo_show_page(context);
  const cairo_status_t drawn = cairo_status(context);
  cairo_destroy(context);
  std::optional<Bytes> bytes = pdf.finish();
  if (drawn != CAIRO_STATUS_SUCCESS || !bytes)
    throw Failure::encoding(translated("PDF context failed"));
  return std::move(*bytes);
}

using Surface = Owned<cairo_surface_t, cairo_surface_destroy>;

Surface imageSurface(cairo_format_t format, int width, int height) {
  Surface surface(cairo_image_surface_create(format, width, height));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
    throw Failure::encoding(translated("PDF context failed"));
  return surface;
}

}  // namespace

Bytes imagePDF(const Image& image) {
  // Cairo wants 32-bit native-endian pixels: premultiplied ARGB, or RGB with
  // an unused byte when there is no alpha.
  const Surface picture = imageSurface(image.hasAlpha() ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24,
                                       image.width(), image.height());
  cairo_surface_flush(picture.get());
  const auto* source = static_cast<const unsigned char*>(image.pixels().data());
  const int bands = image.hasAlpha() ? 4 : 3;
  unsigned char* target = cairo_image_surface_get_data(picture.get());
  const auto stride = static_cast<size_t>(cairo_image_surface_get_stride(picture.get()));
  for (int y = 0; y < image.height(); ++y) {
    auto* out = reinterpret_cast<uint32_t*>(target + static_cast<size_t>(y) * stride);
    const unsigned char* in =
        source + static_cast<size_t>(y) * static_cast<size_t>(image.width()) * bands;
    for (int x = 0; x < image.width(); ++x, in += bands) {
      const uint32_t a = bands == 4 ? in[3] : 255;
      auto premultiplied = [a](uint32_t c) { return (c * a + 127) / 255; };
      out[x] =
          a << 24 | premultiplied(in[0]) << 16 | premultiplied(in[1]) << 8 | premultiplied(in[2]);
    }
  }
  cairo_surface_mark_dirty(picture.get());
  return pagePDF(picture.get(), image.width(), image.height());
}

std::optional<Bytes> jpegPDF(std::span<const std::byte> jpeg, int width, int height) {
  std::optional<std::vector<unsigned char>> stream =
      detail::jpegWithoutMetadata(jpeg, /*keepProfile=*/false);
  if (!stream) return std::nullopt;
  // The surface only carries the JPEG data to the PDF writer, which embeds the
  // data and never reads the surface's own (untouched) pixels.
  const Surface picture = imageSurface(CAIRO_FORMAT_RGB24, width, height);
  auto* owned = new std::vector<unsigned char>(std::move(*stream));
  if (cairo_surface_set_mime_data(
          picture.get(), CAIRO_MIME_TYPE_JPEG, owned->data(), owned->size(),
          [](void* data) { delete static_cast<std::vector<unsigned char>*>(data); },
          owned) != CAIRO_STATUS_SUCCESS) {
    delete owned;
    throw Failure::encoding(translated("PDF context failed"));
  }
  return pagePDF(picture.get(), width, height);
}

namespace detail {

PDFStream::PDFStream(double width, double height) {
  auto collect = [](void* closure, const unsigned char* data,
                    unsigned int length) -> cairo_status_t {
    auto& target = *static_cast<std::vector<unsigned char>*>(closure);
    target.insert(target.end(), data, data + length);
    return CAIRO_STATUS_SUCCESS;
  };
  surface_ = cairo_pdf_surface_create_for_stream(collect, &bytes_, width, height);
  cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_CREATE_DATE, "");
}

PDFStream::~PDFStream() { cairo_surface_destroy(surface_); }

std::optional<Bytes> PDFStream::finish() {
  cairo_surface_finish(surface_);
  if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) return std::nullopt;
  return Bytes::copyOf(std::as_bytes(std::span(bytes_)));
}

}  // namespace detail
}  // namespace MediaEngine
