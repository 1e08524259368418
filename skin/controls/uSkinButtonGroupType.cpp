#include "skin/controls/uSkinButtonGroupType.h"

#include "skin/base/uBaseLog.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <vector>

namespace ostrel::skin {

namespace {

bool IsHorizontal(const TButtonGroupLayout& ALayout) {
  return ALayout.Orientation == TButtonGroupOrientation::boHorz;
}

}  // namespace

double GroupButtonLength(const TButtonGroupLayout& ALayout, int AShown) {
  if (ALayout.SizeCalcType == TButtonSizeCalcType::bsctFixed) return std::max(ALayout.ButtonSize, 0.0);
  if (AShown <= 0) return 0;
  const double length = IsHorizontal(ALayout) ? ALayout.Width : ALayout.Height;
  return std::max(length, 0.0) / AShown;
}

TRectF GroupButtonRect(const TButtonGroupLayout& ALayout, int APosition, int AShown) {
  const double length = GroupButtonLength(ALayout, AShown);
  const double start = APosition * length;
  if (IsHorizontal(ALayout)) return TRectF(start, 0, length, ALayout.Height);
  return TRectF(0, start, ALayout.Width, length);
}

double GroupContentLength(const TButtonGroupLayout& ALayout, int AShown) {
  return AShown <= 0 ? 0 : GroupButtonLength(ALayout, AShown) * AShown;
}

}  // namespace ostrel::skin

namespace {

ISkinButtonGroup* ButtonGroupIntfOf(TControl* AControl) {
  auto* intf = dynamic_cast<ISkinButtonGroup*>(AControl);
  if (intf == nullptr) throw Exception(QStringLiteral("This Component Do not Support ISkinButtonGroup Interface"));
  return intf;
}

void RepaintButton(TBaseSkinButton* AButton) {
  if (TSkinControlType* type = AButton->SkinControlType()) type->InvalidateControl();
}

std::vector<TBaseSkinButton*> ShownButtons(const TSkinButtonList& AList) {
  std::vector<TBaseSkinButton*> shown;
  for (int i = 0; i < AList.Count(); ++i) {
    if (AList.Items(i)->Visible()) shown.push_back(AList.Items(i));
  }
  return shown;
}

}  // namespace

// --- properties ------------------------------------------------------------------------------

TButtonGroupProperties::TButtonGroupProperties(TControl* ASkinControl)
    : TSkinControlProperties(ASkinControl),
      FButtonList(std::make_unique<TSkinButtonList>()),
      FSkinButtonGroupIntf(ButtonGroupIntfOf(ASkinControl)) {
  SkinControlIntf()->SetControlWidth(296);
  SkinControlIntf()->SetControlHeight(44);
}

TButtonGroupProperties::~TButtonGroupProperties() = default;

void TButtonGroupProperties::AssignProperties(const TSkinControlProperties* ASource) {
  TSkinControlProperties::AssignProperties(ASource);
  const auto* source = dynamic_cast<const TButtonGroupProperties*>(ASource);
  if (source == nullptr) return;
  FOrientation = source->FOrientation;
  FButtonSize = source->FButtonSize;
  FButtonSizeCalcType = source->FButtonSizeCalcType;
  LayoutButtons();
}

void TButtonGroupProperties::SetOrientation(TButtonGroupOrientation AValue) {
  if (FOrientation == AValue) return;
  FOrientation = AValue;
  LayoutButtons();
}

void TButtonGroupProperties::SetButtonSize(double AValue) {
  const double value = std::isfinite(AValue) && AValue > 0 ? AValue : 0;
  if (FButtonSize == value) return;
  FButtonSize = value;
  LayoutButtons();
}

void TButtonGroupProperties::SetButtonSizeCalcType(TButtonSizeCalcType AValue) {
  if (FButtonSizeCalcType == AValue) return;
  FButtonSizeCalcType = AValue;
  LayoutButtons();
}

TBaseSkinButton* TButtonGroupProperties::GetButton(int AIndex) const {
  if (AIndex < 0 || AIndex >= FButtonList->Count()) return nullptr;
  return FButtonList->Items(AIndex);
}

void TButtonGroupProperties::SortButtons() {
  FButtonList->SortBy([](const TBaseSkinButton* AButton) { return AButton->Prop()->StoredButtonIndex(); });
  LayoutButtons();
}

int TButtonGroupProperties::PushedButtonIndex() const {
  for (int i = 0; i < FButtonList->Count(); ++i) {
    if (FButtonList->Items(i)->Prop()->IsPushed()) return i;
  }
  return -1;
}

