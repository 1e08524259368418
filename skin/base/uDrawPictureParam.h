#pragma once
// The picture drawing parameter: where and how a picture is placed into the
// drawing rectangle (natural size, stretched or fitted, aligned, scaled,
// rotated), how a stretched picture is cut into parts, and the per-state
// effects that pick another picture of the image list or add a rotation. It
// only holds and resolves values; the canvas computes the geometry.

#include "skin/base/uDrawParam.h"
#include "skin/base/uGraphicCommon.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>

namespace uDrawPictureParam {
Q_NAMESPACE

enum class TPictureStretchStyle : std::uint8_t {
  issTensile,
  issSquare,
  issSquarePro,
  issThreePartHorz,
  issThreePartVert,
  issThreePartHorzPro,
  issThreePartVertPro,
  issAutoFitFillMax,
};
Q_ENUM_NS(TPictureStretchStyle)

enum class TPictureHorzAlign : std::uint8_t { phaLeft, phaCenter, phaRight };
Q_ENUM_NS(TPictureHorzAlign)

enum class TPictureVertAlign : std::uint8_t { pvaTop, pvaCenter, pvaBottom };
Q_ENUM_NS(TPictureVertAlign)

enum class TPictureTooSmallProcessType : std::uint8_t { itsptNone, itsptTensile, itsptPart };
Q_ENUM_NS(TPictureTooSmallProcessType)

enum class TPictureTooLargeProcessType : std::uint8_t { itlptNone, itlptNormal, itlptPart };
Q_ENUM_NS(TPictureTooLargeProcessType)

enum class TDPPEffectType : std::uint8_t {
  dppetImageIndexChange,
  dppetImageIndexInc1,
  dppetImageNameChange,
  dppetRotateAngleChange,
};
Q_ENUM_NS(TDPPEffectType)

}  // namespace uDrawPictureParam

using uDrawPictureParam::TDPPEffectType;
using uDrawPictureParam::TPictureHorzAlign;
using uDrawPictureParam::TPictureStretchStyle;
using uDrawPictureParam::TPictureTooLargeProcessType;
using uDrawPictureParam::TPictureTooSmallProcessType;
using uDrawPictureParam::TPictureVertAlign;
using TDPPEffectTypes = TSet<TDPPEffectType>;

namespace ostrel::skin {
// The picture effect's set for stored forms; runs once, called by the picture
// effect and parameter constructors.
void RegisterDrawPictureParamPropertyTypes();
}  // namespace ostrel::skin

// What one state changes in a picture: the image by index, the next index,
// the image by name, an added rotation. Its properties write their fields
// without notification.
class TDrawPictureParamEffect : public TDrawParamCommonEffect {
  Q_OBJECT
  Q_PROPERTY(std::int32_t RotateAngle READ RotateAngle WRITE SetRotateAngle)
  Q_PROPERTY(std::int32_t ImageIndex READ ImageIndex WRITE SetImageIndex)
  Q_PROPERTY(QString ImageName READ ImageName WRITE SetImageName)
  Q_PROPERTY(TDPPEffectTypes EffectTypes READ EffectTypes WRITE SetEffectTypes)

 public:
  static constexpr std::int32_t DefaultImageIndex = -1;
  static constexpr std::int32_t DefaultRotateAngle = 90;

  TDrawPictureParamEffect();
  ~TDrawPictureParamEffect() override;

  bool HasEffectTypes() const override;

  bool SaveToDocNode(TBTNode20_Class* ADocNode) const override;

  std::int32_t RotateAngle() const { return FRotateAngle; }
  void SetRotateAngle(std::int32_t AValue) { FRotateAngle = AValue; }
  std::int32_t ImageIndex() const { return FImageIndex; }
  void SetImageIndex(std::int32_t AValue) { FImageIndex = AValue; }
  QString ImageName() const { return FImageName; }
  void SetImageName(const QString& AValue) { FImageName = AValue; }
  TDPPEffectTypes EffectTypes() const { return FEffectTypes; }
  void SetEffectTypes(TDPPEffectTypes AValue) { FEffectTypes = AValue; }

