#include "skin/host/Timer.h"

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
  FEvents.Add(QStringLiteral("OnTimer"), FOnTimer);
  QObject::connect(&FTimer, &QTimer::timeout, this, [this] { DoOnTimer(); });
}

void TTimer::SetEnabled(bool AValue) {
  if (AValue == FEnabled) return;
  FEnabled = AValue;
  UpdateTimer();
}

void TTimer::SetInterval(int AValue) {
  if (AValue < 0) AValue = 0;
  if (AValue == FInterval) return;
  FInterval = AValue;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent AValue) {
  FOnTimer = std::move(AValue);
  FEvents.Forget(QStringLiteral("OnTimer"));
  UpdateTimer();
}

bool TTimer::SetEventHandler(const QString& AEvent, const TEventHandlerRef& AHandler) {
  const bool known = FEvents.Bind(AEvent, AHandler);
  if (known) UpdateTimer();
  return known;
}

void TTimer::Loaded() {
  TComponent::Loaded();
  UpdateTimer();
}

void TTimer::DoOnTimer() {
  if (FOnTimer) FOnTimer(this);
}

void TTimer::UpdateTimer() {
  FTimer.stop();
  if (FEnabled && FInterval > 0 && FOnTimer && !IsLoading() && !IsDestroying()) FTimer.start(FInterval);
}
