#include "text/text_pdf.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <glib.h>
#include <pango/pangocairo.h>

#include <memory>
#include <string>
#include <vector>

#include "base/handles.h"
#include "base/unicode.h"
#include "pdf/pdf_writer.h"
#include "whirlpane/formats.h"

namespace MediaEngine {
namespace {

constexpr double pageWidth = 612, pageHeight = 792;  // points: 8.5 × 11 inches
constexpr double margin = 54;                        // 0.75 inch on every side
constexpr double frameWidth = pageWidth - 2 * margin, frameHeight = pageHeight - 2 * margin;
constexpr double fontSize = 12;

// Text is laid out in windows of about this many bytes. Pango's time for one
// layout grows faster than its length (2 MB of prose laid out in 64 KB
// windows takes five times as long as in 1 KB windows); small windows keep
// the whole linear.
constexpr size_t windowBytes = 1024;

// The text with every line break made "\n", the one break Pango and this
// typesetter agree on. A break at the very end ends the last line rather
// than starting an empty one.
std::string withPlainBreaks(std::string_view text) {
  std::string plain;
  plain.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const size_t n = lineBreakAt(text.substr(i));
    if (n == 0) {
      plain.push_back(text[i++]);
      continue;
    }
    i += n;
    if (i < text.size()) plain.push_back('\n');
  }
  return plain;
}

// The end of a window starting at `start`: about windowBytes on, moved back
// to the start of a UTF-8 character.
size_t windowEnd(std::string_view text, size_t start) {
  size_t end = std::min(text.size(), start + windowBytes);
  while (end < text.size() && end > start && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
    --end;
  return end > start ? end : text.size();
}

// Places lines from the top of the frame down and starts a new page when the
// next line does not fit.
class Typesetter {
 public:
  explicit Typesetter(cairo_t* cr) : cr_(cr) {}

  void place(PangoLayoutLine* line, const PangoRectangle& logical, int baseline) {
    const double height = logical.height / double(PANGO_SCALE);
    if (y_ + height > frameHeight) {
      if (linesOnPage_ == 0) throw Failure::encoding("Text cannot fit on a PDF page");
      cairo_show_page(cr_);
      y_ = 0;
      linesOnPage_ = 0;
    }
    cairo_move_to(cr_, margin + logical.x / double(PANGO_SCALE),
                  margin + y_ + (baseline - logical.y) / double(PANGO_SCALE));
    pango_cairo_show_layout_line(cr_, line);
    y_ += height;
    ++linesOnPage_;
  }

  void finish() { cairo_show_page(cr_); }

 private:
  cairo_t* cr_;
  double y_ = 0;
  int linesOnPage_ = 0;
};

}  // namespace

Bytes textPDF(std::string_view text) {
  std::string valid = text.empty() ? std::string(" ") : std::string(text);
  if (!g_utf8_validate_len(valid.data(), valid.size(), nullptr)) {
    gchar* repaired = g_utf8_make_valid(valid.data(), static_cast<gssize>(valid.size()));
    valid = repaired;
    g_free(repaired);
  }

  detail::PDFStream pdf(pageWidth, pageHeight);
  const Owned<cairo_t, cairo_destroy> cr(cairo_create(pdf.surface()));
  if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS)
    throw Failure::encoding("PDF text context failed");
  cairo_set_source_rgb(cr.get(), 0, 0, 0);

  // Outline metrics, not metrics fitted to a screen's pixels: a PDF has none.
  const Owned<cairo_font_options_t, cairo_font_options_destroy> options(
      cairo_font_options_create());
  cairo_font_options_set_hint_metrics(options.get(), CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(options.get(), CAIRO_HINT_STYLE_NONE);
  const Owned<PangoLayout, g_object_unref> layout(pango_cairo_create_layout(cr.get()));
  pango_cairo_context_set_font_options(pango_layout_get_context(layout.get()), options.get());
  pango_layout_context_changed(layout.get());
  const Owned<PangoFontDescription, pango_font_description_free> font(
      pango_font_description_from_string("Helvetica"));
  pango_font_description_set_absolute_size(font.get(), fontSize * PANGO_SCALE);
  pango_layout_set_font_description(layout.get(), font.get());
  pango_layout_set_width(layout.get(), static_cast<int>(frameWidth * PANGO_SCALE));
  pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);

  // Each window's lines are placed except its last two, whose breaks could
  // depend on text past the window's end; the next window starts where the
  // first of those two starts. Lines therefore break exactly as if the whole
  // text were laid out at once.
  Typesetter typesetter(cr.get());
  const std::string plain = withPlainBreaks(valid);
  for (size_t start = 0; start < plain.size();) {
    const size_t end = windowEnd(plain, start);
    const bool last = end == plain.size();
    pango_layout_set_text(layout.get(), plain.data() + start, static_cast<int>(end - start));
    const int lines = pango_layout_get_line_count(layout.get());
    const int placed = last ? lines : std::max(1, lines - 2);
    const Owned<PangoLayoutIter, pango_layout_iter_free> line(pango_layout_get_iter(layout.get()));
    for (int i = 0; i < placed; ++i) {
      PangoRectangle logical;
      pango_layout_iter_get_line_extents(line.get(), nullptr, &logical);
      typesetter.place(pango_layout_iter_get_line_readonly(line.get()), logical,
                       pango_layout_iter_get_baseline(line.get()));
      pango_layout_iter_next_line(line.get());
    }
    if (last) break;
    // A window of one line (a run of characters without width) moves on by that line.
    const PangoLayoutLine* next =
        placed < lines ? pango_layout_iter_get_line_readonly(line.get()) : nullptr;
    start += next ? static_cast<size_t>(next->start_index) : end - start;
  }
  typesetter.finish();
  if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS)
    throw Failure::encoding("PDF text context failed");
  std::optional<Bytes> bytes = pdf.finish();
  if (!bytes) throw Failure::encoding("PDF text context failed");
  return std::move(*bytes);
}

}  // namespace MediaEngine
