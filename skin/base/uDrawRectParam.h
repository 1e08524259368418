#pragma once
// The rectangle drawing parameter: fill (solid or gradient), rounded corners,
// border sides, a single line instead of a rectangle, a rounded hole, and the
// per-state effects that replace fill colour, fill switch, border width and
// border colour. It only holds and resolves values; the canvas draws them.

#include "skin/base/uDrawParam.h"
#include "skin/base/uGraphicCommon.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>

namespace uDrawRectParam {
Q_NAMESPACE

enum class TDRPBrushKind : std::uint8_t { drpbkNone, drpbkFill, drpbkGradient };
Q_ENUM_NS(TDRPBrushKind)

enum class TDRPBorderEadge : std::uint8_t { beLeft, beTop, beRight, beBottom };
Q_ENUM_NS(TDRPBorderEadge)

enum class TDRPRectCorner : std::uint8_t { rcTopLeft, rcTopRight, rcBottomLeft, rcBottomRight };
Q_ENUM_NS(TDRPRectCorner)

enum class TDRPLinePosition : std::uint8_t { lpLeft, lpTop, lpRight, lpBottom };
Q_ENUM_NS(TDRPLinePosition)

enum class TDRPEffectType : std::uint8_t {
  drpetFillColorChange,
  drpetIsFillChange,
  drpetBorderWidthChange,
  drpetBorderColorChange,
};
Q_ENUM_NS(TDRPEffectType)

enum class TColorChangeType : std::uint8_t { cctNone, cctBrightness, cctDarkness };
Q_ENUM_NS(TColorChangeType)

}  // namespace uDrawRectParam

using uDrawRectParam::TColorChangeType;
using uDrawRectParam::TDRPBorderEadge;
using uDrawRectParam::TDRPBrushKind;
using uDrawRectParam::TDRPEffectType;
using uDrawRectParam::TDRPLinePosition;
using uDrawRectParam::TDRPRectCorner;
using TDRPBorderEadges = TSet<TDRPBorderEadge>;
using TDRPRectCorners = TSet<TDRPRectCorner>;
using TDRPEffectTypes = TSet<TDRPEffectType>;

namespace ostrel::skin {
// The rectangle parameter's sets for stored forms; runs once, called by the
// rectangle effect and parameter constructors.
void RegisterDrawRectParamPropertyTypes();
}  // namespace ostrel::skin

inline constexpr TDRPBorderEadges AllBorderEadges{TDRPBorderEadge::beLeft, TDRPBorderEadge::beTop,
                                                  TDRPBorderEadge::beRight, TDRPBorderEadge::beBottom};
inline constexpr TDRPRectCorners AllRectCorners{TDRPRectCorner::rcTopLeft, TDRPRectCorner::rcTopRight,
                                                TDRPRectCorner::rcBottomLeft, TDRPRectCorner::rcBottomRight};

// What one state changes in a rectangle: fill colour, fill switch, border width, border colour.
class TDrawRectParamEffect : public TDrawParamCommonEffect {
  Q_OBJECT
  Q_PROPERTY(double BorderWidth READ BorderWidth WRITE SetBorderWidth)
  Q_PROPERTY(bool IsFill READ IsFill WRITE SetIsFill)
  Q_PROPERTY(TDrawColor* FillColor READ FillDrawColor WRITE SetFillDrawColor)
  Q_PROPERTY(uDrawRectParam::TColorChangeType FillColorChangeType READ FillColorChangeType WRITE SetFillColorChangeType)
  Q_PROPERTY(TDrawColor* BorderColor READ BorderDrawColor WRITE SetBorderDrawColor)
  Q_PROPERTY(TDRPEffectTypes EffectTypes READ EffectTypes WRITE SetEffectTypes)

 public:
  TDrawRectParamEffect();
  ~TDrawRectParamEffect() override;

  bool HasEffectTypes() const override;

  bool SaveToDocNode(TBTNode20_Class* ADocNode) const override;

