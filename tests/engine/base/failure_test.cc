#include "whirlpane/failure.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace MediaEngine {
namespace {

TEST(Failure, EveryKindHasItsMessage) {
  const std::vector<std::pair<Failure, std::string>> cases{
      {Failure::unsupported("Exact text."), "Exact text."},
      {Failure::unreadable("photo.heic"),
       "Could not read photo.heic. The file may be damaged or unsupported."},
      {Failure::encoding("image allocation failed"),
       "Could not create the output: image allocation failed"},
      {Failure::exists("photo.png"),
       "photo.png already exists. Choose a different output filename."},
      {Failure::noText(), "No readable text was found in this file."},
      {Failure::invalidQuality(), "Quality must be a finite number between 0 and 1."},
      {Failure::tooLarge(), "This file is too large to process safely at full resolution."},
      {Failure::lockedPDF(), "Unlock the PDF before converting it."},
      {Failure::noReduction(),
       "This file could not be made smaller with these settings. The original was kept."},
  };
  for (const auto& [failure, message] : cases) EXPECT_EQ(std::string(failure.what()), message);
}

}  // namespace
}  // namespace MediaEngine
