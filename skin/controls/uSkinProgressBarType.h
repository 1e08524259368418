#pragma once
// The progress bar: an integer position between a minimum and a maximum
// shown as the filled part of a track, with an optional percentage text and
// a caption.
//
// The geometry (progress length, percent rectangle) and the value rules are
// pure functions below, shared by both looks; the family's classes follow
// them. The default look reveals a stretched fore picture over a back
// picture; the "Color" look fills the progress part with a rectangle.

#include "skin/base/uComponentType.h"
#include "skin/base/uDrawPicture.h"
#include "skin/base/uSkinFireMonkeyControl.h"
#include "skin/base/uSkinMaterial.h"
#include "skin/base/uSkinRegManager.h"
#include "skin/host/Events.h"
#include "skin/host/Types.h"

#include <QObject>
#include <QString>
#include <QVariant>

#include <cstdint>

namespace uSkinProgressBarType {
Q_NAMESPACE

enum class TProgressBarOrientation : std::uint8_t { prHorizontal, prVertical };
Q_ENUM_NS(TProgressBarOrientation)

}  // namespace uSkinProgressBarType

using uSkinProgressBarType::TProgressBarOrientation;

namespace ostrel::skin {

// A position after the value rules: below AMin it becomes AMin, then above
// AMax it becomes AMax (so with AMin > AMax it is AMax).
std::int32_t ClampProgressBarPosition(std::int32_t APosition, std::int32_t AMin, std::int32_t AMax);

// How far the progress reaches along a track ATrackLength long: APosition x
// (ATrackLength / (AMax - AMin)). The position itself is scaled, not its
// distance from AMin. A zero range reaches nowhere, and the result is kept
// within the track, so the bar never draws outside its rectangle.
double ProgressBarLength(std::int32_t APosition, double ATrackLength, std::int32_t AMin, std::int32_t AMax);

// The part of R that shows the progress: from the left (top) edge, or, when
// AIsReverse, from the right (bottom) edge, ALength long.
TRectF ProgressBarPercentRect(const TRectF& R, TProgressBarOrientation AOrientation, double ALength, bool AIsReverse);

// APosition / (AMax - AMin) x 100, rounded down (towards minus infinity),
// computed exactly: 29 of 100 is 29, where the same sum in floating point
// gives 28.999… and shows 28. A zero range gives 0.
std::int64_t ProgressBarPercent(std::int32_t APosition, std::int32_t AMin, std::int32_t AMax);

}  // namespace ostrel::skin

class TProgressBarProperties;

// What the progress bar's properties and control types ask of the bar.
class ISkinProgressBar {
 public:
  virtual const TNotifyEvent& GetOnChange() const = 0;
  virtual TProgressBarProperties* GetProgressBarProperties() const = 0;

 protected:
  ~ISkinProgressBar() = default;
};

class TProgressBarProperties : public TSkinControlProperties {
  Q_OBJECT
  Q_PROPERTY(std::int32_t Min READ Min WRITE SetMin)
  Q_PROPERTY(std::int32_t Max READ Max WRITE SetMax)
  Q_PROPERTY(std::int32_t Position READ Position WRITE SetPosition)
  Q_PROPERTY(uSkinProgressBarType::TProgressBarOrientation Orientation READ Orientation WRITE SetOrientation)

 public:
  // Raises "This Component Do not Support ISkinProgressBar Interface" when
  // ASkinControl is no progress bar; sizes the bar to 120 x 22.
  explicit TProgressBarProperties(TControl* ASkinControl);
  ~TProgressBarProperties() override;

  QString GetComponentClassify() const override { return QStringLiteral("SkinProgressBar"); }
  // AutoSize, Orientation, Max, Min and Position as plain values.
  void AssignProperties(const TSkinControlProperties* ASource) override;

  std::int32_t Min() const { return FMin; }
  std::int32_t Max() const { return FMax; }
  std::int32_t Position() const { return FPosition; }
  // The value rules: the position is clamped into the range; a real change
  // of any of the three fires OnChange and repaints. A stored form's values
  // are taken as read and clamped once it has loaded, so the order of its
  // lines does not matter.
  void SetMin(std::int32_t AValue) { SetValues(FPosition, AValue, FMax); }
  void SetMax(std::int32_t AValue) { SetValues(FPosition, FMin, AValue); }
  void SetPosition(std::int32_t AValue) { SetValues(AValue, FMin, FMax); }
  // The position alone: no clamping, event or repaint.
  std::int32_t StaticPosition() const { return FPosition; }
  void SetStaticPosition(std::int32_t AValue) { FPosition = AValue; }
  TProgressBarOrientation Orientation() const { return FOrientation; }
  // A different orientation swaps the bar's width and height, unless it loads.
  void SetOrientation(TProgressBarOrientation AValue);
  // Clamps values taken from a stored form, silently.
  void ApplyLoadedValues();

  ISkinProgressBar* SkinProgressBarIntf() const { return FSkinProgressBarIntf; }

