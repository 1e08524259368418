#include "skin/base/uComponentType.h"

#include "skin/base/uBaseLog.h"
#include "skin/base/uDrawClassRegistry.h"
#include "skin/host/Control.h"

#include <QJsonDocument>

#include <algorithm>
#include <cmath>

TControl* AsHostControl(TObject* AObject) { return dynamic_cast<TControl*>(AObject); }

ISkinControl* SkinControlIntfOf(TControl* AControl) {
  return AControl != nullptr ? dynamic_cast<ISkinControl*>(AControl) : nullptr;
}

namespace {

bool IsLoadingOrReading(const TControl* AControl) {
  if (AControl == nullptr) return false;
  const TComponentState state = AControl->ComponentState();
  return state.Contains(TComponentStateItem::csLoading) || state.Contains(TComponentStateItem::csReading);
}

ISkinControl* RequireSkinControl(TControl* AControl) {
  ISkinControl* intf = SkinControlIntfOf(AControl);
  if (intf == nullptr) throw Exception(QStringLiteral("This Component Do not Support ISkinComponent Interface"));
  return intf;
}

}  // namespace

// --- TSkinControlProperties -------------------------------------------------------

TSkinControlProperties::TSkinControlProperties(TControl* ASkinControl)
    : FSkinControl(ASkinControl), FSkinControlIntf(RequireSkinControl(ASkinControl)) {}

TSkinControlProperties::~TSkinControlProperties() = default;

void TSkinControlProperties::SetAutoSize(bool AValue) {
  if (AValue == FAutoSize) return;
  FAutoSize = AValue;
  AdjustAutoSizeBounds();
}

void TSkinControlProperties::AdjustAutoSizeBounds() {
  if (FSkinControl == nullptr || !FAutoSize) return;
  if (FSkinControl->ComponentState().Contains(TComponentStateItem::csReading)) return;
  TSkinControlType* type = FSkinControlIntf->GetSkinControlType();
  if (type == nullptr) return;
  double width = 0;
  double height = 0;
  if (!type->CalcAutoSize(width, height)) return;
  const TPointF position = FSkinControl->Position()->Point();
  FSkinControl->SetBounds(static_cast<float>(position.x()), static_cast<float>(position.y()),
                          static_cast<float>(width), static_cast<float>(height));
}

void TSkinControlProperties::SavePropToJson(QJsonObject&) const {}

void TSkinControlProperties::LoadPropFromJson(const QJsonObject&) {}

QString TSkinControlProperties::GetPropJsonStr() const {
  QJsonObject json;
  SavePropToJson(json);
  if (json.isEmpty()) return QString();
  return QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Compact));
}

void TSkinControlProperties::SetPropJsonStr(const QString& AJsonStr) {
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(AJsonStr.toUtf8(), &error);
  if (error.error != QJsonParseError::NoError || !document.isObject()) {
    throw Exception(QStringLiteral("Invalid JSON properties: %1").arg(error.errorString()));
  }
  LoadPropFromJson(document.object());
}

void TSkinControlProperties::AssignProperties(const TSkinControlProperties* ASource) {
  if (ASource != nullptr) FAutoSize = ASource->FAutoSize;
}

void TSkinControlProperties::DoPropertiesChange(TObject*) {
  if (IsControlLoadingOrReading()) return;
  if (TSkinControlType* type = FSkinControlIntf->GetSkinControlType()) type->InvalidateControl();
}

QString TSkinControlProperties::GetComponentClassify() const { return QStringLiteral("TSkinControl"); }

void TSkinControlProperties::AssignTo(TPersistent* ADest) const {
  if (auto* dest = dynamic_cast<TSkinControlProperties*>(ADest)) {
    dest->AssignProperties(this);
    return;
  }
  TPersistent::AssignTo(ADest);
}

