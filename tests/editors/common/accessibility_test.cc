// SPDX-License-Identifier: GPL-3.0-or-later
// The editors as a screen reader hears them and worked from the keyboard
// alone: each control a role and a name a person reads, never an identifier;
// the segmented pickers a group of pressable buttons; Tab in reading order,
// the keys of the sliders and the pickers, Return in Crop's size fields.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QLineEdit>
#include <QMap>
#include <QTest>

#include "editors/common/editor_text.h"
#include "editors/controls/ratio_control.h"
#include "editors/crop/crop_canvas.h"
#include "editors/crop/crop_controller.h"
#include "editors/rendering/background_style.h"
#include "tests/editors/editor_support.h"

namespace {

using namespace Whirlpane;

class Accessibility : public EditorTests::EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    TestSupport::saveImage(TestSupport::testPicture(64, 48), source);
  }

  // Every accessible object under `window` that shows, by object name.
  static QMap<QString, QAccessibleInterface*> exposed(QWidget* window) {
    QMap<QString, QAccessibleInterface*> found;
    std::vector<QAccessibleInterface*> pending{QAccessible::queryAccessibleInterface(window)};
    while (!pending.empty()) {
      QAccessibleInterface* each = pending.back();
      pending.pop_back();
      if (!each || each->state().invisible) continue;
      if (each->object()) found.insert(each->object()->objectName(), each);
      for (int i = 0; i < each->childCount(); ++i) pending.push_back(each->child(i));
    }
    return found;
  }

  std::filesystem::path source = folder / "photo.jpg";
};

TEST_F(Accessibility, ControlsHaveTheRoleAndNameAPersonReads) {
  const struct {
    const char* editor;
    const char* control;  // after "editor.<editor>."
    QAccessible::Role role;
    const char* name;
  } cases[] = {
      {"compress", "save", QAccessible::Button, "Compress & Save"},
      {"compress", "close", QAccessible::Button, "Close Compress"},
      {"compress", "quality", QAccessible::Slider, "Quality"},
      {"metadata", "entries", QAccessible::EditableText, "Metadata entries"},
      {"metadata", "reset", QAccessible::NoRole, ""},  // not on screen, not exposed
      {"edit", "rotate", QAccessible::Button, "Rotate 90\u00b0"},
      {"edit", "flip", QAccessible::Button, "Flip"},
      {"crop", "width", QAccessible::EditableText, "Width in pixels"},
      {"crop", "height", QAccessible::EditableText, "Height in pixels"},
      {"crop", "ratio", QAccessible::Grouping, "Aspect ratio"},
      {"annotate", "tool", QAccessible::Grouping, "Tool"},
      {"annotate", "text", QAccessible::EditableText, "Label text"},
      {"annotate", "color", QAccessible::Button, "Ink colour"},
      {"background", "ratio", QAccessible::Grouping, "Ratio"},
      {"background", "gradient.0", QAccessible::Button, "Sunset background"},
  };
  for (const auto& c : cases) {
    EditorFrame* editor = open(c.editor, source);
    ASSERT_NE(editor, nullptr) << c.editor;
    editor->window()->show();
    const auto found = exposed(editor->window());
    QAccessibleInterface* control = found.value(QString("editor.%1.%2").arg(c.editor, c.control));
    EXPECT_EQ(control ? control->role() : QAccessible::NoRole, c.role) << c.editor << c.control;
    EXPECT_EQ(control ? control->text(QAccessible::Name) : "", QString::fromUtf8(c.name))
        << c.editor << c.control;
    editor->close();
  }
  // The pictures say which editor they are for.
  const std::pair<const char*, const char*> canvases[] = {{"annotate", "Picture to annotate"},
                                                          {"redact", "Picture to redact"}};
  for (const auto& [key, name] : canvases) {
    EditorFrame* editor = open(key, source);
    editor->window()->show();
    QAccessibleInterface* canvas = exposed(editor->window()).value("editor.annotation.canvas");
    ASSERT_NE(canvas, nullptr) << key;
    EXPECT_EQ(canvas->text(QAccessible::Name), name);
    editor->close();
  }
}

