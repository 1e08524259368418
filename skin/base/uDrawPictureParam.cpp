#include "skin/base/uDrawPictureParam.h"

#include "skin/host/PropertyTypes.h"

#include <limits>

using ostrel::skin::EnumToOrdinal;
using ostrel::skin::OrdinalSetToText;
using ostrel::skin::ReadNodeValue;

void ostrel::skin::RegisterDrawPictureParamPropertyTypes() {
  static const bool registered = [] {
    ostrel::host::RegisterSetType<TDPPEffectType>();
    return true;
  }();
  (void)registered;
}

namespace {

// Copies margins without firing their OnChange, for a parameter that notifies
// once for a whole copy.
void StaticAssignMargins(TBorderMargins& ADest, const TBorderMargins& ASource) {
  const TNotifyEvent handler = ADest.OnChange();
  ADest.SetOnChange({});
  ADest.Assign(&ASource);
  ADest.SetOnChange(handler);
}

}  // namespace

// TDrawPictureParamEffect

TDrawPictureParamEffect::TDrawPictureParamEffect() { ostrel::skin::RegisterDrawPictureParamPropertyTypes(); }

TDrawPictureParamEffect::~TDrawPictureParamEffect() = default;

void TDrawPictureParamEffect::CopyValuesFrom(const TDrawParamCommonEffect& ASource) {
  const auto& source = static_cast<const TDrawPictureParamEffect&>(ASource);
  FImageIndex = source.FImageIndex;
  FImageName = source.FImageName;
  FRotateAngle = source.FRotateAngle;
  FEffectTypes = source.FEffectTypes;
  TDrawParamCommonEffect::CopyValuesFrom(ASource);
}

bool TDrawPictureParamEffect::HasEffectTypes() const {
  return TDrawParamCommonEffect::HasEffectTypes() || !FEffectTypes.IsEmpty();
}

bool TDrawPictureParamEffect::SaveToDocNode(TBTNode20_Class* ADocNode) const {
  TDrawParamCommonEffect::SaveToDocNode(ADocNode);
  ADocNode->AddChildNode_Int32(QStringLiteral("RotateAngle"), QStringLiteral("旋转角度"), FRotateAngle);
  ADocNode->AddChildNode_Int32(QStringLiteral("ImageIndex"), QStringLiteral("图片下标"), FImageIndex);
  ADocNode->AddChildNode_WideString(QStringLiteral("ImageName"), QStringLiteral("图片名称"), FImageName);
  ADocNode->AddChildNode_WideString(QStringLiteral("EffectTypes"), QStringLiteral("效果集"),
                                    OrdinalSetToText(FEffectTypes));
  return true;
}

bool TDrawPictureParamEffect::LoadFromChildNode(TBTNode20* ANode) {
  if (TDrawParamCommonEffect::LoadFromChildNode(ANode)) return true;
  const QString& name = ANode->NodeName();
  if (name == u"RotateAngle") {
    ReadNodeValue(ANode, FRotateAngle);
  } else if (name == u"ImageIndex") {
    ReadNodeValue(ANode, FImageIndex);
  } else if (name == u"ImageName") {
    ReadNodeValue(ANode, FImageName);
  } else if (name == u"EffectTypes") {
    ReadNodeValue(ANode, FEffectTypes);
  } else {
    return false;
  }
  return true;
}

// TDrawPictureEffectSetting

TDrawPictureEffectSetting::TDrawPictureEffectSetting() = default;

TDrawPictureEffectSetting::~TDrawPictureEffectSetting() = default;

// TBaseDrawPictureParam

TBaseDrawPictureParam::TBaseDrawPictureParam(const QString& AName, const QString& ACaption)
    : TDrawParam(AName, ACaption, std::make_unique<TDrawPictureEffectSetting>()),
      FStretchMargins(std::make_unique<TBorderMargins>()),
      FDestDrawStretchMargins(std::make_unique<TBorderMargins>()) {
  ostrel::skin::RegisterDrawPictureParamPropertyTypes();
  Clear();
  FStretchMargins->SetOnChange([this](TObject*) { DoChange(); });
  FDestDrawStretchMargins->SetOnChange([this](TObject*) { DoChange(); });
}

