// The entry table of libwhirlpane-documents.so, and what the conversions do
// with a PDF or a text document from start to end, so that the engine holds
// no poppler, qpdf or libzip type of its own.
#include <poppler-document.h>
#include <poppler-page.h>

#include <algorithm>
#include <cstdio>
#include <future>
#include <memory>

#include "base/file_io.h"
#include "documents/document_support.h"
#include "image/image_encoding.h"
#include "office/docx_writer.h"
#include "pdf/pdf_compression.h"
#include "pdf/pdf_document.h"
#include "pdf/pdf_writer.h"
#include "text/text_extraction.h"
#include "text/text_pdf.h"
#include "whirlpane/failure.h"

namespace MediaEngine::detail {
namespace {

namespace fs = std::filesystem;

// Renders, encodes and stages every page in order. Rendering page n + 1
// overlaps encoding and staging page n on a second thread, so at most two
// pages' pixels are held at a time whatever the page count; staged pages wait
// on disk. The first failure of either side ends the conversion.
void stagePages(BatchFolder& batch, const PDFDocument& document, const std::string& format,
                double quality) {
  const int pages = document.pageCount();
  std::future<void> staging;
  for (int index = 0; index < pages; ++index) {
    Image page = rasterize(document, index);
    if (staging.valid()) staging.get();
    std::string suffix = pages == 1 ? "" : "-page-" + std::to_string(index + 1);
    staging = std::async(std::launch::async, [&batch, &format, quality, page = std::move(page),
                                              suffix = std::move(suffix)] {
      batch.stage(encodedImage(page, format, quality, Content::document), suffix);
    });
  }
  if (staging.valid()) staging.get();
}

void stagePDF(BatchFolder& batch, const fs::path& source, const std::string& format,
              double quality) {
  const PDFDocument document = pdf(source);  // refuses locked, unreadable and empty documents
  if (format == "pdf") {
    batch.stage(readWholeFile(source), "");
  } else {
    stagePages(batch, document, format, quality);
  }
}

// The typeset pages are opened again before anything is made of them, so that
// a layout fault shows as a failure rather than as a broken file.
void stageTextDocument(BatchFolder& batch, const fs::path& source, const std::string& format,
                       double quality) {
  Bytes typeset = textPDF(extractText(source));
  if (format == "pdf") {
    if (!pdf(Bytes::copyOf(typeset.span()))) throw Failure::encoding("Text layout failed");
    batch.stage(std::move(typeset), "");
  } else {
    const std::optional<PDFDocument> document = pdf(std::move(typeset));
    if (!document) throw Failure::encoding("Text layout failed");
    stagePages(batch, *document, format, quality);
  }
}

std::string checkedCompressedPDF(const fs::path& url, double quality) {
  pdf(url);  // refuses locked, unreadable and empty documents
  return compressedPDF(url, quality);
}

void appendPDFMetadata(std::vector<std::pair<std::string, std::string>>& rows, const fs::path& url,
                       std::string (*date)(time_t)) {
  const PDFDocument document = pdf(url);
  rows.emplace_back("Pages", std::to_string(document.pageCount()));
  if (const std::unique_ptr<poppler::page> page(document.document().create_page(0)); page) {
    const poppler::rectf box = page->page_rect(poppler::crop_box);
    char size[64];
    std::snprintf(size, sizeof size, "%.1f \u00d7 %.1f pt", box.width(), box.height());
    rows.emplace_back("Page size", size);
  }
  std::vector<std::string> keys = document.document().info_keys();
  std::stable_sort(keys.begin(), keys.end());
  for (const std::string& key : keys) {
    if (key == "CreationDate" || key == "ModDate") {
      const time_t when = document.document().info_date_t(key);
      if (when != static_cast<time_t>(-1)) {
        rows.emplace_back(key, date(when));
        continue;
      }
    }
    const std::vector<char> value = document.document().info_key(key).to_utf8();
    rows.emplace_back(key, std::string(value.begin(), value.end()));
  }
}

}  // namespace
}  // namespace MediaEngine::detail

extern "C" __attribute__((visibility("default"))) const MediaEngine::detail::DocumentSupport*
whirlpaneDocumentSupport() {
  using namespace MediaEngine::detail;
  static const DocumentSupport table{
      &MediaEngine::extractText, &MediaEngine::recognize, &MediaEngine::docx,
      &MediaEngine::imagePDF,    &MediaEngine::jpegPDF,   &stagePDF,
      &stageTextDocument,        &checkedCompressedPDF,   &appendPDFMetadata};
  return &table;
}
