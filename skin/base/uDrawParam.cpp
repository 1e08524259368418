#include "skin/base/uDrawParam.h"

#include "skin/host/PropertyTypes.h"

#include <typeinfo>

using ostrel::skin::DiffersFrom;
using ostrel::skin::EnumToOrdinal;

using ostrel::skin::ReadNodeValue;

ostrel::skin::KeptDrawCache::~KeptDrawCache() = default;

void ostrel::skin::ReadNodeValue(TBTNode20* ANode, double& AField) {
  if (const auto* node = ANode->ConvertNode_Real64()) AField = node->Data();
}

void ostrel::skin::ReadNodeValue(TBTNode20* ANode, bool& AField) {
  if (const auto* node = ANode->ConvertNode_Bool32()) AField = node->Data();
}

void ostrel::skin::ReadNodeValue(TBTNode20* ANode, std::uint8_t& AField) {
  if (const auto* node = ANode->ConvertNode_UInt8()) AField = node->Data();
}

void ostrel::skin::ReadNodeValue(TBTNode20* ANode, std::int32_t& AField) {
  if (const auto* node = ANode->ConvertNode_Int32()) AField = node->Data();
}

void ostrel::skin::ReadNodeValue(TBTNode20* ANode, QString& AField) {
  if (const auto* node = ANode->ConvertNode_WideString()) AField = node->Data();
}

void ostrel::skin::ReadNodeValue(TBTNode20* ANode, TDrawColor& AField) {
  if (const auto* node = ANode->ConvertNode_Color()) {
    AField.SetUseThemeColor(TUseThemeColorType::ctNone);
    AField.SetColor(node->Data());
  }
}

void ostrel::skin::RegisterDrawParamPropertyTypes() {
  static const bool registered = [] {
    ostrel::host::RegisterSetType<TDPEffectState>();
    ostrel::host::RegisterSetType<TDPCommonEffectType>();
    return true;
  }();
  (void)registered;
}

// DocNodeObject

ostrel::skin::DocNodeObject::DocNodeObject() { RegisterDrawParamPropertyTypes(); }

ostrel::skin::DocNodeObject::~DocNodeObject() = default;

bool ostrel::skin::DocNodeObject::LoadFromDocNode(TBTNode20_Class* ADocNode) {
  if (ADocNode == nullptr) return false;
  Clear();
  for (TBTNode20* child : ADocNode->ChildNodes()) LoadFromChildNode(child);
  return true;
}

// TDrawRectSetting

TDrawRectSetting::TDrawRectSetting() = default;

TDrawRectSetting::~TDrawRectSetting() = default;

void TDrawRectSetting::Assign(const TPersistent* ASource) {
  if (const auto* source = dynamic_cast<const TDrawRectSetting*>(ASource)) {
    const bool enabledChanged = FEnabled != source->FEnabled;
    FLeft = source->FLeft;
    FTop = source->FTop;
    FRight = source->FRight;
    FBottom = source->FBottom;
    FWidth = source->FWidth;
    FHeight = source->FHeight;
    FEnabled = source->FEnabled;
    FSizeType = source->FSizeType;
    FPositionHorzType = source->FPositionHorzType;
    FPositionVertType = source->FPositionVertType;
    if (enabledChanged) {
      if (FOnChange) FOnChange(this);
    } else {
      DoChange();
    }
    return;
  }
  TInterfacedPersistent::Assign(ASource);
}

void TDrawRectSetting::Clear() {
  FLeft = FTop = FRight = FBottom = FWidth = FHeight = 0;
  FEnabled = false;
  FSizeType = TDPSizeType::dpstPercent;
  FPositionHorzType = TDPPositionHorzType::dpphtNone;
  FPositionVertType = TDPPositionVertType::dppvtNone;
}

