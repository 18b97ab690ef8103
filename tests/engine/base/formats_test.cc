#include "whirlpane/formats.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace MediaEngine {
namespace {

TEST(Formats, NormalizesEverySpellingUsersTypeAndQuotesTheRestUpperCased) {
  const std::string refused = " is not a supported output format.";
  const std::pair<std::string, std::string> cases[] = {
      {"PNG", "png"},
      {"  png  ", "png"},
      {".png", "png"},
      {"\tpng\r\n", "png"},
      {"JPEG", "jpg"},
      {"Jpg", "jpg"},
      {"tif", "tiff"},
      {"HEIF", "heic"},
      {"\u00A0png\u3000", "png"},
      {"\u2028png", "png"},
      {"\u0085png", "png"},
      {"gif", "GIF" + refused},
      {" gif ", " GIF " + refused},
      {"jpe", "JPE" + refused},
      {"", refused},
      {"..png", "..PNG" + refused},
      {"png.", "PNG." + refused},
      {"straße", "STRASSE" + refused},
      {"\xff\xfepng", "\xff\xfePNG" + refused},  // not UTF-8: the bytes are kept
  };
  for (const auto& [typed, expected] : cases) {
    std::string result;
    try {
      result = normalized(typed);
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.kind(), Failure::Kind::unsupported);
      result = failure.what();
    }
    EXPECT_EQ(result, expected) << typed;
  }
  EXPECT_FALSE(isRaster("jpeg"));
  EXPECT_FALSE(isRaster("pdf"));
  for (std::string_view format : outputFormats) EXPECT_EQ(normalized(format), format);
}

}  // namespace
}  // namespace MediaEngine
