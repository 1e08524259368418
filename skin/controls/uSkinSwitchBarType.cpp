#include "skin/controls/uSkinSwitchBarType.h"

#include <cmath>

namespace ostrel::skin {

double ClampSwitchBarPosition(double APosition, double AMin, double AMax) {
  double position = APosition;
  if (!(position >= AMin)) position = AMin;
  if (position > AMax) position = AMax;
  return position;
}

double SwitchBarValuePixel(double AValue, double ALength, double AMin, double AMax) {
  const double range = AMax - AMin;
  if (range == 0) return 0;
  const double pixel = std::nearbyint(AValue * ALength / range);
  return std::isfinite(pixel) ? pixel : 0;
}

TRectF SwitchBarKnobRect(double AWidth, double AHeight, TSwitchBarOrientation AOrientation, double APixel,
                         double AKnobSize) {
  const bool horizontal = AOrientation == TSwitchBarOrientation::srHorizontal;
  const double length = horizontal ? AWidth : AHeight;
  const double half = AKnobSize / 2;
  double start = 0;
  if (APixel >= length - half) {
    start = APixel - half;
    if (start > length - AKnobSize) start = length - AKnobSize;
  } else if (APixel >= half) {
    start = APixel - half;
  }
  TRectF rect(0, 0, AWidth, AHeight);
  if (horizontal) {
    rect.setLeft(start);
    rect.setRight(start + AKnobSize);
  } else {
    rect.setTop(start);
    rect.setBottom(start + AKnobSize);
  }
  return rect;
}

TRectF SwitchBarForeGndRect(double AWidth, double AHeight, TSwitchBarOrientation AOrientation, double APixel,
                            double AKnobSize) {
  const bool horizontal = AOrientation == TSwitchBarOrientation::srHorizontal;
  double end = APixel > AKnobSize ? APixel + AKnobSize / 2 : APixel;
  const double length = horizontal ? AWidth : AHeight;
  if (end > length) end = length;
  return horizontal ? TRectF(0, 0, end, AHeight) : TRectF(0, 0, AWidth, end);
}

double SwitchBarDragPosition(double AAxis, double AMouseDownOffset, double AKnobSize, double ALength, double AMin,
                             double AMax) {
  const double q = AAxis - AMouseDownOffset - AKnobSize / 2;
  const double span = ALength - AKnobSize;
  if (!(span > 0)) return AMin;
  return AMin + q * (AMax - AMin) / span;
}

}  // namespace ostrel::skin
