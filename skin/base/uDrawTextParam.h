#pragma once
// The text drawing parameter: font (family, size, style, colour), alignment in
// the drawing rectangle, word wrap, vertical writing, trimming, and the
// per-state effects that replace colour, size and style. It only holds and
// resolves values; the canvas lays the text out and draws it.

#include "skin/base/uDrawParam.h"
#include "skin/base/uGraphicCommon.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>

namespace uDrawTextParam {
Q_NAMESPACE

enum class TFontHorzAlign : std::uint8_t { fhaLeft, fhaCenter, fhaRight };
Q_ENUM_NS(TFontHorzAlign)

enum class TFontVertAlign : std::uint8_t { fvaTop, fvaCenter, fvaBottom };
Q_ENUM_NS(TFontVertAlign)

enum class TFontTrimmingType : std::uint8_t { fttNone, fttCharacter, fftWord };
Q_ENUM_NS(TFontTrimmingType)

enum class TDTPEffectType : std::uint8_t { dtpetFontColorChange, dtpetFontSizeChange, dtpetFontStyleChange };
Q_ENUM_NS(TDTPEffectType)

// The host font's styles, spelled as its stored forms spell them.
enum class TFontStyle : std::uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
Q_ENUM_NS(TFontStyle)

}  // namespace uDrawTextParam

using uDrawTextParam::TDTPEffectType;
using uDrawTextParam::TFontHorzAlign;
using uDrawTextParam::TFontStyle;
using uDrawTextParam::TFontTrimmingType;
using uDrawTextParam::TFontVertAlign;
using TDTPEffectTypes = TSet<TDTPEffectType>;
using TFontStyles = TSet<TFontStyle>;

namespace ostrel::skin {

// The text parameter's sets for stored forms; runs once, called by the font,
// text effect and text parameter constructors.
void RegisterDrawTextParamPropertyTypes();

// Whatever the canvas keeps per text parameter between paints (its layout
// object and the settings it last gave it), kept like any parameter's cache.
using KeptTextLayout = KeptDrawCache;

}  // namespace ostrel::skin

// The host font: family, size in points (single precision), style, and one
// change event for all three.
class TFont : public TPersistent {
  Q_OBJECT
  Q_PROPERTY(QString Family READ Family WRITE SetFamily)
  Q_PROPERTY(float Size READ Size WRITE SetSize)
  Q_PROPERTY(TFontStyles Style READ Style WRITE SetStyle)

 public:
  // Points; also the size a text effect replaces the font's size with until set.
  static constexpr float DefaultSize = 12;
  // The family a new font starts with. Fixed rather than asked from the
  // running desktop, so that whether a form stores a family does not depend on
  // the machine that wrote it; the canvas resolves it to an installed face.
  static QString DefaultFamily();

  TFont();
  ~TFont() override;

  // From another font: family, size and style, then one change event.
  void Assign(const TPersistent* ASource) override;

  QString Family() const { return FFamily; }
  void SetFamily(const QString& AValue);
  float Size() const { return FSize; }
  void SetSize(float AValue);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles AValue);

  const TNotifyEvent& OnChanged() const { return FOnChanged; }
  void SetOnChanged(TNotifyEvent AValue) { FOnChanged = std::move(AValue); }

  Q_INVOKABLE bool IsFamilyStored() const;
  Q_INVOKABLE bool IsSizeStored() const;
  Q_INVOKABLE bool IsStyleStored() const;

 protected:
  void Changed();
  // Family, size and style without the change event.
  void StaticAssignFont(const TFont& ASource);

 private:
  QString FFamily;
  float FSize = DefaultSize;
  TFontStyles FStyle;
  TNotifyEvent FOnChanged;
};

// The font of a text parameter: the host font plus a colour that may follow a
// theme colour. A change of the colour fires the font's change event.
class TDrawFont : public TFont {
  Q_OBJECT
  // A view of FontColor's own colour, like TDrawColor's stored Color.
  Q_PROPERTY(TAlphaColor Color READ OwnColor WRITE SetColor)
  Q_PROPERTY(TDrawColor* FontColor READ FontColor WRITE SetFontColor)

 public:
  TDrawFont();
  ~TDrawFont() override;