ostrel::skin::TButtonGroupLayout TButtonGroupProperties::Layout() const {
  return {FOrientation, FButtonSizeCalcType, FButtonSize, SkinControl()->Width(), SkinControl()->Height()};
}

void TButtonGroupProperties::LayoutButtons() {
  if (IsControlLoadingOrReading()) return;
  if (FButtonList->Count() > 0) AdjustAutoSizeBounds();
  const std::vector<TBaseSkinButton*> shown = ShownButtons(*FButtonList);
  const ostrel::skin::TButtonGroupLayout layout = Layout();
  const int count = static_cast<int>(shown.size());
  for (int i = 0; i < count; ++i) {
    const TRectF rect = ostrel::skin::GroupButtonRect(layout, i, count);
    shown[static_cast<std::size_t>(i)]->SetBounds(static_cast<float>(rect.left()), static_cast<float>(rect.top()),
                                                  static_cast<float>(rect.width()), static_cast<float>(rect.height()));
  }
}

// --- materials -------------------------------------------------------------------------------

TSkinButtonGroupMaterial::TSkinButtonGroupMaterial(TComponent* AOwner)
    : TSkinButtonGroupMaterial(AOwner, TMaterialClass::Of<TSkinButtonMaterial>()) {}

TSkinButtonGroupMaterial::TSkinButtonGroupMaterial(TComponent* AOwner, const TMaterialClass& AButtonMaterialClass)
    : TSkinControlMaterial(AOwner),
      FFirstButtonMaterial(CreateButtonMaterial(AButtonMaterialClass, QStringLiteral("FirstButtonMaterial"))),
      FLastButtonMaterial(CreateButtonMaterial(AButtonMaterialClass, QStringLiteral("LastButtonMaterial"))),
      FMiddleButtonMaterial(CreateButtonMaterial(AButtonMaterialClass, QStringLiteral("MiddleButtonMaterial"))) {}

TSkinButtonGroupMaterial::~TSkinButtonGroupMaterial() = default;

TSkinButtonMaterial* TSkinButtonGroupMaterial::CreateButtonMaterial(const TMaterialClass& AClass,
                                                                    const QString& AName) {
  std::unique_ptr<TSkinMaterial> made = AClass.Create();
  auto* material = dynamic_cast<TSkinButtonMaterial*>(made.get());
  if (material == nullptr) throw Exception(QStringLiteral("%1 is no button material").arg(AClass.ClassName()));
  material->SetName(AName);
  material->SetSubComponent(true);
  InsertComponent(made.release());
  // A change of a member's material is a change of the group's look.
  material->SetOnChange([this](TObject*) { DoChange(this); });
  return material;
}

void TSkinButtonGroupMaterial::SetIsUseFirstButtonMaterial(bool AValue) {
  if (FIsUseFirstButtonMaterial == AValue) return;
  FIsUseFirstButtonMaterial = AValue;
  DoChange(this);
}

void TSkinButtonGroupMaterial::SetIsUseLastButtonMaterial(bool AValue) {
  if (FIsUseLastButtonMaterial == AValue) return;
  FIsUseLastButtonMaterial = AValue;
  DoChange(this);
}

TSkinButtonMaterial* TSkinButtonGroupMaterial::ButtonMaterial(ostrel::skin::TGroupButtonMaterial AWhich) const {
  switch (AWhich) {
    case ostrel::skin::TGroupButtonMaterial::First: return FFirstButtonMaterial;
    case ostrel::skin::TGroupButtonMaterial::Last: return FLastButtonMaterial;
    case ostrel::skin::TGroupButtonMaterial::Middle: break;
  }
  return FMiddleButtonMaterial;
}

bool TSkinButtonGroupMaterial::SaveToDocNode(TBTNode20_Class* ADocNode) const {
  TSkinControlMaterial::SaveToDocNode(ADocNode);
  ADocNode->AddChildNode_Bool32(QStringLiteral("IsUseFirstButtonMaterial"), QStringLiteral("是否使用第一个按钮素材"),
                                FIsUseFirstButtonMaterial);
  ADocNode->AddChildNode_Bool32(QStringLiteral("IsUseLastButtonMaterial"), QStringLiteral("是否使用最后一个按钮素材"),
                                FIsUseLastButtonMaterial);
  FFirstButtonMaterial->SaveToDocNode(
      ADocNode->AddChildNode_Class(QStringLiteral("FirstButtonMaterial"), QStringLiteral("第一个按钮的素材")));
  FMiddleButtonMaterial->SaveToDocNode(
      ADocNode->AddChildNode_Class(QStringLiteral("MiddleButtonMaterial"), QStringLiteral("中间按钮的素材")));
  FLastButtonMaterial->SaveToDocNode(
      ADocNode->AddChildNode_Class(QStringLiteral("LastButtonMaterial"), QStringLiteral("最后一个按钮的素材")));
  return true;
}

