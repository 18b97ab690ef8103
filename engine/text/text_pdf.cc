// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/text_pdf.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <glib.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "base/handles.h"
#include "base/translation.h"
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

// One run of a laid-out line, ready for cairo: glyph positions from the
// line's origin on its baseline, and the clusters that tie them to the text,
// so that the PDF's text can be copied and searched.
struct GlyphRun {
  Owned<cairo_scaled_font_t, cairo_scaled_font_destroy> font;
  std::vector<cairo_glyph_t> glyphs;
  std::vector<cairo_text_cluster_t> clusters;
  cairo_text_cluster_flags_t flags = cairo_text_cluster_flags_t(0);
  std::string text;
  // Characters no installed face has: drawn as Pango's boxes of hex digits
  // in a face described by `description`.
  struct Missing {
    PangoGlyph glyph;
    int width;
    double x, y;
  };
  std::vector<Missing> missing;
  Owned<PangoFontDescription, pango_font_description_free> description;
};

struct SetLine {
  double x, ascent, height;  // the logical box's left edge, baseline and height
  std::vector<GlyphRun> runs;
};

// What Pango's cairo renderer would draw for `line`, taken out of Pango so
// that another thread can draw it: Pango's fonts and layouts belong to the
// thread that made them, cairo's scaled fonts to anyone.
SetLine setLine(PangoLayoutLine* line, const PangoRectangle& logical, int baseline) {
  SetLine set{logical.x / double(PANGO_SCALE),
              (baseline - logical.y) / double(PANGO_SCALE),
              logical.height / double(PANGO_SCALE),
              {}};
  const char* text = pango_layout_get_text(line->layout);
  int runX = 0;
  for (GSList* item = line->runs; item; item = item->next) {
    auto* run = static_cast<PangoGlyphItem*>(item->data);
    PangoGlyphString* glyphs = run->glyphs;
    GlyphRun out;
    out.font.reset(cairo_scaled_font_reference(
        pango_cairo_font_get_scaled_font(PANGO_CAIRO_FONT(run->item->analysis.font))));
    const double baseY = -run->y_offset / double(PANGO_SCALE);
    std::vector<double> x(static_cast<size_t>(glyphs->num_glyphs));
    int advance = 0;
    for (int i = 0; i < glyphs->num_glyphs; ++i) {
      x[i] = (runX + advance + glyphs->glyphs[i].geometry.x_offset) / double(PANGO_SCALE);
      advance += glyphs->glyphs[i].geometry.width;
    }
    const bool backward = run->item->analysis.level % 2;
    out.flags = backward ? CAIRO_TEXT_CLUSTER_FLAG_BACKWARD : cairo_text_cluster_flags_t(0);
    out.text.assign(text + run->item->offset, static_cast<size_t>(run->item->length));
    PangoGlyphItemIter cluster;
    for (bool more = pango_glyph_item_iter_init_start(&cluster, run, text); more;
         more = pango_glyph_item_iter_next_cluster(&cluster)) {
      int shown = 0;
      const int step = backward ? -1 : 1;
      for (int i = cluster.start_glyph; i != cluster.end_glyph; i += step) {
        const PangoGlyphInfo& glyph = glyphs->glyphs[i];
        const double y = baseY + glyph.geometry.y_offset / double(PANGO_SCALE);
        if (glyph.glyph == PANGO_GLYPH_EMPTY) continue;
        if (glyph.glyph & PANGO_GLYPH_UNKNOWN_FLAG) {
          out.missing.push_back({glyph.glyph, glyph.geometry.width, x[i], y});
          continue;
        }
        out.glyphs.push_back({glyph.glyph, x[i], y});
        ++shown;
      }
      out.clusters.push_back({cluster.end_index - cluster.start_index, shown});
    }
    // cairo takes the glyphs in their order along the line and the clusters
    // in the text's; a right-to-left run's clusters take glyphs from the end.
    if (backward) std::reverse(out.glyphs.begin(), out.glyphs.end());
    if (!out.missing.empty()) out.description.reset(pango_font_describe(run->item->analysis.font));
    runX += advance;
    set.runs.push_back(std::move(out));
  }
  return set;
}