  // From another draw font: size, style, family and colour, one change event.
  // From a plain host font: its family, size and style.
  void Assign(const TPersistent* ASource) override;
  // The same copy without the change event, for owners that notify once.
  void StaticAssign(const TDrawFont& ASource);
  // Colour back to opaque black, without theme link; family, size and style stay.
  void Clear();

  // The description text: "Family", size, [Style|Style], with a final comma.
  QString SaveToString() const;
  // Reads SaveToString's text. A damaged text is read as far as it goes: what
  // was taken before the damage stays, nothing is raised.
  void LoadFromString(const QString& AText);

  bool SaveToDocNode(TBTNode20_Class* ADocNode) const;
  // Takes the "Font" and "FontColor" nodes; others are ignored.
  bool LoadFromDocNode(TBTNode20_Class* ADocNode);

  TAlphaColor Color() const { return FFontColor->Color(); }
  TAlphaColor OwnColor() const { return FFontColor->OwnColor(); }
  void SetColor(TAlphaColor AValue) { FFontColor->SetColor(AValue); }
  TDrawColor* FontColor() const { return FFontColor.get(); }
  // Copies AValue's colour and theme link; no event when both are equal already.
  void SetFontColor(const TDrawColor* AValue);

  QString FontName() const { return Family(); }
  void SetFontName(const QString& AValue) { SetFamily(AValue); }
  TFontStyles FontStyle() const { return Style(); }
  void SetFontStyle(TFontStyles AValue) { SetStyle(AValue); }
  double FontSize() const { return Size(); }
  void SetFontSize(double AValue) { SetSize(static_cast<float>(AValue)); }

  Q_INVOKABLE bool IsColorStored() const { return OwnColor() != claBlack; }

 private:
  std::unique_ptr<TDrawColor> FFontColor;
};

// What one state changes in a text: colour, size, style.
class TDrawTextParamEffect : public TDrawParamCommonEffect {
  Q_OBJECT
  Q_PROPERTY(TDrawColor* FontColor READ FontColor WRITE SetFontColor)
  Q_PROPERTY(double FontSize READ FontSize WRITE SetFontSize)
  Q_PROPERTY(TFontStyles FontStyle READ FontStyle WRITE SetFontStyle)
  Q_PROPERTY(TDTPEffectTypes EffectTypes READ EffectTypes WRITE SetEffectTypes)

 public:
  TDrawTextParamEffect();
  ~TDrawTextParamEffect() override;

  bool HasEffectTypes() const override;

  bool SaveToDocNode(TBTNode20_Class* ADocNode) const override;

  TDrawColor* FontColor() const { return FFontColor.get(); }
  void SetFontColor(const TDrawColor* AValue) { FFontColor->Assign(AValue); }
  double FontSize() const { return FFontSize; }
  void SetFontSize(double AValue);
  TFontStyles FontStyle() const { return FFontStyle; }
  void SetFontStyle(TFontStyles AValue);
  TDTPEffectTypes EffectTypes() const { return FEffectTypes; }
  void SetEffectTypes(TDTPEffectTypes AValue);

  Q_INVOKABLE bool IsFontSizeStored() const;
  Q_INVOKABLE bool IsFontStyleStored() const { return !FFontStyle.IsEmpty(); }
  Q_INVOKABLE bool IsEffectTypesStored() const { return !FEffectTypes.IsEmpty(); }

 protected:
  bool LoadFromChildNode(TBTNode20* ANode) override;
  // Colour, size, style and effect types, then the common values.
  void CopyValuesFrom(const TDrawParamCommonEffect& ASource) override;

 private:
  std::unique_ptr<TDrawColor> FFontColor;
  double FFontSize = TFont::DefaultSize;
  TFontStyles FFontStyle;
  TDTPEffectTypes FEffectTypes;
};

// The effect setting of text parameters: its effects are text effects.
class TDrawTextEffectSetting : public ostrel::skin::TypedEffectSetting<TDrawTextParamEffect> {
  Q_OBJECT
  Q_PROPERTY(TDrawTextParamEffect* DisabledEffect READ DisabledEffect WRITE SetDisabledEffect)
  Q_PROPERTY(TDrawTextParamEffect* FocusedEffect READ FocusedEffect WRITE SetFocusedEffect)
  Q_PROPERTY(TDrawTextParamEffect* MouseDownEffect READ MouseDownEffect WRITE SetMouseDownEffect)
  Q_PROPERTY(TDrawTextParamEffect* MouseOverEffect READ MouseOverEffect WRITE SetMouseOverEffect)
  Q_PROPERTY(TDrawTextParamEffect* PushedEffect READ PushedEffect WRITE SetPushedEffect)

