#include "skin/base/uSkinFireMonkeyControl.h"

#include "skin/base/uBaseLog.h"
#include "skin/base/uDrawClassRegistry.h"
#include "skin/base/uSkinRegManager.h"
#include "skin/host/Accessibility.h"

#include <QPainter>
#include <QScopeGuard>

#include <algorithm>
#include <cmath>

namespace ostrel::skin {

namespace {

bool gIsMouseDownInSkinControl = false;

// How far up the ancestor searches look.
constexpr int kMaxAncestorSearch = 7;

// Less movement than this between press and last move keeps a click a stay click.
constexpr double kStayClickDistance = 5.0;

enum class PointerKind { Down, Move, Up };

QString MessageOf(const std::exception& AError) {
  if (const auto* error = dynamic_cast<const Exception*>(&AError)) return error->Message();
  return QString::fromUtf8(AError.what());
}

}  // namespace

bool IsMouseDownInSkinControl() { return gIsMouseDownInSkinControl; }

void SetIsMouseDownInSkinControl(bool AValue) { gIsMouseDownInSkinControl = AValue; }

void SkinControlCore::MaterialSlot::Set(TSkinControlMaterial* AMaterial) {
  Material = AMaterial;
  Component = AMaterial;
  Object = AMaterial;
}

SkinControlCore::SkinControlCore(TControl& AHost)
    : FHost(AHost), FCanvas(CreateDrawCanvas()), FMaterialChangeLink(std::make_unique<TSkinObjectChangeLink>()) {
  FMaterialChangeLink->SetOnChange([this](TObject* Sender) { DoMaterialChange(Sender); });
  FMaterialChangeLink->SetOnDestroy([this](TObject* Sender) { DoMaterialDestroy(Sender); });
  FHost.SetEnableExecuteAction(true);
  FHost.SetAutoCapture(true);
}

SkinControlCore::~SkinControlCore() {
  // A concrete control that forgot DestroySkinParts still lets go of its
  // material's manager before the link dies.
  if (FMaterialChangeLink) FMaterialChangeLink->UnRegister();
}

bool SkinControlCore::IsLoadingOrReading() const {
  const TComponentState state = FHost.ComponentState();
  return state.Contains(TComponentStateItem::csLoading) || state.Contains(TComponentStateItem::csReading);
}

bool SkinControlCore::IsDesigning() const {
  return FHost.ComponentState().Contains(TComponentStateItem::csDesigning);
}

void SkinControlCore::LogControlLine(const QString& AText) const {
  TBaseLog::Instance().OutputDebugString(QStringLiteral("Name:") + FHost.Name() + QStringLiteral(" ClassName:") +
                                         FHost.ClassName() + AText);
}

// --- companions ---------------------------------------------------------------------

TPropertiesClass SkinControlCore::GetPropertiesClassType() const {
  return TPropertiesClass::Of<TSkinControlProperties>();
}

TSkinControlProperties* SkinControlCore::Properties() const {
  if (!FProperties && !FIsDestroying) {
    NoteClassName();
    FProperties = GetPropertiesClassType().Create(&FHost);
  }
  return FProperties.get();
}

void SkinControlCore::NoteClassName() const {
  if (!FIsDestroying) FClassName = FHost.ClassName();
}

void SkinControlCore::SetPropertiesFrom(const TSkinControlProperties* AValue) {
  if (TSkinControlProperties* properties = Properties()) properties->Assign(AValue);
}

QString SkinControlCore::GetComponentTypeNameOrDefault() const {
  return FComponentTypeName.trimmed().isEmpty() ? QStringLiteral("Default") : FComponentTypeName;
}

TControlTypeClass SkinControlCore::GetControlTypeClass() {
  const TSkinControlProperties* properties = Properties();
  if (properties == nullptr) return {};
  return GlobalControlTypeRegManager().FindControlTypeClassByControlTypeName(properties->GetComponentClassify(),
                                                                            GetComponentTypeNameOrDefault());
}

TMaterialClass SkinControlCore::GetMaterialClass() {
  const TSkinControlProperties* properties = Properties();
  if (properties == nullptr) return {};
  return GlobalControlTypeRegManager().FindMaterialClassByControlTypeName(properties->GetComponentClassify(),
                                                                         GetComponentTypeNameOrDefault());
}

TSkinControlType* SkinControlCore::SkinControlType() {
  if (!FSkinControlType && !FIsDestroying) CreateSkinControlType();
  return FSkinControlType.get();
}

void SkinControlCore::CreateSkinControlType() {
  if (FSkinControlType) return;
  const TSkinControlProperties* properties = Properties();
  if (properties == nullptr || properties->GetComponentClassify().isEmpty()) return;
  const TControlTypeClass typeClass = GetControlTypeClass();
  if (!typeClass) {
    LogControlLine(QStringLiteral(" ComponentTypeName:") + FComponentTypeName +
                   QStringLiteral(" CreateSkinControlType Can Not Find ControlTypeClass"));
    return;
  }
  NoteClassName();
  std::unique_ptr<TSkinControlType> type = typeClass.Create();
  type->Bind(&FHost);
  FSkinControlType = std::move(type);
  CheckCurrentUseMaterialClass();
  CheckSelfOwnMaterialClass();
}

void SkinControlCore::CheckCurrentUseMaterialClass() {
  if (FCurrentUseSkinMaterial.Material == nullptr) return;
  const TSkinControlProperties* properties = Properties();
  if (properties == nullptr || properties->GetComponentClassify().isEmpty()) return;
  if (!GetMaterialClass().IsClassOf(FCurrentUseSkinMaterial.Material)) ReleaseCurrentUseMaterial();
}

void SkinControlCore::CheckSelfOwnMaterialClass() {
  if (FMaterial.Material == nullptr) return;
  const TSkinControlProperties* properties = Properties();
  if (properties == nullptr || properties->GetComponentClassify().isEmpty()) return;
  if (!GetMaterialClass().IsClassOf(FMaterial.Material)) FreeSelfOwnMaterial();
}

void SkinControlCore::SetComponentTypeName(const QString& AValue) {
  if (AValue != FComponentTypeName) FComponentTypeName = AValue;
  if (!FSkinControlType) {
    CreateSkinControlType();
    return;
  }
  const TControlTypeClass typeClass = GetControlTypeClass();
  if (!typeClass) {
    LogControlLine(QStringLiteral(" SetComponentTypeName AControlTypeClass Is Nil "));
    return;
  }
  if (typeClass.IsClassOf(FSkinControlType.get())) return;
  FSkinControlType->UnBind();
  FSkinControlType.reset();
  CreateSkinControlType();
}

TSkinControlMaterial* SkinControlCore::SelfOwnMaterial() {
  if (FMaterial.Material == nullptr && !FIsDestroying &&
      (FKeepSelfOwnMaterial || FMaterialUseKind == TMaterialUseKind::mukSelfOwn)) {
    CreateSelfOwnMaterial();
  }
  return FMaterial.Material;
}

void SkinControlCore::CreateSelfOwnMaterial() {
  if (FMaterial.Material != nullptr || FIsDestroying) return;
  const TSkinControlProperties* properties = Properties();
  if (properties == nullptr || properties->GetComponentClassify().isEmpty()) return;
  const TMaterialClass materialClass = GetMaterialClass();
  if (!materialClass) return;
  std::unique_ptr<TSkinMaterial> created = materialClass.Create();
  auto* material = dynamic_cast<TSkinControlMaterial*>(created.get());
  if (material == nullptr) {
    LogControlLine(QStringLiteral(" CreateSelfOwnMaterial ") + created->ClassName() +
                   QStringLiteral(" Is Not A TSkinControlMaterial"));
    return;
  }
  material->SetName(QStringLiteral("Material"));
  FHost.InsertComponent(material);
  // The control is its component owner now.
  static_cast<void>(created.release());
  material->SetSubComponent(true);
  FMaterial.Set(material);
  WatchMaterials();
}

void SkinControlCore::FreeSelfOwnMaterial() {
  TSkinControlMaterial* material = FMaterial.Material;
  if (material == nullptr) return;
  if (FCurrentUseSkinMaterial.Material == material) ReleaseCurrentUseMaterial();
  FMaterial.Clear();
  WatchMaterials();
  material->UnRegisterChanges(FMaterialChangeLink.get());
  material->SetName(QString());
  material->SetSubComponent(false);
  delete material;  // owned through the component tree; its owner hears of it
}

void SkinControlCore::ForgetSelfOwnMaterial() {
  TSkinControlMaterial* material = FMaterial.Material;
  if (material == nullptr) return;
  if (FCurrentUseSkinMaterial.Material == material) ReleaseCurrentUseMaterial();
  FMaterial.Clear();
  WatchMaterials();
  // Still owned by the control, but under no name, so a new one can take "Material".
  material->SetName(QString());
  material->SetSubComponent(false);
}

TSkinControlMaterial* SkinControlCore::CurrentUseMaterial() {
  if (FCurrentUseSkinMaterial.Material == nullptr && !FIsDestroying) ChooseCurrentUseMaterial();
  return FCurrentUseSkinMaterial.Material;
}

void SkinControlCore::ChooseCurrentUseMaterial() {
  TSkinControlMaterial* material = nullptr;
  switch (FMaterialUseKind) {
    case TMaterialUseKind::mukSelfOwn:
      material = SelfOwnMaterial();
      break;
    case TMaterialUseKind::mukRef:
    case TMaterialUseKind::mukRefOnly:
      material = FRefMaterial.Material;
      break;
    case TMaterialUseKind::mukRefByStyleName: {
      const TSkinControlProperties* properties = Properties();
      if (properties == nullptr) break;
      const QString classify = properties->GetComponentClassify();
      TFoundStyleMaterial found;
      if (!FMaterialName.isEmpty()) {
        found = FindMaterialByStyleName(classify, FMaterialName);
      } else {
        found = FindMaterialByStyleName(classify, QStringLiteral("Default"));
        if (found.Material != nullptr) FMaterialName = QStringLiteral("Default");
      }
      if (found.Material == nullptr) {
        LogControlLine(QStringLiteral(" GetCurrentUseMaterial Can Not Find Material By StyleName ") + FMaterialName);
      }
      SetComponentTypeName(found.ControlTypeName);
      material = found.Material;
      break;
    }
    case TMaterialUseKind::mukDefault:
    case TMaterialUseKind::mukName:
      break;
  }
  if (material == nullptr) return;
  FCurrentUseSkinMaterial.Set(material);
  material->RegisterChanges(FMaterialChangeLink.get());
  WatchMaterials();
}

void SkinControlCore::ReleaseCurrentUseMaterial() {
  if (FCurrentUseSkinMaterial.Material == nullptr) return;
  if (FCurrentUseSkinMaterial.Material == FRefMaterial.Material) FRefMaterial.Clear();
  FCurrentUseSkinMaterial.Clear();
  // Leaves the manager without reaching the material, which may be going away.
  if (FMaterialChangeLink) FMaterialChangeLink->UnRegister();
  WatchMaterials();
}

void SkinControlCore::WatchMaterials() {
  std::vector<TComponent*> wanted;
  for (const MaterialSlot* slot : {&FMaterial, &FRefMaterial, &FCurrentUseSkinMaterial}) {
    if (slot->Component != nullptr && std::find(wanted.begin(), wanted.end(), slot->Component) == wanted.end()) {
      wanted.push_back(slot->Component);
    }
  }
  for (TComponent* watched : FWatched) {
    if (std::find(wanted.begin(), wanted.end(), watched) == wanted.end()) FHost.RemoveFreeNotification(watched);
  }
  // Also renews a watch the host dropped when the material changed owners.
  for (TComponent* component : wanted) FHost.FreeNotification(component);
  FWatched = std::move(wanted);
}

void SkinControlCore::SetMaterialUseKind(TMaterialUseKind AValue) {
  if (AValue != FMaterialUseKind && !FKeepSelfOwnMaterial && AValue != TMaterialUseKind::mukSelfOwn) {
    FreeSelfOwnMaterial();
  }
  if (AValue == FMaterialUseKind && FCurrentUseSkinMaterial.Material != nullptr) return;
  FMaterialUseKind = AValue;
  ReleaseCurrentUseMaterial();
  if (AValue == TMaterialUseKind::mukSelfOwn) CreateSelfOwnMaterial();
  CurrentUseMaterial();
  if (!IsLoadingOrReading()) Invalidate();
}

void SkinControlCore::SetMaterialName(const QString& AValue) {
  if (AValue == FMaterialName && FCurrentUseSkinMaterial.Material != nullptr) return;
  FMaterialName = AValue;
  if (FMaterialUseKind == TMaterialUseKind::mukName || FMaterialUseKind == TMaterialUseKind::mukRefByStyleName) {
    ReleaseCurrentUseMaterial();
    CurrentUseMaterial();
  }
  if (!IsLoadingOrReading()) Invalidate();
}

void SkinControlCore::SetRefMaterial(TSkinControlMaterial* AValue) {
  if (AValue == FRefMaterial.Material) return;
  const TSkinControlProperties* properties = Properties();
  if (properties == nullptr || properties->GetComponentClassify().isEmpty()) return;
  const TMaterialClass materialClass = GetMaterialClass();
  if (!materialClass) return;
  if (AValue != nullptr && !materialClass.IsClassOf(AValue)) {
    throw Exception(AValue->Name() + QStringLiteral("与此控件或此ComponentType匹配的Material类型不符"));
  }
  if (AValue != nullptr) ReleaseCurrentUseMaterial();
  if (TSkinControlMaterial* old = FRefMaterial.Material) old->UnRegisterChanges(FMaterialChangeLink.get());
  FRefMaterial.Set(AValue);
  WatchMaterials();
  if (IsDesigning()) FMaterialUseKind = TMaterialUseKind::mukRef;
  if (!IsLoadingOrReading()) Invalidate();
}

void SkinControlCore::SetKeepSelfOwnMaterial(bool AValue) {
  if (AValue == FKeepSelfOwnMaterial) return;
  if (!AValue && FMaterialUseKind != TMaterialUseKind::mukSelfOwn) FreeSelfOwnMaterial();
  FKeepSelfOwnMaterial = AValue;
}

void SkinControlCore::DoMaterialChange(TObject* Sender) {
  if ((!IsRepaintSuppressed() && !IsLoadingOrReading()) || IsDesigning()) {
    DoCustomMaterialChange(Sender);
    Invalidate();
  }
}

void SkinControlCore::DoCustomMaterialChange(TObject*) {}

void SkinControlCore::DoMaterialDestroy(TObject* Sender) {
  if (FCurrentUseSkinMaterial.Is(Sender)) ReleaseCurrentUseMaterial();
}

void SkinControlCore::SkinNotification(TComponent* AComponent, TOperation AOperation) {
  if (AOperation != TOperation::opRemove || AComponent == nullptr) return;
  const bool watched = std::find(FWatched.begin(), FWatched.end(), AComponent) != FWatched.end();
  if (!watched) return;
  if (!AComponent->IsDestroying()) {
    // Only changed owners: still the same material.
    AComponent->FreeNotification(&FHost);
    return;
  }
  // Going away: compare addresses only, its derived parts are gone.
  if (FMaterial.Is(AComponent)) {
    if (FCurrentUseSkinMaterial.Is(AComponent)) FCurrentUseSkinMaterial.Clear();
    FMaterial.Clear();
  } else if (FRefMaterial.Is(AComponent)) {
    if (FCurrentUseSkinMaterial.Is(AComponent)) FCurrentUseSkinMaterial.Clear();
    FRefMaterial.Clear();
  } else if (FCurrentUseSkinMaterial.Is(AComponent)) {
    FCurrentUseSkinMaterial.Clear();
  }
  std::erase(FWatched, AComponent);
}

void SkinControlCore::CopyMaterialSettingsFrom(ISkinControlMaterial* ASource) {
  if (ASource == nullptr) return;
  SetComponentTypeName(ASource->GetComponentTypeName());
  SetMaterialUseKind(ASource->GetMaterialUseKind());
  SetMaterialName(ASource->GetMaterialName());
  SetRefMaterial(ASource->GetRefMaterial());
  SetKeepSelfOwnMaterial(ASource->GetKeepSelfOwnMaterial());
  TSkinControlMaterial* own = SelfOwnMaterial();
  TSkinControlMaterial* other = ASource->GetSelfOwnMaterial();
  if (own != nullptr && other != nullptr && own != other) own->Assign(other);
}

// --- state -------------------------------------------------------------------------------

bool SkinControlCore::GetIsMouseOver() const { return FIsMouseOver || FHost.IsMouseOver(); }

double SkinControlCore::Left() const { return FHost.Position()->X(); }

double SkinControlCore::Top() const { return FHost.Position()->Y(); }

void SkinControlCore::SetLeft(double AValue) { FHost.Position()->SetX(static_cast<float>(AValue)); }

void SkinControlCore::SetTop(double AValue) { FHost.Position()->SetY(static_cast<float>(AValue)); }

double SkinControlCore::GetWidth() const { return FHost.Width(); }

double SkinControlCore::GetHeight() const { return FHost.Height(); }

void SkinControlCore::SetControlWidth(double AValue) { FHost.SetWidth(static_cast<float>(AValue)); }

void SkinControlCore::SetControlHeight(double AValue) { FHost.SetHeight(static_cast<float>(AValue)); }

void SkinControlCore::SetControlParent(TControl* AParent) { FHost.SetParent(AParent); }

void SkinControlCore::SetControlVisible(bool AValue) { FHost.SetVisible(AValue); }

int SkinControlCore::GetWidthInt() const { return static_cast<int>(std::ceil(FHost.Width())); }

void SkinControlCore::SetWidthInt(int AValue) { FHost.SetWidth(static_cast<float>(AValue)); }

int SkinControlCore::GetHeightInt() const { return static_cast<int>(std::ceil(FHost.Height())); }

void SkinControlCore::SetHeightInt(int AValue) { FHost.SetHeight(static_cast<float>(AValue)); }

bool SkinControlCore::GetVisible() const { return FHost.Visible(); }

bool SkinControlCore::GetEnabled() const { return FHost.Enabled(); }

bool SkinControlCore::GetIsFocused() const { return FHost.ShowsFocus(); }

TControl* SkinControlCore::GetParent() const { return FHost.ParentControl(); }

bool SkinControlCore::GetHitTest() const { return FHost.HitTest(); }

void SkinControlCore::SetCaption(const QString& AValue) {
  if (AValue == FCaption) return;
  FCaption = AValue;
  if (TSkinControlType* type = SkinControlType()) type->TextChanged();
  ostrel::host::NotifyAccessibleNameChanged(FHost);
}

void SkinControlCore::SetBoundsValues(double ALeft, double ATop, double AWidth, double AHeight) {
  FHost.SetBounds(static_cast<float>(ALeft), static_cast<float>(ATop), static_cast<float>(AWidth),
                  static_cast<float>(AHeight));
}

void SkinControlCore::SetBoundsRect(const TRectF& ARect) {
  SetBoundsValues(ARect.left(), ARect.top(), ARect.width(), ARect.height());
}

int SkinControlCore::GetParentChildControlCount() const {
  const TControl* parent = FHost.ParentControl();
  return parent != nullptr ? parent->ControlsCount() : 0;
}

TControl* SkinControlCore::GetParentChildControl(int AIndex) const {
  const TControl* parent = FHost.ParentControl();
  if (parent == nullptr || AIndex < 0 || AIndex >= parent->ControlsCount()) return nullptr;
  return parent->Controls().at(AIndex);
}

int SkinControlCore::GetChildControlCount() const { return FHost.ControlsCount(); }

TControl* SkinControlCore::GetChildControl(int AIndex) const {
  if (AIndex < 0 || AIndex >= FHost.ControlsCount()) return nullptr;
  return FHost.Controls().at(AIndex);
}

double SkinControlCore::GetAutoSizeWidth() {
  TSkinControlType* type = SkinControlType();
  const double width = type != nullptr ? type->GetAutoSizeWidth() : -1;
  return width == -1 ? FHost.Width() : width;
}

double SkinControlCore::GetAutoSizeHeight() {
  TSkinControlType* type = SkinControlType();
  const double height = type != nullptr ? type->GetAutoSizeHeight() : -1;
  return height == -1 ? FHost.Height() : height;
}

TRectF SkinControlCore::GetAutoSizeBoundsRect() {
  return TRectF(TPointF(Left(), Top()), TPointF(Left() + GetAutoSizeWidth(), Top() + GetAutoSizeHeight()));
}

void SkinControlCore::SetDataObject(TObject* AValue) {
  if (AValue == DataObject()) return;
  FDataObject.reset();
  FForeignDataObject = AValue;
}

// --- events -----------------------------------------------------------------------------------

void SkinControlCore::AddSkinEvents(ostrel::host::TEventTable& ATable) {
  FEvents = &ATable;
  ATable.Add(QStringLiteral("OnCustomMouseDown"), FOnCustomMouseDown);
  ATable.Add(QStringLiteral("OnCustomMouseUp"), FOnCustomMouseUp);
  ATable.Add(QStringLiteral("OnCustomMouseMove"), FOnCustomMouseMove);
  ATable.Add(QStringLiteral("OnCustomMouseEnter"), FOnCustomMouseEnter);
  ATable.Add(QStringLiteral("OnCustomMouseLeave"), FOnCustomMouseLeave);
  ATable.Add(QStringLiteral("OnStayClick"), FOnStayClick);
}

namespace {

template <class F>
void SetSkinEvent(ostrel::host::TEventTable* ATable, F& AField, F AValue, const char* AName) {
  AField = std::move(AValue);
  if (ATable != nullptr) ATable->Forget(QString::fromLatin1(AName));
}

}  // namespace

void SkinControlCore::SetOnStayClick(TNotifyEvent AValue) {
  SetSkinEvent(FEvents, FOnStayClick, std::move(AValue), "OnStayClick");
}

void SkinControlCore::SetOnCustomMouseDown(TMouseEvent AValue) {
  SetSkinEvent(FEvents, FOnCustomMouseDown, std::move(AValue), "OnCustomMouseDown");
}

void SkinControlCore::SetOnCustomMouseUp(TMouseEvent AValue) {
  SetSkinEvent(FEvents, FOnCustomMouseUp, std::move(AValue), "OnCustomMouseUp");
}

void SkinControlCore::SetOnCustomMouseMove(TMouseMoveEvent AValue) {
  SetSkinEvent(FEvents, FOnCustomMouseMove, std::move(AValue), "OnCustomMouseMove");
}

void SkinControlCore::SetOnCustomMouseEnter(TNotifyEvent AValue) {
  SetSkinEvent(FEvents, FOnCustomMouseEnter, std::move(AValue), "OnCustomMouseEnter");
}

void SkinControlCore::SetOnCustomMouseLeave(TNotifyEvent AValue) {
  SetSkinEvent(FEvents, FOnCustomMouseLeave, std::move(AValue), "OnCustomMouseLeave");
}

void SkinControlCore::StayClick() {
  if (FOnStayClick) FOnStayClick(&FHost);
}

// --- ancestors ---------------------------------------------------------------------------------

bool SkinControlCore::FindParentScrollBox() {
  if (FHost.ClassName() == QStringLiteral("TSkinFMXImageListViewer")) return false;
  if (FParentIsScrollBox) return true;
  if (const auto* self = dynamic_cast<const ISkinScrollBox*>(&FHost); self != nullptr && self->IsVertScrollBarShown()) {
    return false;
  }
  TControl* ancestor = FHost.ParentControl();
  for (int i = 0; i < kMaxAncestorSearch && ancestor != nullptr; ++i, ancestor = ancestor->ParentControl()) {
    if (dynamic_cast<const ISkinScrollBox*>(ancestor) != nullptr) {
      FParentIsScrollBox = true;
      FParentScrollBox = ancestor;
      return true;
    }
  }
  return false;
}

bool SkinControlCore::FindParentGesturePageControl() {
  if (FHost.ClassName() == QStringLiteral("TSkinFMXImageListViewer")) return false;
  if (FParentIsCanGesutrePageControl) return true;
  if (const auto* self = dynamic_cast<const ISkinGesturePageControl*>(&FHost);
      self != nullptr && self->CanGesutreSwitch()) {
    return false;
  }
  TControl* ancestor = FHost.ParentControl();
  for (int i = 0; i < kMaxAncestorSearch && ancestor != nullptr; ++i, ancestor = ancestor->ParentControl()) {
    const auto* pageControl = dynamic_cast<const ISkinGesturePageControl*>(ancestor);
    if (pageControl != nullptr && pageControl->CanGesutreSwitch()) {
      FParentIsCanGesutrePageControl = true;
      FParentCanGesutrePageControl = ancestor;
      return true;
    }
  }
  return false;
}

TControl* SkinControlCore::GetParentScrollBox() {
  FindParentScrollBox();
  return FParentScrollBox.data();
}

// --- pointer ----------------------------------------------------------------------------------------

bool SkinControlCore::IsForwardingToParent() {
  if (FParentMouseEvent || FMouseEventTransToParentType == TMouseEventTransToParentType::mettptTrans) return true;
  if (FMouseEventTransToParentType != TMouseEventTransToParentType::mettptAuto) return false;
  return FindParentScrollBox() || FindParentGesturePageControl();
}

void SkinControlCore::ForwardToParent(int AKind, TMouseButton AButton, TShiftState AShift, float AX, float AY,
                                      TObject* AChild) {
  TControl* parent = FHost.ParentControl();
  if (parent == nullptr) return;
  const auto kind = static_cast<PointerKind>(AKind);
  const auto send = [&](ISkinControl& ATarget, float X, float Y) {
    switch (kind) {
      case PointerKind::Down:
        ATarget.ISkinControl_CustomMouseDown(AButton, AShift, X, Y, true, AChild);
        break;
      case PointerKind::Move:
        ATarget.ISkinControl_CustomMouseMove(AShift, X, Y, true, AChild);
        break;
      case PointerKind::Up:
        ATarget.ISkinControl_CustomMouseUp(AButton, AShift, X, Y, true, AChild);
        break;
    }
  };
  const float x = AX + static_cast<float>(Left());
  const float y = AY + static_cast<float>(Top());
  if (ISkinControl* target = SkinControlIntfOf(parent)) {
    send(*target, x, y);
    return;
  }
  TControl* grandParent = parent->ParentControl();
  if (ISkinControl* target = SkinControlIntfOf(grandParent)) {
    send(*target, x + parent->Position()->X(), y + parent->Position()->Y());
    return;
  }
  switch (kind) {
    case PointerKind::Down:
      if (parent->OnMouseDown()) parent->OnMouseDown()(parent, AButton, AShift, x, y);
      break;
    case PointerKind::Move:
      if (parent->OnMouseMove()) parent->OnMouseMove()(parent, AShift, x, y);
      break;
    case PointerKind::Up:
      if (parent->OnMouseUp()) parent->OnMouseUp()(parent, AButton, AShift, x, y);
      break;
  }
}

void SkinControlCore::ISkinControl_CustomMouseDown(TMouseButton Button, TShiftState Shift, float X, float Y,
                                                   bool AIsChildMouseEvent, TObject* AChild) {
  if (TSkinControlType* type = SkinControlType()) {
    type->SetCurrentMouseEventIsChildOwn(AIsChildMouseEvent);
    type->SetCurrentMouseEventChild(AChild);
    type->CustomMouseDown(Button, Shift, X, Y);
  }
  if (IsForwardingToParent()) ForwardToParent(static_cast<int>(PointerKind::Down), Button, Shift, X, Y, AChild);
}

void SkinControlCore::ISkinControl_CustomMouseMove(TShiftState Shift, float X, float Y, bool AIsChildMouseEvent,
                                                   TObject* AChild) {
  if (TSkinControlType* type = SkinControlType()) {
    type->SetCurrentMouseEventIsChildOwn(AIsChildMouseEvent);
    type->CustomMouseMove(Shift, X, Y);
  }
  if (IsForwardingToParent()) {
    ForwardToParent(static_cast<int>(PointerKind::Move), TMouseButton::mbLeft, Shift, X, Y, AChild);
  }
}

void SkinControlCore::ISkinControl_CustomMouseUp(TMouseButton Button, TShiftState Shift, float X, float Y,
                                                 bool AIsChildMouseEvent, TObject* AChild) {
  if (TSkinControlType* type = SkinControlType()) {
    type->SetCurrentMouseEventIsChildOwn(AIsChildMouseEvent);
    type->CustomMouseUp(Button, Shift, X, Y);
  }
  if (IsForwardingToParent()) ForwardToParent(static_cast<int>(PointerKind::Up), Button, Shift, X, Y, AChild);
}

void SkinControlCore::ISkinControl_CustomMouseEnter() {
  if (TSkinControlType* type = SkinControlType()) type->CustomMouseEnter();
}

void SkinControlCore::ISkinControl_CustomMouseLeave() {
  if (TSkinControlType* type = SkinControlType()) type->CustomMouseLeave();
}

void SkinControlCore::SkinMouseDownBegin() {
  SetIsMouseDownInSkinControl(true);
  if (FMouseDownFocus && FHost.CanFocus()) FHost.SetFocus();
}

void SkinControlCore::SkinMouseDown(TMouseButton AButton, TShiftState AShift, float AX, float AY) {
  ISkinControl_CustomMouseDown(AButton, AShift, AX, AY, false, &FHost);
}

void SkinControlCore::SkinMouseMove(TShiftState AShift, float AX, float AY) {
  ISkinControl_CustomMouseMove(AShift, AX, AY, false, &FHost);
}

void SkinControlCore::SkinMouseUpBegin() { SetIsMouseDownInSkinControl(false); }

void SkinControlCore::SkinMouseUp(TMouseButton AButton, TShiftState AShift, float AX, float AY) {
  ISkinControl_CustomMouseUp(AButton, AShift, AX, AY, false, &FHost);
}

void SkinControlCore::SkinMouseWheel(TShiftState AShift, int AWheelDelta, bool& AHandled) {
  if (TSkinControlType* type = SkinControlType()) AHandled = type->CustomMouseWheel(AShift, AWheelDelta);
}

bool SkinControlCore::SkinGesture(const TGestureEventInfo& AEventInfo) {
  bool handled = false;
  if (TSkinControlType* type = SkinControlType()) type->Gesture(AEventInfo, handled);
  return handled;
}

void SkinControlCore::SkinResize() {
  if (IsLoadingOrReading() || !FSkinControlType) return;
  FSkinControlType->SizeChanged();
}

void SkinControlCore::SkinFocusEnter() {
  if (IsLoadingOrReading() || !FSkinControlType) return;
  FSkinControlType->FocusChanged();
  Invalidate();
}

void SkinControlCore::SkinFocusExit() {
  if (!FSkinControlType) return;
  FSkinControlType->FocusChanged();
  Invalidate();
}

// To the look, a focus hidden or shown again is a focus gone or come.
void SkinControlCore::SkinFocusShownChanged() { SkinFocusExit(); }

void SkinControlCore::SkinKeyClick() {
  if (!FHost.AbsoluteEnabled() || !FHost.AbsoluteVisible()) return;
  FKeyClicking = true;
  const auto done = qScopeGuard([this] { FKeyClicking = false; });
  FHost.Click();
}

void SkinControlCore::SkinClick() {
  if (FKeyClicking) {
    // A key presses where the control is: a click without movement.
    HostClick();
    StayClick();
    return;
  }
  if (!FindParentScrollBox()) HostClick();
  TSkinControlType* type = SkinControlType();
  if (type == nullptr) return;
  const TPointF down = type->MouseDownAbsolutePt();
  if (down.x() == 0) return;
  const TPointF moved = type->MouseMoveAbsolutePt();
  if (std::abs(down.x() - moved.x()) >= kStayClickDistance || std::abs(down.y() - moved.y()) >= kStayClickDistance) {
    return;
  }
  if (FindParentScrollBox()) HostClick();
  StayClick();
}

// --- painting and repaint -------------------------------------------------------------------------

void SkinControlCore::Invalidate() {
  if (FDirectUIParentIntf != nullptr) {
    FDirectUIParentIntf->InvalidateChild(&FHost, this);
    return;
  }
  TComponent* parent = FHost.Parent();
  if (parent == nullptr) {
    FHost.Repaint();
    return;
  }
  if (auto* painter = dynamic_cast<IDirectUIParent*>(parent)) {
    if (IsDesigning()) FHost.Repaint();
    painter->InvalidateChild(&FHost, this);
    return;
  }
  FHost.Repaint();
}

void SkinControlCore::SkinPaint(QPainter& ACanvas) {
  if (!FCanvas) return;
  FCanvas->Prepare(&ACanvas);
  struct Unprepare {
    TDrawCanvas& Canvas;
    ~Unprepare() { Canvas.UnPrepare(); }
  } unprepare{*FCanvas};
  try {
    if (TSkinControlType* type = SkinControlType()) {
      FPaintData = GlobalDefaultPaintData;
      FPaintData.IsDrawInteractiveState = true;
      FPaintData.IsInDrawDirectUI = false;
      type->Paint(*FCanvas, type->GetPaintCurrentUseMaterial(), FHost.LocalRect(), FPaintData);
    }
  } catch (const std::exception& e) {
    // A paint runs from the host's event loop, which has no one to hand an error to.
    TBaseLog::Instance().HandleException(MessageOf(e), QStringLiteral("BriselUI"),
                                         QStringLiteral("uSkinFireMonkeyControl"),
                                         FHost.Name() + QStringLiteral(" Paint"));
  }
}

void SkinControlCore::SkinLoaded() {
  NoteClassName();
  SkinControlType();
  SelfOwnMaterial();
  CurrentUseMaterial();
  if (TSkinControlProperties* properties = Properties()) properties->AdjustAutoSizeBounds();
}

// --- page framework and language ------------------------------------------------------------------

bool SkinControlCore::LoadFromFieldControlSetting(TObject*) { return true; }

QString SkinControlCore::GetPropJsonStr() const {
  const TSkinControlProperties* properties = Properties();
  return properties != nullptr ? properties->GetPropJsonStr() : QString();
}

void SkinControlCore::SetPropJsonStr(const QString& AJsonStr) {
  if (TSkinControlProperties* properties = Properties()) properties->SetPropJsonStr(AJsonStr);
}

QVariant SkinControlCore::GetPostValue(const QString&) { return QString(); }

void SkinControlCore::SetControlValue(const QVariant&, const QString&) {}

QVariant SkinControlCore::GetProp(const QString&) { return QVariant(); }

void SkinControlCore::SetProp(const QString&, const QVariant&) {}

void SkinControlCore::RecordControlLangIndex(const QString& APrefix, TLang* ALang, const QString& ACurLang) {
  if (ALang == nullptr || FCaption.isEmpty()) return;
  ALang->SetString(APrefix + FHost.Name() + QStringLiteral(".Caption"), ACurLang, FCaption);
}

void SkinControlCore::TranslateControlLang(const QString& APrefix, TLang* ALang, const QString& ACurLang) {
  if (ALang == nullptr) return;
  const QString text = ALang->GetString(APrefix + FHost.Name() + QStringLiteral(".Caption"), ACurLang);
  if (!text.isEmpty()) SetCaption(text);
}

// --- destruction --------------------------------------------------------------------------------------

void SkinControlCore::RunGuardedRelease(const char* APosition, const std::function<void()>& ARelease) {
  try {
    ARelease();
  } catch (const std::exception& e) {
    TBaseLog::Instance().HandleException(
        MessageOf(e), QStringLiteral("BriselUI"), QStringLiteral("uSkinFireMonkeyControl"),
        FHost.Name() + u' ' + FClassName + u' ' + QString::fromLatin1(APosition));
  }
}

void SkinControlCore::DestroySkinParts() {
  if (FIsDestroying) return;
  FIsDestroying = true;
  ReleaseCurrentUseMaterial();
  FMaterialChangeLink.reset();
  if (FSkinControlType) {
    FSkinControlType->UnBind();
    FSkinControlType.reset();
  }
  ReleaseCurrentUseMaterial();
  FreeSelfOwnMaterial();
  FDataObject.reset();
  FForeignDataObject = nullptr;
  RunGuardedRelease("FreeAndNil(FProperties);", [this] {
    std::unique_ptr<TSkinControlProperties> properties = std::move(FProperties);
    if (auto* hook = dynamic_cast<IBeforeDestruction*>(properties.get())) hook->BeforeDestruction();
  });
  RunGuardedRelease("FreeAndNil(FCanvas);", [this] {
    std::unique_ptr<TDrawCanvas> canvas = std::move(FCanvas);
    if (auto* hook = dynamic_cast<IBeforeDestruction*>(canvas.get())) hook->BeforeDestruction();
  });
}

}  // namespace ostrel::skin

