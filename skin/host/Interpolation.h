#pragma once
// The easing curves of property animations: f(u) for u in 0..1 by
// interpolation and animation type. f(0) = 0 and f(1) = 1 for every curve;
// elastic and back overshoot in between.

#include <cstdint>

enum class TInterpolationType : std::uint8_t {
  Linear,
  Quadratic,
  Cubic,
  Quartic,
  Quintic,
  Sinusoidal,
  Exponential,
  Circular,
  Elastic,
  Back,
  Bounce,
};

enum class TAnimationType : std::uint8_t { In, Out, InOut };

namespace ostrel::host {

double Interpolate(TInterpolationType AInterpolation, TAnimationType AType, double AU);

// Rounds to the nearest integer, halves to the even neighbour.
long long RoundHalfEven(double AValue);

}  // namespace ostrel::host
