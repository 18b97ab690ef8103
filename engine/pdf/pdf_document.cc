#include "pdf/pdf_document.h"

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

#include "image/codec_runtime.h"
#include "whirlpane/failure.h"

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

double largestResolution(const PDFDocument& document, int index, double most) {
  const auto fits = [&](double dpi) {
    try {
      pagePixelSize(document, index, dpi);
      return true;
    } catch (const Failure& failure) {
      if (failure.kind() != Failure::Kind::tooLarge) throw;
      return false;
    }
  };
  if (fits(most)) return most;
  // The pixel size only grows with the resolution: the largest that fits lies
  // between one dot per inch and `most`.
  double low = 1, high = std::floor(most);
  if (!fits(low)) throw Failure::tooLarge();
  while (high - low > 1) {
    const double middle = std::floor((low + high) / 2);
    (fits(middle) ? low : high) = middle;
  }
  return low;
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
  // The picture keeps the page's size: `dpi` pixels to the inch, in pixels per millimetre.
  vips_image_init_fields(out, width, height, 3, VIPS_FORMAT_UCHAR, VIPS_CODING_NONE,
                         VIPS_INTERPRETATION_sRGB, dpi / 25.4, dpi / 25.4);
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

}  // namespace MediaEngine
