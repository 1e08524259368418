#include "skin/host/GlowEffect.h"

#include "skin/host/Control.h"
#include "skin/host/ControlItem.h"
#include "skin/host/GlowShadow.h"

#include <QColor>

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
  // A freed control's item is already gone; the shadow must not touch it.
  if (FParent.Removed(AComponent, AOperation) && FShadow) {
    FShadow->Abandon();
    FShadow.reset();
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

void TGlowEffect::Remove() { FShadow.reset(); }

void TGlowEffect::Apply() {
  TControl* const parent = FParent.Get();
  if (parent == nullptr) return;
  if (!FEnabled) {
    Remove();
    return;
  }
  if (!FShadow) FShadow = std::make_unique<ostrel::host::GlowShadow>(*static_cast<ostrel::host::ControlItem*>(parent->Item()));
  QColor color = QColor::fromRgba(FGlowColor);
  color.setAlphaF(color.alphaF() * FOpacity);
  FShadow->SetLook(color, BlurRadiusFor(FSoftness));
}