TBaseDrawPictureParam::~TBaseDrawPictureParam() = default;

void TBaseDrawPictureParam::Assign(const TPersistent* ASource) {
  if (const auto* source = dynamic_cast<const TBaseDrawPictureParam*>(ASource)) {
    FScale = source->FScale;
    FRotateAngle = source->FRotateAngle;
    FPictureTooSmallProcessType = source->FPictureTooSmallProcessType;
    FPictureTooLargeProcessType = source->FPictureTooLargeProcessType;
    FIsAutoFit = source->FIsAutoFit;
    FIsStretch = source->FIsStretch;
    FStretchStyle = source->FStretchStyle;
    StaticAssignMargins(*FStretchMargins, *source->FStretchMargins);
    StaticAssignMargins(*FDestDrawStretchMargins, *source->FDestDrawStretchMargins);
    FPictureVertAlign = source->FPictureVertAlign;
    FPictureHorzAlign = source->FPictureHorzAlign;
  }
  TDrawParam::Assign(ASource);
}

void TBaseDrawPictureParam::Clear() {
  TDrawParam::Clear();
  SetRotateAngle(0);
  SetScale(DefaultScale);
  SetIsAutoFit(false);
  SetIsStretch(false);
  FStretchMargins->SetBounds(TBorderMargins::DefaultMargin, TBorderMargins::DefaultMargin,
                             TBorderMargins::DefaultMargin, TBorderMargins::DefaultMargin);
  FDestDrawStretchMargins->SetBounds(TBorderMargins::DefaultMargin, TBorderMargins::DefaultMargin,
                                     TBorderMargins::DefaultMargin, TBorderMargins::DefaultMargin);
  SetStretchStyle(TPictureStretchStyle::issTensile);
  SetPictureVertAlign(TPictureVertAlign::pvaTop);
  SetPictureHorzAlign(TPictureHorzAlign::phaLeft);
}

const QMetaObject* TBaseDrawPictureParam::GetDrawParamSettingClass() const {
  return &TDrawPictureParamSetting::staticMetaObject;
}

const TDrawPictureParamEffect* TBaseDrawPictureParam::PictureEffect() const {
  // The effect setting creates only picture effects.
  return static_cast<const TDrawPictureParamEffect*>(CurrentEffect());
}

std::int32_t TBaseDrawPictureParam::CurrentEffectImageIndex(std::int32_t AImageIndex) const {
  const TDrawPictureParamEffect* effect = PictureEffect();
  if (effect == nullptr) return TDrawPictureParamEffect::DefaultImageIndex;
  if (effect->EffectTypes().Contains(TDPPEffectType::dppetImageIndexInc1)) {
    // The last possible index has no next one; the picture keeps its own.
    if (AImageIndex == std::numeric_limits<std::int32_t>::max()) return TDrawPictureParamEffect::DefaultImageIndex;
    return AImageIndex + 1;
  }
  if (effect->EffectTypes().Contains(TDPPEffectType::dppetImageIndexChange)) return effect->ImageIndex();
  return TDrawPictureParamEffect::DefaultImageIndex;
}

QString TBaseDrawPictureParam::CurrentEffectImageName() const {
  const TDrawPictureParamEffect* effect = PictureEffect();
  if (effect != nullptr && effect->EffectTypes().Contains(TDPPEffectType::dppetImageNameChange)) {
    return effect->ImageName();
  }
  return QString();
}

double TBaseDrawPictureParam::CurrentEffectRotateAngle() const {
  const TDrawPictureParamEffect* effect = PictureEffect();
  if (effect != nullptr && effect->EffectTypes().Contains(TDPPEffectType::dppetRotateAngleChange)) {
    return FRotateAngle + effect->RotateAngle();
  }
  return FRotateAngle;
}