TRectF TDrawRectSetting::CalcDrawRect(const TRectF& AControlRect) const {
  if (!FEnabled) return AControlRect;
  const double controlLeft = AControlRect.left();
  const double controlTop = AControlRect.top();
  const double controlRight = AControlRect.right();
  const double controlBottom = AControlRect.bottom();
  const double W = controlRight - controlLeft;
  const double H = controlBottom - controlTop;

  double l = FLeft;
  double t = FTop;
  double r = FRight;
  double b = FBottom;
  double w = FWidth > 0 ? FWidth : W;
  double h = FHeight > 0 ? FHeight : H;
  if (FSizeType == TDPSizeType::dpstPercent) {
    l = W * FLeft / 100;
    r = W * FRight / 100;
    t = H * FTop / 100;
    b = H * FBottom / 100;
    w = FWidth > 0 ? W * FWidth / 100 : W;
    h = FHeight > 0 ? H * FHeight / 100 : H;
  }

  switch (FPositionHorzType) {
    case TDPPositionHorzType::dpphtNone:
    case TDPPositionHorzType::dpphtLeft:
      break;
    case TDPPositionHorzType::dpphtCenter:
      l = l + (W - w) / 2;
      break;
    case TDPPositionHorzType::dpphtRight:
      l = W - w - r;
      break;
  }
  switch (FPositionVertType) {
    case TDPPositionVertType::dppvtNone:
    case TDPPositionVertType::dppvtTop:
      break;
    case TDPPositionVertType::dppvtCenter:
      t = t + (H - h) / 2;
      break;
    case TDPPositionVertType::dppvtBottom:
      t = H - h - b;
      break;
  }

  const double left = controlLeft + l;
  const double top = controlTop + t;
  // The stored values decide, not the resolved ones: a negative Width still
  // counts as set and then spans the whole control width from the left edge.
  double bottom = controlBottom;
  if (FHeight != 0) {
    bottom = top + h;
  } else if (FBottom != 0) {
    bottom = controlBottom - b;
  }
  double right = controlRight;
  if (FWidth != 0) {
    right = left + w;
  } else if (FRight != 0) {
    right = controlRight - r;
  }
  return TRectF(TPointF(left, top), TPointF(right, bottom));
}

void TDrawRectSetting::SetBounds(double ALeft, double ATop, double AWidth, double AHeight) {
  if (FLeft == ALeft && FTop == ATop && FWidth == AWidth && FHeight == AHeight) return;
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  DoChange();
}

void TDrawRectSetting::SetMargins(double ALeft, double ATop, double ARight, double ABottom) {
  if (FLeft == ALeft && FTop == ATop && FRight == ARight && FBottom == ABottom) return;
  FLeft = ALeft;
  FTop = ATop;
  FRight = ARight;
  FBottom = ABottom;
  DoChange();
}

void TDrawRectSetting::SetEnabled(bool AValue) {
  if (FEnabled == AValue) return;
  FEnabled = AValue;
  if (FOnChange) FOnChange(this);
}

void TDrawRectSetting::DoChange() {
  if (FEnabled && FOnChange) FOnChange(this);
}

bool TDrawRectSetting::IsLeftStored() const { return DiffersFrom(FLeft, 0); }
bool TDrawRectSetting::IsTopStored() const { return DiffersFrom(FTop, 0); }
bool TDrawRectSetting::IsRightStored() const { return DiffersFrom(FRight, 0); }
bool TDrawRectSetting::IsBottomStored() const { return DiffersFrom(FBottom, 0); }
bool TDrawRectSetting::IsWidthStored() const { return DiffersFrom(FWidth, 0) || FSizeType == TDPSizeType::dpstPercent; }
bool TDrawRectSetting::IsHeightStored() const {
  return DiffersFrom(FHeight, 0) || FSizeType == TDPSizeType::dpstPercent;
}
bool TDrawRectSetting::IsEnabledStored() const { return FEnabled; }
bool TDrawRectSetting::IsSizeTypeStored() const { return FSizeType != TDPSizeType::dpstPercent; }
bool TDrawRectSetting::IsPositionHorzTypeStored() const { return FPositionHorzType != TDPPositionHorzType::dpphtNone; }
bool TDrawRectSetting::IsPositionVertTypeStored() const { return FPositionVertType != TDPPositionVertType::dppvtNone; }

