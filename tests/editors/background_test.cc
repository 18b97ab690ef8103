#include <gtest/gtest.h>

#include <QColorDialog>
#include <QFileDialog>
#include <QtTest/QTest>

#include "editors/background/background_controller.h"
#include "editors/common/editor_image.h"
#include "editors/controls/action_button.h"
#include "editors/controls/background_swatch.h"
#include "editors/controls/color_well.h"
#include "editors/controls/preview_view.h"
#include "editors/controls/ratio_control.h"
#include "editors/controls/slider_row.h"
#include "editors/editor_coordinator.h"
#include "tests/editors/editor_support.h"
#include "tests/support/test_support.h"

namespace {

using namespace Whirlpane;
namespace fs = std::filesystem;

QImage filled(QSize size, QColor color) {
  QImage image(size, QImage::Format_ARGB32);
  image.fill(color);
  return image;
}

int distance(QColor a, QColor b) {
  return std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                   std::abs(a.blue() - b.blue()), std::abs(a.alpha() - b.alpha())});
}

class Background : public ::testing::Test {
 protected:
  void SetUp() override { TestSupport::startVips(); }

  fs::path write(const QImage& image, const std::string& name) {
    const fs::path path = folder / name;
    EXPECT_TRUE(image.save(QString::fromStdString(path.string())));
    return path;
  }

  WPBackgroundController* open(const fs::path& file) {
    QWidget* window = coordinator.makeOffscreenWindow(
        "Add BG", file, [this](const fs::path& written) { saved.push_back(written); });
    return static_cast<WPBackgroundController*>(coordinator.editorOf(window));
  }

  // Saves with Return, as the user does, and reads back what was written.
  QImage save(WPBackgroundController* editor) {
    EditorTests::press(editor->window(), Qt::Key_Return);
    EditorTests::waitForSave(editor);
    if (saved.empty()) return {};
    return QImage(QString::fromStdString(saved.back().string()))
        .convertToFormat(QImage::Format_ARGB32);
  }

  // Picks `photo` in the chooser the image button puts up.
  void choosePhoto(WPBackgroundController* editor, const fs::path& photo) {
    editor->window()->findChild<WPActionButton*>("editor.background.customImage")->click();
    auto* chooser = editor->window()->findChild<QFileDialog*>("editor.background.chooser");
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->windowModality(), Qt::WindowModal);
    chooser->selectFile(QString::fromStdString(photo.string()));
    static_cast<QDialog*>(chooser)->accept();  // what OK does
  }

  TestSupport::ScratchFolder folder;
  std::vector<fs::path> saved;
  EditorCoordinator coordinator{[](const QString&) {}};
};

TEST_F(Background, SavesAPngWithTheSuffixOnACanvasOfTheChosenRatio) {
  const struct {
    const char* source;
    QSize picture;
    int segment;
    QSize canvas;  // empty: too wide to render, reported
  } rows[] = {{"auto.jpg", {300, 200}, 0, {620, 520}},
              {"square.jpg", {300, 200}, 1, {620, 620}},
              {"strip.png", {32700, 1}, 0, {0, 0}}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.source);
    saved.clear();
    WPBackgroundController* editor = open(write(filled(row.picture, Qt::darkCyan), row.source));
    EXPECT_FALSE(editor->preview()->image().isNull());
    WPRatioControl* ratio = editor->ratioControl();
    QTest::mouseClick(ratio, Qt::LeftButton, {},
                      QPoint(ratio->width() * (2 * row.segment + 1) / 8, 10));
    EXPECT_EQ(save(editor).size(), row.canvas);
    if (row.canvas.isEmpty()) {
      ASSERT_TRUE(editor->lastError());
      EXPECT_EQ(editor->lastError()->message, "The image could not be rendered.");
      EXPECT_TRUE(editor->saveButton()->isEnabled());
      continue;
    }
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved.back().filename(),
              fs::path(row.source).stem().string() + " With Background.png");
    EXPECT_EQ(TestSupport::readFile(saved.back()).substr(0, 4), "\x89PNG");
  }
}