  Q_INVOKABLE bool IsRotateAngleStored() const { return FRotateAngle != DefaultRotateAngle; }
  Q_INVOKABLE bool IsImageIndexStored() const { return FImageIndex != DefaultImageIndex; }
  Q_INVOKABLE bool IsImageNameStored() const { return !FImageName.isEmpty(); }
  Q_INVOKABLE bool IsEffectTypesStored() const { return !FEffectTypes.IsEmpty(); }

 protected:
  bool LoadFromChildNode(TBTNode20* ANode) override;
  // Index, name, angle and effect types, then the common values.
  void CopyValuesFrom(const TDrawParamCommonEffect& ASource) override;

 private:
  std::int32_t FImageIndex = DefaultImageIndex;
  QString FImageName;
  std::int32_t FRotateAngle = DefaultRotateAngle;
  TDPPEffectTypes FEffectTypes;
};

// The effect setting of picture parameters: its effects are picture effects.
class TDrawPictureEffectSetting : public ostrel::skin::TypedEffectSetting<TDrawPictureParamEffect> {
  Q_OBJECT
  Q_PROPERTY(TDrawPictureParamEffect* DisabledEffect READ DisabledEffect WRITE SetDisabledEffect)
  Q_PROPERTY(TDrawPictureParamEffect* FocusedEffect READ FocusedEffect WRITE SetFocusedEffect)
  Q_PROPERTY(TDrawPictureParamEffect* MouseDownEffect READ MouseDownEffect WRITE SetMouseDownEffect)
  Q_PROPERTY(TDrawPictureParamEffect* MouseOverEffect READ MouseOverEffect WRITE SetMouseOverEffect)
  Q_PROPERTY(TDrawPictureParamEffect* PushedEffect READ PushedEffect WRITE SetPushedEffect)

 public:
  TDrawPictureEffectSetting();
  ~TDrawPictureEffectSetting() override;
};

// Holds and resolves every value of a picture parameter.
class TBaseDrawPictureParam : public TDrawParam {
  Q_OBJECT

 public:
  static constexpr double DefaultScale = 1.0;

  TBaseDrawPictureParam(const QString& AName, const QString& ACaption);
  ~TBaseDrawPictureParam() override;

  // From another picture parameter: Scale, RotateAngle, both process types,
  // IsAutoFit, IsStretch, StretchStyle, both margins and both alignments,
  // then the base values. From any other drawing parameter only the base values.
  void Assign(const TPersistent* ASource) override;
  // The base values and the placement defaults; the process types stay.
  void Clear() override;

  bool SaveToDocNode(TBTNode20_Class* ADocNode) const override;

  const QMetaObject* GetDrawParamSettingClass() const override;

  // Values in force for StaticEffectStates.
  // The image index to draw for a picture whose own index is AImageIndex; -1
  // when the effect in force replaces no index.
  std::int32_t CurrentEffectImageIndex(std::int32_t AImageIndex) const;
  // The image name to draw; empty when the effect in force replaces no name.
  QString CurrentEffectImageName() const;
  double CurrentEffectRotateAngle() const;

