#include <gtest/gtest.h>

#include <QLabel>

#include "editors/compress/compression_controller.h"
#include "editors/controls/action_button.h"
#include "editors/controls/preview_view.h"
#include "editors/controls/slider_row.h"
#include "editors/editor_coordinator.h"
#include "editors/metadata/metadata_controller.h"
#include "tests/editors/editor_support.h"
#include "tests/support/test_support.h"

namespace {

using namespace Whirlpane;
namespace fs = std::filesystem;

class Editors : public ::testing::Test {
 protected:
  void SetUp() override {
    TestSupport::startVips();
    TestSupport::saveImage(TestSupport::noisePicture(300, 200), photo, "[Q=95,strip=false]");
    ASSERT_EQ(TestSupport::shell("exiftool -q -overwrite_original -Artist='Ada' " +
                                 TestSupport::quoted(photo.string())),
              "");
  }

  WPEditorController* open(const std::string& action, const fs::path& file) {
    return coordinator.editorOf(coordinator.makeOffscreenWindow(
        action, file, [this](const fs::path& written) { saved.push_back(written); }));
  }

  TestSupport::ScratchFolder folder;
  fs::path photo = folder / "photo.jpg";
  std::vector<fs::path> saved;
  EditorCoordinator coordinator{[](const QString&) {}};
};

TEST(MetadataText, KeysAndValuesOnTheirOwnLinesEntriesApart) {
  EXPECT_EQ(metadataText({{"A", "1"}, {"B", "2"}}), "A\n1\n\nB\n2");
  EXPECT_EQ(metadataText({}), "No metadata found.");
}

TEST_F(Editors, CompressShowsThePictureQualityFrom10To100AndResetsTo80) {
  auto* editor = static_cast<WPCompressionController*>(open("compress", photo));
  EXPECT_EQ(editor->preview()->image().size(), QSize(300, 200));
  EXPECT_EQ(editor->fileIcon(), nullptr);
  WPSliderRow* quality = editor->quality();
  EXPECT_EQ(quality->valueLabel()->text(), "80%");
  const struct {
    double value;
    const char* text;
  } values[] = {{0.1, "10%"}, {1.0, "100%"}, {0.0, "10%"}, {0.555, "56%"}};
  for (const auto& v : values) {
    quality->setValue(v.value);
    EXPECT_EQ(quality->valueLabel()->text(), v.text) << v.value;
  }
  editor->resetButton()->click();
  EXPECT_EQ(quality->value(), 0.8);
  EXPECT_EQ(quality->valueLabel()->text(), "80%");

  quality->setValue(0.3);
  EditorTests::press(editor->window(), Qt::Key_Return);
  EditorTests::waitForSave(editor);
  ASSERT_EQ(saved, std::vector<fs::path>{folder / "photo-compressed.jpg"});
  EXPECT_LT(fs::file_size(saved[0]), fs::file_size(photo));
  EXPECT_TRUE(coordinator.openWindows().empty());
}

TEST_F(Editors, AFileThatDoesNotDecodeOpensCompressWithItsIcon) {
  const fs::path broken = folder / "broken.png";
  TestSupport::writeFile(broken, "\x89PNG but no more");
  auto* editor = static_cast<WPCompressionController*>(open("compress", broken));
  EXPECT_TRUE(editor->preview()->image().isNull());
  ASSERT_NE(editor->fileIcon(), nullptr);
  EXPECT_FALSE(editor->fileIcon()->pixmap().isNull()) << "an icon from the desktop's theme";
  EXPECT_EQ(editor->fileIcon()->geometry(), QRect(172, 168, 76, 90));
}

TEST_F(Editors, MetadataListsTheEntriesHasNoResetAndStripsOnReturn) {
  WPEditorController* editor = open("metadata", photo);
  const auto* entries = editor->window()->findChild<QTextEdit*>("editor.metadata.entries");
  ASSERT_NE(entries, nullptr);
  EXPECT_TRUE(entries->toPlainText().contains("Ada"));
  EXPECT_TRUE(entries->isReadOnly());
  EXPECT_TRUE(editor->window()->findChild<QWidget*>("editor.metadata.reset")->isHidden());
  EXPECT_FALSE(editor->window()->findChild<QWidget*>("editor.metadata.save")->isHidden());

  EditorTests::press(editor->window(), Qt::Key_Return);
  EditorTests::waitForSave(editor);
  ASSERT_EQ(saved, std::vector<fs::path>{folder / "photo-clean.jpg"});
  EXPECT_EQ(TestSupport::shell("exiftool -s3 -Artist " + TestSupport::quoted(saved[0].string())),
            "");
  EXPECT_EQ(TestSupport::shell("exiftool -s3 -Artist " + TestSupport::quoted(photo.string())),
            "Ada\n")
      << "the source keeps its metadata";
}

}  // namespace