// Lines handed from the thread that lays them out to the one that draws
// them, a window's lines at a time; at most `capacity` windows wait.
class LineQueue {
 public:
  void push(std::vector<SetLine> lines) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return windows_.size() < capacity || closed_; });
    if (closed_) return;
    windows_.push_back(std::move(lines));
    changed_.notify_all();
  }
  // The next window, or nullopt once the producer has ended and all are taken.
  std::optional<std::vector<SetLine>> pop() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return !windows_.empty() || ended_; });
    if (windows_.empty()) return std::nullopt;
    std::vector<SetLine> lines = std::move(windows_.front());
    windows_.pop_front();
    changed_.notify_all();
    return lines;
  }
  // The producer has no more (after a failure: `failure` says why).
  void end(std::exception_ptr failure = nullptr) {
    const std::lock_guard lock(mutex_);
    ended_ = true;
    failure_ = failure;
    changed_.notify_all();
  }
  // The consumer wants no more: the producer stops at its next push.
  void close() {
    const std::lock_guard lock(mutex_);
    closed_ = true;
    changed_.notify_all();
  }
  bool closed() {
    const std::lock_guard lock(mutex_);
    return closed_;
  }
  std::exception_ptr failure() {
    const std::lock_guard lock(mutex_);
    return failure_;
  }

 private:
  static constexpr size_t capacity = 16;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::vector<SetLine>> windows_;
  bool ended_ = false, closed_ = false;
  std::exception_ptr failure_;
};

// Lays out `plain` in windows and hands the lines on. Each window's lines are
// placed except its last two, whose breaks could depend on text past the
// window's end; the next window starts where the first of those two starts.
// Lines therefore break exactly as if the whole text were laid out at once.
void layOut(const std::string& plain, const cairo_font_options_t* options, LineQueue& queue) {
  // A font map of this thread's own: nothing of it is shared with the drawing.
  const Owned<PangoFontMap, g_object_unref> fonts(pango_cairo_font_map_new());
  const Owned<PangoContext, g_object_unref> context(pango_font_map_create_context(fonts.get()));
  pango_cairo_context_set_font_options(context.get(), options);
  const Owned<PangoLayout, g_object_unref> layout(pango_layout_new(context.get()));
  const Owned<PangoFontDescription, pango_font_description_free> font(
      pango_font_description_from_string("Helvetica"));
  pango_font_description_set_absolute_size(font.get(), fontSize * PANGO_SCALE);
  pango_layout_set_font_description(layout.get(), font.get());
  pango_layout_set_width(layout.get(), static_cast<int>(frameWidth * PANGO_SCALE));
  pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);

  for (size_t start = 0; start < plain.size() && !queue.closed();) {
    const size_t end = windowEnd(plain, start);
    const bool last = end == plain.size();
    pango_layout_set_text(layout.get(), plain.data() + start, static_cast<int>(end - start));
    const int lines = pango_layout_get_line_count(layout.get());
    const int placed = last ? lines : std::max(1, lines - 2);
    const Owned<PangoLayoutIter, pango_layout_iter_free> line(pango_layout_get_iter(layout.get()));
    std::vector<SetLine> window;
    window.reserve(static_cast<size_t>(placed));
    for (int i = 0; i < placed; ++i) {
      PangoRectangle logical;
      pango_layout_iter_get_line_extents(line.get(), nullptr, &logical);
      window.push_back(setLine(pango_layout_iter_get_line_readonly(line.get()), logical,
                               pango_layout_iter_get_baseline(line.get())));
      pango_layout_iter_next_line(line.get());
    }
    queue.push(std::move(window));
    if (last) break;
    // A window of one line (a run of characters without width) moves on by that line.
    const PangoLayoutLine* next =
        placed < lines ? pango_layout_iter_get_line_readonly(line.get()) : nullptr;
    start += next ? static_cast<size_t>(next->start_index) : end - start;
  }
}

// Places lines from the top of the frame down and starts a new page when the
// next line does not fit.
class Typesetter {
 public:
  Typesetter(cairo_t* cr, const cairo_font_options_t* options) : cr_(cr), options_(options) {}