  double Scale() const { return FScale; }
  void SetScale(double AValue) { SetValue(FScale, AValue); }
  void SetStaticScale(double AValue) { FScale = AValue; }
  bool IsStretch() const { return FIsStretch; }
  void SetIsStretch(bool AValue) { SetValue(FIsStretch, AValue); }
  bool IsAutoFit() const { return FIsAutoFit; }
  void SetIsAutoFit(bool AValue) { SetValue(FIsAutoFit, AValue); }
  // Degrees about the centre of the destination rectangle.
  double RotateAngle() const { return FRotateAngle; }
  void SetRotateAngle(double AValue) { SetValue(FRotateAngle, AValue); }
  void SetStaticRotateAngle(double AValue) { FRotateAngle = AValue; }
  TPictureStretchStyle StretchStyle() const { return FStretchStyle; }
  void SetStretchStyle(TPictureStretchStyle AValue) { SetValue(FStretchStyle, AValue); }
  TBorderMargins* StretchMargins() const { return FStretchMargins.get(); }
  void SetStretchMargins(const TBorderMargins* AValue) { FStretchMargins->Assign(AValue); }
  TBorderMargins* DestDrawStretchMargins() const { return FDestDrawStretchMargins.get(); }
  void SetDestDrawStretchMargins(const TBorderMargins* AValue) { FDestDrawStretchMargins->Assign(AValue); }
  TPictureVertAlign PictureVertAlign() const { return FPictureVertAlign; }
  void SetPictureVertAlign(TPictureVertAlign AValue) { SetValue(FPictureVertAlign, AValue); }
  TPictureHorzAlign PictureHorzAlign() const { return FPictureHorzAlign; }
  void SetPictureHorzAlign(TPictureHorzAlign AValue) { SetValue(FPictureHorzAlign, AValue); }
  void SetStaticPictureHorzAlign(TPictureHorzAlign AValue) { FPictureHorzAlign = AValue; }
  TPictureTooSmallProcessType PictureTooSmallProcessType() const { return FPictureTooSmallProcessType; }
  void SetPictureTooSmallProcessType(TPictureTooSmallProcessType AValue) {
    SetValue(FPictureTooSmallProcessType, AValue);
  }
  // Kept, copied and notified for forms that set it; drawing does not use it.
  TPictureTooLargeProcessType PictureTooLargeProcessType() const { return FPictureTooLargeProcessType; }
  void SetPictureTooLargeProcessType(TPictureTooLargeProcessType AValue) {
    SetValue(FPictureTooLargeProcessType, AValue);
  }

  TDrawPictureEffectSetting* DrawEffectSetting() const {
    return static_cast<TDrawPictureEffectSetting*>(TDrawParam::DrawEffectSetting());
  }
  void SetDrawEffectSetting(const TDrawPictureEffectSetting* AValue) { TDrawParam::SetDrawEffectSetting(AValue); }

 protected:
  bool LoadFromChildNode(TBTNode20* ANode) override;

 private:
  template <class V>
  void SetValue(V& AField, V AValue) {
    if (AField == AValue) return;
    AField = AValue;
    DoChange();
  }
  // The effect in force, or null.
  const TDrawPictureParamEffect* PictureEffect() const;

  double FScale = DefaultScale;
  bool FIsStretch = false;
  bool FIsAutoFit = false;
  double FRotateAngle = 0;
  TPictureStretchStyle FStretchStyle = TPictureStretchStyle::issTensile;
  std::unique_ptr<TBorderMargins> FStretchMargins;
  std::unique_ptr<TBorderMargins> FDestDrawStretchMargins;
  TPictureVertAlign FPictureVertAlign = TPictureVertAlign::pvaTop;
  TPictureHorzAlign FPictureHorzAlign = TPictureHorzAlign::phaLeft;
  TPictureTooSmallProcessType FPictureTooSmallProcessType = TPictureTooSmallProcessType::itsptNone;
  TPictureTooLargeProcessType FPictureTooLargeProcessType = TPictureTooLargeProcessType::itlptNone;
};

