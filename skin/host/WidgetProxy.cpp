#include "skin/host/WidgetProxy.h"

#include <QGraphicsProxyWidget>
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
