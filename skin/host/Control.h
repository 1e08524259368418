#pragma once
// TControl: the base of everything visible in a form. A control is a
// component (its owner frees it) drawn through a Graphics View item that it
// owns; its Parent is only a visual link (the parent's item is its item's
// parent), so no control ever has two owners. When a parent goes away its
// child controls are detached, not freed: their owners still hold them.
//
// Pointer input is not taken from Graphics View: the form hit-tests this tree
// itself (see PointerRouter) so that hover, capture and click follow exactly
// the rules below, and Qt's own item opacity stays 1 — a control's opacity is
// multiplied up the tree (AbsoluteOpacity) and applied once by its Paint.

#include "skin/host/Action.h"
#include "skin/host/Component.h"
#include "skin/host/Events.h"
#include "skin/host/Position.h"
#include "skin/host/Types.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

class QGraphicsItem;
class QPainter;
class TForm;

namespace ostrel::host {
class ControlItem;
class PointerRouter;
}  // namespace ostrel::host

class TControl;

using TPaintEvent = std::function<void(TObject* Sender, QPainter* Canvas, const TRectF& ARect)>;

class TControl : public TComponent, public IEventProperties {
  Q_OBJECT
  Q_PROPERTY(TAlignLayout Align READ Align WRITE SetAlign)
  Q_PROPERTY(TPosition* Position READ Position)
  Q_PROPERTY(float Width READ Width WRITE SetWidth)
  Q_PROPERTY(float Height READ Height WRITE SetHeight)
  Q_PROPERTY(TBounds* Margins READ Margins)
  Q_PROPERTY(TBounds* Padding READ Padding)
  Q_PROPERTY(float Opacity READ Opacity WRITE SetOpacity)
  Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
  Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
  Q_PROPERTY(bool HitTest READ HitTest WRITE SetHitTest)
  Q_PROPERTY(bool ClipChildren READ ClipChildren WRITE SetClipChildren)
  Q_PROPERTY(bool CanFocus READ CanFocus WRITE SetCanFocus)
  Q_PROPERTY(bool TabStop READ TabStop WRITE SetTabStop)
  Q_PROPERTY(int TabOrder READ TabOrder WRITE SetTabOrder)
  Q_PROPERTY(bool AutoCapture READ AutoCapture WRITE SetAutoCapture)
  Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
  Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
  Q_PROPERTY(TCursor Cursor READ Cursor WRITE SetCursor)
  Q_PROPERTY(TBasicAction* Action READ Action WRITE SetAction)
  Q_PROPERTY(QString AccessibleName READ StoredAccessibleName WRITE SetAccessibleName)

 public:
  enum class TAlignLayout : std::uint8_t { None, Top, Left, Right, Bottom, Client, Contents, Center };
  Q_ENUM(TAlignLayout)

  enum class TCursor : std::uint8_t {
    crDefault,
    crArrow,
    crCross,
    crIBeam,
    crSizeNESW,
    crSizeNS,
    crSizeNWSE,
    crSizeWE,
    crUpArrow,
    crHourGlass,
    crNo,
    crHandPoint,
    crSizeAll,
  };
  Q_ENUM(TCursor)

  // What a control is to a screen reader. None leaves the control out of the
  // accessible tree (its children take its place): layout panels, decoration.
  enum class TAccessibleRole : std::uint8_t { None, Button, Switch, ComboBox, Label, Image, ProgressBar, Panel };

  explicit TControl(TComponent* AOwner = nullptr);
  ~TControl() override;

  // --- tree -------------------------------------------------------------
  // The parent is a TControl or a TForm (then the control sits at the top of
  // the form's tree) or nothing (then it is drawn nowhere).
  TComponent* Parent() const { return FParent; }
  TControl* ParentControl() const;
  void SetParent(TComponent* AParent);
  const QList<TControl*>& Controls() const { return FControls; }
  int ControlsCount() const { return static_cast<int>(FControls.size()); }
  // The form this control is drawn in, if any.
  TForm* Form() const;

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override { return FParent; }
  void SetParentComponent(TComponent* AParent) override { SetParent(AParent); }

