#include "skin/host/Control.h"

#include "skin/host/Accessibility.h"
#include "skin/host/ControlItem.h"
#include "skin/host/Form.h"
#include "skin/host/FormWindow.h"
#include "skin/host/PointerRouter.h"

#include <QGraphicsScene>
#include <QPainter>

#include <algorithm>
#include <cmath>

using ostrel::host::ControlItem;

TControl::TControl(TComponent* AOwner)
    : TComponent(AOwner),
      FItem(std::make_unique<ControlItem>(*this)),
      FPosition(std::make_unique<TPosition>()),
      FMargins(std::make_unique<TBounds>()),
      FPadding(std::make_unique<TBounds>()) {
  FPosition->OnChange = [this](TObject*) { PositionChanged(); };
  FMargins->OnChange = [this](TObject*) { MarginsChanged(); };
  FPadding->OnChange = [this](TObject*) { Realign(); };
  FEvents.Add(QStringLiteral("OnClick"), FOnClick);
  FEvents.Add(QStringLiteral("OnMouseDown"), FOnMouseDown);
  FEvents.Add(QStringLiteral("OnMouseMove"), FOnMouseMove);
  FEvents.Add(QStringLiteral("OnMouseUp"), FOnMouseUp);
  FEvents.Add(QStringLiteral("OnMouseWheel"), FOnMouseWheel);
  FEvents.Add(QStringLiteral("OnMouseEnter"), FOnMouseEnter);
  FEvents.Add(QStringLiteral("OnMouseLeave"), FOnMouseLeave);
  FEvents.Add(QStringLiteral("OnEnter"), FOnEnter);
  FEvents.Add(QStringLiteral("OnExit"), FOnExit);
  FEvents.Add(QStringLiteral("OnResize"), FOnResize);
  FEvents.Add(QStringLiteral("OnPaint"), FOnPaint);
}

TControl::~TControl() {
  // Children belong to their owners; they only lose this control as parent,
  // before this item would take their items down with it.
  while (!FControls.isEmpty()) FControls.last()->SetParent(nullptr);
  DetachFromParent();
  FPosition->OnChange = nullptr;
  FMargins->OnChange = nullptr;
  FPadding->OnChange = nullptr;
}

// --- tree ---------------------------------------------------------------

TControl* TControl::ParentControl() const { return dynamic_cast<TControl*>(FParent); }

TForm* TControl::Form() const {
  if (auto* scene = dynamic_cast<ostrel::host::FormScene*>(FItem->scene())) return &scene->Form();
  return nullptr;
}

QGraphicsItem* TControl::Item() const { return FItem.get(); }

bool TControl::IsAncestorOf(const TControl* AControl) const {
  for (const TControl* p = AControl != nullptr ? AControl->ParentControl() : nullptr; p != nullptr;
       p = p->ParentControl()) {
    if (p == this) return true;
  }
  return false;
}

void TControl::DetachFromParent() {
  if (FParent == nullptr) return;
  if (const TControl* parent = ParentControl(); parent != nullptr && FVisible) {
    parent->LookChanged(BoundsRect(), false);
  }
  if (TForm* form = Form()) form->ForgetControls(this);
  const bool aligned = FAlign != TAlignLayout::None;
  TComponent* oldParent = FParent;
  FParent = nullptr;
  if (auto* parentControl = dynamic_cast<TControl*>(oldParent)) {
    parentControl->FControls.removeOne(this);
    if (aligned) parentControl->Realign();
  } else if (auto* form = dynamic_cast<TForm*>(oldParent)) {
    form->RemoveControl(this);
    if (aligned) form->Realign();
  }
  FItem->setParentItem(nullptr);
  if (QGraphicsScene* scene = FItem->scene()) scene->removeItem(FItem.get());
}