bool TDrawRectSetting::SaveToDocNode(TBTNode20_Class* ADocNode) const {
  ADocNode->SetClassName(ClassName());
  ADocNode->AddChildNode_Real64(QStringLiteral("Left"), QStringLiteral("左"), FLeft);
  ADocNode->AddChildNode_Real64(QStringLiteral("Top"), QStringLiteral("上"), FTop);
  ADocNode->AddChildNode_Real64(QStringLiteral("Right"), QStringLiteral("右"), FRight);
  ADocNode->AddChildNode_Real64(QStringLiteral("Bottom"), QStringLiteral("下"), FBottom);
  ADocNode->AddChildNode_Real64(QStringLiteral("Width"), QStringLiteral("宽度"), FWidth);
  ADocNode->AddChildNode_Real64(QStringLiteral("Height"), QStringLiteral("高度"), FHeight);
  ADocNode->AddChildNode_Bool32(QStringLiteral("Enabled"), QStringLiteral("是否启用"), FEnabled);
  ADocNode->AddChildNode_Int32(QStringLiteral("SizeType"), QStringLiteral("尺寸类型"), EnumToOrdinal(FSizeType));
  ADocNode->AddChildNode_Int32(QStringLiteral("PositionHorzType"), QStringLiteral("水平位置类型"),
                               EnumToOrdinal(FPositionHorzType));
  ADocNode->AddChildNode_Int32(QStringLiteral("PositionVertType"), QStringLiteral("垂直位置类型"),
                               EnumToOrdinal(FPositionVertType));
  return true;
}

bool TDrawRectSetting::LoadFromChildNode(TBTNode20* ANode) {
  const QString& name = ANode->NodeName();
  if (name == u"Left") {
    ReadNodeValue(ANode, FLeft);
  } else if (name == u"Top") {
    ReadNodeValue(ANode, FTop);
  } else if (name == u"Right") {
    ReadNodeValue(ANode, FRight);
  } else if (name == u"Bottom") {
    ReadNodeValue(ANode, FBottom);
  } else if (name == u"Width") {
    ReadNodeValue(ANode, FWidth);
  } else if (name == u"Height") {
    ReadNodeValue(ANode, FHeight);
  } else if (name == u"Enabled") {
    ReadNodeValue(ANode, FEnabled);
  } else if (name == u"SizeType") {
    ReadNodeValue(ANode, FSizeType);
  } else if (name == u"PositionHorzType") {
    ReadNodeValue(ANode, FPositionHorzType);
  } else if (name == u"PositionVertType") {
    ReadNodeValue(ANode, FPositionVertType);
  } else {
    return false;
  }
  return true;
}

// TDrawParamCommonEffect

TDrawParamCommonEffect::TDrawParamCommonEffect() = default;

TDrawParamCommonEffect::~TDrawParamCommonEffect() = default;

void TDrawParamCommonEffect::Assign(const TPersistent* ASource) {
  if (const auto* source = dynamic_cast<const TDrawParamCommonEffect*>(ASource)) {
    if (typeid(*source) == typeid(*this)) {
      CopyValuesFrom(*source);
    } else {
      TDrawParamCommonEffect::CopyValuesFrom(*source);
    }
    DoChange();
    return;
  }
  TInterfacedPersistent::Assign(ASource);
}

void TDrawParamCommonEffect::CopyValuesFrom(const TDrawParamCommonEffect& ASource) {
  FAlpha = ASource.FAlpha;
  FOffset = ASource.FOffset;
  FCommonEffectTypes = ASource.FCommonEffectTypes;
}

void TDrawParamCommonEffect::Clear() {}

bool TDrawParamCommonEffect::HasEffectTypes() const { return !FCommonEffectTypes.IsEmpty(); }

