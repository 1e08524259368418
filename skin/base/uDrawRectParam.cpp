#include "skin/base/uDrawRectParam.h"

#include "skin/host/PropertyTypes.h"

using ostrel::skin::DiffersFrom;
using ostrel::skin::EnumToOrdinal;
using ostrel::skin::OrdinalSetToText;

using ostrel::skin::ReadNodeValue;

void ostrel::skin::RegisterDrawRectParamPropertyTypes() {
  static const bool registered = [] {
    ostrel::host::RegisterSetType<TDRPBorderEadge>();
    ostrel::host::RegisterSetType<TDRPRectCorner>();
    ostrel::host::RegisterSetType<TDRPEffectType>();
    return true;
  }();
  (void)registered;
}

// TDrawRectParamEffect

TDrawRectParamEffect::TDrawRectParamEffect()
    : FFillDrawColor(CreateEffectDrawColor(QStringLiteral("FillDrawColor"), QStringLiteral("填充颜色"))),
      FBorderDrawColor(CreateEffectDrawColor(QStringLiteral("BorderDrawColor"), QStringLiteral("边框颜色"))) {
  ostrel::skin::RegisterDrawRectParamPropertyTypes();
}

TDrawRectParamEffect::~TDrawRectParamEffect() = default;

void TDrawRectParamEffect::CopyValuesFrom(const TDrawParamCommonEffect& ASource) {
  const auto& source = static_cast<const TDrawRectParamEffect&>(ASource);
  // Assign notifies once for the whole copy.
  FFillDrawColor->StaticAssignColor(*source.FFillDrawColor);
  FBorderDrawColor->StaticAssignColor(*source.FBorderDrawColor);
  FIsFill = source.FIsFill;
  FBorderWidth = source.FBorderWidth;
  FEffectTypes = source.FEffectTypes;
  TDrawParamCommonEffect::CopyValuesFrom(ASource);
}

bool TDrawRectParamEffect::HasEffectTypes() const {
  return TDrawParamCommonEffect::HasEffectTypes() || !FEffectTypes.IsEmpty();
}

void TDrawRectParamEffect::SetBorderWidth(double AValue) {
  if (FBorderWidth == AValue) return;
  FBorderWidth = AValue;
  DoChange();
}

void TDrawRectParamEffect::SetIsFill(bool AValue) {
  if (FIsFill == AValue) return;
  FIsFill = AValue;
  DoChange();
}

void TDrawRectParamEffect::SetEffectTypes(TDRPEffectTypes AValue) {
  if (FEffectTypes == AValue) return;
  FEffectTypes = AValue;
  DoChange();
}

void TDrawRectParamEffect::SetFillColorChangeType(TColorChangeType AValue) {
  if (FFillColorChangeType == AValue) return;
  FFillColorChangeType = AValue;
  DoChange();
}

bool TDrawRectParamEffect::IsBorderWidthStored() const { return FBorderWidth != 0; }
bool TDrawRectParamEffect::IsIsFillStored() const { return FIsFill; }
bool TDrawRectParamEffect::IsFillColorChangeTypeStored() const { return true; }
bool TDrawRectParamEffect::IsEffectTypesStored() const { return !FEffectTypes.IsEmpty(); }

bool TDrawRectParamEffect::SaveToDocNode(TBTNode20_Class* ADocNode) const {
  TDrawParamCommonEffect::SaveToDocNode(ADocNode);
  ADocNode->AddChildNode_Color(QStringLiteral("FillDrawColor"), QStringLiteral("字体颜色"), FFillDrawColor->Color());
  ADocNode->AddChildNode_Real64(QStringLiteral("BorderWidth"), QStringLiteral("边框宽度"), FBorderWidth);
  ADocNode->AddChildNode_Bool32(QStringLiteral("IsFill"), QStringLiteral("是否填充"), FIsFill);
  ADocNode->AddChildNode_WideString(QStringLiteral("EffectTypes"), QStringLiteral("效果集"),
                                    OrdinalSetToText(FEffectTypes));
  return true;
}

bool TDrawRectParamEffect::LoadFromChildNode(TBTNode20* ANode) {
  if (TDrawParamCommonEffect::LoadFromChildNode(ANode)) return true;
  const QString& name = ANode->NodeName();
  if (name == u"FillDrawColor") {
    ReadNodeValue(ANode, *FFillDrawColor);
  } else if (name == u"BorderWidth") {
    ReadNodeValue(ANode, FBorderWidth);
  } else if (name == u"IsFill") {
    ReadNodeValue(ANode, FIsFill);
  } else if (name == u"EffectTypes") {
    ReadNodeValue(ANode, FEffectTypes);
  } else {
    return false;
  }
  return true;
}

// TDrawRectEffectSetting

TDrawRectEffectSetting::TDrawRectEffectSetting() = default;

TDrawRectEffectSetting::~TDrawRectEffectSetting() = default;

// TBaseDrawRectParam