void TControl::SetParent(TComponent* AParent) {
  if (AParent == FParent) return;
  auto* parentControl = dynamic_cast<TControl*>(AParent);
  auto* parentForm = dynamic_cast<TForm*>(AParent);
  if (AParent != nullptr && parentControl == nullptr && parentForm == nullptr) {
    throw Exception(QStringLiteral("%1 cannot be the parent of %2").arg(AParent->ClassName(), ClassName()));
  }
  if (parentControl == this || (parentControl != nullptr && IsAncestorOf(parentControl))) {
    throw Exception(QStringLiteral("%1 cannot be a parent of itself").arg(Name().isEmpty() ? ClassName() : Name()));
  }
  DetachFromParent();
  FParent = AParent;
  if (parentControl != nullptr) {
    parentControl->FControls.append(this);
    FItem->setParentItem(parentControl->FItem.get());
  } else if (parentForm != nullptr) {
    parentForm->InsertControl(this);
  }
  NotifyAbsoluteChanged();
  RealignParent();
  RepaintTree();
}

// --- geometry -------------------------------------------------------------

void TControl::PositionChanged() {
  if (FVisible) {
    const TRectF before(FItem->pos(), TSizeF(FWidth, FHeight));
    const TRectF after(FPosition->Point(), TSizeF(FWidth, FHeight));
    if (TControl* parent = ParentControl()) parent->LookChanged(before.united(after), false);
  }
  FItem->setPos(FPosition->Point());
  RealignParent();
}

void TControl::MarginsChanged() { RealignParent(); }

namespace {

// Sizes and opacities from forms or animations may be anything; a NaN would
// make every later comparison false and break hit testing and layout.
float NonNegative(float AValue) { return std::isfinite(AValue) && AValue > 0.0f ? AValue : 0.0f; }

}  // namespace

void TControl::SetSize(float AWidth, float AHeight) {
  AWidth = NonNegative(AWidth);
  AHeight = NonNegative(AHeight);
  if (AWidth == FWidth && AHeight == FHeight) return;
  if (FVisible) LookChanged(LocalRect(), true);
  FItem->GeometryChanging();
  FWidth = AWidth;
  FHeight = AHeight;
  Repaint();
  Resize();
  Realign();
  RealignParent();
}

void TControl::SetBounds(float AX, float AY, float AWidth, float AHeight) {
  FPosition->SetPoint(TPointF(AX, AY));
  SetSize(AWidth, AHeight);
}

TRectF TControl::BoundsRect() const { return TRectF(FPosition->Point(), TSizeF(FWidth, FHeight)); }

TRectF TControl::AbsoluteRect() const { return TRectF(LocalToAbsolute(TPointF(0, 0)), TSizeF(FWidth, FHeight)); }

void TControl::SetAlign(TAlignLayout AValue) {
  if (AValue == FAlign) return;
  FAlign = AValue;
  RealignParent();
}

void TControl::RealignParent() {
  if (FAlign == TAlignLayout::None) return;
  if (TControl* parent = ParentControl()) {
    parent->Realign();
  } else if (auto* form = dynamic_cast<TForm*>(FParent)) {
    form->Realign();
  }
}

namespace ostrel::host {

// Places the aligned controls of one container inside AClient: edges first in
// child order, then the client ones in what is left.
void AlignControls(const QList<TControl*>& AControls, TRectF AClient) {
  const TRectF whole = AClient;
  for (TControl* c : AControls) {
    if (!c->Visible() || c->Align() == TAlignLayout::None) continue;
    const TBounds& m = *c->Margins();
    const float w = c->Width();
    const float h = c->Height();
    switch (c->Align()) {
      case TAlignLayout::Top:
        c->SetBounds(AClient.left() + m.Left(), AClient.top() + m.Top(), AClient.width() - m.Left() - m.Right(), h);
        AClient.setTop(AClient.top() + m.Top() + h + m.Bottom());
        break;
      case TAlignLayout::Bottom:
        c->SetBounds(AClient.left() + m.Left(), AClient.bottom() - m.Bottom() - h,
                     AClient.width() - m.Left() - m.Right(), h);
        AClient.setBottom(AClient.bottom() - m.Bottom() - h - m.Top());
        break;
      case TAlignLayout::Left:
        c->SetBounds(AClient.left() + m.Left(), AClient.top() + m.Top(), w, AClient.height() - m.Top() - m.Bottom());
        AClient.setLeft(AClient.left() + m.Left() + w + m.Right());
        break;
      case TAlignLayout::Right:
        c->SetBounds(AClient.right() - m.Right() - w, AClient.top() + m.Top(), w,
                     AClient.height() - m.Top() - m.Bottom());
        AClient.setRight(AClient.right() - m.Right() - w - m.Left());
        break;
      default:
        break;
    }
  }
  for (TControl* c : AControls) {
    if (!c->Visible()) continue;
    const TBounds& m = *c->Margins();
    switch (c->Align()) {
      case TAlignLayout::Client: {
        const TRectF r = m.PaddingRect(AClient);
        c->SetBounds(r.left(), r.top(), r.width(), r.height());
        break;
      }
      case TAlignLayout::Contents: {
        const TRectF r = m.PaddingRect(whole);
        c->SetBounds(r.left(), r.top(), r.width(), r.height());
        break;
      }
      case TAlignLayout::Center:
        c->SetBounds(AClient.center().x() - c->Width() / 2, AClient.center().y() - c->Height() / 2, c->Width(),
                     c->Height());
        break;
      default:
        break;
    }
  }
}

}  // namespace ostrel::host

