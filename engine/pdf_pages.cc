#include "engine/pdf_pages.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <poppler/cpp/poppler-document.h>
#include <poppler/cpp/poppler-global.h>
#include <poppler/cpp/poppler-image.h>
#include <poppler/cpp/poppler-page-renderer.h>
#include <poppler/cpp/poppler-page.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <mutex>
#include <vector>

#include "engine/codec_runtime.h"
#include "engine/formats.h"

namespace MediaEngine {
namespace {

namespace fs = std::filesystem;

constexpr double largestSide = 100'000'000.0;

// poppler reports every oddity of a file on the terminal; what matters to the
// user reaches them as a failure instead.
void dropPopplerMessages(const std::string&, void*) {}

void quietPoppler() {
  static std::once_flag once;
  std::call_once(once, [] { poppler::set_debug_error_function(dropPopplerMessages, nullptr); });
}

Failure unreadablePage(int index) {
  return Failure::unreadable("PDF page " + std::to_string(index + 1));
}

}  // namespace

PDFDocument::PDFDocument(std::unique_ptr<poppler::document> document, Bytes data)
    : data_(std::move(data)), document_(std::move(document)) {}
PDFDocument::~PDFDocument() = default;
PDFDocument::PDFDocument(PDFDocument&&) noexcept = default;
PDFDocument& PDFDocument::operator=(PDFDocument&&) noexcept = default;

int PDFDocument::pageCount() const { return document_->pages(); }

PDFDocument pdf(const fs::path& url) {
  quietPoppler();
  std::unique_ptr<poppler::document> document(poppler::document::load_from_file(url.string()));
  if (!document) throw Failure::unreadable(url.filename().string());
  // poppler opens a file that needs a user password as a locked document.
  if (document->is_locked()) throw Failure::lockedPDF();
  if (document->pages() < 1) throw Failure::unreadable("empty PDF");
  return PDFDocument(std::move(document));
}

std::optional<PDFDocument> pdf(Bytes data) {
  quietPoppler();
  if (data.size() > static_cast<size_t>(std::numeric_limits<int>::max())) return std::nullopt;
  std::unique_ptr<poppler::document> document(poppler::document::load_from_raw_data(
      reinterpret_cast<const char*>(data.data()), static_cast<int>(data.size())));
  if (!document || document->is_locked() || document->pages() < 1) return std::nullopt;
  return PDFDocument(std::move(document), std::move(data));
}

std::pair<int, int> pagePixelSize(const PDFDocument& document, int index, double dpi) {
  if (index < 0 || index >= document.pageCount()) throw unreadablePage(index);
  const std::unique_ptr<poppler::page> page(document.document().create_page(index));
  if (!page) throw unreadablePage(index);
  const poppler::rectf box = page->page_rect(poppler::crop_box);
  double width = box.width(), height = box.height();
  const auto turn = page->orientation();
  if (turn == poppler::page::landscape || turn == poppler::page::seascape) std::swap(width, height);
  if (!std::isfinite(width) || !std::isfinite(height) || width <= 0 || height <= 0)
    throw Failure::tooLarge();
  const double pixelWidth = width * dpi / 72.0, pixelHeight = height * dpi / 72.0;
  if (pixelWidth > largestSide || pixelHeight > largestSide) throw Failure::tooLarge();
  const auto w = static_cast<long long>(std::ceil(pixelWidth));
  const auto h = static_cast<long long>(std::ceil(pixelHeight));
  if (!withinPixelBudget(w, h)) throw Failure::tooLarge();
  return {static_cast<int>(w), static_cast<int>(h)};
}

Image rasterize(const PDFDocument& document, int index, double dpi) {
  const auto [width, height] = pagePixelSize(document, index, dpi);
  const std::unique_ptr<poppler::page> page(document.document().create_page(index));
  if (!page) throw unreadablePage(index);

  poppler::page_renderer renderer;
  renderer.set_render_hint(poppler::page_renderer::antialiasing, true);
  renderer.set_render_hint(poppler::page_renderer::text_antialiasing, true);
  renderer.set_paper_color(0xFFFFFFFF);
  renderer.set_image_format(poppler::image::format_bgr24);
  // The slice is exactly the rounded-up size; what lies past the page stays white.
  const poppler::image rendered = renderer.render_page(page.get(), dpi, dpi, 0, 0, width, height);
  if (!rendered.is_valid() || rendered.width() != width || rendered.height() != height) {
    throw Failure::encoding("PDF rasterization failed");
  }

  detail::startImageLibrary();
  VipsImage* out = vips_image_new_memory();
  vips_image_init_fields(out, width, height, 3, VIPS_FORMAT_UCHAR, VIPS_CODING_NONE,
                         VIPS_INTERPRETATION_sRGB, 1.0, 1.0);
  vips::VImage pixels(out);
  std::vector<VipsPel> row(static_cast<size_t>(width) * 3);
  const char* data = rendered.const_data();
  for (int y = 0; y < height; ++y) {
    const auto* bgr = reinterpret_cast<const unsigned char*>(data + static_cast<size_t>(y) *
                                                                        rendered.bytes_per_row());
    for (size_t x = 0; x < static_cast<size_t>(width); ++x) {
      row[x * 3] = bgr[x * 3 + 2];
      row[x * 3 + 1] = bgr[x * 3 + 1];
      row[x * 3 + 2] = bgr[x * 3];
    }
    if (vips_image_write_line(out, y, row.data()) != 0) {
      vips_error_clear();
      throw Failure::encoding("PDF bitmap allocation failed");
    }
  }
  return Image(pixels);
}

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
  if (drawn != CAIRO_STATUS_SUCCESS || !bytes) throw Failure::encoding("PDF context failed");
  return std::move(*bytes);
}