 private:
  void SetValues(std::int32_t APosition, std::int32_t AMin, std::int32_t AMax);

  std::int32_t FMin = 0;
  std::int32_t FMax = 100;
  std::int32_t FPosition = 0;
  TProgressBarOrientation FOrientation = TProgressBarOrientation::prHorizontal;
  ISkinProgressBar* FSkinProgressBarIntf = nullptr;
};

// The parts both looks share: the percentage and caption texts and whether
// the fore part is revealed through a clip.
class TSkinProgressBarMaterial : public TSkinControlMaterial {
  Q_OBJECT
  Q_PROPERTY(bool IsDrawPercent READ IsDrawPercent WRITE SetIsDrawPercent)
  Q_PROPERTY(TDrawTextParam* DrawPercentParam READ DrawPercentParam WRITE SetDrawPercentParam)
  Q_PROPERTY(TDrawTextParam* DrawCaptionParam READ DrawCaptionParam WRITE SetDrawCaptionParam)
  Q_PROPERTY(bool IsClipPercentRect READ IsClipPercentRect WRITE SetIsClipPercentRect)

 public:
  explicit TSkinProgressBarMaterial(TComponent* AOwner = nullptr);
  ~TSkinProgressBarMaterial() override;

  // After the core nodes, a Boolean node "IsDrawPercent".
  bool SaveToDocNode(TBTNode20_Class* ADocNode) const override;
  bool LoadFromDocNode(TBTNode20_Class* ADocNode) override;

  bool IsDrawPercent() const { return FIsDrawPercent; }
  void SetIsDrawPercent(bool AValue);
  TDrawTextParam* DrawPercentParam() const { return FDrawPercentParam; }
  void SetDrawPercentParam(const TDrawTextParam* AValue) { FDrawPercentParam->Assign(AValue); }
  TDrawTextParam* DrawCaptionParam() const { return FDrawCaptionParam; }
  void SetDrawCaptionParam(const TDrawTextParam* AValue) { FDrawCaptionParam->Assign(AValue); }
  bool IsClipPercentRect() const { return FIsClipPercentRect; }
  void SetIsClipPercentRect(bool AValue);

 protected:
  // IsDrawPercent into another progress bar material, then the core copy.
  void AssignTo(TPersistent* ADest) const override;

 private:
  bool FIsDrawPercent = false;
  TDrawTextParam* FDrawPercentParam;
  TDrawTextParam* FDrawCaptionParam;
  bool FIsClipPercentRect = false;
};

class TSkinProgressBarDefaultMaterial : public TSkinProgressBarMaterial {
  Q_OBJECT
  Q_PROPERTY(TDrawPicture* HorzBackGndPicture READ HorzBackGndPicture WRITE SetHorzBackGndPicture)
  Q_PROPERTY(TDrawPicture* VertBackGndPicture READ VertBackGndPicture WRITE SetVertBackGndPicture)
  Q_PROPERTY(TDrawPicture* HorzForeGndPicture READ HorzForeGndPicture WRITE SetHorzForeGndPicture)
  Q_PROPERTY(TDrawPicture* VertForeGndPicture READ VertForeGndPicture WRITE SetVertForeGndPicture)
  Q_PROPERTY(TDrawPictureParam* BackGndDrawPictureParam READ BackGndDrawPictureParam WRITE SetBackGndDrawPictureParam)
  Q_PROPERTY(TDrawPictureParam* ForeGndDrawPictureParam READ ForeGndDrawPictureParam WRITE SetForeGndDrawPictureParam)

 public:
  explicit TSkinProgressBarDefaultMaterial(TComponent* AOwner = nullptr);
  ~TSkinProgressBarDefaultMaterial() override;

  TDrawPicture* HorzBackGndPicture() const { return FHorzBackGndPicture; }
  void SetHorzBackGndPicture(const TDrawPicture* AValue) { FHorzBackGndPicture->Assign(AValue); }
  TDrawPicture* VertBackGndPicture() const { return FVertBackGndPicture; }
  void SetVertBackGndPicture(const TDrawPicture* AValue) { FVertBackGndPicture->Assign(AValue); }
  TDrawPicture* HorzForeGndPicture() const { return FHorzForeGndPicture; }
  void SetHorzForeGndPicture(const TDrawPicture* AValue) { FHorzForeGndPicture->Assign(AValue); }
  TDrawPicture* VertForeGndPicture() const { return FVertForeGndPicture; }
  void SetVertForeGndPicture(const TDrawPicture* AValue) { FVertForeGndPicture->Assign(AValue); }
  TDrawPictureParam* BackGndDrawPictureParam() const { return FBackGndDrawPictureParam; }
  void SetBackGndDrawPictureParam(const TDrawPictureParam* AValue) { FBackGndDrawPictureParam->Assign(AValue); }
  TDrawPictureParam* ForeGndDrawPictureParam() const { return FForeGndDrawPictureParam; }
  void SetForeGndDrawPictureParam(const TDrawPictureParam* AValue) { FForeGndDrawPictureParam->Assign(AValue); }