void TControl::Realign() {
  // Loaded lays out once every stored value is in; a nested call from a
  // child's own size change would only repeat this pass.
  if (IsLoading() || FRealigning) return;
  FRealigning = true;
  ostrel::host::AlignControls(FControls, FPadding->PaddingRect(LocalRect()));
  FRealigning = false;
}

TPointF TControl::LocalToAbsolute(const TPointF& APoint) const { return FItem->mapToScene(APoint); }

TPointF TControl::AbsoluteToLocal(const TPointF& APoint) const { return FItem->mapFromScene(APoint); }

TPointF TControl::LocalToScreen(const TPointF& APoint) const {
  const TPointF absolute = LocalToAbsolute(APoint);
  if (TForm* form = Form()) return form->ClientToScreen(absolute);
  return absolute;
}

TPointF TControl::ScreenToLocal(const TPointF& APoint) const {
  if (TForm* form = Form()) return AbsoluteToLocal(form->ScreenToClient(APoint));
  return AbsoluteToLocal(APoint);
}

// --- state ------------------------------------------------------------------

void TControl::SetVisible(bool AValue) {
  if (AValue == FVisible) return;
  if (!AValue) LookChanged(LocalRect(), true);
  FVisible = AValue;
  FItem->setVisible(AValue);
  if (AValue) LookChanged(LocalRect(), true);
  if (!AValue) InputGone();
  RealignParent();
}

void TControl::SetEnabled(bool AValue) {
  if (AValue == FEnabled) return;
  FEnabled = AValue;
  if (!AValue) InputGone();
  NotifyAbsoluteChanged();
  RepaintTree();
}

void TControl::InputGone() {
  TForm* form = Form();
  if (form == nullptr) return;
  // The keyboard must still have somewhere to go: a focus left on a control
  // that takes no keys would leave Enter and Space with nothing to press, and
  // the focused look on something that cannot be used.
  if (FocusedIn(form)) form->MoveFocusOnFrom(*form->FocusedControl());
  form->FRouter->LeaveIfWithin(this);
}

bool TControl::FocusedIn(const TForm* AForm) const {
  const TControl* focused = AForm->FocusedControl();
  return focused != nullptr && (focused == this || IsAncestorOf(focused));
}

bool TControl::AbsoluteEnabled() const {
  for (const TControl* c = this; c != nullptr; c = c->ParentControl()) {
    if (!c->FEnabled) return false;
  }
  return true;
}

void TControl::SetOpacity(float AValue) {
  AValue = std::min(NonNegative(AValue), 1.0f);
  if (AValue == FOpacity) return;
  FOpacity = AValue;
  if (!(FOpacity > 0.0f)) InputGone();
  NotifyAbsoluteChanged();
  RepaintTree();
}

float TControl::AbsoluteOpacity() const {
  float opacity = FOpacity;
  for (const TControl* p = ParentControl(); p != nullptr; p = p->ParentControl()) opacity *= p->FOpacity;
  return opacity;
}

