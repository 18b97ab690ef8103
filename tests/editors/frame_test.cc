#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPointer>

#include "editors/common/editor_geometry.h"
#include "editors/common/editor_text.h"
#include "editors/controls/action_button.h"
#include "editors/editor_coordinator.h"
#include "tests/editors/editor_support.h"
#include "tests/support/test_support.h"

namespace {

using namespace Whirlpane;
using EditorTests::press;
using EditorTests::waitForSave;
namespace fs = std::filesystem;

// A plain editor that saves a small picture beside its source, as the image
// editors do.
class PictureEditor : public WPEditorController {
 public:
  PictureEditor(const fs::path& url, const QString& saveTitle)
      : WPEditorController(url, "Picture", saveTitle, "picture") {}
  void saveEditor() override {
    QImage image(20, 10, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::darkCyan);
    saveImage(image, " Saved");
  }
};

class Frame : public ::testing::Test {
 protected:
  void SetUp() override {
    TestSupport::startVips();
    TestSupport::saveImage(TestSupport::testPicture(64, 48), source);
    coordinator.registerEditor("picture", [](const fs::path& url) {
      return std::make_unique<PictureEditor>(url, "Save");
    });
  }

  TestSupport::ScratchFolder folder;
  fs::path source = folder / "photo.jpg";
  QStringList reports;
  EditorCoordinator coordinator{[this](const QString& message) { reports << message; }};
};

TEST_F(Frame, TwoQuickSavesWriteOneFileReportItOnceAndTheWindowGoes) {
  std::vector<fs::path> saved;
  QWidget* window = coordinator.makeOffscreenWindow(
      "picture", source, [&](const fs::path& file) { saved.push_back(file); });
  WPEditorController* editor = coordinator.editorOf(window);
  ASSERT_NE(editor, nullptr);
  press(window, Qt::Key_Return);
  EXPECT_TRUE(editor->isSaving());
  EXPECT_FALSE(editor->saveButton()->isEnabled());
  EXPECT_EQ(editor->statusLabel()->text(), QString::fromUtf8("Saving\u2026"));
  editor->saveButton()->click();  // disabled: ignored
  editor->saveEditor();           // called directly: ignored while saving
  const QPointer<QWidget> watched(window);
  waitForSave(editor);

  EXPECT_EQ(TestSupport::listFolder(folder.path()),
            (std::vector<std::string>{"photo Saved.png", "photo.jpg"}));
  EXPECT_EQ(saved, std::vector<fs::path>{folder / "photo Saved.png"});
  EXPECT_EQ(TestSupport::loadWithVips(saved.at(0)).width(), 20);
  EXPECT_TRUE(coordinator.openWindows().empty());
  EXPECT_TRUE(reports.empty());
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(watched.isNull()) << "the closed editor's window is released";
}

TEST_F(Frame, AFailedSaveKeepsTheWindowOpenAndSaveEnabled) {
  TestSupport::writeFile(folder / "broken.jpg", "not a picture");
  int savedCount = 0;
  QWidget* window = coordinator.makeOffscreenWindow("compress", folder / "broken.jpg",
                                                    [&](const fs::path&) { ++savedCount; });
  WPEditorController* editor = coordinator.editorOf(window);
  editor->presentsErrors = true;
  press(window, Qt::Key_Enter);
  waitForSave(editor);
  ASSERT_TRUE(editor->lastError().has_value());
  EXPECT_NE(editor->lastError()->message.find("broken.jpg"), std::string::npos)
      << editor->lastError()->message;
  EXPECT_EQ(savedCount, 0);
  EXPECT_TRUE(editor->saveButton()->isEnabled());
  EXPECT_TRUE(editor->statusLabel()->text().isEmpty());
  EXPECT_EQ(coordinator.openWindows(), std::vector<QWidget*>{window});
  const auto* alert = window->findChild<QMessageBox*>();
  ASSERT_NE(alert, nullptr) << "an alert on the window";
  EXPECT_EQ(alert->windowModality(), Qt::WindowModal);
  EXPECT_EQ(alert->informativeText().toStdString(), editor->lastError()->message);
}

TEST_F(Frame, ClosingDuringASaveStillReportsTheWrittenFileOnce) {
  std::vector<fs::path> saved;
  QWidget* window = coordinator.makeOffscreenWindow(
      "picture", source, [&](const fs::path& file) { saved.push_back(file); });
  WPEditorController* editor = coordinator.editorOf(window);
  press(window, Qt::Key_Return);
  press(window, Qt::Key_Escape);
  EXPECT_FALSE(window->isVisible());
  waitForSave(editor);
  EXPECT_EQ(saved, std::vector<fs::path>{folder / "photo Saved.png"});
  EXPECT_TRUE(coordinator.openWindows().empty());
}

TEST_F(Frame, EscapeAndTheCloseButtonCloseWithoutSaving) {
  for (const bool escape : {true, false}) {
    QWidget* window = coordinator.makeOffscreenWindow("picture", source);
    if (escape) {
      press(window, Qt::Key_Escape);
    } else {
      window->findChild<QAbstractButton*>("editor.picture.close")->click();
    }
    QApplication::processEvents();
    EXPECT_TRUE(coordinator.openWindows().empty());
    EXPECT_EQ(TestSupport::listFolder(folder.path()), std::vector<std::string>{"photo.jpg"});
  }
}

TEST_F(Frame, TheSaveTitleSizesItsButtonAndTheStatusLineKeepsAtLeast40) {
  const struct {
    QString title;
    bool narrowest;
  } cases[] = {{"Save", false},
               {"Compress & Save", false},
               {"Save This Picture With Every Layer Flattened Into One", true}};
  for (const auto& c : cases) {
    PictureEditor editor(source, c.title);
    const QRect save = editor.saveButton()->geometry();
    const QRect status = editor.statusLabel()->geometry();
    EXPECT_EQ(save.right() + 1, 420 - 14) << c.title.toStdString();
    EXPECT_GE(save.width(), QFontMetrics(editor.saveButton()->font()).horizontalAdvance(c.title))
        << c.title.toStdString();
    if (c.narrowest) {
      EXPECT_EQ(status.width(), 40);
    } else {
      EXPECT_EQ(status.width(), 420 - save.width() - 98) << c.title.toStdString();
    }
  }
}

TEST_F(Frame, ActionsMatchWithoutCaseAndUnknownOnesAreQuotedAsGiven) {
  const struct {
    std::string action;
    QString window;  // empty: not available
  } cases[] = {
      {"compress", "editor.compress.window"}, {"COMPRESS", "editor.compress.window"},
      {"Metadata", "editor.metadata.window"}, {"Picture", "editor.picture.window"},
      {"Add BG", "editor.background.window"}, {"addbg", "editor.background.window"},
      {"Crop", "editor.crop.window"},         {"frobnicate", ""},
  };
  for (const auto& c : cases) {
    reports.clear();
    coordinator.open(c.action, source, QPointF(400, 300), {});
    if (c.window.isEmpty()) {
      EXPECT_EQ(reports,
                QStringList{QString::fromUtf8("The \u201C") + QString::fromStdString(c.action) +
                            QString::fromUtf8("\u201D editor is not available.")});
      EXPECT_TRUE(coordinator.openWindows().empty());
      continue;
    }
    ASSERT_EQ(coordinator.openWindows().size(), 1u) << c.action;
    QWidget* window = coordinator.openWindows()[0];
    EXPECT_EQ(window->objectName(), c.window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(coordinator.editorOf(window)->presentsErrors);
    window->close();
  }
  EXPECT_EQ(EditorCoordinator::editorKey("Add BG"), EditorCoordinator::editorKey("background"));
}

TEST_F(Frame, OpeningFromAnotherThreadHappensOnTheMainThread) {
  std::thread([&] { coordinator.open("compress", source, QPointF(10, 10), {}); }).join();
  EXPECT_TRUE(coordinator.openWindows().empty());
  QApplication::processEvents();
  ASSERT_EQ(coordinator.openWindows().size(), 1u);
  EXPECT_EQ(coordinator.openWindows()[0]->pos(), QPoint(8, 8)) << "8 inside the work area";
}

TEST(EditorPlacement, CentredOnThePointAndKept8InsideTheWorkArea) {
  const QRectF area(0, 30, 1280, 770);  // a panel across the top
  const QSizeF size(420, 630);
  const struct {
    QPointF point;
    QRectF available;
    QPointF origin;
  } cases[] = {
      {{640, 400}, area, {430, 85}},
      {{2, 2}, area, {8, 38}},
      {{1279, 799}, area, {1280 - 420 - 8, 800 - 630 - 8}},
      // Too small for the window: the left and bottom margins win.
      {{100, 100}, QRectF(0, 0, 300, 300), {8, 300 - 630 - 8}},
      {{100, 100}, QRectF(), {100 - 210, 100 - 315}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(editorOrigin(c.point, c.available, size), c.origin)
        << c.point.x() << "," << c.point.y();
  }
}

}  // namespace
