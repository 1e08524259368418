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
  const QRectF own = FControl.LocalRect();
  if (own != FShapeRect || FShape.isEmpty()) {
    QPainterPath path;
    path.addRect(own);
    FShape = path;
    FShapeRect = own;
  }
  return FShape;
}

namespace {

// The view does not keep the painter's state around each item (a saved state
// is a heap copy per item and frame), so an item puts back what a control's
// paint or its OnPaint handler may leave changed. Copies of pens, brushes and
// fonts share their data: keeping them allocates nothing.
class ItemPaintRestore {
 public:
  explicit ItemPaintRestore(QPainter& APainter)
      : FPainter(APainter),
        FPen(APainter.pen()),
        FBrush(APainter.brush()),
        FFont(APainter.font()),
        FOpacity(APainter.opacity()),
        FMode(APainter.compositionMode()),
        FHints(APainter.renderHints()),
        FTransform(APainter.worldTransform()),
        FClipping(APainter.hasClipping()) {}
  ~ItemPaintRestore() {
    if (FPainter.pen() != FPen) FPainter.setPen(FPen);
    if (FPainter.brush() != FBrush) FPainter.setBrush(FBrush);
    if (FPainter.font() != FFont) FPainter.setFont(FFont);
    FPainter.setOpacity(FOpacity);
    FPainter.setCompositionMode(FMode);
    FPainter.setRenderHints(~FHints, false);
    FPainter.setRenderHints(FHints, true);
    FPainter.setWorldTransform(FTransform);
    if (!FClipping && FPainter.hasClipping()) FPainter.setClipping(false);
  }
  ItemPaintRestore(const ItemPaintRestore&) = delete;
  ItemPaintRestore& operator=(const ItemPaintRestore&) = delete;

 private:
  QPainter& FPainter;
  const QPen FPen;
  const QBrush FBrush;
  const QFont FFont;
  const qreal FOpacity;
  const QPainter::CompositionMode FMode;
  const QPainter::RenderHints FHints;
  const QTransform FTransform;
  const bool FClipping;
};

}  // namespace

void ControlItem::paint(QPainter* APainter, const QStyleOptionGraphicsItem*, QWidget*) {
  if (APainter == nullptr) return;
  const ItemPaintRestore restore(*APainter);
  if (FBackdrop != nullptr) FBackdrop->PaintBackdrop(*APainter);
  FControl.PaintItem(*APainter);
}

void ControlItem::PaintControl(QPainter& APainter) {
  const ItemPaintRestore restore(APainter);
  FControl.PaintItem(APainter);
}

void ControlItem::SetBackdrop(IItemBackdrop* ABackdrop) {
  if (ABackdrop == FBackdrop) return;
  prepareGeometryChange();
  FBackdrop = ABackdrop;
  update();
}

}  // namespace ostrel::host
