#pragma once
// Routes pointer input through a form's control tree: the top-most
// hit-testable control under the pointer gets it, hover moves with a leave
// before the enter, a press captures, and a release runs the click test, then
// the release, then ends the capture.
//
// A disabled control (or one inside a disabled parent) takes the hit and
// swallows it: it gets no hover, press, move, release, click or wheel, and
// neither does anything beneath it. A capture it held from before it was
// disabled still ends with its release, so no press is left half done.

#include "skin/host/Control.h"
#include "skin/host/Types.h"

#include <QPointer>

class TForm;

namespace ostrel::host {

class PointerRouter {
 public:
  explicit PointerRouter(TForm& AForm) : FForm(AForm) {}
  PointerRouter(const PointerRouter&) = delete;
  PointerRouter& operator=(const PointerRouter&) = delete;

  // Points are in the form's client coordinates. AOnlyButton says no other
  // button is held, so a capture still set belongs to a release that never came.
  void MouseDown(TMouseButton AButton, TShiftState AShift, const TPointF& APoint, bool AOnlyButton);
  void MouseMove(TShiftState AShift, const TPointF& APoint);
  void MouseUp(TMouseButton AButton, TShiftState AShift, const TPointF& APoint, bool ANoButtonLeft);
  void MouseWheel(TShiftState AShift, int AWheelDelta, const TPointF& APoint);
  void MouseLeave();
  // Something outside the control tree took the pointer (the window system
  // moving the window, a popup): the press in progress ends, released without
  // a click and no longer captured. Asked for inside a press handler, it
  // happens once that handler returns.
  void HandOffPress();

  // The top-most visible (shown, not fully transparent), hit-testable control
  // under APoint, disabled or not.
  TControl* ObjectAtPoint(const TPointF& APoint) const;
  TControl* Hovered() const { return FHovered; }
  TControl* Captured() const { return FCaptured; }
  void SetCaptured(TControl* AControl) { FCaptured = AControl; }
  // Drops hover and capture held by AControl or one of its children.
  void Forget(const TControl* AControl);
  // Ends the hover of AControl or one of its children with its leave event:
  // they were hidden or disabled and take no pointer any more.
  void LeaveIfWithin(const TControl* AControl);

 private:
  // The hit at APoint when it is enabled; none when a disabled control swallows it.
  TControl* TargetAt(const TPointF& APoint) const;
  void SetHovered(TControl* AControl);
  void DropCapture();
  void EndPress();

  TForm& FForm;
  TControl* FHovered = nullptr;
  TControl* FCaptured = nullptr;
  // The control the last press went to; without a capture its release may
  // land elsewhere, and its press must end with that release all the same.
  QPointer<TControl> FPressedOn;
  // The last press, for ending it early.
  TMouseButton FPressButton = TMouseButton::mbLeft;
  TShiftState FPressShift;
  TPointF FPressPoint;
  bool FInPress = false;
  bool FHandOffAsked = false;
};

}  // namespace ostrel::host
