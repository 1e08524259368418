#pragma once
// The companions of every skinned control and the interface they reach it
// through. A skinned control (see uSkinFireMonkeyControl) keeps:
//
// - a properties object (TSkinControlProperties or a family's subclass): its
//   behaviour settings, stored in forms as Properties.*, and the family's
//   classification ("SkinButton") that finds its control type and material;
// - a control type (TSkinControlType or a subclass): it paints the control and
//   reacts to pointer, keyboard, size, focus and text changes;
// - a material (uSkinMaterial): the appearance.
//
// A family adds, per companion, a subclass: its properties class answers the
// classification; its control type overrides CustomBind (taking the family's
// own interface), CustomPaint and what else it needs. Control types are not
// components: a TControlTypeClass creates one and Bind ties it to its control.

#include "skin/base/uDrawCanvas.h"
#include "skin/base/uDrawParam.h"
#include "skin/base/uSkinMaterial.h"
#include "skin/host/ClassFactory.h"
#include "skin/host/Control.h"
#include "skin/host/Events.h"
#include "skin/host/Persistent.h"
#include "skin/host/Types.h"

#include <QJsonObject>
#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class TSkinControlProperties;
class TSkinControlType;

namespace uComponentType {
Q_NAMESPACE

// Stored with each control; nothing reads it (the type comes from ComponentTypeName).
enum class TComponentTypeUseKind : std::uint8_t { ctukDefault, ctukName };
Q_ENUM_NS(TComponentTypeUseKind)

// Where a control's material comes from.
enum class TMaterialUseKind : std::uint8_t { mukSelfOwn, mukDefault, mukName, mukRef, mukRefOnly, mukRefByStyleName };
Q_ENUM_NS(TMaterialUseKind)

// When a control passes its pointer events on to its parent.
enum class TMouseEventTransToParentType : std::uint8_t { mettptAuto, mettptTrans, mettptNotTrans };
Q_ENUM_NS(TMouseEventTransToParentType)

}  // namespace uComponentType

using uComponentType::TComponentTypeUseKind;
using uComponentType::TMaterialUseKind;
using uComponentType::TMouseEventTransToParentType;

// What one paint shows.
struct TPaintData {
  // The hover, press and focus states are shown (a control painting itself).
  bool IsDrawInteractiveState = false;
  // A child drawn inside its parent's paint.
  bool IsInDrawDirectUI = false;
  // Passed through to control types.
  void* OtherData = nullptr;
};

namespace ostrel::skin {
// Both flags off, no other data.
inline constexpr TPaintData GlobalDefaultPaintData{};
}  // namespace ostrel::skin

// Multi-touch and gesture reports as control types receive them.
enum class TTouchAction : std::uint8_t { taNone, taUp, taDown, taMove, taCancel };
struct TTouch {
  TPointF Location;
};
using TTouches = std::vector<TTouch>;
struct TGestureEventInfo {
  int GestureID = 0;
  TPointF Location;
  double Distance = 0;
  double Angle = 0;
};

// A control seen as a rectangle by parents that paint their children.
// Values are in the parent's coordinates.
class IDirectUIControl {
 public:
  virtual double GetLeft() const = 0;
  virtual double GetTop() const = 0;
  virtual void SetLeft(double AValue) = 0;
  virtual void SetTop(double AValue) = 0;
  virtual double GetWidth() const = 0;
  virtual double GetHeight() const = 0;
  virtual void SetControlWidth(double AValue) = 0;
  virtual void SetControlHeight(double AValue) = 0;

 protected:
  ~IDirectUIControl() = default;
};

// A parent that paints its children itself; it repaints a child's region
// when the child asks to be repainted.
class IDirectUIParent {
 public:
  virtual void InvalidateChild(TControl* AChild, IDirectUIControl* AChildIntf) = 0;

 protected:
  ~IDirectUIParent() = default;
};