void TDrawParamCommonEffect::MixEffects(const TDrawParamCommonEffect* APushedEffect,
                                        const TDrawParamCommonEffect* AMouseDownEffect) {
  if (typeid(*APushedEffect) == typeid(*this)) {
    CopyValuesFrom(*APushedEffect);
  } else {
    TDrawParamCommonEffect::CopyValuesFrom(*APushedEffect);
  }
  FCommonEffectTypes = APushedEffect->FCommonEffectTypes + AMouseDownEffect->FCommonEffectTypes;
  FOffset = 0;
  if (APushedEffect->FCommonEffectTypes.Contains(TDPCommonEffectType::dpcetOffsetChange)) {
    FOffset += APushedEffect->FOffset;
  }
  if (AMouseDownEffect->FCommonEffectTypes.Contains(TDPCommonEffectType::dpcetOffsetChange)) {
    FOffset += AMouseDownEffect->FOffset;
  }
}

bool TDrawParamCommonEffect::IsAlphaStored() const { return FAlpha != DefaultAlpha; }
bool TDrawParamCommonEffect::IsOffsetStored() const { return DiffersFrom(FOffset, DefaultOffset); }
bool TDrawParamCommonEffect::IsCommonEffectTypesStored() const { return !FCommonEffectTypes.IsEmpty(); }

bool TDrawParamCommonEffect::SaveToDocNode(TBTNode20_Class* ADocNode) const {
  ADocNode->SetClassName(ClassName());
  ADocNode->AddChildNode_UInt8(QStringLiteral("Alpha"), QStringLiteral("透明度"), FAlpha);
  ADocNode->AddChildNode_Real64(QStringLiteral("Offset"), QStringLiteral("偏移"), FOffset);
  ADocNode->AddChildNode_WideString(QStringLiteral("CommonEffectTypes"), QStringLiteral("通用效果"),
                                    ostrel::skin::OrdinalSetToText(FCommonEffectTypes));
  return true;
}

bool TDrawParamCommonEffect::LoadFromChildNode(TBTNode20* ANode) {
  const QString& name = ANode->NodeName();
  if (name == u"Alpha") {
    ReadNodeValue(ANode, FAlpha);
  } else if (name == u"Offset") {
    ReadNodeValue(ANode, FOffset);
  } else if (name == u"CommonEffectTypes") {
    ReadNodeValue(ANode, FCommonEffectTypes);
  } else {
    return false;
  }
  return true;
}

void TDrawParamCommonEffect::DoChange() {
  if (FOnChange) FOnChange(this);
}

std::unique_ptr<TDrawColor> TDrawParamCommonEffect::CreateEffectDrawColor(const QString& AName,
                                                                          const QString& ACaption) {
  auto color = std::make_unique<TDrawColor>(AName, ACaption);
  color->SetOnChange([this](TObject*) { DoChange(); });
  return color;
}

// TDrawEffectSetting

TDrawEffectSetting::TDrawEffectSetting() : TDrawEffectSetting(&MakeEffect<TDrawParamCommonEffect>) {}

TDrawEffectSetting::TDrawEffectSetting(TEffectFactory AMakeEffect)
    : FDisabledEffect(AMakeEffect()),
      FFocusedEffect(AMakeEffect()),
      FPushedEffect(AMakeEffect()),
      FMouseOverEffect(AMakeEffect()),
      FMouseDownEffect(AMakeEffect()),
      FMixedEffect(AMakeEffect()) {
  FPushedEffect->SetOnChange([this](TObject*) { DoChange(); });
}

TDrawEffectSetting::~TDrawEffectSetting() = default;

void TDrawEffectSetting::Assign(const TPersistent* ASource) {
  if (const auto* source = dynamic_cast<const TDrawEffectSetting*>(ASource)) {
    FIsMixedMouseDownAndPushedEffect = source->FIsMixedMouseDownAndPushedEffect;
    FPushedEffect->Assign(source->FPushedEffect.get());
    FMouseOverEffect->Assign(source->FMouseOverEffect.get());
    FMouseDownEffect->Assign(source->FMouseDownEffect.get());
    FMixedEffect->Assign(source->FMixedEffect.get());
    DoChange();
    return;
  }
  TInterfacedPersistent::Assign(ASource);
}

void TDrawEffectSetting::Clear() {
  FIsMixedMouseDownAndPushedEffect = false;
  FPushedEffect->Clear();
  FMouseOverEffect->Clear();
  FMouseDownEffect->Clear();
  FMixedEffect->Clear();
}