// The picture parameter materials create and stored forms configure.
class TDrawPictureParam : public TBaseDrawPictureParam {
  Q_OBJECT
  Q_PROPERTY(std::uint8_t Alpha READ Alpha WRITE SetAlpha)
  Q_PROPERTY(bool IsAutoFit READ IsAutoFit WRITE SetIsAutoFit)
  Q_PROPERTY(bool IsStretch READ IsStretch WRITE SetIsStretch)
  Q_PROPERTY(uDrawPictureParam::TPictureStretchStyle StretchStyle READ StretchStyle WRITE SetStretchStyle)
  Q_PROPERTY(TBorderMargins* StretchMargins READ StretchMargins WRITE SetStretchMargins)
  Q_PROPERTY(TBorderMargins* DestDrawStretchMargins READ DestDrawStretchMargins WRITE SetDestDrawStretchMargins)
  Q_PROPERTY(uDrawPictureParam::TPictureHorzAlign PictureHorzAlign READ PictureHorzAlign WRITE SetPictureHorzAlign)
  Q_PROPERTY(uDrawPictureParam::TPictureVertAlign PictureVertAlign READ PictureVertAlign WRITE SetPictureVertAlign)
  Q_PROPERTY(TDrawRectSetting* DrawRectSetting READ DrawRectSetting WRITE SetDrawRectSetting)
  Q_PROPERTY(TDrawPictureEffectSetting* DrawEffectSetting READ DrawEffectSetting WRITE SetDrawEffectSetting)

 public:
  TDrawPictureParam(const QString& AName = QString(), const QString& ACaption = QString());
  ~TDrawPictureParam() override;

  Q_INVOKABLE bool IsIsAutoFitStored() const { return IsAutoFit(); }
  Q_INVOKABLE bool IsIsStretchStored() const { return IsStretch(); }
  Q_INVOKABLE bool IsStretchStyleStored() const { return StretchStyle() != TPictureStretchStyle::issTensile; }
  Q_INVOKABLE bool IsPictureHorzAlignStored() const { return PictureHorzAlign() != TPictureHorzAlign::phaLeft; }
  Q_INVOKABLE bool IsPictureVertAlignStored() const { return PictureVertAlign() != TPictureVertAlign::pvaTop; }
};

// The flat facade of a picture parameter: image index and rotation of the
// mouse-down, mouse-over and pushed effects, and a switch per value that adds
// or removes the matching effect type.
class TDrawPictureParamSetting : public TDrawParamSetting {
  Q_OBJECT
  Q_PROPERTY(std::int32_t MouseDownImageIndex READ MouseDownImageIndex WRITE SetMouseDownImageIndex)
  Q_PROPERTY(std::int32_t MouseOverImageIndex READ MouseOverImageIndex WRITE SetMouseOverImageIndex)
  Q_PROPERTY(std::int32_t PushedImageIndex READ PushedImageIndex WRITE SetPushedImageIndex)
  Q_PROPERTY(std::int32_t MouseDownRotateAngle READ MouseDownRotateAngle WRITE SetMouseDownRotateAngle)
  Q_PROPERTY(std::int32_t MouseOverRotateAngle READ MouseOverRotateAngle WRITE SetMouseOverRotateAngle)
  Q_PROPERTY(std::int32_t PushedRotateAngle READ PushedRotateAngle WRITE SetPushedRotateAngle)
  Q_PROPERTY(bool MouseDownImageIndexChange READ MouseDownImageIndexChange WRITE SetMouseDownImageIndexChange)
  Q_PROPERTY(bool MouseOverImageIndexChange READ MouseOverImageIndexChange WRITE SetMouseOverImageIndexChange)
  Q_PROPERTY(bool PushedImageIndexChange READ PushedImageIndexChange WRITE SetPushedImageIndexChange)
  Q_PROPERTY(bool MouseDownRotateAngleChange READ MouseDownRotateAngleChange WRITE SetMouseDownRotateAngleChange)
  Q_PROPERTY(bool MouseOverRotateAngleChange READ MouseOverRotateAngleChange WRITE SetMouseOverRotateAngleChange)
  Q_PROPERTY(bool PushedRotateAngleChange READ PushedRotateAngleChange WRITE SetPushedRotateAngleChange)

 public:
  explicit TDrawPictureParamSetting(TBaseDrawPictureParam* ADrawPictureParam);
  ~TDrawPictureParamSetting() override;

