// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/text_fixtures.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <pango/pangocairo.h>
#include <zip.h>

#include <stdexcept>

#include "tests/support/test_support.h"

namespace TestSupport {

vips::VImage textPicture(const std::vector<std::string>& lines, double pixelSize) {
  startVips();
  std::string markup;
  for (const std::string& line : lines) {
    gchar* escaped = g_markup_escape_text(line.c_str(), -1);
    markup += (markup.empty() ? "" : "\n") + std::string(escaped);
    g_free(escaped);
  }
  // At libvips' 72 dots per inch a point is a pixel.
  const std::string font = "DejaVu Sans " + std::to_string(pixelSize);
  const vips::VImage ink =
      vips::VImage::text(markup.c_str(), vips::VImage::option()->set("font", font.c_str()));
  const int margin = static_cast<int>(pixelSize);
  const vips::VImage paper =
      (255 - ink)
          .cast(VIPS_FORMAT_UCHAR)
          .embed(margin, margin, ink.width() + 2 * margin, ink.height() + 2 * margin,
                 vips::VImage::option()->set("extend", VIPS_EXTEND_WHITE));
  return vips::VImage::bandjoin({paper, paper, paper})
      .copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB))
      .copy_memory();
}

void writePDF(const fs::path& path, const std::vector<PDFPageText>& pages, double width,
              double height) {
  cairo_surface_t* surface = cairo_pdf_surface_create(path.c_str(), width, height);
  cairo_t* cr = cairo_create(surface);
  PangoLayout* layout = pango_cairo_create_layout(cr);
  PangoFontDescription* font = pango_font_description_from_string("DejaVu Sans");
  pango_font_description_set_absolute_size(font, 20 * PANGO_SCALE);
  pango_layout_set_font_description(layout, font);
  for (const PDFPageText& page : pages) {
    double y = 72;
    for (const auto* lines : {&page.textLayer, &page.pictured}) {
      for (const std::string& line : *lines) {
        pango_layout_set_text(layout, line.c_str(), static_cast<int>(line.size()));
        cairo_move_to(cr, 72, y);
        if (lines == &page.textLayer) {
          pango_cairo_show_layout(cr, layout);
        } else {
          pango_cairo_layout_path(cr, layout);
          cairo_fill(cr);
        }
        y += 30;
      }
    }
    cairo_show_page(cr);
  }
  pango_font_description_free(font);
  g_object_unref(layout);
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  const cairo_status_t status = cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS)
    throw std::runtime_error("cairo could not write " + path.string());
}

void writeZip(const fs::path& path, const std::string& name, const std::string& content) {
  int error = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  zip_source_t* source =
      archive ? zip_source_buffer(archive, content.data(), content.size(), 0) : nullptr;
  if (!source || zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8) < 0 ||
      zip_close(archive) != 0) {
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
  writeZip(path, "word/document.xml", std::string(documentXML));
}

}  // namespace TestSupport