  // --- geometry ---------------------------------------------------------
  TPosition* Position() const { return FPosition.get(); }
  float Width() const { return FWidth; }
  float Height() const { return FHeight; }
  void SetWidth(float AValue) { SetSize(AValue, FHeight); }
  void SetHeight(float AValue) { SetSize(FWidth, AValue); }
  void SetSize(float AWidth, float AHeight);
  void SetBounds(float AX, float AY, float AWidth, float AHeight);
  TRectF LocalRect() const { return TRectF(0, 0, FWidth, FHeight); }
  TRectF BoundsRect() const;
  TRectF AbsoluteRect() const;

  TAlignLayout Align() const { return FAlign; }
  void SetAlign(TAlignLayout AValue);
  TBounds* Margins() const { return FMargins.get(); }
  // The distances from the edges that aligned children keep.
  TBounds* Padding() const { return FPadding.get(); }
  // Lays out the aligned child controls inside this control, within its padding.
  void Realign();

  // Points between this control, its form's client area and the screen.
  TPointF LocalToAbsolute(const TPointF& APoint) const;
  TPointF AbsoluteToLocal(const TPointF& APoint) const;
  TPointF LocalToScreen(const TPointF& APoint) const;
  TPointF ScreenToLocal(const TPointF& APoint) const;

