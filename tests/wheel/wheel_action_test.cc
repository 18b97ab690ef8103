#include "wheel/wheel_action.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/chrome/symbols.h"

namespace Whirlpane {
namespace {

using Path = std::filesystem::path;

std::vector<std::string> labels(const std::vector<WheelAction>& actions) {
  std::vector<std::string> result;
  for (const WheelAction& action : actions) result.push_back(action.label);
  return result;
}

TEST(WheelAction, FormatsAreDecidedByTheExtensionAlone) {
  const std::vector<std::string> pdf{"DOCX", "JPG", "PNG", "TXT"};
  const std::vector<std::string> image{"PNG", "WEBP", "HEIC", "TIFF", "AVIF", "BMP", "PDF", "DOCX"};
  const struct {
    std::optional<Path> file;
    const std::vector<std::string>& expected;
  } cases[] = {
      {Path("/tmp/report.pdf"), pdf},
      {Path("/tmp/REPORT.PDF"), pdf},
      {Path("/tmp/not a pdf at all.Pdf"), pdf},  // never opened: the name decides
      {Path("/tmp/photo.heic"), image},
      {Path("/tmp/animation.gif"), image},
      {Path("/tmp/notes.txt"), image},
      {Path("/tmp/no-extension"), image},
      {Path("/tmp/report.pdf.png"), image},
      {Path("/tmp/pdf"), image},
      {std::nullopt, image},
  };
  for (const auto& c : cases) {
    const std::string name = c.file ? c.file->string() : "no file";
    const std::vector<WheelAction> actions = WheelAction::formats(c.file);
    EXPECT_EQ(labels(actions), c.expected) << name;
    for (const WheelAction& action : actions) {
      std::string lower = action.label;
      for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
      EXPECT_EQ(action.key, lower) << name;
      EXPECT_FALSE(action.symbol) << name;
      EXPECT_FALSE(WheelAction::isTool(action.key)) << name;
    }
  }
}

TEST(WheelAction, ToolsAreSevenInWedgeOrderEachWithAnIcon) {
  const std::vector<std::pair<std::string, std::string>> expected{
      {"COMPRESS", "compress"}, {"METADATA", "metadata"}, {"EDIT", "edit"},
      {"ANNOTATE", "annotate"}, {"ADD BG", "background"}, {"CROP", "crop"},
      {"REDACT", "redact"}};
  const std::vector<WheelAction>& tools = WheelAction::tools();
  ASSERT_EQ(tools.size(), expected.size());
  for (size_t i = 0; i < tools.size(); ++i) {
    EXPECT_EQ(tools[i].label, expected[i].first);
    EXPECT_EQ(tools[i].key, expected[i].second);
    EXPECT_TRUE(WheelAction::isTool(tools[i].key));
    ASSERT_TRUE(tools[i].symbol) << tools[i].label;
    EXPECT_FALSE(symbolSize(QString::fromStdString(*tools[i].symbol), 12).isEmpty())
        << "no icon for " << *tools[i].symbol;
  }
}

}  // namespace
}  // namespace Whirlpane