 public:
  TDrawTextEffectSetting();
  ~TDrawTextEffectSetting() override;
};

// Holds and resolves every value of a text parameter.
class TBaseDrawTextParam : public TDrawParam {
  Q_OBJECT

 public:
  TBaseDrawTextParam(const QString& AName, const QString& ACaption);
  ~TBaseDrawTextParam() override;

  // From another text parameter: the font, FontTrimming, both alignments,
  // IsWordWrap and IsDrawVert, then the base values. The auto-size
  // adjustments stay. From any other drawing parameter only the base values.
  void Assign(const TPersistent* ASource) override;
  // The base values, the font's colour, no wrap or trimming, top-left
  // alignment. Family, size, style, IsDrawVert and the adjustments stay.
  void Clear() override;

  bool SaveToDocNode(TBTNode20_Class* ADocNode) const override;

  const QMetaObject* GetDrawParamSettingClass() const override;

  // Values in force for StaticEffectStates.
  TDrawColor* CurrentEffectFontColor() const;
  double CurrentEffectFontSize() const;
  TFontStyles CurrentEffectFontStyle() const;
  QString CurrentEffectFontName() const { return FDrawFont->FontName(); }

  TDrawFont* DrawFont() const { return FDrawFont.get(); }
  void SetDrawFont(const TDrawFont* AValue) { FDrawFont->Assign(AValue); }

  QString FontName() const { return FDrawFont->FontName(); }
  void SetFontName(const QString& AValue) { FDrawFont->SetFontName(AValue); }
  TFontStyles FontStyle() const { return FDrawFont->FontStyle(); }
  void SetFontStyle(TFontStyles AValue) { FDrawFont->SetFontStyle(AValue); }
  double FontSize() const { return FDrawFont->FontSize(); }
  void SetFontSize(double AValue) { FDrawFont->SetFontSize(AValue); }
  TAlphaColor FontColor() const { return FDrawFont->Color(); }
  TAlphaColor OwnFontColor() const { return FDrawFont->OwnColor(); }
  void SetFontColor(TAlphaColor AValue) { FDrawFont->SetColor(AValue); }

  bool IsWordWrap() const { return FIsWordWrap; }
  void SetIsWordWrap(bool AValue) { SetValue(FIsWordWrap, AValue); }
  // Vertical text is one character per line, which only wrapping yields:
  // switching it on switches wrap on too, switching it off leaves wrap alone.
  bool IsDrawVert() const { return FIsDrawVert; }
  void SetIsDrawVert(bool AValue);
  TFontVertAlign FontVertAlign() const { return FFontVertAlign; }
  void SetFontVertAlign(TFontVertAlign AValue) { SetValue(FFontVertAlign, AValue); }
  TFontHorzAlign FontHorzAlign() const { return FFontHorzAlign; }
  void SetFontHorzAlign(TFontHorzAlign AValue) { SetValue(FFontHorzAlign, AValue); }
  void SetStaticFontHorzAlign(TFontHorzAlign AValue) { FFontHorzAlign = AValue; }
  // Trimming changes no layout geometry, so it is written without notification.
  TFontTrimmingType FontTrimming() const { return FFontTrimming; }
  void SetFontTrimming(TFontTrimmingType AValue) { FFontTrimming = AValue; }
  double AutoSizeHeightAdjust() const { return FAutoSizeHeightAdjust; }
  void SetAutoSizeHeightAdjust(double AValue) { SetValue(FAutoSizeHeightAdjust, AValue); }
  double AutoSizeWidthAdjust() const { return FAutoSizeWidthAdjust; }
  void SetAutoSizeWidthAdjust(double AValue) { SetValue(FAutoSizeWidthAdjust, AValue); }

  // The alignments as leading, centre, trailing.
  TSkinAlign HorzAlign() const;
  void SetHorzAlign(TSkinAlign AValue);
  TSkinAlign VertAlign() const;
  void SetVertAlign(TSkinAlign AValue);

  // Forms write the font colour even when it is opaque black.
  bool IsMustStoreFontColor = false;