TDrawParamCommonEffect* TDrawEffectSetting::EffectFor(TDPEffectStates AStates) const {
  if (AStates.IsEmpty()) return nullptr;
  if (AStates.Contains(TDPEffectState::dpstDisabled)) {
    return FDisabledEffect->HasEffectTypes() ? FDisabledEffect.get() : nullptr;
  }
  const auto qualifies = [AStates](TDPEffectState AState, const TDrawParamCommonEffect& AEffect) {
    return AStates.Contains(AState) && AEffect.HasEffectTypes();
  };
  const bool mouseDown = qualifies(TDPEffectState::dpstMouseDown, *FMouseDownEffect);
  const bool pushed = qualifies(TDPEffectState::dpstPushed, *FPushedEffect);
  if (pushed && mouseDown && FIsMixedMouseDownAndPushedEffect) {
    FMixedEffect->MixEffects(FPushedEffect.get(), FMouseDownEffect.get());
    return FMixedEffect.get();
  }
  // Later states outrank earlier ones: pushed, mouse-down, mouse-over, focused.
  if (pushed) return FPushedEffect.get();
  if (mouseDown) return FMouseDownEffect.get();
  if (qualifies(TDPEffectState::dpstMouseOver, *FMouseOverEffect)) return FMouseOverEffect.get();
  if (qualifies(TDPEffectState::dpstFocused, *FFocusedEffect)) return FFocusedEffect.get();
  return nullptr;
}

bool TDrawEffectSetting::SaveToDocNode(TBTNode20_Class* ADocNode) const {
  ADocNode->AddChildNode_Bool32(QStringLiteral("IsMixedMouseDownAndPushedEffect"),
                                QStringLiteral("是否整合按下和鼠标点击的效果"), FIsMixedMouseDownAndPushedEffect);
  FMouseDownEffect->SaveToDocNode(
      ADocNode->AddChildNode_Class(QStringLiteral("MouseDownEffect"), QStringLiteral("鼠标点击效果")));
  FMouseOverEffect->SaveToDocNode(
      ADocNode->AddChildNode_Class(QStringLiteral("MouseOverEffect"), QStringLiteral("鼠标停靠效果")));
  FPushedEffect->SaveToDocNode(
      ADocNode->AddChildNode_Class(QStringLiteral("PushedEffect"), QStringLiteral("按下状态效果")));
  return true;
}

bool TDrawEffectSetting::LoadFromChildNode(TBTNode20* ANode) {
  const QString& name = ANode->NodeName();
  TDrawParamCommonEffect* effect = nullptr;
  if (name == u"IsMixedMouseDownAndPushedEffect") {
    ReadNodeValue(ANode, FIsMixedMouseDownAndPushedEffect);
    return true;
  }
  if (name == u"MouseDownEffect") {
    effect = FMouseDownEffect.get();
  } else if (name == u"MouseOverEffect") {
    effect = FMouseOverEffect.get();
  } else if (name == u"PushedEffect") {
    effect = FPushedEffect.get();
  } else {
    return false;
  }
  if (auto* node = ANode->ConvertNode_Class()) effect->LoadFromDocNode(node);
  return true;
}

void TDrawEffectSetting::DoChange() {
  if (FOnChange) FOnChange(this);
}

// TDrawParam

TDrawParam::TDrawParam(const QString& AName, const QString& ACaption)
    : TDrawParam(AName, ACaption, std::make_unique<TDrawEffectSetting>()) {}

TDrawParam::TDrawParam(const QString& AName, const QString& ACaption,
                       std::unique_ptr<TDrawEffectSetting> AEffectSetting)
    : FDrawRectSetting(std::make_unique<TDrawRectSetting>()), FDrawEffectSetting(std::move(AEffectSetting)) {
  FDrawRectSetting->SetOnChange([this](TObject*) { DoChange(); });
  FDrawEffectSetting->SetOnChange([this](TObject*) { DoChange(); });
  TDrawParam::Clear();
  FName = AName;
  FCaption = ACaption;
}

TDrawParam::~TDrawParam() = default;

