#include "skin/host/Position.h"

#include <cmath>

TPosition::TPosition(TPointF ADefault) : FX(static_cast<float>(ADefault.x())), FY(static_cast<float>(ADefault.y())) {}

void TPosition::SetPoint(const TPointF& AValue) {
  const auto x = static_cast<float>(AValue.x());
  const auto y = static_cast<float>(AValue.y());
  // A point that is not a number keeps the last good one.
  if (!std::isfinite(x) || !std::isfinite(y)) return;
  if (x == FX && y == FY) return;
  FX = x;
  FY = y;
  if (OnChange) OnChange(this);
}

void TPosition::Assign(const TPersistent* ASource) {
  if (const auto* src = dynamic_cast<const TPosition*>(ASource)) {
    SetPoint(src->Point());
    return;
  }
  TPersistent::Assign(ASource);
}

void TBounds::SetBounds(float ALeft, float ATop, float ARight, float ABottom) {
  if (ALeft == FLeft && ATop == FTop && ARight == FRight && ABottom == FBottom) return;
  FLeft = ALeft;
  FTop = ATop;
  FRight = ARight;
  FBottom = ABottom;
  if (OnChange) OnChange(this);
}

TRectF TBounds::PaddingRect(const TRectF& ARect) const {
  return ARect.adjusted(FLeft, FTop, -FRight, -FBottom);
}

void TBounds::Assign(const TPersistent* ASource) {
  if (const auto* src = dynamic_cast<const TBounds*>(ASource)) {
    SetBounds(src->FLeft, src->FTop, src->FRight, src->FBottom);
    return;
  }
  TPersistent::Assign(ASource);
}
