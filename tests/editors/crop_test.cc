#include <gtest/gtest.h>

#include <QLocale>
#include <QTest>

#include "editors/controls/action_button.h"
#include "editors/controls/ratio_control.h"
#include "editors/crop/crop_canvas.h"
#include "editors/crop/crop_controller.h"
#include "editors/editor_coordinator.h"
#include "tests/editors/editor_support.h"
#include "tests/support/test_support.h"
#include "whirlpane/picture_file.h"

namespace {

using namespace Whirlpane;
using EditorTests::mouse;
using EditorTests::waitForSave;
namespace fs = std::filesystem;

// A canvas of these bounds shows a 640 × 480 picture at (10, 10) at its own
// size, so view points are picture pixels moved by 10.
const QRectF oneToOne(0, 0, 660, 500);
QPointF view(QPointF pixel) { return pixel + QPointF(10, 10); }

TEST(CropSelection, DragsFollowTheGeometryOfTheSelection) {
  const struct {
    const char* name;
    std::optional<double> ratio;
    QRectF start;
    QPointF press;                // picture pixels
    std::optional<QPointF> drag;  // picture pixels, may lie outside the picture
    int handle;
    QRectF expected;
  } rows[] = {
      // clang-format off
      {"16:9 keeps the width and the corner", 16.0 / 9, {0, 0, 640, 480}, {-50, -50}, {},
       CropSelection::newSelection, {0, 0, 640, 360}},
      {"a corner past the picture with a ratio shrinks uniformly", 1.0, {100, 100, 200, 200},
       {300, 300}, QPointF(700, 450), CropSelection::bottomRight, {100, 100, 380, 380}},
      {"a corner past its anchor leaves 1 pixel", {}, {100, 100, 200, 200}, {300, 100},
       QPointF(20, 0), CropSelection::topRight, {100, 0, 1, 300}},
      {"the left edge past the right stops 1 short", {}, {100, 100, 200, 200}, {100, 200},
       QPointF(500, 200), CropSelection::left, {299, 100, 1, 200}},
      {"the top edge past the bottom stops 1 short", {}, {100, 100, 200, 200}, {200, 100},
       QPointF(200, 470), CropSelection::top, {100, 299, 200, 1}},
      {"an edge with a ratio stays centred", 2.0, {100, 100, 200, 100}, {300, 150},
       QPointF(400, 150), CropSelection::right, {100, 75, 300, 150}},
      {"the first handle in order wins", {}, {100, 100, 10, 10}, {105, 101}, QPointF(90, 95),
       CropSelection::topLeft, {90, 95, 20, 15}},
      {"a handle wins over the inside", {}, {100, 100, 200, 200}, {292, 205}, QPointF(320, 205),
       CropSelection::right, {100, 100, 220, 200}},
      {"a move slides along an edge", {}, {100, 100, 200, 200}, {200, 200}, QPointF(700, 250),
       CropSelection::move, {440, 150, 200, 200}},
      {"outside starts a new selection", {}, {100, 100, 200, 200}, {50, 50}, QPointF(20, 30),
       CropSelection::newSelection, {20, 30, 30, 20}},
      // clang-format on
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    CropSelection crop(QSize(640, 480));
    crop.setSelection(row.start);
    crop.setRatio(row.ratio);
    if (row.drag) {
      crop.mouseDown(oneToOne, view(row.press));
      EXPECT_EQ(crop.dragHandle(), row.handle);
      crop.mouseDragged(oneToOne, view(*row.drag));
      crop.mouseUp();
    }
    EXPECT_EQ(crop.dragHandle(), CropSelection::none);
    const QRectF got = crop.selection();
    EXPECT_NEAR(got.x(), row.expected.x(), 1e-9);
    EXPECT_NEAR(got.y(), row.expected.y(), 1e-9);
    EXPECT_NEAR(got.width(), row.expected.width(), 1e-9);
    EXPECT_NEAR(got.height(), row.expected.height(), 1e-9);
  }
}

TEST(LosslessCrop, AJPEGCutOnItsGridKeepsEveryPixelAndAnyOtherIsRefused) {
  TestSupport::startVips();
  TestSupport::ScratchFolder folder;
  const struct {
    const char* name;
    const char* options;  // how the source is saved
    int orientation;
    QRect rect;
    bool lossless;
    bool subsampled = false;
  } rows[] = {
      {"4:4:4 on its 8-pixel grid", "[Q=92,subsample-mode=off]", 1, {8, 16, 201, 113}, true},
      {"4:2:0 on its 16-pixel grid", "[Q=80,subsample-mode=on]", 1, {16, 32, 300, 200}, true, true},
      {"to the far corner", "[Q=80,subsample-mode=on]", 1, {320, 240, 320, 240}, true, true},
      {"4:2:0 off its grid", "[Q=80,subsample-mode=on]", 1, {8, 16, 200, 100}, false},
      {"off the grid", "[Q=92,subsample-mode=off]", 1, {5, 0, 100, 100}, false},
      {"stored turned", "[Q=92,subsample-mode=off]", 6, {0, 0, 100, 100}, false},
  };
  int count = 0;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const fs::path source = folder / ("source" + std::to_string(++count) + ".jpg");
    vips::VImage picture = TestSupport::noisePicture(640, 480).copy();
    picture.set("orientation", row.orientation);
    TestSupport::saveImage(picture, source, row.options);
    const fs::path target = folder / ("cut" + std::to_string(count) + ".jpg");
    const QRect r = row.rect;
    EXPECT_EQ(MediaEngine::writeCroppedJPEG(source, r.x(), r.y(), r.width(), r.height(), target),
              row.lossless);
    EXPECT_EQ(fs::exists(target), row.lossless);
    if (!row.lossless) continue;
    const vips::VImage expected =
        TestSupport::loadWithVips(source).extract_area(r.x(), r.y(), r.width(), r.height());
    const vips::VImage got = TestSupport::loadWithVips(target);
    // Subsampled colour is smoothed from the neighbouring samples as it is
    // decoded: along a cut there are none beyond, so only the outermost pixels
    // may differ from the source's.
    if (!row.subsampled) {
      EXPECT_EQ(TestSupport::maxDifference(got, expected), 0.0);
    }
    EXPECT_EQ(
        TestSupport::maxDifference(got.extract_area(1, 1, r.width() - 2, r.height() - 2),
                                   expected.extract_area(1, 1, r.width() - 2, r.height() - 2)),
        0.0);
  }
}

