#include "wheel/view_coordinates.h"

#include <gtest/gtest.h>

#include <QPainterPath>

#include "wheel/wheel_geometry.h"

namespace Whirlpane {
namespace {

TEST(ViewCoordinates, UpInTheWheelIsUpOnTheScreen) {
  const WheelGeometry g(8);
  const ViewCoordinates view(WheelGeometry::panelSize);
  // Widget points (top-left origin) and the wedge each lies in.
  const struct {
    QPointF widget;
    std::optional<int> wedge;
  } cases[] = {
      {{133, 53}, 0},   // above the centre on the screen
      {{213, 133}, 2},  // right
      {{133, 213}, 4},  // below
      {{53, 133}, 6},   // left
      {{180, 70}, 1},   // up and right
      {{133, 133}, std::nullopt},
  };
  for (const auto& c : cases) {
    const WheelPoint p = view.fromQt(c.widget);
    EXPECT_EQ(g.index(p), c.wedge) << c.widget.x() << "," << c.widget.y();
    EXPECT_EQ(view.toQt(p), c.widget);
  }
  EXPECT_EQ(view.toQt(WheelPoint{14, 14}, QSizeF(238, 20)), QRectF(14, 232, 238, 20));
}

// The painted outline of each wedge covers its own caption anchor and nothing
// of its neighbours: arcs keep their direction across the flip.
TEST(ViewCoordinates, WedgePathsCoverTheirOwnWedgeOnlyAndNeverOverlap) {
  for (const int count : {2, 3, 4, 7, 8}) {
    const WheelGeometry g(count);
    const ViewCoordinates view(WheelGeometry::panelSize);
    for (int i = 0; i < count; ++i) {
      const QPainterPath mine = view.toQt(g.wedge(i));
      for (int j = 0; j < count; ++j) {
        EXPECT_EQ(mine.contains(view.toQt(g.captionAnchor(j))), i == j)
            << count << " wedges: path " << i << ", anchor " << j;
        if (j != i) {
          EXPECT_FALSE(mine.intersects(view.toQt(g.wedge(j))))
              << count << " wedges: " << i << " and " << j;
        }
      }
      // Nothing of the outline reaches past the wedge's outer radius.
      const QRectF disc(133 - 112.01, 133 - 112.01, 224.02, 224.02);
      EXPECT_TRUE(disc.contains(mine.boundingRect())) << count << " wedges, " << i;
    }
  }
  const QPainterPath ring = ViewCoordinates(266).toQt(WheelGeometry(1).wedge(0));
  for (const QPointF inside : {QPointF(133, 53), QPointF(53, 133), QPointF(213, 133)})
    EXPECT_TRUE(ring.contains(inside));
  EXPECT_FALSE(ring.contains(QPointF(133, 213)));  // the gap, at the bottom of the screen
}

}  // namespace
}  // namespace Whirlpane
