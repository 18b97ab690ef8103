#include "pdf/pdf_document.h"

#include <gtest/gtest.h>

#include <cstdio>

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

// A PDF of pages with the given entries (MediaBox, Rotate, ...), each showing
// a black 72 pt square at the origin; `more` objects are numbered from 3 +
// the number of pages, and the catalog comes last.
std::string pdfOf(const std::vector<std::string>& pages,
                  const std::vector<std::string>& more = {}) {
  std::vector<std::string> objects{
      "", "<< /Length 25 >>\nstream\n0 0 0 rg 0 -72 72 72 re f\nendstream"};
  std::string kids;
  for (const std::string& page : pages) {
    objects.push_back("<< /Type /Page /Parent 1 0 R /Contents 2 0 R " + page + " >>");
    kids += std::to_string(objects.size()) + " 0 R ";
  }
  objects[0] =
      "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages.size()) + " >>";
  objects.insert(objects.end(), more.begin(), more.end());
  objects.push_back("<< /Type /Catalog /Pages 1 0 R >>");
  std::string body = "%PDF-1.4\n", xref;
  for (size_t i = 0; i < objects.size(); ++i) {
    char entry[21];
    std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", body.size());
    xref += entry;
    body += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
  }
  const std::string count = std::to_string(objects.size() + 1);
  return body + "xref\n0 " + count + "\n0000000000 65535 f \n" + xref + "trailer\n<< /Size " +
         count + " /Root " + std::to_string(objects.size()) + " 0 R >>\nstartxref\n" +
         std::to_string(body.size()) + "\n%%EOF\n";
}

// A page `width` by `height` points with its origin at the top-left corner.
std::string box(double width, double height) {
  return "/MediaBox [0 " + std::to_string(-height) + " " + std::to_string(width) + " 0]";
}

// Mean darkness of a region, 0 (white) to 255 (black).
double darkness(const Image& image, int left, int top, int width, int height) {
  return 255.0 - image.pixels().extract_area(left, top, width, height).avg();
}

TEST(PdfPages, RenderUprightAt300DotsPerInchRoundedUpWithTheirAnnotations) {
  ScratchFolder folder;
  const std::string page = box(300, 600);
  TestSupport::writeFile(
      folder / "pages.pdf",
      pdfOf({box(612, 792), box(100.1, 100), box(0.5, 0.5), box(200, 200), box(24000, 24000),
             box(14400, 1), page, page + " /Rotate 90", page + " /Rotate 180",
             page + " /Rotate -90", page + " /Rotate 45", box(200, 200) + " /Annots [15 0 R]"},
            {"<< /Type /Annot /Subtype /Square /Rect [50 -150 150 -50] /F 4 /AP << /N 16 0 R >> >>",
             "<< /Type /XObject /Subtype /Form /BBox [0 0 100 100] /Length 25 >>\nstream\n"
             "0 0 0 rg 0 0 100 100 re f\nendstream"}));
  const PDFDocument document = pdf(folder / "pages.pdf");
  ASSERT_EQ(document.pageCount(), 12);
  EXPECT_EQ(pagePixelSize(document, 0), std::pair(2550, 3300));
  EXPECT_EQ(pagePixelSize(document, 1), std::pair(418, 417));  // 417.08 and 416.67, rounded up
  EXPECT_EQ(pagePixelSize(document, 2), std::pair(3, 3));
  EXPECT_EQ(pagePixelSize(document, 5), std::pair(60000, 5));
  EXPECT_EQ(pagePixelSize(document, 10), std::pair(1250, 2500)) << "not a quarter turn";
  // The page paints no background: it renders on white, without alpha.
  const Image clear = rasterize(document, 3);
  EXPECT_EQ(std::tuple(clear.width(), clear.height(), clear.hasAlpha()),
            std::tuple(834, 834, false));
  EXPECT_EQ(clear.pixels().extract_area(600, 100, 200, 200).min(), 255);
  EXPECT_GT(darkness(clear, 0, 0, 50, 50), 250);
  EXPECT_EQ(TestSupport::failureText([&] { rasterize(document, 4); }),
            "This file is too large to process safely at full resolution.");
  EXPECT_EQ(TestSupport::failureText([&] { rasterize(document, 12); }),
            "Could not read PDF page 13. The file may be damaged or unsupported.");
  // A viewer turns the page clockwise: the marker moves with it, and a
  // quarter turn exchanges the sides.
  const std::tuple<int, int, int, int, int> turns[] = {{6, 1250, 2500, 0, 0},
                                                       {7, 2500, 1250, 2450, 0},
                                                       {8, 1250, 2500, 1200, 2450},
                                                       {9, 2500, 1250, 0, 1200}};
  for (const auto& [index, width, height, left, top] : turns) {
    const Image turned = rasterize(document, index);
    ASSERT_EQ(std::pair(turned.width(), turned.height()), std::pair(width, height)) << index;
    EXPECT_GT(darkness(turned, left, top, 50, 50), 250) << index;
    EXPECT_LT(darkness(turned, width - 50 - left, height - 50 - top, 50, 50), 5) << index;
  }
  const Image annotated = rasterize(document, 11);
  EXPECT_GT(darkness(annotated, 300, 300, 200, 200), 250) << "the annotation is missing";
  EXPECT_LT(darkness(annotated, 700, 700, 100, 100), 1);
}

