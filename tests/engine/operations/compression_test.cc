// Compression and metadata stripping, checked with exiftool, poppler's tools
// and libvips.
#include "whirlpane/compression.h"

#include <gtest/gtest.h>

#include <cmath>

#include "image/image.h"
#include "image/image_decoding.h"
#include "image/image_encoding.h"
#include "pdf/pdf_writer.h"
#include "tests/support/test_support.h"
#include "tests/support/text_fixtures.h"

namespace MediaEngine {
namespace {

using TestSupport::failureText;
namespace fs = std::filesystem;

const std::string noReduction =
    "This file could not be made smaller with these settings. The original was kept.";

// `path` as one argument of a shell command.
std::string arg(const fs::path& path) { return TestSupport::quoted(path.string()); }

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
  TestSupport::ScratchFolder folder;
};

TEST_F(Compression, AnImageIsKeptOnlyWhenItShrinks) {
  const fs::path photo = folder / "photo.jpeg";
  TestSupport::saveImage(TestSupport::noisePicture(300, 200), photo, "[Q=85]");
  EXPECT_EQ(failureText([&] { compress(photo, 1.0); }), noReduction);
  EXPECT_EQ(names(), std::vector<std::string>{"photo.jpeg"});
  EXPECT_EQ(compress(photo, 0.3), folder / "photo-compressed.jpg");
  EXPECT_EQ(compress(photo, 0.0), folder / "photo-compressed 2.jpg");
  EXPECT_LT(fs::file_size(folder / "photo-compressed 2.jpg"),
            fs::file_size(folder / "photo-compressed.jpg"));
  EXPECT_EQ(TestSupport::loadWithVips(folder / "photo-compressed.jpg").width(), 300);
}

TEST_F(Compression, RefusesWithTheReasonAndLeavesNothing) {
  vips::VImage paged = TestSupport::testPicture(40, 80).copy();  // two 40 × 40 pages
  paged.set("page-height", 40);
  TestSupport::saveImage(paged, folder / "animated.gif");
  TestSupport::saveImage(paged, folder / "pages.tiff");
  TestSupport::writeFile(folder / "notes", "words");
  TestSupport::writeFile(folder / "fake.jpg", "not an image");
  TestSupport::writeFile(folder / "letter.docx", "PK");
  TestSupport::writePDF(folder / "text.pdf", {{{"Only words on this page"}, {}}});
  const std::string text = arg(folder / "text.pdf");
  run("qpdf --object-streams=generate --compress-streams=y " + text + " " +
      arg(folder / "packed.pdf"));
  run("qpdf --encrypt user owner 256 -- " + text + " " + arg(folder / "locked.pdf"));
  const std::string frames =
      "This operation would discard additional image frames. Convert individual frames first.";
  const std::string quality = "Quality must be a finite number between 0 and 1.";
  const std::string documents =
      "Metadata removal currently supports images. PDF and document metadata require "
      "document-specific sanitization.";
  const std::tuple<const char*, double, std::string> cases[] = {
      // file, quality (NAN: stripped instead), refusal
      {"animated.gif", 0.5, frames},
      {"animated.gif", NAN, frames},
      {"pages.tiff", 0.5, frames},
      {"pages.tiff", NAN, frames},
      {"missing.jpg", 1.5, quality},
      {"missing.jpg", -0.1, quality},
      {"missing.jpg", HUGE_VAL, quality},
      {"missing.jpg", -0.0, "Could not read missing.jpg. The file may be damaged or unsupported."},
      {"notes", 0.5, " is not a supported output format."},
      {"fake.jpg", 0.5, "Could not read fake.jpg. The file may be damaged or unsupported."},
      {"text.pdf", NAN, documents},
      {"letter.docx", NAN, documents},
      {"packed.pdf", 0.5, noReduction},
      {"locked.pdf", 0.5, "Unlock the PDF before converting it."},
  };
  const auto before = names();
  for (const auto& [name, q, message] : cases) {
    SCOPED_TRACE(std::string(name) + " " + std::to_string(q));
    const fs::path file = folder / name;
    EXPECT_EQ(failureText([&] { std::isnan(q) ? stripMetadata(file) : compress(file, q); }),
              message);
  }
  EXPECT_EQ(failureText([&] { compress(folder / "x", std::nan("")); }), quality);
  EXPECT_EQ(names(), before);
}

// Two photograph pages stored without loss at 300 dpi, and a page of typeset text.
TEST_F(Compression, APdfGetsItsImagesRecompressedAndNothingElseChanges) {
  std::string pages;
  for (const int page : {1, 2}) {
    const fs::path photo = folder / ("photo" + std::to_string(page) + ".pdf");
    TestSupport::writeFile(
        photo, imagePDF(Image(TestSupport::testPicture(1500 + page * 100, 1200))).text());
    pages += arg(photo) + " ";
  }
  TestSupport::writePDF(folder / "typed.pdf", {{{"Typed heading 3"}, {}}});
  const fs::path source = folder / "scan.pdf";
  run("qpdf --empty --pages " + pages + arg(folder / "typed.pdf") + " -- " + arg(source));
  const fs::path screen = compress(source, 0.6), print = compress(source, 0.8);
  EXPECT_EQ(screen, folder / "scan-compressed.pdf");
  EXPECT_EQ(print, folder / "scan-compressed 2.pdf");
  EXPECT_LT(fs::file_size(screen), fs::file_size(print));
  EXPECT_LT(fs::file_size(print), fs::file_size(source));
  // Below 0.8 the pictures drop to 150 pixels per inch; at 0.8 they keep 300. Both become JPEG.
  for (const auto& [pdf, ppi] :
       {std::pair{screen, " 150   150 "}, std::pair{print, " 300   300 "}}) {
    const std::string images = run("pdfimages -list " + arg(pdf) + " | tail -n +3");
    EXPECT_NE(images.find("jpeg"), std::string::npos) << images;
    EXPECT_NE(images.find(ppi), std::string::npos) << images;
  }
  const std::string text = run("pdftotext " + arg(source) + " -");
  EXPECT_EQ(run("pdftotext " + arg(screen) + " -"), text);
  EXPECT_NE(text.find("Typed heading 3"), std::string::npos);
  EXPECT_NE(run("pdfinfo " + arg(screen)).find("Pages:           3"), std::string::npos);
}

// Photographs as cameras, phones and editors leave them: grain on smooth
// colour, a colour profile or an orientation, personal data, and (JPEG) a
// preview with its own EXIF after the image. Stripping drops every tag, costs
// no size, and keeps the picture: a lossless one and the same coded JPEG
// exactly, a turned one up to the rounding of its chroma, one encoded again
// close to the source.
TEST_F(Compression, StrippingLeavesNoMetadataAndCostsNeitherPictureNorSize) {
  if (!TestSupport::haveTool("exiftool")) GTEST_SKIP() << "exiftool is not installed";
  const auto photograph = [](int width, int height, int orientation = 0) {
    vips::VImage picture =
        (TestSupport::testPicture(width, height) +
         vips::VImage::gaussnoise(width, height, vips::VImage::option()->set("sigma", 6)))
            .cast(VIPS_FORMAT_UCHAR);
    if (orientation) picture.set(VIPS_META_ORIENTATION, orientation);
    return picture;
  };
  VipsBlob* p3 = nullptr;
  ASSERT_EQ(vips_profile_load("p3", &p3, nullptr), 0);
  size_t p3Size = 0;
  const void* p3Data = vips_blob_get(p3, &p3Size);
  vips::VImage profiled = photograph(1024, 768);
  vips_image_set_blob_copy(profiled.get_image(), VIPS_META_ICC_NAME, p3Data, p3Size);
  vips_area_unref(VIPS_AREA(p3));
  const std::tuple<const char*, vips::VImage, const char*, double> cases[] = {
      // name, picture, libvips' options, mean difference allowed
      {"plain.jpg", photograph(320, 240), "[Q=90]", 0},
      {"profile.jpg", profiled, "[Q=90]", 0.1},
      {"turned.jpg", photograph(1024, 768, 6), "[Q=90]", 0.1},
      {"mirrored.jpg", photograph(1024, 768, 7), "[Q=90]", 0.1},
      {"odd.jpg", photograph(1001, 767, 6), "[Q=90]", 2.5},
      {"edited.png", photograph(640, 480), "", 0},
      {"scan.tiff", photograph(64, 48), "", 0},
      {"drawing.bmp", photograph(64, 48), "", 0},
      {"web.webp", photograph(1024, 768), "[Q=80]", 0.1},
      {"phone.heic", photograph(1024, 768), "[Q=50]", 2.5},
      {"phone.avif", photograph(1024, 768), "[Q=50,compression=av1]", 2.5},
  };
  for (const auto& [name, picture, options, allowed] : cases) {
    SCOPED_TRACE(name);
    const fs::path source = folder / name;
    const std::string format = source.extension().string().substr(1);
    if (format == "bmp") {
      TestSupport::writeFile(source, encodedImage(Image(picture), "bmp", 1).text());
    } else {
      TestSupport::saveImage(picture, source, options);
      run("exiftool -q -overwrite_original -Make=Acme -Model=Snap -GPSLatitude=51.5 "
          "-GPSLatitudeRef=N -XMP-dc:Creator=Ann -Software=Editor " +
          std::string(format == "jpg" ? "-IPTC:Keywords=secret -Comment=hidden " : "") +
          arg(source));
    }
    if (format == "jpg") {
      TestSupport::writeFile(
          source, TestSupport::readFile(source) + "\xFF\xD8\xFF\xE1TRAILER-SECRET\xFF\xD9");
    }
    const fs::path clean = stripMetadata(source);
    EXPECT_EQ(clean, folder / (source.stem().string() + "-clean." + format));
    EXPECT_EQ(TestSupport::readFile(clean).find("TRAILER-SECRET"), std::string::npos);
    const std::string tags = run("exiftool -a -G1 -s " + arg(clean));
    // (A TIFF's own tags, its orientation among them, live in IFD0; for every
    // other format that group is metadata too.)
    for (const char* leak : {format == "tiff" ? "[IFD0]          Make" : "[IFD0]", "[ExifIFD]",
                             "[GPS]", "[XMP", "[IPTC]", "[MakerNotes", "Comment", "Acme", "Ann",
                             "Software", format == "tiff" ? "Acme" : "Orientation"}) {
      EXPECT_EQ(tags.find(leak), std::string::npos) << "keeps " << leak << ":\n" << tags;
    }
    // A turn costs the entropy coder a trace (well under a hundredth); nothing else may grow.
    EXPECT_LE(fs::file_size(clean), fs::file_size(source) * 101 / 100);
    const Image upright = loadImage(source), stripped = loadImage(clean);
    ASSERT_EQ(std::pair(stripped.width(), stripped.height()),
              std::pair(upright.width(), upright.height()));
    EXPECT_LE(TestSupport::meanDifference(upright.pixels(), stripped.pixels()), allowed);
  }
  EXPECT_NE(run("exiftool -s3 -ProfileDescription " + arg(folder / "profile-clean.jpg")).find("P3"),
            std::string::npos);
}

}  // namespace
}  // namespace MediaEngine
