#pragma once
// TTimer: fires OnTimer every Interval milliseconds while Enabled, on the UI
// thread. It runs only with a handler and a positive interval, and not before
// its stored form has been read.

#include "skin/host/Component.h"
#include "skin/host/Events.h"

#include <QTimer>

class TTimer : public TComponent, public IEventProperties {
  Q_OBJECT
  Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
  Q_PROPERTY(int Interval READ Interval WRITE SetInterval)

 public:
  explicit TTimer(TComponent* AOwner = nullptr);

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool AValue);
  int Interval() const { return FInterval; }
  void SetInterval(int AValue);
  bool Running() const { return FTimer.isActive(); }

  const TNotifyEvent& OnTimer() const { return FOnTimer; }
  void SetOnTimer(TNotifyEvent AValue);

  QStringList EventNames() const override { return FEvents.Names(); }
  bool SetEventHandler(const QString& AEvent, const TEventHandlerRef& AHandler) override;
  QString EventHandlerName(const QString& AEvent) const override { return FEvents.HandlerName(AEvent); }

  void Loaded() override;

 protected:
  virtual void DoOnTimer();

 private:
  void UpdateTimer();

  QTimer FTimer;
  bool FEnabled = true;
  int FInterval = 1000;
  TNotifyEvent FOnTimer;
  ostrel::host::TEventTable FEvents;
};