std::unique_ptr<TDrawPicture> TSkinControlProperties::CreateDrawPicture(const QString& AName, const QString& ACaption,
                                                                        const QString& AGroup) {
  std::unique_ptr<TDrawPicture> picture = ::CreateDrawPicture(AName, ACaption, AGroup);
  picture->SetOnChange([this](TObject* Sender) { DoPropertiesChange(Sender); });
  return picture;
}

bool TSkinControlProperties::IsControlLoadingOrReading() const { return IsLoadingOrReading(FSkinControl); }

// --- TSkinControlType -----------------------------------------------------------------

TSkinControlType::TSkinControlType() = default;

TSkinControlType::~TSkinControlType() {
  if (FSkinControl != nullptr) UnBind();
}

void TSkinControlType::Bind(TControl* ASkinControl) {
  FSkinControlIntf = RequireSkinControl(ASkinControl);
  if (CustomBind(ASkinControl)) FSkinControl = ASkinControl;
}

void TSkinControlType::UnBind() {
  if (FSkinControl == nullptr) return;
  CustomUnBind();
  FSkinControlIntf = nullptr;
  FSkinControl = nullptr;
}

TDPEffectStates TSkinControlType::GetCurrentEffectStates() {
  return FIsUseCurrentEffectStates ? FCurrentEffectStates : CalcCurrentEffectStates();
}

void TSkinControlType::InvalidateControl() {
  if (ostrel::skin::IsRepaintSuppressed() || FSkinControlIntf == nullptr) return;
  FSkinControlIntf->Invalidate();
}

bool TSkinControlType::CustomBind(TControl* ASkinControl) {
  FSkinControlIntf = SkinControlIntfOf(ASkinControl);
  if (FSkinControlIntf == nullptr) throw Exception(QStringLiteral("This Component Do not Support ISkinControl Interface"));
  return true;
}

void TSkinControlType::CustomUnBind() {}

bool TSkinControlType::CustomPaint(TDrawCanvas&, TSkinControlMaterial*, const TRectF&, const TPaintData&) {
  return true;
}

TSkinControlMaterial* TSkinControlType::GetPaintCurrentUseMaterial() { return ControlMaterial(); }

TSkinControlMaterial* TSkinControlType::ControlMaterial() const {
  return FSkinControlIntf != nullptr ? FSkinControlIntf->GetCurrentUseMaterial() : nullptr;
}

void TSkinControlType::ProcessMaterialDrawStates(TSkinControlMaterial* AMaterial, const TPaintData& APaintData) {
  if (AMaterial == nullptr) return;
  const float opacity = FSkinControl != nullptr ? FSkinControl->AbsoluteOpacity() : 1.0f;
  const TDPEffectStates states = GetCurrentEffectStates();
  const TDPEffectStates withoutPointer = states - TDPEffectStates{TDPEffectState::dpstMouseDown, TDPEffectState::dpstMouseOver};
  const TBaseList& params = *AMaterial->DrawParamList();
  for (int i = 0; i < params.Count(); ++i) {
    auto* param = params.GetItemAs<TDrawParam>(i);
    if (param == nullptr) continue;
    param->SetStaticEffectStates(APaintData.IsDrawInteractiveState && param->IsControlParam ? states : withoutPointer);
    // In single precision, like the opacity itself: 255 × 0.8f is then 204
    // exactly, where a double product would carry the float's error up to 205.
    const float alpha = std::ceil(static_cast<float>(param->CurrentEffectAlpha()) * opacity);
    param->DrawAlpha = static_cast<std::uint8_t>(std::clamp(alpha, 0.0f, 255.0f));
  }
}

TDPEffectStates TSkinControlType::CalcCurrentEffectStates() {
  TDPEffectStates states;
  if (FSkinControlIntf == nullptr) return states;
  if (!FSkinControlIntf->GetEnabled()) return {TDPEffectState::dpstDisabled};
  if (FSkinControlIntf->GetIsMouseDown()) states.Include(TDPEffectState::dpstMouseDown);
  if (FSkinControlIntf->GetIsMouseOver()) states.Include(TDPEffectState::dpstMouseOver);
  if (FSkinControlIntf->GetIsFocused()) states.Include(TDPEffectState::dpstFocused);
  return states;
}