// The skin control interface: what control types, parents and list items
// ask of a skinned control without knowing its class. Names that the host
// control already uses for something else carry "Control" (SetControlWidth).
class ISkinControl : public IDirectUIControl {
 public:
  virtual void SetControlParent(TControl* AParent) = 0;
  virtual void SetControlVisible(bool AValue) = 0;
  virtual int GetWidthInt() const = 0;
  virtual void SetWidthInt(int AValue) = 0;
  virtual int GetHeightInt() const = 0;
  virtual void SetHeightInt(int AValue) = 0;
  virtual bool GetIsMouseOver() const = 0;
  virtual void SetIsMouseOver(bool AValue) = 0;
  virtual bool GetIsMouseDown() const = 0;
  virtual void SetIsMouseDown(bool AValue) = 0;
  virtual bool GetVisible() const = 0;
  // The control's own flag, not its parents'.
  virtual bool GetEnabled() const = 0;
  virtual bool GetIsFocused() const = 0;
  // The host's focus-enter handling.
  virtual void EnterFocus() = 0;
  virtual TControl* GetParent() const = 0;
  virtual TSkinControlProperties* GetProperties() const = 0;
  virtual void SetProperties(const TSkinControlProperties* AValue) = 0;
  virtual TSkinControlMaterial* GetCurrentUseMaterial() = 0;
  virtual TSkinControlType* GetSkinControlType() = 0;
  virtual QString GetCaption() const = 0;
  virtual void SetCaption(const QString& AValue) = 0;
  virtual bool GetParentMouseEvent() const = 0;
  virtual void SetParentMouseEvent(bool AValue) = 0;
  virtual TMouseEventTransToParentType GetMouseEventTransToParentType() const = 0;
  virtual void SetMouseEventTransToParentType(TMouseEventTransToParentType AValue) = 0;
  virtual bool GetParentIsScrollBox() = 0;
  virtual TControl* GetParentScrollBox() = 0;
  virtual void Invalidate() = 0;
  virtual void SetBoundsValues(double ALeft, double ATop, double AWidth, double AHeight) = 0;
  virtual void SetBoundsRect(const TRectF& ARect) = 0;
  virtual int GetParentChildControlCount() const = 0;
  virtual TControl* GetParentChildControl(int AIndex) const = 0;
  virtual int GetChildControlCount() const = 0;
  virtual TControl* GetChildControl(int AIndex) const = 0;
  virtual void ISkinControl_CustomMouseDown(TMouseButton Button, TShiftState Shift, float X, float Y,
                                            bool AIsChildMouseEvent, TObject* AChild) = 0;
  virtual void ISkinControl_CustomMouseUp(TMouseButton Button, TShiftState Shift, float X, float Y,
                                          bool AIsChildMouseEvent, TObject* AChild) = 0;
  virtual void ISkinControl_CustomMouseMove(TShiftState Shift, float X, float Y, bool AIsChildMouseEvent,
                                            TObject* AChild) = 0;
  virtual void ISkinControl_CustomMouseEnter() = 0;
  virtual void ISkinControl_CustomMouseLeave() = 0;
  virtual const TMouseEvent& GetOnCustomMouseDown() const = 0;
  virtual const TMouseEvent& GetOnCustomMouseUp() const = 0;
  virtual const TMouseMoveEvent& GetOnCustomMouseMove() const = 0;
  virtual const TNotifyEvent& GetOnCustomMouseEnter() const = 0;
  virtual const TNotifyEvent& GetOnCustomMouseLeave() const = 0;
  virtual void Click() = 0;
  virtual void SetDirectUIParentIntf(IDirectUIParent* AValue) = 0;
  virtual bool GetHitTest() const = 0;
  virtual int GetHitTestValue() const = 0;
  virtual bool GetDirectUIVisible() const = 0;
  // The control type's automatic width (height), or the control's when it has none.
  virtual double GetAutoSizeWidth() = 0;
  virtual double GetAutoSizeHeight() = 0;
  virtual TRectF GetAutoSizeBoundsRect() = 0;

 protected:
  ~ISkinControl() = default;
};

// The host control behind an object, when it is one.
TControl* AsHostControl(TObject* AObject);

// The skin control interface of AControl, or none.
ISkinControl* SkinControlIntfOf(TControl* AControl);

