// SPDX-License-Identifier: GPL-3.0-or-later
// Compression, metadata stripping and the metadata listing, checked with
// exiftool, poppler's tools and libvips on files made at test time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "image/image.h"
#include "image/image_decoding.h"
#include "pdf/pdf_writer.h"
#include "tests/support/test_support.h"
#include "tests/support/text_fixtures.h"
#include "whirlpane/compression.h"
#include "whirlpane/metadata.h"

namespace MediaEngine {
namespace {

using TestSupport::failureText;
using TestSupport::ScratchFolder;
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

std::string valueOf(const std::vector<MetadataRow>& rows, std::string_view label) {
  for (const auto& [l, v] : rows) {
    if (l == label) return v;
  }
  return "(absent)";
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
  EXPECT_EQ(failureText([&] { compress(photo, 1.0); }), noReduction);
  EXPECT_EQ(names(), std::vector<std::string>{"photo.jpeg"});
  EXPECT_EQ(compress(photo, 0.3), folder / "photo-compressed.jpg");
  EXPECT_EQ(compress(photo, 0.0), folder / "photo-compressed 2.jpg");
  EXPECT_LT(fs::file_size(folder / "photo-compressed 2.jpg"),
            fs::file_size(folder / "photo-compressed.jpg"));
}

TEST_F(Compression, RefusesWithTheReasonAndLeavesNothing) {
  vips::VImage paged = TestSupport::testPicture(40, 80).copy();  // two 40 × 40 pages
  paged.set("page-height", 40);
  TestSupport::saveImage(paged, folder / "animated.gif");
  TestSupport::writeFile(folder / "notes", "words");
  TestSupport::writePDF(folder / "text.pdf", {{{"Only words on this page"}, {}}});
  const std::string text = arg(folder / "text.pdf");
  run("qpdf --object-streams=generate --compress-streams=y " + text + " " +
      arg(folder / "packed.pdf"));
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
      {"missing.jpg", -0.0, "Could not read missing.jpg. The file may be damaged or unsupported."},
      {"notes", 0.5, " is not a supported output format."},
      {"text.pdf", NAN, documents},
      {"packed.pdf", 0.5, noReduction},
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

// A photograph page stored without loss at 300 dpi, and a page of typeset text.
TEST_F(Compression, APdfGetsItsImagesRecompressedAndNothingElseChanges) {
  TestSupport::writeFile(folder / "photo.pdf",
                         imagePDF(Image(TestSupport::testPicture(1600, 1200))).text());
  TestSupport::writePDF(folder / "typed.pdf", {{{"Typed heading 3"}, {}}});
  const fs::path source = folder / "scan.pdf";
  run("qpdf --empty --pages " + arg(folder / "photo.pdf") + " " + arg(folder / "typed.pdf") +
      " -- " + arg(source));
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
  EXPECT_NE(run("pdfinfo " + arg(screen)).find("Pages:           2"), std::string::npos);
}

// Photographs with grain, an orientation, personal data and (JPEG) a preview
// with its own EXIF after the image. Stripping drops every tag, costs no size
// and keeps the picture: the same coded JPEG exactly, a turned one up to the
// rounding of its chroma, one encoded again close to the source.
TEST_F(Compression, StrippingLeavesNoMetadataAndCostsNeitherPictureNorSize) {
  const auto photograph = [](int width, int height, int orientation = 0) {
    vips::VImage picture =
        (TestSupport::testPicture(width, height) +
         vips::VImage::gaussnoise(width, height, vips::VImage::option()->set("sigma", 6)))
            .cast(VIPS_FORMAT_UCHAR);
    if (orientation) picture.set(VIPS_META_ORIENTATION, orientation);
    return picture;
  };
  const std::tuple<const char*, vips::VImage, const char*, double> cases[] = {
      // name, picture, libvips' options, mean difference allowed
      {"plain.jpg", photograph(320, 240), "[Q=90]", 0},
      {"odd.jpg", photograph(1001, 767, 6), "[Q=90]", 2.5},
      {"edited.png", photograph(640, 480), "", 0},
      {"web.webp", photograph(1024, 768), "[Q=80]", 0.1},
      {"phone.heic", photograph(1024, 768), "[Q=50]", 2.5},
  };
  for (const auto& [name, picture, options, allowed] : cases) {
    SCOPED_TRACE(name);
    const fs::path source = folder / name;
    const std::string format = source.extension().string().substr(1);
    TestSupport::saveImage(picture, source, options);
    run("exiftool -q -overwrite_original -Make=Acme -Model=Snap -GPSLatitude=51.5 "
        "-GPSLatitudeRef=N -XMP-dc:Creator=Ann -Software=Editor " +
        std::string(format == "jpg" ? "-IPTC:Keywords=secret -Comment=hidden " : "") + arg(source));
    if (format == "jpg") {
      TestSupport::writeFile(
          source, TestSupport::readFile(source) + "\xFF\xD8\xFF\xE1TRAILER-SECRET\xFF\xD9");
    }
    const fs::path clean = stripMetadata(source);
    EXPECT_EQ(clean, folder / (source.stem().string() + "-clean." + format));
    EXPECT_EQ(TestSupport::readFile(clean).find("TRAILER-SECRET"), std::string::npos);
    const std::string tags = run("exiftool -a -G1 -s " + arg(clean));
    for (const char* leak : {"[IFD0]", "[ExifIFD]", "[GPS]", "[XMP", "[IPTC]", "Comment", "Acme",
                             "Ann", "Software", "Orientation"})
      EXPECT_EQ(tags.find(leak), std::string::npos) << "keeps " << leak << ":\n" << tags;
    // A turn costs the entropy coder a trace (well under a hundredth); nothing else may grow.
    EXPECT_LE(fs::file_size(clean), fs::file_size(source) * 101 / 100);
    const Image upright = loadImage(source), stripped = loadImage(clean);
    ASSERT_EQ(stripped.width(), upright.width());
    EXPECT_LE(TestSupport::meanDifference(upright.pixels(), stripped.pixels()), allowed);
  }
}

TEST(ByteCount, ReadsLikeAFileManager) {
  const std::pair<long long, const char*> cases[] = {
      {0, "Zero KB"},    {1, "1 byte"},         {999, "999 bytes"},         {1000, "1 KB"},
      {999'600, "1 MB"}, {2'400'000, "2.4 MB"}, {1'230'000'000, "1.23 GB"},
  };
  for (const auto& [bytes, text] : cases) EXPECT_EQ(byteCount(bytes), text) << bytes;
}

// The file's own rows come first; then the properties, in code-point order of
// their keys: plain keys first, then each dictionary ("{Exif}", "{GPS}" ...).
TEST(Metadata, FilesListTheirFactsThenWhatTheyHoldInKeyOrder) {
  ScratchFolder folder;
  const fs::path photo = folder / "camera.jpg";
  TestSupport::saveImage(TestSupport::testPicture(640, 480), photo, "[Q=90]");
  TestSupport::writePDF(folder / "report.pdf", {{{"One"}, {}}, {{"Two"}, {}}});
  TestSupport::writeFile(folder / "notes", "just words");
  run("exiftool -q -overwrite_original -Model='Snap 5' -ExposureTime=1/125 -GPSLatitude=51.5 "
      "-XMP-dc:Creator=Ann -IPTC:Keywords=one -IPTC:Keywords=two -Comment=hi " +
      arg(photo));
  run("exiftool -q -overwrite_original -PDF:Title='Annual report' "
      "-PDF:CreateDate='2024:05:01 09:30:00Z' " +
      arg(folder / "report.pdf"));
  const std::tuple<const char*, const char*, std::string> cases[] = {
      {"camera.jpg", "Format", "JPG"},
      {"camera.jpg", "Bytes", std::to_string(fs::file_size(photo))},
      {"camera.jpg", "Dimensions", "640 × 480 px"},
      {"camera.jpg", "Exif · ExposureTime", "0.008"},
      {"camera.jpg", "GPS · Latitude", "51.5"},
      {"camera.jpg", "TIFF · Model", "Snap 5"},
      {"camera.jpg", "IPTC · Keywords", "(one, two)"},
      {"camera.jpg", "JFIF · Comment", "hi"},
      {"camera.jpg", "XMP · dc:creator", "Ann"},
      {"report.pdf", "Pages", "2"},
      {"report.pdf", "Page size", "612.0 × 792.0 pt"},
      {"report.pdf", "Title", "Annual report"},
      {"report.pdf", "CreationDate", "2024-05-01T09:30:00Z"},
      {"notes", "Content type", "text/plain"},
  };
  for (const auto& [name, label, value] : cases)
    EXPECT_EQ(valueOf(metadata(folder / name), label), value) << name << " " << label;
  for (const auto& [name, last] :
       {std::pair{"camera.jpg", "Dimensions"}, {"report.pdf", "Page size"}}) {
    std::vector<std::string> keys;
    for (const auto& row : metadata(folder / name)) keys.push_back(row.first);
    EXPECT_EQ(std::vector(keys.begin(), keys.begin() + 3),
              (std::vector<std::string>{"File", "Format", "Size"}));
    const auto properties = std::find(keys.begin(), keys.end(), last) + 1;
    ASSERT_LT(properties, keys.end()) << name;
    for (std::string& key : keys) {
      const size_t dot = key.find(" \u00b7 ");
      if (dot != std::string::npos) key = "{" + key.substr(0, dot) + "}" + key.substr(dot);
    }
    EXPECT_TRUE(std::is_sorted(properties, keys.end())) << name;
  }
}

// A PNG whose text chunks are `texts` (keyword, text), written by libvips.
void writePngWithText(const fs::path& path,
                      const std::vector<std::pair<std::string, std::string>>& texts) {
  vips::VImage picture = TestSupport::testPicture(20, 20, 4).copy();
  for (size_t i = 0; i < texts.size(); ++i) {
    picture.set(("png-comment-" + std::to_string(i) + "-" + texts[i].first).c_str(),
                texts[i].second.c_str());
  }
  TestSupport::saveImage(picture, path);
}

TEST(Metadata, PngTextIsListedWithLongValuesCutAndRowsCapped) {
  ScratchFolder folder;
  const fs::path png = folder / "notes.png";
  std::string accents;
  for (int i = 0; i < 2500; ++i) accents += "\u00e9";  // two bytes each
  writePngWithText(
      png, {{"Title", "Greetings"}, {"Description", std::string(5000, 'd')}, {"Comment", accents}});
  std::vector<MetadataRow> rows = metadata(png);
  EXPECT_EQ(valueOf(rows, "PNG · Title"), "Greetings");
  EXPECT_EQ(valueOf(rows, "PNG · Description"), std::string(2000, 'd'));
  // 2,000 characters, not bytes, and no character cut in half.
  EXPECT_TRUE(valueOf(rows, "PNG · Comment") == accents.substr(0, 4000));
  EXPECT_EQ(valueOf(rows, "HasAlpha"), "1");

  std::vector<std::pair<std::string, std::string>> many;
  for (int i = 0; i < 300; ++i) many.emplace_back("Key" + std::to_string(1000 + i), "v");
  writePngWithText(png, many);
  rows = metadata(png);
  EXPECT_EQ(rows.size(), 250u);
  EXPECT_EQ(rows.back().first.substr(0, 10), "PNG \u00b7 Key");
}

}  // namespace
}  // namespace MediaEngine
