#include "skin/controls/uSkinButtonType.h"

#include "skin/host/Form.h"

#include <algorithm>

namespace ostrel::skin {

TButtonStatePicture ChooseButtonStatePicture(TDPEffectStates AStates, bool AIsInteractive,
                                             TButtonStatePictures AEmpty) {
  using P = TButtonStatePicture;
  using S = TDPEffectState;
  const bool pushed = AStates.Contains(S::dpstPushed);
  const bool disabled = AStates.Contains(S::dpstDisabled);
  const bool focused = AIsInteractive && !disabled && AStates.Contains(S::dpstFocused);
  P choice = P::Normal;
  if (disabled)
    choice = P::Disabled;
  else if (AIsInteractive && AStates.Contains(S::dpstMouseDown))
    choice = P::Down;
  else if (AIsInteractive && AStates.Contains(S::dpstMouseOver))
    choice = P::Hover;
  else if (pushed)
    choice = P::Pushed;
  else if (focused)
    choice = P::Focused;
  if (focused && AEmpty.Contains(choice)) choice = P::Focused;
  if (AEmpty.Contains(choice)) choice = pushed ? P::Pushed : P::Normal;
  if (AEmpty.Contains(choice)) choice = P::Normal;
  return choice;
}

TButtonBlockLayout CenterIconAndCaption(const TRectF& R, double AIconWidth, double ACaptionWidth,
                                        bool AIsIconAfterCaption) {
  TRectF block = R;
  block.setLeft(R.left() + (R.width() - (AIconWidth + ACaptionWidth)) / 2);
  TButtonBlockLayout layout;
  if (AIsIconAfterCaption) {
    layout.Caption = block;
    block.setLeft(block.left() + ACaptionWidth);
    block.setRight(block.left() + AIconWidth);
    layout.Icon = block;
  } else {
    layout.Icon = block;
    if (AIconWidth > 0) block.setLeft(block.left() + AIconWidth);
    layout.Caption = block;
  }
  return layout;
}

TGroupButtonMaterial ChooseGroupButtonMaterial(std::int32_t AButtonIndex, std::int32_t AButtonCount,
                                               bool AIsUseFirstButtonMaterial, bool AIsUseLastButtonMaterial) {
  if (AButtonIndex == 0 && AIsUseFirstButtonMaterial) return TGroupButtonMaterial::First;
  if (AButtonCount <= 1) return TGroupButtonMaterial::Middle;
  if (AButtonIndex == AButtonCount - 1 && AIsUseLastButtonMaterial) return TGroupButtonMaterial::Last;
  return TGroupButtonMaterial::Middle;
}

}  // namespace ostrel::skin

// --- the member list of a button group --------------------------------------------------------

