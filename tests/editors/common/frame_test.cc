// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QLabel>
#include <QMessageBox>
#include <QPointer>

#include "editors/common/editor_geometry.h"
#include "editors/compress/compression_controller.h"
#include "editors/controls/action_button.h"
#include "editors/crop/crop_controller.h"
#include "tests/editors/editor_support.h"

namespace {

using namespace Whirlpane;
using EditorTests::press;
using EditorTests::waitForSave;
namespace fs = std::filesystem;

// A plain editor that saves a small picture beside its source, as the image
// editors do.
class PictureEditor : public EditorFrame {
 public:
  explicit PictureEditor(const fs::path& file) : EditorFrame(file, "Picture", "Save", "picture") {}
  void saveEditor() override {
    QImage image(20, 10, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::darkCyan);
    saveImage(image, " Saved");
  }
};

class Frame : public EditorTests::EditorTest {
 protected:
  Frame() : EditorTest(withPictureEditor()) {}

  // The real editors and one more that saves a fixed picture.
  static std::vector<EditorEntry> withPictureEditor() {
    std::vector<EditorEntry> editors = editorTable();
    editors.push_back({"picture", "PICTURE", "photo", "Picture\u2026",
                       [](const fs::path& file) -> EditorEntry::Finish {
                         return [file] { return std::make_unique<PictureEditor>(file); };
                       }});
    return editors;
  }

  void SetUp() override {
    EditorTest::SetUp();
    TestSupport::saveImage(TestSupport::testPicture(64, 48), source);
  }

  fs::path source = folder / "photo.jpg";
};

TEST_F(Frame, TwoQuickSavesWriteOneFileReportItOnceAndTheWindowGoes) {
  EditorFrame* editor = open("picture", source);
  ASSERT_NE(editor, nullptr);
  const QPointer<QWidget> window(editor->window());
  press(window, Qt::Key_Return);
  EXPECT_FALSE(editor->saveButton()->isEnabled());
  EXPECT_EQ(editor->statusLabel()->text(), QString::fromUtf8("Saving\u2026"));
  editor->saveEditor();  // ignored while saving
  waitForSave(editor);
  EXPECT_EQ(TestSupport::listFolder(folder.path()),
            (std::vector<std::string>{"photo Saved.png", "photo.jpg"}));
  EXPECT_EQ(saved, std::vector<fs::path>{folder / "photo Saved.png"});
  EXPECT_TRUE(coordinator.openWindows().empty());
  EXPECT_TRUE(reports.empty());
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull()) << "the closed editor's window is released";
}

TEST_F(Frame, AFailedSaveKeepsTheWindowOpenAndSaveEnabled) {
  TestSupport::writeFile(folder / "broken.jpg", "not a picture");
  auto* editor = open<CompressionController>("compress", folder / "broken.jpg");
  ASSERT_NE(editor->fileIcon(), nullptr) << "the file's icon in place of its picture";
  EXPECT_FALSE(editor->fileIcon()->pixmap().isNull());
  editor->presentsErrors = true;
  press(editor->window(), Qt::Key_Enter);
  waitForSave(editor);
  ASSERT_TRUE(editor->lastError().has_value());
  EXPECT_NE(editor->lastError()->message.find("broken.jpg"), std::string::npos);
  EXPECT_TRUE(saved.empty());
  EXPECT_TRUE(editor->saveButton()->isEnabled());
  EXPECT_EQ(coordinator.openWindows(), std::vector<QWidget*>{editor->window()});
  const auto* alert = editor->window()->findChild<QMessageBox*>();
  ASSERT_NE(alert, nullptr);
  EXPECT_EQ(alert->informativeText().toStdString(), editor->lastError()->message);
}

TEST_F(Frame, CloseAndEscapeCloseWithoutSavingUnlessASaveIsRunning) {
  open("picture", source)->window()->findChild<QAbstractButton*>("editor.picture.close")->click();
  QApplication::processEvents();
  EXPECT_TRUE(coordinator.openWindows().empty());
  EXPECT_EQ(TestSupport::listFolder(folder.path()), std::vector<std::string>{"photo.jpg"});

  // Closed while its save runs, the editor still reports the written file.
  EditorFrame* editor = open("picture", source);
  press(editor->window(), Qt::Key_Return);
  press(editor->window(), Qt::Key_Escape);
  EXPECT_FALSE(editor->window()->isVisible());
  waitForSave(editor);
  EXPECT_EQ(saved, std::vector<fs::path>{folder / "photo Saved.png"});
  EXPECT_TRUE(coordinator.openWindows().empty());
}