  double BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(double AValue);
  bool IsFill() const { return FIsFill; }
  void SetIsFill(bool AValue);
  TDrawColor* FillDrawColor() const { return FFillDrawColor.get(); }
  void SetFillDrawColor(const TDrawColor* AValue) { FFillDrawColor->Assign(AValue); }
  TDrawColor* BorderDrawColor() const { return FBorderDrawColor.get(); }
  void SetBorderDrawColor(const TDrawColor* AValue) { FBorderDrawColor->Assign(AValue); }
  TDRPEffectTypes EffectTypes() const { return FEffectTypes; }
  void SetEffectTypes(TDRPEffectTypes AValue);
  TColorChangeType FillColorChangeType() const { return FFillColorChangeType; }
  void SetFillColorChangeType(TColorChangeType AValue);

  Q_INVOKABLE bool IsBorderWidthStored() const;
  Q_INVOKABLE bool IsIsFillStored() const;
  Q_INVOKABLE bool IsFillColorChangeTypeStored() const;
  Q_INVOKABLE bool IsEffectTypesStored() const;

 protected:
  bool LoadFromChildNode(TBTNode20* ANode) override;
  // The two colours, IsFill, BorderWidth and EffectTypes, then the common
  // values; FillColorChangeType stays.
  void CopyValuesFrom(const TDrawParamCommonEffect& ASource) override;

 private:
  bool FIsFill = false;
  std::unique_ptr<TDrawColor> FFillDrawColor;
  std::unique_ptr<TDrawColor> FBorderDrawColor;
  double FBorderWidth = 0;
  TDRPEffectTypes FEffectTypes;
  TColorChangeType FFillColorChangeType = TColorChangeType::cctNone;
};

// The effect setting of rectangle parameters: its effects are rectangle effects.
class TDrawRectEffectSetting : public ostrel::skin::TypedEffectSetting<TDrawRectParamEffect> {
  Q_OBJECT
  Q_PROPERTY(TDrawRectParamEffect* DisabledEffect READ DisabledEffect WRITE SetDisabledEffect)
  Q_PROPERTY(TDrawRectParamEffect* FocusedEffect READ FocusedEffect WRITE SetFocusedEffect)
  Q_PROPERTY(TDrawRectParamEffect* MouseDownEffect READ MouseDownEffect WRITE SetMouseDownEffect)
  Q_PROPERTY(TDrawRectParamEffect* MouseOverEffect READ MouseOverEffect WRITE SetMouseOverEffect)
  Q_PROPERTY(TDrawRectParamEffect* PushedEffect READ PushedEffect WRITE SetPushedEffect)

 public:
  TDrawRectEffectSetting();
  ~TDrawRectEffectSetting() override;
};

// Holds and resolves every value of a rectangle parameter.
class TBaseDrawRectParam : public TDrawParam {
  Q_OBJECT

 public:
  static constexpr double DefaultRoundSize = 6.0;
  static constexpr double DefaultClipRoundSize = -1.0;

  TBaseDrawRectParam(const QString& AName, const QString& ACaption);
  ~TBaseDrawRectParam() override;

  // From another rectangle parameter: IsLine, IsRound, both radii, edges,
  // corners, IsFill, both colours, BorderWidth, BrushKind and gradient, then
  // the base values. LinePosition and the hole stay. From any other drawing
  // parameter only the base values.
  void Assign(const TPersistent* ASource) override;
  // The base values and the drawing defaults; RectCorners, gradient and hole stay.
  void Clear() override;

  bool SaveToDocNode(TBTNode20_Class* ADocNode) const override;

  // Values in force for StaticEffectStates.
  bool CurrentEffectIsFill() const;
  TDrawColor* CurrentEffectFillDrawColor() const;
  double CurrentEffectBorderWidth() const;
  TDrawColor* CurrentEffectBorderColor() const;

