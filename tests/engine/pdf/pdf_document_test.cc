// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdf/pdf_document.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "image/image_decoding.h"
#include "tests/support/test_support.h"
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
      pdfOf({box(100.1, 100), box(200, 200), box(24000, 24000), page, page + " /Rotate 90",
             page + " /Rotate 180", page + " /Rotate -90", page + " /Rotate 45",
             box(200, 200) + " /Annots [12 0 R]"},
            {"<< /Type /Annot /Subtype /Square /Rect [50 -150 150 -50] /F 4 /AP << /N 13 0 R >> >>",
             "<< /Type /XObject /Subtype /Form /BBox [0 0 100 100] /Length 25 >>\nstream\n"
             "0 0 0 rg 0 0 100 100 re f\nendstream"}));
  const PDFDocument document = pdf(folder / "pages.pdf");
  ASSERT_EQ(document.pageCount(), 9);
  EXPECT_EQ(pagePixelSize(document, 0), std::pair(418, 417));  // 417.08 and 416.67, rounded up
  EXPECT_EQ(pagePixelSize(document, 7), std::pair(1250, 2500)) << "not a quarter turn";
  // The page paints no background: it renders on white, without alpha.
  const Image clear = rasterize(document, 1);
  EXPECT_EQ(std::tuple(clear.width(), clear.height(), clear.hasAlpha()),
            std::tuple(834, 834, false));
  EXPECT_EQ(clear.pixels().extract_area(600, 100, 200, 200).min(), 255);
  EXPECT_GT(darkness(clear, 0, 0, 50, 50), 250);
  EXPECT_EQ(TestSupport::failureText([&] { rasterize(document, 2); }),
            "This file is too large to process safely at full resolution.");
  EXPECT_EQ(TestSupport::failureText([&] { rasterize(document, 9); }),
            "Could not read PDF page 10. The file may be damaged or unsupported.");
  // A viewer turns the page clockwise, and the marker with it.
  const std::tuple<int, int, int, int, int> turns[] = {{3, 1250, 2500, 0, 0},
                                                       {4, 2500, 1250, 2450, 0},
                                                       {5, 1250, 2500, 1200, 2450},
                                                       {6, 2500, 1250, 0, 1200}};
  for (const auto& [index, width, height, left, top] : turns) {
    const Image turned = rasterize(document, index);
    ASSERT_EQ(std::pair(turned.width(), turned.height()), std::pair(width, height)) << index;
    EXPECT_GT(darkness(turned, left, top, 50, 50), 250) << index;
    EXPECT_LT(darkness(turned, width - 50 - left, height - 50 - top, 50, 50), 5) << index;
  }
  const Image annotated = rasterize(document, 8);
  EXPECT_GT(darkness(annotated, 300, 300, 200, 200), 250) << "the annotation is missing";
  EXPECT_LT(darkness(annotated, 700, 700, 100, 100), 1);
}

// A password that only limits editing must not stop a conversion.
TEST(PdfPages, OnlyAUserPasswordLocksADocumentAndToPdfCopiesIt) {
  ScratchFolder folder;
  const std::string good = pdfOf({box(200, 200), box(200, 200)});
  TestSupport::writeFile(folder / "good.pdf", good);
  shell("cd " + TestSupport::quoted(folder.path().string()) +
        " && qpdf --encrypt secret owner 256 -- good.pdf locked.pdf"
        " && qpdf --encrypt '' owner 256 -- good.pdf owner-only.pdf");
  EXPECT_EQ(TestSupport::failureText([&] { convert(folder / "locked.pdf", "png"); }),
            "Unlock the PDF before converting it.");
  EXPECT_EQ(convert(folder / "owner-only.pdf", "png").size(), 2u);
  EXPECT_EQ(convert(folder / "good.pdf", "PDF"), std::vector<fs::path>{folder / "good 2.pdf"});
  EXPECT_EQ(TestSupport::readFile(folder / "good 2.pdf"), good);
}

// A JPEG page keeps the JPEG's data where its pixels need no change (stored
// upright, with no profile or sRGB's), and never the file's metadata.
TEST(PdfPipeline, AJPEGPageKeepsItsDataWhereThePixelsNeedNoChange) {
  ScratchFolder folder;
  VImage turned = TestSupport::testPicture(800, 1200).copy();
  turned.set(VIPS_META_ORIENTATION, 6);
  const VImage plain = TestSupport::testPicture(1200, 800);
  const std::tuple<const char*, VImage, const char*, bool> cases[] = {
      {"plain.jpg", plain, "[Q=85]", true},
      {"srgb.jpg", plain, "[Q=85,profile=srgb]", true},
      {"p3.jpg", plain, "[Q=85,profile=p3]", false},  // Display P3, as phones record
      {"turned.jpg", turned, "[Q=85]", false},
  };
  for (const auto& [name, picture, options, keepsData] : cases) {
    const fs::path photo = folder / name;
    TestSupport::saveImage(picture, photo, options);
    int status = 0;
    shell("exiftool -q -overwrite_original -Make=Acme -XMP:Creator=Someone -Comment=secret " +
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
  }
}

}  // namespace
}  // namespace MediaEngine
