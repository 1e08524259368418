#pragma once
// The switch bar: an on/off switch drawn as a track with a sliding knob. Its
// state is a position between a minimum and a maximum; it is on exactly when
// the position is the maximum.
//
// The geometry (value to pixel, knob and foreground rectangles, the value a
// drag reaches) and the value rules are pure functions below, shared by
// painting, hit testing and dragging; the family's classes follow them.

#include "skin/base/uComponentType.h"
#include "skin/base/uDrawPicture.h"
#include "skin/base/uSkinFireMonkeyControl.h"
#include "skin/base/uSkinMaterial.h"
#include "skin/base/uSkinRegManager.h"
#include "skin/host/Events.h"
#include "skin/host/Types.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>

namespace uSkinSwitchBarType {
Q_NAMESPACE

enum class TSwitchBarOrientation : std::uint8_t { srHorizontal, srVertical };
Q_ENUM_NS(TSwitchBarOrientation)

}  // namespace uSkinSwitchBarType

using uSkinSwitchBarType::TSwitchBarOrientation;

namespace ostrel::skin {

// A position after the value rules: below AMin (or not a number) it becomes
// AMin, then above AMax it becomes AMax, so with AMin > AMax it is AMax.
double ClampSwitchBarPosition(double APosition, double AMin, double AMax);

// The pixel of AValue on a track ALength long: AValue x ALength / (AMax -
// AMin), rounded half to even. The value itself is scaled, not its distance
// from AMin. A zero range (or any result that is not a number) gives 0, so
// the knob stays at the start.
double SwitchBarValuePixel(double AValue, double ALength, double AMin, double AMax);

// The knob rectangle in a track of AWidth x AHeight for pixel APixel and knob
// size AKnobSize along the track: centred on the pixel and kept inside the track.
TRectF SwitchBarKnobRect(double AWidth, double AHeight, TSwitchBarOrientation AOrientation, double APixel,
                         double AKnobSize);

// The part of the track that shows the "on" foreground for pixel APixel:
// from the start to the knob's centre once the pixel is past one knob size,
// to the pixel before that, never beyond the track.
TRectF SwitchBarForeGndRect(double AWidth, double AHeight, TSwitchBarOrientation AOrientation, double APixel,
                            double AKnobSize);

// The position a drag reaches when the pointer is at AAxis along the track:
// the knob's centre follows the pointer (less AMouseDownOffset), scaled over
// the track length less one knob; AMin when the knob fills the track.
double SwitchBarDragPosition(double AAxis, double AMouseDownOffset, double AKnobSize, double ALength, double AMin,
                             double AMax);

}  // namespace ostrel::skin

class TSwitchBarProperties;

// What the switch bar's properties and control types ask of the bar.
class ISkinSwitchBar {
 public:
  virtual const TNotifyEvent& GetOnChange() const = 0;
  virtual TSwitchBarProperties* GetSwitchBarProperties() const = 0;

 protected:
  ~ISkinSwitchBar() = default;
};

// The pointer's state on the knob.
class TSkinSwitchBarBtnState : public TObject {
 public:
  // The knob is held.
  bool MouseDown = false;
  // The pointer is over the knob.
  bool MouseHover = false;
  // Where the knob was grabbed, then the last drag point.
  TPointF MouseDownPt;
  // Where on the knob it was grabbed, from its centre; nothing sets it yet.
  double MouseDownOffset = 0;
};