  bool IsFill() const { return FIsFill; }
  void SetIsFill(bool AValue) { SetValue(FIsFill, AValue); }
  void SetStaticIsFill(bool AValue) { FIsFill = AValue; }
  TDrawColor* FillDrawColor() const { return FFillDrawColor.get(); }
  void SetFillDrawColor(const TDrawColor* AValue) { FFillDrawColor->Assign(AValue); }
  TDrawColor* BorderDrawColor() const { return FBorderDrawColor.get(); }
  void SetBorderDrawColor(const TDrawColor* AValue) { FBorderDrawColor->Assign(AValue); }
  double BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(double AValue) { SetValue(FBorderWidth, AValue); }
  TDRPBorderEadges BorderEadges() const { return FBorderEadges; }
  void SetBorderEadges(TDRPBorderEadges AValue) { SetValue(FBorderEadges, AValue); }
  TDRPRectCorners RectCorners() const { return FRectCorners; }
  void SetRectCorners(TDRPRectCorners AValue) { SetValue(FRectCorners, AValue); }
  void SetStaticRectCorners(TDRPRectCorners AValue) { FRectCorners = AValue; }
  bool IsLine() const { return FIsLine; }
  void SetIsLine(bool AValue) { SetValue(FIsLine, AValue); }
  TDRPLinePosition LinePosition() const { return FLinePosition; }
  void SetLinePosition(TDRPLinePosition AValue) { SetValue(FLinePosition, AValue); }
  bool IsRound() const { return FIsRound; }
  void SetIsRound(bool AValue) { SetValue(FIsRound, AValue); }
  // -1 stands for half the rectangle's width (height).
  double RoundWidth() const { return FRoundWidth; }
  void SetRoundWidth(double AValue) { SetValue(FRoundWidth, AValue); }
  double RoundHeight() const { return FRoundHeight; }
  void SetRoundHeight(double AValue) { SetValue(FRoundHeight, AValue); }
  TDRPBrushKind BrushKind() const { return FBrushKind; }
  void SetBrushKind(TDRPBrushKind AValue) { SetValue(FBrushKind, AValue); }
  TGradient* Gradient() const { return FGradient.get(); }
  void SetGradient(const TGradient* AValue) { FGradient->Assign(AValue); }

  // The rounded hole cut out of the fill; radii of -1 stand for half the hole's size.
  bool IsClipRound() const { return FIsClipRound; }
  void SetIsClipRound(bool AValue) { SetValue(FIsClipRound, AValue); }
  double ClipRoundWidth() const { return FClipRoundWidth; }
  void SetClipRoundWidth(double AValue) { SetValue(FClipRoundWidth, AValue); }
  double ClipRoundHeight() const { return FClipRoundHeight; }
  void SetClipRoundHeight(double AValue) { SetValue(FClipRoundHeight, AValue); }
  TDrawRectSetting* ClipRoundRectSetting() const { return FClipRoundRectSetting.get(); }
  void SetClipRoundRectSetting(const TDrawRectSetting* AValue) { FClipRoundRectSetting->Assign(AValue); }

  const QMetaObject* GetDrawParamSettingClass() const override;

  TDrawRectEffectSetting* DrawEffectSetting() const {
    return static_cast<TDrawRectEffectSetting*>(TDrawParam::DrawEffectSetting());
  }
  void SetDrawEffectSetting(const TDrawRectEffectSetting* AValue) { TDrawParam::SetDrawEffectSetting(AValue); }

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
  const TDrawRectParamEffect* EffectWith(TDRPEffectType AType) const;

  bool FIsFill = false;
  std::unique_ptr<TDrawColor> FFillDrawColor;
  std::unique_ptr<TDrawColor> FTempFillDrawColor;
  std::unique_ptr<TDrawColor> FBorderDrawColor;
  double FBorderWidth = 0;
  TDRPBorderEadges FBorderEadges = AllBorderEadges;
  TDRPRectCorners FRectCorners = AllRectCorners;
  bool FIsLine = false;
  TDRPLinePosition FLinePosition = TDRPLinePosition::lpBottom;
  bool FIsRound = false;
  double FRoundWidth = DefaultRoundSize;
  double FRoundHeight = DefaultRoundSize;
  TDRPBrushKind FBrushKind = TDRPBrushKind::drpbkFill;
  std::unique_ptr<TGradient> FGradient;
  bool FIsClipRound = false;
  double FClipRoundWidth = DefaultClipRoundSize;
  double FClipRoundHeight = DefaultClipRoundSize;
  std::unique_ptr<TDrawRectSetting> FClipRoundRectSetting;
};

