#pragma once
// The Qt side of a TForm: the scene its controls' items live in and the
// top-level view that shows it and turns Qt's pointer events into the
// form's pointer routing.

#include <QGraphicsScene>
#include <QGraphicsView>

class TForm;

namespace ostrel::host {

class FormScene final : public QGraphicsScene {
 public:
  explicit FormScene(TForm& AForm) : FForm(AForm) {}
  TForm& Form() const { return FForm; }

 private:
  TForm& FForm;
};

class FormView final : public QGraphicsView {
 public:
  FormView(TForm& AForm, QGraphicsScene& AScene);

 protected:
  void mousePressEvent(QMouseEvent* AEvent) override;
  void mouseDoubleClickEvent(QMouseEvent* AEvent) override;
  void mouseMoveEvent(QMouseEvent* AEvent) override;
  void mouseReleaseEvent(QMouseEvent* AEvent) override;
  void wheelEvent(QWheelEvent* AEvent) override;
  void leaveEvent(QEvent* AEvent) override;
  bool viewportEvent(QEvent* AEvent) override;
  void drawBackground(QPainter* APainter, const QRectF& ARect) override;

 private:
  // Who gets a pointer event: the form's own routing, Qt's delivery to proxied
  // widgets, or both.
  enum class Delivery { Controls, ControlsAndScene, Scene };

  void Press(QMouseEvent* AEvent, bool ADouble);
  // Both when a proxied widget is the target or holds Qt's grab; the scene
  // alone while a popup holds the pointer, so a click in the list never
  // reaches a control beneath it.
  Delivery DeliveryAt(const QPointF& AClientPoint) const;
  // A popup a proxied widget opened (Qt embeds it as an item of its own, above
  // every control) holds Qt's mouse grab for as long as it is open.
  bool PopupHoldsThePointer() const;
  // True for the item that shows a control's proxied widget.
  static bool IsControlWidget(const QGraphicsItem* AItem);

  TForm& FForm;
};

}  // namespace ostrel::host