  // The canvas's layout object for this parameter; empty until it first draws it.
  ostrel::skin::KeptTextLayout* TextLayout() const { return FTextLayout.get(); }
  void SetTextLayout(std::unique_ptr<ostrel::skin::KeptTextLayout> AValue) { FTextLayout = std::move(AValue); }

  TDrawTextEffectSetting* DrawEffectSetting() const {
    return static_cast<TDrawTextEffectSetting*>(TDrawParam::DrawEffectSetting());
  }
  void SetDrawEffectSetting(const TDrawTextEffectSetting* AValue) { TDrawParam::SetDrawEffectSetting(AValue); }

 protected:
  bool LoadFromChildNode(TBTNode20* ANode) override;

 private:
  template <class V>
  void SetValue(V& AField, V AValue) {
    if (AField == AValue) return;
    AField = AValue;
    DoChange();
  }
  // The effect in force when it replaces AType, else null.
  const TDrawTextParamEffect* EffectWith(TDTPEffectType AType) const;

  std::unique_ptr<TDrawFont> FDrawFont;
  bool FIsWordWrap = false;
  bool FIsDrawVert = false;
  TFontVertAlign FFontVertAlign = TFontVertAlign::fvaTop;
  TFontHorzAlign FFontHorzAlign = TFontHorzAlign::fhaLeft;
  TFontTrimmingType FFontTrimming = TFontTrimmingType::fttNone;
  double FAutoSizeHeightAdjust = 0;
  double FAutoSizeWidthAdjust = 0;
  std::unique_ptr<ostrel::skin::KeptTextLayout> FTextLayout;
};

// The text parameter materials create and stored forms configure.
class TDrawTextParam : public TBaseDrawTextParam {
  Q_OBJECT
  Q_PROPERTY(QString FontName READ FontName WRITE SetFontName)
  Q_PROPERTY(TFontStyles FontStyle READ FontStyle WRITE SetFontStyle)
  Q_PROPERTY(double FontSize READ FontSize WRITE SetFontSize)
  Q_PROPERTY(TAlphaColor FontColor READ OwnFontColor WRITE SetFontColor)
  Q_PROPERTY(TDrawFont* DrawFont READ DrawFont WRITE SetDrawFont)
  Q_PROPERTY(bool IsDrawVert READ IsDrawVert WRITE SetIsDrawVert)
  Q_PROPERTY(bool IsWordWrap READ IsWordWrap WRITE SetIsWordWrap)
  Q_PROPERTY(uDrawTextParam::TFontTrimmingType FontTrimming READ FontTrimming WRITE SetFontTrimming)
  Q_PROPERTY(uDrawTextParam::TFontHorzAlign FontHorzAlign READ FontHorzAlign WRITE SetFontHorzAlign)
  Q_PROPERTY(uDrawTextParam::TFontVertAlign FontVertAlign READ FontVertAlign WRITE SetFontVertAlign)
  Q_PROPERTY(TDrawRectSetting* DrawRectSetting READ DrawRectSetting WRITE SetDrawRectSetting)
  Q_PROPERTY(TDrawTextEffectSetting* DrawEffectSetting READ DrawEffectSetting WRITE SetDrawEffectSetting)
  Q_PROPERTY(double AutoSizeWidthAdjust READ AutoSizeWidthAdjust WRITE SetAutoSizeWidthAdjust)
  Q_PROPERTY(double AutoSizeHeightAdjust READ AutoSizeHeightAdjust WRITE SetAutoSizeHeightAdjust)

 public:
  TDrawTextParam(const QString& AName = QString(), const QString& ACaption = QString());
  ~TDrawTextParam() override;

  Q_INVOKABLE bool IsFontNameStored() const { return FontName() != TFont::DefaultFamily(); }
  Q_INVOKABLE bool IsFontStyleStored() const { return !FontStyle().IsEmpty(); }
  Q_INVOKABLE bool IsFontSizeStored() const;
  Q_INVOKABLE bool IsFontColorStored() const { return OwnFontColor() != claBlack || IsMustStoreFontColor; }
  Q_INVOKABLE bool IsIsDrawVertStored() const { return IsDrawVert(); }
  Q_INVOKABLE bool IsIsWordWrapStored() const { return IsWordWrap(); }
  Q_INVOKABLE bool IsAutoSizeWidthAdjustStored() const;
  Q_INVOKABLE bool IsAutoSizeHeightAdjustStored() const;
};