class TSwitchBarProperties : public TSkinControlProperties {
  Q_OBJECT
  Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)

 public:
  // Raises "This Component Do not Support ISkinSwitchBar Interface" when
  // ASkinControl is no switch bar; sizes the bar to 44 x 22.
  explicit TSwitchBarProperties(TControl* ASkinControl);
  ~TSwitchBarProperties() override;

  QString GetComponentClassify() const override { return QStringLiteral("SkinSwitchBar"); }
  // AutoSize, Orientation, Max, Min, Position and DrawPosition as plain values.
  void AssignProperties(const TSkinControlProperties* ASource) override;

  double Min() const { return FMin; }
  double Max() const { return FMax; }
  double Position() const { return FPosition; }
  // The value rules: the position is clamped into the range; a real change
  // of any of the three fires OnChange and repaints (silently while the
  // stored form is read).
  void SetMin(double AValue) { SetValues(FPosition, AValue, FMax); }
  void SetMax(double AValue) { SetValues(FPosition, FMin, AValue); }
  void SetPosition(double AValue) { SetValues(AValue, FMin, FMax); }
  // Where the bar is drawn when something else paints it (a list item):
  // clamped like the position, repainted, no OnChange.
  double DrawPosition() const { return FDrawPosition; }
  void SetDrawPosition(double AValue);
  TSwitchBarOrientation Orientation() const { return FOrientation; }
  // A different orientation swaps the bar's width and height, unless it loads.
  void SetOrientation(TSwitchBarOrientation AValue);

  // On exactly at the maximum; setting moves the position to the maximum
  // (minimum) through the value rules when the state changes.
  bool Checked() const { return FPosition == FMax; }
  void SetChecked(bool AValue);
  // The same state without event or repaint.
  bool StaticChecked() const { return Checked(); }
  void SetStaticChecked(bool AValue);
  bool DrawChecked() const { return FDrawPosition == FMax; }
  void SetDrawChecked(bool AValue);
  bool StaticDrawChecked() const { return DrawChecked(); }
  void SetStaticDrawChecked(bool AValue) { SetDrawChecked(AValue); }

  TSkinSwitchBarBtnState* SwitchBtnState();
  ISkinSwitchBar* SkinSwitchBarIntf() const { return FSkinSwitchBarIntf; }

 private:
  void SetValues(double APosition, double AMin, double AMax);
  void Repaint();

  double FMin = 0;
  double FMax = 1;
  double FPosition = 0;
  double FDrawPosition = 0;
  TSwitchBarOrientation FOrientation = TSwitchBarOrientation::srHorizontal;
  std::unique_ptr<TSkinSwitchBarBtnState> FSwitchBtnState;
  ISkinSwitchBar* FSkinSwitchBarIntf = nullptr;
};

class TSkinSwitchBarMaterial : public TSkinControlMaterial {
  Q_OBJECT

 public:
  using TSkinControlMaterial::TSkinControlMaterial;
  ~TSkinSwitchBarMaterial() override;
};

class TSkinSwitchBarDefaultMaterial : public TSkinSwitchBarMaterial {
  Q_OBJECT
  Q_PROPERTY(TDrawPicture* HorzSwitchBtnHoverPicture READ HorzSwitchBtnHoverPicture WRITE SetHorzSwitchBtnHoverPicture)
  Q_PROPERTY(TDrawPicture* HorzSwitchBtnNormalPicture READ HorzSwitchBtnNormalPicture WRITE SetHorzSwitchBtnNormalPicture)
  Q_PROPERTY(
      TDrawPicture* HorzSwitchBtnDisabledPicture READ HorzSwitchBtnDisabledPicture WRITE SetHorzSwitchBtnDisabledPicture)
  Q_PROPERTY(TDrawPicture* HorzSwitchBtnDownPicture READ HorzSwitchBtnDownPicture WRITE SetHorzSwitchBtnDownPicture)
  Q_PROPERTY(TDrawPicture* VertSwitchBtnHoverPicture READ VertSwitchBtnHoverPicture WRITE SetVertSwitchBtnHoverPicture)
  Q_PROPERTY(TDrawPicture* VertSwitchBtnNormalPicture READ VertSwitchBtnNormalPicture WRITE SetVertSwitchBtnNormalPicture)
  Q_PROPERTY(
      TDrawPicture* VertSwitchBtnDisabledPicture READ VertSwitchBtnDisabledPicture WRITE SetVertSwitchBtnDisabledPicture)
  Q_PROPERTY(TDrawPicture* VertSwitchBtnDownPicture READ VertSwitchBtnDownPicture WRITE SetVertSwitchBtnDownPicture)
  Q_PROPERTY(TDrawPicture* HorzBackGndPicture READ HorzBackGndPicture WRITE SetHorzBackGndPicture)
  Q_PROPERTY(TDrawPicture* VertBackGndPicture READ VertBackGndPicture WRITE SetVertBackGndPicture)
  Q_PROPERTY(TDrawPicture* HorzForeGndPicture READ HorzForeGndPicture WRITE SetHorzForeGndPicture)
  Q_PROPERTY(TDrawPicture* VertForeGndPicture READ VertForeGndPicture WRITE SetVertForeGndPicture)
  Q_PROPERTY(TDrawPictureParam* BackGndDrawPictureParam READ BackGndDrawPictureParam WRITE SetBackGndDrawPictureParam)
  Q_PROPERTY(TDrawPictureParam* ForeGndDrawPictureParam READ ForeGndDrawPictureParam WRITE SetForeGndDrawPictureParam)
  Q_PROPERTY(
      TDrawPictureParam* SwitchBtnDrawPictureParam READ SwitchBtnDrawPictureParam WRITE SetSwitchBtnDrawPictureParam)
  Q_PROPERTY(std::int32_t SwitchBtnDrawSize READ SwitchBtnDrawSize WRITE SetSwitchBtnDrawSize)
  Q_PROPERTY(bool IsDrawForeAndBackGround READ IsDrawForeAndBackGround WRITE SetIsDrawForeAndBackGround)

