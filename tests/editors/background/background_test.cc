// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QColorDialog>
#include <QFileDialog>
#include <QtTest/QTest>

#include "editors/background/background_controller.h"
#include "editors/background/background_settings.h"
#include "editors/common/editor_image.h"
#include "editors/common/editor_text.h"
#include "editors/controls/action_button.h"
#include "editors/controls/background_swatch.h"
#include "editors/controls/color_well.h"
#include "editors/controls/preview_view.h"
#include "editors/controls/ratio_control.h"
#include "tests/editors/editor_support.h"

namespace {

using namespace Whirlpane;
namespace fs = std::filesystem;

int distance(QColor a, QColor b) {
  return std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                   std::abs(a.blue() - b.blue()), std::abs(a.alpha() - b.alpha())});
}

class Background : public EditorTests::EditorTest {
 protected:
  fs::path write(QSize size, QColor color, const std::string& name) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(color);
    const fs::path path = folder / name;
    EXPECT_TRUE(image.save(QString::fromStdString(path.string())));
    return path;
  }

  // Saves with Return, as the user does, and reads back what was written.
  QImage save(BackgroundController* editor) {
    EditorTests::press(editor->window(), Qt::Key_Return);
    EditorTests::waitForSave(editor);
    if (saved.empty()) return {};
    return QImage(QString::fromStdString(saved.back().string()));
  }

  // Picks `photo` in the chooser the image button puts up, and presses OK.
  void choosePhoto(BackgroundController* editor, const fs::path& photo) {
    editor->window()->findChild<ActionButton*>("editor.background.customImage")->click();
    auto* chooser = editor->window()->findChild<QFileDialog*>("editor.background.chooser");
    ASSERT_NE(chooser, nullptr);
    chooser->selectFile(QString::fromStdString(photo.string()));
    static_cast<QDialog*>(chooser)->accept();
  }
};

TEST(BackgroundSettings, ALayoutTooLargeToWriteIsScaledToTheLargestThatFits) {
  const struct {
    QSizeF canvas;
    std::optional<double> dimension;
  } rows[] = {
      {{620, 520}, {}},        {{10000, 10000}, {}},
      {{10320, 10020}, 10148},  // a 10000 × 9700 picture with the default padding
      {{33020, 321}, 32768},   {{40000, 40000}, 10000},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.canvas.width());
    EXPECT_EQ(fittingDimension(row.canvas, 100'000'000), row.dimension);
  }
}

TEST_F(Background, SavesAPngWithTheSuffixOnACanvasOfTheChosenRatio) {
  const struct {
    const char* source;
    QSize picture;
    int segment;
    QSize canvas;
    double padding, corner;  // the sliders' reach: the longer side's share or a floor
    bool scaled;             // too large at full size: said at open, saved scaled down
  } rows[] = {{"auto.jpg", {300, 200}, 0, {620, 520}, 400, 100, false},
              {"square.jpg", {300, 200}, 1, {620, 620}, 400, 100, false},
              // 33020 × 321 at full size, wider than can be written.
              {"strip.png", {32700, 1}, 0, {32768, 319}, 20437.5, 7848, true}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.source);
    saved.clear();
    auto* editor =
        open<BackgroundController>("background", write(row.picture, Qt::darkCyan, row.source));
    EXPECT_EQ(editor->padding()->slider()->maximum(), row.padding);
    EXPECT_EQ(editor->corner()->slider()->maximum(), row.corner);
    EXPECT_EQ(!editor->sizeNote()->isHidden(), row.scaled);
    if (row.scaled) {
      EXPECT_TRUE(editor->sizeNote()->text().contains("32768 \u00d7 319"));
    }
    RatioControl* ratio = editor->ratioControl();
    QTest::mouseClick(ratio, Qt::LeftButton, {},
                      QPoint(ratio->width() * (2 * row.segment + 1) / 8, 10));
    EXPECT_EQ(save(editor).size(), row.canvas);
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved.back().filename(),
              fs::path(row.source).stem().string() + " With Background.png");
    EXPECT_EQ(TestSupport::readFile(saved.back()).substr(0, 4), "\x89PNG");
  }
}