TEST_F(Frame, ActionsMatchWithoutCaseAndUnknownOnesAreQuotedAsGiven) {
  coordinator.open("frobnicate", source, QPointF(400, 300), {});
  EXPECT_EQ(reports, QStringList{"The “frobnicate” editor is not available."});
  const std::pair<std::string, QString> known[] = {{"COMPRESS", "editor.compress.window"},
                                                   {"Metadata", "editor.metadata.window"},
                                                   {"Background", "editor.background.window"}};
  for (const auto& [action, name] : known) {
    SCOPED_TRACE(action);
    coordinator.open(action, source, QPointF(400, 300), {});
    EXPECT_TRUE(coordinator.openWindows().empty()) << "the file is read off the interface thread";
    waitForWindows(1);
    ASSERT_EQ(coordinator.openWindows().size(), 1u);
    QWidget* window = coordinator.openWindows()[0];
    EXPECT_EQ(window->objectName(), name);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(coordinator.editorOf(window)->presentsErrors);
    window->close();
  }
}

TEST_F(Frame, OpeningFromAnotherThreadHappensOnTheMainThread) {
  std::thread([&] { coordinator.open("compress", source, QPointF(10, 10), {}); }).join();
  EXPECT_TRUE(coordinator.openWindows().empty());
  waitForWindows(1);
  ASSERT_EQ(coordinator.openWindows().size(), 1u);
  EXPECT_EQ(coordinator.openWindows()[0]->pos(), QPoint(8, 8)) << "8 inside the work area";
}

// The editors show a reduced picture at once and decode the whole one
// meanwhile: Save (and Crop's pixel fields) wait for it, what is saved is the
// whole picture, and a whole picture that fails to decode is reported in the
// window and leaves nothing to save.
TEST_F(Frame, PictureEditorsSaveTheWholePictureOnlyOnceItIsDecoded) {
  // Wider than the reduced picture, so that a save from it would show.
  const fs::path whole = folder / "whole.jpg";
  TestSupport::saveImage(TestSupport::testPicture(2400, 1500), whole);
  // Its header and first rows intact: only the whole decode notices the cut.
  const std::string bytes = TestSupport::readFile(whole);
  const fs::path cut = folder / "cut.jpg";
  TestSupport::writeFile(cut, std::string_view(bytes).substr(0, bytes.size() / 2));
  const std::pair<std::string, int> editors[] = {
      {"edit", 2400}, {"annotate", 2400}, {"redact", 2400}, {"crop", 2400}, {"background", 2720}};
  for (const auto& [key, width] : editors) {
    SCOPED_TRACE(key);
    EditorFrame* editor = open(key, whole, false);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->pictureState(), EditorFrame::PictureState::decoding);
    EXPECT_FALSE(editor->saveButton()->isEnabled());
    EXPECT_FALSE(editor->statusLabel()->text().isEmpty());
    if (auto* crop = dynamic_cast<CropController*>(editor)) {
      EXPECT_FALSE(crop->widthField()->isEnabled());
      EXPECT_EQ(crop->widthField()->text(), "2400") << "the whole picture's pixels";
    }
    editor->saveButton()->click();  // ignored until the whole picture is in
    waitForPicture(editor);
    ASSERT_EQ(editor->pictureState(), EditorFrame::PictureState::ready);
    EXPECT_TRUE(saved.empty());
    EXPECT_TRUE(editor->saveButton()->isEnabled());
    EXPECT_TRUE(editor->statusLabel()->text().isEmpty());
    editor->saveButton()->click();
    waitForSave(editor);
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(TestSupport::loadWithVips(saved[0]).width(), width);
    fs::remove(saved[0]);
    saved.clear();

    EditorFrame* broken = open(key, cut, false);
    ASSERT_NE(broken, nullptr) << "the reduced picture decodes";
    waitForPicture(broken);
    EXPECT_EQ(broken->pictureState(), EditorFrame::PictureState::failed);
    ASSERT_TRUE(broken->lastError().has_value());
    EXPECT_NE(broken->lastError()->message.find("cut.jpg"), std::string::npos);
    EXPECT_FALSE(broken->statusLabel()->text().isEmpty());
    EXPECT_FALSE(broken->saveButton()->isEnabled());
    broken->saveEditor();
    waitForSave(broken);
    broken->close();
  }
  EXPECT_TRUE(saved.empty());
  EXPECT_EQ(TestSupport::listFolder(folder.path()),
            (std::vector<std::string>{"cut.jpg", "photo.jpg", "whole.jpg"}));
}

TEST(EditorPlacement, CenteredOnThePointAndKept8InsideTheWorkArea) {
  const QRectF area(0, 30, 1280, 770);  // a panel across the top
  const QSizeF size(420, 630);
  const struct {
    QPointF point;
    QRectF available;
    QPointF origin;
  } cases[] = {
      {{640, 400}, area, {430, 85}},
      {{1279, 799}, area, {1280 - 420 - 8, 800 - 630 - 8}},
      // Too small for the window: the left and bottom margins win.
      {{100, 100}, QRectF(0, 0, 300, 300), {8, 300 - 630 - 8}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(editorOrigin(c.point, c.available, size), c.origin)
        << c.point.x() << "," << c.point.y();
  }
}

}  // namespace