double TSkinControlType::GetAutoSizeWidth() { return -1; }

double TSkinControlType::GetAutoSizeHeight() { return -1; }

bool TSkinControlType::CalcAutoSize(double&, double&) { return false; }

bool TSkinControlType::Paint(TDrawCanvas& ACanvas, TSkinControlMaterial* AMaterial, const TRectF& ADrawRect,
                             const TPaintData& APaintData) {
  if (AMaterial == nullptr) return true;
  ProcessMaterialDrawStates(AMaterial, APaintData);
  if (!AMaterial->IsTransparent()) ACanvas.DrawRect(AMaterial->BackColor(), ADrawRect);
  CustomPaint(ACanvas, AMaterial, ADrawRect, APaintData);
  return true;
}

void TSkinControlType::InvalidateIfMouseDownEffect() {
  TSkinControlMaterial* material = ControlMaterial();
  if (material != nullptr && material->HasMouseDownEffect()) InvalidateControl();
}

void TSkinControlType::InvalidateIfMouseOverEffect() {
  TSkinControlMaterial* material = ControlMaterial();
  if (material != nullptr && material->HasMouseOverEffect()) InvalidateControl();
}

void TSkinControlType::CustomMouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
  if (FSkinControl == nullptr) return;
  FMouseDownPt = TPointF(X, Y);
  FMouseDownAbsolutePt = FSkinControl->LocalToAbsolute(FMouseDownPt);
  FMouseMovePt = FMouseDownPt;
  FMouseMoveAbsolutePt = FMouseDownAbsolutePt;
  FSkinControlIntf->SetIsMouseDown(true);
  InvalidateIfMouseDownEffect();
  if (const TMouseEvent& handler = FSkinControlIntf->GetOnCustomMouseDown()) handler(FSkinControl, Button, Shift, X, Y);
}

void TSkinControlType::CustomMouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
  if (FSkinControl == nullptr) return;
  FMouseUpPt = TPointF(X, Y);
  FMouseUpAbsolutePt = FSkinControl->LocalToAbsolute(FMouseUpPt);
  FSkinControlIntf->SetIsMouseDown(false);
  InvalidateIfMouseDownEffect();
  if (const TMouseEvent& handler = FSkinControlIntf->GetOnCustomMouseUp()) handler(FSkinControl, Button, Shift, X, Y);
}

void TSkinControlType::CustomMouseMove(TShiftState Shift, float X, float Y) {
  if (FSkinControl == nullptr) return;
  FMouseMovePt = TPointF(X, Y);
  FMouseMoveAbsolutePt = FSkinControl->LocalToAbsolute(FMouseMovePt);
  if (const TMouseMoveEvent& handler = FSkinControlIntf->GetOnCustomMouseMove()) handler(FSkinControl, Shift, X, Y);
}

void TSkinControlType::CustomMouseEnter() {
  if (FSkinControl == nullptr) return;
  FSkinControlIntf->SetIsMouseOver(true);
  InvalidateIfMouseOverEffect();
  if (const TNotifyEvent& handler = FSkinControlIntf->GetOnCustomMouseEnter()) handler(FSkinControl);
}

void TSkinControlType::CustomMouseLeave() {
  if (FSkinControl == nullptr) return;
  FSkinControlIntf->SetIsMouseOver(false);
  InvalidateIfMouseOverEffect();
  if (const TNotifyEvent& handler = FSkinControlIntf->GetOnCustomMouseLeave()) handler(FSkinControl);
}

bool TSkinControlType::CustomMouseWheel(TShiftState, int) { return false; }

void TSkinControlType::KeyDown(std::uint16_t&, TShiftState) {}

void TSkinControlType::KeyUp(std::uint16_t&, TShiftState) {}

