#include "skin/controls/uSkinImageType.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ostrel::skin {

int RotateTimerInterval(double ARotateSpeed) {
  constexpr double kMax = std::numeric_limits<int>::max();
  const double interval = std::ceil(ARotateSpeed * 10);
  if (!(interval >= 1)) return 1;
  return static_cast<int>(std::min(interval, kMax));
}

std::int32_t NextRotateAngle(std::int32_t AAngle, std::int32_t AIncrement) {
  const std::int64_t start = AAngle >= 360 ? 0 : AAngle;
  const std::int64_t angle = start + AIncrement;
  if (angle > 360) return 360;
  return static_cast<std::int32_t>(std::max<std::int64_t>(angle, std::numeric_limits<std::int32_t>::min()));
}

std::int32_t NextFrameImageIndex(std::int32_t AIndex, std::int32_t ACount) {
  if (ACount <= 1) return AIndex;
  const std::int64_t next = (static_cast<std::int64_t>(AIndex) + 1) % ACount;
  return static_cast<std::int32_t>(next < 0 ? next + ACount : next);
}

}  // namespace ostrel::skin
