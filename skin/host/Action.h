#pragma once
// TBasicAction: a command a control runs when it is clicked, so several
// controls can share one handler. A control links to it through its Action
// property (a reference stored by name); the link goes when the action is freed.

#include "skin/host/Component.h"
#include "skin/host/Events.h"

class TBasicAction : public TComponent, public IEventProperties {
  Q_OBJECT

 public:
  explicit TBasicAction(TComponent* AOwner = nullptr);

  // Fires OnExecute with the action as sender; false when it has no handler,
  // so the control falls back to its own click handler.
  virtual bool Execute();

  const TNotifyEvent& OnExecute() const { return FOnExecute; }
  void SetOnExecute(TNotifyEvent AValue);

  QStringList EventNames() const override { return FEvents.Names(); }
  bool SetEventHandler(const QString& AEvent, const TEventHandlerRef& AHandler) override {
    return FEvents.Bind(AEvent, AHandler);
  }
  QString EventHandlerName(const QString& AEvent) const override { return FEvents.HandlerName(AEvent); }

 private:
  TNotifyEvent FOnExecute;
  ostrel::host::TEventTable FEvents;
};
