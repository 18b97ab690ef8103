// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include "editors/controls/action_button.h"
#include "editors/controls/ratio_control.h"
#include "editors/markup/markup_controller.h"
#include "tests/editors/editor_support.h"

namespace {

using namespace Whirlpane;
using EditorTests::mouse;
using vips::VImage;
namespace fs = std::filesystem;

const QRgb black = qRgba(0, 0, 0, 255);
const QRgb orange = QColor(255, 149, 0).rgba();  // the ink of new marks

// A 100 × 100 image in a 120 × 120 view sits at (10, 10) at scale 1.
constexpr QSizeF view(120, 120);

void gesture(AnnotationLayer& layer, const std::vector<QPointF>& path) {
  layer.press(path.front(), view);
  for (size_t i = 1; i < path.size(); ++i) layer.drag(path[i], view);
  layer.release(path.back(), view);
}

TEST(AnnotationLayer, MapsGesturesToMarksAndDropsWhatShowsNothing) {
  AnnotationLayer large(QSize(4000, 3000));
  EXPECT_EQ(large.imageRect({420, 320}), QRectF(10, 10, 400, 300));
  EXPECT_EQ(large.sourcePoint({210, 160}, {420, 320}, false), QPointF(2000, 1500));

  const struct {
    const char* name;
    Tool tool;
    QString text;
    std::vector<QPointF> path;  // view points: press, drags, release
    std::vector<QPointF> kept;  // the finished mark's points; empty: dropped
  } rows[] = {
      // clang-format off
      {"pen pinned, repeats ignored", Tool::pen, "", {{50, 50}, {200, 50}, {200, 50}, {300, 50}}, {{40, 40}, {100, 40}}},
      {"pen click leaves a dot", Tool::pen, "", {{50, 50}}, {{40, 40}}},
      {"rectangle click dropped", Tool::rectangle, "", {{50, 50}, {50, 50}}, {}},
      {"redact click dropped", Tool::redact, "", {{50, 50}}, {}},
      {"arrow moved 0.005 dropped", Tool::arrow, "", {{50, 50}, {50.005, 50}}, {}},
      {"arrow kept", Tool::arrow, "", {{20, 20}, {30, 40}}, {{10, 10}, {20, 30}}},
      {"blank text adds nothing", Tool::text, " \n\t", {{50, 50}}, {}},
      {"text placed by the press", Tool::text, "Hi", {{50, 50}, {80, 80}}, {{40, 40}}},
      {"press off the image ignored", Tool::rectangle, "", {{5, 5}, {60, 60}}, {}},
      // clang-format on
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    AnnotationLayer layer(QSize(100, 100));
    layer.setTool(row.tool);
    layer.textValue = row.text;
    gesture(layer, row.path);
    ASSERT_EQ(layer.count(), row.kept.empty() ? 0 : 1);
    if (!row.kept.empty()) {
      EXPECT_EQ(layer.annotations()[0].points, row.kept);
    }
  }
}

TEST(AnnotationLayer, RedactionsSnapOutwardStayInsideAndCoverLaterStrokes) {
  QImage white(100, 100, QImage::Format_ARGB32_Premultiplied);
  white.fill(Qt::white);
  AnnotationLayer layer(white.size());
  const auto redaction = [&](QPointF p, QPointF q) {
    return layer.redactionRect({Tool::redact, {p, q}, Qt::black, 4, {}});
  };
  EXPECT_EQ(redaction({10.2, 10.7}, {20.5, 30.1}), QRect(QPoint(10, 10), QPoint(20, 30)));
  EXPECT_EQ(redaction({90.5, 95.5}, {130, 140}), QRect(90, 95, 10, 5));
  EXPECT_TRUE(redaction({10, 10}, {10, 40}).isEmpty());
  EXPECT_DOUBLE_EQ(arrowHead({0, 0}, {100, 0}, 10)->length, 40);
  EXPECT_DOUBLE_EQ(arrowHead({0, 0}, {10, 0}, 2)->length, 6) << "a short arrow's head";

  layer.setTool(Tool::redact);
  gesture(layer, {{30, 30}, {60, 60}});
  layer.setTool(Tool::pen);
  layer.strokeWidth = 8;
  gesture(layer, {{20, 45}, {100, 45}});
  const QImage covered = layer.renderedImage(white);
  EXPECT_EQ(covered.pixel(35, 35), black) << "the redaction on top of the pen";
  EXPECT_EQ(covered.pixel(60, 35), orange) << "the stroke beyond it";
}

TEST(AnnotationLayer, MarksAreSavedAsThickAsTheyLookedWhateverThePictureSize) {
  // The same marks made in the same 420 × 320 view on a small and a large
  // picture: saved, each is as thick, in the view's units, as it was seen.
  const struct {
    Tool tool;
    double shownThickness;  // view units: the pen 6 wide, capital letters 30 high
  } tools[] = {{Tool::pen, 6}, {Tool::text, 30 * 0.7}};
  const QSizeF canvas(420, 320);
  for (const QSize size : {QSize(400, 300), QSize(4000, 3000)}) {
    for (const auto& tool : tools) {
      SCOPED_TRACE(toolName(tool.tool).data() + (" on " + std::to_string(size.width())));
      QImage white(size, QImage::Format_ARGB32_Premultiplied);
      white.fill(Qt::white);
      AnnotationLayer layer(size);
      layer.strokeWidth = 6;
      layer.textValue = "HHH";
      layer.setTool(tool.tool);
      layer.press({100, 100}, canvas);
      layer.drag({300, 100}, canvas);
      layer.release({300, 100}, canvas);
      const QImage saved = layer.renderedImage(white);
      int inked = 0;  // rows with ink in them
      for (int y = 0; y < saved.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(saved.constScanLine(y));
        inked += std::any_of(row, row + saved.width(), [](QRgb p) { return qGray(p) < 200; });
      }
      const double imagePerView = size.width() / layer.imageRect(canvas).width();
      EXPECT_NEAR(inked / imagePerView, tool.shownThickness, tool.shownThickness * 0.25);
    }
  }
}

// Drags on `canvas` between two image pixels; `release` false leaves the
// mark in progress.
void drag(AnnotationCanvas* canvas, QPointF from, QPointF to, bool release = true) {
  const QRectF r = canvas->layer().imageRect(canvas->size());
  const qreal s = r.width() / canvas->originalImage().width();
  mouse(canvas, QEvent::MouseButtonPress, r.topLeft() + from * s);
  mouse(canvas, QEvent::MouseMove, r.topLeft() + to * s);
  if (release) mouse(canvas, QEvent::MouseButtonRelease, r.topLeft() + to * s);
}

TEST(AnnotationCanvas, EscapeAndCtrlZDropTheDragFirstAndTheViewShowsRedactionsOnTop) {
  QImage image(400, 300, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  AnnotationCanvas canvas(image, nullptr);
  canvas.resize(420, 320);
  canvas.setTool(Tool::redact);
  drag(&canvas, {100, 100}, {200, 200});
  canvas.setTool(Tool::pen);
  drag(&canvas, {50, 150}, {350, 150});
  drag(&canvas, {60, 60}, {90, 90}, false);
  QTest::keyClick(&canvas, Qt::Key_Escape);
  EXPECT_EQ(canvas.count(), 2);
  EXPECT_FALSE(canvas.layer().activeAnnotation());
  drag(&canvas, {60, 60}, {90, 90}, false);
  QTest::keyClick(&canvas, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(canvas.count(), 2);
  QImage shown(canvas.size(), QImage::Format_ARGB32_Premultiplied);
  canvas.render(&shown);
  EXPECT_EQ(shown.pixel(10 + 150, 10 + 150), black);
  EXPECT_EQ(shown.pixel(10 + 300, 10 + 150), orange);
  QTest::keyClick(&canvas, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(canvas.count(), 1);
}

class Markup : public EditorTests::EditorTest {
 protected:
  // Opens `action` on `source`, lets `act` mark it up, saves it and returns
  // the file written.
  fs::path save(const std::string& action, const fs::path& source,
                const std::function<void(MarkupController*)>& act) {
    saved.clear();
    auto* editor = open<MarkupController>(action, source);
    act(editor);
    editor->saveButton()->click();
    EditorTests::waitForSave(editor);
    EXPECT_EQ(saved.size(), 1u) << (reports.isEmpty() ? "" : reports.front().toStdString());
    return saved.empty() ? fs::path() : saved.back();
  }
};

VImage withAlpha(VImage image) { return image.bands() == 4 ? image : image.bandjoin_const({255}); }

TEST_F(Markup, SavedRedactionsAreOpaqueBlackAndNothingElseOfTheSourceChanges) {
  const fs::path photo = folder / "photo.jpg";
  TestSupport::saveImage(TestSupport::testPicture(320, 240), photo, "[Q=95]");
  const std::string tags = " -GPSLatitude -Artist -XMP-dc:Description ";
  TestSupport::shell(
      "exiftool -q -overwrite_original -GPSLatitude=48.85 -GPSLatitudeRef=N "
      "-Artist=Someone -XMP-dc:Description=secret " +
      TestSupport::quoted(photo.string()));
  ASSERT_NE(TestSupport::shell("exiftool -s -s -s" + tags + photo.string()), "");
  const fs::path clear = folder / "clear.png";  // alpha from 0 on the left to 255
  TestSupport::saveImage(TestSupport::testPicture(320, 240, 4), clear);

  for (const fs::path& source : {photo, clear}) {
    SCOPED_TRACE(source.filename());
    std::vector<QRect> covered;
    const fs::path result = save("redact", source, [&](MarkupController* editor) {
      drag(editor->canvas(), {10.2, 10.7}, {60.5, 40.1});
      drag(editor->canvas(), {150, 100}, {400, 400});
      for (const Annotation& mark : editor->canvas()->layer().annotations()) {
        covered.push_back(editor->canvas()->layer().redactionRect(mark));
      }
    });
    ASSERT_EQ(result.filename(), source.stem().string() + " Redacted.png");
    ASSERT_EQ(covered.size(), 2u);
    VImage expected = withAlpha(TestSupport::loadWithVips(source)).copy_memory();
    for (const QRect& r : covered) {
      expected.draw_rect({0, 0, 0, 255}, r.x(), r.y(), r.width(), r.height(),
                         VImage::option()->set("fill", true));
    }
    const VImage written = withAlpha(TestSupport::loadWithVips(result));
    EXPECT_EQ(TestSupport::maxDifference(written, expected), 0.0);
    EXPECT_EQ(TestSupport::shell("exiftool -s -s -s" + tags + "-EXIF:all -XMP:all " +
                                 TestSupport::quoted(result.string())),
              "");
  }
}

TEST_F(Markup, BothModesThroughTheWindow) {
  const fs::path photo = folder / "photo.jpg";
  TestSupport::saveImage(TestSupport::testPicture(200, 150), photo);
  for (const std::string action : {"annotate", "redact"}) {
    SCOPED_TRACE(action);
    auto* editor = open<MarkupController>(action, photo);
    drag(editor->canvas(), {10, 10}, {40, 40});
    drag(editor->canvas(), {50, 50}, {90, 60}, false);
    editor->window()
        ->findChild<ActionButton*>(QString::fromStdString("editor." + action + ".undo"))
        ->click();
    EXPECT_EQ(editor->canvas()->count(), 1) << "Undo drops the drag first";
    editor->resetEditor();
    EXPECT_EQ(editor->canvas()->count(), 0);
    editor->close();
  }

  // A wider stroke and a typed label apply to later marks only.
  const fs::path marked = save("annotate", photo, [](MarkupController* editor) {
    AnnotationCanvas* canvas = editor->canvas();
    drag(canvas, {10, 10}, {40, 40});
    EditorTests::slide(editor->stroke(), 12);
    QTest::keyClicks(editor->textField(), "!");
    mouse(editor->toolControl(), QEvent::MouseButtonPress, {3.5 * 90, 10});
    drag(canvas, {100, 100}, {100, 100});
    const auto& marks = canvas->layer().annotations();
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_EQ(marks[0].tool, Tool::pen);
    const double imagePerView = 200 / canvas->layer().imageRect(canvas->size()).width();
    EXPECT_NEAR(marks[0].width, 6 * imagePerView, 0.01);
    EXPECT_NEAR(marks[1].width, 12 * imagePerView, 0.01);
    EXPECT_EQ(marks[1].tool, Tool::text);
    EXPECT_EQ(marks[1].text, "Text!");
  });
  EXPECT_EQ(marked.filename(), "photo Annotated.png");
  const auto unmarked = [](const VImage& image) {
    return image.extract_area(0, 60, 90, 90).extract_band(0, VImage::option()->set("n", 3));
  };
  EXPECT_EQ(TestSupport::maxDifference(unmarked(TestSupport::loadWithVips(marked)),
                                       unmarked(TestSupport::loadWithVips(photo))),
            0.0);
  EXPECT_TRUE(reports.isEmpty());
}

TEST_F(Markup, TheTextFieldStaysLightUnderADarkPalette) {
  const fs::path photo = folder / "photo.jpg";
  TestSupport::saveImage(TestSupport::testPicture(200, 150), photo);
  const QPalette before = QApplication::palette();
  QPalette dark = before;
  for (auto role : {QPalette::Base, QPalette::Window, QPalette::Button})
    dark.setColor(role, QColor(30, 30, 30));
  for (auto role : {QPalette::Text, QPalette::WindowText, QPalette::PlaceholderText})
    dark.setColor(role, QColor(235, 235, 235));
  QApplication::setPalette(dark);
  auto* editor = open<MarkupController>("annotate", photo);
  auto* field = editor->window()->findChild<QLineEdit*>("editor.annotate.text");
  ASSERT_NE(field, nullptr);
  field->clear();  // the placeholder shows
  const QImage face = field->grab().toImage();
  QApplication::setPalette(before);
  // The field's face to the right of its text, and the text drawn darker than it.
  EXPECT_GT(qGray(face.pixel(face.width() - 12, face.height() / 2)), 200);
  int darkest = 255;
  for (int x = 4; x < face.width() / 2; ++x)
    darkest = std::min(darkest, qGray(face.pixel(x, face.height() / 2)));
  EXPECT_LT(darkest, 160) << "the placeholder is light on light";
}

}  // namespace
