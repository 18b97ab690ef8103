#include "pdf/pdf_document.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <gtest/gtest.h>

#include "image/image.h"
#include "image/image_decoding.h"
#include "pdf/pdf_writer.h"
#include "tests/support/test_support.h"
#include "whirlpane/failure.h"
#include "whirlpane/formats.h"
#include "whirlpane/pipeline.h"

namespace MediaEngine {
namespace {

namespace fs = std::filesystem;
using TestSupport::ScratchFolder;
using TestSupport::shell;
using vips::VImage;

struct PageSpec {
  double width, height;    // points
  bool background = true;  // white page background, or none (transparent)
};

// A PDF made with cairo: each page has a black 72 pt square in its top-left
// corner (a marker for orientation) and the page number written large.
void makePDF(const fs::path& path, const std::vector<PageSpec>& pages) {
  cairo_surface_t* surface =
      cairo_pdf_surface_create(path.c_str(), pages.at(0).width, pages.at(0).height);
  cairo_t* cr = cairo_create(surface);
  for (size_t i = 0; i < pages.size(); ++i) {
    cairo_pdf_surface_set_size(surface, pages[i].width, pages[i].height);
    if (pages[i].background) {
      cairo_set_source_rgb(cr, 1, 1, 1);
      cairo_paint(cr);
    }
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_rectangle(cr, 0, 0, std::min(72.0, pages[i].width / 4),
                    std::min(72.0, pages[i].height / 4));
    cairo_fill(cr);
    cairo_move_to(cr, pages[i].width / 2, pages[i].height / 2);
    cairo_set_font_size(cr, 48);
    cairo_show_text(cr, std::to_string(i + 1).c_str());
    cairo_show_page(cr);
  }
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}

void runQpdf(const std::string& arguments) {
  int status = 0;
  const std::string output = shell("qpdf " + arguments + " 2>&1", &status);
  ASSERT_TRUE(status == 0 || status == 3) << output;  // 3: warnings only
}

// Mean darkness of a region, 0 (white) to 255 (black).
double darkness(const Image& image, int left, int top, int width, int height) {
  return 255.0 - image.pixels().extract_area(left, top, width, height).avg();
}

TEST(PdfPages, PageSizesAreRoundedUpAt300DotsPerInchAndHugePagesRefused) {
  ScratchFolder folder;
  makePDF(folder / "sizes.pdf",
          {{612, 792}, {100.1, 100}, {0.5, 0.5}, {200, 200, false}, {24000, 24000}, {14400, 1}});
  const PDFDocument document = pdf(folder / "sizes.pdf");
  ASSERT_EQ(document.pageCount(), 6);
  EXPECT_EQ(pagePixelSize(document, 0), std::pair(2550, 3300));
  EXPECT_EQ(pagePixelSize(document, 1), std::pair(418, 417));  // 417.08 and 416.67, rounded up
  EXPECT_EQ(pagePixelSize(document, 2), std::pair(3, 3));
  EXPECT_EQ(pagePixelSize(document, 5), std::pair(60000, 5));
  const Image page = rasterize(document, 1);
  EXPECT_EQ(std::pair(page.width(), page.height()), std::pair(418, 417));
  // A page without a background renders on white.
  const Image clear = rasterize(document, 3);
  EXPECT_FALSE(clear.hasAlpha());
  EXPECT_EQ(clear.pixels().extract_area(600, 100, 200, 200).min(), 255);
  EXPECT_GT(darkness(clear, 0, 0, 50, 50), 250);
  EXPECT_EQ(TestSupport::failureText([&] { rasterize(document, 4); }),
            "This file is too large to process safely at full resolution.");
  EXPECT_EQ(TestSupport::failureText([&] { rasterize(document, 6); }),
            "Could not read PDF page 7. The file may be damaged or unsupported.");
}

TEST(PdfPages, RotatedPagesRenderUprightWithSidesExchanged) {
  ScratchFolder folder;
  makePDF(folder / "plain.pdf", {{300, 600}});
  // A viewer turns the page clockwise by its rotation: the marker, top left
  // when upright, moves with it.
  const std::tuple<int, int, int, int, int> cases[] = {{0, 1250, 2500, 0, 0},
                                                       {90, 2500, 1250, 2450, 0},
                                                       {180, 1250, 2500, 1200, 2450},
                                                       {270, 2500, 1250, 0, 1200}};
  for (const auto& [turn, width, height, left, top] : cases) {
    const fs::path turned = folder / ("r" + std::to_string(turn) + ".pdf");
    if (turn) {
      runQpdf(TestSupport::quoted((folder / "plain.pdf").string()) + " --rotate=+" +
              std::to_string(turn) + " " + TestSupport::quoted(turned.string()));
    } else {
      fs::copy_file(folder / "plain.pdf", turned);
    }
    const Image page = rasterize(pdf(turned), 0);
    ASSERT_EQ(std::pair(page.width(), page.height()), std::pair(width, height)) << turn;
    EXPECT_GT(darkness(page, left, top, 50, 50), 250) << turn;
    EXPECT_LT(darkness(page, width - 50 - left, height - 50 - top, 50, 50), 5) << turn;
  }
}

TEST(PdfPages, AnnotationsAreDrawnAndOddRotationsFollowTheRule) {
  ScratchFolder folder;
  // Written by hand (cairo writes no annotations); qpdf rebuilds the
  // cross-reference table. Page 1 is blank but for a square annotation whose
  // appearance is a black square in the middle; pages 2 and 3 carry rotations
  // of 45 (not a quarter turn: sides kept) and -90 (a quarter turn: exchanged).
  TestSupport::writeFile(folder / "raw.pdf", R"(%PDF-1.4
1 0 obj << /Type /Catalog /Pages 2 0 R >> endobj
2 0 obj << /Type /Pages /Kids [3 0 R 6 0 R 7 0 R] /Count 3 >> endobj
3 0 obj << /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] /Annots [4 0 R] >> endobj
4 0 obj << /Type /Annot /Subtype /Square /Rect [50 50 150 150] /F 4 /AP << /N 5 0 R >> >> endobj
5 0 obj << /Type /XObject /Subtype /Form /BBox [0 0 100 100] /Length 25 >> stream
0 0 0 rg 0 0 100 100 re f
endstream endobj
6 0 obj << /Type /Page /Parent 2 0 R /MediaBox [0 0 300 100] /Rotate 45 >> endobj
7 0 obj << /Type /Page /Parent 2 0 R /MediaBox [0 0 300 100] /Rotate -90 >> endobj
trailer << /Root 1 0 R >>
%%EOF
)");
  runQpdf(TestSupport::quoted((folder / "raw.pdf").string()) + " " +
          TestSupport::quoted((folder / "annotated.pdf").string()));
  const PDFDocument document = pdf(folder / "annotated.pdf");
  const Image page = rasterize(document, 0);
  EXPECT_GT(darkness(page, 300, 300, 200, 200), 250) << "the annotation is missing";
  EXPECT_LT(darkness(page, 0, 0, 100, 100), 1);
  EXPECT_EQ(pagePixelSize(document, 1), std::pair(1250, 417));
  EXPECT_EQ(pagePixelSize(document, 2), std::pair(417, 1250));
}

TEST(PdfPages, DocumentsThatCannotBeUsedAreRefusedForEveryFormat) {
  ScratchFolder folder;
  makePDF(folder / "good.pdf", {{200, 200}, {200, 200}});
  const std::string good = TestSupport::readFile(folder / "good.pdf");
  TestSupport::writeFile(folder / "empty.pdf", "");
  TestSupport::writeFile(folder / "cut.pdf", good.substr(0, good.size() / 3));
  TestSupport::writeFile(folder / "page.pdf",
                         "<!DOCTYPE html><html><body>Not a PDF</body></html>\n");
  const std::string in = TestSupport::quoted((folder / "good.pdf").string());
  const auto out = [&](const char* name) { return TestSupport::quoted((folder / name).string()); };
  runQpdf("--encrypt secret owner 256 -- " + in + " " + out("locked.pdf"));
  runQpdf("--encrypt '' owner 256 -- " + in + " " + out("owner-only.pdf"));
  runQpdf("--empty --pages " + in + " 1-0 -- " + out("no-pages.pdf") + " || qpdf --empty " +
          out("no-pages.pdf"));
  const std::string damaged = ". The file may be damaged or unsupported.";
  const std::pair<const char*, std::string> cases[] = {
      {"empty.pdf", "Could not read empty.pdf" + damaged},
      {"cut.pdf", "Could not read cut.pdf" + damaged},
      {"page.pdf", "Could not read page.pdf" + damaged},
      {"locked.pdf", "Unlock the PDF before converting it."},
      {"no-pages.pdf", "Could not read empty PDF" + damaged},
  };
  const auto before = TestSupport::listFolder(folder.path());
  for (const auto& [name, message] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(TestSupport::failureText([&] { pdf(folder / name); }), message);
    for (const char* format : {"png", "pdf", "tiff"})
      EXPECT_EQ(TestSupport::failureText([&] { convert(folder / name, format); }), message);
    // poppler's own complaints about the file never reach the terminal.
    const TestSupport::RunResult run =
        TestSupport::runWhirlpane({"--convert", (folder / name).string(), "--to", "jpg"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, message + "\n");
  }
  EXPECT_EQ(TestSupport::listFolder(folder.path()), before);
  EXPECT_EQ(pdf(folder / "owner-only.pdf").pageCount(), 2);
  EXPECT_EQ(convert(folder / "owner-only.pdf", "png").size(), 2u);
}

TEST(PdfPipeline, PagesBecomeNumberedImagesAndPdfToPdfIsACopy) {
  ScratchFolder folder;
  makePDF(folder / "scan.pdf", {{200, 300}, {300, 200}, {200, 200}});
  makePDF(folder / "single.pdf", {{100, 100}});
  const std::vector<fs::path> pages = convert(folder / "scan.pdf", "jpg");
  EXPECT_EQ(pages, (std::vector<fs::path>{folder / "scan-page-1.jpg", folder / "scan-page-2.jpg",
                                          folder / "scan-page-3.jpg"}));
  EXPECT_EQ(TestSupport::loadWithVips(pages[1]).width(), 1250);
  EXPECT_EQ(convert(folder / "single.pdf", "png"), std::vector<fs::path>{folder / "single.png"});
  EXPECT_EQ(convert(folder / "single.pdf", "PDF"), std::vector<fs::path>{folder / "single 2.pdf"});
  EXPECT_EQ(TestSupport::readFile(folder / "single 2.pdf"),
            TestSupport::readFile(folder / "single.pdf"));
  // Image decoding never renders a PDF: the image library's PDF loader stays blocked.
  EXPECT_EQ(TestSupport::failureKind([&] { loadImage(folder / "scan.pdf"); }),
            Failure::Kind::unreadable);
  EXPECT_TRUE(TestSupport::workingFilesIn(folder.path()).empty());
}

TEST(PdfPipeline, APlainJPEGPageKeepsItsDataAndItsPixels) {
  ScratchFolder folder;
  const fs::path photo = folder / "photo.jpg";
  TestSupport::saveImage(TestSupport::testPicture(1200, 800), photo, "[Q=85]");
  int status = 0;
  shell(
      "exiftool -q -overwrite_original -Make=Acme -GPSLatitude=51.5 -GPSLatitudeRef=N "
      "-XMP:Creator=Someone "
      "-Comment=secret " +
          TestSupport::quoted(photo.string()),
      &status);
  ASSERT_EQ(status, 0);
  const auto written = convert(photo, "pdf");
  ASSERT_EQ(written.size(), 1u);
  const std::string pdfBytes = TestSupport::readFile(written[0]);
  EXPECT_NE(shell("pdfimages -list " + TestSupport::quoted(written[0].string())).find(" jpeg "),
            std::string::npos);
  for (const char* leak : {"Acme", "Someone", "secret", "Exif"}) {
    EXPECT_EQ(pdfBytes.find(leak), std::string::npos) << leak;
  }
  // The image in the PDF decodes to exactly the JPEG's pixels...
  shell("pdfimages -j " + TestSupport::quoted(written[0].string()) + " " +
        TestSupport::quoted((folder / "embedded").string()));
  const Image decoded = loadImage(photo);
  EXPECT_EQ(*TestSupport::maxDifference(TestSupport::loadWithVips(folder / "embedded-000.jpg"),
                                        decoded.pixels()),
            0);
  // ... and the page renders at 300 dpi to the same size and picture (poppler's
  // JPEG decoder rounds chroma a little differently).
  const Image page = rasterize(pdf(written[0]), 0);
  ASSERT_EQ(std::pair(page.width(), page.height()), std::pair(1200, 800));
  EXPECT_LE(
      (page.pixels().cast(VIPS_FORMAT_INT) - decoded.pixels().cast(VIPS_FORMAT_INT)).abs().avg(),
      1.5);
  // ... and the file is far smaller than the same pixels stored losslessly.
  EXPECT_LT(pdfBytes.size() * 3, imagePDF(decoded).size());

  // A JPEG stored turned cannot keep its data: it is decoded upright.
  VImage turned = TestSupport::testPicture(120, 80).copy();
  turned.set(VIPS_META_ORIENTATION, 6);
  TestSupport::saveImage(turned, folder / "turned.jpg");
  const auto upright = convert(folder / "turned.jpg", "pdf");
  EXPECT_EQ(shell("pdfimages -list " + TestSupport::quoted(upright.at(0).string())).find(" jpeg "),
            std::string::npos);
  const Image back = rasterize(pdf(upright[0]), 0);
  EXPECT_EQ(std::pair(back.width(), back.height()), std::pair(80, 120));
}

TEST(PdfPipeline, AJPEGWithAnSRGBProfileIsAsPlainAsOneWithout) {
  ScratchFolder folder;
  // Display P3 is the wide space phones record in: its pixels must be
  // converted, so its JPEG data cannot be used as it is.
  for (const auto& [profile, keepsData] : {std::pair("srgb", true), std::pair("p3", false)}) {
    VipsBlob* blob = nullptr;
    ASSERT_EQ(vips_profile_load(profile, &blob, nullptr), 0) << profile;
    VImage picture = TestSupport::testPicture(1200, 800).copy();
    size_t size = 0;
    const void* data = vips_blob_get(blob, &size);
    vips_image_set_blob_copy(picture.get_image(), VIPS_META_ICC_NAME, data, size);
    vips_area_unref(VIPS_AREA(blob));
    const fs::path photo = folder / (std::string(profile) + ".jpg");
    TestSupport::saveImage(picture, photo, "[Q=85]");
    const auto written = convert(photo, "pdf");
    ASSERT_EQ(written.size(), 1u);
    const bool embedded =
        shell("pdfimages -list " + TestSupport::quoted(written[0].string())).find(" jpeg ") !=
        std::string::npos;
    EXPECT_EQ(embedded, keepsData) << profile;
    if (keepsData) {
      EXPECT_LT(fs::file_size(written[0]), fs::file_size(photo) + 4000) << profile;
    }
  }
}

}  // namespace
}  // namespace MediaEngine
