// SPDX-License-Identifier: GPL-3.0-or-later
// A damped spring in closed form: a value released at rest at `from` and
// pulled toward `to` by a spring of the given stiffness, damping and mass,
// the motion a grow animation follows. Only underdamped springs (which
// overshoot their target and swing back) are taken; the wheel's is one.
//
// Thread safety: values; no shared state.
#pragma once

namespace Whirlpane {

class Spring {
 public:
  // How near the target counts as settled, in the value's own units: for a
  // scale, a thousandth of the full size (0.12 points at the wheel's rim).
  static constexpr double settlingTolerance = 0.001;

  // Throws std::invalid_argument unless mass and stiffness are positive and
  // the damping is positive and below critical (2 √(stiffness × mass)).
  Spring(double from, double to, double damping, double stiffness, double mass);

  // The value `t` seconds after release: from at 0, approaching `to`.
  double value(double t) const;

  // How long the spring takes to settle: the time from which its amplitude
  // envelope (the bound |from − to| · e^(−ζω₀t) / √(1 − ζ²) on the distance
  // from the target) is within settlingTolerance, so the value stays that
  // close to its target ever after. Zero when it starts that close.
  double settlingDuration() const;

 private:
  double from_;
  double to_;
  double decay_;      // ζω₀, the envelope's rate, 1/s
  double frequency_;  // ω_d, the damped angular frequency, rad/s
};

}  // namespace Whirlpane
