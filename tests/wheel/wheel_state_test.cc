#include "wheel/wheel_state.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/test_support.h"

namespace Whirlpane {
namespace {

TEST(WheelState, CenterLabelTakesTheFirstRuleThatApplies) {
  TestSupport::ScratchFolder folder;
  const auto photo = folder / "photo.jpg";  // 2.4 MB
  const auto small = folder / "small.png";  // 812 bytes
  const auto gone = folder / "gone.png";
  TestSupport::writeFile(photo, std::string(2'400'000, 'x'));
  TestSupport::writeFile(small, std::string(812, 'x'));
  using Paths = std::vector<std::filesystem::path>;
  const struct {
    std::optional<int> hovered;  // of the eight formats
    bool tools;
    std::optional<std::filesystem::path> file;
    Paths files;
    Paths provisional;
    std::string expected;
  } cases[] = {
      {std::nullopt, false, std::nullopt, {}, {}, "CONVERT"},
      {std::nullopt, true, std::nullopt, {}, {}, "TOOLS"},
      {2, false, photo, {photo, small}, {small}, "HEIC"},
      {8, false, std::nullopt, {}, {}, "CONVERT"},  // past the last wedge
      {-1, true, std::nullopt, {}, {}, "TOOLS"},
      {std::nullopt, false, photo, {photo}, {}, "2.4 MB"},
      {std::nullopt, false, small, {}, {}, "812 bytes"},
      {std::nullopt, false, photo, {small}, {}, "812 bytes"},  // the files before the file
      {std::nullopt, false, photo, {photo, small}, {}, "2 files"},
      {std::nullopt, false, std::nullopt, {photo}, {photo, small, gone}, "3 files"},
      {std::nullopt, false, std::nullopt, {photo, small}, {small}, "812 bytes"},
      {std::nullopt, false, std::nullopt, {gone}, {}, "CONVERT"},  // size unreadable
      {std::nullopt, true, gone, {}, {}, "TOOLS"},
      {std::nullopt, false, folder.path(), {}, {}, "CONVERT"},
  };
  for (const auto& c : cases) {
    WheelState state;
    state.actions = WheelAction::formats(std::nullopt);
    state.hovered = c.hovered;
    state.isTools = c.tools;
    state.file = c.file;
    state.files = c.files;
    state.provisionalFiles = c.provisional;
    EXPECT_EQ(state.centerLabel(), c.expected) << "expected " << c.expected;
  }
}

}  // namespace
}  // namespace Whirlpane
