#include "wheel/wheel_state.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/support/test_support.h"

namespace Whirlpane {
namespace {

using TestSupport::ScratchFolder;

TEST(WheelState, CenterLabelTakesTheFirstRuleThatApplies) {
  ScratchFolder folder;
  const auto photo = folder / "photo.jpg";
  const auto other = folder / "other.png";
  TestSupport::writeFile(photo, std::string(2'400'000, 'x'));
  TestSupport::writeFile(other, std::string(812, 'x'));
  const auto missing = folder / "gone.png";
  const auto formats = WheelAction::formats(photo);

  const struct {
    const char* name;
    std::function<void(WheelState&)> set;
    std::string expected;
  } cases[] = {
      {"nothing", [](WheelState&) {}, "CONVERT"},
      {"tools, nothing", [](WheelState& s) { s.isTools = true; }, "TOOLS"},
      {"hovered",
       [&](WheelState& s) {
         s.actions = formats;
         s.files = {photo, other};
         s.hovered = 2;
       },
       "HEIC"},
      {"hovered tool",
       [](WheelState& s) {
         s.actions = WheelAction::tools();
         s.isTools = true;
         s.hovered = 4;
       },
       "ADD BG"},
      {"hovered past the end",
       [&](WheelState& s) {
         s.actions = formats;
         s.hovered = 8;
       },
       "CONVERT"},
      {"hovered negative",
       [&](WheelState& s) {
         s.actions = formats;
         s.hovered = -1;
       },
       "CONVERT"},
      {"one file",
       [&](WheelState& s) {
         s.file = photo;
         s.files = {photo};
       },
       "2.4 MB"},
      {"the file alone", [&](WheelState& s) { s.file = other; }, "812 bytes"},
      {"the files before the file",
       [&](WheelState& s) {
         s.file = photo;
         s.files = {other};
       },
       "812 bytes"},
      {"two files",
       [&](WheelState& s) {
         s.files = {photo, other};
       },
       "2 files"},
      {"the drag's files first",
       [&](WheelState& s) {
         s.files = {photo};
         s.provisionalFiles = {photo, other, missing};
       },
       "3 files"},
      {"the drag's one file",
       [&](WheelState& s) {
         s.files = {photo, other};
         s.provisionalFiles = {other};
       },
       "812 bytes"},
      {"unreadable size", [&](WheelState& s) { s.files = {missing}; }, "CONVERT"},
      {"unreadable size, tools",
       [&](WheelState& s) {
         s.file = missing;
         s.isTools = true;
       },
       "TOOLS"},
      {"a folder", [&](WheelState& s) { s.file = folder.path(); }, "CONVERT"},
  };
  for (const auto& c : cases) {
    WheelState state;
    c.set(state);
    EXPECT_EQ(state.centerLabel(), c.expected) << c.name;
  }
}

}  // namespace
}  // namespace Whirlpane