TBaseDrawRectParam::TBaseDrawRectParam(const QString& AName, const QString& ACaption)
    : TDrawParam(AName, ACaption, std::make_unique<TDrawRectEffectSetting>()),
      FFillDrawColor(CreateDrawColor(QStringLiteral("FillDrawColor"), QStringLiteral("填充颜色"))),
      FTempFillDrawColor(
          std::make_unique<TDrawColor>(QStringLiteral("TempFillDrawColor"), QStringLiteral("Temp填充颜色"))),
      FBorderDrawColor(CreateDrawColor(QStringLiteral("BorderDrawColor"), QStringLiteral("边框颜色"))),
      FGradient(std::make_unique<TGradient>()),
      FClipRoundRectSetting(std::make_unique<TDrawRectSetting>()) {
  ostrel::skin::RegisterDrawRectParamPropertyTypes();
  FFillDrawColor->InitDefaultColor(claWhite);
  FGradient->SetOnChange([this](TObject*) { DoChange(); });
  FClipRoundRectSetting->SetOnChange([this](TObject*) { DoChange(); });
  Clear();
}

TBaseDrawRectParam::~TBaseDrawRectParam() = default;

void TBaseDrawRectParam::Assign(const TPersistent* ASource) {
  if (const auto* source = dynamic_cast<const TBaseDrawRectParam*>(ASource)) {
    FIsLine = source->FIsLine;
    FIsRound = source->FIsRound;
    FRoundWidth = source->FRoundWidth;
    FRoundHeight = source->FRoundHeight;
    FBorderEadges = source->FBorderEadges;
    FRectCorners = source->FRectCorners;
    FIsFill = source->FIsFill;
    FFillDrawColor->Assign(source->FFillDrawColor.get());
    FBorderDrawColor->Assign(source->FBorderDrawColor.get());
    FBorderWidth = source->FBorderWidth;
    FBrushKind = source->FBrushKind;
    FGradient->Assign(source->FGradient.get());
  }
  TDrawParam::Assign(ASource);
}

void TBaseDrawRectParam::Clear() {
  TDrawParam::Clear();
  SetIsLine(false);
  SetLinePosition(TDRPLinePosition::lpBottom);
  SetIsRound(false);
  SetRoundWidth(DefaultRoundSize);
  SetRoundHeight(DefaultRoundSize);
  SetIsFill(false);
  FFillDrawColor->SetUseThemeColor(TUseThemeColorType::ctNone);
  FFillDrawColor->SetColor(claWhite);
  FBorderDrawColor->SetUseThemeColor(TUseThemeColorType::ctNone);
  FBorderDrawColor->SetColor(claBlack);
  SetBorderWidth(0);
  SetBorderEadges(AllBorderEadges);
  SetBrushKind(TDRPBrushKind::drpbkFill);
}

const QMetaObject* TBaseDrawRectParam::GetDrawParamSettingClass() const {
  return &TDrawRectParamSetting::staticMetaObject;
}

const TDrawRectParamEffect* TBaseDrawRectParam::EffectWith(TDRPEffectType AType) const {
  // The effect setting creates only rectangle effects.
  const auto* effect = static_cast<const TDrawRectParamEffect*>(CurrentEffect());
  // Pushed is a lasting state, not something the pointer does: a focused
  // control that is pushed (a switch that is on) keeps the pushed look and
  // shows its focus over it, in what the focused effect changes.
  const TDrawRectEffectSetting& setting = *DrawEffectSetting();
  if (effect != nullptr && effect == setting.PushedEffect() &&
      StaticEffectStates().Contains(TDPEffectState::dpstFocused)) {
    const TDrawRectParamEffect* focused = setting.FocusedEffect();
    if (focused->EffectTypes().Contains(AType)) return focused;
  }
  return effect != nullptr && effect->EffectTypes().Contains(AType) ? effect : nullptr;
}

bool TBaseDrawRectParam::CurrentEffectIsFill() const {
  const TDrawRectParamEffect* effect = EffectWith(TDRPEffectType::drpetIsFillChange);
  return effect != nullptr ? effect->IsFill() : FIsFill;
}

TDrawColor* TBaseDrawRectParam::CurrentEffectFillDrawColor() const {
  const TDrawRectParamEffect* effect = EffectWith(TDRPEffectType::drpetFillColorChange);
  if (effect == nullptr) return FFillDrawColor.get();
  if (effect->FillColorChangeType() == TColorChangeType::cctNone) return effect->FillDrawColor();
  // Brightness and darkness changes keep the parameter's own (resolved)
  // colour: the stored forms were laid out against that result.
  FTempFillDrawColor->SetColor(FFillDrawColor->Color());
  return FTempFillDrawColor.get();
}

double TBaseDrawRectParam::CurrentEffectBorderWidth() const {
  const TDrawRectParamEffect* effect = EffectWith(TDRPEffectType::drpetBorderWidthChange);
  return effect != nullptr ? effect->BorderWidth() : FBorderWidth;
}