TEST_F(Background, ColorPhotographAndSwatchChoicesResetAndSave) {
  auto* editor =
      open<BackgroundController>("background", write({300, 200}, Qt::white, "photo.jpg"));
  const QImage opening = editor->preview()->image();
  editor->customColor()->click();
  auto* colors = editor->window()->findChild<QColorDialog*>();
  ASSERT_NE(colors, nullptr);
  colors->setCurrentColor(QColor(200, 30, 40));
  colors->accept();
  EXPECT_LE(distance(editor->preview()->image().pixelColor(2, 2), QColor(200, 30, 40)), 1);
  for (BackgroundSwatch* swatch : editor->swatches()) EXPECT_FALSE(swatch->selected());
  choosePhoto(editor, write({400, 400}, QColor(0, 160, 0), "green.jpg"));
  EXPECT_LE(distance(editor->preview()->image().pixelColor(2, 2), QColor(0, 160, 0)), 8);

  // A photograph that does not decode is reported and changes nothing.
  const fs::path broken = folder / "broken.jpg";
  TestSupport::writeFile(broken, "\xFF\xD8\xFF not a picture");
  const QImage before = editor->preview()->image();
  choosePhoto(editor, broken);
  ASSERT_TRUE(editor->lastError());
  EXPECT_EQ(editor->lastError()->message,
            TestSupport::failureText([&] { loadEditorImage(broken); }));
  EXPECT_EQ(editor->preview()->image(), before);
  editor->window()->findChild<BackgroundSwatch*>("editor.background.solid.12")->click();
  EXPECT_FALSE(editor->hasBackdrop());
  EXPECT_LE(distance(editor->preview()->image().pixelColor(2, 2), QColor(0x11, 0x11, 0x11)), 1);

  editor->padding()->slider()->setValue(300);
  QTest::mouseClick(editor->ratioControl(), Qt::LeftButton, {}, QPoint(100, 10));
  editor->resetButton()->click();
  EXPECT_TRUE(editor->swatches().front()->selected());
  EXPECT_EQ(editor->padding()->valueLabel()->text(), "160 px");
  EXPECT_EQ(editor->ratioControl()->selectedSegment(), 0);
  EXPECT_EQ(editor->preview()->image(), opening);
  EXPECT_LE(distance(save(editor).pixelColor(0, 0), QColor(0xFF, 0x71, 0x8D)), 3) << "Sunset";
}

TEST_F(Background, SwatchStripsShowWholeSwatchesAndAnArrowWhileMoreAreHidden) {
  auto* editor = open<BackgroundController>("background", write({60, 40}, Qt::red, "photo.png"));
  ASSERT_NE(editor, nullptr);
  editor->window()->show();
  for (const char* kind : {"gradient", "solid"}) {
    SCOPED_TRACE(kind);
    QWidget* arrow =
        editor->window()->findChild<QWidget*>(QString("editor.background.%1.more").arg(kind));
    ASSERT_NE(arrow, nullptr);
    std::vector<BackgroundSwatch*> row;
    for (BackgroundSwatch* swatch : editor->swatches())
      if (swatch->objectName().contains(kind)) row.push_back(swatch);
    QWidget* viewport = row.front()->parentWidget()->parentWidget();
    // Each swatch whole or out of sight; returns how many show.
    const auto shown = [&] {
      int whole = 0;
      for (BackgroundSwatch* swatch : row) {
        const QRect place(swatch->mapTo(viewport, QPoint(0, 0)), swatch->size());
        EXPECT_TRUE(viewport->rect().contains(place) || !viewport->rect().intersects(place))
            << swatch->objectName().toStdString() << " is cut";
        whole += viewport->rect().contains(place);
      }
      return whole;
    };
    const int first = shown();
    ASSERT_LT(first, int(row.size()));
    EXPECT_TRUE(arrow->isVisible()) << "more swatches are hidden without a sign";
    // A wheel turn, Tab to a hidden swatch, and the arrow move by whole swatches.
    QWheelEvent turn(QPointF(10, 10), viewport->mapToGlobal(QPointF(10, 10)), {}, {0, -120},
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport->parentWidget(), &turn);
    shown();
    row[first + 1]->setFocus();
    shown();
    for (int click = 0;
         click < 10 &&
         row.back()->mapTo(viewport, QPoint()).x() + row.back()->width() > viewport->width();
         ++click) {
      QTest::mouseClick(arrow, Qt::LeftButton);
      shown();
    }
    EXPECT_LE(row.back()->mapTo(viewport, QPoint()).x() + row.back()->width(), viewport->width())
        << "the arrow reaches the last swatch";
    EXPECT_TRUE(arrow->isVisible()) << "the first swatches are hidden now";
    QTest::mouseClick(arrow, Qt::LeftButton);
    EXPECT_EQ(row.front()->mapTo(viewport, QPoint()).x(), row.front()->x()) << "back to the start";
  }
}

}  // namespace
