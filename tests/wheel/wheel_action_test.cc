#include "wheel/wheel_action.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/chrome/symbols.h"

namespace Whirlpane {
namespace {

using Path = std::filesystem::path;

TEST(WheelAction, FormatsAreDecidedByTheExtensionAlone) {
  const std::string pdf = "DOCX JPG PNG TXT ";
  const std::string image = "PNG WEBP HEIC TIFF AVIF BMP PDF DOCX ";
  const std::pair<std::optional<Path>, std::string> cases[] = {
      {Path("/tmp/report.pdf"), pdf},       {Path("/tmp/REPORT.Pdf"), pdf},
      {Path("/tmp/photo.heic"), image},     {Path("/tmp/animation.gif"), image},
      {Path("/tmp/notes.txt"), image},      {Path("/tmp/no-extension"), image},
      {Path("/tmp/report.pdf.png"), image}, {std::nullopt, image},
  };
  for (const auto& [file, expected] : cases) {
    std::string labels;
    for (const WheelAction& action : WheelAction::formats(file)) {
      labels += action.label + ' ';
      EXPECT_EQ(QString::fromStdString(action.key), QString::fromStdString(action.label).toLower());
      EXPECT_FALSE(action.symbol);
      EXPECT_FALSE(WheelAction::isTool(action.key));
    }
    EXPECT_EQ(labels, expected) << (file ? file->string() : "no file");
  }
}

TEST(WheelAction, ToolsAreSevenInWedgeOrderEachWithAnIcon) {
  std::string wedges;
  for (const WheelAction& tool : WheelAction::tools()) {
    wedges += tool.label + '=' + tool.key + ' ';
    EXPECT_TRUE(WheelAction::isTool(tool.key));
    ASSERT_TRUE(tool.symbol) << tool.label;
    EXPECT_FALSE(symbolSize(QString::fromStdString(*tool.symbol), 12).isEmpty())
        << "no icon " << *tool.symbol;
  }
  EXPECT_EQ(wedges,
            "COMPRESS=compress METADATA=metadata EDIT=edit ANNOTATE=annotate ADD BG=background "
            "CROP=crop REDACT=redact ");
}

}  // namespace
}  // namespace Whirlpane
