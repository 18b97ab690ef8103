// SPDX-License-Identifier: GPL-3.0-or-later
// The editors worked from the keyboard alone: Tab in reading order, the keys
// of the sliders and the segmented pickers, Return in Crop's size fields.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include "editors/controls/ratio_control.h"
#include "editors/crop/crop_canvas.h"
#include "editors/crop/crop_controller.h"
#include "editors/rendering/background_style.h"
#include "tests/editors/editor_support.h"

namespace {

using namespace Whirlpane;
using EditorTests::press;

class Keyboard : public EditorTests::EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    TestSupport::saveImage(TestSupport::testPicture(640, 480), source);
  }

  // The object names Tab visits from the window's opening focus until it
  // comes round again.
  static QStringList tabChain(QWidget* window) {
    window->show();
    QStringList names;
    for (int i = 0; i < 80; ++i) {
      QWidget* from = window->focusWidget() ? window->focusWidget() : window;
      press(from, Qt::Key_Tab);
      const QString name = window->focusWidget() ? window->focusWidget()->objectName() : "";
      if (!names.isEmpty() && name == names.front()) break;
      names << name;
    }
    return names;
  }

  std::filesystem::path source = folder / "photo.jpg";
};

TEST_F(Keyboard, TabVisitsEveryControlInReadingOrder) {
  QStringList gradients, solids;
  for (size_t i = 0; i < BackgroundStyle::gradients().size(); ++i)
    gradients << QString("editor.background.gradient.%1").arg(i);
  for (size_t i = 0; i < BackgroundStyle::solids().size(); ++i)
    solids << QString("editor.background.solid.%1").arg(i);
  const struct {
    const char* editor;
    QStringList chain;  // without the prefix "editor.<editor>."
  } cases[] = {
      {"compress", {"close", "quality", "reset", "save"}},
      {"metadata", {"close", "entries", "save"}},
      {"edit",
       {"close", "brightness", "contrast", "saturation", "rotate", "flip", "reset", "save"}},
      {"annotate", {"close", "tool", "stroke", "color", "text", "undo", "reset", "save"}},
      {"background", {}},  // below: the swatches come between its first rows
      {"crop", {"close", "ratio", "width", "height", "reset", "save"}},
      {"redact", {"close", "undo", "reset", "save"}},
  };
  for (const auto& c : cases) {
    EditorFrame* editor = open(c.editor, source);
    ASSERT_NE(editor, nullptr) << c.editor;
    QStringList expected;
    if (QString(c.editor) == "background") {
      expected << "editor.background.close" << gradients << "editor.background.customImage"
               << solids << "editor.background.customColor"
               << "editor.background.padding"
               << "editor.background.corners"
               << "editor.background.shadow"
               << "editor.background.ratio"
               << "editor.background.reset"
               << "editor.background.save";
    }
    for (const QString& name : c.chain) expected << QString("editor.%1.%2").arg(c.editor, name);
    EXPECT_EQ(tabChain(editor->window()).join(' ').toStdString(), expected.join(' ').toStdString());
  }
}

TEST_F(Keyboard, SlidersAndPickersMoveByKey) {
  auto* editor = open("background", source);
  ASSERT_NE(editor, nullptr);
  auto* shadow = editor->window()->findChild<Slider*>("editor.background.shadow");
  ASSERT_NE(shadow, nullptr);
  const double range = shadow->maximum() - shadow->minimum();
  // key → the value after it, in tenths of the range from the minimum
  const std::pair<int, double> slides[] = {{Qt::Key_End, 10},     {Qt::Key_PageDown, 9},
                                           {Qt::Key_PageDown, 8}, {Qt::Key_Home, 0},
                                           {Qt::Key_PageDown, 0}, {Qt::Key_PageUp, 1}};
  for (const auto& [key, tenths] : slides) {
    press(shadow, key);
    EXPECT_NEAR(shadow->value(), shadow->minimum() + range * tenths / 10, 1e-9) << key;
  }

  std::vector<int> picked;
  RatioControl ratio({"Free", "1:1", "4:3"}, QRectF(0, 0, 200, 24), "editor.test.ratio", nullptr,
                     [&](int index) { picked.push_back(index); });
  // key → the segment selected after it
  const std::pair<int, int> arrows[] = {{Qt::Key_Left, 0},  {Qt::Key_Right, 1}, {Qt::Key_Down, 2},
                                        {Qt::Key_Right, 2}, {Qt::Key_Up, 1},    {Qt::Key_Home, 0},
                                        {Qt::Key_End, 2}};
  for (const auto& [key, selected] : arrows) {
    press(&ratio, key);
    EXPECT_EQ(ratio.selectedSegment(), selected) << key;
  }
  EXPECT_EQ(picked, (std::vector<int>{1, 2, 1, 0, 2})) << "only changes are reported";
}

TEST_F(Keyboard, ReturnInACropFieldCommitsTheNumberAndDoesNotSave) {
  auto* editor = open<CropController>("crop", source);
  ASSERT_NE(editor, nullptr);
  QWidget* window = editor->window();
  window->show();
  auto* width = window->findChild<QLineEdit*>("editor.crop.width");
  ASSERT_NE(width, nullptr);
  width->setFocus();
  width->selectAll();
  QTest::keyClicks(width, "200");
  QTest::keyClick(width, Qt::Key_Return);
  EXPECT_EQ(editor->canvas()->selection().width(), 200);
  EXPECT_FALSE(editor->isSaving());
  EXPECT_TRUE(window->isVisible());
  // Return elsewhere still saves.
  press(window, Qt::Key_Return);
  EditorTests::waitForSave(editor);
  ASSERT_EQ(saved.size(), 1u);
}

}  // namespace
