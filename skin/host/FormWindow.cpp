#include "skin/host/FormWindow.h"

#include "skin/host/Control.h"
#include "skin/host/ControlItem.h"
#include "skin/host/Form.h"
#include "skin/host/PointerRouter.h"
#include "skin/host/WidgetProxy.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include <exception>
#include <optional>

namespace ostrel::host {

namespace {

std::optional<TMouseButton> ButtonOf(Qt::MouseButton AButton) {
  switch (AButton) {
    case Qt::LeftButton:
      return TMouseButton::mbLeft;
    case Qt::RightButton:
      return TMouseButton::mbRight;
    case Qt::MiddleButton:
      return TMouseButton::mbMiddle;
    default:
      return std::nullopt;
  }
}

TShiftState ShiftOf(Qt::KeyboardModifiers AModifiers, Qt::MouseButtons AButtons) {
  TShiftState shift;
  if (AModifiers.testFlag(Qt::ShiftModifier)) shift.Include(TShiftStateItem::ssShift);
  if (AModifiers.testFlag(Qt::AltModifier)) shift.Include(TShiftStateItem::ssAlt);
  if (AModifiers.testFlag(Qt::ControlModifier)) shift.Include(TShiftStateItem::ssCtrl);
  if (AModifiers.testFlag(Qt::MetaModifier)) shift.Include(TShiftStateItem::ssCommand);
  if (AButtons.testFlag(Qt::LeftButton)) shift.Include(TShiftStateItem::ssLeft);
  if (AButtons.testFlag(Qt::RightButton)) shift.Include(TShiftStateItem::ssRight);
  if (AButtons.testFlag(Qt::MiddleButton)) shift.Include(TShiftStateItem::ssMiddle);
  return shift;
}

// An exception must not unwind into Qt's event loop, which cannot carry it;
// the handler that raised it has done what it could, the window goes on.
template <class F>
void Guarded(F AStep) {
  try {
    AStep();
  } catch (const std::exception& e) {
    qWarning("Unhandled exception in a pointer handler: %s", e.what());
  }
}

}  // namespace

FormView::FormView(TForm& AForm, QGraphicsScene& AScene) : QGraphicsView(&AScene), FForm(AForm) {
  setFrameShape(QFrame::NoFrame);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setTransformationAnchor(QGraphicsView::NoAnchor);
  setResizeAnchor(QGraphicsView::NoAnchor);
  setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
  // Items and the background put back what they change on the painter (see
  // ControlItem::paint), so the view need not save a state per item and frame.
  setOptimizationFlag(QGraphicsView::DontSavePainterState);
  setBackgroundBrush(Qt::NoBrush);
  // drawBackground fills every pixel it is asked for, so the view itself,
  // beneath the viewport, need not be painted first (a painter a frame).
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  viewport()->setMouseTracking(true);
}

void FormView::drawBackground(QPainter* APainter, const QRectF& ARect) {
  if (FForm.Transparency()) {
    const QPainter::CompositionMode mode = APainter->compositionMode();
    APainter->setCompositionMode(QPainter::CompositionMode_Source);
    APainter->fillRect(ARect, Qt::transparent);
    APainter->setCompositionMode(mode);
    return;
  }
  APainter->fillRect(ARect, palette().window());
}

bool FormView::IsControlWidget(const QGraphicsItem* AItem) {
  if (AItem == nullptr) return false;
  const auto* proxy = dynamic_cast<TWidgetProxy*>(ControlItem::ControlOf(AItem->parentItem()));
  return proxy != nullptr && proxy->Proxy() == AItem;
}

bool FormView::PopupHoldsThePointer() const {
  const QGraphicsItem* grabber = scene()->mouseGrabberItem();
  return grabber != nullptr && !IsControlWidget(grabber);
}

FormView::Delivery FormView::DeliveryAt(const QPointF& AClientPoint) const {
  if (const QGraphicsItem* grabber = scene()->mouseGrabberItem()) {
    return IsControlWidget(grabber) ? Delivery::ControlsAndScene : Delivery::Scene;
  }
  const auto* proxy = dynamic_cast<TWidgetProxy*>(FForm.ObjectAtPoint(AClientPoint));
  return proxy != nullptr && proxy->WidgetTakesPointer() ? Delivery::ControlsAndScene : Delivery::Controls;
}

void FormView::Press(QMouseEvent* AEvent, bool ADouble) {
  const std::optional<TMouseButton> button = ButtonOf(AEvent->button());
  if (!button) return;
  FForm.FLastPressScreen = AEvent->globalPosition();
  Guarded([&] { FForm.SetFocusShown(false); });
  TShiftState shift = ShiftOf(AEvent->modifiers(), AEvent->buttons());
  if (ADouble) shift.Include(TShiftStateItem::ssDouble);
  const QPointF point = mapToScene(QPoint(0, 0)) + AEvent->position();
  const Delivery delivery = DeliveryAt(point);
  if (delivery != Delivery::Scene) {
    Guarded([&] { FForm.FRouter->MouseDown(*button, shift, point, AEvent->buttons() == AEvent->button()); });
  }
  if (delivery == Delivery::Controls) return;
  if (ADouble) {
    QGraphicsView::mouseDoubleClickEvent(AEvent);
  } else {
    QGraphicsView::mousePressEvent(AEvent);
  }
}

void FormView::mousePressEvent(QMouseEvent* AEvent) { Press(AEvent, false); }

void FormView::mouseDoubleClickEvent(QMouseEvent* AEvent) { Press(AEvent, true); }

void FormView::mouseMoveEvent(QMouseEvent* AEvent) {
  if (FForm.SelfDragMove(AEvent->globalPosition())) return;
  const QPointF point = mapToScene(QPoint(0, 0)) + AEvent->position();
  if (PopupHoldsThePointer()) {
    // While a popup is open the pointer is over none of the controls.
    Guarded([&] { FForm.FRouter->MouseLeave(); });
  } else {
    Guarded([&] { FForm.FRouter->MouseMove(ShiftOf(AEvent->modifiers(), AEvent->buttons()), point); });
  }
  // Only proxied widgets take Qt's own events, so they see every move and
  // keep their hover right.
  QGraphicsView::mouseMoveEvent(AEvent);
}

void FormView::mouseReleaseEvent(QMouseEvent* AEvent) {
  if (FForm.SelfDragRelease(AEvent->buttons())) return;
  const std::optional<TMouseButton> button = ButtonOf(AEvent->button());
  const QPointF point = mapToScene(QPoint(0, 0)) + AEvent->position();
  const QGraphicsItem* grabber = scene()->mouseGrabberItem();
  if (button && !PopupHoldsThePointer()) {
    Guarded([&] {
      FForm.FRouter->MouseUp(*button, ShiftOf(AEvent->modifiers(), AEvent->buttons()), point,
                             AEvent->buttons() == Qt::NoButton);
    });
  }
  if (grabber != nullptr) QGraphicsView::mouseReleaseEvent(AEvent);
}

void FormView::wheelEvent(QWheelEvent* AEvent) {
  const QPointF point = mapToScene(QPoint(0, 0)) + AEvent->position();
  const Delivery delivery = DeliveryAt(point);
  const int delta = AEvent->angleDelta().y() != 0 ? AEvent->angleDelta().y() : AEvent->angleDelta().x();
  if (delivery != Delivery::Scene) {
    Guarded([&] { FForm.FRouter->MouseWheel(ShiftOf(AEvent->modifiers(), AEvent->buttons()), delta, point); });
  }
  if (delivery != Delivery::Controls) {
    QGraphicsView::wheelEvent(AEvent);
  } else {
    AEvent->accept();
  }
}

bool FormView::WidgetHasTheKeys() const { return scene()->focusItem() != nullptr; }

bool FormView::event(QEvent* AEvent) {
  // Tab belongs to the form's own focus chain, which holds the proxied widgets
  // too; Graphics View would move Qt's focus among its items alone. An open
  // popup keeps its keys.
  if (AEvent->type() == QEvent::KeyPress && !PopupHoldsThePointer()) {
    auto* key = static_cast<QKeyEvent*>(AEvent);
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
      bool used = false;
      Guarded([&] { used = FForm.KeyDown(key->key(), QChar(), ShiftOf(key->modifiers(), Qt::NoButton)); });
      if (used) {
        key->accept();
        return true;
      }
    }
  }
  return QGraphicsView::event(AEvent);
}

