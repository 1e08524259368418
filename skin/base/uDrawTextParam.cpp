#include "skin/base/uDrawTextParam.h"

#include "skin/host/PropertyTypes.h"

#include <QByteArray>

#include <array>
#include <charconv>
#include <cmath>
#include <optional>

using ostrel::skin::DiffersFrom;
using ostrel::skin::EnumToOrdinal;
using ostrel::skin::OrdinalSetToText;
using ostrel::skin::ReadNodeValue;

void ostrel::skin::RegisterDrawTextParamPropertyTypes() {
  static const bool registered = [] {
    ostrel::host::RegisterSetType<TFontStyle>();
    ostrel::host::RegisterSetType<TDTPEffectType>();
    return true;
  }();
  (void)registered;
}

namespace {

// Style names of the description text, in their written order.
struct StyleName {
  TFontStyle Style;
  QStringView Name;
};
constexpr std::array<StyleName, 4> kStyleNames = {{
    {TFontStyle::fsBold, u"Bold"},
    {TFontStyle::fsItalic, u"Italic"},
    {TFontStyle::fsUnderline, u"Underline"},
    {TFontStyle::fsStrikeOut, u"Strikeout"},
}};

// The shortest text that reads back as the same single-precision value.
QString ShortestFloatText(float AValue) {
  std::array<char, 32> buffer{};
  const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), AValue);
  if (error != std::errc()) return QString::number(static_cast<double>(AValue));
  return QString::fromLatin1(buffer.data(), static_cast<qsizetype>(end - buffer.data()));
}

