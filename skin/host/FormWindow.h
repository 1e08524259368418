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
  void Press(QMouseEvent* AEvent, bool ADouble);
  // True when Qt's own delivery should see the event too: a proxied widget
  // is the target or already holds Qt's mouse grab.
  bool PassToScene(const QPointF& AClientPoint) const;

  TForm& FForm;
};

}  // namespace ostrel::host
