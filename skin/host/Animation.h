#pragma once
// Property animations: a component that drives one property of its parent
// from a start to a stop value along an easing curve, frame by frame on the
// frame clock. The property is named by a dotted path resolved from the
// parent ("Position.Y", "Properties.Position"); any QObject property serves.

#include "skin/host/Component.h"
#include "skin/host/Events.h"
#include "skin/host/FrameClock.h"
#include "skin/host/Interpolation.h"

#include <QMetaProperty>
#include <QPointer>
#include <QString>

class TAnimation : public TComponent, public IEventProperties, public ostrel::host::IFrameClient {
  Q_OBJECT
  Q_PROPERTY(TAnimationType AnimationType READ AnimationType WRITE SetAnimationType)
  Q_PROPERTY(float Delay READ Delay WRITE SetDelay)
  Q_PROPERTY(float Duration READ Duration WRITE SetDuration)
  Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
  Q_PROPERTY(TInterpolationType Interpolation READ Interpolation WRITE SetInterpolation)
  Q_PROPERTY(bool Inverse READ Inverse WRITE SetInverse)
  Q_PROPERTY(QString PropertyName READ PropertyName WRITE SetPropertyName)

 public:
  explicit TAnimation(TComponent* AOwner = nullptr);
  ~TAnimation() override;

  // The object whose property is driven; not owned.
  QObject* Parent() const { return FParent.data(); }
  void SetParent(QObject* AParent);
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* AParent) override;

  TAnimationType AnimationType() const { return FAnimationType; }
  void SetAnimationType(TAnimationType AValue) { FAnimationType = AValue; }
  float Delay() const { return FDelay; }
  void SetDelay(float AValue) { FDelay = AValue; }
  float Duration() const { return FDuration; }
  void SetDuration(float AValue) { FDuration = AValue; }
  TInterpolationType Interpolation() const { return FInterpolation; }
  void SetInterpolation(TInterpolationType AValue) { FInterpolation = AValue; }
  bool Inverse() const { return FInverse; }
  void SetInverse(bool AValue) { FInverse = AValue; }
  QString PropertyName() const { return FPropertyName; }
  // A new parent or path takes effect at once, also for a running animation.
  void SetPropertyName(const QString& AValue);

  // Enabling starts the animation (once loading has finished); disabling stops it.
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool AValue);
  bool Running() const { return FRunning; }

  // Starts from the beginning, also when already running. The first frame
  // applies at once when there is no delay.
  void Start();
  // A running animation jumps to its final frame for the current direction,
  // reports it through OnProcess and finishes; an idle one is left alone.
  void Stop();

  TNotifyEvent OnProcess() const { return FOnProcess; }
  void SetOnProcess(TNotifyEvent AValue);
  TNotifyEvent OnFinish() const { return FOnFinish; }
  void SetOnFinish(TNotifyEvent AValue);

  QStringList EventNames() const override { return FEvents.Names(); }
  bool SetEventHandler(const QString& AEvent, const TEventHandlerRef& AHandler) override {
    return FEvents.Bind(AEvent, AHandler);
  }
  QString EventHandlerName(const QString& AEvent) const override { return FEvents.HandlerName(AEvent); }

  void Loaded() override;

  void ProcessFrame(double ANow) override;
  void ClockGone() override;

 protected:
  // Writes start + (stop - start) * AFactor to the target.
  virtual void ProcessAnimation(QObject& ATarget, const QMetaProperty& AProperty, double AFactor) = 0;
  // Writes the exact stop value (AAtStop) or start value.
  virtual void ProcessEnd(QObject& ATarget, const QMetaProperty& AProperty, bool AAtStop) = 0;

 private:
  bool ResolveTarget();
  void ApplyAt(double ARunningTime);
  void Finish();
  void Detach();

  QPointer<QObject> FParent;
  QPointer<QObject> FTarget;
  QMetaProperty FTargetProperty;
  ostrel::host::FrameClock* FClock = nullptr;
  double FStartTime = 0;
  TAnimationType FAnimationType = TAnimationType::In;
  TInterpolationType FInterpolation = TInterpolationType::Linear;
  float FDelay = 0;
  float FDuration = 0.2f;
  bool FEnabled = false;
  bool FInverse = false;
  bool FRunning = false;
  QString FPropertyName;
  TNotifyEvent FOnProcess;
  TNotifyEvent FOnFinish;
  ostrel::host::TEventTable FEvents;
};

class TFloatAnimation : public TAnimation {
  Q_OBJECT
  Q_PROPERTY(float StartValue READ StartValue WRITE SetStartValue)
  Q_PROPERTY(float StopValue READ StopValue WRITE SetStopValue)

 public:
  explicit TFloatAnimation(TComponent* AOwner = nullptr) : TAnimation(AOwner) {}

  float StartValue() const { return FStartValue; }
  void SetStartValue(float AValue) { FStartValue = AValue; }
  float StopValue() const { return FStopValue; }
  void SetStopValue(float AValue) { FStopValue = AValue; }

 protected:
  void ProcessAnimation(QObject& ATarget, const QMetaProperty& AProperty, double AFactor) override;
  void ProcessEnd(QObject& ATarget, const QMetaProperty& AProperty, bool AAtStop) override;

 private:
  float FStartValue = 0;
  float FStopValue = 0;
};

// Drives integer properties; each frame's value is rounded half to even.
class TIntAnimation : public TAnimation {
  Q_OBJECT
  Q_PROPERTY(int StartValue READ StartValue WRITE SetStartValue)
  Q_PROPERTY(int StopValue READ StopValue WRITE SetStopValue)

 public:
  explicit TIntAnimation(TComponent* AOwner = nullptr) : TAnimation(AOwner) {}

  int StartValue() const { return FStartValue; }
  void SetStartValue(int AValue) { FStartValue = AValue; }
  int StopValue() const { return FStopValue; }
  void SetStopValue(int AValue) { FStopValue = AValue; }

 protected:
  void ProcessAnimation(QObject& ATarget, const QMetaProperty& AProperty, double AFactor) override;
  void ProcessEnd(QObject& ATarget, const QMetaProperty& AProperty, bool AAtStop) override;

 private:
  int FStartValue = 0;
  int FStopValue = 0;
};

namespace ostrel::host {

// Makes the animation classes and their enumerations known to stored forms.
void RegisterAnimationClasses();

}  // namespace ostrel::host
