#include "skin/host/ControlItem.h"

#include "skin/host/Control.h"

#include <QPainter>

namespace ostrel::host {

ControlItem::ControlItem(TControl& AControl) : FControl(AControl) {
  setAcceptedMouseButtons(Qt::NoButton);
  setAcceptHoverEvents(false);
}

TControl* ControlItem::ControlOf(const QGraphicsItem* AItem) {
  if (AItem == nullptr || AItem->type() != Type) return nullptr;
  return &static_cast<const ControlItem*>(AItem)->Control();
}

QRectF ControlItem::boundingRect() const { return FControl.LocalRect(); }

void ControlItem::paint(QPainter* APainter, const QStyleOptionGraphicsItem*, QWidget*) {
  if (APainter == nullptr) return;
  APainter->save();
  FControl.PaintItem(*APainter);
  APainter->restore();
}

}  // namespace ostrel::host