class TSkinControlProperties : public TPersistent {
  Q_OBJECT
  Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)

 public:
  // Raises "This Component Do not Support ISkinComponent Interface" when
  // ASkinControl has no skin control interface.
  explicit TSkinControlProperties(TControl* ASkinControl);
  ~TSkinControlProperties() override;

  TControl* SkinControl() const { return FSkinControl; }
  ISkinControl* SkinControlIntf() const { return FSkinControlIntf; }

  bool AutoSize() const { return FAutoSize; }
  // A change is stored and the bounds follow (AdjustAutoSizeBounds).
  void SetAutoSize(bool AValue);
  // Sizes the control from its control type's CalcAutoSize while AutoSize
  // is on, unless the control is reading its stored form.
  void AdjustAutoSizeBounds();

  virtual void SavePropToJson(QJsonObject& AJson) const;
  virtual void LoadPropFromJson(const QJsonObject& AJson);
  // The JSON text of SavePropToJson, empty when it wrote nothing.
  QString GetPropJsonStr() const;
  void SetPropJsonStr(const QString& AJsonStr);

  // Copies another properties object's values; the base copies AutoSize alone (no re-sizing).
  virtual void AssignProperties(const TSkinControlProperties* ASource);
  // A part changed: repaint, unless the control loads or reads its stored form.
  virtual void DoPropertiesChange(TObject* Sender);
  // The family: "TSkinControl" here, "SkinButton" for buttons, and so on.
  virtual QString GetComponentClassify() const;

 protected:
  void AssignTo(TPersistent* ADest) const override;
  // A picture whose changes reach DoPropertiesChange; the caller owns it.
  std::unique_ptr<TDrawPicture> CreateDrawPicture(const QString& AName, const QString& ACaption,
                                                  const QString& AGroup);
  // Whether the control is loading or reading its stored form.
  bool IsControlLoadingOrReading() const;

 private:
  TControl* FSkinControl;
  ISkinControl* FSkinControlIntf;
  bool FAutoSize = false;
};

// A class of properties objects, created for their control.
using TPropertiesClass = ostrel::host::ClassRef<TSkinControlProperties, TControl*>;

class TSkinControlType : public TObject {
 public:
  TSkinControlType();
  // Unbinds the base part; the owner calls UnBind first, so that a family's
  // CustomUnBind runs while the family's part is whole.
  ~TSkinControlType() override;

  // Takes ASkinControl's skin control interface (raising "This Component Do
  // not Support ISkinComponent Interface" without one) and keeps the control
  // when CustomBind agrees.
  void Bind(TControl* ASkinControl);
  void UnBind();

  TControl* SkinControl() const { return FSkinControl; }
  ISkinControl* SkinControlIntf() const { return FSkinControlIntf; }
  bool IsUseCurrentEffectStates() const { return FIsUseCurrentEffectStates; }
  void SetIsUseCurrentEffectStates(bool AValue) { FIsUseCurrentEffectStates = AValue; }
  TDPEffectStates CurrentEffectStates() { return GetCurrentEffectStates(); }
  void SetCurrentEffectStates(TDPEffectStates AValue) { FCurrentEffectStates = AValue; }

  // The states imposed from outside when IsUseCurrentEffectStates, else the control's.
  virtual TDPEffectStates GetCurrentEffectStates();
  // Asks the control to repaint, unless repaints are suppressed.
  virtual void InvalidateControl();
  // Raises "This Component Do not Support ISkinControl Interface" when the
  // control has no skin control interface; families take their own one here.
  virtual bool CustomBind(TControl* ASkinControl);
  virtual void CustomUnBind();
  // The family's drawing after the background.
  virtual bool CustomPaint(TDrawCanvas& ACanvas, TSkinControlMaterial* AMaterial, const TRectF& ADrawRect,
                           const TPaintData& APaintData);
  // The material this type paints with: the control's material in use.
  virtual TSkinControlMaterial* GetPaintCurrentUseMaterial();
  // Writes the states in force and the alpha into every parameter of AMaterial.
  virtual void ProcessMaterialDrawStates(TSkinControlMaterial* AMaterial, const TPaintData& APaintData);
  // Disabled alone, or the union of pressed, hovered and focused.
  virtual TDPEffectStates CalcCurrentEffectStates();
  // -1: no automatic width (height).
  virtual double GetAutoSizeWidth();
  virtual double GetAutoSizeHeight();
  virtual bool CalcAutoSize(double& AWidth, double& AHeight);
  // States into the material, background rectangle unless transparent, then CustomPaint.
  virtual bool Paint(TDrawCanvas& ACanvas, TSkinControlMaterial* AMaterial, const TRectF& ADrawRect,
                     const TPaintData& APaintData);
  virtual void CustomMouseDown(TMouseButton Button, TShiftState Shift, float X, float Y);
  virtual void CustomMouseUp(TMouseButton Button, TShiftState Shift, float X, float Y);
  virtual void CustomMouseMove(TShiftState Shift, float X, float Y);
  virtual void CustomMouseEnter();
  virtual void CustomMouseLeave();
  // True when handled.
  virtual bool CustomMouseWheel(TShiftState Shift, int WheelDelta);
  virtual void KeyDown(std::uint16_t& Key, TShiftState Shift);
  virtual void KeyUp(std::uint16_t& Key, TShiftState Shift);
  virtual void Gesture(const TGestureEventInfo& EventInfo, bool& Handled);
  virtual void MultiTouch(TObject* Sender, const TTouches& Touches, TTouchAction Action);
  // After the caption changed.
  virtual void TextChanged();
  // After the control was resized.
  virtual void SizeChanged();
  // After the control gained or lost the focus.
  virtual void FocusChanged();
  // Which children DrawChildControls paints.
  virtual bool CanDrawChildControl(TControl* AChild, const TPaintData& APaintData);

