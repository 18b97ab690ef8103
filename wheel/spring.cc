// SPDX-License-Identifier: GPL-3.0-or-later
#include "wheel/spring.h"

#include <cmath>
#include <stdexcept>

namespace Whirlpane {

Spring::Spring(double from, double to, double damping, double stiffness, double mass)
    : from_(from), to_(to) {
  if (!(mass > 0) || !(stiffness > 0) || !(damping > 0))
    throw std::invalid_argument("a spring needs a positive mass, stiffness and damping");
  const double natural = std::sqrt(stiffness / mass);                // ω₀
  const double ratio = damping / (2 * std::sqrt(stiffness * mass));  // ζ
  if (!(ratio < 1)) throw std::invalid_argument("only underdamped springs are supported");
  decay_ = ratio * natural;
  frequency_ = natural * std::sqrt(1 - ratio * ratio);
}

double Spring::value(double t) const {
  // x'' + 2ζω₀x' + ω₀²x = 0 with x(0) = from − to and x'(0) = 0.
  const double start = from_ - to_;
  const double w = frequency_ * t;
  return to_ + start * std::exp(-decay_ * t) * (std::cos(w) + decay_ / frequency_ * std::sin(w));
}

double Spring::settlingDuration() const {
  const double amplitude = std::abs(from_ - to_) * std::hypot(1.0, decay_ / frequency_);
  if (amplitude <= settlingTolerance) return 0;
  return std::log(amplitude / settlingTolerance) / decay_;
}

}  // namespace Whirlpane
