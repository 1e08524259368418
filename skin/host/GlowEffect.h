#pragma once
// TGlowEffect: a soft shadow all around its parent control and the control's
// children, drawn beneath them by a GlowShadow on the control's item. The
// shadow is kept as a picture and made again only when what the control's
// tree covers changes, so a window whose children move over an opaque
// background repaints without blurring anything.

#include "skin/host/Component.h"
#include "skin/host/Types.h"

#include <memory>

class TControl;

namespace ostrel::host {
class GlowShadow;
}  // namespace ostrel::host

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

  // The shadow while one is drawn (a parent and enabled), else null.
  const ostrel::host::GlowShadow* Shadow() const { return FShadow.get(); }

 protected:
  void Notification(TComponent* AComponent, TOperation AOperation) override;

 private:
  void Apply();
  void Remove();

  ostrel::host::WatchedComponent<TControl> FParent{*this};
  std::unique_ptr<ostrel::host::GlowShadow> FShadow;
  bool FEnabled = true;
  TAlphaColor FGlowColor = 0xFFFFD700u;
  float FSoftness = 0.4f;
  float FOpacity = 0.9f;
};
