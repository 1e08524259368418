#include "skin/host/Interpolation.h"

#include <cmath>
#include <numbers>

namespace ostrel::host {

namespace {

using Curve = double (*)(double);

double PowerIn(double u, int n) { return std::pow(u, n); }
// (u - 1)^n + 1 for odd powers, 1 - (u - 1)^n for even ones: both rise to 1 decelerating.
double PowerOut(double u, int n) { return n % 2 == 1 ? std::pow(u - 1, n) + 1 : 1 - std::pow(u - 1, n); }
double PowerInOut(double u, int n) {
  const double h = 2 * u;
  if (h < 1) return std::pow(h, n) / 2;
  return n % 2 == 1 ? (std::pow(h - 2, n) + 2) / 2 : (2 - std::pow(h - 2, n)) / 2;
}

double ExpoIn(double u) { return u == 0 ? 0 : std::exp2(10 * (u - 1)); }
double ExpoOut(double u) { return u == 1 ? 1 : 1 - std::exp2(-10 * u); }
double ExpoInOut(double u) {
  if (u == 0) return 0;
  if (u == 1) return 1;
  const double h = 2 * u;
  return h < 1 ? std::exp2(10 * (h - 1)) / 2 : (2 - std::exp2(-10 * (h - 1))) / 2;
}

double SineIn(double u) { return 1 - std::cos(u * std::numbers::pi / 2); }
double SineOut(double u) { return std::sin(u * std::numbers::pi / 2); }
double SineInOut(double u) { return (1 - std::cos(std::numbers::pi * u)) / 2; }

double CircIn(double u) { return 1 - std::sqrt(1 - u * u); }
double CircOut(double u) { return std::sqrt(1 - (u - 1) * (u - 1)); }
double CircInOut(double u) {
  const double h = 2 * u;
  return h < 1 ? (1 - std::sqrt(1 - h * h)) / 2 : (std::sqrt(1 - (h - 2) * (h - 2)) + 1) / 2;
}

constexpr double kElasticPeriod = 0.3;
double ElasticIn(double u) {
  if (u == 0 || u == 1) return u;
  const double s = kElasticPeriod / 4;
  const double v = u - 1;
  return -std::exp2(10 * v) * std::sin((v - s) * 2 * std::numbers::pi / kElasticPeriod);
}
double ElasticOut(double u) {
  if (u == 0 || u == 1) return u;
  const double s = kElasticPeriod / 4;
  return std::exp2(-10 * u) * std::sin((u - s) * 2 * std::numbers::pi / kElasticPeriod) + 1;
}
double ElasticInOut(double u) {
  if (u == 0 || u == 1) return u;
  const double p = kElasticPeriod * 1.5;
  const double s = p / 4;
  const double v = 2 * u - 1;
  const double wave = std::sin((v - s) * 2 * std::numbers::pi / p);
  return v < 0 ? -std::exp2(10 * v) * wave / 2 : std::exp2(-10 * v) * wave / 2 + 1;
}

constexpr double kBackOvershoot = 1.70158;
double BackIn(double u) { return u * u * ((kBackOvershoot + 1) * u - kBackOvershoot); }
double BackOut(double u) {
  const double v = u - 1;
  return v * v * ((kBackOvershoot + 1) * v + kBackOvershoot) + 1;
}
double BackInOut(double u) {
  const double s = kBackOvershoot * 1.525;
  const double h = 2 * u;
  if (h < 1) return h * h * ((s + 1) * h - s) / 2;
  const double v = h - 2;
  return (v * v * ((s + 1) * v + s) + 2) / 2;
}

double BounceOut(double u) {
  constexpr double k = 7.5625;
  if (u < 1 / 2.75) return k * u * u;
  if (u < 2 / 2.75) {
    const double v = u - 1.5 / 2.75;
    return k * v * v + 0.75;
  }
  if (u < 2.5 / 2.75) {
    const double v = u - 2.25 / 2.75;
    return k * v * v + 0.9375;
  }
  const double v = u - 2.625 / 2.75;
  return k * v * v + 0.984375;
}
double BounceIn(double u) { return 1 - BounceOut(1 - u); }
double BounceInOut(double u) { return u < 0.5 ? BounceIn(2 * u) / 2 : BounceOut(2 * u - 1) / 2 + 0.5; }

double ByType(TAnimationType AType, double AU, Curve AIn, Curve AOut, Curve AInOut) {
  switch (AType) {
    case TAnimationType::In: return AIn(AU);
    case TAnimationType::Out: return AOut(AU);
    case TAnimationType::InOut: return AInOut(AU);
  }
  return AU;
}

double Power(TAnimationType AType, double AU, int AN) {
  switch (AType) {
    case TAnimationType::In: return PowerIn(AU, AN);
    case TAnimationType::Out: return PowerOut(AU, AN);
    case TAnimationType::InOut: return PowerInOut(AU, AN);
  }
  return AU;
}

}  // namespace

double Interpolate(TInterpolationType AInterpolation, TAnimationType AType, double AU) {
  // Exact ends for every curve, so a finished animation lands on its values.
  if (AU <= 0) return 0;
  if (AU >= 1) return 1;
  switch (AInterpolation) {
    case TInterpolationType::Linear: return AU;
    case TInterpolationType::Quadratic: return Power(AType, AU, 2);
    case TInterpolationType::Cubic: return Power(AType, AU, 3);
    case TInterpolationType::Quartic: return Power(AType, AU, 4);
    case TInterpolationType::Quintic: return Power(AType, AU, 5);
    case TInterpolationType::Sinusoidal: return ByType(AType, AU, SineIn, SineOut, SineInOut);
    case TInterpolationType::Exponential: return ByType(AType, AU, ExpoIn, ExpoOut, ExpoInOut);
    case TInterpolationType::Circular: return ByType(AType, AU, CircIn, CircOut, CircInOut);
    case TInterpolationType::Elastic: return ByType(AType, AU, ElasticIn, ElasticOut, ElasticInOut);
    case TInterpolationType::Back: return ByType(AType, AU, BackIn, BackOut, BackInOut);
    case TInterpolationType::Bounce: return ByType(AType, AU, BounceIn, BounceOut, BounceInOut);
  }
  return AU;
}

long long RoundHalfEven(double AValue) {
  const double floor = std::floor(AValue);
  const double diff = AValue - floor;
  auto result = static_cast<long long>(floor);
  if (diff > 0.5 || (diff == 0.5 && result % 2 != 0)) ++result;
  return result;
}

}  // namespace ostrel::host