  TBaseDrawPictureParam* DrawPictureParam() const { return FDrawPictureParam; }

  std::int32_t MouseDownImageIndex() const { return PictureEffect(MouseDown()).ImageIndex(); }
  void SetMouseDownImageIndex(std::int32_t AValue) { PictureEffect(MouseDown()).SetImageIndex(AValue); }
  std::int32_t MouseOverImageIndex() const { return PictureEffect(MouseOver()).ImageIndex(); }
  void SetMouseOverImageIndex(std::int32_t AValue) { PictureEffect(MouseOver()).SetImageIndex(AValue); }
  std::int32_t PushedImageIndex() const { return PictureEffect(Pushed()).ImageIndex(); }
  void SetPushedImageIndex(std::int32_t AValue) { PictureEffect(Pushed()).SetImageIndex(AValue); }
  std::int32_t MouseDownRotateAngle() const { return PictureEffect(MouseDown()).RotateAngle(); }
  void SetMouseDownRotateAngle(std::int32_t AValue) { PictureEffect(MouseDown()).SetRotateAngle(AValue); }
  std::int32_t MouseOverRotateAngle() const { return PictureEffect(MouseOver()).RotateAngle(); }
  void SetMouseOverRotateAngle(std::int32_t AValue) { PictureEffect(MouseOver()).SetRotateAngle(AValue); }
  std::int32_t PushedRotateAngle() const { return PictureEffect(Pushed()).RotateAngle(); }
  void SetPushedRotateAngle(std::int32_t AValue) { PictureEffect(Pushed()).SetRotateAngle(AValue); }

  bool MouseDownImageIndexChange() const { return Has(MouseDown(), TDPPEffectType::dppetImageIndexChange); }
  void SetMouseDownImageIndexChange(bool AValue) { Set(MouseDown(), TDPPEffectType::dppetImageIndexChange, AValue); }
  bool MouseOverImageIndexChange() const { return Has(MouseOver(), TDPPEffectType::dppetImageIndexChange); }
  void SetMouseOverImageIndexChange(bool AValue) { Set(MouseOver(), TDPPEffectType::dppetImageIndexChange, AValue); }
  bool PushedImageIndexChange() const { return Has(Pushed(), TDPPEffectType::dppetImageIndexChange); }
  void SetPushedImageIndexChange(bool AValue) { Set(Pushed(), TDPPEffectType::dppetImageIndexChange, AValue); }
  bool MouseDownRotateAngleChange() const { return Has(MouseDown(), TDPPEffectType::dppetRotateAngleChange); }
  void SetMouseDownRotateAngleChange(bool AValue) {
    Set(MouseDown(), TDPPEffectType::dppetRotateAngleChange, AValue);
  }
  bool MouseOverRotateAngleChange() const { return Has(MouseOver(), TDPPEffectType::dppetRotateAngleChange); }
  void SetMouseOverRotateAngleChange(bool AValue) {
    Set(MouseOver(), TDPPEffectType::dppetRotateAngleChange, AValue);
  }
  bool PushedRotateAngleChange() const { return Has(Pushed(), TDPPEffectType::dppetRotateAngleChange); }
  void SetPushedRotateAngleChange(bool AValue) { Set(Pushed(), TDPPEffectType::dppetRotateAngleChange, AValue); }

 private:
  // The effects of a picture parameter are picture effects.
  static TDrawPictureParamEffect& PictureEffect(TDrawParamCommonEffect& AEffect) {
    return static_cast<TDrawPictureParamEffect&>(AEffect);
  }
  static bool Has(TDrawParamCommonEffect& AEffect, TDPPEffectType AType) {
    return PictureEffect(AEffect).EffectTypes().Contains(AType);
  }
  static void Set(TDrawParamCommonEffect& AEffect, TDPPEffectType AType, bool AValue);

  TBaseDrawPictureParam* const FDrawPictureParam;
};
