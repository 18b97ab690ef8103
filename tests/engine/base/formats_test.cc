#include "whirlpane/formats.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace MediaEngine {
namespace {

TEST(Formats, NormalizesEverySpellingUsersType) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"PNG", "png"},       {"  png  ", "png"},   {".png", "png"},  {"png\n", "png"},
      {"\tpng\r\n", "png"}, {"JPEG", "jpg"},      {"jpeg", "jpg"},  {".jpg", "jpg"},
      {"Jpg", "jpg"},       {"tif", "tiff"},      {"TIFF", "tiff"}, {"HEIF", "heic"},
      {"heic", "heic"},     {"webp", "webp"},     {"AVIF", "avif"}, {"bmp", "bmp"},
      {"pdf", "pdf"},       {"DOCX", "docx"},     {".txt", "txt"},  {"\u00A0png\u3000", "png"},
      {"\u2028png", "png"}, {"\u0085png", "png"},
  };
  for (const auto& [typed, canonical] : cases) {
    EXPECT_EQ(normalized(typed), canonical) << "input: " << typed;
  }
}

TEST(Formats, RefusesOtherNamesQuotingTheInputUpperCased) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"gif", "GIF is not a supported output format."},
      {" gif ", " GIF  is not a supported output format."},
      {"doc", "DOC is not a supported output format."},
      {"jpe", "JPE is not a supported output format."},
      {"", " is not a supported output format."},
      {"..png", "..PNG is not a supported output format."},
      {"png.", "PNG. is not a supported output format."},
      {"straße", "STRASSE is not a supported output format."},
      {"\xff\xfepng", "\xff\xfePNG is not a supported output format."},  // not UTF-8: bytes kept
  };
  for (const auto& [typed, message] : cases) {
    try {
      normalized(typed);
      ADD_FAILURE() << "accepted: " << typed;
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.kind(), Failure::Kind::unsupported);
      EXPECT_EQ(std::string(failure.what()), message);
    }
  }
}

TEST(Formats, RasterTableHoldsExactlyTheSevenImageFormats) {
  EXPECT_EQ(types().size(), 7u);
  EXPECT_EQ(types().at("jpg"), "public.jpeg");
  EXPECT_EQ(types().at("webp"), "org.webmproject.webp");
  EXPECT_EQ(types().at("bmp"), "com.microsoft.bmp");
  EXPECT_FALSE(isRaster("jpeg"));
  EXPECT_FALSE(isRaster("pdf"));
  for (std::string_view format : outputFormats) {
    EXPECT_EQ(normalized(format), format);
  }
}

}  // namespace
}  // namespace MediaEngine
