// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdlib>

#include "editors/common/editor_image.h"
#include "editors/controls/action_button.h"
#include "editors/controls/preview_view.h"
#include "editors/edit/adjustment_controller.h"
#include "tests/editors/editor_support.h"

namespace {

using namespace Whirlpane;
using EditorTests::slide;
namespace fs = std::filesystem;

TEST(Adjustment, ColorsFollowTheMatrixAndTheNeutralSettingsChangeNothing) {
  const struct {
    const char* name;
    Adjustment adjustment;
    QRgb in, out;  // premultiplied
  } rows[] = {
      // clang-format off
      {"neutral", {}, qRgba(37, 90, 201, 255), qRgba(37, 90, 201, 255)},
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
    const QRgb got = adjusted(image, row.adjustment).pixel(2, 1);
    EXPECT_NEAR(qRed(got), qRed(row.out), 1);
    EXPECT_NEAR(qGreen(got), qGreen(row.out), 1);
    EXPECT_NEAR(qBlue(got), qBlue(row.out), 1);
    EXPECT_EQ(qAlpha(got), qAlpha(row.out));
  }
}

// What an editor hands the engine: straight RGBA, from whatever format its
// image is in, the same as Qt's own conversion gives.
TEST(EditorImage, PicturesReachTheEngineAsStraightRGBA) {
  QImage straight(256, 3, QImage::Format_ARGB32);
  for (int x = 0; x < 256; ++x) {
    straight.setPixel(x, 0, qRgba(200, 100, 30, x));  // every alpha
    straight.setPixel(x, 1, qRgba(x, 255 - x, 7, 255));
    straight.setPixel(x, 2, qRgba(x, x, x, 0));
  }
  for (const QImage::Format format : {QImage::Format_ARGB32_Premultiplied, QImage::Format_ARGB32,
                                      QImage::Format_RGB32, QImage::Format_RGB888}) {
    SCOPED_TRACE(format);
    const QImage image = straight.convertToFormat(format);
    const QImage expected = image.convertToFormat(QImage::Format_RGBA8888);
    const MediaEngine::Picture picture = pictureOf(image);
    ASSERT_EQ(picture.width, 256);
    ASSERT_EQ(picture.height, 3);
    ASSERT_EQ(picture.rgba.size(), static_cast<size_t>(expected.sizeInBytes()));
    // Dividing by alpha may round the other way than Qt does, by one at most.
    const int tolerance = format == QImage::Format_ARGB32_Premultiplied ? 1 : 0;
    for (size_t i = 0; i < picture.rgba.size(); ++i) {
      ASSERT_LE(std::abs(picture.rgba[i] - expected.constBits()[i]), tolerance) << i;
    }
  }
}

TEST(Adjustment, TurnsAndTheMirrorMovePixelsWhereTheyBelong) {
  // Over two tiles wide, every pixel different, so that any misplaced one shows.
  QImage source(130, 70, QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < 70; ++y) {
    for (int x = 0; x < 130; ++x) source.setPixel(x, y, qRgb(x, y, (x * 7 + y) % 256));
  }
  QImage turned = source;
  for (int turn = 0; turn < 4; ++turn) turned = adjusted(turned, {.quarterTurns = 1});
  EXPECT_EQ(turned, source);
  const QImage once = adjusted(source, {.quarterTurns = 1});
  EXPECT_EQ(once.size(), QSize(70, 130));
  EXPECT_EQ(once.pixel(69, 0), source.pixel(0, 0));
  EXPECT_EQ(adjusted(source, {.quarterTurns = 2}).pixel(0, 0), source.pixel(129, 69));
  EXPECT_EQ(adjusted(source, {.flipped = true}).pixel(0, 5), source.pixel(129, 5));
  // Mirrored first, then turned: the top-left corner ends bottom right.
  EXPECT_EQ(adjusted(source, {.quarterTurns = 1, .flipped = true}).pixel(69, 129),
            source.pixel(0, 0));
  EXPECT_EQ(previewSource(source.scaled(1800, 1200)).size(), QSize(900, 600));
}

using AdjustmentWindow = EditorTests::EditorTest;

TEST_F(AdjustmentWindow, SlidersButtonsResetAndSave) {
  const fs::path source = folder / "photo.jpg";
  TestSupport::saveImage(TestSupport::testPicture(400, 300), source);
  auto* editor = open<AdjustmentController>("edit", source);
  ASSERT_NE(editor, nullptr);
  const QImage start = editor->preview()->image();
  EXPECT_EQ(start, loadEditorImage(source)) << "small pictures are not enlarged";

  slide(editor->brightness(), 0.25);
  slide(editor->saturation(), 0.5);
  EXPECT_EQ(editor->brightness()->valueLabel()->text(), "+25%");
  EXPECT_GT(qGray(editor->preview()->image().pixel(200, 150)), qGray(start.pixel(200, 150)));
  editor->flipButton()->click();
  editor->rotateButton()->click();
  editor->resetEditor();
  EXPECT_EQ(editor->saturation()->valueLabel()->text(), "100%");
  EXPECT_EQ(editor->preview()->image(), start);
  editor->rotateButton()->click();

  editor->saveButton()->click();
  EditorTests::waitForSave(editor);
  ASSERT_EQ(saved, std::vector<fs::path>{folder / "photo Edited.png"});
  const vips::VImage written = TestSupport::loadWithVips(saved[0]);
  EXPECT_EQ(QSize(written.width(), written.height()), QSize(300, 400));
}

TEST_F(AdjustmentWindow, FlipMirrorsWhatIsShownLeftToRightAfterAnyTurns) {
  // The picture's six pixels, named A B C over D E F; each row gives what the
  // preview and the saved file show, row by row, after the clicks
  // (r: Rotate 90° clockwise, f: Flip).
  const struct {
    const char* clicks;
    const char* shown;
  } rows[] = {
      {"f", "CBA/FED"},     {"r", "DA/EB/FC"},   {"rf", "AD/BE/CF"},
      {"fr", "FC/EB/DA"},   {"rrf", "DEF/ABC"},  {"rfr", "CBA/FED"},
      {"rrrf", "FC/EB/DA"}, {"rfrf", "ABC/DEF"}, {"frrr", "AD/BE/CF"},
  };
  const QString names = "ABCDEF";
  QImage picture(3, 2, QImage::Format_ARGB32_Premultiplied);
  for (int i = 0; i < 6; ++i) picture.setPixel(i % 3, i / 3, qRgb(40 * i, 255 - 40 * i, 20 * i));
  const auto layout = [&](const QImage& image) {
    QStringList lines;
    for (int y = 0; y < image.height(); ++y) {
      QString line;
      for (int x = 0; x < image.width(); ++x) {
        int found = -1;
        for (int i = 0; i < 6; ++i) {
          if (image.pixel(x, y) == picture.pixel(i % 3, i / 3)) found = i;
        }
        line += found < 0 ? QChar('?') : names[found];
      }
      lines << line;
    }
    return lines.join('/').toStdString();
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.clicks);
    const fs::path source = folder / (std::string(row.clicks) + ".png");
    ASSERT_TRUE(picture.save(QString::fromStdString(source.string())));
    auto* editor = open<AdjustmentController>("edit", source);
    ASSERT_NE(editor, nullptr);
    for (const char* click = row.clicks; *click; ++click) {
      (*click == 'r' ? editor->rotateButton() : editor->flipButton())->click();
    }
    EXPECT_EQ(layout(editor->preview()->image()), row.shown);
    editor->saveButton()->click();
    EditorTests::waitForSave(editor);
    ASSERT_FALSE(saved.empty());
    EXPECT_EQ(layout(QImage(QString::fromStdString(saved.back().string()))), row.shown);
  }
}

}  // namespace
