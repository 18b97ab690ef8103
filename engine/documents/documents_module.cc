// SPDX-License-Identifier: GPL-3.0-or-later
// The entry table of libwhirlpane-documents.so, and what the conversions do
// with a PDF or a text document from start to end, so that the engine holds
// no poppler, qpdf or libzip type of its own.
#include <poppler-document.h>
#include <poppler-page.h>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "base/file_io.h"
#include "base/translation.h"
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

// Renders, encodes and stages every page, staged in page order. Two workers
// take the pages in turn, each rendering from a document of its own (a
// poppler document belongs to one thread), so rendering, which is most of the
// work, runs on both cores. A page encoded before the pages ahead of it waits
// in memory, and no worker starts a page more than `ahead` past the last one
// staged, so the pixels of at most two pages and the bytes of a few are held
// whatever the page count. The first failure ends the conversion.
void stagePages(BatchFolder& batch, const PDFDocument& document,
                const std::function<PDFDocument()>& openAgain, const std::string& format,
                double quality) {
  constexpr int ahead = 4;
  const int pages = document.pageCount();
  std::mutex mutex;
  std::condition_variable changed;
  std::map<int, Bytes> encoded;  // pages waiting for the pages ahead of them
  int next = 0, staged = 0;
  std::exception_ptr failure;
  // Called while an exception is handled: the first one ends every worker.
  const auto fail = [&] {
    const std::lock_guard lock(mutex);
    if (!failure) failure = std::current_exception();
  };
  const auto work = [&](const PDFDocument& source) {
    for (;;) {
      int index = 0;
      {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return failure || next == pages || next < staged + ahead; });
        if (failure || next == pages) return;
        index = next++;
      }
      try {
        Bytes bytes = encodedImage(rasterize(source, index), format, quality, Content::document);
        const std::lock_guard lock(mutex);
        encoded.emplace(index, std::move(bytes));
        for (auto page = encoded.begin(); page != encoded.end() && page->first == staged;
             page = encoded.erase(page), ++staged) {
          batch.stage(page->second, pages == 1 ? "" : "-page-" + std::to_string(staged + 1));
        }
      } catch (...) {
        fail();
      }
      changed.notify_all();
    }
  };
  std::thread second;
  if (pages > 1) {
    second = std::thread([&] {
      try {
        work(openAgain());
      } catch (...) {
        fail();
        changed.notify_all();
      }
    });
  }
  work(document);
  if (second.joinable()) second.join();
  if (failure) std::rethrow_exception(failure);
}

void stagePDF(BatchFolder& batch, const fs::path& source, const std::string& format,
              double quality) {
  const PDFDocument document = pdf(source);  // refuses locked, unreadable and empty documents
  if (format == "pdf") {
    batch.stage(readWholeFile(source), "");
  } else {
    stagePages(
        batch, document, [&] { return pdf(source); }, format, quality);
  }
}

// The typeset pages are opened again before anything is made of them, so that
// a layout fault shows as a failure rather than as a broken file.
void stageTextDocument(BatchFolder& batch, const fs::path& source, const std::string& format,
                       double quality) {
  Bytes typeset = textPDF(extractText(source));
  if (format == "pdf") {
    if (!pdf(Bytes::copyOf(typeset.span())))
      throw Failure::encoding(translated("Text layout failed"));
    batch.stage(std::move(typeset), "");
  } else {
    const std::optional<PDFDocument> document = pdf(Bytes::copyOf(typeset.span()));
    if (!document) throw Failure::encoding(translated("Text layout failed"));
    stagePages(
        batch, *document,
        [&] {
          std::optional<PDFDocument> again = pdf(Bytes::copyOf(typeset.span()));
          if (!again) throw Failure::encoding(translated("Text layout failed"));
          return std::move(*again);
        },
        format, quality);
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