bool TSkinButtonGroupMaterial::LoadFromDocNode(TBTNode20_Class* ADocNode) {
  TSkinControlMaterial::LoadFromDocNode(ADocNode);
  const TBTNodeList20& children = ADocNode->ChildNodes();
  for (int i = 0; i < children.Count(); ++i) {
    TBTNode20* child = children.GetItems(i);
    const TBTNode20_Bool32* flag = child->ConvertNode_Bool32();
    if (flag == nullptr) continue;
    if (child->NodeName() == QStringLiteral("IsUseFirstButtonMaterial")) FIsUseFirstButtonMaterial = flag->Data();
    if (child->NodeName() == QStringLiteral("IsUseLastButtonMaterial")) FIsUseLastButtonMaterial = flag->Data();
  }
  for (TSkinButtonMaterial* material : {FFirstButtonMaterial, FMiddleButtonMaterial, FLastButtonMaterial}) {
    if (TBTNode20_Class* node = ADocNode->FindChildClassNode(material->Name())) material->LoadFromDocNode(node);
  }
  return true;
}

void TSkinButtonGroupMaterial::AssignTo(TPersistent* ADest) const {
  if (auto* dest = dynamic_cast<TSkinButtonGroupMaterial*>(ADest)) {
    dest->FIsUseFirstButtonMaterial = FIsUseFirstButtonMaterial;
    dest->FIsUseLastButtonMaterial = FIsUseLastButtonMaterial;
    dest->FFirstButtonMaterial->Assign(FFirstButtonMaterial);
    dest->FMiddleButtonMaterial->Assign(FMiddleButtonMaterial);
    dest->FLastButtonMaterial->Assign(FLastButtonMaterial);
  }
  TSkinControlMaterial::AssignTo(ADest);
}

TSkinButtonGroupDefaultMaterial::TSkinButtonGroupDefaultMaterial(TComponent* AOwner)
    : TSkinButtonGroupMaterial(AOwner, TMaterialClass::Of<TSkinButtonDefaultMaterial>()) {}

TSkinButtonGroupDefaultMaterial::~TSkinButtonGroupDefaultMaterial() = default;

// --- control type ----------------------------------------------------------------------------

bool TSkinButtonGroupType::CustomBind(TControl* ASkinControl) {
  if (!TSkinControlType::CustomBind(ASkinControl)) return false;
  FSkinButtonGroupIntf = ButtonGroupIntfOf(ASkinControl);
  return true;
}

void TSkinButtonGroupType::CustomUnBind() {
  TSkinControlType::CustomUnBind();
  FSkinButtonGroupIntf = nullptr;
}

bool TSkinButtonGroupType::CalcAutoSize(double& AWidth, double& AHeight) {
  if (FSkinButtonGroupIntf == nullptr) return false;
  const TButtonGroupProperties* properties = FSkinButtonGroupIntf->GetButtonGroupProperties();
  if (properties->ButtonCount() == 0) return false;
  const ostrel::skin::TButtonGroupLayout layout = properties->Layout();
  const double length =
      ostrel::skin::GroupContentLength(layout, static_cast<int>(ShownButtons(*properties->ButtonList()).size()));
  const bool horizontal = layout.Orientation == TButtonGroupOrientation::boHorz;
  AWidth = horizontal ? length : layout.Width;
  AHeight = horizontal ? layout.Height : length;
  return true;
}

void TSkinButtonGroupType::SizeChanged() {
  TSkinControlType::SizeChanged();
  if (FSkinButtonGroupIntf != nullptr) FSkinButtonGroupIntf->GetButtonGroupProperties()->LayoutButtons();
}

// --- control ---------------------------------------------------------------------------------

TBaseSkinButtonGroup::TBaseSkinButtonGroup(TComponent* AOwner) : TSkinFireMonkeyControl(AOwner) {
  // A new group has its own size from the start, before anything asks for its properties.
  Properties();
}

TBaseSkinButtonGroup::~TBaseSkinButtonGroup() {
  FreeChildButtons();
  DestroySkinParts();
}