// The rectangle parameter materials create and stored forms configure.
class TDrawRectParam : public TBaseDrawRectParam {
  Q_OBJECT
  Q_PROPERTY(TAlphaColor GradientColor1 READ GradientColor1 WRITE SetGradientColor1)
  Q_PROPERTY(uGraphicCommon::TGradientStyle GradientStyle READ GradientStyle WRITE SetGradientStyle)
  Q_PROPERTY(TPosition* GradientStartPosition READ GradientStartPosition WRITE SetGradientStartPosition)
  Q_PROPERTY(TPosition* GradientStopPosition READ GradientStopPosition WRITE SetGradientStopPosition)
  Q_PROPERTY(TDRPBorderEadges BorderEadges READ BorderEadges WRITE SetBorderEadges)
  Q_PROPERTY(bool IsLine READ IsLine WRITE SetIsLine)
  Q_PROPERTY(uDrawRectParam::TDRPLinePosition LinePosition READ LinePosition WRITE SetLinePosition)
  Q_PROPERTY(uDrawRectParam::TDRPBrushKind BrushKind READ BrushKind WRITE SetBrushKind)
  Q_PROPERTY(TDRPRectCorners RectCorners READ RectCorners WRITE SetRectCorners)
  Q_PROPERTY(bool IsFill READ IsFill WRITE SetIsFill)
  Q_PROPERTY(TDrawColor* FillColor READ FillDrawColor WRITE SetFillDrawColor)
  Q_PROPERTY(bool IsRound READ IsRound WRITE SetIsRound)
  Q_PROPERTY(double RoundWidth READ RoundWidth WRITE SetRoundWidth)
  Q_PROPERTY(double RoundHeight READ RoundHeight WRITE SetRoundHeight)
  Q_PROPERTY(TDrawColor* BorderColor READ BorderDrawColor WRITE SetBorderDrawColor)
  Q_PROPERTY(double BorderWidth READ BorderWidth WRITE SetBorderWidth)
  Q_PROPERTY(TDrawRectSetting* DrawRectSetting READ DrawRectSetting WRITE SetDrawRectSetting)
  Q_PROPERTY(TDrawRectEffectSetting* DrawEffectSetting READ DrawEffectSetting WRITE SetDrawEffectSetting)

 public:
  TDrawRectParam(const QString& AName = QString(), const QString& ACaption = QString());
  ~TDrawRectParam() override;

  // The second gradient point's colour, 0 when the gradient has fewer points.
  TAlphaColor GradientColor1() const { return Gradient()->Color1(); }
  void SetGradientColor1(TAlphaColor AValue) { Gradient()->SetColor1(AValue); }
  TGradientStyle GradientStyle() const { return Gradient()->Style(); }
  void SetGradientStyle(TGradientStyle AValue) { Gradient()->SetStyle(AValue); }
  TPosition* GradientStartPosition() const { return Gradient()->StartPosition(); }
  void SetGradientStartPosition(const TPosition* AValue) { Gradient()->SetStartPosition(AValue); }
  TPosition* GradientStopPosition() const { return Gradient()->StopPosition(); }
  void SetGradientStopPosition(const TPosition* AValue) { Gradient()->SetStopPosition(AValue); }

  Q_INVOKABLE bool IsGradientColor1Stored() const { return IsGradientStored(); }
  Q_INVOKABLE bool IsGradientStyleStored() const { return IsGradientStored(); }
  Q_INVOKABLE bool IsGradientStartPositionStored() const { return IsGradientStored(); }
  Q_INVOKABLE bool IsGradientStopPositionStored() const { return IsGradientStored(); }
  Q_INVOKABLE bool IsBorderEadgesStored() const { return BorderEadges() != AllBorderEadges; }
  Q_INVOKABLE bool IsIsLineStored() const { return IsLine(); }
  Q_INVOKABLE bool IsLinePositionStored() const { return LinePosition() != TDRPLinePosition::lpBottom; }
  Q_INVOKABLE bool IsRectCornersStored() const { return RectCorners() != AllRectCorners; }
  Q_INVOKABLE bool IsIsFillStored() const { return IsFill(); }
  Q_INVOKABLE bool IsIsRoundStored() const { return IsRound(); }
  Q_INVOKABLE bool IsRoundWidthStored() const;
  Q_INVOKABLE bool IsRoundHeightStored() const;
  Q_INVOKABLE bool IsBorderWidthStored() const;

 private:
  bool IsGradientStored() const { return BrushKind() == TDRPBrushKind::drpbkGradient; }
};