// --- TSkinFireMonkeyControl -------------------------------------------------------------------------------

TSkinFireMonkeyControl::TSkinFireMonkeyControl(TComponent* AOwner) : TControl(AOwner), SkinControlCore(static_cast<TControl&>(*this)) {
  AddSkinEvents(EventTable());
}

TSkinFireMonkeyControl::~TSkinFireMonkeyControl() {
  Destroying();
  DestroySkinParts();
}

void TSkinFireMonkeyControl::Loaded() {
  TControl::Loaded();
  SkinLoaded();
}

void TSkinFireMonkeyControl::Notification(TComponent* AComponent, TOperation AOperation) {
  TControl::Notification(AComponent, AOperation);
  SkinNotification(AComponent, AOperation);
}

void TSkinFireMonkeyControl::MouseDown(TMouseButton AButton, TShiftState AShift, float AX, float AY) {
  SkinMouseDownBegin();
  TControl::MouseDown(AButton, AShift, AX, AY);
  SkinMouseDown(AButton, AShift, AX, AY);
}

void TSkinFireMonkeyControl::MouseMove(TShiftState AShift, float AX, float AY) {
  TControl::MouseMove(AShift, AX, AY);
  SkinMouseMove(AShift, AX, AY);
}

void TSkinFireMonkeyControl::MouseUp(TMouseButton AButton, TShiftState AShift, float AX, float AY) {
  SkinMouseUpBegin();
  TControl::MouseUp(AButton, AShift, AX, AY);
  SkinMouseUp(AButton, AShift, AX, AY);
}

