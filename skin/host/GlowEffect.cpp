#include "skin/host/GlowEffect.h"

#include "skin/host/Control.h"

#include <QColor>
#include <QGraphicsDropShadowEffect>
#include <QGraphicsItem>

#include <algorithm>

TGlowEffect::TGlowEffect(TComponent* AOwner) : TComponent(AOwner) {}

TGlowEffect::~TGlowEffect() { SetParent(nullptr); }

TComponent* TGlowEffect::GetParentComponent() const { return FParent.Get(); }

void TGlowEffect::SetParentComponent(TComponent* AParent) {
  auto* control = dynamic_cast<TControl*>(AParent);
  if (AParent != nullptr && control == nullptr) {
    throw Exception(QStringLiteral("%1 cannot carry a glow effect").arg(AParent->ClassName()));
  }
  SetParent(control);
}

void TGlowEffect::SetParent(TControl* AParent) {
  if (AParent == FParent.Get()) return;
  Remove();
  FParent.Set(AParent);
  Apply();
}

void TGlowEffect::Notification(TComponent* AComponent, TOperation AOperation) {
  TComponent::Notification(AComponent, AOperation);
  // A freed control's item has already freed the Qt effect with itself.
  FParent.Removed(AComponent, AOperation);
}

void TGlowEffect::SetEnabled(bool AValue) {
  if (AValue == FEnabled) return;
  FEnabled = AValue;
  Apply();
}

void TGlowEffect::SetGlowColor(TAlphaColor AValue) {
  if (AValue == FGlowColor) return;
  FGlowColor = AValue;
  Apply();
}

void TGlowEffect::SetSoftness(float AValue) {
  AValue = std::max(AValue, 0.0f);
  if (AValue == FSoftness) return;
  FSoftness = AValue;
  Apply();
}

void TGlowEffect::SetOpacity(float AValue) {
  AValue = std::clamp(AValue, 0.0f, 1.0f);
  if (AValue == FOpacity) return;
  FOpacity = AValue;
  Apply();
}

void TGlowEffect::Remove() {
  TControl* const parent = FParent.Get();
  if (parent == nullptr || FEffect.isNull()) return;
  // Taking the effect off the item frees it.
  if (parent->Item()->graphicsEffect() == FEffect) parent->Item()->setGraphicsEffect(nullptr);
}

void TGlowEffect::Apply() {
  TControl* const parent = FParent.Get();
  if (parent == nullptr) return;
  if (!FEnabled) {
    Remove();
    return;
  }
  if (FEffect.isNull()) {
    auto effect = std::make_unique<QGraphicsDropShadowEffect>();
    FEffect = effect.get();
    parent->Item()->setGraphicsEffect(effect.release());
  }
  QColor color = QColor::fromRgba(FGlowColor);
  color.setAlphaF(color.alphaF() * FOpacity);
  FEffect->setColor(color);
  FEffect->setOffset(0, 0);
  FEffect->setBlurRadius(BlurRadiusFor(FSoftness));
}