TEST_F(Accessibility, NoEditorExposesAnIdentifierOrANamelessControl) {
  const QAccessible::Role controls[] = {QAccessible::Button, QAccessible::Slider,
                                        QAccessible::EditableText, QAccessible::Grouping};
  for (const std::string& key : coordinator.editorKeys()) {
    EditorFrame* editor = open(key, source);
    editor->window()->show();
    const auto found = exposed(editor->window());
    for (auto each = found.begin(); each != found.end(); ++each) {
      const QString name = each.value()->text(QAccessible::Name);
      EXPECT_FALSE(name.startsWith("editor.")) << each.key().toStdString();
      if (std::find(std::begin(controls), std::end(controls), each.value()->role()) !=
          std::end(controls)) {
        EXPECT_FALSE(name.trimmed().isEmpty()) << each.key().toStdString();
      }
    }
    editor->close();
  }
}

// The WCAG contrast ratio of `text` laid over the opaque `surface`.
double contrast(const QColor& text, const QColor& surface) {
  const auto linear = [](double c) {
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  const auto luminance = [&](double r, double g, double b) {
    return 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b);
  };
  const double a = text.alphaF();
  const double over = luminance(text.redF() * a + surface.redF() * (1 - a),
                                text.greenF() * a + surface.greenF() * (1 - a),
                                text.blueF() * a + surface.blueF() * (1 - a));
  const double under = luminance(surface.redF(), surface.greenF(), surface.blueF());
  return (std::max(over, under) + 0.05) / (std::min(over, under) + 0.05);
}

TEST_F(Accessibility, EveryTextOnTheSurfaceReadsAtLeast4_5To1) {
  EXPECT_NEAR(contrast(Qt::black, Qt::white), 21, 1e-9);
  EXPECT_GE(contrast(hintColor(), editorSurfaceColor()), 4.5);
  for (const std::string& key : coordinator.editorKeys()) {
    EditorFrame* editor = open(key, source);
    for (const EditorLabel* label : editor->window()->findChildren<EditorLabel*>()) {
      EXPECT_GE(contrast(label->color(), editorSurfaceColor()), 4.5)
          << key << ": " << label->text().toStdString();
    }
    editor->close();
  }
}

TEST(RatioAccessibility, EachSegmentIsAPressableButtonNamedByItsLabel) {
  std::vector<int> picked;
  RatioControl control({"Free", "1:1", "16:9"}, QRectF(0, 0, 200, 24), "editor.test.ratio", nullptr,
                       [&](int index) { picked.push_back(index); });
  control.setAccessibleName("Aspect ratio");
  control.show();
  QAccessibleInterface* group = QAccessible::queryAccessibleInterface(&control);
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->role(), QAccessible::Grouping);
  EXPECT_EQ(group->text(QAccessible::Name), "Aspect ratio");
  ASSERT_EQ(group->childCount(), 3);
  const char* labels[] = {"Free", "1:1", "16:9"};
  for (int i = 0; i < 3; ++i) {
    QAccessibleInterface* segment = group->child(i);
    ASSERT_NE(segment, nullptr);
    EXPECT_EQ(segment->role(), QAccessible::Button);
    EXPECT_EQ(segment->text(QAccessible::Name), labels[i]);
    EXPECT_EQ(segment->parent()->object(), &control);
    EXPECT_EQ(group->indexOfChild(segment), i);
    ASSERT_NE(segment->actionInterface(), nullptr);
    EXPECT_TRUE(segment->actionInterface()->actionNames().contains(
        QAccessibleActionInterface::pressAction()));
  }
  group->child(2)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(control.selectedSegment(), 2);
  EXPECT_TRUE(group->child(2)->state().checked);
  EXPECT_FALSE(group->child(0)->state().checked);
  EXPECT_EQ(picked, std::vector<int>{2});
  const QPoint middle = control.mapToGlobal(control.segmentRect(1).center().toPoint());
  EXPECT_EQ(group->childAt(middle.x(), middle.y()), group->child(1));
}

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
