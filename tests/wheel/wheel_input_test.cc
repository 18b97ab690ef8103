#include "wheel/wheel_input.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/test_support.h"

namespace Whirlpane {
namespace {

// A press on the centre at (500, 500) with the panel at (100, 200), the
// pointer's moves, and what the release does.
TEST(CenterPress, SwitchesWheelsUnlessThePointerWentMoreThanThreePoints) {
  const struct {
    std::vector<DesktopPoint> moves;
    std::optional<DesktopPoint> lastOrigin;
    bool toggles;
  } cases[] = {
      {{}, std::nullopt, true},
      {{{503, 500}}, std::nullopt, true},
      {{{500, 497}}, std::nullopt, true},
      {{{502.1, 502.1}}, std::nullopt, true},  // 2.97 points away
      {{{503.1, 500}}, DesktopPoint{103.1, 200}, false},
      {{{500, 496.9}}, DesktopPoint{100, 196.9}, false},
      {{{510, 520}, {501, 500}}, DesktopPoint{101, 200}, false},  // a move stays a move
  };
  for (const auto& c : cases) {
    CenterPress press;
    press.press({500, 500}, {100, 200});
    std::optional<DesktopPoint> origin;
    for (const DesktopPoint move : c.moves) origin = press.drag(move);
    ASSERT_EQ(origin.has_value(), c.lastOrigin.has_value()) << c.moves.size();
    if (origin) {
      EXPECT_DOUBLE_EQ(origin->x, c.lastOrigin->x);
      EXPECT_DOUBLE_EQ(origin->y, c.lastOrigin->y);
    }
    EXPECT_EQ(press.release(), c.toggles);
    EXPECT_FALSE(press.isPressed());
  }
  // Without a press nothing moves or switches.
  CenterPress idle;
  EXPECT_FALSE(idle.drag({600, 600}));
  EXPECT_FALSE(idle.release());
}

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

TEST(WheelInput, DraggedFilesReOfferTheFormatsOfTheFirstFile) {
  const auto labels = [](const std::optional<std::vector<WheelAction>>& actions) {
    std::vector<std::string> result;
    if (actions)
      for (const WheelAction& a : *actions) result.push_back(a.label);
    return result;
  };
  const std::vector<std::string> pdf{"DOCX", "JPG", "PNG", "TXT"};
  const auto imageWheel = WheelAction::formats(std::filesystem::path("a.png"));
  const auto pdfWheel = WheelAction::formats(std::filesystem::path("a.pdf"));
  EXPECT_EQ(labels(wedgesForDrag({"/x/report.pdf", "/x/a.png"}, false, imageWheel)), pdf);
  EXPECT_EQ(labels(wedgesForDrag({"/x/REPORT.PDF"}, false, imageWheel)), pdf);
  EXPECT_EQ(labels(wedgesForDrag({"/x/a.png", "/x/b.pdf"}, false, pdfWheel)).size(), 8u);
  EXPECT_FALSE(wedgesForDrag({"/x/photo.heic"}, false, imageWheel));  // same labels
  EXPECT_FALSE(wedgesForDrag({"/x/report.pdf"}, false, pdfWheel));
  EXPECT_FALSE(wedgesForDrag({"/x/report.pdf"}, true, WheelAction::tools()));
  EXPECT_FALSE(wedgesForDrag({}, false, imageWheel));
}

TEST(WheelInput, FoldersAreNotActedOn) {
  TestSupport::ScratchFolder scratch;
  const auto file = scratch.path() / "photo.jpg";
  std::ofstream(file) << "x";
  const auto missing = scratch.path() / "gone.png";
  EXPECT_EQ(droppableFiles({scratch.path(), file, missing, scratch.path() / "."}),
            (std::vector<std::filesystem::path>{file, missing}));
}

}  // namespace
}  // namespace Whirlpane