TDrawColor* TBaseDrawRectParam::CurrentEffectBorderColor() const {
  const TDrawRectParamEffect* effect = EffectWith(TDRPEffectType::drpetBorderColorChange);
  return effect != nullptr ? effect->BorderDrawColor() : FBorderDrawColor.get();
}

bool TBaseDrawRectParam::SaveToDocNode(TBTNode20_Class* ADocNode) const {
  TDrawParam::SaveToDocNode(ADocNode);
  ADocNode->AddChildNode_WideString(QStringLiteral("BorderEadges"), QStringLiteral("边框"),
                                    OrdinalSetToText(FBorderEadges));
  ADocNode->AddChildNode_WideString(QStringLiteral("RectCorners"), QStringLiteral("角"),
                                    OrdinalSetToText(FRectCorners));
  ADocNode->AddChildNode_Bool32(QStringLiteral("IsRound"), QStringLiteral("是否圆角"), FIsRound);
  ADocNode->AddChildNode_Real64(QStringLiteral("RoundWidth"), QStringLiteral("圆角宽度"), FRoundWidth);
  ADocNode->AddChildNode_Real64(QStringLiteral("RoundHeight"), QStringLiteral("圆角高度"), FRoundHeight);
  ADocNode->AddChildNode_Bool32(QStringLiteral("IsFill"), QStringLiteral("是否填充矩形"), FIsFill);
  ADocNode->AddChildNode_Color(QStringLiteral("FillDrawColor"), QStringLiteral("填充颜色"), FFillDrawColor->Color());
  ADocNode->AddChildNode_Bool32(QStringLiteral("IsLine"), QStringLiteral("是否是线段"), FIsLine);
  ADocNode->AddChildNode_Int32(QStringLiteral("LinePosition"), QStringLiteral("线段位置"),
                               EnumToOrdinal(FLinePosition));
  ADocNode->AddChildNode_Color(QStringLiteral("BorderDrawColor"), QStringLiteral("边框颜色"),
                               FBorderDrawColor->Color());
  ADocNode->AddChildNode_Real64(QStringLiteral("BorderWidth"), QStringLiteral("边框宽度"), FBorderWidth);
  ADocNode->AddChildNode_Int32(QStringLiteral("BrushKind"), QStringLiteral("是否填充"), EnumToOrdinal(FBrushKind));
  return true;
}

bool TBaseDrawRectParam::LoadFromChildNode(TBTNode20* ANode) {
  if (TDrawParam::LoadFromChildNode(ANode)) return true;
  const QString& name = ANode->NodeName();
  if (name == u"BorderEadges") {
    ReadNodeValue(ANode, FBorderEadges);
  } else if (name == u"RectCorners") {
    ReadNodeValue(ANode, FRectCorners);
  } else if (name == u"IsRound") {
    ReadNodeValue(ANode, FIsRound);
  } else if (name == u"RoundWidth") {
    ReadNodeValue(ANode, FRoundWidth);
  } else if (name == u"RoundHeight") {
    ReadNodeValue(ANode, FRoundHeight);
  } else if (name == u"IsFill") {
    ReadNodeValue(ANode, FIsFill);
  } else if (name == u"FillDrawColor") {
    ReadNodeValue(ANode, *FFillDrawColor);
  } else if (name == u"IsLine") {
    ReadNodeValue(ANode, FIsLine);
  } else if (name == u"LinePosition") {
    ReadNodeValue(ANode, FLinePosition);
  } else if (name == u"BorderDrawColor") {
    ReadNodeValue(ANode, *FBorderDrawColor);
  } else if (name == u"BorderWidth") {
    ReadNodeValue(ANode, FBorderWidth);
  } else if (name == u"BrushKind") {
    ReadNodeValue(ANode, FBrushKind);
  } else {
    return false;
  }
  return true;
}

// TDrawRectParam

TDrawRectParam::TDrawRectParam(const QString& AName, const QString& ACaption) : TBaseDrawRectParam(AName, ACaption) {}

TDrawRectParam::~TDrawRectParam() = default;

bool TDrawRectParam::IsRoundWidthStored() const { return DiffersFrom(RoundWidth(), DefaultRoundSize); }
bool TDrawRectParam::IsRoundHeightStored() const { return DiffersFrom(RoundHeight(), DefaultRoundSize); }
bool TDrawRectParam::IsBorderWidthStored() const { return DiffersFrom(BorderWidth(), 0); }

// TDrawRectParamSetting

TDrawRectParamSetting::TDrawRectParamSetting(TBaseDrawRectParam* ADrawRectParam)
    : TDrawParamSetting(ADrawRectParam), FDrawRectParam(ADrawRectParam) {}

TDrawRectParamSetting::~TDrawRectParamSetting() = default;

void TDrawRectParamSetting::SetEffectType(TDrawRectParamEffect& AEffect, TDRPEffectType AType, bool AValue) {
  TDRPEffectTypes types = AEffect.EffectTypes();
  if (AValue) {
    types.Include(AType);
  } else {
    types.Exclude(AType);
  }
  AEffect.SetEffectTypes(types);
}