TEST(PdfPages, DocumentsThatCannotBeUsedAreRefusedForEveryFormat) {
  ScratchFolder folder;
  const std::string good = pdfOf({box(200, 200), box(200, 200)});
  TestSupport::writeFile(folder / "good.pdf", good);
  TestSupport::writeFile(folder / "empty.pdf", "");
  TestSupport::writeFile(folder / "cut.pdf", good.substr(0, good.size() / 3));
  TestSupport::writeFile(folder / "page.pdf",
                         "<!DOCTYPE html><html><body>Not a PDF</body></html>\n");
  TestSupport::writeFile(folder / "no-pages.pdf", pdfOf({}));
  for (const char* password : {"secret", ""}) {
    const std::string out =
        TestSupport::quoted((folder / (*password ? "locked.pdf" : "owner-only.pdf")).string());
    shell("qpdf --encrypt '" + std::string(password) + "' owner 256 -- " +
          TestSupport::quoted((folder / "good.pdf").string()) + " " + out);
  }
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
    EXPECT_EQ(TestSupport::failureText([&] { pdf(folder / name); }), message);
    for (const char* format : {"png", "pdf", "tiff"})
      EXPECT_EQ(TestSupport::failureText([&] { convert(folder / name, format); }), message);
    // poppler's own complaints about the file never reach the terminal.
    const auto run =
        TestSupport::runWhirlpane({"--convert", (folder / name).string(), "--to", "jpg"});
    EXPECT_EQ(std::pair(run.status, run.err), std::pair(1, message + "\n"));
  }
  EXPECT_EQ(TestSupport::listFolder(folder.path()), before);
  EXPECT_EQ(convert(folder / "owner-only.pdf", "png").size(), 2u);
}

TEST(PdfPipeline, PagesBecomeNumberedImagesAndPdfToPdfIsACopy) {
  ScratchFolder folder;
  TestSupport::writeFile(folder / "scan.pdf", pdfOf({box(200, 300), box(300, 200)}));
  EXPECT_EQ(convert(folder / "scan.pdf", "jpg"),
            (std::vector<fs::path>{folder / "scan-page-1.jpg", folder / "scan-page-2.jpg"}));
  EXPECT_EQ(TestSupport::loadWithVips(folder / "scan-page-2.jpg").width(), 1250);
  EXPECT_EQ(convert(folder / "scan.pdf", "PDF"), std::vector<fs::path>{folder / "scan 2.pdf"});
  EXPECT_EQ(TestSupport::readFile(folder / "scan 2.pdf"),
            TestSupport::readFile(folder / "scan.pdf"));
  // Image decoding never renders a PDF: the image library's PDF loader stays blocked.
  EXPECT_EQ(TestSupport::failureKind([&] { loadImage(folder / "scan.pdf"); }),
            Failure::Kind::unreadable);
  EXPECT_TRUE(TestSupport::workingFilesIn(folder.path()).empty());
}