// The flat facade of a rectangle parameter: the fill colour, border width and
// fill switch of the mouse-down, mouse-over and pushed effects, and a switch
// per value that adds or removes the matching effect type.
class TDrawRectParamSetting : public TDrawParamSetting {
  Q_OBJECT
  Q_PROPERTY(TAlphaColor MouseDownFillColor READ MouseDownFillColor WRITE SetMouseDownFillColor)
  Q_PROPERTY(TAlphaColor MouseOverFillColor READ MouseOverFillColor WRITE SetMouseOverFillColor)
  Q_PROPERTY(TAlphaColor PushedFillColor READ PushedFillColor WRITE SetPushedFillColor)
  Q_PROPERTY(double MouseDownBorderWidth READ MouseDownBorderWidth WRITE SetMouseDownBorderWidth)
  Q_PROPERTY(double MouseOverBorderWidth READ MouseOverBorderWidth WRITE SetMouseOverBorderWidth)
  Q_PROPERTY(double PushedBorderWidth READ PushedBorderWidth WRITE SetPushedBorderWidth)
  Q_PROPERTY(bool MouseDownIsFill READ MouseDownIsFill WRITE SetMouseDownIsFill)
  Q_PROPERTY(bool MouseOverIsFill READ MouseOverIsFill WRITE SetMouseOverIsFill)
  Q_PROPERTY(bool PushedIsFill READ PushedIsFill WRITE SetPushedIsFill)
  Q_PROPERTY(bool MouseDownFillColorChange READ MouseDownFillColorChange WRITE SetMouseDownFillColorChange)
  Q_PROPERTY(bool MouseOverFillColorChange READ MouseOverFillColorChange WRITE SetMouseOverFillColorChange)
  Q_PROPERTY(bool PushedFillColorChange READ PushedFillColorChange WRITE SetPushedFillColorChange)
  Q_PROPERTY(bool MouseDownBorderWidthChange READ MouseDownBorderWidthChange WRITE SetMouseDownBorderWidthChange)
  Q_PROPERTY(bool MouseOverBorderWidthChange READ MouseOverBorderWidthChange WRITE SetMouseOverBorderWidthChange)
  Q_PROPERTY(bool PushedBorderWidthChange READ PushedBorderWidthChange WRITE SetPushedBorderWidthChange)
  Q_PROPERTY(bool MouseDownIsFillChange READ MouseDownIsFillChange WRITE SetMouseDownIsFillChange)
  Q_PROPERTY(bool MouseOverIsFillChange READ MouseOverIsFillChange WRITE SetMouseOverIsFillChange)
  Q_PROPERTY(bool PushedIsFillChange READ PushedIsFillChange WRITE SetPushedIsFillChange)

 public:
  explicit TDrawRectParamSetting(TBaseDrawRectParam* ADrawRectParam);
  ~TDrawRectParamSetting() override;

  TBaseDrawRectParam* DrawRectParam() const { return FDrawRectParam; }

