#include "skin/host/Action.h"

namespace {
const QString kOnExecute = QStringLiteral("OnExecute");
}  // namespace

TBasicAction::TBasicAction(TComponent* AOwner) : TComponent(AOwner) { FEvents.Add(kOnExecute, FOnExecute); }

bool TBasicAction::Execute() {
  if (!FOnExecute) return false;
  // A handler may free this action, so the call works on a copy.
  const TNotifyEvent handler = FOnExecute;
  handler(this);
  return true;
}

void TBasicAction::SetOnExecute(TNotifyEvent AValue) {
  FOnExecute = std::move(AValue);
  FEvents.Forget(kOnExecute);
}
