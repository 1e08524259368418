#include "skin/host/StyleObject.h"

#include <QPainter>

TStyleObject::TStyleObject(TControl& AControl, QString AStyleName)
    : FControl(AControl), FStyleName(std::move(AStyleName)) {}

TStyleObject::~TStyleObject() = default;

void TStyleObject::SetHostDrawing(bool AValue) {
  if (AValue == FHostDrawing) return;
  FHostDrawing = AValue;
  Repaint();
}

void TStyleObject::SetOnPaint(TPaintEvent AValue) {
  FOnPaint = std::move(AValue);
  Repaint();
}

void TStyleObject::Repaint() const { FControl.InvalidateRect(BoundsRect()); }

void TStyleObject::Paint(QPainter& ACanvas, qreal AOpacity) {
  if (FHostDrawing) {
    ACanvas.save();
    ACanvas.setOpacity(AOpacity);
    DrawHostLook(ACanvas);
    ACanvas.restore();
  }
  if (FOnPaint) {
    ACanvas.save();
    FOnPaint(this, &ACanvas, BoundsRect());
    ACanvas.restore();
  }
}
