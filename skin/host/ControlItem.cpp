#include "skin/host/ControlItem.h"

#include "skin/host/Control.h"

#include <QPainter>
#include <QPainterPath>

namespace ostrel::host {

ControlItem::ControlItem(TControl& AControl) : FControl(AControl) {
  setAcceptedMouseButtons(Qt::NoButton);
  setAcceptHoverEvents(false);
}

TControl* ControlItem::ControlOf(const QGraphicsItem* AItem) {
  if (AItem == nullptr || AItem->type() != Type) return nullptr;
  return &static_cast<const ControlItem*>(AItem)->Control();
}

QRectF ControlItem::boundingRect() const {
  const QRectF own = FControl.LocalRect();
  if (FBackdrop == nullptr) return own;
  const qreal outset = FBackdrop->Outset();
  return own.adjusted(-outset, -outset, outset, outset);
}

QPainterPath ControlItem::shape() const {
  QPainterPath path;
  path.addRect(FControl.LocalRect());
  return path;
}

void ControlItem::paint(QPainter* APainter, const QStyleOptionGraphicsItem*, QWidget*) {
  if (APainter == nullptr) return;
  if (FBackdrop != nullptr) FBackdrop->PaintBackdrop(*APainter);
  PaintControl(*APainter);
}

// The scene keeps the painter's state around each item (a copy per item), so
// the control's paint is given the painter as it is.
void ControlItem::PaintControl(QPainter& APainter) { FControl.PaintItem(APainter); }

void ControlItem::SetBackdrop(IItemBackdrop* ABackdrop) {
  if (ABackdrop == FBackdrop) return;
  prepareGeometryChange();
  FBackdrop = ABackdrop;
  update();
}

}  // namespace ostrel::host