int TSkinButtonList::IndexOf(const TBaseSkinButton* AButton) const {
  const auto it = std::find(FItems.begin(), FItems.end(), AButton);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TSkinButtonList::Remove(const TBaseSkinButton* AButton) {
  std::erase(FItems, AButton);
}

void TSkinButtonList::Move(int AFrom, int ATo) {
  if (AFrom == ATo) return;
  const auto from = FItems.begin() + AFrom;
  const auto to = FItems.begin() + ATo;
  if (AFrom < ATo) {
    std::rotate(from, from + 1, to + 1);
  } else {
    std::rotate(to, from, from + 1);
  }
}

void TSkinButtonList::SortBy(const std::function<std::int32_t(const TBaseSkinButton*)>& AKey) {
  std::stable_sort(FItems.begin(), FItems.end(),
                   [&AKey](const TBaseSkinButton* A, const TBaseSkinButton* B) { return AKey(A) < AKey(B); });
}

// --- properties -------------------------------------------------------------------------

namespace {

using ostrel::skin::TButtonStatePicture;

ISkinButton* ButtonIntfOf(TControl* AControl) {
  auto* intf = dynamic_cast<ISkinButton*>(AControl);
  if (intf == nullptr) throw Exception(QStringLiteral("This Component Do not Support ISkinButton Interface"));
  return intf;
}

void RepaintControl(ISkinControl* AControl) {
  if (AControl == nullptr) return;
  if (TSkinControlType* type = AControl->GetSkinControlType()) type->InvalidateControl();
}

// Puts a parameter's value back without a change notification when drawing ends, also when it fails.
template <class TValue, class TSetter>
class StaticRestore {
 public:
  StaticRestore(TValue AOld, TSetter ASetter) : FOld(AOld), FSetter(ASetter) {}
  ~StaticRestore() { FSetter(FOld); }
  StaticRestore(const StaticRestore&) = delete;
  StaticRestore& operator=(const StaticRestore&) = delete;

 private:
  TValue FOld;
  TSetter FSetter;
};

}  // namespace

TBaseButtonProperties::TBaseButtonProperties(TControl* ASkinControl)
    : TSkinControlProperties(ASkinControl),
      FIcon(CreateDrawPicture(QStringLiteral("Icon"), QStringLiteral("按钮图标"), QString())),
      FPushedIcon(CreateDrawPicture(QStringLiteral("PushedIcon"), QStringLiteral("按钮按下图标"), QString())),
      FSkinButtonIntf(ButtonIntfOf(ASkinControl)) {
  SkinControlIntf()->SetControlWidth(100);
  SkinControlIntf()->SetControlHeight(40);
}

TBaseButtonProperties::~TBaseButtonProperties() {
  if (ISkinButtonGroup* group = SkinButtonGroupIntf()) {
    if (TSkinButtonList* list = group->GetButtonList()) list->Remove(dynamic_cast<TBaseSkinButton*>(SkinControl()));
    group->ButtonsVisibleChanged();
  }
}

void TBaseButtonProperties::AssignProperties(const TSkinControlProperties* ASource) {
  TSkinControlProperties::AssignProperties(ASource);
  const auto* source = dynamic_cast<const TBaseButtonProperties*>(ASource);
  if (source == nullptr) return;
  FIsPushed = source->FIsPushed;
  FIsAutoPush = source->FIsAutoPush;
  FPushedGroupIndex = source->FPushedGroupIndex;
  FIcon->Assign(source->FIcon.get());
  FPushedIcon->Assign(source->FPushedIcon.get());
}

void TBaseButtonProperties::SetIsPushed(bool AValue) {
  if (FIsPushed == AValue) return;
  bool hasGroupSibling = false;
  TControl* const self = SkinControl();
  const QList<TControl*>* siblings = nullptr;
  if (const TControl* parent = self->ParentControl()) {
    siblings = &parent->Controls();
  } else if (const auto* form = dynamic_cast<const TForm*>(self->Parent())) {
    siblings = &form->Controls();
  }
  if (!IsControlLoadingOrReading() && FPushedGroupIndex != 0 && siblings != nullptr) {
    for (TControl* child : *siblings) {
      auto* sibling = child != self ? dynamic_cast<ISkinButton*>(child) : nullptr;
      TBaseButtonProperties* siblingProperties = sibling != nullptr ? sibling->GetButtonProperties() : nullptr;
      if (siblingProperties == nullptr || siblingProperties->FPushedGroupIndex != FPushedGroupIndex) continue;
      hasGroupSibling = true;
      if (!FIsPushed && siblingProperties->FIsPushed) {
        siblingProperties->FIsPushed = false;
        RepaintControl(siblingProperties->SkinControlIntf());
      }
    }
  }
  if (FPushedGroupIndex == 0 || AValue || !hasGroupSibling) FIsPushed = AValue;
  RepaintControl(SkinControlIntf());
}

void TBaseButtonProperties::SetHelpText(const QString& AValue) {
  if (FHelpText == AValue) return;
  FHelpText = AValue;
  RepaintControl(SkinControlIntf());
}

std::int32_t TBaseButtonProperties::ButtonIndex() const {
  ISkinButtonGroup* group = SkinButtonGroupIntf();
  TSkinButtonList* list = group != nullptr ? group->GetButtonList() : nullptr;
  FButtonIndex = list != nullptr ? list->IndexOf(dynamic_cast<const TBaseSkinButton*>(SkinControl())) : -1;
  return FButtonIndex;
}

void TBaseButtonProperties::SetButtonIndex(std::int32_t AValue) {
  if (IsControlLoadingOrReading()) {
    FButtonIndex = AValue;
    return;
  }
  ISkinButtonGroup* group = SkinButtonGroupIntf();
  TSkinButtonList* list = group != nullptr ? group->GetButtonList() : nullptr;
  if (list == nullptr || AValue < 0 || AValue > list->Count() - 1) return;
  const int current = list->IndexOf(dynamic_cast<const TBaseSkinButton*>(SkinControl()));
  if (current < 0) return;
  list->Move(current, AValue);
  FButtonIndex = AValue;
  group->ButtonsSizeChanged();
}

void TBaseButtonProperties::SetButtonGroup(TControl* AValue) {
  if (FButtonGroup.data() == AValue) return;
  auto* const self = dynamic_cast<TBaseSkinButton*>(SkinControl());
  if (!FButtonGroup.isNull()) {
    ISkinButtonGroup* old = SkinButtonGroupIntf();
    SkinControl()->SetParent(nullptr);
    if (old != nullptr) {
      if (TSkinButtonList* list = old->GetButtonList()) list->Remove(self);
      // The group left behind closes the gap.
      old->ButtonsVisibleChanged();
    }
    ForgetButtonGroup();
  }
  auto* const group = dynamic_cast<ISkinButtonGroup*>(AValue);
  if (TSkinButtonList* list = group != nullptr ? group->GetButtonList() : nullptr; list != nullptr && list->IndexOf(self) < 0) {
    // The parent first: it refuses a group inside the button, and the list stays as it was.
    SkinControl()->SetParent(AValue);
    list->Add(self);
  }
  FButtonGroup = AValue;
  FSkinButtonGroupIntf = group;
  if (group != nullptr) group->ButtonsVisibleChanged();
}

void TBaseButtonProperties::ForgetButtonGroup() {
  FButtonGroup.clear();
  FSkinButtonGroupIntf = nullptr;
}

TDrawPicture* TBaseButtonProperties::CurrentIcon() const {
  if (FIsPushed && !FPushedIcon->CurrentPictureIsEmpty()) return FPushedIcon.get();
  return FIcon.get();
}

TButtonProperties::~TButtonProperties() = default;

// --- materials ------------------------------------------------------------------------------

TSkinButtonMaterial::TSkinButtonMaterial(TComponent* AOwner)
    : TSkinControlMaterial(AOwner),
      FDrawHelpTextParam(CreateDrawTextParam(QStringLiteral("DrawHelpTextParam"), QStringLiteral("提示文本绘制参数"))),
      FDrawCaptionParam(CreateDrawTextParam(QStringLiteral("DrawCaptionParam"), QStringLiteral("标题绘制参数"))),
      FDrawDetailParam(CreateDrawTextParam(QStringLiteral("DrawDetailParam"), QStringLiteral("明细绘制参数"))),
      FDrawDetail1Param(CreateDrawTextParam(QStringLiteral("DrawDetail1Param"), QStringLiteral("明细1绘制参数"))),
      FDrawIconParam(CreateDrawPictureParam(QStringLiteral("DrawIconParam"), QStringLiteral("图标绘制参数"))) {
  FDrawHelpTextParam->DrawFont()->SetColor(0xFF808080);
}

TSkinButtonMaterial::~TSkinButtonMaterial() = default;

void TSkinButtonMaterial::SetIsAutoCenterIconAndCaption(bool AValue) {
  if (FIsAutoCenterIconAndCaption == AValue) return;
  FIsAutoCenterIconAndCaption = AValue;
  DoChange(this);
}

TSkinButtonDefaultMaterial::TSkinButtonDefaultMaterial(TComponent* AOwner)
    : TSkinButtonMaterial(AOwner),
      FNormalPicture(CreateDrawPicture(QStringLiteral("NormalPicture"), QStringLiteral("正常状态图片"),
                                       QStringLiteral("所有状态图片"))),
      FHoverPicture(CreateDrawPicture(QStringLiteral("HoverPicture"), QStringLiteral("鼠标停靠状态图片"),
                                      QStringLiteral("所有状态图片"))),
      FDownPicture(CreateDrawPicture(QStringLiteral("DownPicture"), QStringLiteral("鼠标按下状态图片"),
                                     QStringLiteral("所有状态图片"))),
      FDisabledPicture(CreateDrawPicture(QStringLiteral("DisabledPicture"), QStringLiteral("禁用状态图片"),
                                         QStringLiteral("所有状态图片"))),
      FFocusedPicture(CreateDrawPicture(QStringLiteral("FocusedPicture"), QStringLiteral("得到焦点状态图片"),
                                        QStringLiteral("所有状态图片"))),
      FPushedPicture(CreateDrawPicture(QStringLiteral("PushedPicture"), QStringLiteral("按下状态图片"),
                                       QStringLiteral("所有状态图片"))),
      FDrawPictureParam(CreateDrawPictureParam(QStringLiteral("DrawPictureParam"), QStringLiteral("背景图片绘制参数"))) {}

TSkinButtonDefaultMaterial::~TSkinButtonDefaultMaterial() = default;

TDrawPicture* TSkinButtonDefaultMaterial::StatePicture(TButtonStatePicture AWhich) const {
  switch (AWhich) {
    case TButtonStatePicture::Normal: return FNormalPicture;
    case TButtonStatePicture::Hover: return FHoverPicture;
    case TButtonStatePicture::Down: return FDownPicture;
    case TButtonStatePicture::Disabled: return FDisabledPicture;
    case TButtonStatePicture::Focused: return FFocusedPicture;
    case TButtonStatePicture::Pushed: return FPushedPicture;
  }
  return FNormalPicture;
}

// --- control types -----------------------------------------------------------------------------

bool TSkinButtonType::CustomBind(TControl* ASkinControl) {
  if (!TSkinControlType::CustomBind(ASkinControl)) return false;
  FSkinButtonIntf = ButtonIntfOf(ASkinControl);
  return true;
}

void TSkinButtonType::CustomUnBind() {
  TSkinControlType::CustomUnBind();
  FSkinButtonIntf = nullptr;
}

TBaseButtonProperties* TSkinButtonType::ButtonProperties() const {
  return FSkinButtonIntf != nullptr ? FSkinButtonIntf->GetButtonProperties() : nullptr;
}

TSkinControlMaterial* TSkinButtonType::GetPaintCurrentUseMaterial() {
  if (TBaseButtonProperties* properties = ButtonProperties()) {
    if (ISkinButtonGroup* group = properties->SkinButtonGroupIntf()) {
      if (TSkinButtonMaterial* material = group->GetButtonMaterial(properties->ButtonIndex())) return material;
    }
  }
  return ControlMaterial();
}

TDPEffectStates TSkinButtonType::CalcCurrentEffectStates() {
  TDPEffectStates states = TSkinControlType::CalcCurrentEffectStates();
  if (TBaseButtonProperties* properties = ButtonProperties(); properties != nullptr && properties->IsPushed()) {
    states.Include(TDPEffectState::dpstPushed);
  }
  return states;
}

TDPEffectStates TSkinButtonType::GetCurrentEffectStates() {
  TDPEffectStates states = TSkinControlType::GetCurrentEffectStates();
  if (TBaseButtonProperties* properties = ButtonProperties(); properties != nullptr && properties->IsPushed()) {
    states.Include(TDPEffectState::dpstPushed);
  }
  return states;
}

double TSkinButtonType::IconDrawWidth(TSkinButtonMaterial& AMaterial, const TRectF& R) const {
  TBaseButtonProperties* properties = ButtonProperties();
  if (properties == nullptr) return 0;
  TDrawPicture* icon = properties->CurrentIcon();
  if (icon->CurrentPictureIsEmpty()) return 0;
  const TRectF area = AMaterial.DrawIconParam()->CalcDrawRect(R);
  return ostrel::skin::PlacePicture(icon->CurrentPictureWidth(), icon->CurrentPictureHeight(), area,
                                    ostrel::skin::PlacementOf(*AMaterial.DrawIconParam()))
      .width();
}

double TSkinButtonType::CaptionWidth(TDrawTextParam& AParam, const QString& ACaption, const TRectF& R) {
  const QString fontName = AParam.CurrentEffectFontName();
  const double fontSize = AParam.CurrentEffectFontSize();
  const TFontStyles fontStyle = AParam.CurrentEffectFontStyle();
  if (!FCaptionWidth || FCaptionWidth->Caption != ACaption || FCaptionWidth->Rect != R ||
      FCaptionWidth->FontName != fontName || FCaptionWidth->FontSize != fontSize || FCaptionWidth->FontStyle != fontStyle) {
    FCaptionWidth = MeasuredCaption{ACaption, R, fontName, fontSize, fontStyle, GetStringSize(ACaption, R, &AParam).Width};
  }
  return FCaptionWidth->Width;
}

bool TSkinButtonType::CustomPaint(TDrawCanvas& ACanvas, TSkinControlMaterial* AMaterial, const TRectF& ADrawRect,
                                  const TPaintData&) {
  auto* material = dynamic_cast<TSkinButtonMaterial*>(AMaterial);
  TBaseButtonProperties* properties = ButtonProperties();
  if (material == nullptr || properties == nullptr) return false;
  TDrawPicture* const icon = properties->CurrentIcon();
  TDrawPictureParam* const iconParam = material->DrawIconParam();
  TDrawTextParam* const captionParam = material->DrawCaptionParam();
  const QString caption = FSkinControlIntf->GetCaption();
  const bool hasIcon = !icon->CurrentPictureIsEmpty();

  if (!material->IsAutoCenterIconAndCaption()) {
    ACanvas.DrawPicture(iconParam, icon, ADrawRect);
    ACanvas.DrawText(captionParam, caption, ADrawRect);
  } else if (hasIcon && caption.isEmpty()) {
    const auto restore = [iconParam](TPictureHorzAlign AOld) { iconParam->SetStaticPictureHorzAlign(AOld); };
    const StaticRestore<TPictureHorzAlign, decltype(restore)> guard(iconParam->PictureHorzAlign(), restore);
    iconParam->SetStaticPictureHorzAlign(TPictureHorzAlign::phaCenter);
    ACanvas.DrawPicture(iconParam, icon, ADrawRect);
  } else if (!hasIcon && !caption.isEmpty()) {
    const auto restore = [captionParam](TFontHorzAlign AOld) { captionParam->SetStaticFontHorzAlign(AOld); };
    const StaticRestore<TFontHorzAlign, decltype(restore)> guard(captionParam->FontHorzAlign(), restore);
    captionParam->SetStaticFontHorzAlign(TFontHorzAlign::fhaCenter);
    ACanvas.DrawText(captionParam, caption, ADrawRect);
  } else {
    const double iconWidth = IconDrawWidth(*material, ADrawRect);
    const double captionWidth = caption.isEmpty() ? 0 : CaptionWidth(*captionParam, caption, ADrawRect);
    const bool iconAfterCaption = iconParam->PictureHorzAlign() == TPictureHorzAlign::phaRight;
    const ostrel::skin::TButtonBlockLayout block =
        ostrel::skin::CenterIconAndCaption(ADrawRect, iconWidth, captionWidth, iconAfterCaption);
    if (iconAfterCaption) {
      ACanvas.DrawText(captionParam, caption, block.Caption);
      ACanvas.DrawPicture(iconParam, icon, block.Icon);
    } else {
      ACanvas.DrawPicture(iconParam, icon, block.Icon);
      ACanvas.DrawText(captionParam, caption, block.Caption);
    }
  }

  ACanvas.DrawText(material->DrawDetailParam(), FSkinButtonIntf->GetDetail(), ADrawRect);
  ACanvas.DrawText(material->DrawDetail1Param(), FSkinButtonIntf->GetDetail1(), ADrawRect);
  if (caption.isEmpty() && !properties->HelpText().isEmpty()) {
    ACanvas.DrawText(material->DrawHelpTextParam(), properties->HelpText(), ADrawRect);
  }
  return true;
}

bool TSkinButtonType::CalcAutoSize(double& AWidth, double& AHeight) {
  auto* material = dynamic_cast<TSkinButtonMaterial*>(GetPaintCurrentUseMaterial());
  if (material == nullptr || FSkinControl == nullptr) return false;
  const TRectF area(0, 0, FSkinControl->Width(), FSkinControl->Height());
  const TTextSize size =
      GetTextAutoSize(FSkinControlIntf->GetCaption(), area, material->DrawCaptionParam());
  AWidth = size.Width;
  AHeight = size.Height;
  if (material->IsAutoCenterIconAndCaption()) AWidth += IconDrawWidth(*material, area);
  return true;
}

void TSkinButtonType::TextChanged() {
  TSkinControlType::TextChanged();
  if (TBaseButtonProperties* properties = ButtonProperties()) properties->AdjustAutoSizeBounds();
  InvalidateControl();
}

bool TSkinButtonDefaultType::CustomPaint(TDrawCanvas& ACanvas, TSkinControlMaterial* AMaterial, const TRectF& ADrawRect,
                                         const TPaintData& APaintData) {
  if (auto* material = dynamic_cast<TSkinButtonDefaultMaterial*>(AMaterial)) {
    ostrel::skin::TButtonStatePictures empty;
    for (const TButtonStatePicture which : {TButtonStatePicture::Normal, TButtonStatePicture::Hover,
                                            TButtonStatePicture::Down, TButtonStatePicture::Disabled,
                                            TButtonStatePicture::Focused, TButtonStatePicture::Pushed}) {
      if (material->StatePicture(which)->CurrentPictureIsEmpty()) empty.Include(which);
    }
    const TButtonStatePicture choice =
        ostrel::skin::ChooseButtonStatePicture(GetCurrentEffectStates(), APaintData.IsDrawInteractiveState, empty);
    ACanvas.DrawPicture(material->DrawPictureParam(), material->StatePicture(choice), ADrawRect);
  }
  return TSkinButtonType::CustomPaint(ACanvas, AMaterial, ADrawRect, APaintData);
}

// --- control ---------------------------------------------------------------------------------

TBaseSkinButton::TBaseSkinButton(TComponent* AOwner) : TSkinFireMonkeyControl(AOwner) {
  SetCanFocus(true);
  // A new button has its own size from the start, before anything asks for its properties.
  Properties();
}

QString TBaseSkinButton::AccessibleName() const {
  if (!StoredAccessibleName().isEmpty() || Caption().isEmpty()) return TSkinFireMonkeyControl::AccessibleName();
  return Caption();
}

TBaseSkinButton::~TBaseSkinButton() { DestroySkinParts(); }

TButtonProperties* TBaseSkinButton::GetButtonProperties() const {
  return static_cast<TButtonProperties*>(Properties());
}

TSkinButtonDefaultMaterial* TBaseSkinButton::SelfOwnMaterialToDefault() {
  return dynamic_cast<TSkinButtonDefaultMaterial*>(SelfOwnMaterial());
}

TSkinButtonDefaultMaterial* TBaseSkinButton::CurrentUseMaterialToDefault() {
  return dynamic_cast<TSkinButtonDefaultMaterial*>(CurrentUseMaterial());
}

void TBaseSkinButton::SetDetail(const QString& AValue) {
  if (FDetail == AValue) return;
  FDetail = AValue;
  RepaintControl(this);
}

void TBaseSkinButton::SetDetail1(const QString& AValue) {
  if (FDetail1 == AValue) return;
  FDetail1 = AValue;
  RepaintControl(this);
}

void TBaseSkinButton::Click() {
  TButtonProperties* properties = GetButtonProperties();
  if (properties->IsAutoPush()) properties->SetIsPushed(!properties->IsPushed());
  TSkinFireMonkeyControl::Click();
}

void TBaseSkinButton::SetParentComponent(TComponent* AParent) {
  TSkinFireMonkeyControl::SetParentComponent(AParent);
  if (!ComponentState().Contains(TComponentStateItem::csReading)) return;
  if (auto* group = dynamic_cast<TControl*>(AParent); dynamic_cast<ISkinButtonGroup*>(group) != nullptr) {
    GetButtonProperties()->SetButtonGroup(group);
  }
}

bool TBaseSkinButton::LoadFromFieldControlSetting(TObject* ASetting) {
  const auto* setting = dynamic_cast<const TFieldControlSetting*>(ASetting);
  if (setting == nullptr) return false;
  SetCaption(setting->Caption);
  return true;
}

void TBaseSkinButton::BindingItemObject(TObject* AObject) {
  ostrel::skin::BindReferencePicture(*GetButtonProperties()->Icon(), dynamic_cast<TSkinPicture*>(AObject));
  RepaintControl(this);
}

void TBaseSkinButton::DoCustomMaterialChange(TObject* Sender) {
  if (auto* type = dynamic_cast<TSkinButtonType*>(SkinControlType())) type->ForgetCaptionWidth();
  TSkinFireMonkeyControl::DoCustomMaterialChange(Sender);
  if (!IsLoadingOrReading()) GetButtonProperties()->AdjustAutoSizeBounds();
}

void TBaseSkinButton::RecordControlLangIndex(const QString& APrefix, TLang* ALang, const QString& ACurLang) {
  TSkinFireMonkeyControl::RecordControlLangIndex(APrefix, ALang, ACurLang);
  if (ALang == nullptr) return;
  const QString key = APrefix + Name();
  if (!FDetail.isEmpty()) ALang->SetString(key + QStringLiteral(".Detail"), ACurLang, FDetail);
  if (!FDetail1.isEmpty()) ALang->SetString(key + QStringLiteral(".Detail1"), ACurLang, FDetail1);
  const QString helpText = GetButtonProperties()->HelpText();
  if (!helpText.isEmpty()) ALang->SetString(key + QStringLiteral(".HelpText"), ACurLang, helpText);
}

void TBaseSkinButton::TranslateControlLang(const QString& APrefix, TLang* ALang, const QString& ACurLang) {
  TSkinFireMonkeyControl::TranslateControlLang(APrefix, ALang, ACurLang);
  if (ALang == nullptr) return;
  const QString key = APrefix + Name();
  if (const QString text = ALang->GetString(key + QStringLiteral(".Detail"), ACurLang); !text.isEmpty()) SetDetail(text);
  if (const QString text = ALang->GetString(key + QStringLiteral(".Detail1"), ACurLang); !text.isEmpty()) {
    SetDetail1(text);
  }
  if (const QString text = ALang->GetString(key + QStringLiteral(".HelpText"), ACurLang); !text.isEmpty()) {
    GetButtonProperties()->SetHelpText(text);
  }
}

TSkinFMXButton::~TSkinFMXButton() = default;

void RegisterSkinButtonFamily(ostrel::skin::SkinLibraryRegistration& AReg) {
  AReg.ControlType<TSkinButtonDefaultType, TSkinButtonDefaultMaterial>(QStringLiteral("SkinButton"),
                                                                       QStringLiteral("Default"), true);
  AReg.ControlType<TSkinButtonDefaultType, TSkinButtonDefaultMaterial>(QStringLiteral("SkinButton"),
                                                                       QStringLiteral("Normal"), false);
  AReg.ControlType<TSkinButtonDefaultType, TSkinButtonDefaultMaterial>(QStringLiteral("SkinButton"),
                                                                       QStringLiteral("NormalPushed"), false);
  AReg.ControlClass<TSkinFMXButton>();
  AReg.MaterialClass<TSkinButtonDefaultMaterial>();
}