void TSkinControlType::Gesture(const TGestureEventInfo&, bool&) {}

void TSkinControlType::MultiTouch(TObject*, const TTouches& Touches, TTouchAction Action) {
  FTouches = Touches;
  FAction = Action;
}

void TSkinControlType::TextChanged() {}

void TSkinControlType::SizeChanged() {}

void TSkinControlType::FocusChanged() {}

bool TSkinControlType::CanDrawChildControl(TControl*, const TPaintData&) { return true; }

// --- painted children ------------------------------------------------------------------

void TSkinControlType::DrawChildControls(TDrawCanvas& ACanvas, const TRectF& ADrawRect, const TRectF& AVisibleRect,
                                         const TPaintData& APaintData) {
  if (FSkinControl == nullptr) return;
  // A child may not free siblings while it paints, but take the list as it is now.
  const QList<TControl*> children = FSkinControl->Controls();
  for (TControl* child : children) {
    ISkinControl* intf = SkinControlIntfOf(child);
    if (intf == nullptr || !child->Visible() || !CanDrawChildControl(child, APaintData)) continue;
    const TRectF bounds = child->BoundsRect().translated(ADrawRect.topLeft());
    if (!bounds.intersects(AVisibleRect)) continue;
    TSkinControlType* childType = intf->GetSkinControlType();
    if (childType == nullptr) continue;
    TPaintData paintData = APaintData;
    paintData.IsInDrawDirectUI = true;
    if (child->HitTest()) {
      childType->Paint(ACanvas, childType->GetPaintCurrentUseMaterial(), bounds, paintData);
    } else {
      // A child that takes no pointer shows its parent's states.
      const bool wasUsing = childType->FIsUseCurrentEffectStates;
      const TDPEffectStates wasStates = childType->FCurrentEffectStates;
      childType->FIsUseCurrentEffectStates = true;
      childType->FCurrentEffectStates = GetCurrentEffectStates();
      paintData.IsDrawInteractiveState = true;
      childType->Paint(ACanvas, childType->GetPaintCurrentUseMaterial(), bounds, paintData);
      childType->FIsUseCurrentEffectStates = wasUsing;
      childType->FCurrentEffectStates = wasStates;
    }
    childType->DrawChildControls(ACanvas, bounds, ADrawRect, paintData);
  }
}

TControl* TSkinControlType::HitTestChild(TControl* AParent, float X, float Y, TPointF& AChildPt) const {
  const QList<TControl*>& children = AParent->Controls();
  for (qsizetype i = children.size() - 1; i >= 0; --i) {
    TControl* child = children[i];
    if (!child->Visible() || child->Width() <= 0 || child->Height() <= 0) continue;
    const TPointF local(X - child->Position()->X(), Y - child->Position()->Y());
    if (!child->PointInObjectLocal(local)) continue;
    if (ISkinControl* intf = SkinControlIntfOf(child); intf != nullptr && intf->GetSkinControlType() != nullptr) {
      if (TControl* inner = HitTestChild(child, static_cast<float>(local.x()), static_cast<float>(local.y()), AChildPt)) {
        return inner;
      }
    }
    if (child->HitTest()) {
      AChildPt = local;
      return child;
    }
  }
  return nullptr;
}

TControl* TSkinControlType::RouteToChild(float X, float Y, TPointF& AChildPt) {
  TControl* hit = HitTestChild(FSkinControl, X, Y, AChildPt);
  CurrentHitTestChildControl = hit;
  EventProcessedByChild = hit != nullptr;
  return hit;
}

void TSkinControlType::ReleasePressedChildOtherThan(const TControl* AHit, TMouseButton Button, TShiftState Shift,
                                                    const TPointF& APoint) {
  TControl* last = LastMouseDownChildControl.data();
  if (last == nullptr || last == AHit) return;
  ISkinControl* intf = SkinControlIntfOf(last);
  if (intf == nullptr || !intf->GetIsMouseDown()) return;
  if (TSkinControlType* type = intf->GetSkinControlType()) {
    type->CustomMouseUp(Button, Shift, static_cast<float>(APoint.x()), static_cast<float>(APoint.y()));
  }
}