 public:
  explicit TSkinSwitchBarDefaultMaterial(TComponent* AOwner = nullptr);
  ~TSkinSwitchBarDefaultMaterial() override;

  TDrawPicture* HorzSwitchBtnHoverPicture() const { return FHorzSwitchBtnHoverPicture; }
  void SetHorzSwitchBtnHoverPicture(const TDrawPicture* AValue) { FHorzSwitchBtnHoverPicture->Assign(AValue); }
  TDrawPicture* HorzSwitchBtnNormalPicture() const { return FHorzSwitchBtnNormalPicture; }
  void SetHorzSwitchBtnNormalPicture(const TDrawPicture* AValue) { FHorzSwitchBtnNormalPicture->Assign(AValue); }
  TDrawPicture* HorzSwitchBtnDisabledPicture() const { return FHorzSwitchBtnDisabledPicture; }
  void SetHorzSwitchBtnDisabledPicture(const TDrawPicture* AValue) { FHorzSwitchBtnDisabledPicture->Assign(AValue); }
  TDrawPicture* HorzSwitchBtnDownPicture() const { return FHorzSwitchBtnDownPicture; }
  void SetHorzSwitchBtnDownPicture(const TDrawPicture* AValue) { FHorzSwitchBtnDownPicture->Assign(AValue); }
  TDrawPicture* VertSwitchBtnHoverPicture() const { return FVertSwitchBtnHoverPicture; }
  void SetVertSwitchBtnHoverPicture(const TDrawPicture* AValue) { FVertSwitchBtnHoverPicture->Assign(AValue); }
  TDrawPicture* VertSwitchBtnNormalPicture() const { return FVertSwitchBtnNormalPicture; }
  void SetVertSwitchBtnNormalPicture(const TDrawPicture* AValue) { FVertSwitchBtnNormalPicture->Assign(AValue); }
  TDrawPicture* VertSwitchBtnDisabledPicture() const { return FVertSwitchBtnDisabledPicture; }
  void SetVertSwitchBtnDisabledPicture(const TDrawPicture* AValue) { FVertSwitchBtnDisabledPicture->Assign(AValue); }
  TDrawPicture* VertSwitchBtnDownPicture() const { return FVertSwitchBtnDownPicture; }
  void SetVertSwitchBtnDownPicture(const TDrawPicture* AValue) { FVertSwitchBtnDownPicture->Assign(AValue); }
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
  TDrawPictureParam* SwitchBtnDrawPictureParam() const { return FSwitchBtnDrawPictureParam; }
  void SetSwitchBtnDrawPictureParam(const TDrawPictureParam* AValue) { FSwitchBtnDrawPictureParam->Assign(AValue); }
  // The knob's size along the track; 0 takes it from the normal knob picture.
  std::int32_t SwitchBtnDrawSize() const { return FSwitchBtnDrawSize; }
  void SetSwitchBtnDrawSize(std::int32_t AValue);
  // Draw the background with a foreground growing up to the knob, rather
  // than one of the two by the on state.
  bool IsDrawForeAndBackGround() const { return FIsDrawForeAndBackGround; }
  void SetIsDrawForeAndBackGround(bool AValue);