bool TControl::AbsoluteVisible() const {
  for (const TControl* c = this; c != nullptr; c = c->ParentControl()) {
    if (!c->FVisible || !(c->FOpacity > 0.0f)) return false;
  }
  return true;
}

void TControl::SetClipChildren(bool AValue) {
  if (AValue == FClipChildren) return;
  FClipChildren = AValue;
  FItem->setFlag(QGraphicsItem::ItemClipsChildrenToShape, AValue);
  RepaintTree();
}

void TControl::NotifyAbsoluteChanged() {
  AbsoluteChanged();
  for (TControl* c : FControls) c->NotifyAbsoluteChanged();
}

void TControl::AbsoluteChanged() {}

// --- pointer and focus --------------------------------------------------------

void TControl::Capture() {
  if (TForm* form = Form()) form->FRouter->SetCaptured(this);
}

void TControl::ReleaseCapture() {
  if (TForm* form = Form()) {
    if (form->Captured() == this) form->FRouter->SetCaptured(nullptr);
  }
}

bool TControl::IsFocused() const {
  const TForm* form = Form();
  return form != nullptr && form->FocusedControl() == this;
}

bool TControl::ShowsFocus() const {
  const TForm* form = Form();
  return form != nullptr && form->FocusedControl() == this && form->FocusShown();
}

void TControl::SetFocus() {
  if (!FCanFocus || !AbsoluteVisible() || !AbsoluteEnabled()) return;
  if (TForm* form = Form()) form->SetFocusedControl(this);
}

void TControl::ResetFocus() {
  if (TForm* form = Form()) {
    if (form->FocusedControl() == this) form->SetFocusedControl(nullptr);
  }
}

bool TControl::IsShowing() const {
  const TForm* form = Form();
  if (form == nullptr || !AbsoluteVisible()) return false;
  TRectF shown = AbsoluteRect() & TRectF(0, 0, form->ClientWidth(), form->ClientHeight());
  for (const TControl* c = ParentControl(); c != nullptr; c = c->ParentControl()) {
    if (c->FClipChildren) shown &= c->AbsoluteRect();
  }
  return !shown.isEmpty();
}

// --- keyboard -------------------------------------------------------------------

namespace {

bool IsEnterKey(int AKey) { return AKey == Qt::Key_Return || AKey == Qt::Key_Enter; }

// Shift alone keeps a press a press; with Ctrl, Alt or Meta the key means
// something else (a shortcut) and is left to whoever wants it.
bool PlainKey(TShiftState AShift) {
  return !AShift.Contains(TShiftStateItem::ssCtrl) && !AShift.Contains(TShiftStateItem::ssAlt) &&
         !AShift.Contains(TShiftStateItem::ssCommand);
}

}  // namespace

void TControl::KeyDown(int& AKey, QChar&, TShiftState AShift) {
  if (!FCanFocus || !PlainKey(AShift)) return;
  if (IsEnterKey(AKey)) {
    AKey = 0;
    KeyClick();
  } else if (AKey == Qt::Key_Space) {
    AKey = 0;
    SetKeyPressed(true);
  }
}

void TControl::KeyUp(int& AKey, QChar&, TShiftState) {
  if (AKey != Qt::Key_Space || !FKeyPressed) return;
  AKey = 0;
  SetKeyPressed(false);
  KeyClick();
}

void TControl::KeyClick() {
  if (AbsoluteEnabled() && AbsoluteVisible()) Click();
}

void TControl::SetKeyPressed(bool AValue) {
  if (AValue == FKeyPressed) return;
  FKeyPressed = AValue;
  Repaint();
}

// --- accessibility ----------------------------------------------------------------

QString TControl::AccessibleName() const { return FAccessibleName.isEmpty() ? FHint : FAccessibleName; }

void TControl::SetAccessibleName(const QString& AValue) {
  if (AValue == FAccessibleName) return;
  FAccessibleName = AValue;
  ostrel::host::NotifyAccessibleNameChanged(*this);
}

void TControl::AccessibleStateChanged() { ostrel::host::NotifyAccessibleStateChanged(*this); }

