// Compression and metadata stripping, checked with exiftool, poppler's tools
// and libvips.
#include "whirlpane/compression.h"

#include <gtest/gtest.h>

#include <cmath>

#include "image/image.h"
#include "image/image_decoding.h"
#include "image/image_encoding.h"
#include "pdf/pdf_document.h"
#include "pdf/pdf_writer.h"
#include "tests/support/test_support.h"
#include "tests/support/text_fixtures.h"
#include "whirlpane/formats.h"

namespace MediaEngine {
namespace {

using TestSupport::failureText;
using TestSupport::ScratchFolder;
namespace fs = std::filesystem;

const std::string framesMessage =
    "This operation would discard additional image frames. Convert individual frames first.";
const std::string noReduction =
    "This file could not be made smaller with these settings. The original was kept.";

std::string run(const std::string& command) {
  int status = -1;
  const std::string output = TestSupport::shell(command + " 2>&1", &status);
  EXPECT_EQ(status, 0) << command << ": " << output;
  return output;
}

class Compression : public ::testing::Test {
 protected:
  void SetUp() override { TestSupport::startVips(); }
  std::vector<std::string> names() const { return TestSupport::listFolder(folder.path()); }
  ScratchFolder folder;
};

TEST_F(Compression, AnImageIsKeptOnlyWhenItShrinks) {
  const fs::path photo = folder / "photo.jpeg";
  TestSupport::saveImage(TestSupport::noisePicture(300, 200), photo, "[Q=85]");
  const auto before = names();
  EXPECT_EQ(failureText([&] { compress(photo, 1.0); }), noReduction);
  EXPECT_EQ(names(), before);

  EXPECT_EQ(compress(photo, 0.3), folder / "photo-compressed.jpg");
  EXPECT_EQ(compress(photo, 0.0), folder / "photo-compressed 2.jpg");
  EXPECT_LT(fs::file_size(folder / "photo-compressed 2.jpg"),
            fs::file_size(folder / "photo-compressed.jpg"));
  const vips::VImage smaller = TestSupport::loadWithVips(folder / "photo-compressed.jpg");
  EXPECT_EQ(smaller.width(), 300);
  EXPECT_EQ(smaller.height(), 200);
}

TEST_F(Compression, SeveralFramesAreRefusedByBothOperations) {
  const vips::VImage frames = TestSupport::testPicture(40, 80);  // two 40 × 40 pages
  vips::VImage paged = frames.copy();
  paged.set("page-height", 40);
  TestSupport::saveImage(paged, folder / "animated.gif");
  TestSupport::saveImage(paged, folder / "pages.tiff");
  const auto before = names();
  for (const char* name : {"animated.gif", "pages.tiff"}) {
    EXPECT_EQ(failureText([&] { compress(folder / name, 0.5); }), framesMessage) << name;
    EXPECT_EQ(failureText([&] { stripMetadata(folder / name); }), framesMessage) << name;
  }
  EXPECT_EQ(names(), before);
}

TEST_F(Compression, QualityIsCheckedFirstAndOtherFilesFailWithTheirOwnReasons) {
  for (const double quality : {1.5, -0.1, std::nan(""), HUGE_VAL}) {
    EXPECT_EQ(failureText([&] { compress(folder / "missing.jpg", quality); }),
              "Quality must be a finite number between 0 and 1.")
        << quality;
  }
  EXPECT_NE(failureText([&] { compress(folder / "missing.jpg", -0.0); }),
            "Quality must be a finite number between 0 and 1.");
  TestSupport::writeFile(folder / "notes", "words");
  EXPECT_EQ(failureText([&] { compress(folder / "notes", 0.5); }),
            " is not a supported output format.");
  TestSupport::writeFile(folder / "fake.jpg", "not an image");
  EXPECT_EQ(failureText([&] { compress(folder / "fake.jpg", 0.5); }),
            "Could not read fake.jpg. The file may be damaged or unsupported.");
  TestSupport::writePDF(folder / "doc.pdf", {{{"Text"}, {}}});
  EXPECT_EQ(failureText([&] { stripMetadata(folder / "doc.pdf"); }),
            "Metadata removal currently supports images. PDF and document metadata require "
            "document-specific "
            "sanitization.");
  TestSupport::writeFile(folder / "letter.docx", "PK");
  EXPECT_NE(failureText([&] { stripMetadata(folder / "letter.docx"); }).find("Metadata removal"),
            std::string::npos);
}

// A PDF of two photograph pages stored without loss at 300 dpi, and a page
// of typeset text.
fs::path scannedPDF(const fs::path& folder) {
  for (const int page : {1, 2}) {
    TestSupport::writeFile(
        folder / ("photo" + std::to_string(page) + ".pdf"),
        imagePDF(Image(TestSupport::testPicture(1500 + page * 100, 1200))).text());
  }
  TestSupport::writePDF(folder / "typed.pdf", {{{"Typed heading 3"}, {}}});
  const fs::path file = folder / "scan.pdf";
  run("qpdf --empty --pages " + TestSupport::quoted((folder / "photo1.pdf").string()) + " " +
      TestSupport::quoted((folder / "photo2.pdf").string()) + " " +
      TestSupport::quoted((folder / "typed.pdf").string()) + " -- " +
      TestSupport::quoted(file.string()));
  for (const char* name : {"photo1.pdf", "photo2.pdf", "typed.pdf"}) fs::remove(folder / name);
  return file;
}

TEST_F(Compression, APdfGetsItsImagesRecompressedAndNothingElseChanges) {
  const fs::path source = scannedPDF(folder.path());
  const fs::path screen = compress(source, 0.6);
  EXPECT_EQ(screen, folder / "scan-compressed.pdf");
  const fs::path print = compress(source, 0.8);
  EXPECT_EQ(print, folder / "scan-compressed 2.pdf");
  EXPECT_LT(fs::file_size(screen), fs::file_size(print));
  EXPECT_LT(fs::file_size(print), fs::file_size(source));

  const auto imagesOf = [](const fs::path& pdf) {
    return run("pdfimages -list " + TestSupport::quoted(pdf.string()) + " | tail -n +3");
  };
  // Below 0.8 the pictures drop to 150 pixels per inch; at 0.8 they keep 300. Both become JPEG.
  for (const auto& [pdf, ppi] :
       {std::pair{screen, " 150   150 "}, std::pair{print, " 300   300 "}}) {
    const std::string images = imagesOf(pdf);
    EXPECT_NE(images.find("jpeg"), std::string::npos) << images;
    EXPECT_NE(images.find(ppi), std::string::npos) << images;
  }
  // The text layer and the page count are as they were.
  const std::string text = run("pdftotext " + TestSupport::quoted(source.string()) + " -");
  EXPECT_EQ(run("pdftotext " + TestSupport::quoted(screen.string()) + " -"), text);
  EXPECT_NE(text.find("Typed heading 3"), std::string::npos);
  EXPECT_NE(run("pdfinfo " + TestSupport::quoted(screen.string())).find("Pages:           3"),
            std::string::npos);
}

TEST_F(Compression, APdfThatCannotShrinkIsRefused) {
  TestSupport::writePDF(folder / "text.pdf", {{{"Only words on this page"}, {}}});
  run("qpdf --object-streams=generate --compress-streams=y " +
      TestSupport::quoted((folder / "text.pdf").string()) + " " +
      TestSupport::quoted((folder / "packed.pdf").string()));
  const auto before = names();
  EXPECT_EQ(failureText([&] { compress(folder / "packed.pdf", 0.5); }), noReduction);
  EXPECT_EQ(names(), before);

  run("qpdf --encrypt user owner 256 -- " + TestSupport::quoted((folder / "text.pdf").string()) +
      " " + TestSupport::quoted((folder / "locked.pdf").string()));
  EXPECT_EQ(failureText([&] { compress(folder / "locked.pdf", 0.5); }),
            "Unlock the PDF before converting it.");
}

TEST_F(Compression, StrippingLeavesNoMetadataInAnyFormat) {
  if (!TestSupport::haveTool("exiftool")) GTEST_SKIP() << "exiftool is not installed";
  const Image picture(TestSupport::testPicture(64, 48));
  for (const std::string format : {"jpg", "png", "tiff", "webp", "heic", "avif", "bmp"}) {
    const fs::path source = folder / ("camera." + format);
    TestSupport::writeFile(source, encodedImage(picture, format, 0.95).text());
    if (format != "bmp") {
      run("exiftool -q -overwrite_original -Make=Acme -Model=Snap -GPSLatitude=51.5 "
          "-GPSLatitudeRef=N "
          "-XMP-dc:Creator=Ann -Software=Editor " +
          std::string(format == "jpg" ? "-IPTC:Keywords=secret -Comment=hidden " : "") +
          TestSupport::quoted(source.string()));
      ASSERT_NE(run("exiftool -a -G1 " + TestSupport::quoted(source.string())).find("Acme"),
                std::string::npos)
          << format;
    }
    if (format == "jpg") {  // what cameras append after the image: previews with their own EXIF
      TestSupport::writeFile(
          source, TestSupport::readFile(source) + "\xFF\xD8\xFF\xE1TRAILER-SECRET\xFF\xD9");
    }
    const fs::path clean = stripMetadata(source);
    EXPECT_EQ(clean, folder / ("camera-clean." + format));
    EXPECT_EQ(TestSupport::readFile(clean).find("TRAILER-SECRET"), std::string::npos) << format;
    const std::string tags = run("exiftool -a -G1 -s " + TestSupport::quoted(clean.string()));
    // (A TIFF's own tags live in IFD0; for every other format that group is metadata too.)
    for (const char* group :
         {format == "tiff" ? "[IFD0]          Make" : "[IFD0]", "[ExifIFD]", "[GPS]", "[XMP",
          "[IPTC]", "[MakerNotes", "Comment", "Acme", "Ann", "Software"}) {
      EXPECT_EQ(tags.find(group), std::string::npos) << format << " keeps " << group << ":\n"
                                                     << tags;
    }
    // Lossless formats, and a JPEG that keeps its coded image, show the same pixels.
    if (format == "png" || format == "tiff" || format == "bmp" || format == "jpg") {
      EXPECT_EQ(TestSupport::maxDifference(loadImage(source).pixels(), loadImage(clean).pixels()),
                0.0)
          << format;
    }
  }
}

TEST_F(Compression, StrippingCostsNeitherPictureNorSize) {
  if (!TestSupport::haveTool("exiftool")) GTEST_SKIP() << "exiftool is not installed";
  // Photographs as cameras, phones and editors leave them: grain on smooth
  // colour, a colour profile or an orientation, and personal data.
  const auto photograph = [](int width, int height) {
    return (TestSupport::testPicture(width, height) +
            vips::VImage::gaussnoise(width, height, vips::VImage::option()->set("sigma", 6)))
        .cast(VIPS_FORMAT_UCHAR);
  };
  VipsBlob* p3 = nullptr;
  ASSERT_EQ(vips_profile_load("p3", &p3, nullptr), 0);
  size_t p3Size = 0;
  const void* p3Data = vips_blob_get(p3, &p3Size);
  const auto with = [](vips::VImage picture, const char* field, int value) {
    picture = picture.copy();
    picture.set(field, value);
    return picture;
  };
  vips::VImage profiled = photograph(1024, 768).copy();
  vips_image_set_blob_copy(profiled.get_image(), VIPS_META_ICC_NAME, p3Data, p3Size);
  vips_area_unref(VIPS_AREA(p3));
  struct Case {
    const char* name;
    vips::VImage picture;
    const char* options;
    bool sameCodedPicture;  // only containers' pieces dropped, or blocks moved
  };
  const Case cases[] = {
      {"profile.jpg", profiled, "[Q=90]", true},
      {"turned.jpg", with(photograph(1024, 768), VIPS_META_ORIENTATION, 6), "[Q=90]", true},
      {"mirrored.jpg", with(photograph(1024, 768), VIPS_META_ORIENTATION, 7), "[Q=90]", true},
      {"odd.jpg", with(photograph(1001, 767), VIPS_META_ORIENTATION, 6), "[Q=90]", false},
      {"edited.png", photograph(640, 480), "", true},
      {"web.webp", photograph(1024, 768), "[Q=80]", true},
      {"phone.heic", photograph(1024, 768), "[Q=50]", false},
      {"phone.avif", photograph(1024, 768), "[Q=50,compression=av1]", false},
  };
  for (const Case& c : cases) {
    const fs::path source = folder / c.name;
    TestSupport::saveImage(c.picture, source, c.options);
    run("exiftool -q -overwrite_original -Make=Acme -GPSLatitude=51.5 -GPSLatitudeRef=N "
        "-XMP-dc:Creator=Ann " +
        TestSupport::quoted(source.string()));
    const fs::path clean = stripMetadata(source);
    const std::string tags = run("exiftool -a -G1 -s " + TestSupport::quoted(clean.string()));
    for (const char* leak : {"Acme", "Ann", "[GPS]", "Orientation"}) {
      EXPECT_EQ(tags.find(leak), std::string::npos) << c.name << " keeps " << leak;
    }
    // A turn costs the entropy coder a trace (well under a hundredth); nothing else may grow.
    EXPECT_LE(fs::file_size(clean), fs::file_size(source) * 101 / 100) << c.name;
    const Image upright = loadImage(source), stripped = loadImage(clean);
    ASSERT_EQ(std::pair(stripped.width(), stripped.height()),
              std::pair(upright.width(), upright.height()))
        << c.name;
    // The same coded picture decodes alike (a turned one up to the rounding of
    // its chroma); one encoded again stays close to the source.
    EXPECT_LE(TestSupport::meanDifference(upright.pixels(), stripped.pixels()),
              c.sameCodedPicture ? 0.1 : 2.5)
        << c.name;
  }
  EXPECT_NE(run("exiftool -s3 -ProfileDescription " +
                TestSupport::quoted((folder / "profile-clean.jpg").string()))
                .find("P3"),
            std::string::npos);
}

}  // namespace
}  // namespace MediaEngine
