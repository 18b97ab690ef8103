#include <gtest/gtest.h>

#include <QTest>

#include "editors/common/editor_geometry.h"
#include "editors/controls/action_button.h"
#include "editors/controls/preview_view.h"
#include "editors/controls/ratio_control.h"
#include "editors/controls/slider_row.h"

namespace {

using namespace Whirlpane;

QImage rendered(QWidget* widget) {
  QImage image(widget->size(), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  widget->render(&image, {}, {}, QWidget::DrawChildren);
  return image;
}

TEST(SliderKnob, RunsFromEndToEndAndSitsLeftWhenTheRangeIsEmpty) {
  const QRectF bar(72, 3, 254, 20);
  const struct {
    double value, minimum, maximum;
    qreal left;
  } cases[] = {
      {0.1, 0.1, 1.0, 72},
      {1.0, 0.1, 1.0, 72 + 254 - 18},
      {0.55, 0.1, 1.0, 72 + (254 - 18) / 2.0},
      {5, 5, 5, 72},  // min = max: no division by zero, knob at the left end
  };
  for (const auto& c : cases) {
    const QRectF knob = sliderKnobRect(bar, c.value, c.minimum, c.maximum);
    EXPECT_NEAR(knob.left(), c.left, 1e-9) << c.value;
    EXPECT_EQ(knob.size(), QSizeF(18, 12));
    EXPECT_EQ(knob.center().y(), bar.center().y());
  }
  WPSlider empty(5, 5, 5, nullptr);
  empty.resize(200, 20);
  QTest::mouseClick(&empty, Qt::LeftButton, {}, QPoint(150, 10));
  EXPECT_EQ(empty.value(), 5);
}

TEST(SliderRow, ShowsItsValueThroughTheFormatterAndReportsMoves) {
  EXPECT_EQ(pixelValueText(24.9), "24 px");
  EXPECT_EQ(pixelValueText(-0.5), "0 px");
  WPSliderRow row("Padding", 13, 0, 384, 0, 200, 24.9, "editor.test.padding", nullptr);
  EXPECT_EQ(row.valueLabel()->text(), "24 px");
  std::vector<double> reported;
  row.handler = [&](double v) { reported.push_back(v); };
  WPSlider* slider = row.slider();
  const QRectF bar = slider->bar();
  QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(int(bar.right()) + 30, 10));
  EXPECT_EQ(row.valueLabel()->text(), "200 px") << "clamped to the maximum";
  QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(-30, 10));
  EXPECT_EQ(reported, (std::vector<double>{200, 0}));
  row.setValue(50);
  EXPECT_EQ(row.valueLabel()->text(), "50 px");
  EXPECT_EQ(reported.size(), 2u) << "values set from code are not reported";
}

TEST(RatioControl, ClicksOutsideTheSegmentsPickTheNearestEndAndReselectingIsSilent) {
  std::vector<int> picked;
  WPRatioControl control({"Free", "1:1", "4:3", "16:9"}, QRectF(0, 0, 200, 24), "editor.test.ratio",
                         nullptr, [&](int index) { picked.push_back(index); });
  EXPECT_EQ(control.selectedSegment(), 0);
  const struct {
    int x;
    int selected;
  } clicks[] = {{260, 3}, {199, 3}, {-40, 0}, {0, 0}, {60, 1}, {50, 1}, {49, 0}};
  for (const auto& c : clicks) {
    QTest::mousePress(&control, Qt::LeftButton, {}, QPoint(c.x, 12));
    EXPECT_EQ(control.selectedSegment(), c.selected) << c.x;
  }
  EXPECT_EQ(picked, (std::vector<int>{3, 0, 1, 0}));
  control.setSelectedSegment(2);
  EXPECT_EQ(picked.size(), 4u) << "a selection from code calls nothing";
  EXPECT_EQ(ratioSegmentAt(5, 100, 0), 0) << "no segments count as one";
}

TEST(ActionButton, ADisabledPrimaryIsHalfStrengthAndASecondaryLooksTheSame) {
  const struct {
    bool primary;
    bool enabled;
    int alpha;
  } cases[] = {{true, true, 255}, {true, false, 128}, {false, true, 19}, {false, false, 19}};
  for (const auto& c : cases) {
    WPActionButton button(QRectF(0, 0, 60, 20), nullptr);
    button.setPrimary(c.primary);
    button.setEnabled(c.enabled);
    // A corner of the fill, away from the (empty) title.
    const QColor fill = rendered(&button).pixelColor(8, 4);
    EXPECT_NEAR(fill.alpha(), c.alpha, 1) << c.primary << c.enabled;
  }
}

TEST(PreviewView, ScalesThePictureToFitCentredEvenWhenItIsSmall) {
  const QRectF bounds(0, 0, 388, 360);
  const struct {
    QSize picture;
    QRectF placed;
  } cases[] = {
      {{100, 50}, {12, 180 - 91, 364, 182}},     // enlarged to the width
      {{1000, 3360}, {194 - 50, 12, 100, 336}},  // reduced to the height
      {{0, 0}, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WPPreviewView::pictureRect(bounds, c.picture, 12), c.placed) << c.picture.width();
  }
}

}  // namespace