void TSkinControlType::DirectUIMouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
  CustomMouseDown(Button, Shift, X, Y);
  if (FSkinControl == nullptr) return;
  TPointF point;
  TControl* hit = RouteToChild(X, Y, point);
  ReleasePressedChildOtherThan(hit, Button, Shift, point);
  ISkinControl* intf = SkinControlIntfOf(hit);
  if (intf == nullptr) return;
  intf->SetIsMouseDown(true);
  if (TSkinControlType* type = intf->GetSkinControlType()) {
    type->CustomMouseDown(Button, Shift, static_cast<float>(point.x()), static_cast<float>(point.y()));
  }
  LastMouseDownChildControl = hit;
}

void TSkinControlType::DirectUIMouseMove(TShiftState Shift, float X, float Y) {
  CustomMouseMove(Shift, X, Y);
  if (FSkinControl == nullptr) return;
  TPointF point;
  TControl* hit = RouteToChild(X, Y, point);
  TControl* last = LastMouseMoveChildControl.data();
  if (last != nullptr && last != hit) LeaveChild(last);
  ISkinControl* intf = SkinControlIntfOf(hit);
  if (intf == nullptr) return;
  TSkinControlType* type = intf->GetSkinControlType();
  if (!intf->GetIsMouseOver()) {
    intf->SetIsMouseOver(true);
    if (type != nullptr) type->CustomMouseEnter();
  }
  if (type != nullptr) type->CustomMouseMove(Shift, static_cast<float>(point.x()), static_cast<float>(point.y()));
  LastMouseMoveChildControl = hit;
}

void TSkinControlType::DirectUIMouseUp(TMouseButton Button, TShiftState Shift, float X, float Y, bool ACallClick) {
  CustomMouseUp(Button, Shift, X, Y);
  EventClickedByChild = false;
  if (FSkinControl == nullptr) return;
  TPointF point;
  TControl* hit = RouteToChild(X, Y, point);
  ReleasePressedChildOtherThan(hit, Button, Shift, point);
  LastMouseDownChildControl = nullptr;
  ISkinControl* intf = SkinControlIntfOf(hit);
  if (intf == nullptr) return;
  const bool wasDown = intf->GetIsMouseDown();
  if (TSkinControlType* type = intf->GetSkinControlType()) {
    type->CustomMouseUp(Button, Shift, static_cast<float>(point.x()), static_cast<float>(point.y()));
  }
  TBaseLog::Instance().OutputDebugString(QStringLiteral("ProcessMouseUpDirectUIControls 当前弹起 ") + hit->Name());
  if (ACallClick && wasDown && intf->GetEnabled()) {
    TBaseLog::Instance().OutputDebugString(QStringLiteral("ProcessMouseUpDirectUIControls 当前点击 ") + hit->Name());
    intf->Click();
    EventClickedByChild = true;
  }
}

void TSkinControlType::DirectUIMouseEnter() { CustomMouseEnter(); }

void TSkinControlType::DirectUIMouseLeave() {
  CustomMouseLeave();
  if (TControl* hovered = LastMouseMoveChildControl.data()) LeaveChild(hovered);
}

void TSkinControlType::LeaveChild(TControl* AChild) {
  ISkinControl* intf = SkinControlIntfOf(AChild);
  if (intf == nullptr || !intf->GetIsMouseOver()) return;
  intf->SetIsMouseOver(false);
  if (TSkinControlType* type = intf->GetSkinControlType()) type->CustomMouseLeave();
}

QJsonObject TSkinControlType::AsJSONObject() const { return QJsonObject(); }

QString TSkinControlType::AsJSON() const {
  return QString::fromUtf8(QJsonDocument(AsJSONObject()).toJson(QJsonDocument::Compact));
}