struct SurfaceReleaser {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceReleaser>;

Surface imageSurface(cairo_format_t format, int width, int height) {
  Surface surface(cairo_image_surface_create(format, width, height));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
    throw Failure::encoding("PDF context failed");
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
  std::optional<std::vector<unsigned char>> stream = detail::jpegWithoutMetadata(jpeg);
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
    throw Failure::encoding("PDF context failed");
  }
  return pagePDF(picture.get(), width, height);
}

namespace detail {

std::optional<std::vector<unsigned char>> jpegWithoutMetadata(std::span<const std::byte> jpeg) {
  const auto* data = reinterpret_cast<const unsigned char*>(jpeg.data());
  const size_t size = jpeg.size();
  if (size < 4 || data[0] != 0xFF || data[1] != 0xD8) return std::nullopt;
  std::vector<unsigned char> out(data, data + 2);
  size_t at = 2;
  bool scanned = false;
  while (at + 2 <= size) {
    if (data[at] != 0xFF) {
      if (!scanned) return std::nullopt;
      out.push_back(data[at++]);  // entropy-coded data between markers
      continue;
    }
    const unsigned char marker = data[at + 1];
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (scanned &&
        (marker == 0x00 || (marker >= 0xD0 && marker <= 0xD7))) {  // stuffed byte, restart marker
      out.insert(out.end(), data + at, data + at + 2);
      at += 2;
      continue;
    }
    if (marker == 0xD9) {  // end of image: whatever follows (previews, trailers) is left out
      if (!scanned) return std::nullopt;
      out.insert(out.end(), data + at, data + at + 2);
      return out;
    }
    if (at + 4 > size) return std::nullopt;
    const size_t length = static_cast<size_t>(data[at + 2]) << 8 | data[at + 3];
    if (length < 2 || at + 2 + length > size) return std::nullopt;
    const bool metadata = (marker >= 0xE1 && marker <= 0xEF && marker != 0xEE) || marker == 0xFE;
    if (!metadata) out.insert(out.end(), data + at, data + at + 2 + length);
    if (marker == 0xDA) scanned = true;
    at += 2 + length;
  }
  return std::nullopt;  // no end of image
}

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