namespace ostrel::skin {

// The process-wide text parameter ("GlobalDrawTextParam") of the measuring
// helpers that have none of their own; created on first use, UI thread only.
TDrawTextParam& GlobalDrawTextParam();

}  // namespace ostrel::skin

// The flat facade of a text parameter: colour, size and style of the
// mouse-down, mouse-over and pushed effects, and a switch per value that adds
// or removes the matching effect type.
class TDrawTextParamSetting : public TDrawParamSetting {
  Q_OBJECT
  Q_PROPERTY(TAlphaColor MouseDownFontColor READ MouseDownFontColor WRITE SetMouseDownFontColor)
  Q_PROPERTY(TAlphaColor MouseOverFontColor READ MouseOverFontColor WRITE SetMouseOverFontColor)
  Q_PROPERTY(TAlphaColor PushedFontColor READ PushedFontColor WRITE SetPushedFontColor)
  Q_PROPERTY(double MouseDownFontSize READ MouseDownFontSize WRITE SetMouseDownFontSize)
  Q_PROPERTY(double MouseOverFontSize READ MouseOverFontSize WRITE SetMouseOverFontSize)
  Q_PROPERTY(double PushedFontSize READ PushedFontSize WRITE SetPushedFontSize)
  Q_PROPERTY(TFontStyles MouseDownFontStyle READ MouseDownFontStyle WRITE SetMouseDownFontStyle)
  Q_PROPERTY(TFontStyles MouseOverFontStyle READ MouseOverFontStyle WRITE SetMouseOverFontStyle)
  Q_PROPERTY(TFontStyles PushedFontStyle READ PushedFontStyle WRITE SetPushedFontStyle)
  Q_PROPERTY(bool MouseDownFontColorChange READ MouseDownFontColorChange WRITE SetMouseDownFontColorChange)
  Q_PROPERTY(bool MouseOverFontColorChange READ MouseOverFontColorChange WRITE SetMouseOverFontColorChange)
  Q_PROPERTY(bool PushedFontColorChange READ PushedFontColorChange WRITE SetPushedFontColorChange)
  Q_PROPERTY(bool MouseDownFontSizeChange READ MouseDownFontSizeChange WRITE SetMouseDownFontSizeChange)
  Q_PROPERTY(bool MouseOverFontSizeChange READ MouseOverFontSizeChange WRITE SetMouseOverFontSizeChange)
  Q_PROPERTY(bool PushedFontSizeChange READ PushedFontSizeChange WRITE SetPushedFontSizeChange)
  Q_PROPERTY(bool MouseDownFontStyleChange READ MouseDownFontStyleChange WRITE SetMouseDownFontStyleChange)
  Q_PROPERTY(bool MouseOverFontStyleChange READ MouseOverFontStyleChange WRITE SetMouseOverFontStyleChange)
  Q_PROPERTY(bool PushedFontStyleChange READ PushedFontStyleChange WRITE SetPushedFontStyleChange)

 public:
  explicit TDrawTextParamSetting(TBaseDrawTextParam* ADrawTextParam);
  ~TDrawTextParamSetting() override;

  TBaseDrawTextParam* DrawTextParam() const { return FDrawTextParam; }

  TAlphaColor MouseDownFontColor() const { return TextEffect(MouseDown()).FontColor()->Color(); }
  void SetMouseDownFontColor(TAlphaColor AValue) { TextEffect(MouseDown()).FontColor()->SetColor(AValue); }
  TAlphaColor MouseOverFontColor() const { return TextEffect(MouseOver()).FontColor()->Color(); }
  void SetMouseOverFontColor(TAlphaColor AValue) { TextEffect(MouseOver()).FontColor()->SetColor(AValue); }
  TAlphaColor PushedFontColor() const { return TextEffect(Pushed()).FontColor()->Color(); }
  void SetPushedFontColor(TAlphaColor AValue) { TextEffect(Pushed()).FontColor()->SetColor(AValue); }
  double MouseDownFontSize() const { return TextEffect(MouseDown()).FontSize(); }
  void SetMouseDownFontSize(double AValue) { TextEffect(MouseDown()).SetFontSize(AValue); }
  double MouseOverFontSize() const { return TextEffect(MouseOver()).FontSize(); }
  void SetMouseOverFontSize(double AValue) { TextEffect(MouseOver()).SetFontSize(AValue); }
  double PushedFontSize() const { return TextEffect(Pushed()).FontSize(); }
  void SetPushedFontSize(double AValue) { TextEffect(Pushed()).SetFontSize(AValue); }
  TFontStyles MouseDownFontStyle() const { return TextEffect(MouseDown()).FontStyle(); }
  void SetMouseDownFontStyle(TFontStyles AValue) { TextEffect(MouseDown()).SetFontStyle(AValue); }
  TFontStyles MouseOverFontStyle() const { return TextEffect(MouseOver()).FontStyle(); }
  void SetMouseOverFontStyle(TFontStyles AValue) { TextEffect(MouseOver()).SetFontStyle(AValue); }
  TFontStyles PushedFontStyle() const { return TextEffect(Pushed()).FontStyle(); }
  void SetPushedFontStyle(TFontStyles AValue) { TextEffect(Pushed()).SetFontStyle(AValue); }