bool TBaseDrawPictureParam::SaveToDocNode(TBTNode20_Class* ADocNode) const {
  TDrawParam::SaveToDocNode(ADocNode);
  ADocNode->AddChildNode_Bool32(QStringLiteral("IsAutoFit"), QStringLiteral("是否自适应"), FIsAutoFit);
  ADocNode->AddChildNode_Bool32(QStringLiteral("IsStretch"), QStringLiteral("是否拉伸"), FIsStretch);
  ADocNode->AddChildNode_Int32(QStringLiteral("StretchStyle"), QStringLiteral("拉伸风格"), EnumToOrdinal(FStretchStyle));
  ADocNode->AddChildNode_WideString(QStringLiteral("StretchMargins"), QStringLiteral("图片拉伸边距"),
                                    FStretchMargins->SaveToString());
  ADocNode->AddChildNode_WideString(QStringLiteral("DestDrawStretchMargins"), QStringLiteral("目标绘制拉伸边距"),
                                    FDestDrawStretchMargins->SaveToString());
  ADocNode->AddChildNode_Int32(QStringLiteral("PictureHorzAlign"), QStringLiteral("水平对齐风格"),
                               EnumToOrdinal(FPictureHorzAlign));
  ADocNode->AddChildNode_Int32(QStringLiteral("PictureVertAlign"), QStringLiteral("垂直对齐风格"),
                               EnumToOrdinal(FPictureVertAlign));
  return true;
}

namespace {

// A margins text that is not four integers leaves the margins as they are,
// like any other node whose value cannot be used.
void ReadMargins(TBTNode20* ANode, TBorderMargins& AMargins) {
  const auto* node = ANode->ConvertNode_WideString();
  if (node == nullptr) return;
  try {
    AMargins.LoadFromString(node->Data());
  } catch (const EConvertError&) {
  }
}

}  // namespace

bool TBaseDrawPictureParam::LoadFromChildNode(TBTNode20* ANode) {
  if (TDrawParam::LoadFromChildNode(ANode)) return true;
  const QString& name = ANode->NodeName();
  if (name == u"IsAutoFit") {
    ReadNodeValue(ANode, FIsAutoFit);
  } else if (name == u"IsStretch") {
    ReadNodeValue(ANode, FIsStretch);
  } else if (name == u"StretchStyle") {
    ReadNodeValue(ANode, FStretchStyle);
  } else if (name == u"StretchMargins") {
    ReadMargins(ANode, *FStretchMargins);
  } else if (name == u"DestDrawStretchMargins") {
    ReadMargins(ANode, *FDestDrawStretchMargins);
  } else if (name == u"PictureHorzAlign") {
    ReadNodeValue(ANode, FPictureHorzAlign);
  } else if (name == u"PictureVertAlign") {
    ReadNodeValue(ANode, FPictureVertAlign);
  } else {
    return false;
  }
  return true;
}

// TDrawPictureParam

TDrawPictureParam::TDrawPictureParam(const QString& AName, const QString& ACaption)
    : TBaseDrawPictureParam(AName, ACaption) {}

TDrawPictureParam::~TDrawPictureParam() = default;

// TDrawPictureParamSetting

TDrawPictureParamSetting::TDrawPictureParamSetting(TBaseDrawPictureParam* ADrawPictureParam)
    : TDrawParamSetting(ADrawPictureParam), FDrawPictureParam(ADrawPictureParam) {}

TDrawPictureParamSetting::~TDrawPictureParamSetting() = default;

void TDrawPictureParamSetting::Set(TDrawParamCommonEffect& AEffect, TDPPEffectType AType, bool AValue) {
  TDrawPictureParamEffect& effect = PictureEffect(AEffect);
  TDPPEffectTypes types = effect.EffectTypes();
  if (AValue) {
    types.Include(AType);
  } else {
    types.Exclude(AType);
  }
  effect.SetEffectTypes(types);
}