 private:
  TDrawPicture* FHorzBackGndPicture;
  TDrawPicture* FVertBackGndPicture;
  TDrawPicture* FHorzForeGndPicture;
  TDrawPicture* FVertForeGndPicture;
  TDrawPictureParam* FBackGndDrawPictureParam;
  TDrawPictureParam* FForeGndDrawPictureParam;
};

class TSkinProgressBarColorMaterial : public TSkinProgressBarMaterial {
  Q_OBJECT
  Q_PROPERTY(TDrawRectParam* ForeColor READ ForeColor WRITE SetForeColor)
  Q_PROPERTY(bool IsReverse READ IsReverse WRITE SetIsReverse)

 public:
  explicit TSkinProgressBarColorMaterial(TComponent* AOwner = nullptr);
  ~TSkinProgressBarColorMaterial() override;

  TDrawRectParam* ForeColor() const { return FForeColor; }
  void SetForeColor(const TDrawRectParam* AValue) { FForeColor->Assign(AValue); }
  // Fill from the right (bottom) edge instead of the left (top).
  bool IsReverse() const { return FIsReverse; }
  void SetIsReverse(bool AValue);

 private:
  TDrawRectParam* FForeColor;
  bool FIsReverse = false;
};

// What both looks share: the binding, the percentage and caption texts and
// a repaint on resize.
class TSkinProgressBarType : public TSkinControlType {
 public:
  bool CustomBind(TControl* ASkinControl) override;
  void CustomUnBind() override;
  void SizeChanged() override;

 protected:
  TProgressBarProperties* BarProperties() const;
  // The part of R the position reaches, from the start edge or, with
  // AIsReverse, from the end edge.
  TRectF PercentRect(const TRectF& R, bool AIsReverse) const;
  // The percentage text (when the material asks for it) and the caption, into R.
  void PaintPercentAndCaption(TDrawCanvas& ACanvas, TSkinProgressBarMaterial& AMaterial, const TRectF& R);
  // "33%" for the bar's position; built again only when the percentage changes.
  const QString& PercentText();

  ISkinProgressBar* FSkinProgressBarIntf = nullptr;

 private:
  std::int64_t FPercentOfText = 0;
  QString FPercentText;
};

// The back picture, and the fore picture revealed up to the position or
// squeezed into the progress part.
class TSkinProgressBarDefaultType : public TSkinProgressBarType {
 public:
  bool CustomPaint(TDrawCanvas& ACanvas, TSkinControlMaterial* AMaterial, const TRectF& ADrawRect,
                   const TPaintData& APaintData) override;
};

// The progress part filled with the ForeColor rectangle; a failure while
// painting is logged and ends the paint.
class TSkinProgressBarColorType : public TSkinProgressBarDefaultType {
 public:
  bool CustomPaint(TDrawCanvas& ACanvas, TSkinControlMaterial* AMaterial, const TRectF& ADrawRect,
                   const TPaintData& APaintData) override;
};

class TSkinProgressBar : public TSkinFireMonkeyControl,
                         public ISkinProgressBar,
                         public IBindSkinItemValueControl,
                         public IBindSkinItemTextControl {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE SetText)
  Q_PROPERTY(QString Text READ Text WRITE SetText)

 public:
  explicit TSkinProgressBar(TComponent* AOwner = nullptr);
  ~TSkinProgressBar() override;

  TPropertiesClass GetPropertiesClassType() const override {
    return TPropertiesClass::Of<TProgressBarProperties>();
  }
  TProgressBarProperties* Prop() const { return GetProgressBarProperties(); }
  TSkinProgressBarDefaultMaterial* Material() { return SelfOwnMaterialToDefault(); }
  TSkinProgressBarDefaultMaterial* SelfOwnMaterialToDefault();
  TSkinProgressBarDefaultMaterial* CurrentUseMaterialToDefault();

  // Fired with the properties object as sender.
  const TNotifyEvent& GetOnChange() const override { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue);
  TProgressBarProperties* GetProgressBarProperties() const override;

  // The position from a list item's value (its text as a number, 0 when it
  // is none), without clamping, event or repaint.
  void BindingItemValue(const QVariant& AValue) override;
  void BindingItemText(const QString& AText) override;

  void Loaded() override;
  void DoCustomMaterialChange(TObject* Sender) override;

  TAccessibleRole AccessibleRole() const override { return TAccessibleRole::ProgressBar; }
  // The percentage, "50%".
  QString AccessibleValue() const override;

 private:
  TNotifyEvent FOnChange;
};

class TSkinFMXProgressBar : public TSkinProgressBar {
  Q_OBJECT

 public:
  using TSkinProgressBar::TSkinProgressBar;
  ~TSkinFMXProgressBar() override;
};

void RegisterSkinProgressBarFamily(ostrel::skin::SkinLibraryRegistration& AReg);
