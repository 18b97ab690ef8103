#include "tests/support/text_fixtures.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <pango/pangocairo.h>
#include <zip.h>

#include <memory>
#include <stdexcept>

#include "tests/support/test_support.h"

namespace TestSupport {
namespace {

// Draws `lines` with their top-left corner at (x, y) on `cr`, `size` units
// per em; returns the y below the last line.
double drawLines(cairo_t* cr, const std::vector<std::string>& lines, double x, double y,
                 double size) {
  PangoLayout* layout = pango_cairo_create_layout(cr);
  PangoFontDescription* font = pango_font_description_from_string("DejaVu Sans");
  pango_font_description_set_absolute_size(font, size * PANGO_SCALE);
  pango_layout_set_font_description(layout, font);
  for (const std::string& line : lines) {
    pango_layout_set_text(layout, line.c_str(), static_cast<int>(line.size()));
    cairo_move_to(cr, x, y);
    pango_cairo_show_layout(cr, layout);
    int width = 0, height = 0;
    pango_layout_get_pixel_size(layout, &width, &height);
    y += height * 1.2;
  }
  pango_font_description_free(font);
  g_object_unref(layout);
  return y;
}

}  // namespace

vips::VImage textPicture(const std::vector<std::string>& lines, double pixelSize) {
  startVips();
  const int margin = static_cast<int>(pixelSize);
  size_t longest = 1;
  for (const std::string& line : lines) longest = std::max(longest, line.size());
  const int width = static_cast<int>(static_cast<double>(longest) * pixelSize * 0.75) + 2 * margin;
  const int height =
      static_cast<int>(static_cast<double>(lines.size()) * pixelSize * 1.6) + 2 * margin;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  cairo_set_source_rgb(cr, 0, 0, 0);
  drawLines(cr, lines, margin, margin, pixelSize);
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  // Cairo's RGB24 is B, G, R, unused in memory on little-endian machines.
  const vips::VImage bgrx =
      vips::VImage::new_from_memory(cairo_image_surface_get_data(surface),
                                    static_cast<size_t>(cairo_image_surface_get_stride(surface)) *
                                        static_cast<size_t>(height),
                                    cairo_image_surface_get_stride(surface) / 4, height, 4,
                                    VIPS_FORMAT_UCHAR)
          .crop(0, 0, width, height);
  const vips::VImage rgb =
      bgrx[2]
          .bandjoin(bgrx[1])
          .bandjoin(bgrx[0])
          .copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB))
          .copy_memory();
  cairo_surface_destroy(surface);
  return rgb;
}

int pangoLineCount(const std::string& text, const char* family, double size, double width) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
  cairo_t* cr = cairo_create(surface);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  PangoLayout* layout = pango_cairo_create_layout(cr);
  pango_cairo_context_set_font_options(pango_layout_get_context(layout), options);
  pango_layout_context_changed(layout);
  PangoFontDescription* font = pango_font_description_from_string(family);
  pango_font_description_set_absolute_size(font, size * PANGO_SCALE);
  pango_layout_set_font_description(layout, font);
  pango_layout_set_width(layout, static_cast<int>(width * PANGO_SCALE));
  pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
  const int lines = pango_layout_get_line_count(layout);
  pango_font_description_free(font);
  g_object_unref(layout);
  cairo_font_options_destroy(options);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  return lines;
}

void writePDF(const fs::path& path, const std::vector<PDFPageText>& pages, double width,
              double height) {
  cairo_surface_t* surface = cairo_pdf_surface_create(path.c_str(), width, height);
  cairo_t* cr = cairo_create(surface);
  for (const PDFPageText& page : pages) {
    cairo_set_source_rgb(cr, 0, 0, 0);
    double y = drawLines(cr, page.textLayer, 72, 72, 20);
    if (!page.pictured.empty()) {
      // Drawn at 300 dpi and placed at 72 units per inch, so the picture of
      // the text is as sharp as the page's own rendering.
      const double scale = 300.0 / 72;
      size_t longest = 1;
      for (const std::string& line : page.pictured) longest = std::max(longest, line.size());
      cairo_surface_t* image = cairo_image_surface_create(
          CAIRO_FORMAT_RGB24, static_cast<int>((static_cast<double>(longest) * 15 + 40) * scale),
          static_cast<int>((static_cast<double>(page.pictured.size()) * 32 + 40) * scale));
      cairo_t* picture = cairo_create(image);
      cairo_set_source_rgb(picture, 1, 1, 1);
      cairo_paint(picture);
      cairo_set_source_rgb(picture, 0, 0, 0);
      drawLines(picture, page.pictured, 20 * scale, 20 * scale, 20 * scale);
      cairo_destroy(picture);
      cairo_save(cr);
      cairo_translate(cr, 72 - 20, y);
      cairo_scale(cr, 1 / scale, 1 / scale);
      cairo_set_source_surface(cr, image, 0, 0);
      cairo_paint(cr);
      cairo_restore(cr);
      cairo_surface_destroy(image);
    }
    cairo_show_page(cr);
  }
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  const cairo_status_t status = cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS)
    throw std::runtime_error("cairo could not write " + path.string());
}

void writeZip(const fs::path& path, const std::vector<ZipMember>& members) {
  int error = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (!archive) throw std::runtime_error("libzip could not create " + path.string());
  for (const ZipMember& member : members) {
    zip_source_t* source =
        zip_source_buffer(archive, member.content.data(), member.content.size(), 0);
    if (!source || zip_file_add(archive, member.name.c_str(), source, ZIP_FL_ENC_UTF_8) < 0) {
      zip_source_free(source);
      zip_discard(archive);
      throw std::runtime_error("libzip could not add " + member.name);
    }
  }
  if (zip_close(archive) != 0) {
    zip_discard(archive);
    throw std::runtime_error("libzip could not write " + path.string());
  }
}

std::string wordDocument(std::string_view body) {
  return R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main" )"
         R"(xmlns:mc="http://schemas.openxmlformats.org/markup-compatibility/2006" )"
         R"(xmlns:wps="http://schemas.microsoft.com/office/word/2010/wordprocessingShape" )"
         R"(xmlns:v="urn:schemas-microsoft-com:vml" mc:Ignorable="wps"><w:body>)" +
         std::string(body) + "</w:body></w:document>";
}

void writeDocx(const fs::path& path, std::string_view documentXML) {
  writeZip(
      path,
      {
          {"[Content_Types].xml",
           R"(<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
           R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
           R"(<Default Extension="xml" ContentType="application/xml"/>)"
           R"(<Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/></Types>)"},
          {"_rels/.rels",
           R"(<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
           R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/></Relationships>)"},
          {"word/document.xml", std::string(documentXML)},
      });
}

}  // namespace TestSupport
