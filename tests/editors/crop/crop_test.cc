// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QLocale>
#include <QTest>

#include "editors/controls/action_button.h"
#include "editors/controls/ratio_control.h"
#include "editors/crop/crop_canvas.h"
#include "editors/crop/crop_controller.h"
#include "tests/editors/editor_support.h"
#include "whirlpane/picture_file.h"

namespace {

using namespace Whirlpane;
using EditorTests::mouse;
namespace fs = std::filesystem;

TEST(CropSelection, DragsFollowTheGeometryOfTheSelection) {
  // A canvas of these bounds shows a 640 × 480 picture at (10, 10) at its own
  // size, so view points are picture pixels moved by 10.
  const QRectF oneToOne(0, 0, 660, 500);
  const QPointF view(10, 10);
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
      crop.mouseDown(oneToOne, row.press + view);
      EXPECT_EQ(crop.dragHandle(), row.handle);
      crop.mouseDragged(oneToOne, *row.drag + view);
      crop.mouseUp();
    }
    EXPECT_EQ(crop.dragHandle(), CropSelection::none);
    EXPECT_EQ(crop.selection(), row.expected);
  }
}

using LosslessCrop = EditorTests::EditorTest;

TEST_F(LosslessCrop, AJPEGCutOnItsGridKeepsEveryPixelAndAnyOtherIsRefused) {
  const struct {
    const char* name;
    const char* options;  // how the source is saved
    int orientation;
    QRect rect;
    bool lossless;
  } rows[] = {
      {"4:4:4 on its 8-pixel grid", "[Q=92,subsample-mode=off]", 1, {8, 16, 201, 113}, true},
      {"4:2:0 on its 16-pixel grid", "[Q=80,subsample-mode=on]", 1, {16, 32, 300, 200}, true},
      {"4:2:0 off its grid", "[Q=80,subsample-mode=on]", 1, {8, 16, 200, 100}, false},
      {"stored turned", "[Q=92,subsample-mode=off]", 6, {0, 0, 100, 100}, false},
  };
  const fs::path source = folder / "source.jpg";
  const fs::path target = folder / "cut.jpg";
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    vips::VImage picture = TestSupport::noisePicture(640, 480).copy();
    picture.set("orientation", row.orientation);
    TestSupport::saveImage(picture, source, row.options);
    fs::remove(target);
    const QRect r = row.rect;
    const auto stamp = MediaEngine::fileStamp(source);
    ASSERT_TRUE(stamp);
    EXPECT_EQ(
        MediaEngine::writeCroppedJPEG(source, *stamp, r.x(), r.y(), r.width(), r.height(), target),
        row.lossless);
    EXPECT_EQ(fs::exists(target), row.lossless);
    if (!row.lossless) continue;
    // Subsampled colour is smoothed from neighbouring samples as it is decoded,
    // and along a cut there are none beyond: the outermost pixels may differ.
    const auto inner = [&](const fs::path& file, int x, int y) {
      return TestSupport::loadWithVips(file).extract_area(x + 1, y + 1, r.width() - 2,
                                                          r.height() - 2);
    };
    EXPECT_EQ(TestSupport::maxDifference(inner(target, 0, 0), inner(source, r.x(), r.y())), 0.0);
  }
}

class CropWindow : public EditorTests::EditorTest {
 protected:
  void TearDown() override { QLocale::setDefault(QLocale::c()); }
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
    auto* editor = open<CropController>("Crop", source);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->widthField()->text(), QString::number(row.width));

    // Reset frees a ratio and selects the whole picture again.
    RatioControl* ratio = editor->ratio();
    mouse(ratio, QEvent::MouseButtonPress, {ratio->width() * 1.5 / 6, 10});  // 1:1
    EXPECT_EQ(editor->widthField()->text(), QString::number(row.height));
    editor->resetEditor();
    EXPECT_EQ(ratio->selectedSegment(), 0);
    EXPECT_EQ(editor->canvas()->selection(), QRectF(0, 0, row.width, row.height));

    // 16:9, by a click on its segment.
    mouse(ratio, QEvent::MouseButtonPress, {ratio->width() * 2.5 / 6, 10});
    EXPECT_EQ(editor->heightField()->text(), QString::number(row.width * 9 / 16));

    // The bottom-right corner dragged in by a quarter of the shown size.
    CropCanvas* canvas = editor->canvas();
    const QRectF shown = canvas->geometry().displaySelection(canvas->rect());
    const QPointF to = shown.bottomRight() - QPointF(shown.width(), shown.height()) / 4;
    mouse(canvas, QEvent::MouseButtonPress, shown.bottomRight());
    mouse(canvas, QEvent::MouseMove, to);
    mouse(canvas, QEvent::MouseButtonRelease, to);
    EXPECT_EQ(editor->widthField()->text(), QString::number(row.width * 3 / 4));

    // A typed width: the height follows the ratio, rounded half away from zero.
    editor->widthField()->selectAll();
    QTest::keyClicks(editor->widthField(), "200");
    QTest::keyClick(editor->widthField(), Qt::Key_Return);
    EXPECT_EQ(editor->heightField()->text(), "113");
    const QRect taken = canvas->geometry().pixelRect();

    saved.clear();
    editor->saveButton()->click();
    EditorTests::waitForSave(editor);
    ASSERT_EQ(saved, std::vector<fs::path>{folder / row.saved});
    const auto rgb = [](const fs::path& file, QRect r) {
      return TestSupport::loadWithVips(file)
          .extract_area(r.x(), r.y(), r.width(), r.height())
          .extract_band(0, vips::VImage::option()->set("n", 3));
    };
    EXPECT_LT(TestSupport::meanDifference(rgb(saved[0], {0, 0, 200, 113}), rgb(source, taken)),
              3.0);
  }
}

TEST_F(CropWindow, SavesThePictureShownWhateverBecameOfTheFile) {
  // The shown picture is white, the one put in its place black; a cut of the
  // whole on the block grid would copy whichever the file holds.
  const fs::path victim = folder / "victim.jpg";
  const fs::path other = folder / "other.jpg";
  const vips::VImage white = TestSupport::testPicture(320, 240).new_from_image({255, 255, 255});
  for (const bool deleted : {false, true}) {
    SCOPED_TRACE(deleted ? "deleted" : "replaced");
    TestSupport::saveImage(white, victim, "[Q=92]");
    auto* editor = open<CropController>("crop", victim);
    ASSERT_NE(editor, nullptr);
    if (deleted) {
      fs::remove(victim);
    } else {
      TestSupport::saveImage(white.new_from_image({0, 0, 0}), other, "[Q=92]");
      fs::rename(other, victim);
    }
    saved.clear();
    editor->saveButton()->click();
    EditorTests::waitForSave(editor);
    ASSERT_EQ(saved.size(), 1u) << reports.join('\n').toStdString();
    EXPECT_GT(TestSupport::loadWithVips(saved[0]).avg(), 250);
    fs::remove(saved[0]);
  }
}

}  // namespace
