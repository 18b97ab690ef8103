// SPDX-License-Identifier: GPL-3.0-or-later
// The editors as a screen reader hears them: each control a role and a name a
// person reads, never an identifier; the segmented pickers a group of
// pressable buttons.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QMap>

#include "editors/common/editor_text.h"
#include "editors/controls/ratio_control.h"
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

}  // namespace
