// SPDX-License-Identifier: GPL-3.0-or-later
#include "wheel/wheel_geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Whirlpane {

namespace {

constexpr double degrees = 180 / std::numbers::pi;

// Angular offsets, seen from the centre, of the corner circles' centres from
// the straight edge they touch: asin((gap / 2 + r) / (distance of the circle's
// centre)), for the inner (r 6 at 53) and outer (r 10 at 102) corners. Written
// out so that every build draws the same outline.
constexpr double innerCornerAngle = 9.776849031742003;
constexpr double outerCornerAngle = 7.322318933246443;

WheelPoint polar(WheelPoint center, double distance, double angle) {
  return {center.x + distance * std::cos(angle / degrees),
          center.y + distance * std::sin(angle / degrees)};
}

double direction(WheelPoint from, WheelPoint to) {
  return std::atan2(to.y - from.y, to.x - from.x) * degrees;
}

OutlineStep pathStep(OutlineStep::Kind kind, WheelPoint to) {
  OutlineStep result;
  result.kind = kind;
  result.to = to;
  return result;
}

OutlineStep arc(WheelPoint center, double radius, double start, double sweep) {
  OutlineStep result = pathStep(OutlineStep::Kind::arc, polar(center, radius, start + sweep));
  result.center = center;
  result.radius = radius;
  result.startAngle = start;
  result.sweep = sweep;
  return result;
}

// A corner's arc runs the short way round from `from` to `to`.
OutlineStep cornerArc(WheelPoint center, double radius, WheelPoint from, WheelPoint to) {
  const double start = direction(center, from);
  double sweep = direction(center, to) - start;
  while (sweep > 180) sweep -= 360;
  while (sweep < -180) sweep += 360;
  return arc(center, radius, start, sweep);
}

}  // namespace

WheelGeometry::WheelGeometry(int count, double width, double height)
    : count_(std::max(count, 0)), center_{width / 2, height / 2} {}

std::optional<int> WheelGeometry::index(WheelPoint point) const {
  const double dx = point.x - center_.x;
  const double dy = point.y - center_.y;
  const double r = std::hypot(dx, dy);
  if (r < hoverFrom || r > radius || count_ == 0) return std::nullopt;
  const double clockwiseFromTop = std::fmod(std::atan2(dy, dx) * -degrees + 90 + 360, 360);
  const double step = 360.0 / count_;
  return static_cast<int>(std::floor((clockwiseFromTop + step / 2) / step)) % count_;
}

WheelPoint WheelGeometry::project(WheelPoint point, double angle, double offset) const {
  const WheelPoint u{std::cos(angle / degrees), std::sin(angle / degrees)};
  const WheelPoint v{-u.y, u.x};
  const double t = u.x * (point.x - center_.x) + u.y * (point.y - center_.y);
  return {center_.x + t * u.x + offset * v.x, center_.y + t * u.y + offset * v.y};
}

double WheelGeometry::middleAngle(int i) const { return 90 - 360.0 / std::max(count_, 1) * i; }

WheelPoint WheelGeometry::captionAnchor(int i) const {
  return polar(center_, captionRadius, middleAngle(i));
}

Outline WheelGeometry::wedge(int i) const {
  const double step = 360.0 / std::max(count_, 1);
  const double a0 = middleAngle(i) - step / 2;  // the clockwise edge
  const double a1 = a0 + step;
  const double halfGap = gap / 2;
  const WheelPoint c = center_;

  const WheelPoint i0 = polar(c, wedgeInner + innerCorner, a0 + innerCornerAngle);
  const WheelPoint o0 = polar(c, wedgeOuter - outerCorner, a0 + outerCornerAngle);
  const WheelPoint o1 = polar(c, wedgeOuter - outerCorner, a1 - outerCornerAngle);
  const WheelPoint i1 = polar(c, wedgeInner + innerCorner, a1 - innerCornerAngle);

  const WheelPoint t0 = project(i0, a0, halfGap);
  const WheelPoint t1 = project(o0, a0, halfGap);
  const WheelPoint t2 = project(o1, a1, -halfGap);
  const WheelPoint t3 = project(i1, a1, -halfGap);
  const WheelPoint outer0 = polar(c, wedgeOuter, direction(c, o0));
  const WheelPoint outer1 = polar(c, wedgeOuter, direction(c, o1));
  const WheelPoint inner1 = polar(c, wedgeInner, direction(c, i1));
  const WheelPoint inner0 = polar(c, wedgeInner, direction(c, i0));

  // The outer arc runs counter-clockwise and the inner one clockwise, each the
  // long way round when a single wedge makes the whole ring.
  double outerSweep = direction(c, outer1) - direction(c, outer0);
  while (outerSweep <= 0) outerSweep += 360;
  double innerSweep = direction(c, inner0) - direction(c, inner1);
  while (innerSweep >= 0) innerSweep -= 360;

  using Kind = OutlineStep::Kind;
  return {
      pathStep(Kind::move, t0),
      pathStep(Kind::line, t1),
      cornerArc(o0, outerCorner, t1, outer0),
      arc(c, wedgeOuter, direction(c, outer0), outerSweep),
      cornerArc(o1, outerCorner, outer1, t2),
      pathStep(Kind::line, t3),
      cornerArc(i1, innerCorner, t3, inner1),
      arc(c, wedgeInner, direction(c, inner1), innerSweep),
      cornerArc(i0, innerCorner, inner0, t0),
      pathStep(Kind::close, t0),
  };
}

bool WheelGeometry::claims(WheelPoint point) const {
  return std::hypot(point.x - center_.x, point.y - center_.y) <= radius;
}

bool WheelGeometry::isCenter(WheelPoint point) const {
  return std::hypot(point.x - center_.x, point.y - center_.y) < wedgeInner;
}

}  // namespace Whirlpane