void TDrawParam::Assign(const TPersistent* ASource) {
  if (const auto* source = dynamic_cast<const TDrawParam*>(ASource)) {
    FAlpha = source->FAlpha;
    FDrawRectSetting->Assign(source->FDrawRectSetting.get());
    FDrawEffectSetting->Assign(source->FDrawEffectSetting.get());
    DoChange();
    return;
  }
  TInterfacedPersistent::Assign(ASource);
}

void TDrawParam::Clear() {
  SetAlpha(DefaultAlpha);
  DrawAlpha = DefaultAlpha;
  FDrawRectSetting->Clear();
  FDrawEffectSetting->Clear();
}

const QMetaObject* TDrawParam::GetDrawParamSettingClass() const { return &TDrawParamSetting::staticMetaObject; }

TDrawParamCommonEffect* TDrawParam::CurrentEffect() const { return FDrawEffectSetting->EffectFor(FEffectStates); }

std::uint8_t TDrawParam::CurrentEffectAlpha() const {
  const TDrawParamCommonEffect* effect = CurrentEffect();
  if (effect != nullptr && effect->CommonEffectTypes().Contains(TDPCommonEffectType::dpcetAlphaChange)) {
    return effect->Alpha();
  }
  return FAlpha;
}

TRectF TDrawParam::CalcDrawRect(const TRectF& AControlRect) const {
  TRectF rect = FDrawRectSetting->CalcDrawRect(AControlRect);
  const TDrawParamCommonEffect* effect = CurrentEffect();
  if (effect != nullptr && effect->CommonEffectTypes().Contains(TDPCommonEffectType::dpcetOffsetChange)) {
    rect.translate(effect->Offset(), effect->Offset());
  }
  return rect;
}

bool TDrawParam::SaveToDocNode(TBTNode20_Class* ADocNode) const {
  ADocNode->SetClassName(ClassName());
  ADocNode->AddChildNode_WideString(QStringLiteral("Name"), QStringLiteral("名称"), FName);
  ADocNode->AddChildNode_WideString(QStringLiteral("Caption"), QStringLiteral("标题"), FCaption);
  ADocNode->AddChildNode_UInt8(QStringLiteral("Alpha"), QStringLiteral("透明度"), FAlpha);
  FDrawRectSetting->SaveToDocNode(
      ADocNode->AddChildNode_Class(QStringLiteral("DrawRectSetting"), QStringLiteral("绘制矩形设置")));
  FDrawEffectSetting->SaveToDocNode(
      ADocNode->AddChildNode_Class(QStringLiteral("DrawEffectSetting"), QStringLiteral("绘制效果设置")));
  return true;
}

bool TDrawParam::LoadFromChildNode(TBTNode20* ANode) {
  const QString& name = ANode->NodeName();
  if (name == u"Name" || name == u"Caption") return true;
  if (name == u"Alpha") {
    ReadNodeValue(ANode, FAlpha);
    return true;
  }
  if (name == u"DrawRectSetting") {
    if (auto* node = ANode->ConvertNode_Class()) FDrawRectSetting->LoadFromDocNode(node);
    return true;
  }
  if (name == u"DrawEffectSetting") {
    if (auto* node = ANode->ConvertNode_Class()) FDrawEffectSetting->LoadFromDocNode(node);
    return true;
  }
  return false;
}

void TDrawParam::SetAlpha(std::uint8_t AValue) {
  if (FAlpha == AValue) return;
  FAlpha = AValue;
  DoChange();
}

bool TDrawParam::IsAlphaStored() const { return FAlpha != DefaultAlpha; }

void TDrawParam::DoChange() {
  if (FOnChange) FOnChange(this);
}

std::unique_ptr<TDrawColor> TDrawParam::CreateDrawColor(const QString& AName, const QString& ACaption) {
  auto color = std::make_unique<TDrawColor>(AName, ACaption);
  color->SetOnChange([this](TObject*) { DoChange(); });
  return color;
}

// TDrawParamSetting

TDrawParamSetting::TDrawParamSetting(TDrawParam* ADrawParam) : FDrawParam(ADrawParam) {}

TDrawParamSetting::~TDrawParamSetting() = default;