TEST(PdfPipeline, APictureBecomesAPageOfItsOwnSizeAt300DotsPerInch) {
  const Image picture(TestSupport::testPicture(3000, 1500));
  const Bytes written = imagePDF(picture);
  EXPECT_EQ(written.text().find("CreationDate"), std::string::npos);
  const Image back = rasterize(pdf(Bytes::copyOf(written.span())).value(), 0);
  ASSERT_EQ(std::pair(back.width(), back.height()), std::pair(3000, 1500));
  EXPECT_LE(TestSupport::meanDifference(back.pixels(), picture.pixels()), 2.0);
  ScratchFolder folder;
  TestSupport::saveImage(TestSupport::testPicture(600, 300, 4), folder / "logo.png");
  EXPECT_EQ(convert(folder / "logo.png", "pdf"), std::vector{folder / "logo.pdf"});
  EXPECT_EQ(pagePixelSize(pdf(folder / "logo.pdf"), 0), std::pair(600, 300));
}

// A JPEG page keeps the JPEG's data where its pixels need no change (stored
// upright, with no profile or sRGB's), and never the file's metadata.
TEST(PdfPipeline, AJPEGPageKeepsItsDataWhereThePixelsNeedNoChange) {
  ScratchFolder folder;
  const auto withProfile = [](const char* profile) {
    VImage picture = TestSupport::testPicture(1200, 800).copy();
    VipsBlob* blob = nullptr;
    vips_profile_load(profile, &blob, nullptr);
    size_t size = 0;
    const void* data = vips_blob_get(blob, &size);
    vips_image_set_blob_copy(picture.get_image(), VIPS_META_ICC_NAME, data, size);
    vips_area_unref(VIPS_AREA(blob));
    return picture;
  };
  VImage turned = TestSupport::testPicture(800, 1200).copy();
  turned.set(VIPS_META_ORIENTATION, 6);
  const std::tuple<const char*, VImage, bool> cases[] = {
      {"plain.jpg", TestSupport::testPicture(1200, 800), true},
      {"srgb.jpg", withProfile("srgb"), true},
      {"p3.jpg", withProfile("p3"), false},  // Display P3, the wide space phones record in
      {"turned.jpg", turned, false},
  };
  for (const auto& [name, picture, keepsData] : cases) {
    const fs::path photo = folder / name;
    TestSupport::saveImage(picture, photo, "[Q=85]");
    int status = 0;
    shell(
        "exiftool -q -overwrite_original -Make=Acme -GPSLatitude=51.5 -GPSLatitudeRef=N "
        "-XMP:Creator=Someone -Comment=secret " +
            TestSupport::quoted(photo.string()),
        &status);
    ASSERT_EQ(status, 0);
    const fs::path written = convert(photo, "pdf").at(0);
    const std::string bytes = TestSupport::readFile(written);
    EXPECT_EQ(shell("pdfimages -list " + TestSupport::quoted(written.string())).find(" jpeg ") !=
                  std::string::npos,
              keepsData)
        << name;
    for (const char* leak : {"Acme", "Someone", "secret", "Exif"})
      EXPECT_EQ(bytes.find(leak), std::string::npos) << name << ": " << leak;
    // poppler's JPEG decoder rounds chroma a little differently.
    const Image page = rasterize(pdf(written), 0), decoded = loadImage(photo);
    ASSERT_EQ(std::pair(page.width(), page.height()), std::pair(decoded.width(), decoded.height()));
    EXPECT_LE(TestSupport::meanDifference(page.pixels(), decoded.pixels()), 1.5) << name;
    if (keepsData) {
      EXPECT_LT(bytes.size(), fs::file_size(photo) + 4000) << name;
    }
  }
}

}  // namespace
}  // namespace MediaEngine