// The single-precision number AText spells in full, read straight to
// single precision so that ShortestFloatText's text reads back exactly. Text
// that is no finite number counts as damage.
std::optional<float> ParseFloat(QStringView AText) {
  const QByteArray bytes = AText.toLatin1();
  float value = 0;
  const char* end = bytes.constData() + bytes.size();
  const auto [stop, error] = std::from_chars(bytes.constData(), end, value);
  if (error != std::errc() || stop != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace

// TFont

QString TFont::DefaultFamily() { return QStringLiteral("Segoe UI"); }

TFont::TFont() : FFamily(DefaultFamily()) { ostrel::skin::RegisterDrawTextParamPropertyTypes(); }

TFont::~TFont() = default;

void TFont::Assign(const TPersistent* ASource) {
  if (const auto* source = dynamic_cast<const TFont*>(ASource)) {
    StaticAssignFont(*source);
    Changed();
    return;
  }
  TPersistent::Assign(ASource);
}

void TFont::StaticAssignFont(const TFont& ASource) {
  FFamily = ASource.FFamily;
  FSize = ASource.FSize;
  FStyle = ASource.FStyle;
}

void TFont::SetFamily(const QString& AValue) {
  if (FFamily == AValue) return;
  FFamily = AValue;
  Changed();
}

void TFont::SetSize(float AValue) {
  if (FSize == AValue) return;
  FSize = AValue;
  Changed();
}

void TFont::SetStyle(TFontStyles AValue) {
  if (FStyle == AValue) return;
  FStyle = AValue;
  Changed();
}

bool TFont::IsFamilyStored() const { return FFamily != DefaultFamily(); }
bool TFont::IsSizeStored() const { return DiffersFrom(FSize, DefaultSize); }
bool TFont::IsStyleStored() const { return !FStyle.IsEmpty(); }

void TFont::Changed() {
  if (FOnChanged) FOnChanged(this);
}

// TDrawFont

TDrawFont::TDrawFont()
    : FFontColor(std::make_unique<TDrawColor>(QStringLiteral("FontColor"), QStringLiteral("字体颜色"))) {
  FFontColor->SetOnChange([this](TObject*) { Changed(); });
  Clear();
}

TDrawFont::~TDrawFont() = default;

void TDrawFont::Assign(const TPersistent* ASource) {
  if (const auto* source = dynamic_cast<const TDrawFont*>(ASource)) {
    StaticAssign(*source);
    Changed();
    return;
  }
  TFont::Assign(ASource);
}

void TDrawFont::StaticAssign(const TDrawFont& ASource) {
  StaticAssignFont(ASource);
  FFontColor->StaticAssignColor(*ASource.FFontColor);
}

void TDrawFont::Clear() {
  FFontColor->SetUseThemeColor(TUseThemeColorType::ctNone);
  FFontColor->SetColor(claBlack);
}

void TDrawFont::SetFontColor(const TDrawColor* AValue) {
  if (AValue == nullptr) return;
  if (FFontColor->OwnColor() == AValue->OwnColor() && FFontColor->UseThemeColor() == AValue->UseThemeColor()) return;
  FFontColor->Assign(AValue);
}

QString TDrawFont::SaveToString() const {
  QStringList styles;
  for (const StyleName& name : kStyleNames) {
    if (Style().Contains(name.Style)) styles.append(name.Name.toString());
  }
  return u'"' + Family() + QStringLiteral("\", ") + ShortestFloatText(Size()) + QStringLiteral(", [") +
         styles.join(u'|') + QStringLiteral("],");
}

void TDrawFont::LoadFromString(const QString& AText) {
  // The family is taken up to its closing quote, so a family whose name holds
  // a comma reads back whole.
  const qsizetype open = AText.indexOf(u'"');
  const qsizetype close = open < 0 ? -1 : AText.indexOf(u'"', open + 1);
  if (close < 0) return;
  const qsizetype familyEnd = AText.indexOf(u',', close);
  if (familyEnd < 0) return;
  SetFamily(AText.mid(open + 1, close - open - 1));

  const qsizetype sizeEnd = AText.indexOf(u',', familyEnd + 1);
  if (sizeEnd < 0) return;
  const std::optional<float> size =
      ParseFloat(QStringView(AText).mid(familyEnd + 1, sizeEnd - familyEnd - 1).trimmed());
  if (!size) return;
  SetSize(*size);

  const qsizetype styleEnd = AText.indexOf(u',', sizeEnd + 1);
  if (styleEnd < 0) return;
  const QStringView styleItem = QStringView(AText).mid(sizeEnd + 1, styleEnd - sizeEnd - 1);
  const qsizetype listOpen = styleItem.indexOf(u'[');
  const qsizetype listClose = styleItem.indexOf(u']', listOpen + 1);
  if (listOpen < 0 || listClose < 0) return;
  const QString list = u'|' + styleItem.mid(listOpen + 1, listClose - listOpen - 1).toString();
  TFontStyles styles;
  for (const StyleName& name : kStyleNames) {
    if (list.contains(u'|' + name.Name.toString())) styles.Include(name.Style);
  }
  SetStyle(styles);
}

bool TDrawFont::SaveToDocNode(TBTNode20_Class* ADocNode) const {
  ADocNode->AddChildNode_WideString(QStringLiteral("Font"), QStringLiteral("字体"), SaveToString());
  ADocNode->AddChildNode_Color(QStringLiteral("FontColor"), QStringLiteral("字体颜色"), FFontColor->Color());
  return true;
}

bool TDrawFont::LoadFromDocNode(TBTNode20_Class* ADocNode) {
  if (ADocNode == nullptr) return false;
  for (TBTNode20* child : ADocNode->ChildNodes()) {
    const QString& name = child->NodeName();
    if (name == u"Font") {
      if (const auto* node = child->ConvertNode_WideString()) LoadFromString(node->Data());
    } else if (name == u"FontColor") {
      ReadNodeValue(child, *FFontColor);
    }
  }
  return true;
}

// TDrawTextParamEffect

TDrawTextParamEffect::TDrawTextParamEffect()
    : FFontColor(CreateEffectDrawColor(QStringLiteral("FontColor"), QStringLiteral("字体颜色"))) {
  ostrel::skin::RegisterDrawTextParamPropertyTypes();
}

TDrawTextParamEffect::~TDrawTextParamEffect() = default;

void TDrawTextParamEffect::CopyValuesFrom(const TDrawParamCommonEffect& ASource) {
  const auto& source = static_cast<const TDrawTextParamEffect&>(ASource);
  FFontColor->StaticAssignColor(*source.FFontColor);
  FFontSize = source.FFontSize;
  FFontStyle = source.FFontStyle;
  FEffectTypes = source.FEffectTypes;
  TDrawParamCommonEffect::CopyValuesFrom(ASource);
}

bool TDrawTextParamEffect::HasEffectTypes() const {
  return TDrawParamCommonEffect::HasEffectTypes() || !FEffectTypes.IsEmpty();
}

void TDrawTextParamEffect::SetFontSize(double AValue) {
  if (FFontSize == AValue) return;
  FFontSize = AValue;
  DoChange();
}

void TDrawTextParamEffect::SetFontStyle(TFontStyles AValue) {
  if (FFontStyle == AValue) return;
  FFontStyle = AValue;
  DoChange();
}

void TDrawTextParamEffect::SetEffectTypes(TDTPEffectTypes AValue) {
  if (FEffectTypes == AValue) return;
  FEffectTypes = AValue;
  DoChange();
}

bool TDrawTextParamEffect::IsFontSizeStored() const {
  return DiffersFrom(FFontSize, TFont::DefaultSize) && DiffersFrom(FFontSize, 0);
}

bool TDrawTextParamEffect::SaveToDocNode(TBTNode20_Class* ADocNode) const {
  TDrawParamCommonEffect::SaveToDocNode(ADocNode);
  ADocNode->AddChildNode_Color(QStringLiteral("FontColor"), QStringLiteral("字体颜色"), FFontColor->Color());
  ADocNode->AddChildNode_Real64(QStringLiteral("FontSize"), QStringLiteral("字体大小"), FFontSize);
  ADocNode->AddChildNode_WideString(QStringLiteral("FontStyle"), QStringLiteral("字体风格"),
                                    OrdinalSetToText(FFontStyle));
  ADocNode->AddChildNode_WideString(QStringLiteral("EffectTypes"), QStringLiteral("效果集"),
                                    OrdinalSetToText(FEffectTypes));
  return true;
}

bool TDrawTextParamEffect::LoadFromChildNode(TBTNode20* ANode) {
  if (TDrawParamCommonEffect::LoadFromChildNode(ANode)) return true;
  const QString& name = ANode->NodeName();
  if (name == u"FontColor") {
    ReadNodeValue(ANode, *FFontColor);
  } else if (name == u"FontSize") {
    // Older documents store the size as a whole number.
    if (const auto* whole = ANode->ConvertNode_Int32()) {
      FFontSize = whole->Data();
    } else {
      ReadNodeValue(ANode, FFontSize);
    }
  } else if (name == u"FontStyle") {
    ReadNodeValue(ANode, FFontStyle);
  } else if (name == u"EffectTypes") {
    ReadNodeValue(ANode, FEffectTypes);
  } else {
    return false;
  }
  return true;
}

// TDrawTextEffectSetting

TDrawTextEffectSetting::TDrawTextEffectSetting() = default;

TDrawTextEffectSetting::~TDrawTextEffectSetting() = default;

// TBaseDrawTextParam

TBaseDrawTextParam::TBaseDrawTextParam(const QString& AName, const QString& ACaption)
    : TDrawParam(AName, ACaption, std::make_unique<TDrawTextEffectSetting>()),
      FDrawFont(std::make_unique<TDrawFont>()) {
  ostrel::skin::RegisterDrawTextParamPropertyTypes();
  Clear();
  FDrawFont->SetOnChanged([this](TObject*) { DoChange(); });
}

TBaseDrawTextParam::~TBaseDrawTextParam() = default;

void TBaseDrawTextParam::Assign(const TPersistent* ASource) {
  if (const auto* source = dynamic_cast<const TBaseDrawTextParam*>(ASource)) {
    FDrawFont->StaticAssign(*source->FDrawFont);
    FFontTrimming = source->FFontTrimming;
    FFontVertAlign = source->FFontVertAlign;
    FFontHorzAlign = source->FFontHorzAlign;
    FIsWordWrap = source->FIsWordWrap;
    FIsDrawVert = source->FIsDrawVert;
  }
  TDrawParam::Assign(ASource);
}

void TBaseDrawTextParam::Clear() {
  TDrawParam::Clear();
  FDrawFont->Clear();
  SetIsWordWrap(false);
  SetFontTrimming(TFontTrimmingType::fttNone);
  SetFontVertAlign(TFontVertAlign::fvaTop);
  SetFontHorzAlign(TFontHorzAlign::fhaLeft);
}

const QMetaObject* TBaseDrawTextParam::GetDrawParamSettingClass() const {
  return &TDrawTextParamSetting::staticMetaObject;
}

void TBaseDrawTextParam::SetIsDrawVert(bool AValue) {
  if (FIsDrawVert == AValue) return;
  FIsDrawVert = AValue;
  if (AValue) FIsWordWrap = true;
  DoChange();
}

TSkinAlign TBaseDrawTextParam::HorzAlign() const {
  switch (FFontHorzAlign) {
    case TFontHorzAlign::fhaCenter:
      return TSkinAlign::salCenter;
    case TFontHorzAlign::fhaRight:
      return TSkinAlign::salTrailing;
    case TFontHorzAlign::fhaLeft:
      break;
  }
  return TSkinAlign::salLeading;
}

void TBaseDrawTextParam::SetHorzAlign(TSkinAlign AValue) {
  switch (AValue) {
    case TSkinAlign::salLeading:
      SetFontHorzAlign(TFontHorzAlign::fhaLeft);
      break;
    case TSkinAlign::salCenter:
      SetFontHorzAlign(TFontHorzAlign::fhaCenter);
      break;
    case TSkinAlign::salTrailing:
      SetFontHorzAlign(TFontHorzAlign::fhaRight);
      break;
  }
}

TSkinAlign TBaseDrawTextParam::VertAlign() const {
  switch (FFontVertAlign) {
    case TFontVertAlign::fvaCenter:
      return TSkinAlign::salCenter;
    case TFontVertAlign::fvaBottom:
      return TSkinAlign::salTrailing;
    case TFontVertAlign::fvaTop:
      break;
  }
  return TSkinAlign::salLeading;
}

void TBaseDrawTextParam::SetVertAlign(TSkinAlign AValue) {
  switch (AValue) {
    case TSkinAlign::salLeading:
      SetFontVertAlign(TFontVertAlign::fvaTop);
      break;
    case TSkinAlign::salCenter:
      SetFontVertAlign(TFontVertAlign::fvaCenter);
      break;
    case TSkinAlign::salTrailing:
      SetFontVertAlign(TFontVertAlign::fvaBottom);
      break;
  }
}

const TDrawTextParamEffect* TBaseDrawTextParam::EffectWith(TDTPEffectType AType) const {
  // The effect setting creates only text effects.
  const auto* effect = static_cast<const TDrawTextParamEffect*>(CurrentEffect());
  return effect != nullptr && effect->EffectTypes().Contains(AType) ? effect : nullptr;
}

TDrawColor* TBaseDrawTextParam::CurrentEffectFontColor() const {
  const TDrawTextParamEffect* effect = EffectWith(TDTPEffectType::dtpetFontColorChange);
  return effect != nullptr ? effect->FontColor() : FDrawFont->FontColor();
}

double TBaseDrawTextParam::CurrentEffectFontSize() const {
  const TDrawTextParamEffect* effect = EffectWith(TDTPEffectType::dtpetFontSizeChange);
  return effect != nullptr ? effect->FontSize() : FDrawFont->FontSize();
}

TFontStyles TBaseDrawTextParam::CurrentEffectFontStyle() const {
  const TDrawTextParamEffect* effect = EffectWith(TDTPEffectType::dtpetFontStyleChange);
  return effect != nullptr ? effect->FontStyle() : FDrawFont->FontStyle();
}

bool TBaseDrawTextParam::SaveToDocNode(TBTNode20_Class* ADocNode) const {
  TDrawParam::SaveToDocNode(ADocNode);
  FDrawFont->SaveToDocNode(ADocNode->AddChildNode_Class(QStringLiteral("DrawFont"), QStringLiteral("绘制字体")));
  ADocNode->AddChildNode_Bool32(QStringLiteral("IsDrawVert"), QStringLiteral("是否垂直绘制"), FIsDrawVert);
  ADocNode->AddChildNode_Bool32(QStringLiteral("IsWordWrap"), QStringLiteral("是否换行"), FIsWordWrap);
  ADocNode->AddChildNode_Int32(QStringLiteral("FontTrimming"), QStringLiteral("字体截断类型"),
                               EnumToOrdinal(FFontTrimming));
  ADocNode->AddChildNode_Int32(QStringLiteral("FontHorzAlign"), QStringLiteral("水平对齐风格"),
                               EnumToOrdinal(FFontHorzAlign));
  ADocNode->AddChildNode_Int32(QStringLiteral("FontVertAlign"), QStringLiteral("垂直对齐风格"),
                               EnumToOrdinal(FFontVertAlign));
  return true;
}

bool TBaseDrawTextParam::LoadFromChildNode(TBTNode20* ANode) {
  if (TDrawParam::LoadFromChildNode(ANode)) return true;
  const QString& name = ANode->NodeName();
  if (name == u"DrawFont") {
    if (auto* node = ANode->ConvertNode_Class()) FDrawFont->LoadFromDocNode(node);
  } else if (name == u"IsDrawVert") {
    ReadNodeValue(ANode, FIsDrawVert);
  } else if (name == u"IsWordWrap") {
    ReadNodeValue(ANode, FIsWordWrap);
  } else if (name == u"FontTrimming") {
    ReadNodeValue(ANode, FFontTrimming);
  } else if (name == u"FontHorzAlign") {
    ReadNodeValue(ANode, FFontHorzAlign);
  } else if (name == u"FontVertAlign") {
    ReadNodeValue(ANode, FFontVertAlign);
  } else {
    return false;
  }
  return true;
}

// TDrawTextParam

TDrawTextParam::TDrawTextParam(const QString& AName, const QString& ACaption) : TBaseDrawTextParam(AName, ACaption) {}

TDrawTextParam::~TDrawTextParam() = default;

bool TDrawTextParam::IsFontSizeStored() const { return DiffersFrom(FontSize(), TFont::DefaultSize); }
bool TDrawTextParam::IsAutoSizeWidthAdjustStored() const { return DiffersFrom(AutoSizeWidthAdjust(), 0); }
bool TDrawTextParam::IsAutoSizeHeightAdjustStored() const { return DiffersFrom(AutoSizeHeightAdjust(), 0); }

TDrawTextParam& ostrel::skin::GlobalDrawTextParam() {
  static const std::unique_ptr<TDrawTextParam> param =
      std::make_unique<TDrawTextParam>(QStringLiteral("GlobalDrawTextParam"), QStringLiteral("全局文本绘制参数"));
  return *param;
}

// TDrawTextParamSetting

TDrawTextParamSetting::TDrawTextParamSetting(TBaseDrawTextParam* ADrawTextParam)
    : TDrawParamSetting(ADrawTextParam), FDrawTextParam(ADrawTextParam) {}

TDrawTextParamSetting::~TDrawTextParamSetting() = default;

void TDrawTextParamSetting::Set(TDrawParamCommonEffect& AEffect, TDTPEffectType AType, bool AValue) {
  TDrawTextParamEffect& effect = TextEffect(AEffect);
  TDTPEffectTypes types = effect.EffectTypes();
  if (AValue) {
    types.Include(AType);
  } else {
    types.Exclude(AType);
  }
  effect.SetEffectTypes(types);
}
