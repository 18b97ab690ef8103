// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QTextEdit>
#include <cstdlib>

#include "editors/compress/compression_controller.h"
#include "editors/controls/action_button.h"
#include "editors/controls/preview_view.h"
#include "editors/metadata/metadata_controller.h"
#include "tests/editors/editor_support.h"
#include "whirlpane/metadata.h"

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

// The size beside the slider is the size Save writes, on a real photograph,
// whatever the slider did while it was made: each case moves the slider while
// the size for the starting quality is still being made.
TEST_F(Editors, CompressShowsTheSizeItSavesAtTheQualityChosen) {
  const fs::path real = "/usr/share/backgrounds/mate/nature/Dune.jpg";  // mate-backgrounds
  ASSERT_TRUE(fs::exists(real)) << "scripts/install-deps --test installs it";
  fs::copy_file(real, photo, fs::copy_options::overwrite_existing);
  for (const double quality : {0.3, 0.6, 0.9}) {
    SCOPED_TRACE(quality);
    auto* editor = open<CompressionController>("compress", photo);
    EditorTests::slide(editor->quality(), quality);
    EditorTests::waitUntil([&] { return editor->estimate().has_value(); });
    ASSERT_TRUE(editor->estimate());
    EXPECT_EQ(
        editor->estimateLabel()->text(),
        "New copy: about " + QString::fromStdString(MediaEngine::byteCount(*editor->estimate())));
    const long long estimate = *editor->estimate();
    press(editor->window(), Qt::Key_Return);
    waitForSave(editor);
    ASSERT_FALSE(saved.empty());
    // Made the same way as the saved copy: within 1 %.
    const auto written = static_cast<long long>(fs::file_size(saved.back()));
    EXPECT_LE(std::abs(written - estimate), written / 100) << written << " saved";
  }
}

// The copy is made from the file that was opened, or not at all: a file put
// in its place, changed or removed after it was opened is refused in words.
TEST_F(Editors, CompressAndMetadataRefuseAFileReplacedAfterOpening) {
  TestSupport::saveImage(TestSupport::testPicture(300, 200), folder / "other.jpg",
                         "[Q=95,strip=false]");
  const std::string in = "cd " + TestSupport::quoted(folder.path().string()) + " && ";
  const std::pair<const char*, std::string> changes[] = {
      {"replaced", "cp other.jpg new.jpg && mv new.jpg photo.jpg"},
      {"changed in place", "printf 'more' >>photo.jpg"},
      {"removed", "rm photo.jpg"},
  };
  for (const char* action : {"compress", "metadata"}) {
    for (const auto& [change, command] : changes) {
      SCOPED_TRACE(std::string(action) + ", " + change);
      SetUp();  // the photo as it was
      EditorFrame* editor = open(action, photo);
      TestSupport::shell(in + command);
      press(editor->window(), Qt::Key_Return);
      waitForSave(editor);
      EXPECT_TRUE(saved.empty());
      ASSERT_TRUE(editor->lastError());
      EXPECT_EQ(editor->lastError()->message,
                "photo.jpg changed after it was opened, so nothing was saved. Open it again to "
                "use it as it is now.");
      for (const char* written : {"photo-compressed.jpg", "photo-clean.jpg"})
        EXPECT_FALSE(fs::exists(folder / written));
      editor->close();
    }
  }
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
