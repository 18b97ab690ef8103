#include <gtest/gtest.h>

#include "editors/adjust/adjustment_controller.h"
#include "editors/common/editor_image.h"
#include "editors/controls/action_button.h"
#include "editors/controls/preview_view.h"
#include "editors/controls/slider_row.h"
#include "editors/editor_coordinator.h"
#include "tests/editors/editor_support.h"
#include "tests/support/test_support.h"

namespace {

using namespace Whirlpane;
using EditorTests::mouse;
using EditorTests::waitForSave;
namespace fs = std::filesystem;

// A picture whose every pixel differs, so that any misplaced one shows.
QImage numbered(int width, int height) {
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb(x % 256, y % 256, (x * 7 + y) % 256));
  }
  return image;
}

TEST(Adjustment, ColoursFollowTheMatrixAndTheNeutralSettingsChangeNothing) {
  const struct {
    const char* name;
    Adjustment adjustment;
    QRgb in, out;  // premultiplied
  } rows[] = {
      // clang-format off
      {"neutral", {}, qRgba(37, 90, 201, 255), qRgba(37, 90, 201, 255)},
      {"neutral, premultiplied", {}, qRgba(20, 60, 90, 128), qRgba(20, 60, 90, 128)},
      {"brightness +1: white", {.brightness = 1}, qRgba(40, 128, 200, 255), qRgba(255, 255, 255, 255)},
      {"within alpha", {.brightness = 1}, qRgba(10, 20, 30, 128), qRgba(128, 128, 128, 128)},
      {"brightness -0.25", {.brightness = -0.25}, qRgba(100, 150, 200, 255), qRgba(36, 86, 136, 255)},
      {"contrast 0: mid-grey", {.contrast = 0}, qRgba(0, 90, 255, 255), qRgba(128, 128, 128, 255)},
      {"contrast 2", {.contrast = 2}, qRgba(96, 128, 160, 255), qRgba(64, 129, 193, 255)},
      {"saturation 0: Rec. 709", {.saturation = 0}, qRgba(255, 0, 0, 255), qRgba(54, 54, 54, 255)},
      {"saturation 2", {.saturation = 2}, qRgba(150, 100, 100, 255), qRgba(189, 89, 89, 255)},
      // clang-format on
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    QImage image(3, 2, QImage::Format_ARGB32_Premultiplied);
    image.fill(row.in);
    const QImage result = adjusted(image, row.adjustment);
    const QRgb got = result.pixel(2, 1);
    EXPECT_NEAR(qRed(got), qRed(row.out), 1);
    EXPECT_NEAR(qGreen(got), qGreen(row.out), 1);
    EXPECT_NEAR(qBlue(got), qBlue(row.out), 1);
    EXPECT_EQ(qAlpha(got), qAlpha(row.out));
  }
}

TEST(Adjustment, TurnsAndTheMirrorMovePixelsWhereTheyBelong) {
  const QImage source = numbered(130, 70);  // over two tiles wide
  QImage turned = source;
  for (int turn = 0; turn < 4; ++turn) turned = adjusted(turned, {.quarterTurns = 1});
  EXPECT_EQ(turned, source);
  const QImage once = adjusted(source, {.quarterTurns = 1});
  EXPECT_EQ(once.size(), QSize(70, 130));
  EXPECT_EQ(once.pixel(69, 0), source.pixel(0, 0));  // the top-left corner goes top right
  const QImage half = adjusted(source, {.quarterTurns = 2});
  EXPECT_EQ(half.pixel(0, 0), source.pixel(129, 69));
  const QImage mirrored = adjusted(source, {.flipped = true});
  EXPECT_EQ(mirrored.pixel(0, 5), source.pixel(129, 5));
  // Mirrored first, then turned: the source's top-left corner ends bottom right.
  EXPECT_EQ(adjusted(source, {.quarterTurns = 1, .flipped = true}).pixel(69, 129),
            source.pixel(0, 0));
  EXPECT_EQ(previewSource(numbered(1800, 1200)).size(), QSize(900, 600));
}

// Drags `row`'s knob from where it is to `value`.
void slide(WPSliderRow* row, double value) {
  WPSlider* slider = row->slider();
  const QRectF bar = slider->bar();
  const auto at = [&](double v) {
    return QPointF(
        bar.left() + 9 +
            (bar.width() - 18) * (v - slider->minimum()) / (slider->maximum() - slider->minimum()),
        bar.center().y());
  };
  mouse(slider, QEvent::MouseButtonPress, at(slider->value()));
  mouse(slider, QEvent::MouseMove, at(value));
  mouse(slider, QEvent::MouseButtonRelease, at(value));
}

TEST(AdjustmentWindow, SlidersButtonsResetAndSave) {
  TestSupport::startVips();
  TestSupport::ScratchFolder folder;
  const fs::path source = folder / "photo.jpg";
  TestSupport::saveImage(TestSupport::testPicture(400, 300), source);
  EditorCoordinator coordinator{[](const QString&) {}};
  QWidget* window = coordinator.makeOffscreenWindow("edit", source, [](const fs::path&) {});
  auto* editor = dynamic_cast<WPAdjustmentController*>(coordinator.editorOf(window));
  ASSERT_NE(editor, nullptr);
  const QImage start = editor->preview()->image();
  EXPECT_EQ(start.size(), QSize(400, 300));  // small pictures are not enlarged
  EXPECT_EQ(start, loadEditorImage(source));

  slide(editor->brightness(), 0.25);
  slide(editor->saturation(), 0.5);
  EXPECT_EQ(editor->brightness()->valueLabel()->text(), "+25%");
  EXPECT_EQ(editor->saturation()->valueLabel()->text(), "50%");
  EXPECT_GT(qGray(editor->preview()->image().pixel(200, 150)), qGray(start.pixel(200, 150)));

  // The mirror is applied first whichever button comes first.
  editor->flipButton()->click();
  editor->rotateButton()->click();
  const QImage flipThenTurn = editor->preview()->image();
  editor->resetEditor();
  EXPECT_EQ(editor->brightness()->valueLabel()->text(), "+0%");
  EXPECT_EQ(editor->contrast()->valueLabel()->text(), "100%");
  EXPECT_EQ(editor->saturation()->valueLabel()->text(), "100%");
  EXPECT_EQ(editor->preview()->image(), start);
  slide(editor->brightness(), 0.25);
  slide(editor->saturation(), 0.5);
  editor->rotateButton()->click();
  editor->flipButton()->click();
  EXPECT_EQ(editor->preview()->image(), flipThenTurn);

  std::vector<fs::path> saved;
  editor->onSaved = [&](const fs::path& file) { saved.push_back(file); };
  editor->saveButton()->click();
  waitForSave(editor);
  ASSERT_EQ(saved.size(), 1u);
  EXPECT_EQ(saved[0], folder / "photo Edited.png");
  const vips::VImage written = TestSupport::loadWithVips(saved[0]);
  EXPECT_EQ(written.width(), 300);
  EXPECT_EQ(written.height(), 400);
}

}  // namespace
