#include "skin/host/Component.h"

namespace {

bool IsValidIdent(const QString& AName) {
  if (AName.isEmpty()) return false;
  const auto isLetter = [](QChar c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_'; };
  if (!isLetter(AName.front())) return false;
  for (QChar c : AName) {
    if (!isLetter(c) && !(c >= u'0' && c <= u'9')) return false;
  }
  return true;
}

}  // namespace

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner != nullptr) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  // Tell everyone who asked, while this object's TComponent part is whole.
  while (!FFreeNotifies.isEmpty()) {
    TComponent* other = FFreeNotifies.takeLast();
    other->RemoveNotification(this);
    other->Notification(this, TOperation::opRemove);
  }
  DestroyComponents();
  if (FOwner != nullptr) FOwner->RemoveComponent(this);
}

int TComponent::ComponentIndex() const {
  return FOwner != nullptr ? static_cast<int>(FOwner->FComponents.indexOf(this)) : -1;
}

TComponent* TComponent::FindComponent(const QString& AName) const {
  if (AName.isEmpty()) return nullptr;
  for (TComponent* c : FComponents) {
    if (c->FName.compare(AName, Qt::CaseInsensitive) == 0) return c;
  }
  return nullptr;
}

void TComponent::SetName(const QString& AName) {
  if (FName == AName) return;
  if (!AName.isEmpty() && !IsValidIdent(AName)) {
    throw EComponentError(QStringLiteral("'%1' is not a valid component name").arg(AName));
  }
  ValidateRename(AName);
  FName = AName;
  setObjectName(AName);
}

void TComponent::ValidateRename(const QString& ANewName) const {
  if (FOwner == nullptr || ANewName.isEmpty()) return;
  const TComponent* existing = FOwner->FindComponent(ANewName);
  if (existing != nullptr && existing != this) {
    throw EComponentError(QStringLiteral("A component named %1 already exists").arg(ANewName));
  }
}

void TComponent::SetLoading(bool AValue) {
  if (AValue) {
    FComponentState.Include(TComponentStateItem::csLoading);
  } else {
    FComponentState.Exclude(TComponentStateItem::csLoading);
  }
}

void TComponent::SetReading(bool AValue) {
  if (AValue) {
    FComponentState.Include(TComponentStateItem::csReading);
  } else {
    FComponentState.Exclude(TComponentStateItem::csReading);
  }
}

void TComponent::SetDesigning(bool AValue, bool ASetChildren) {
  if (AValue) {
    FComponentState.Include(TComponentStateItem::csDesigning);
  } else {
    FComponentState.Exclude(TComponentStateItem::csDesigning);
  }
  if (ASetChildren) {
    for (TComponent* c : FComponents) c->SetDesigning(AValue, true);
  }
}

void TComponent::Loaded() { FComponentState.Exclude(TComponentStateItem::csLoading); }

void TComponent::SetParentComponent(TComponent*) {}

void TComponent::SetSubComponent(bool AIsSubComponent) {
  if (AIsSubComponent) {
    FComponentStyle.Include(TComponentStyleItem::csSubComponent);
  } else {
    FComponentStyle.Exclude(TComponentStyleItem::csSubComponent);
  }
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (AComponent == nullptr || AComponent == this) return;
  if (!FFreeNotifies.contains(AComponent)) FFreeNotifies.append(AComponent);
  if (!AComponent->FFreeNotifies.contains(this)) AComponent->FFreeNotifies.append(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  if (AComponent == nullptr) return;
  RemoveNotification(AComponent);
  AComponent->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* AComponent) { FFreeNotifies.removeAll(AComponent); }

void TComponent::Notification(TComponent* AComponent, TOperation AOperation) {
  if (AOperation == TOperation::opRemove && AComponent != nullptr) RemoveFreeNotification(AComponent);
  NotifyOwnedOf(AComponent, AOperation);
}

void TComponent::NotifyOwnedOf(TComponent* AComponent, TOperation AOperation) {
  // An owned component may free others while it is told, so walk by index
  // from the end and re-check the bound on every step.
  for (qsizetype i = FComponents.size() - 1; i >= 0; --i) {
    if (i >= FComponents.size()) continue;
    FComponents[i]->Notification(AComponent, AOperation);
  }
}

void TComponent::Destroying() {
  if (IsDestroying()) return;
  FComponentState.Include(TComponentStateItem::csDestroying);
  for (TComponent* c : FComponents) c->Destroying();
}

void TComponent::DestroyComponents() {
  while (!FComponents.isEmpty()) {
    TComponent* last = FComponents.last();
    RemoveComponent(last);
    delete last;  // owned: this component is its Qt parent
  }
}

void TComponent::InsertComponent(TComponent* AComponent) {
  AComponent->ValidateRename(AComponent->FName);
  FComponents.append(AComponent);
  AComponent->FOwner = this;
  AComponent->setParent(this);
  Notification(AComponent, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  Notification(AComponent, TOperation::opRemove);
  FComponents.removeOne(AComponent);
  AComponent->FOwner = nullptr;
  AComponent->setParent(nullptr);
}