 private:
  TDrawPicture* FHorzSwitchBtnHoverPicture;
  TDrawPicture* FHorzSwitchBtnNormalPicture;
  TDrawPicture* FHorzSwitchBtnDisabledPicture;
  TDrawPicture* FHorzSwitchBtnDownPicture;
  TDrawPicture* FVertSwitchBtnHoverPicture;
  TDrawPicture* FVertSwitchBtnNormalPicture;
  TDrawPicture* FVertSwitchBtnDisabledPicture;
  TDrawPicture* FVertSwitchBtnDownPicture;
  TDrawPicture* FHorzBackGndPicture;
  TDrawPicture* FVertBackGndPicture;
  TDrawPicture* FHorzForeGndPicture;
  TDrawPicture* FVertForeGndPicture;
  TDrawPictureParam* FBackGndDrawPictureParam;
  TDrawPictureParam* FForeGndDrawPictureParam;
  TDrawPictureParam* FSwitchBtnDrawPictureParam;
  std::int32_t FSwitchBtnDrawSize = 0;
  bool FIsDrawForeAndBackGround = true;
};

// The bar's pointer handling (grabbing, hovering and dragging the knob) and
// its pushed state while on; the knob's geometry comes from the look.
class TSkinSwitchBarType : public TSkinControlType {
 public:
  bool CustomBind(TControl* ASkinControl) override;
  void CustomUnBind() override;
  // The core's states, with dpstPushed while the bar is on.
  TDPEffectStates CalcCurrentEffectStates() override;
  void CustomMouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) override;
  void CustomMouseMove(TShiftState Shift, float X, float Y) override;
  void CustomMouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) override;
  void CustomMouseLeave() override;
  void SizeChanged() override;

  // The knob's size along the track, and its rectangle in the control for a
  // value; a look must answer them.
  virtual double GetSwitchBtnDrawSize();
  virtual TRectF GetSwitchBtnDrawRect(double AValue);

 protected:
  TSwitchBarProperties* BarProperties() const;
  // The track length: the control's width, or its height when vertical.
  double TrackLength() const;
  // Whether a control-local point lies on the knob at the current position.
  bool IsOnKnob(float X, float Y);

  ISkinSwitchBar* FSkinSwitchBarIntf = nullptr;
};

// Background, growing foreground and knob from the default material's pictures.
class TSkinSwitchBarDefaultType : public TSkinSwitchBarType {
 public:
  bool CustomPaint(TDrawCanvas& ACanvas, TSkinControlMaterial* AMaterial, const TRectF& ADrawRect,
                   const TPaintData& APaintData) override;
  double GetSwitchBtnDrawSize() override;
  TRectF GetSwitchBtnDrawRect(double AValue) override;
};

class TSkinSwitchBar : public TSkinFireMonkeyControl, public ISkinSwitchBar {
  Q_OBJECT

 public:
  explicit TSkinSwitchBar(TComponent* AOwner = nullptr);
  ~TSkinSwitchBar() override;

  TPropertiesClass GetPropertiesClassType() const override { return TPropertiesClass::Of<TSwitchBarProperties>(); }
  TSwitchBarProperties* Prop() const { return GetSwitchBarProperties(); }
  TSkinSwitchBarDefaultMaterial* Material() { return SelfOwnMaterialToDefault(); }
  TSkinSwitchBarDefaultMaterial* SelfOwnMaterialToDefault();
  TSkinSwitchBarDefaultMaterial* CurrentUseMaterialToDefault();

  // Fired with the properties object as sender.
  const TNotifyEvent& GetOnChange() const override { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue);
  TSwitchBarProperties* GetSwitchBarProperties() const override;

  // A click without movement toggles the bar, then fires OnStayClick.
  void StayClick() override;
  void DoCustomMaterialChange(TObject* Sender) override;

  TAccessibleRole AccessibleRole() const override { return TAccessibleRole::Switch; }
  std::optional<bool> AccessibleChecked() const override { return Prop()->Checked(); }

 private:
  TNotifyEvent FOnChange;
};

class TSkinFMXSwitchBar : public TSkinSwitchBar {
  Q_OBJECT

 public:
  using TSkinSwitchBar::TSkinSwitchBar;
  ~TSkinFMXSwitchBar() override;
};

void RegisterSkinSwitchBarFamily(ostrel::skin::SkinLibraryRegistration& AReg);