void TSkinFireMonkeyControl::MouseWheel(TShiftState AShift, int AWheelDelta, bool& AHandled) {
  TControl::MouseWheel(AShift, AWheelDelta, AHandled);
  SkinMouseWheel(AShift, AWheelDelta, AHandled);
}

void TSkinFireMonkeyControl::DoMouseEnter() {
  TControl::DoMouseEnter();
  ISkinControl_CustomMouseEnter();
}

void TSkinFireMonkeyControl::DoMouseLeave() {
  TControl::DoMouseLeave();
  ISkinControl_CustomMouseLeave();
}

void TSkinFireMonkeyControl::Click() { SkinClick(); }

bool TSkinFireMonkeyControl::Gesture(const TGestureEventInfo& AEventInfo) { return SkinGesture(AEventInfo); }

void TSkinFireMonkeyControl::DoEnter() {
  TControl::DoEnter();
  SkinFocusEnter();
}

void TSkinFireMonkeyControl::DoExit() {
  TControl::DoExit();
  SkinFocusExit();
}

void TSkinFireMonkeyControl::FocusShownChanged() {
  TControl::FocusShownChanged();
  SkinFocusShownChanged();
}

void TSkinFireMonkeyControl::KeyClick() { SkinKeyClick(); }

void TSkinFireMonkeyControl::Resize() {
  TControl::Resize();
  SkinResize();
}

void TSkinFireMonkeyControl::Paint(QPainter& ACanvas) { SkinPaint(ACanvas); }
