#include "skin/host/WidgetProxy.h"

#include <QCoreApplication>
#include <QGraphicsProxyWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

TWidgetProxy::TWidgetProxy(TComponent* AOwner) : TControl(AOwner) {}

TWidgetProxy::~TWidgetProxy() = default;

void TWidgetProxy::SetWidget(std::unique_ptr<QWidget> AWidget) {
  if (FProxy.isNull()) {
    // Owned by the control's item, which frees its child items.
    FProxy = new QGraphicsProxyWidget(Item());
  }
  QWidget* old = FProxy->widget();
  FProxy->setWidget(AWidget.release());
  delete old;
  SyncProxy();
}

QWidget* TWidgetProxy::Widget() const { return FProxy.isNull() ? nullptr : FProxy->widget(); }

void TWidgetProxy::ReplayClickToWidget(const TPointF& ALocal) {
  // The press may open a popup or free the widget; each step checks it is still there.
  QPointer<QWidget> widget = Widget();
  const auto send = [&widget, ALocal](QEvent::Type AType, Qt::MouseButton AButton, Qt::MouseButtons AHeld) {
    if (widget.isNull()) return;
    QMouseEvent event(AType, ALocal, widget->mapToGlobal(ALocal), AButton, AHeld, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
  };
  send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
  send(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
}

void TWidgetProxy::Resize() {
  TControl::Resize();
  SyncProxy();
}

void TWidgetProxy::AbsoluteChanged() {
  TControl::AbsoluteChanged();
  SyncProxy();
}

void TWidgetProxy::SyncProxy() {
  if (FProxy.isNull()) return;
  FProxy->setGeometry(LocalRect());
  FProxy->setOpacity(ProxyOpacity());
  FProxy->setEnabled(AbsoluteEnabled());
}
