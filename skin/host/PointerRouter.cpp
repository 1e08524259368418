#include "skin/host/PointerRouter.h"

#include "skin/host/Control.h"
#include "skin/host/Form.h"

#include <QPointer>

#include <exception>
#include <utility>

namespace ostrel::host {

namespace {

// Half-open, so two controls that touch never both own the shared edge.
bool Contains(const TRectF& ARect, const TPointF& APoint) {
  return APoint.x() >= ARect.left() && APoint.x() < ARect.right() && APoint.y() >= ARect.top() &&
         APoint.y() < ARect.bottom();
}

// A hidden control takes nothing, and neither do its children; a fully
// transparent one counts as hidden, as a user sees only what lies beneath it
// (a press on a button the intro has not faded in yet lands on the background
// and moves the window, as a press anywhere else there does). One without
// HitTest lets the point through to what lies beneath, but its children are
// still searched. A disabled control is hit like any other: it lies on top,
// so what lies beneath must not get the press.
TControl* FindAt(TControl* AControl, const TPointF& AAbsolute) {
  if (!AControl->Visible() || !(AControl->Opacity() > 0.0f)) return nullptr;
  const TPointF local = AControl->AbsoluteToLocal(AAbsolute);
  if (AControl->ClipChildren() && !Contains(AControl->LocalRect(), local)) return nullptr;
  const QList<TControl*>& children = AControl->Controls();
  for (qsizetype i = children.size() - 1; i >= 0; --i) {
    if (TControl* hit = FindAt(children[i], AAbsolute)) return hit;
  }
  if (AControl->HitTest() && AControl->PointInObjectLocal(local)) return AControl;
  return nullptr;
}

}  // namespace

TControl* PointerRouter::ObjectAtPoint(const TPointF& APoint) const {
  const QList<TControl*>& top = FForm.Controls();
  for (qsizetype i = top.size() - 1; i >= 0; --i) {
    if (TControl* hit = FindAt(top[i], APoint)) return hit;
  }
  return nullptr;
}

TControl* PointerRouter::TargetAt(const TPointF& APoint) const {
  TControl* hit = ObjectAtPoint(APoint);
  return hit != nullptr && hit->AbsoluteEnabled() ? hit : nullptr;
}

void PointerRouter::SetHovered(TControl* AControl) {
  if (AControl == FHovered) return;
  QPointer<TControl> old = FHovered;
  QPointer<TControl> next = AControl;
  FHovered = AControl;
  if (old) old->DoMouseLeave();
  // A leave handler may have moved the hover on or freed the new control.
  if (next && FHovered == next) next->DoMouseEnter();
  FForm.HoverChanged(FHovered);
}

void PointerRouter::MouseDown(TMouseButton AButton, TShiftState AShift, const TPointF& APoint, bool AOnlyButton) {
  if (FCaptured != nullptr && AOnlyButton) {
    // The release of the last press never reached us (the system took the
    // pointer, say): end that press without a click before starting this one.
    QPointer<TControl> stale = FCaptured;
    FCaptured = nullptr;
    const TPointF local = stale->AbsoluteToLocal(APoint);
    stale->MouseUp(AButton, AShift, static_cast<float>(local.x()), static_cast<float>(local.y()));
  }
  QPointer<TControl> target = FCaptured != nullptr ? FCaptured : TargetAt(APoint);
  if (FCaptured == nullptr) SetHovered(target);
  if (!target) return;
  FPressedOn = target.data();
  FPressButton = AButton;
  FPressShift = AShift;
  FPressPoint = APoint;
  FHandOffAsked = false;
  const TPointF local = target->AbsoluteToLocal(APoint);
  // A handler that asked for the hand-off and then failed still gets its press ended.
  std::exception_ptr failure;
  FInPress = true;
  try {
    target->MouseDown(AButton, AShift, static_cast<float>(local.x()), static_cast<float>(local.y()));
  } catch (...) {
    failure = std::current_exception();
  }
  FInPress = false;
  if (std::exchange(FHandOffAsked, false)) EndPress();
  if (failure) std::rethrow_exception(failure);
}

void PointerRouter::HandOffPress() {
  if (FInPress) {
    FHandOffAsked = true;
  } else {
    EndPress();
  }
}

void PointerRouter::EndPress() {
  // The new owner of the pointer keeps the release, so the press ends here:
  // released, never clicked, not captured.
  QPointer<TControl> pressed = FCaptured != nullptr ? FCaptured : FPressedOn.data();
  DropCapture();
  FPressedOn = nullptr;
  if (!pressed) return;
  const TPointF local = pressed->AbsoluteToLocal(FPressPoint);
  pressed->MouseUp(FPressButton, FPressShift, static_cast<float>(local.x()), static_cast<float>(local.y()));
}

void PointerRouter::MouseMove(TShiftState AShift, const TPointF& APoint) {
  if (FCaptured != nullptr) {
    const TPointF local = FCaptured->AbsoluteToLocal(APoint);
    FCaptured->MouseMove(AShift, static_cast<float>(local.x()), static_cast<float>(local.y()));
    return;
  }
  TControl* target = TargetAt(APoint);
  SetHovered(target);
  if (FHovered != nullptr && FHovered == target) {
    const TPointF local = target->AbsoluteToLocal(APoint);
    target->MouseMove(AShift, static_cast<float>(local.x()), static_cast<float>(local.y()));
  }
}

void PointerRouter::MouseUp(TMouseButton AButton, TShiftState AShift, const TPointF& APoint, bool ANoButtonLeft) {
  QPointer<TControl> target = FCaptured != nullptr ? FCaptured : TargetAt(APoint);
  // A failing click handler must not leave the control pressed and captured:
  // the release and the end of the capture happen anyway, then the error goes on.
  std::exception_ptr failure;
  if (target) {
    const TPointF local = target->AbsoluteToLocal(APoint);
    const auto x = static_cast<float>(local.x());
    const auto y = static_cast<float>(local.y());
    try {
      target->MouseClick(AButton, AShift, x, y);
    } catch (...) {
      failure = std::current_exception();
    }
    try {
      if (target) target->MouseUp(AButton, AShift, x, y);
    } catch (...) {
      if (!failure) failure = std::current_exception();
    }
  }
  if (FPressedOn && FPressedOn != target) {
    // Released over another control: the press is over, and a later release
    // over this one must not turn it into a click.
    FPressedOn->FPressed = false;
    FPressedOn->FDoubleClick = false;
  }
  if (ANoButtonLeft) FPressedOn = nullptr;
  if (ANoButtonLeft || (target && FCaptured == target)) DropCapture();
  if (FCaptured == nullptr) SetHovered(TargetAt(APoint));
  if (failure) std::rethrow_exception(failure);
}

void PointerRouter::MouseWheel(TShiftState AShift, int AWheelDelta, const TPointF& APoint) {
  QPointer<TControl> target = FCaptured != nullptr ? FCaptured : TargetAt(APoint);
  bool handled = false;
  while (target && !handled) {
    target->MouseWheel(AShift, AWheelDelta, handled);
    if (target) target = target->ParentControl();
  }
}

void PointerRouter::MouseLeave() {
  if (FCaptured == nullptr) SetHovered(nullptr);
}

void PointerRouter::DropCapture() { FCaptured = nullptr; }

void PointerRouter::LeaveIfWithin(const TControl* AControl) {
  if (FHovered != nullptr && (FHovered == AControl || AControl->IsAncestorOf(FHovered))) SetHovered(nullptr);
}

void PointerRouter::Forget(const TControl* AControl) {
  const auto within = [AControl](const TControl* c) {
    return c != nullptr && (c == AControl || AControl->IsAncestorOf(c));
  };
  if (within(FHovered)) {
    FHovered->FIsMouseOver = false;
    FHovered = nullptr;
  }
  if (within(FCaptured)) {
    FCaptured->FPressed = false;
    FCaptured->FDoubleClick = false;
    FCaptured = nullptr;
  }
}

}  // namespace ostrel::host
