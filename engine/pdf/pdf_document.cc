// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdf/pdf_document.h"

#include <poppler/cpp/poppler-document.h>
#include <poppler/cpp/poppler-global.h>
#include <poppler/cpp/poppler-page.h>

// poppler's core, for its Splash device (libpoppler-private-dev)
#include <PDFDoc.h>
#include <SplashOutputDev.h>
#include <Stream.h>
#include <goo/GooString.h>
#include <splash/SplashBitmap.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <mutex>
#include <vector>

#include "base/pdf_password.h"
#include "base/translation.h"
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
  // TRANSLATORS: the object of "Could not read %1$s"; %1$s is a page number.
  return Failure::unreadable(translated("PDF page %1$s", {std::to_string(index + 1)}));
}

}  // namespace

PDFDocument::PDFDocument(std::unique_ptr<poppler::document> document, Bytes data, fs::path file,
                         std::string password)
    : data_(std::move(data)),
      file_(std::move(file)),
      password_(std::move(password)),
      document_(std::move(document)) {}
PDFDocument::~PDFDocument() = default;
PDFDocument::PDFDocument(PDFDocument&&) noexcept = default;
PDFDocument& PDFDocument::operator=(PDFDocument&&) noexcept = default;

int PDFDocument::pageCount() const { return document_->pages(); }

PDFDoc& PDFDocument::renderable() const {
  if (!renderable_) {
    // poppler-cpp has made poppler's global parameters by now: this document
    // was opened through it.
    std::unique_ptr<PDFDoc> core;
    if (file_.empty()) {
      core = std::make_unique<PDFDoc>(new MemStream(reinterpret_cast<const char*>(data_.data()), 0,
                                                    static_cast<Goffset>(data_.size()),
                                                    Object(objNull)));
    } else if (password_.empty()) {
      core = std::make_unique<PDFDoc>(std::make_unique<GooString>(file_.string()));
    } else {
      const std::optional<GooString> password{GooString(password_)};
      core =
          std::make_unique<PDFDoc>(std::make_unique<GooString>(file_.string()), password, password);
    }
    if (!core->isOk()) throw Failure::encoding(translated("PDF rasterization failed"));
    renderable_ = std::move(core);
  }
  return *renderable_;
}

PDFDocument pdf(const fs::path& url) {
  quietPoppler();
  std::unique_ptr<poppler::document> document(poppler::document::load_from_file(url.string()));
  if (!document) throw Failure::unreadable(url.filename().string());
  // poppler opens a file that needs a user password as a locked document.
  std::string password;
  if (document->is_locked()) {
    password = detail::pdfPassword();
    if (password.empty()) throw Failure::lockedPDF();
    // Tried as either password: the owner's opens it too.
    document->unlock(password, password);
    if (document->is_locked()) throw Failure::wrongPassword();
  }
  if (document->pages() < 1) throw Failure::unreadable(translated("empty PDF"));
  return PDFDocument(std::move(document), {}, url, std::move(password));
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

  // Splash draws straight into RGB on a white page, as pdftoppm does, in rows
  // without padding that the image library then reads in place.
  SplashColor white = {255, 255, 255};
  SplashOutputDev device(splashModeRGB8, 1, false, white);
  device.setFontAntialias(true);
  device.setVectorAntialias(true);
  device.setFreeTypeHinting(false, false);
  PDFDoc& core = document.renderable();
  device.startDoc(&core);
  // The slice is exactly the rounded-up size; what lies past the page stays white.
  core.displayPageSlice(&device, index + 1, dpi, dpi, 0, false, true, false, 0, 0, width, height);
  std::unique_ptr<SplashBitmap> rendered(device.takeBitmap());
  if (!rendered || !rendered->getDataPtr() || rendered->getWidth() != width ||
      rendered->getHeight() != height || rendered->getMode() != splashModeRGB8 ||
      rendered->getRowSize() != width * 3) {
    throw Failure::encoding(translated("PDF rasterization failed"));
  }

  detail::startImageLibrary();
  VipsImage* wrapped = vips_image_new_from_memory(
      rendered->getDataPtr(), static_cast<size_t>(width) * 3 * static_cast<size_t>(height), width,
      height, 3, VIPS_FORMAT_UCHAR);
  if (!wrapped) {
    vips_error_clear();
    throw Failure::encoding(translated("PDF bitmap allocation failed"));
  }
  // The image owns the bitmap from here: it is freed when the image closes.
  g_signal_connect(wrapped, "postclose", G_CALLBACK(+[](VipsImage*, gpointer bitmap) {
                     delete static_cast<SplashBitmap*>(bitmap);
                   }),
                   rendered.release());
  // The picture keeps the page's size: `dpi` pixels to the inch, in pixels per millimetre.
  wrapped->Type = VIPS_INTERPRETATION_sRGB;
  wrapped->Xres = wrapped->Yres = dpi / 25.4;
  vips::VImage pixels(wrapped);
  return Image(pixels);
}

}  // namespace MediaEngine
