#include "skin/host/Animation.h"

#include "skin/host/ClassRegistry.h"
#include "skin/host/PropertyTypes.h"

namespace {

int FindPropertyIndex(const QObject& AObject, const QString& AName) {
  const QMetaObject* meta = AObject.metaObject();
  for (int i = 0; i < meta->propertyCount(); ++i) {
    if (QString::fromLatin1(meta->property(i).name()).compare(AName, Qt::CaseInsensitive) == 0) return i;
  }
  return -1;
}

QObject* FindChildNamed(QObject& AObject, const QString& AName) {
  if (auto* component = qobject_cast<TComponent*>(&AObject)) {
    if (TComponent* owned = component->FindComponent(AName)) return owned;
  }
  for (QObject* child : AObject.children()) {
    if (child->objectName().compare(AName, Qt::CaseInsensitive) == 0) return child;
  }
  return nullptr;
}

const QString kOnProcess = QStringLiteral("OnProcess");
const QString kOnFinish = QStringLiteral("OnFinish");

}  // namespace

TAnimation::TAnimation(TComponent* AOwner) : TComponent(AOwner) {
  FEvents.Add(kOnProcess, FOnProcess);
  FEvents.Add(kOnFinish, FOnFinish);
}

TAnimation::~TAnimation() { Detach(); }

void TAnimation::SetParent(QObject* AParent) {
  if (FParent == AParent) return;
  FParent = AParent;
  ResolveTarget();
}

void TAnimation::SetPropertyName(const QString& AValue) {
  if (FPropertyName == AValue) return;
  FPropertyName = AValue;
  ResolveTarget();
}

TComponent* TAnimation::GetParentComponent() const { return qobject_cast<TComponent*>(FParent.data()); }

void TAnimation::SetParentComponent(TComponent* AParent) { SetParent(AParent); }

void TAnimation::SetOnProcess(TNotifyEvent AValue) {
  FOnProcess = std::move(AValue);
  FEvents.Forget(kOnProcess);
}

void TAnimation::SetOnFinish(TNotifyEvent AValue) {
  FOnFinish = std::move(AValue);
  FEvents.Forget(kOnFinish);
}

void TAnimation::SetEnabled(bool AValue) {
  if (FEnabled == AValue) return;
  FEnabled = AValue;
  // A stored form's animations start together once the form has loaded.
  if (ComponentState().Contains(TComponentStateItem::csLoading) ||
      ComponentState().Contains(TComponentStateItem::csReading)) {
    return;
  }
  if (FEnabled) {
    Start();
  } else {
    Stop();
  }
}

void TAnimation::Loaded() {
  TComponent::Loaded();
  if (FEnabled) Start();
}

bool TAnimation::ResolveTarget() {
  FTarget = nullptr;
  FTargetProperty = QMetaProperty();
  QObject* object = FParent.data();
  if (object == nullptr || FPropertyName.isEmpty()) return false;
  const QStringList parts = FPropertyName.split(u'.');
  for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
    const int index = FindPropertyIndex(*object, parts[i]);
    QObject* next = nullptr;
    if (index >= 0) {
      const QMetaProperty property = object->metaObject()->property(index);
      if (property.metaType().flags().testFlag(QMetaType::PointerToQObject)) next = property.read(object).value<QObject*>();
    } else {
      next = FindChildNamed(*object, parts[i]);
    }
    if (next == nullptr) {
      // A leading part such as a category name means the parent itself.
      if (i == 0 && index < 0) continue;
      return false;
    }
    object = next;
  }
  const int index = FindPropertyIndex(*object, parts.last());
  if (index < 0 || !object->metaObject()->property(index).isWritable()) return false;
  FTarget = object;
  FTargetProperty = object->metaObject()->property(index);
  return true;
}

void TAnimation::Start() {
  Detach();
  ResolveTarget();
  FClock = &ostrel::host::FrameClock::Current();
  FStartTime = FClock->Now();
  FRunning = true;
  FClock->Add(this);
  if (FDelay <= 0) ApplyAt(0);
}

void TAnimation::Stop() {
  if (!FRunning) return;
  Finish();
}

void TAnimation::ProcessFrame(double ANow) {
  if (!FRunning) return;
  const double elapsed = ANow - FStartTime;
  if (elapsed < FDelay) return;
  ApplyAt(elapsed - FDelay);
}

void TAnimation::ApplyAt(double ARunningTime) {
  // Written so that a duration of zero, below zero or not a number ends at once.
  if (!(ARunningTime < FDuration)) {
    Finish();
    return;
  }
  const double progress = ARunningTime / FDuration;
  const double u = FInverse ? 1 - progress : progress;
  if (!FTarget.isNull()) {
    ProcessAnimation(*FTarget, FTargetProperty, ostrel::host::Interpolate(FInterpolation, FAnimationType, u));
  }
  if (FOnProcess) FOnProcess(this);
}

void TAnimation::Finish() {
  // Handlers may start or stop this animation again, so it has ended before they run.
  FRunning = false;
  Detach();
  if (!FTarget.isNull()) ProcessEnd(*FTarget, FTargetProperty, !FInverse);
  if (FOnProcess) FOnProcess(this);
  if (FOnFinish) FOnFinish(this);
}

void TAnimation::Detach() {
  if (FClock != nullptr) FClock->Remove(this);
  FClock = nullptr;
}

void TAnimation::ClockGone() {
  FClock = nullptr;
  FRunning = false;
}

void TFloatAnimation::ProcessAnimation(QObject& ATarget, const QMetaProperty& AProperty, double AFactor) {
  const double value = FStartValue + (static_cast<double>(FStopValue) - FStartValue) * AFactor;
  AProperty.write(&ATarget, value);
}

void TFloatAnimation::ProcessEnd(QObject& ATarget, const QMetaProperty& AProperty, bool AAtStop) {
  AProperty.write(&ATarget, static_cast<double>(AAtStop ? FStopValue : FStartValue));
}

void TIntAnimation::ProcessAnimation(QObject& ATarget, const QMetaProperty& AProperty, double AFactor) {
  const double value = FStartValue + (static_cast<double>(FStopValue) - FStartValue) * AFactor;
  AProperty.write(&ATarget, static_cast<int>(ostrel::host::RoundHalfEven(value)));
}

void TIntAnimation::ProcessEnd(QObject& ATarget, const QMetaProperty& AProperty, bool AAtStop) {
  AProperty.write(&ATarget, AAtStop ? FStopValue : FStartValue);
}

namespace ostrel::host {

void RegisterAnimationClasses() {
  RegisterEnumNames<TInterpolationType>({"Linear", "Quadratic", "Cubic", "Quartic", "Quintic", "Sinusoidal",
                                         "Exponential", "Circular", "Elastic", "Back", "Bounce"});
  RegisterEnumNames<TAnimationType>({"In", "Out", "InOut"});
  RegisterClass<TFloatAnimation>();
  RegisterClass<TIntAnimation>();
}

}  // namespace ostrel::host
