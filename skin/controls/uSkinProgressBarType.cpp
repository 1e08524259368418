#include "skin/controls/uSkinProgressBarType.h"

#include <algorithm>

namespace ostrel::skin {

std::int32_t ClampProgressBarPosition(std::int32_t APosition, std::int32_t AMin, std::int32_t AMax) {
  std::int32_t position = APosition;
  if (position < AMin) position = AMin;
  if (position > AMax) position = AMax;
  return position;
}

double ProgressBarLength(std::int32_t APosition, double ATrackLength, std::int32_t AMin, std::int32_t AMax) {
  const double range = static_cast<double>(AMax) - static_cast<double>(AMin);
  if (range == 0 || !(ATrackLength > 0)) return 0;
  const double length = APosition * (ATrackLength / range);
  if (!(length > 0)) return 0;
  return std::min(length, ATrackLength);
}

TRectF ProgressBarPercentRect(const TRectF& R, TProgressBarOrientation AOrientation, double ALength, bool AIsReverse) {
  TRectF rect = R;
  if (AOrientation == TProgressBarOrientation::prHorizontal) {
    if (AIsReverse)
      rect.setLeft(R.right() - ALength);
    else
      rect.setRight(R.left() + ALength);
  } else {
    if (AIsReverse)
      rect.setTop(R.bottom() - ALength);
    else
      rect.setBottom(R.top() + ALength);
  }
  return rect;
}

std::int64_t ProgressBarPercent(std::int32_t APosition, std::int32_t AMin, std::int32_t AMax) {
  const std::int64_t range = static_cast<std::int64_t>(AMax) - AMin;
  if (range == 0) return 0;
  const std::int64_t scaled = static_cast<std::int64_t>(APosition) * 100;
  std::int64_t quotient = scaled / range;
  if (scaled % range != 0 && (scaled < 0) != (range < 0)) --quotient;
  return quotient;
}

}  // namespace ostrel::skin
