// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAccessible>
#include <QTest>

#include "editors/common/editor_geometry.h"
#include "editors/controls/preview_view.h"
#include "editors/controls/ratio_control.h"
#include "editors/controls/slider_row.h"

namespace {

using namespace Whirlpane;

TEST(Slider, TheKnobRunsEndToEndAndTheRowReportsOnlyTheUsersMoves) {
  const QRectF bar(72, 3, 254, 20);
  EXPECT_DOUBLE_EQ(sliderKnobRect(bar, 0.1, 0.1, 1.0).left(), 72);
  EXPECT_DOUBLE_EQ(sliderKnobRect(bar, 1.0, 0.1, 1.0).left(), 72 + 254 - 18);
  EXPECT_DOUBLE_EQ(sliderKnobRect(bar, 5, 5, 5).left(), 72) << "an empty range";
  Slider empty(5, 5, 5, nullptr);
  empty.resize(200, 20);
  QTest::mouseClick(&empty, Qt::LeftButton, {}, QPoint(150, 10));
  EXPECT_EQ(empty.value(), 5);

  SliderRow row("Padding", 13, 0, 384, 0, 200, 24.9, "editor.test.padding", nullptr);
  EXPECT_EQ(row.valueLabel()->text(), "24 px");
  std::vector<double> reported;
  row.handler = [&](double v) { reported.push_back(v); };
  QTest::mouseClick(row.slider(), Qt::LeftButton, {},
                    QPoint(int(row.slider()->bar().right()) + 30, 10));
  EXPECT_EQ(row.valueLabel()->text(), "200 px");
  QTest::mouseClick(row.slider(), Qt::LeftButton, {}, QPoint(-30, 10));
  row.setValue(50);
  EXPECT_EQ(row.valueLabel()->text(), "50 px");
  // An assistive tool sees a slider with its range, and sets values as the user would.
  QAccessibleInterface* access = QAccessible::queryAccessibleInterface(row.slider());
  ASSERT_TRUE(access && access->valueInterface());
  EXPECT_EQ(access->role(), QAccessible::Slider);
  EXPECT_EQ(access->text(QAccessible::Name), "Padding");
  EXPECT_EQ(access->valueInterface()->maximumValue().toDouble(), 200);
  EXPECT_EQ(access->valueInterface()->currentValue().toDouble(), 50);
  access->valueInterface()->setCurrentValue(80);
  EXPECT_EQ(row.valueLabel()->text(), "80 px");
  access->valueInterface()->setCurrentValue(-5);
  EXPECT_EQ(reported, (std::vector<double>{200, 0, 80, 0}))
      << "values set from code are not reported";
}

TEST(RatioControl, ClicksOutsideTheSegmentsPickTheNearestEndAndReselectingIsSilent) {
  std::vector<int> picked;
  RatioControl control({"Free", "1:1", "4:3", "16:9"}, QRectF(0, 0, 200, 24), "editor.test.ratio",
                       nullptr, [&](int index) { picked.push_back(index); });
  // x → the segment selected
  const std::pair<int, int> clicks[] = {{260, 3}, {199, 3}, {-40, 0}, {0, 0},
                                        {60, 1},  {50, 1},  {49, 0}};
  for (const auto& [x, selected] : clicks) {
    QTest::mousePress(&control, Qt::LeftButton, {}, QPoint(x, 12));
    EXPECT_EQ(control.selectedSegment(), selected) << x;
  }
  control.setSelectedSegment(2);
  EXPECT_EQ(picked, (std::vector<int>{3, 0, 1, 0}));
  EXPECT_EQ(ratioSegmentAt(5, ratioSegmentEdges({}, 100)), 0) << "no segments count as one";
}

TEST(RatioControl, SegmentsAreEqualUnlessALabelNeedsMoreThanItsShare) {
  const struct {
    std::vector<qreal> needs;
    std::vector<qreal> edges;  // of a control 200 wide
  } cases[] = {
      {{30, 20, 20, 20}, {0, 50, 100, 150, 200}},
      {{90, 20, 20, 20}, {0, 90, 90 + 110 / 3.0, 90 + 220 / 3.0, 200}},
      {{90, 80, 20}, {0, 90, 170, 200}},  // the second no longer fits once the first took its need
      {{150, 150}, {0, 100, 200}},        // too wide together: in proportion
      {{}, {0, 200}},
  };
  for (const auto& c : cases) {
    const std::vector<qreal> edges = ratioSegmentEdges(c.needs, 200);
    ASSERT_EQ(edges.size(), c.edges.size());
    for (size_t i = 0; i < edges.size(); ++i) EXPECT_NEAR(edges[i], c.edges[i], 1e-9) << i;
  }
  // A label longer than its share gets its room, and clicks follow the wider segment.
  RatioControl wide({"Proportions libres", "1:1", "4:3"}, QRectF(0, 0, 200, 24), "editor.test.wide",
                    nullptr);
  EXPECT_TRUE(wide.labelsFit());
  EXPECT_GT(wide.segmentRect(0).width(), 200 / 3.0);
  wide.setSelectedSegment(2);
  QTest::mousePress(&wide, Qt::LeftButton, {}, QPoint(int(wide.segmentRect(1).left()) - 2, 12));
  EXPECT_EQ(wide.selectedSegment(), 0);
  RatioControl narrow({"Proportions libres", "Automatique"}, QRectF(0, 0, 90, 24),
                      "editor.test.narrow", nullptr);
  EXPECT_FALSE(narrow.labelsFit());
}

TEST(PreviewView, ScalesThePictureToFitCenteredEvenWhenItIsSmall) {
  const QRectF bounds(0, 0, 388, 360);
  EXPECT_EQ(fitInInset(bounds, {100, 50}, 12), QRectF(12, 89, 364, 182));
  EXPECT_EQ(fitInInset(bounds, {1000, 3360}, 12), QRectF(144, 12, 100, 336));
  EXPECT_EQ(fitInInset(bounds, {0, 0}, 12), QRectF());
}

}  // namespace
