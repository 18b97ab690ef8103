// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QTextEdit>

#include "editors/compress/compression_controller.h"
#include "editors/controls/action_button.h"
#include "editors/controls/preview_view.h"
#include "editors/metadata/metadata_controller.h"
#include "tests/editors/editor_support.h"

namespace {

using namespace Whirlpane;
using EditorTests::press;
using EditorTests::waitForSave;
namespace fs = std::filesystem;

class Editors : public EditorTests::EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    TestSupport::saveImage(TestSupport::noisePicture(300, 200), photo, "[Q=95,strip=false]");
    ASSERT_EQ(TestSupport::shell("exiftool -q -overwrite_original -Artist='Ada' " +
                                 TestSupport::quoted(photo.string())),
              "");
  }

  std::string artist(const fs::path& file) {
    return TestSupport::shell("exiftool -s3 -Artist " + TestSupport::quoted(file.string()));
  }

  fs::path photo = folder / "photo.jpg";
};

TEST(MetadataText, KeysAndValuesOnTheirOwnLinesEntriesApart) {
  EXPECT_EQ(metadataText({{"A", "1"}, {"B", "2"}}), "A\n1\n\nB\n2");
  EXPECT_EQ(metadataText({}), "No metadata found.");
}

TEST_F(Editors, CompressShowsThePictureQualityFrom10To100AndResetsTo80) {
  auto* editor = open<CompressionController>("compress", photo);
  EXPECT_EQ(editor->preview()->image().size(), QSize(300, 200));
  SliderRow* quality = editor->quality();
  const std::pair<double, QString> values[] = {
      {0.1, "10%"}, {1, "100%"}, {0, "10%"}, {0.555, "56%"}};
  for (const auto& [value, text] : values) {
    quality->setValue(value);
    EXPECT_EQ(quality->valueLabel()->text(), text) << value;
  }
  editor->resetButton()->click();
  EXPECT_EQ(quality->valueLabel()->text(), "80%");

  quality->setValue(0.3);
  press(editor->window(), Qt::Key_Return);
  waitForSave(editor);
  ASSERT_EQ(saved, std::vector<fs::path>{folder / "photo-compressed.jpg"});
  EXPECT_LT(fs::file_size(saved[0]), fs::file_size(photo) / 2);
  EXPECT_TRUE(coordinator.openWindows().empty());
}

TEST_F(Editors, MetadataListsTheEntriesAndStripsThemOnReturn) {
  EditorFrame* editor = open("metadata", photo);
  const auto* entries = editor->window()->findChild<QTextEdit*>("editor.metadata.entries");
  ASSERT_NE(entries, nullptr);
  EXPECT_TRUE(entries->toPlainText().contains("Ada"));
  EXPECT_EQ(editor->window()->findChild<QWidget*>("editor.metadata.reset"), nullptr);
  press(editor->window(), Qt::Key_Return);
  waitForSave(editor);
  ASSERT_EQ(saved, std::vector<fs::path>{folder / "photo-clean.jpg"});
  EXPECT_EQ(artist(saved[0]), "");
  EXPECT_EQ(artist(photo), "Ada\n") << "the source keeps its metadata";
}

TEST_F(Editors, MetadataListShowsNoCaretWhenFocused) {
  EditorFrame* editor = open("metadata", photo);
  auto* entries = editor->window()->findChild<QTextEdit*>("editor.metadata.entries");
  ASSERT_NE(entries, nullptr);
  editor->window()->show();
  editor->window()->activateWindow();
  QApplication::processEvents();
  // The caret after the last entry, where nothing else is drawn.
  entries->moveCursor(QTextCursor::End);
  const QImage unfocused = entries->viewport()->grab().toImage();
  entries->setFocus();
  ASSERT_TRUE(entries->hasFocus());
  EXPECT_TRUE(entries->viewport()->grab().toImage() == unfocused) << "a caret shows";
}

}  // namespace