TEST_F(Background, SliderReachFollowsThePicturesLongerSide) {
  const struct {
    QSize picture;
    double padding;
    double corners;
  } rows[] = {{{4000, 40}, 2500, 960}, {{300, 200}, 400, 100}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.picture.width());
    WPBackgroundController* editor = open(write(filled(row.picture, Qt::gray), "wide.png"));
    EXPECT_EQ(editor->padding()->slider()->maximum(), row.padding);
    EXPECT_EQ(editor->corner()->slider()->maximum(), row.corners);
  }
}

TEST_F(Background, AnUnreadablePhotographChangesNothingAndASwatchDiscardsAPhotograph) {
  WPBackgroundController* editor = open(write(filled({300, 200}, Qt::white), "photo.jpg"));
  choosePhoto(editor, write(filled({400, 400}, QColor(0, 160, 0)), "green.jpg"));
  EXPECT_LE(distance(editor->preview()->image().pixelColor(2, 2), QColor(0, 160, 0)), 8);
  for (WPBackgroundSwatch* swatch : editor->swatches()) EXPECT_FALSE(swatch->selected());

  const fs::path broken = folder / "broken.jpg";
  TestSupport::writeFile(broken, "\xFF\xD8\xFF not a picture");
  const QImage before = editor->preview()->image();
  choosePhoto(editor, broken);
  ASSERT_TRUE(editor->lastError());
  EXPECT_EQ(editor->lastError()->message,
            TestSupport::failureText([&] { loadEditorImage(broken); }));
  EXPECT_TRUE(editor->hasBackdrop());
  EXPECT_EQ(editor->preview()->image(), before);

  editor->window()->findChild<WPBackgroundSwatch*>("editor.background.solid.12")->click();
  EXPECT_FALSE(editor->hasBackdrop());
  EXPECT_TRUE(editor->swatches().back()->selected());
  EXPECT_EQ(editor->swatches().back()->accessibleName(), "Black background");
  EXPECT_LE(distance(editor->preview()->image().pixelColor(2, 2), QColor(0x11, 0x11, 0x11)), 1);
  EXPECT_LE(distance(save(editor).pixelColor(2, 2), QColor(0x11, 0x11, 0x11)), 1);
}

TEST_F(Background, ResetAfterACustomColourBringsBackTheOpeningState) {
  WPBackgroundController* editor = open(write(filled({300, 200}, Qt::white), "photo.png"));
  const QImage opening = editor->preview()->image();
  editor->customColor()->click();
  auto* chooser = editor->window()->findChild<QColorDialog*>();
  ASSERT_NE(chooser, nullptr);
  chooser->setCurrentColor(QColor(200, 30, 40));
  chooser->accept();
  EXPECT_LE(distance(editor->preview()->image().pixelColor(2, 2), QColor(200, 30, 40)), 1);
  for (WPBackgroundSwatch* swatch : editor->swatches()) EXPECT_FALSE(swatch->selected());
  editor->padding()->slider()->setValue(300);
  editor->shadow()->slider()->setValue(0);
  QTest::mouseClick(editor->ratioControl(), Qt::LeftButton, {}, QPoint(100, 10));

  editor->resetButton()->click();
  EXPECT_EQ(editor->style().name, "Sunset");
  EXPECT_TRUE(editor->swatches().front()->selected());
  EXPECT_EQ(std::count_if(editor->swatches().begin(), editor->swatches().end(),
                          [](auto* s) { return s->selected(); }),
            1);
  EXPECT_EQ(editor->padding()->valueLabel()->text(), "160 px");
  EXPECT_EQ(editor->corner()->value(), 24);
  EXPECT_EQ(editor->shadow()->valueLabel()->text(), "24 px");
  EXPECT_EQ(editor->ratioControl()->selectedSegment(), 0);
  EXPECT_EQ(editor->preview()->image(), opening);
  EXPECT_EQ(editor->customColor()->color(), QColor(200, 30, 40));
}

}  // namespace
