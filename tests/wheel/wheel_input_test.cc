#include "wheel/wheel_input.h"

#include <gtest/gtest.h>

namespace Whirlpane {
namespace {

TEST(TypedWedge, ANumberFromOneToTheCountPicksAWedge) {
  const struct {
    const char* typed;
    int count;
    std::optional<int> expected;
  } cases[] = {
      // clang-format off
      {"4", 4, 3},  {"1", 4, 0},  {"5", 4, {}},  {"0", 4, {}},  {"-1", 4, {}},
      {"+2", 4, 1}, {"04", 4, 3}, {"8", 8, 7},   {"", 4, {}},   {"a", 4, {}},
      {"1a", 4, {}}, {" 1", 4, {}}, {"-0", 4, {}}, {"+", 4, {}}, {"99999999999999999999", 4, {}},
      {"1", 0, {}},
      // clang-format on
  };
  for (const auto& c : cases)
    EXPECT_EQ(typedWedge(c.typed, c.count), c.expected) << '"' << c.typed << '"' << c.count;
}

}  // namespace
}  // namespace Whirlpane
