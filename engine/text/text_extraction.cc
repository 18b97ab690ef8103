// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/text_extraction.h"

// The library is built with DTD support, and with it the limits on entity
// expansion; the header declares those only when told so.
#define XML_DTD 1
#include <expat.h>
#include <glib.h>
#include <poppler-document.h>
#include <poppler-page.h>

#include <algorithm>
#include <array>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "base/handles.h"
#include "base/unicode.h"
#include "image/image_decoding.h"
#include "office/zip_reader.h"
#include "pdf/pdf_document.h"
#include "text/plain_text.h"
#include "text/text_recognition.h"
#include "whirlpane/formats.h"

namespace MediaEngine {
namespace detail {
namespace {

namespace fs = std::filesystem;

// The last non-empty piece of `name` split at ":".
std::string_view localName(std::string_view name) {
  while (name.ends_with(':')) name.remove_suffix(1);
  const size_t colon = name.rfind(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

// The lines of recognised text. A carriage return and line feed end one line;
// splitting them apart would only add an empty line, which the merge drops.
std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size();) {
    if (const size_t n = lineBreakAt(text.substr(i))) {
      lines.push_back(text.substr(start, i - start));
      i += n;
      start = i;
    } else {
      ++i;
    }
  }
  lines.push_back(text.substr(start));
  return lines;
}

// The characters of `text`, valid UTF-8, one element each.
std::u32string codePoints(std::string_view text) {
  std::u32string points;
  for (const char* at = text.data(); at < text.data() + text.size(); at = g_utf8_next_char(at))
    points.push_back(g_utf8_get_char(at));
  return points;
}

// True when some stretch of `page` turns into `line` with at most `edits`
// insertions, deletions and substitutions of one character (Sellers'
// algorithm, with Ukkonen's cut-off: only the rows that can still end within
// `edits` are computed, so the cost grows with the page times the edits
// allowed rather than times the line).
bool heldWithin(std::u32string_view line, std::u32string_view page, size_t edits) {
  const size_t m = line.size();
  if (m <= edits) return true;
  // row[i]: the fewest edits between line[0, i) and a stretch of page ending
  // at the character just read; exact wherever it is at most `edits`.
  std::vector<size_t> row(m + 1);
  for (size_t i = 0; i <= m; ++i) row[i] = i;
  size_t active = edits + 1;  // rows past it hold more than `edits`
  for (const char32_t c : page) {
    size_t diagonal = 0;  // row[i - 1] before this character
    for (size_t i = 1; i <= active; ++i) {
      const size_t before = row[i];
      row[i] = line[i - 1] == c ? diagonal : 1 + std::min({diagonal, row[i - 1], before});
      diagonal = before;
    }
    while (row[active] > edits) --active;
    if (active == m) return true;
    ++active;
  }
  return false;
}

// --- DOCX ---------------------------------------------------------------

struct Parse {
  DocumentXMLReader reader;
  XML_Parser parser = nullptr;
  bool overLimit = false;
};

void onStart(void* data, const XML_Char* name, const XML_Char**) {
  static_cast<Parse*>(data)->reader.startElement(name);
}
void onEnd(void* data, const XML_Char* name) { static_cast<Parse*>(data)->reader.endElement(name); }

void onCharacters(void* data, const XML_Char* text, int length) {
  auto* parse = static_cast<Parse*>(data);
  if (parse->reader.text().size() + static_cast<size_t>(length) > documentPartLimit) {
    parse->overLimit = true;
    XML_StopParser(parse->parser, XML_FALSE);
    return;
  }
  parse->reader.characters({text, static_cast<size_t>(length)});
}

// --- PDF ----------------------------------------------------------------

// The text layer of one page in reading order, one line of text per line: the
// words as the layout analysis orders them, a line ending where the next word
// does not continue it.
std::string embeddedText(const PDFDocument& document, int index) {
  const std::unique_ptr<poppler::page> page(document.document().create_page(index));
  if (!page) return {};
  std::string text;
  const poppler::text_box* previous = nullptr;
  for (const poppler::text_box& box : page->text_list()) {
    if (previous) {
      const poppler::rectf before = previous->bbox();
      const poppler::rectf now = box.bbox();
      const bool sameLine = now.x() >= before.x() && now.y() < before.y() + before.height() &&
                            before.y() < now.y() + now.height();
      // Words of one line touch only where a word changes font midway.
      const bool apart = now.x() - before.right() > 0.1 * std::min(before.height(), now.height());
      if (!sameLine) {
        text.push_back('\n');
      } else if (previous->has_space_after() || apart) {
        text.push_back(' ');
      }
    }
    const std::vector<char> word = box.text().to_utf8();
    text.append(word.begin(), word.end());
    previous = &box;
  }
  return std::string(trimmed(text));
}

std::string pdfText(const fs::path& url) {
  const PDFDocument document = pdf(url);
  const int pages = document.pageCount();
  std::vector<std::string> embedded(static_cast<size_t>(pages));
  std::vector<std::string> recognized(static_cast<size_t>(pages));

  // Recognition takes the time; two recognisers take alternate pages, each on
  // a thread of its own, while the next page renders here. At most three
  // pages' pixels are held at once, whatever the page count. The recognisers
  // are declared first so that they outlive the tasks using them.
  std::array<std::unique_ptr<TextRecognizer>, 2> recognizers;
  std::array<std::future<std::string>, 2> running;
  for (int index = 0; index < pages; ++index) {
    embedded[static_cast<size_t>(index)] = embeddedText(document, index);
    // A page too large for 300 dots per inch (a poster, a plan) is read at the
    // highest resolution the pixel budget allows.
    const double dpi = largestResolution(document, index);
    Image page = rasterize(document, index, dpi);
    const size_t slot = static_cast<size_t>(index) % running.size();
    if (running[slot].valid())
      recognized[static_cast<size_t>(index) - running.size()] = running[slot].get();
    running[slot] = std::async(std::launch::async,
                               [&recognizer = recognizers[slot], page = std::move(page), dpi] {
                                 if (!recognizer) recognizer = std::make_unique<TextRecognizer>();
                                 return recognizer->lines(page, static_cast<int>(dpi));
                               });
  }
  for (int index = std::max(0, pages - static_cast<int>(running.size())); index < pages; ++index) {
    recognized[static_cast<size_t>(index)] =
        running[static_cast<size_t>(index) % running.size()].get();
  }

  std::string text;
  for (int index = 0; index < pages; ++index) {
    if (index > 0) text += "\n\n";
    text += pageText(embedded[static_cast<size_t>(index)], recognized[static_cast<size_t>(index)]);
  }
  const std::string_view result = trimmed(text);
  if (result.empty()) throw Failure::noText();
  return std::string(result);
}

}  // namespace

std::string comparable(std::string_view text) {
  const std::string lower = lowerCased(text);
  std::string key;
  bool separate = false;
  for (const char* at = lower.data(); at < lower.data() + lower.size();) {
    const auto left = static_cast<gssize>(lower.data() + lower.size() - at);
    const gunichar c = g_utf8_get_char_validated(at, left);
    if (c == static_cast<gunichar>(-1) ||
        c == static_cast<gunichar>(-2)) {  // not UTF-8: a separator
      separate = !key.empty();
      ++at;
      continue;
    }
    const char* next = g_utf8_next_char(at);
    if (g_unichar_isalnum(c) || g_unichar_ismark(c)) {
      if (separate) key.push_back(' ');
      key.append(at, next);
      separate = false;
    } else {
      separate = !key.empty();
    }
    at = next;
  }
  return key;
}

std::string pageText(std::string_view embedded, std::string_view recognized) {
  const std::string pageKey = comparable(embedded);
  const std::u32string pagePoints = codePoints(pageKey);
  std::string text(embedded);
  for (const std::string_view line : splitLines(recognized)) {
    const std::string key = comparable(line);
    if (key.empty() || pageKey.find(key) != std::string::npos) continue;
    // A misread copy of a line the layer has ("htm1.xm1" for "html.xml").
    const std::u32string points = codePoints(key);
    if (!pageKey.empty() && heldWithin(points, pagePoints, points.size() / 4)) continue;
    if (!text.empty()) text.push_back('\n');
    text.append(line);
  }
  return text;
}

void DocumentXMLReader::startElement(std::string_view name) {
  if (skippedDepth_ > 0) {
    ++skippedDepth_;
    return;
  }
  const std::string_view local = localName(name);
  if (local == "AlternateContent") alternatives_.push_back(false);
  if ((local == "Choice" || local == "Fallback") && !alternatives_.empty()) {
    if (alternatives_.back()) {
      skippedDepth_ = 1;
      return;
    }
    alternatives_.back() = true;
  }
  if (local == "t") readingText_ = true;
  if (local == "tab") text_.push_back('\t');
  if (local == "br" || local == "cr") text_.push_back('\n');
}

void DocumentXMLReader::endElement(std::string_view name) {
  if (skippedDepth_ > 0) {
    --skippedDepth_;
    return;
  }
  const std::string_view local = localName(name);
  if (local == "AlternateContent" && !alternatives_.empty()) alternatives_.pop_back();
  if (local == "t") readingText_ = false;
  if (local == "p") text_.push_back('\n');
  if (local == "tc") text_.push_back('\t');
}

void DocumentXMLReader::characters(std::string_view data) {
  if (readingText_ && skippedDepth_ == 0) text_.append(data);
}

std::string documentText(std::string_view xml, const std::string& fileName) {
  Parse parse;
  // No namespace processing: element names arrive as written, prefix and all.
  const Owned<XML_ParserStruct, XML_ParserFree> parser(XML_ParserCreate(nullptr));
  if (!parser) throw std::bad_alloc();
  parse.parser = parser.get();
  XML_SetUserData(parser.get(), &parse);
  XML_SetElementHandler(parser.get(), onStart, onEnd);
  XML_SetCharacterDataHandler(parser.get(), onCharacters);
  // Without an external-entity handler expat reads no external entity, and
  // with parameter-entity parsing off no external DTD either. Internal
  // entities may expand, but not run away: past 1 MiB of output, expanded
  // text may be at most 8 times what the document itself holds.
  XML_SetParamEntityParsing(parser.get(), XML_PARAM_ENTITY_PARSING_NEVER);
  XML_SetBillionLaughsAttackProtectionActivationThreshold(parser.get(), 1 << 20);
  XML_SetBillionLaughsAttackProtectionMaximumAmplification(parser.get(), 8.0f);
  if (xml.size() > documentPartLimit) throw Failure::tooLarge();
  const XML_Status status =
      XML_Parse(parser.get(), xml.data(), static_cast<int>(xml.size()), XML_TRUE);
  if (parse.overLimit) throw Failure::tooLarge();
  if (status != XML_STATUS_OK) throw Failure::unreadable(fileName);
  const std::string_view text = trimmed(parse.reader.text());
  if (text.empty()) throw Failure::noText();
  return std::string(text);
}

}  // namespace detail

std::string recognize(const Image& image, bool allowEmpty) {
  detail::TextRecognizer recognizer;
  std::string text = recognizer.lines(image);
  if (text.empty() && !allowEmpty) throw Failure::noText();
  return text;
}

std::string extractText(const std::filesystem::path& url) {
  const std::string ext = lowerExtension(url);
  if (ext == "txt") {
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(url, error);
    if (!error && size > plainTextLimit) throw Failure::tooLarge();
    return detail::decodedText(detail::readWholeFile(url).span(), url);
  }
  if (ext == "docx") {
    const std::string part = detail::packageMember(url, "word/document.xml", documentPartLimit);
    return detail::documentText(part, url.filename().string());
  }
  if (ext == "pdf") return detail::pdfText(url);
  return recognize(loadImage(url), /*allowEmpty=*/false);
}

}  // namespace MediaEngine
