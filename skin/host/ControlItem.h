#pragma once
// The Graphics View item that draws one TControl. It takes no pointer input
// (the form routes that itself) and draws nothing of its own: paint goes to
// the control, with the painter already at the control's top-left.

#include <QGraphicsItem>

class TControl;

namespace ostrel::host {

class ControlItem final : public QGraphicsItem {
 public:
  explicit ControlItem(TControl& AControl);

  TControl& Control() const { return FControl; }
  // The control an item draws, when it draws one.
  static TControl* ControlOf(const QGraphicsItem* AItem);

  QRectF boundingRect() const override;
  void paint(QPainter* APainter, const QStyleOptionGraphicsItem* AOption, QWidget* AWidget) override;
  int type() const override { return Type; }

  // Call before a size change so the scene forgets the old area.
  void GeometryChanging() { prepareGeometryChange(); }

  static constexpr int Type = UserType + 0x5c0;

 private:
  TControl& FControl;
};

}  // namespace ostrel::host
