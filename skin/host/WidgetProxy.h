#pragma once
// TWidgetProxy: a control whose face is a Qt widget (a host combo box, say).
// The widget lives in a QGraphicsProxyWidget that is a child item of the
// control's item, so the item owns it and it moves, clips and hides with the
// control; the form passes Qt's own pointer events to it.

#include "skin/host/Control.h"

#include <QGraphicsProxyWidget>
#include <QPointer>

#include <memory>

class QWidget;

class TWidgetProxy : public TControl {
  Q_OBJECT

 public:
  explicit TWidgetProxy(TComponent* AOwner = nullptr);
  ~TWidgetProxy() override;

  // Takes AWidget over; the previous widget, if any, is freed.
  void SetWidget(std::unique_ptr<QWidget> AWidget);
  QWidget* Widget() const;
  QGraphicsProxyWidget* Proxy() const { return FProxy.data(); }

 protected:
  void Resize() override;
  void AbsoluteChanged() override;
  // The proxied widget's item opacity: the control's absolute opacity, for a
  // widget that paints itself; 1 for one that applies it in its own painting.
  virtual qreal ProxyOpacity() const { return AbsoluteOpacity(); }

 private:
  void SyncProxy();

  QPointer<QGraphicsProxyWidget> FProxy;
};
