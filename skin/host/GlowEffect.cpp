#include "skin/host/GlowEffect.h"

#include "skin/host/Control.h"

#include <QColor>
#include <QGraphicsDropShadowEffect>
#include <QGraphicsItem>

#include <algorithm>

TGlowEffect::TGlowEffect(TComponent* AOwner) : TComponent(AOwner) {}

TGlowEffect::~TGlowEffect() { SetParent(nullptr); }

TComponent* TGlowEffect::GetParentComponent() const { return FParent; }

void TGlowEffect::SetParentComponent(TComponent* AParent) {
  auto* control = dynamic_cast<TControl*>(AParent);
  if (AParent != nullptr && control == nullptr) {
    throw Exception(QStringLiteral("%1 cannot carry a glow effect").arg(AParent->ClassName()));
  }
  SetParent(control);
}

void TGlowEffect::SetParent(TControl* AParent) {
  if (AParent == FParent) return;
  Remove();
  if (FParent != nullptr) FParent->RemoveFreeNotification(this);
  FParent = AParent;
  if (FParent != nullptr) FParent->FreeNotification(this);
  Apply();
}

void TGlowEffect::Notification(TComponent* AComponent, TOperation AOperation) {
  TComponent::Notification(AComponent, AOperation);
  if (AOperation != TOperation::opRemove || AComponent != FParent) return;
  if (AComponent->IsDestroying()) {
    // The dying control's item has already freed the Qt effect with itself.
    FParent = nullptr;
  } else {
    // The control only changed owners; keep watching it.
    FParent->FreeNotification(this);
  }
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
  if (FParent == nullptr || FEffect.isNull()) return;
  // Taking the effect off the item frees it.
  if (FParent->Item()->graphicsEffect() == FEffect) FParent->Item()->setGraphicsEffect(nullptr);
}

void TGlowEffect::Apply() {
  if (FParent == nullptr) return;
  if (!FEnabled) {
    Remove();
    return;
  }
  if (FEffect.isNull()) {
    auto effect = std::make_unique<QGraphicsDropShadowEffect>();
    FEffect = effect.get();
    FParent->Item()->setGraphicsEffect(effect.release());
  }
  QColor color = QColor::fromRgba(FGlowColor);
  color.setAlphaF(color.alphaF() * FOpacity);
  FEffect->setColor(color);
  FEffect->setOffset(0, 0);
  FEffect->setBlurRadius(BlurRadiusFor(FSoftness));
}