bool FormView::focusNextPrevChild(bool ANext) {
  bool used = false;
  Guarded([&] { used = FForm.SelectNextControl(ANext); });
  return used;
}

namespace {

QChar KeyCharOf(const QKeyEvent& AEvent) {
  const QString text = AEvent.text();
  return text.size() == 1 ? text.front() : QChar();
}

}  // namespace

void FormView::keyPressEvent(QKeyEvent* AEvent) {
  if (WidgetHasTheKeys() || PopupHoldsThePointer()) {
    Guarded([&] { FForm.SetFocusShown(true); });
    QGraphicsView::keyPressEvent(AEvent);
    return;
  }
  bool used = false;
  Guarded([&] {
    used = FForm.KeyDown(AEvent->key(), KeyCharOf(*AEvent), ShiftOf(AEvent->modifiers(), Qt::NoButton),
                         AEvent->isAutoRepeat());
  });
  AEvent->setAccepted(used);
}

void FormView::keyReleaseEvent(QKeyEvent* AEvent) {
  if (WidgetHasTheKeys() || PopupHoldsThePointer()) {
    QGraphicsView::keyReleaseEvent(AEvent);
    return;
  }
  bool used = false;
  Guarded([&] {
    used = FForm.KeyUp(AEvent->key(), KeyCharOf(*AEvent), ShiftOf(AEvent->modifiers(), Qt::NoButton),
                       AEvent->isAutoRepeat());
  });
  AEvent->setAccepted(used);
}

bool FormView::viewportEvent(QEvent* AEvent) {
  if (AEvent->type() != QEvent::ToolTip) return QGraphicsView::viewportEvent(AEvent);
  // Hints follow the form's own hover, not Graphics View's items under the pointer.
  const TControl* hovered = FForm.Hovered();
  if (hovered != nullptr && hovered->ShowHint() && !hovered->Hint().isEmpty()) {
    QToolTip::showText(static_cast<QHelpEvent*>(AEvent)->globalPos(), hovered->Hint(), viewport());
  } else {
    QToolTip::hideText();
  }
  return true;
}

void FormView::leaveEvent(QEvent* AEvent) {
  Guarded([&] { FForm.FRouter->MouseLeave(); });
  QGraphicsView::leaveEvent(AEvent);
}

}  // namespace ostrel::host
