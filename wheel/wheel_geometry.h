// SPDX-License-Identifier: GPL-3.0-or-later
// Every measure of the wheel and the plane geometry built on them: which wedge
// a point falls in, and the outline of each wedge (a ring sector with parallel
// gaps and rounded corners). Coordinates are the wheel view's with the origin
// at the bottom left and y up; angles are degrees counter-clockwise from the
// positive x axis. Wedge indices count clockwise from 12 o'clock, so wedge 0
// points up. Turning these coordinates into a widget's is view_coordinates.h's
// job alone.
//
// Thread safety: values; no shared state.
#pragma once

#include <optional>
#include <vector>

namespace Whirlpane {

struct WheelPoint {
  double x = 0;
  double y = 0;
};

// One step of a wedge outline. Arcs carry their centre, radius, start angle
// and signed sweep (positive is counter-clockwise); `to` is where each step
// ends, so an outline can be followed without evaluating the arcs.
struct OutlineStep {
  enum class Kind { move, line, arc, close };
  Kind kind = Kind::move;
  WheelPoint to;
  WheelPoint center;
  double radius = 0;
  double startAngle = 0;
  double sweep = 0;
};
using Outline = std::vector<OutlineStep>;

class WheelGeometry {
 public:
  static constexpr double radius = 119;      // the wheel disc; outer limit of hits
  static constexpr double wedgeOuter = 112;  // outer radius of a wedge
  static constexpr double wedgeInner = 47;   // inner radius of a wedge; the clickable centre
  static constexpr double hole = 41;         // the drawn central disc
  static constexpr double gap = 6;           // straight band between neighbouring wedges
  static constexpr double outerCorner = 10;  // rounding of a wedge's outer corners
  static constexpr double innerCorner = 6;   // rounding of a wedge's inner corners
  static constexpr double pillWidth = 68;    // the label pill around the centre caption
  static constexpr double pillHeight = 34;
  static constexpr double margin = 14;  // transparent border around the disc
  static constexpr double panelSize = 2 * (radius + margin);
  static constexpr double hoverFrom = 44;        // hovering starts 3 inside the wedges' edge
  static constexpr double captionRadius = 79.5;  // distance of a wedge's caption anchor

  // The geometry of `count` wedges in a view of the given size.
  explicit WheelGeometry(int count, double width = panelSize, double height = panelSize);

  int count() const { return count_; }
  // The middle of the view.
  WheelPoint center() const { return center_; }

  // The wedge that owns `point`: none closer than 44 or farther than 119 from
  // the centre (both limits count as inside) and none without wedges. Each
  // wedge owns the half-open angular range of one step centred on its middle,
  // the gaps included.
  std::optional<int> index(WheelPoint point) const;

  // `point` dropped onto the line through the centre in direction `angle`,
  // then moved `offset` sideways (positive: counter-clockwise).
  WheelPoint project(WheelPoint point, double angle, double offset) const;

  // The closed outline of wedge `i`: a move, then lines and arcs, then close.
  // With no wedges the outline is that of a single full ring.
  Outline wedge(int i) const;

  // The direction of wedge `i`'s middle: 90 − i × 360 / count.
  double middleAngle(int i) const;

  // Where wedge `i`'s caption and symbol are centred.
  WheelPoint captionAnchor(int i) const;

  // Whether the view takes a pointer event at `point`: within the wheel disc.
  bool claims(WheelPoint point) const;

  // Whether a press at `point` is on the central disc rather than a wedge.
  bool isCenter(WheelPoint point) const;

 private:
  int count_;
  WheelPoint center_;
};

}  // namespace Whirlpane