bool TControl::PointInObjectLocal(const TPointF& APoint) const {
  return APoint.x() >= 0 && APoint.x() < FWidth && APoint.y() >= 0 && APoint.y() < FHeight;
}

void TControl::MouseDown(TMouseButton AButton, TShiftState AShift, float AX, float AY) {
  if (FCanFocus && !IsFocused()) SetFocus();
  if (FOnMouseDown) FOnMouseDown(this, AButton, AShift, AX, AY);
  if (FAutoCapture) Capture();
  if (AShift.Contains(TShiftStateItem::ssDouble)) {
    FDoubleClick = true;
  } else if (AButton == TMouseButton::mbLeft) {
    FPressed = true;
  }
}

void TControl::MouseMove(TShiftState AShift, float AX, float AY) {
  if (FOnMouseMove) FOnMouseMove(this, AShift, AX, AY);
}

void TControl::MouseClick(TMouseButton, TShiftState, float AX, float AY) {
  if (AbsoluteEnabled() && FPressed && !FDoubleClick && PointInObjectLocal(TPointF(AX, AY))) Click();
}

void TControl::MouseUp(TMouseButton AButton, TShiftState AShift, float AX, float AY) {
  if (FOnMouseUp) FOnMouseUp(this, AButton, AShift, AX, AY);
  FPressed = false;
  FDoubleClick = false;
}

void TControl::MouseWheel(TShiftState AShift, int AWheelDelta, bool& AHandled) {
  if (FOnMouseWheel) FOnMouseWheel(this, AShift, AWheelDelta, AHandled);
}

void TControl::DoMouseEnter() {
  FIsMouseOver = true;
  if (FOnMouseEnter) FOnMouseEnter(this);
}

void TControl::DoMouseLeave() {
  FIsMouseOver = false;
  if (FOnMouseLeave) FOnMouseLeave(this);
}

void TControl::Click() {
  TBasicAction* const action = FAction.Get();
  if (FEnableExecuteAction && action != nullptr && action->Execute()) return;
  if (FOnClick) FOnClick(this);
}

void TControl::SetAction(TBasicAction* AValue) { FAction.Set(AValue); }

void TControl::Notification(TComponent* AComponent, TOperation AOperation) {
  TComponent::Notification(AComponent, AOperation);
  FAction.Removed(AComponent, AOperation);
}

void TControl::DoEnter() {
  if (FOnEnter) FOnEnter(this);
  Repaint();
}

void TControl::FocusShownChanged() { Repaint(); }

void TControl::DoExit() {
  // A Space held while the focus leaves presses nothing.
  SetKeyPressed(false);
  if (FOnExit) FOnExit(this);
  Repaint();
}

void TControl::Resize() {
  if (FOnResize) FOnResize(this);
}

// --- painting -------------------------------------------------------------------

void TControl::Repaint() {
  FItem->update();
  LookChanged(LocalRect(), true);
}

void TControl::InvalidateRect(const TRectF& ARect) {
  FItem->update(ARect);
  LookChanged(ARect, true);
}

void TControl::LookChanged(TRectF ALocal, bool AOwn) const {
  // Walks up while the area can still be seen: a parent that clips its
  // children cuts it to its own rectangle.
  for (const TControl* c = this;;) {
    if (ostrel::host::IItemBackdrop* backdrop = c->FItem->Backdrop()) backdrop->LookChanged(ALocal, AOwn);
    const TControl* parent = c->ParentControl();
    if (parent == nullptr) return;
    ALocal.translate(c->FItem->pos());
    if (parent->FClipChildren) ALocal &= parent->LocalRect();
    if (ALocal.isEmpty()) return;
    AOwn = false;
    c = parent;
  }
}

void TControl::RepaintTree() {
  Repaint();
  for (TControl* c : FControls) c->RepaintTree();
}

void TControl::PaintItem(QPainter& ACanvas) {
  Paint(ACanvas);
  if (FOnPaint) FOnPaint(this, &ACanvas, LocalRect());
}

void TControl::Paint(QPainter&) {}

void TControl::Loaded() {
  TComponent::Loaded();
  Realign();
  RealignParent();
}