  void place(const SetLine& line) {
    if (y_ + line.height > frameHeight) {
      if (linesOnPage_ == 0) throw Failure::encoding(translated("Text cannot fit on a PDF page"));
      cairo_show_page(cr_);
      y_ = 0;
      linesOnPage_ = 0;
    }
    const double x = margin + line.x, y = margin + y_ + line.ascent;
    for (const GlyphRun& run : line.runs) {
      std::vector<cairo_glyph_t> glyphs = run.glyphs;
      for (cairo_glyph_t& glyph : glyphs) {
        glyph.x += x;
        glyph.y += y;
      }
      cairo_set_scaled_font(cr_, run.font.get());
      cairo_show_text_glyphs(cr_, run.text.data(), static_cast<int>(run.text.size()), glyphs.data(),
                             static_cast<int>(glyphs.size()), run.clusters.data(),
                             static_cast<int>(run.clusters.size()), run.flags);
      for (const GlyphRun::Missing& missing : run.missing)
        showMissing(run.description.get(), missing, x, y);
    }
    y_ += line.height;
    ++linesOnPage_;
  }

  void finish() { cairo_show_page(cr_); }

 private:
  // Pango draws its box for a missing character through a font of this
  // thread's font map, never the layout thread's.
  void showMissing(const PangoFontDescription* description, const GlyphRun::Missing& missing,
                   double x, double y) {
    if (!fonts_) {
      fonts_.reset(pango_cairo_font_map_new());
      context_.reset(pango_font_map_create_context(fonts_.get()));
      pango_cairo_context_set_font_options(context_.get(), options_);
    }
    const Owned<PangoFont, g_object_unref> font(
        pango_font_map_load_font(fonts_.get(), context_.get(), description));
    if (!font) return;
    PangoGlyphInfo info{};
    info.glyph = missing.glyph;
    info.geometry.width = missing.width;
    info.attr.is_cluster_start = 1;
    gint cluster = 0;
    PangoGlyphString glyphs{1, &info, &cluster, 0};
    cairo_move_to(cr_, x + missing.x, y + missing.y);
    pango_cairo_show_glyph_string(cr_, font.get(), &glyphs);
  }

  cairo_t* cr_;
  const cairo_font_options_t* options_;
  double y_ = 0;
  int linesOnPage_ = 0;
  Owned<PangoFontMap, g_object_unref> fonts_;
  Owned<PangoContext, g_object_unref> context_;
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
    throw Failure::encoding(translated("PDF text context failed"));
  cairo_set_source_rgb(cr.get(), 0, 0, 0);

  // Outline metrics, not metrics fitted to a screen's pixels: a PDF has none.
  const Owned<cairo_font_options_t, cairo_font_options_destroy> options(
      cairo_font_options_create());
  cairo_surface_get_font_options(pdf.surface(), options.get());
  cairo_font_options_set_hint_metrics(options.get(), CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(options.get(), CAIRO_HINT_STYLE_NONE);

  // Laying out (shaping, breaking) and drawing into the PDF (subsetting,
  // compressing) each take about half the time; they run on two threads.
  const std::string plain = withPlainBreaks(valid);
  LineQueue queue;
  std::thread layoutThread([&] {
    try {
      layOut(plain, options.get(), queue);
      queue.end();
    } catch (...) {
      queue.end(std::current_exception());
    }
  });
  Typesetter typesetter(cr.get(), options.get());
  try {
    while (std::optional<std::vector<SetLine>> window = queue.pop())
      for (const SetLine& line : *window) typesetter.place(line);
  } catch (...) {
    queue.close();
    layoutThread.join();
    throw;
  }
  layoutThread.join();
  if (std::exception_ptr failure = queue.failure()) std::rethrow_exception(failure);
  typesetter.finish();
  if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS)
    throw Failure::encoding(translated("PDF text context failed"));
  std::optional<Bytes> bytes = pdf.finish();
  if (!bytes) throw Failure::encoding(translated("PDF text context failed"));
  return std::move(*bytes);
}

}  // namespace MediaEngine
