#pragma once
// The Graphics View item that draws one TControl. It takes no pointer input
// (the form routes that itself) and draws nothing of its own: paint goes to
// the control, with the painter already at the control's top-left, above
// the item's backdrop (a glow) when it has one.

#include <QGraphicsItem>
#include <QPainterPath>

class TControl;

namespace ostrel::host {

// Drawn beneath a control and around it, up to Outset beyond its rectangle.
// Told of every change of look in the control's tree, in the control's own
// coordinates (AOwn: the control's own paint, else a child's area).
class IItemBackdrop {
 public:
  virtual qreal Outset() const = 0;
  virtual void PaintBackdrop(QPainter& APainter) = 0;
  virtual void LookChanged(const QRectF& ARect, bool AOwn) = 0;

 protected:
  ~IItemBackdrop() = default;
};

class ControlItem final : public QGraphicsItem {
 public:
  explicit ControlItem(TControl& AControl);

  TControl& Control() const { return FControl; }
  // The control an item draws, when it draws one.
  static TControl* ControlOf(const QGraphicsItem* AItem);

  // The control's rectangle grown by the backdrop's outset.
  QRectF boundingRect() const override;
  // The control's rectangle: what children are clipped to. The scene asks
  // for it on every repaint of a clipping control; the path is kept while
  // the rectangle stays, so a repaint builds none.
  QPainterPath shape() const override;
  void paint(QPainter* APainter, const QStyleOptionGraphicsItem* AOption, QWidget* AWidget) override;
  int type() const override { return Type; }

  // The control's own paint, without the backdrop; it puts back what the
  // paint may change on the painter, as paint does.
  void PaintControl(QPainter& APainter);

  // Null takes the backdrop off; the caller keeps ownership.
  void SetBackdrop(IItemBackdrop* ABackdrop);
  IItemBackdrop* Backdrop() const { return FBackdrop; }

  // Call before a size change so the scene forgets the old area.
  void GeometryChanging() { prepareGeometryChange(); }

  static constexpr int Type = UserType + 0x5c0;

 private:
  TControl& FControl;
  IItemBackdrop* FBackdrop = nullptr;
  mutable QPainterPath FShape;
  mutable QRectF FShapeRect;
};

}  // namespace ostrel::host