void TBaseSkinButtonGroup::FreeChildButtons() {
  TSkinButtonList* list = GetButtonList();
  std::vector<TBaseSkinButton*> members;
  for (int i = 0; i < list->Count(); ++i) members.push_back(list->Items(i));
  list->Clear();
  for (TBaseSkinButton* button : members) {
    try {
      button->Prop()->ForgetButtonGroup();
      if (button->Owner() == this) {
        const std::unique_ptr<TBaseSkinButton> owned(button);
      }
    } catch (const std::exception& e) {
      TBaseLog::Instance().HandleException(QString::fromUtf8(e.what()), QStringLiteral("uSkinButtonGroupType"),
                                           QStringLiteral("BriselUI TBaseSkinButtonGroup.FreeChildButtons"), QString());
    }
  }
}

TButtonGroupProperties* TBaseSkinButtonGroup::GetButtonGroupProperties() const {
  return static_cast<TButtonGroupProperties*>(Properties());
}

TSkinButtonGroupDefaultMaterial* TBaseSkinButtonGroup::SelfOwnMaterialToDefault() {
  return dynamic_cast<TSkinButtonGroupDefaultMaterial*>(SelfOwnMaterial());
}

TSkinButtonGroupDefaultMaterial* TBaseSkinButtonGroup::CurrentUseMaterialToDefault() {
  return dynamic_cast<TSkinButtonGroupDefaultMaterial*>(CurrentUseMaterial());
}

TSkinButtonMaterial* TBaseSkinButtonGroup::GetButtonMaterial(std::int32_t AButtonIndex) {
  const auto* material = dynamic_cast<TSkinButtonGroupMaterial*>(CurrentUseMaterial());
  if (material == nullptr) return nullptr;
  return material->ButtonMaterial(ostrel::skin::ChooseGroupButtonMaterial(
      AButtonIndex, GetButtonList()->Count(), material->IsUseFirstButtonMaterial(), material->IsUseLastButtonMaterial()));
}

void TBaseSkinButtonGroup::SetRadioButtonCount(int ACount, int APushedIndex, TNotifyEvent AOnClick) {
  TButtonGroupProperties* properties = GetButtonGroupProperties();
  TSkinButtonList* list = properties->ButtonList();
  const int count = std::max(ACount, 0);
  while (list->Count() > count) {
    TBaseSkinButton* last = list->Items(list->Count() - 1);
    if (last->Owner() == this) {
      const std::unique_ptr<TBaseSkinButton> owned(last);
    } else {
      last->Prop()->SetButtonGroup(nullptr);
    }
  }
  while (list->Count() < count) {
    // Owned by the group, so a stored form leaves it out: the group makes it again.
    auto* button = new TSkinFMXButton(this);
    button->Prop()->SetButtonGroup(this);
  }
  for (int i = 0; i < count; ++i) {
    TBaseSkinButton* button = list->Items(i);
    TButtonProperties* buttonProperties = button->Prop();
    if (buttonProperties->PushedGroupIndex() == 0) buttonProperties->SetPushedGroupIndex(1);
    buttonProperties->SetIsAutoPush(true);
    buttonProperties->SetButtonIndex(i);
    button->SetHitTest(true);
    button->SetOnClick(AOnClick);
  }
  if (TBaseSkinButton* pushed = properties->GetButton(APushedIndex)) pushed->Prop()->SetIsPushed(true);
}

void TBaseSkinButtonGroup::Loaded() {
  TSkinFireMonkeyControl::Loaded();
  // The writer writes members in the order they were made, not in the
  // group's order, so the numbers they stored put them back in place.
  GetButtonGroupProperties()->SortButtons();
}

void TBaseSkinButtonGroup::DoCustomMaterialChange(TObject* Sender) {
  TSkinFireMonkeyControl::DoCustomMaterialChange(Sender);
  TSkinButtonList* list = GetButtonList();
  for (int i = 0; i < list->Count(); ++i) RepaintButton(list->Items(i));
}

TSkinFMXButtonGroup::~TSkinFMXButtonGroup() = default;

void RegisterSkinButtonGroupFamily(ostrel::skin::SkinLibraryRegistration& AReg) {
  const QString classify = QStringLiteral("SkinButtonGroup");
  AReg.ControlType<TSkinButtonGroupDefaultType, TSkinButtonGroupDefaultMaterial>(classify, QStringLiteral("Default"),
                                                                                 true);
  AReg.ControlType<TSkinButtonGroupDefaultType, TSkinButtonGroupDefaultMaterial>(classify, QStringLiteral("Normal"),
                                                                                 false);
  AReg.ControlType<TSkinButtonGroupDefaultType, TSkinButtonGroupDefaultMaterial>(
      classify, QStringLiteral("NormalPushed"), false);
  AReg.ControlClass<TSkinFMXButtonGroup>();
  AReg.MaterialClass<TSkinButtonGroupDefaultMaterial>();
}