void type(QLineEdit* field, const QString& text) {
  field->selectAll();
  QTest::keyClicks(field, text);
  QTest::keyClick(field, Qt::Key_Return);
}

class CropWindow : public ::testing::Test {
 protected:
  void SetUp() override { TestSupport::startVips(); }
  void TearDown() override { QLocale::setDefault(QLocale::c()); }

  WPCropController* open(const fs::path& source) {
    QWidget* window = coordinator.makeOffscreenWindow("Crop", source, [](const fs::path&) {});
    return dynamic_cast<WPCropController*>(coordinator.editorOf(window));
  }

  TestSupport::ScratchFolder folder;
  EditorCoordinator coordinator{[](const QString&) {}};
};

TEST_F(CropWindow, PickerMouseAndFieldsCropWhatTheyShowInTheSourceFormat) {
  const struct {
    const char* source;
    const char* saved;
    int width, height;
  } rows[] = {
      {"photo.jpg", "photo Cropped.jpg", 640, 480},
      {"Shot.JPEG", "Shot Cropped.jpeg", 640, 480},
      {"wide.gif", "wide Cropped.png", 1920, 1080},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.source);
    // The fields show plain digits even where numbers are grouped.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const fs::path source = folder / row.source;
    TestSupport::saveImage(TestSupport::testPicture(row.width, row.height), source);
    WPCropController* editor = open(source);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->widthField()->text(), QString::number(row.width));

    // 16:9, by a click on its segment.
    WPRatioControl* ratio = editor->ratio();
    mouse(ratio, QEvent::MouseButtonPress, {ratio->width() * 2.5 / 6, 10});
    EXPECT_EQ(editor->heightField()->text(), QString::number(row.width * 9 / 16));

    // The bottom-right corner dragged in by a quarter of the shown size.
    WPCropCanvas* canvas = editor->canvas();
    const QRectF shown = canvas->geometry().displaySelection(canvas->rect());
    const QPointF to = shown.bottomRight() - QPointF(shown.width(), shown.height()) / 4;
    mouse(canvas, QEvent::MouseButtonPress, shown.bottomRight());
    mouse(canvas, QEvent::MouseMove, to);
    mouse(canvas, QEvent::MouseButtonRelease, to);
    EXPECT_EQ(editor->widthField()->text(), QString::number(row.width * 3 / 4));

    // A typed width: the height follows the ratio, rounded half away from zero.
    type(editor->widthField(), "200");
    EXPECT_EQ(editor->heightField()->text(), "113");
    const QRect taken = canvas->geometry().pixelRect();

    std::vector<fs::path> saved;
    editor->onSaved = [&](const fs::path& file) { saved.push_back(file); };
    editor->saveButton()->click();
    waitForSave(editor);
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0], folder / row.saved);
    const auto rgb = [](const fs::path& file, QRect r) {
      return TestSupport::loadWithVips(file)
          .extract_area(r.x(), r.y(), r.width(), r.height())
          .extract_band(0, vips::VImage::option()->set("n", 3));
    };
    EXPECT_LT(TestSupport::meanDifference(rgb(saved[0], {0, 0, 200, 113}), rgb(source, taken)),
              3.0);
  }
}

TEST_F(CropWindow, ResetFreesTheRatioAndSelectsTheWholePicture) {
  const fs::path source = folder / "photo.png";
  TestSupport::saveImage(TestSupport::testPicture(640, 480), source);
  WPCropController* editor = open(source);
  ASSERT_NE(editor, nullptr);
  WPRatioControl* ratio = editor->ratio();
  mouse(ratio, QEvent::MouseButtonPress, {ratio->width() * 1.5 / 6, 10});  // 1:1
  EXPECT_EQ(editor->widthField()->text(), "480");
  mouse(ratio, QEvent::MouseButtonPress, {5, 10});  // Free: the rectangle stays
  type(editor->heightField(), "100");
  EXPECT_EQ(editor->widthField()->text(), "480");
  editor->resetEditor();
  EXPECT_EQ(ratio->selectedSegment(), 0);
  EXPECT_FALSE(editor->canvas()->geometry().aspectRatio());
  EXPECT_EQ(editor->canvas()->selection(), QRectF(0, 0, 640, 480));
  EXPECT_EQ(editor->heightField()->text(), "480");
}

}  // namespace