  TAlphaColor MouseDownFillColor() const { return RectEffect(MouseDown()).FillDrawColor()->Color(); }
  void SetMouseDownFillColor(TAlphaColor AValue) { RectEffect(MouseDown()).FillDrawColor()->SetColor(AValue); }
  double MouseDownBorderWidth() const { return RectEffect(MouseDown()).BorderWidth(); }
  void SetMouseDownBorderWidth(double AValue) { RectEffect(MouseDown()).SetBorderWidth(AValue); }
  bool MouseDownIsFill() const { return RectEffect(MouseDown()).IsFill(); }
  void SetMouseDownIsFill(bool AValue) { RectEffect(MouseDown()).SetIsFill(AValue); }
  TAlphaColor MouseOverFillColor() const { return RectEffect(MouseOver()).FillDrawColor()->Color(); }
  void SetMouseOverFillColor(TAlphaColor AValue) { RectEffect(MouseOver()).FillDrawColor()->SetColor(AValue); }
  double MouseOverBorderWidth() const { return RectEffect(MouseOver()).BorderWidth(); }
  void SetMouseOverBorderWidth(double AValue) { RectEffect(MouseOver()).SetBorderWidth(AValue); }
  bool MouseOverIsFill() const { return RectEffect(MouseOver()).IsFill(); }
  void SetMouseOverIsFill(bool AValue) { RectEffect(MouseOver()).SetIsFill(AValue); }
  TAlphaColor PushedFillColor() const { return RectEffect(Pushed()).FillDrawColor()->Color(); }
  void SetPushedFillColor(TAlphaColor AValue) { RectEffect(Pushed()).FillDrawColor()->SetColor(AValue); }
  double PushedBorderWidth() const { return RectEffect(Pushed()).BorderWidth(); }
  void SetPushedBorderWidth(double AValue) { RectEffect(Pushed()).SetBorderWidth(AValue); }
  bool PushedIsFill() const { return RectEffect(Pushed()).IsFill(); }
  void SetPushedIsFill(bool AValue) { RectEffect(Pushed()).SetIsFill(AValue); }
  bool MouseDownFillColorChange() const {
    return RectEffect(MouseDown()).EffectTypes().Contains(TDRPEffectType::drpetFillColorChange);
  }
  void SetMouseDownFillColorChange(bool AValue) {
    SetEffectType(RectEffect(MouseDown()), TDRPEffectType::drpetFillColorChange, AValue);
  }
  bool MouseOverFillColorChange() const {
    return RectEffect(MouseOver()).EffectTypes().Contains(TDRPEffectType::drpetFillColorChange);
  }
  void SetMouseOverFillColorChange(bool AValue) {
    SetEffectType(RectEffect(MouseOver()), TDRPEffectType::drpetFillColorChange, AValue);
  }
  bool PushedFillColorChange() const {
    return RectEffect(Pushed()).EffectTypes().Contains(TDRPEffectType::drpetFillColorChange);
  }
  void SetPushedFillColorChange(bool AValue) {
    SetEffectType(RectEffect(Pushed()), TDRPEffectType::drpetFillColorChange, AValue);
  }
  bool MouseDownBorderWidthChange() const {
    return RectEffect(MouseDown()).EffectTypes().Contains(TDRPEffectType::drpetBorderWidthChange);
  }
  void SetMouseDownBorderWidthChange(bool AValue) {
    SetEffectType(RectEffect(MouseDown()), TDRPEffectType::drpetBorderWidthChange, AValue);
  }
  bool MouseOverBorderWidthChange() const {
    return RectEffect(MouseOver()).EffectTypes().Contains(TDRPEffectType::drpetBorderWidthChange);
  }
  void SetMouseOverBorderWidthChange(bool AValue) {
    SetEffectType(RectEffect(MouseOver()), TDRPEffectType::drpetBorderWidthChange, AValue);
  }
  bool PushedBorderWidthChange() const {
    return RectEffect(Pushed()).EffectTypes().Contains(TDRPEffectType::drpetBorderWidthChange);
  }
  void SetPushedBorderWidthChange(bool AValue) {
    SetEffectType(RectEffect(Pushed()), TDRPEffectType::drpetBorderWidthChange, AValue);
  }
  bool MouseDownIsFillChange() const {
    return RectEffect(MouseDown()).EffectTypes().Contains(TDRPEffectType::drpetIsFillChange);
  }
  void SetMouseDownIsFillChange(bool AValue) {
    SetEffectType(RectEffect(MouseDown()), TDRPEffectType::drpetIsFillChange, AValue);
  }
  bool MouseOverIsFillChange() const {
    return RectEffect(MouseOver()).EffectTypes().Contains(TDRPEffectType::drpetIsFillChange);
  }
  void SetMouseOverIsFillChange(bool AValue) {
    SetEffectType(RectEffect(MouseOver()), TDRPEffectType::drpetIsFillChange, AValue);
  }
  bool PushedIsFillChange() const {
    return RectEffect(Pushed()).EffectTypes().Contains(TDRPEffectType::drpetIsFillChange);
  }
  void SetPushedIsFillChange(bool AValue) {
    SetEffectType(RectEffect(Pushed()), TDRPEffectType::drpetIsFillChange, AValue);
  }

  Q_INVOKABLE bool IsMouseDownFillColorStored() const { return MouseDownFillColor() != claBlack; }
  Q_INVOKABLE bool IsMouseOverFillColorStored() const { return MouseOverFillColor() != claBlack; }
  Q_INVOKABLE bool IsPushedFillColorStored() const { return PushedFillColor() != claBlack; }

 private:
  // The effects of a rectangle parameter are rectangle effects.
  static TDrawRectParamEffect& RectEffect(TDrawParamCommonEffect& AEffect) {
    return static_cast<TDrawRectParamEffect&>(AEffect);
  }
  static void SetEffectType(TDrawRectParamEffect& AEffect, TDRPEffectType AType, bool AValue);

  TBaseDrawRectParam* const FDrawRectParam;
};