  bool MouseDownFontColorChange() const { return Has(MouseDown(), TDTPEffectType::dtpetFontColorChange); }
  void SetMouseDownFontColorChange(bool AValue) { Set(MouseDown(), TDTPEffectType::dtpetFontColorChange, AValue); }
  bool MouseOverFontColorChange() const { return Has(MouseOver(), TDTPEffectType::dtpetFontColorChange); }
  void SetMouseOverFontColorChange(bool AValue) { Set(MouseOver(), TDTPEffectType::dtpetFontColorChange, AValue); }
  bool PushedFontColorChange() const { return Has(Pushed(), TDTPEffectType::dtpetFontColorChange); }
  void SetPushedFontColorChange(bool AValue) { Set(Pushed(), TDTPEffectType::dtpetFontColorChange, AValue); }
  bool MouseDownFontSizeChange() const { return Has(MouseDown(), TDTPEffectType::dtpetFontSizeChange); }
  void SetMouseDownFontSizeChange(bool AValue) { Set(MouseDown(), TDTPEffectType::dtpetFontSizeChange, AValue); }
  bool MouseOverFontSizeChange() const { return Has(MouseOver(), TDTPEffectType::dtpetFontSizeChange); }
  void SetMouseOverFontSizeChange(bool AValue) { Set(MouseOver(), TDTPEffectType::dtpetFontSizeChange, AValue); }
  bool PushedFontSizeChange() const { return Has(Pushed(), TDTPEffectType::dtpetFontSizeChange); }
  void SetPushedFontSizeChange(bool AValue) { Set(Pushed(), TDTPEffectType::dtpetFontSizeChange, AValue); }
  bool MouseDownFontStyleChange() const { return Has(MouseDown(), TDTPEffectType::dtpetFontStyleChange); }
  void SetMouseDownFontStyleChange(bool AValue) { Set(MouseDown(), TDTPEffectType::dtpetFontStyleChange, AValue); }
  bool MouseOverFontStyleChange() const { return Has(MouseOver(), TDTPEffectType::dtpetFontStyleChange); }
  void SetMouseOverFontStyleChange(bool AValue) { Set(MouseOver(), TDTPEffectType::dtpetFontStyleChange, AValue); }
  bool PushedFontStyleChange() const { return Has(Pushed(), TDTPEffectType::dtpetFontStyleChange); }
  void SetPushedFontStyleChange(bool AValue) { Set(Pushed(), TDTPEffectType::dtpetFontStyleChange, AValue); }

  Q_INVOKABLE bool IsMouseDownFontColorStored() const { return MouseDownFontColor() != claBlack; }
  Q_INVOKABLE bool IsMouseOverFontColorStored() const { return MouseOverFontColor() != claBlack; }
  Q_INVOKABLE bool IsPushedFontColorStored() const { return PushedFontColor() != claBlack; }

 private:
  // The effects of a text parameter are text effects.
  static TDrawTextParamEffect& TextEffect(TDrawParamCommonEffect& AEffect) {
    return static_cast<TDrawTextParamEffect&>(AEffect);
  }
  static bool Has(TDrawParamCommonEffect& AEffect, TDTPEffectType AType) {
    return TextEffect(AEffect).EffectTypes().Contains(AType);
  }
  static void Set(TDrawParamCommonEffect& AEffect, TDTPEffectType AType, bool AValue);

  TBaseDrawTextParam* const FDrawTextParam;
};
