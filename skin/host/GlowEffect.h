#pragma once
// TGlowEffect: a soft shadow all around its parent control, drawn by Graphics
// View's drop-shadow effect on the control's item. The item owns the Qt
// effect; this component only configures it and takes it off again.

#include "skin/host/Component.h"
#include "skin/host/Types.h"

#include <QGraphicsDropShadowEffect>
#include <QPointer>

class TControl;

class TGlowEffect : public TComponent {
  Q_OBJECT
  Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
  Q_PROPERTY(quint32 GlowColor READ GlowColor WRITE SetGlowColor)
  Q_PROPERTY(float Softness READ Softness WRITE SetSoftness)
  Q_PROPERTY(float Opacity READ Opacity WRITE SetOpacity)

 public:
  explicit TGlowEffect(TComponent* AOwner = nullptr);
  ~TGlowEffect() override;

  TControl* Parent() const { return FParent.Get(); }
  void SetParent(TControl* AParent);
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* AParent) override;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool AValue);
  TAlphaColor GlowColor() const { return FGlowColor; }
  void SetGlowColor(TAlphaColor AValue);
  // 0 .. 1-ish: how far the glow spreads; 0.4 is a tight, soft edge.
  float Softness() const { return FSoftness; }
  void SetSoftness(float AValue);
  float Opacity() const { return FOpacity; }
  void SetOpacity(float AValue);

  // The blur radius in logical pixels that Softness stands for.
  static float BlurRadiusFor(float ASoftness) { return ASoftness * 20.0f; }

 protected:
  void Notification(TComponent* AComponent, TOperation AOperation) override;

 private:
  void Apply();
  void Remove();

  ostrel::host::WatchedComponent<TControl> FParent{*this};
  QPointer<QGraphicsDropShadowEffect> FEffect;
  bool FEnabled = true;
  TAlphaColor FGlowColor = 0xFFFFD700u;
  float FSoftness = 0.4f;
  float FOpacity = 0.9f;
};