void TDrawParamSetting::SetDrawRectSizeType(TDPSizeType AValue) {
  Rect().SetSizeType(AValue);
  UpdateRectEnabled();
}

void TDrawParamSetting::SetDrawRectLeft(double AValue) {
  Rect().SetLeft(AValue);
  UpdateRectEnabled();
}

void TDrawParamSetting::SetDrawRectTop(double AValue) {
  Rect().SetTop(AValue);
  UpdateRectEnabled();
}

void TDrawParamSetting::SetDrawRectRight(double AValue) {
  Rect().SetRight(AValue);
  UpdateRectEnabled();
}

void TDrawParamSetting::SetDrawRectBottom(double AValue) {
  Rect().SetBottom(AValue);
  UpdateRectEnabled();
}

void TDrawParamSetting::SetDrawRectWidth(double AValue) {
  Rect().SetWidth(AValue);
  UpdateRectEnabled();
}

void TDrawParamSetting::SetDrawRectHeight(double AValue) {
  Rect().SetHeight(AValue);
  UpdateRectEnabled();
}

TSkinAlign TDrawParamSetting::DrawRectHorzAlign() const {
  switch (Rect().PositionHorzType()) {
    case TDPPositionHorzType::dpphtCenter:
      return TSkinAlign::salCenter;
    case TDPPositionHorzType::dpphtRight:
      return TSkinAlign::salTrailing;
    case TDPPositionHorzType::dpphtNone:
    case TDPPositionHorzType::dpphtLeft:
      break;
  }
  return TSkinAlign::salLeading;
}

void TDrawParamSetting::SetDrawRectHorzAlign(TSkinAlign AValue) {
  switch (AValue) {
    case TSkinAlign::salLeading:
      Rect().SetPositionHorzType(TDPPositionHorzType::dpphtLeft);
      break;
    case TSkinAlign::salCenter:
      Rect().SetPositionHorzType(TDPPositionHorzType::dpphtCenter);
      break;
    case TSkinAlign::salTrailing:
      Rect().SetPositionHorzType(TDPPositionHorzType::dpphtRight);
      break;
  }
  UpdateRectEnabled();
}

TSkinAlign TDrawParamSetting::DrawRectVertAlign() const {
  switch (Rect().PositionVertType()) {
    case TDPPositionVertType::dppvtCenter:
      return TSkinAlign::salCenter;
    case TDPPositionVertType::dppvtBottom:
      return TSkinAlign::salTrailing;
    case TDPPositionVertType::dppvtNone:
    case TDPPositionVertType::dppvtTop:
      break;
  }
  return TSkinAlign::salLeading;
}

void TDrawParamSetting::SetDrawRectVertAlign(TSkinAlign AValue) {
  switch (AValue) {
    case TSkinAlign::salLeading:
      Rect().SetPositionVertType(TDPPositionVertType::dppvtTop);
      break;
    case TSkinAlign::salCenter:
      Rect().SetPositionVertType(TDPPositionVertType::dppvtCenter);
      break;
    case TSkinAlign::salTrailing:
      Rect().SetPositionVertType(TDPPositionVertType::dppvtBottom);
      break;
  }
  UpdateRectEnabled();
}

void TDrawParamSetting::UpdateRectEnabled() {
  const TDrawRectSetting& rect = Rect();
  const bool differs = rect.Left() != 0 || rect.Top() != 0 || rect.Right() != 0 || rect.Bottom() != 0 ||
                       rect.Width() != 0 || rect.Height() != 0 || rect.SizeType() != TDPSizeType::dpstPixel ||
                       DrawRectHorzAlign() != TSkinAlign::salLeading || DrawRectVertAlign() != TSkinAlign::salLeading;
  Rect().SetEnabled(differs);
}

void TDrawParamSetting::SetCommon(TDrawParamCommonEffect& AEffect, TDPCommonEffectType AType, bool AValue) {
  TDPCommonEffectTypes types = AEffect.CommonEffectTypes();
  if (AValue) {
    types.Include(AType);
  } else {
    types.Exclude(AType);
  }
  AEffect.SetCommonEffectTypes(types);
}
