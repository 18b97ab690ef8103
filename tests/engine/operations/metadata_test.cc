// The metadata listing, checked against files whose metadata exiftool, qpdf
// and libvips wrote at test time.
#include "whirlpane/metadata.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "tests/support/test_support.h"
#include "tests/support/text_fixtures.h"
#include "whirlpane/failure.h"
#include "whirlpane/formats.h"

namespace MediaEngine {
namespace {

using TestSupport::failureText;
using TestSupport::ScratchFolder;
namespace fs = std::filesystem;

std::vector<std::string> labelsOf(const std::vector<MetadataRow>& rows) {
  std::vector<std::string> labels;
  for (const auto& row : rows) labels.push_back(row.first);
  return labels;
}

std::string valueOf(const std::vector<MetadataRow>& rows, std::string_view label) {
  for (const auto& [l, v] : rows) {
    if (l == label) return v;
  }
  return "(absent)";
}

void exiftool(const std::string& arguments, const fs::path& file) {
  int status = -1;
  const std::string output =
      TestSupport::shell("exiftool -q -overwrite_original " + arguments + " " +
                             TestSupport::quoted(file.string()) + " 2>&1",
                         &status);
  ASSERT_EQ(status, 0) << output;
}

TEST(ByteCount, ReadsLikeAFileManager) {
  const std::pair<long long, const char*> cases[] = {
      {0, "Zero KB"},
      {1, "1 byte"},
      {812, "812 bytes"},
      {999, "999 bytes"},
      {1000, "1 KB"},
      {812'400, "812 KB"},
      {999'499, "999 KB"},
      {999'600, "1 MB"},
      {2'400'000, "2.4 MB"},
      {2'000'000, "2 MB"},
      {1'230'000'000, "1.23 GB"},
      {5'000'000'000'000, "5 TB"},
  };
  for (const auto& [bytes, text] : cases) EXPECT_EQ(byteCount(bytes), text) << bytes;
}

TEST(Metadata, ACameraJpegListsFileFactsThenItsPropertiesInKeyOrder) {
  if (!TestSupport::haveTool("exiftool")) GTEST_SKIP() << "exiftool is not installed";
  ScratchFolder folder;
  const fs::path photo = folder / "camera.jpg";
  TestSupport::saveImage(TestSupport::testPicture(640, 480), photo, "[Q=90,profile=srgb]");
  exiftool(
      "-Make=Acme -Model='Snap 5' -ExposureTime=1/125 -FNumber=2.8 -ISO=200 "
      "-DateTimeOriginal='2024:05:01 09:30:00' "
      "-GPSLatitude=51.5 -GPSLatitudeRef=N -GPSLongitude=0.1275 -GPSLongitudeRef=W -Orientation#=6 "
      "-XMP-dc:Creator=Ann -IPTC:Keywords=one -IPTC:Keywords=two -MakerNoteUnknownBinary=1 "
      "-Comment=hello",
      photo);
  const std::vector<MetadataRow> rows = metadata(photo);
  const std::vector<std::string> labels = labelsOf(rows);
  ASSERT_GE(labels.size(), 12u);
  EXPECT_EQ(std::vector<std::string>(labels.begin(), labels.begin() + 4),
            (std::vector<std::string>{"File", "Format", "Size", "Bytes"}));
  EXPECT_EQ(valueOf(rows, "File"), "camera.jpg");
  EXPECT_EQ(valueOf(rows, "Format"), "JPG");
  EXPECT_EQ(valueOf(rows, "Bytes"), std::to_string(fs::file_size(photo)));
  EXPECT_EQ(valueOf(rows, "Content type"), "image/jpeg");
  EXPECT_EQ(valueOf(rows, "Frames"), "1");
  EXPECT_EQ(valueOf(rows, "Dimensions"), "640 × 480 px");
  const std::string modified = valueOf(rows, "Modified");
  EXPECT_EQ(modified.size(), 20u) << modified;  // 2024-05-01T09:30:00Z
  EXPECT_EQ(modified.back(), 'Z');

  const std::map<std::string, std::string> expected{
      {"Orientation", "6"},
      {"PixelWidth", "640"},
      {"Exif · ExposureTime", "0.008"},
      {"Exif · DateTimeOriginal", "2024:05:01 09:30:00"},
      {"GPS · Latitude", "51.5"},
      {"TIFF · Model", "Snap 5"},
      {"IPTC · Keywords", "(one, two)"},
      {"JFIF · Comment", "hello"},
  };
  for (const auto& [label, value] : expected) EXPECT_EQ(valueOf(rows, label), value) << label;
  EXPECT_NE(valueOf(rows, "ProfileName").find("sRGB"), std::string::npos);
  EXPECT_NE(valueOf(rows, "XMP · dc:creator").find("Ann"), std::string::npos);
  // Properties follow the fixed rows in code-point order of their keys: plain
  // keys first, then each dictionary ("{Exif}", "{GPS}" ...) in turn.
  const auto first = std::find(labels.begin(), labels.end(), "ColorModel");
  ASSERT_NE(first, labels.end());
  std::vector<std::string> keys;
  for (auto label = first; label != labels.end(); ++label) {
    const size_t dot = label->find(" \u00b7 ");
    keys.push_back(
        dot == std::string::npos ? *label : "{" + label->substr(0, dot) + "}" + label->substr(dot));
  }
  EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end())) << "properties out of order";
  for (const std::string& label : labels) {
    EXPECT_EQ(label.find("MakerNote"), std::string::npos) << "binary values are left out";
    EXPECT_EQ(label.find("ICC_Profile"), std::string::npos);
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

// PDFs list their pages and document information, sorted by key; files that
// are not images the file rows only.
TEST(Metadata, PdfsAndOtherFilesListWhatTheyHold) {
  if (!TestSupport::haveTool("exiftool")) GTEST_SKIP() << "exiftool is not installed";
  ScratchFolder folder;
  TestSupport::writePDF(folder / "plain.pdf", {{{"One"}, {}}, {{"Two"}, {}}});
  fs::copy_file(folder / "plain.pdf", folder / "info.pdf");
  exiftool("-PDF:Title='Annual report' -PDF:Author=Ann -PDF:CreateDate='2024:05:01 09:30:00Z'",
           folder / "info.pdf");
  TestSupport::writeFile(folder / "notes", "just words");
  const std::tuple<const char*, const char*, std::string> cases[] = {
      {"plain.pdf", "Pages", "2"},
      {"plain.pdf", "Page size", "612.0 × 792.0 pt"},
      {"plain.pdf", "Content type", "application/pdf"},
      {"info.pdf", "Title", "Annual report"},
      {"info.pdf", "Author", "Ann"},
      {"info.pdf", "CreationDate", "2024-05-01T09:30:00Z"},
      {"notes", "Format", ""},
      {"notes", "Content type", "text/plain"},
      {"notes", "Frames", "(absent)"},
  };
  for (const auto& [name, label, value] : cases)
    EXPECT_EQ(valueOf(metadata(folder / name), label), value) << name << " " << label;
  const std::vector<std::string> labels = labelsOf(metadata(folder / "info.pdf"));
  const auto pageSize = std::find(labels.begin(), labels.end(), "Page size");
  ASSERT_NE(pageSize, labels.end());
  EXPECT_TRUE(std::is_sorted(pageSize + 1, labels.end()));
  EXPECT_EQ(labelsOf(metadata(folder / "notes")).back(), "Content type");
  TestSupport::writeFile(folder / "fake.pdf", "not a pdf");
  const std::pair<fs::path, std::string> failures[] = {
      {folder.path(), "Could not read " + folder.path().filename().string() +
                          ". The file may be damaged or unsupported."},
      {folder / "missing.jpg",
       "Could not read \"" + (folder / "missing.jpg").string() + "\": No such file or directory"},
      {folder / "fake.pdf", "Could not read fake.pdf. The file may be damaged or unsupported."},
  };
  for (const auto& [file, message] : failures)
    EXPECT_EQ(failureText([&] { metadata(file); }), message);
}

}  // namespace
}  // namespace MediaEngine
