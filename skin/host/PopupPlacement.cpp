#include "skin/host/PopupPlacement.h"

#include <algorithm>

namespace ostrel::host {

namespace {

QRectF At(const QRectF& ATarget, const QSizeF& ASize, TPlacement APlacement) {
  const QPointF c = ATarget.center();
  const qreal w = ASize.width();
  const qreal h = ASize.height();
  switch (APlacement) {
    case TPlacement::Bottom: return {QPointF(ATarget.left(), ATarget.bottom()), ASize};
    case TPlacement::Top: return {QPointF(ATarget.left(), ATarget.top() - h), ASize};
    case TPlacement::Left: return {QPointF(ATarget.left() - w, ATarget.top()), ASize};
    case TPlacement::Right: return {QPointF(ATarget.right(), ATarget.top()), ASize};
    case TPlacement::Center: return {QPointF(c.x() - w / 2, c.y() - h / 2), ASize};
    case TPlacement::BottomCenter: return {QPointF(c.x() - w / 2, ATarget.bottom()), ASize};
    case TPlacement::TopCenter: return {QPointF(c.x() - w / 2, ATarget.top() - h), ASize};
    case TPlacement::LeftCenter: return {QPointF(ATarget.left() - w, c.y() - h / 2), ASize};
    case TPlacement::RightCenter: return {QPointF(ATarget.right(), c.y() - h / 2), ASize};
  }
  return {ATarget.topLeft(), ASize};
}

TPlacement Opposite(TPlacement APlacement) {
  switch (APlacement) {
    case TPlacement::Bottom: return TPlacement::Top;
    case TPlacement::Top: return TPlacement::Bottom;
    case TPlacement::Left: return TPlacement::Right;
    case TPlacement::Right: return TPlacement::Left;
    case TPlacement::BottomCenter: return TPlacement::TopCenter;
    case TPlacement::TopCenter: return TPlacement::BottomCenter;
    case TPlacement::LeftCenter: return TPlacement::RightCenter;
    case TPlacement::RightCenter: return TPlacement::LeftCenter;
    case TPlacement::Center: break;
  }
  return APlacement;
}

// Whether R crosses AArea on the side APlacement opens to.
bool CrossesOpeningSide(const QRectF& R, TPlacement APlacement, const QRectF& AArea) {
  switch (APlacement) {
    case TPlacement::Bottom:
    case TPlacement::BottomCenter: return R.bottom() > AArea.bottom();
    case TPlacement::Top:
    case TPlacement::TopCenter: return R.top() < AArea.top();
    case TPlacement::Left:
    case TPlacement::LeftCenter: return R.left() < AArea.left();
    case TPlacement::Right:
    case TPlacement::RightCenter: return R.right() > AArea.right();
    case TPlacement::Center: break;
  }
  return false;
}

qreal Inside(qreal AStart, qreal ALength, qreal AAreaStart, qreal AAreaLength) {
  // The far edge first, so a popup longer than the area keeps the near one.
  const qreal start = std::min(AStart, AAreaStart + AAreaLength - ALength);
  return std::max(start, AAreaStart);
}

}  // namespace

QRectF PlacePopup(const QRectF& ATarget, const QSizeF& ASize, TPlacement APlacement, const QRectF& AArea) {
  QRectF r = At(ATarget, ASize, APlacement);
  if (CrossesOpeningSide(r, APlacement, AArea)) {
    const QRectF flipped = At(ATarget, ASize, Opposite(APlacement));
    if (!CrossesOpeningSide(flipped, Opposite(APlacement), AArea)) r = flipped;
  }
  r.moveLeft(Inside(r.left(), r.width(), AArea.left(), AArea.width()));
  r.moveTop(Inside(r.top(), r.height(), AArea.top(), AArea.height()));
  return r;
}

}  // namespace ostrel::host