  // Painted children: the children of the control drawn into its own paint,
  // and pointer input routed to them.
  void DrawChildControls(TDrawCanvas& ACanvas, const TRectF& ADrawRect, const TRectF& AVisibleRect,
                         const TPaintData& APaintData);
  void DirectUIMouseDown(TMouseButton Button, TShiftState Shift, float X, float Y);
  void DirectUIMouseMove(TShiftState Shift, float X, float Y);
  void DirectUIMouseUp(TMouseButton Button, TShiftState Shift, float X, float Y, bool ACallClick);
  void DirectUIMouseEnter();
  void DirectUIMouseLeave();

  // The type's published state as JSON; a control type publishes nothing of its own.
  QJsonObject AsJSONObject() const;
  QString AsJSON() const;

  // Where the pointer events handled last happened: in the control, in the
  // form (absolute) and on the screen (left unset here).
  TPointF MouseDownPt() const { return FMouseDownPt; }
  TPointF MouseMovePt() const { return FMouseMovePt; }
  TPointF MouseUpPt() const { return FMouseUpPt; }
  TPointF MouseDownAbsolutePt() const { return FMouseDownAbsolutePt; }
  TPointF MouseMoveAbsolutePt() const { return FMouseMoveAbsolutePt; }
  TPointF MouseUpAbsolutePt() const { return FMouseUpAbsolutePt; }
  const TTouches& Touches() const { return FTouches; }
  TTouchAction TouchAction() const { return FAction; }
  // The event being handled came from a child (and started at this control).
  bool CurrentMouseEventIsChildOwn() const { return FCurrentMouseEventIsChildOwn; }
  void SetCurrentMouseEventIsChildOwn(bool AValue) { FCurrentMouseEventIsChildOwn = AValue; }
  TObject* CurrentMouseEventChild() const { return FCurrentMouseEventChild; }
  void SetCurrentMouseEventChild(TObject* AValue) { FCurrentMouseEventChild = AValue; }

  // Painted-children routing state. A child freed meanwhile reads as none;
  // its skin control interface is asked for when it is needed.
  QPointer<TControl> LastMouseDownChildControl;
  QPointer<TControl> LastMouseMoveChildControl;
  bool EventProcessedByChild = false;
  bool EventClickedByChild = false;
  QPointer<TControl> CurrentHitTestChildControl;

 protected:
  // The control's material in use, or none.
  TSkinControlMaterial* ControlMaterial() const;
  // Repaint when the material in use has mouse-down (mouse-over) effects.
  void InvalidateIfMouseDownEffect();
  void InvalidateIfMouseOverEffect();

  bool FIsUseCurrentEffectStates = false;
  TDPEffectStates FCurrentEffectStates;
  TControl* FSkinControl = nullptr;
  ISkinControl* FSkinControlIntf = nullptr;
  bool FCurrentMouseEventIsChildOwn = false;
  TObject* FCurrentMouseEventChild = nullptr;
  TPointF FMouseDownPt;
  TPointF FMouseMovePt;
  TPointF FMouseUpPt;
  TPointF FMouseDownAbsolutePt;
  TPointF FMouseMoveAbsolutePt;
  TPointF FMouseUpAbsolutePt;
  TPointF FMouseDownScreenPt;
  TPointF FMouseMoveScreenPt;
  TPointF FMouseUpScreenPt;
  TTouches FTouches;
  TTouchAction FAction = TTouchAction::taNone;

 private:
  // The painted child at (X, Y) in the control, searched last to first; its
  // own children first. AChildPt becomes the point in that child.
  TControl* HitTestChild(TControl* AParent, float X, float Y, TPointF& AChildPt) const;
  // The hit painted child, noted as the current one.
  TControl* RouteToChild(float X, float Y, TPointF& AChildPt);
  // A child pressed before and still down, when it is not AHit, gets its release.
  void ReleasePressedChildOtherThan(const TControl* AHit, TMouseButton Button, TShiftState Shift,
                                    const TPointF& APoint);
  void LeaveChild(TControl* AChild);
};

// A class of control types; Create makes one unbound.
using TControlTypeClass = ostrel::host::ClassRef<TSkinControlType>;
