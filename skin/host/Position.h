#pragma once
// Small geometry sub-objects of a control, published so stored forms and
// animations reach their parts by path ("Position.Y", "Margins.Bottom").

#include "skin/host/Persistent.h"
#include "skin/host/Types.h"

// A point whose parts are properties; OnChange fires after a real change.
class TPosition : public TPersistent {
  Q_OBJECT
  Q_PROPERTY(float X READ X WRITE SetX)
  Q_PROPERTY(float Y READ Y WRITE SetY)

 public:
  explicit TPosition(TPointF ADefault = {});

  float X() const { return FX; }
  float Y() const { return FY; }
  void SetX(float AValue) { SetPoint(TPointF(AValue, FY)); }
  void SetY(float AValue) { SetPoint(TPointF(FX, AValue)); }
  TPointF Point() const { return TPointF(FX, FY); }
  void SetPoint(const TPointF& AValue);
  bool Empty() const { return FX == 0.0f && FY == 0.0f; }

  void Assign(const TPersistent* ASource) override;

  TNotifyEvent OnChange;

 private:
  float FX = 0.0f;
  float FY = 0.0f;
};

// Four distances from the edges of a rectangle (margins, paddings).
class TBounds : public TPersistent {
  Q_OBJECT
  Q_PROPERTY(float Left READ Left WRITE SetLeft)
  Q_PROPERTY(float Top READ Top WRITE SetTop)
  Q_PROPERTY(float Right READ Right WRITE SetRight)
  Q_PROPERTY(float Bottom READ Bottom WRITE SetBottom)

 public:
  TBounds() = default;

  float Left() const { return FLeft; }
  float Top() const { return FTop; }
  float Right() const { return FRight; }
  float Bottom() const { return FBottom; }
  void SetLeft(float AValue) { SetBounds(AValue, FTop, FRight, FBottom); }
  void SetTop(float AValue) { SetBounds(FLeft, AValue, FRight, FBottom); }
  void SetRight(float AValue) { SetBounds(FLeft, FTop, AValue, FBottom); }
  void SetBottom(float AValue) { SetBounds(FLeft, FTop, FRight, AValue); }
  void SetBounds(float ALeft, float ATop, float ARight, float ABottom);
  bool Empty() const { return FLeft == 0.0f && FTop == 0.0f && FRight == 0.0f && FBottom == 0.0f; }

  // ARect shrunk by the four distances.
  TRectF PaddingRect(const TRectF& ARect) const;

  void Assign(const TPersistent* ASource) override;

  TNotifyEvent OnChange;

 private:
  float FLeft = 0.0f;
  float FTop = 0.0f;
  float FRight = 0.0f;
  float FBottom = 0.0f;
};