  // --- state ------------------------------------------------------------
  bool Visible() const { return FVisible; }
  void SetVisible(bool AValue);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool AValue);
  // Enabled here and in every parent control.
  bool AbsoluteEnabled() const;
  bool HitTest() const { return FHitTest; }
  void SetHitTest(bool AValue) { FHitTest = AValue; }
  float Opacity() const { return FOpacity; }
  void SetOpacity(float AValue);
  // Opacity multiplied by the parent controls' opacities.
  float AbsoluteOpacity() const;
  // Shown here and in every parent control, none of them fully transparent.
  // A control nobody can see takes no pointer, focus or key press: an intro's
  // button still faded out must not install when a user clicks what looks
  // like the background there.
  bool AbsoluteVisible() const;
  bool ClipChildren() const { return FClipChildren; }
  void SetClipChildren(bool AValue);
  QString Hint() const { return FHint; }
  void SetHint(const QString& AValue) { FHint = AValue; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool AValue) { FShowHint = AValue; }
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor AValue) { FCursor = AValue; }

  // --- pointer and focus ------------------------------------------------
  bool AutoCapture() const { return FAutoCapture; }
  void SetAutoCapture(bool AValue) { FAutoCapture = AValue; }
  void Capture();
  void ReleaseCapture();
  bool IsMouseOver() const { return FIsMouseOver; }
  // A left press on this control that has not been released yet.
  bool Pressed() const { return FPressed; }
  bool DoubleClick() const { return FDoubleClick; }

  bool CanFocus() const { return FCanFocus; }
  void SetCanFocus(bool AValue) { FCanFocus = AValue; }
  bool IsFocused() const;
  // Focused, and the form shows the focus (TForm::FocusShown): what a
  // control's look follows.
  bool ShowsFocus() const;
  void SetFocus();
  void ResetFocus();
  // Whether Tab stops at this control when it can take the focus.
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool AValue) { FTabStop = AValue; }
  // The control's place in the form's tab order; -1 (the default) places it
  // by its position on the screen, after every control with a place of its own.
  int TabOrder() const { return FTabOrder; }
  void SetTabOrder(int AValue) { FTabOrder = AValue < -1 ? -1 : AValue; }
  // Drawn where a user can see it: AbsoluteVisible, and not clipped away by
  // a parent or the window's edge.
  bool IsShowing() const;

  // --- keyboard ---------------------------------------------------------------
  // Keys (Qt key codes) reach the focused control; Tab and Shift+Tab never do,
  // the form moves the focus with them. A handler that uses a key sets AKey to
  // 0. The base presses a control that can take the focus: Enter and Return
  // click it at once, Space clicks it when released (KeyPressed in between, so
  // the control can show itself pressed); a repeated key does nothing more.
  virtual void KeyDown(int& AKey, QChar& AKeyChar, TShiftState AShift);
  virtual void KeyUp(int& AKey, QChar& AKeyChar, TShiftState AShift);
  // What pressing the control from the keyboard (or a screen reader's press)
  // does: a click, when enabled and visible.
  virtual void KeyClick();
  // Space is held down on this control.
  bool KeyPressed() const { return FKeyPressed; }

  // --- accessibility ------------------------------------------------------------
  // What the control is and what a screen reader calls it; a control family
  // declares both. The name defaults to AccessibleName as stored, else the hint.
  virtual TAccessibleRole AccessibleRole() const { return TAccessibleRole::None; }
  virtual QString AccessibleName() const;
  QString StoredAccessibleName() const { return FAccessibleName; }
  void SetAccessibleName(const QString& AValue);
  // On or off, for a control that has such a state (a switch).
  virtual std::optional<bool> AccessibleChecked() const { return std::nullopt; }
  // The value a screen reader reads after the name (a chosen item, a percentage).
  virtual QString AccessibleValue() const { return {}; }
  // Tells screen readers that the checked state or the value changed.
  void AccessibleStateChanged();

  // The action a click runs, when action execution is on (see Click).
  TBasicAction* Action() const { return FAction.Get(); }
  void SetAction(TBasicAction* AValue);
  bool EnableExecuteAction() const { return FEnableExecuteAction; }
  void SetEnableExecuteAction(bool AValue) { FEnableExecuteAction = AValue; }

  // True when APoint (local) lies on the control; the form's hit test asks it.
  virtual bool PointInObjectLocal(const TPointF& APoint) const;

  // --- painting -----------------------------------------------------------
  // Adds the control's area to the form's update region.
  void Repaint();
  void InvalidateRect(const TRectF& ARect);

  // The Graphics View item that draws this control; effects and proxied
  // widgets attach to it.
  QGraphicsItem* Item() const;

  // --- events -------------------------------------------------------------
  const TNotifyEvent& OnClick() const { return FOnClick; }
  void SetOnClick(TNotifyEvent AValue) { SetEvent(FOnClick, std::move(AValue), "OnClick"); }
  const TMouseEvent& OnMouseDown() const { return FOnMouseDown; }
  void SetOnMouseDown(TMouseEvent AValue) { SetEvent(FOnMouseDown, std::move(AValue), "OnMouseDown"); }
  const TMouseMoveEvent& OnMouseMove() const { return FOnMouseMove; }
  void SetOnMouseMove(TMouseMoveEvent AValue) { SetEvent(FOnMouseMove, std::move(AValue), "OnMouseMove"); }
  const TMouseEvent& OnMouseUp() const { return FOnMouseUp; }
  void SetOnMouseUp(TMouseEvent AValue) { SetEvent(FOnMouseUp, std::move(AValue), "OnMouseUp"); }
  const TMouseWheelEvent& OnMouseWheel() const { return FOnMouseWheel; }
  void SetOnMouseWheel(TMouseWheelEvent AValue) { SetEvent(FOnMouseWheel, std::move(AValue), "OnMouseWheel"); }
  const TNotifyEvent& OnMouseEnter() const { return FOnMouseEnter; }
  void SetOnMouseEnter(TNotifyEvent AValue) { SetEvent(FOnMouseEnter, std::move(AValue), "OnMouseEnter"); }
  const TNotifyEvent& OnMouseLeave() const { return FOnMouseLeave; }
  void SetOnMouseLeave(TNotifyEvent AValue) { SetEvent(FOnMouseLeave, std::move(AValue), "OnMouseLeave"); }
  const TNotifyEvent& OnEnter() const { return FOnEnter; }
  void SetOnEnter(TNotifyEvent AValue) { SetEvent(FOnEnter, std::move(AValue), "OnEnter"); }
  const TNotifyEvent& OnExit() const { return FOnExit; }
  void SetOnExit(TNotifyEvent AValue) { SetEvent(FOnExit, std::move(AValue), "OnExit"); }
  const TNotifyEvent& OnResize() const { return FOnResize; }
  void SetOnResize(TNotifyEvent AValue) { SetEvent(FOnResize, std::move(AValue), "OnResize"); }
  const TPaintEvent& OnPaint() const { return FOnPaint; }
  void SetOnPaint(TPaintEvent AValue) { SetEvent(FOnPaint, std::move(AValue), "OnPaint"); }

  QStringList EventNames() const override { return FEvents.Names(); }
  bool SetEventHandler(const QString& AEvent, const TEventHandlerRef& AHandler) override {
    return FEvents.Bind(AEvent, AHandler);
  }
  QString EventHandlerName(const QString& AEvent) const override { return FEvents.HandlerName(AEvent); }

  void Loaded() override;

  // Pointer hooks, in the control's local coordinates. Overrides call the
  // base to keep focus, capture, the pressed flags and the events working.
  virtual void MouseDown(TMouseButton AButton, TShiftState AShift, float AX, float AY);
  virtual void MouseMove(TShiftState AShift, float AX, float AY);
  // The release's click test: Click when enabled, pressed without a double
  // click and released inside.
  virtual void MouseClick(TMouseButton AButton, TShiftState AShift, float AX, float AY);
  virtual void MouseUp(TMouseButton AButton, TShiftState AShift, float AX, float AY);
  virtual void MouseWheel(TShiftState AShift, int AWheelDelta, bool& AHandled);
  virtual void DoMouseEnter();
  virtual void DoMouseLeave();
  // Runs the linked action when action execution is on and the action has a
  // handler; otherwise fires OnClick.
  virtual void Click();

 protected:
  void Notification(TComponent* AComponent, TOperation AOperation) override;
  virtual void DoEnter();
  virtual void DoExit();
  // The focused control's ShowsFocus changed while it kept the focus.
  virtual void FocusShownChanged();
  // Follows every size change; fires OnResize.
  virtual void Resize();
  // Draws the control with ACanvas translated to its top-left. Applying
  // AbsoluteOpacity is the control's own business.
  virtual void Paint(QPainter& ACanvas);
  // Told when the opacity or enabledness of this control or a parent changed.
  virtual void AbsoluteChanged();

  // Subclasses add their own event properties here, once, in their constructor.
  ostrel::host::TEventTable& EventTable() { return FEvents; }

 private:
  friend class ostrel::host::ControlItem;
  friend class ostrel::host::PointerRouter;
  friend class TForm;

  template <class F>
  void SetEvent(F& AField, F AValue, const char* AName) {
    AField = std::move(AValue);
    FEvents.Forget(QString::fromLatin1(AName));
  }

  void PaintItem(QPainter& ACanvas);
  // Tells the backdrops of this control and its parents that ALocal (this
  // control's coordinates) may look different; AOwn: this control's own paint.
  void LookChanged(TRectF ALocal, bool AOwn) const;
  void PositionChanged();
  void MarginsChanged();
  void RealignParent();
  void NotifyAbsoluteChanged();
  void RepaintTree();
  void SetKeyPressed(bool AValue);
  // This control and its children stopped taking input (disabled, hidden or
  // faded out): the focus moves on from inside it and the hover there ends.
  void InputGone();
  void DetachFromParent();
  bool IsAncestorOf(const TControl* AControl) const;
  bool FocusedIn(const TForm* AForm) const;

  std::unique_ptr<ostrel::host::ControlItem> FItem;
  std::unique_ptr<TPosition> FPosition;
  std::unique_ptr<TBounds> FMargins;
  std::unique_ptr<TBounds> FPadding;
  TComponent* FParent = nullptr;
  QList<TControl*> FControls;
  ostrel::host::WatchedComponent<TBasicAction> FAction{*this};

  float FWidth = 0.0f;
  float FHeight = 0.0f;
  float FOpacity = 1.0f;
  TAlignLayout FAlign = TAlignLayout::None;
  bool FVisible = true;
  bool FEnabled = true;
  bool FHitTest = true;
  bool FClipChildren = false;
  bool FCanFocus = false;
  bool FAutoCapture = true;
  bool FShowHint = false;
  bool FIsMouseOver = false;
  bool FPressed = false;
  bool FDoubleClick = false;
  bool FRealigning = false;
  bool FEnableExecuteAction = false;
  bool FTabStop = true;
  bool FKeyPressed = false;
  int FTabOrder = -1;
  QString FHint;
  QString FAccessibleName;
  TCursor FCursor = TCursor::crDefault;

  TNotifyEvent FOnClick;
  TMouseEvent FOnMouseDown;
  TMouseMoveEvent FOnMouseMove;
  TMouseEvent FOnMouseUp;
  TMouseWheelEvent FOnMouseWheel;
  TNotifyEvent FOnMouseEnter;
  TNotifyEvent FOnMouseLeave;
  TNotifyEvent FOnEnter;
  TNotifyEvent FOnExit;
  TNotifyEvent FOnResize;
  TPaintEvent FOnPaint;
  ostrel::host::TEventTable FEvents;
};

using TAlignLayout = TControl::TAlignLayout;
using TCursor = TControl::TCursor;
using TAccessibleRole = TControl::TAccessibleRole;

namespace ostrel::host {
// Lays out the aligned ones among AControls inside AClient.
void AlignControls(const QList<TControl*>& AControls, TRectF AClient);
}  // namespace ostrel::host
