#include "skin/controls/uSkinComboBoxType.h"

#include <cmath>

namespace ostrel::skin {

TComboBoxStatePicture ChooseComboBoxStatePicture(TDPEffectStates AStates, bool AIsInteractive,
                                                 TComboBoxStatePictures AEmpty) {
  using P = TComboBoxStatePicture;
  using S = TDPEffectState;
  P choice = P::Normal;
  if (AStates.Contains(S::dpstDisabled))
    choice = P::Disabled;
  else if (AIsInteractive && AStates.Contains(S::dpstFocused))
    choice = P::Focused;
  else if (AIsInteractive && AStates.Contains(S::dpstMouseOver))
    choice = P::Hover;
  return AEmpty.Contains(choice) ? P::Normal : choice;
}

}  // namespace ostrel::skin

// --- properties ----------------------------------------------------------------------

namespace {

ISkinComboBox* RequireComboBox(TControl* AControl) {
  auto* intf = dynamic_cast<ISkinComboBox*>(AControl);
  if (intf == nullptr) throw Exception(QStringLiteral("This Component Do not Support ISkinComboBox Interface"));
  return intf;
}

}  // namespace

TComboBoxProperties::TComboBoxProperties(TControl* ASkinControl)
    : TSkinControlProperties(ASkinControl), FSkinComboBoxIntf(RequireComboBox(ASkinControl)) {
  ASkinControl->SetSize(100, 22);
}

TComboBoxProperties::~TComboBoxProperties() = default;

void TComboBoxProperties::AssignProperties(const TSkinControlProperties* ASource) {
  TSkinControlProperties::AssignProperties(ASource);
  if (const auto* source = dynamic_cast<const TComboBoxProperties*>(ASource)) FHelpText = source->FHelpText;
}

void TComboBoxProperties::SetHelpText(const QString& AValue) {
  if (AValue == FHelpText) return;
  FHelpText = AValue;
  DoPropertiesChange(this);
}

// --- material --------------------------------------------------------------------------

TSkinComboBoxDefaultMaterial::TSkinComboBoxDefaultMaterial(TComponent* AOwner)
    : TSkinControlMaterial(AOwner),
      FDrawHelpTextParam(CreateDrawTextParam(QStringLiteral("DrawHelpTextParam"), QStringLiteral("提示文本绘制参数"))),
      FDrawTextParam(CreateDrawTextParam(QStringLiteral("DrawTextParam"), QStringLiteral("在ListBox中文本的绘制参数"))),
      FArrowPicture(CreateDrawPicture(QStringLiteral("ArrowPicture"), QStringLiteral("下拉箭头图标"), QString())),
      FDrawArrowPictureParam(
          CreateDrawPictureParam(QStringLiteral("DrawArrowPictureParam"), QStringLiteral("下拉箭头图标绘制参数"))),
      FNormalPicture(CreateDrawPicture(QStringLiteral("NormalPicture"), QStringLiteral("正常状态图片"), QString())),
      FHoverPicture(CreateDrawPicture(QStringLiteral("HoverPicture"), QStringLiteral("鼠标停靠状态图片"), QString())),
      FFocusedPicture(CreateDrawPicture(QStringLiteral("FocusedPicture"), QStringLiteral("获取焦点状态图片"), QString())),
      FDisabledPicture(CreateDrawPicture(QStringLiteral("DisabledPicture"), QStringLiteral("禁用状态图片"), QString())),
      FDrawPictureParam(CreateDrawPictureParam(QStringLiteral("DrawPictureParam"), QStringLiteral("图片绘制参数"))) {
  FDrawHelpTextParam->SetFontColor(0xFF808080);
}

TSkinComboBoxDefaultMaterial::~TSkinComboBoxDefaultMaterial() = default;

TDrawPicture* TSkinComboBoxDefaultMaterial::StatePicture(ostrel::skin::TComboBoxStatePicture AWhich) const {
  using P = ostrel::skin::TComboBoxStatePicture;
  switch (AWhich) {
    case P::Hover:
      return FHoverPicture;
    case P::Focused:
      return FFocusedPicture;
    case P::Disabled:
      return FDisabledPicture;
    case P::Normal:
      break;
  }
  return FNormalPicture;
}

// --- control type ------------------------------------------------------------------------

bool TSkinComboBoxDefaultType::CustomBind(TControl* ASkinControl) {
  if (!TSkinControlType::CustomBind(ASkinControl)) return false;
  FSkinComboBoxIntf = RequireComboBox(ASkinControl);
  return true;
}

void TSkinComboBoxDefaultType::CustomUnBind() {
  FSkinComboBoxIntf = nullptr;
  TSkinControlType::CustomUnBind();
}

TComboBoxProperties* TSkinComboBoxDefaultType::ComboBoxProperties() const {
  return FSkinComboBoxIntf != nullptr ? FSkinComboBoxIntf->GetComboBoxProperties() : nullptr;
}

QString TSkinComboBoxDefaultType::ShownText(const TPaintData& APaintData) const {
  if (APaintData.IsInDrawDirectUI) return ComboBoxProperties()->DrawText();
  return FSkinComboBoxIntf->GetText();
}

bool TSkinComboBoxDefaultType::CustomPaint(TDrawCanvas& ACanvas, TSkinControlMaterial* AMaterial,
                                           const TRectF& ADrawRect, const TPaintData& APaintData) {
  auto* material = dynamic_cast<TSkinComboBoxDefaultMaterial*>(AMaterial);
  if (material == nullptr || ComboBoxProperties() == nullptr) return false;
  using P = ostrel::skin::TComboBoxStatePicture;
  ostrel::skin::TComboBoxStatePictures empty;
  for (const P which : {P::Hover, P::Focused, P::Disabled}) {
    if (material->StatePicture(which)->CurrentPictureIsEmpty()) empty.Include(which);
  }
  const P which =
      ostrel::skin::ChooseComboBoxStatePicture(GetCurrentEffectStates(), APaintData.IsDrawInteractiveState, empty);
  ACanvas.DrawPicture(material->DrawPictureParam(), material->StatePicture(which), ADrawRect);
  ACanvas.DrawPicture(material->DrawArrowPictureParam(), material->ArrowPicture(), ADrawRect);
  const QString text = ShownText(APaintData);
  if (!text.isEmpty()) ACanvas.DrawText(material->DrawTextParam(), text, ADrawRect);
  CustomPaintHelpText(ACanvas, AMaterial, ADrawRect, APaintData);
  return true;
}

void TSkinComboBoxDefaultType::CustomPaintHelpText(TDrawCanvas& ACanvas, TSkinControlMaterial* AMaterial,
                                                   const TRectF& ADrawRect, const TPaintData& APaintData) {
  auto* material = dynamic_cast<TSkinComboBoxDefaultMaterial*>(AMaterial);
  if (material == nullptr || ComboBoxProperties() == nullptr) return;
  const QString help = ComboBoxProperties()->HelpText();
  if (help.isEmpty() || !ShownText(APaintData).isEmpty()) return;
  ACanvas.DrawText(material->DrawHelpTextParam(), help, ADrawRect);
}

// --- control ---------------------------------------------------------------------------------

TSkinFMXCustomComboBox::TSkinFMXCustomComboBox(TComponent* AOwner)
    : TComboBox(AOwner), SkinControlCore(static_cast<TControl&>(*this)) {
  AddSkinEvents(EventTable());
  // The properties size the combo box, so a new one has its size at once.
  Properties();
}

TSkinFMXCustomComboBox::~TSkinFMXCustomComboBox() {
  Destroying();
  DestroySkinParts();
}

TSkinComboBoxDefaultMaterial* TSkinFMXCustomComboBox::SelfOwnMaterialToDefault() {
  return dynamic_cast<TSkinComboBoxDefaultMaterial*>(SelfOwnMaterial());
}

TSkinComboBoxDefaultMaterial* TSkinFMXCustomComboBox::CurrentUseMaterialToDefault() {
  return dynamic_cast<TSkinComboBoxDefaultMaterial*>(CurrentUseMaterial());
}

TComboBoxProperties* TSkinFMXCustomComboBox::GetComboBoxProperties() const {
  return static_cast<TComboBoxProperties*>(Properties());
}

void TSkinFMXCustomComboBox::SetText(const QString& AValue) { SetItemIndex(static_cast<int>(Items().indexOf(AValue))); }

QString TSkinFMXCustomComboBox::Value() const {
  const int index = ItemIndex();
  if (index < 0 || Count() == 0) return QString();
  if (index >= FValues.size()) throw Exception(QStringLiteral("List index out of bounds (%1)").arg(index));
  return FValues.at(index);
}

void TSkinFMXCustomComboBox::SetValue(const QString& AValue) {
  SetItemIndex(static_cast<int>(FValues.indexOf(AValue)));
}

void TSkinFMXCustomComboBox::SetIsUseDefaultStyle(bool AValue) {
  if (AValue == FIsUseDefaultStyle) return;
  FIsUseDefaultStyle = AValue;
  if (IsLoadingOrReading()) return;
  NeedStyleLookup();
  ApplyStyleLookup();
}

void TSkinFMXCustomComboBox::ApplyStyle() {
  TComboBox::ApplyStyle();
  if (FIsUseDefaultStyle) return;
  FContent = FindStyleResource(QStringLiteral("content"));
  // The skin alone draws the selected text.
  if (FContent != nullptr) FContent->SetHostDrawing(false);
  FStyleObj_background = FindStyleResource(QStringLiteral("background"));
  if (FStyleObj_background == nullptr) return;
  FStyleObj_background->SetHostDrawing(false);
  FStyleObj_background->SetOnPaint([this](TObject*, QPainter* ACanvas, const TRectF&) { SkinPaint(*ACanvas); });
}

void TSkinFMXCustomComboBox::FreeStyle() {
  FContent = nullptr;
  FStyleObj_background = nullptr;
  TComboBox::FreeStyle();
}

void TSkinFMXCustomComboBox::Invalidate() {
  if (FStyleObj_background != nullptr) FStyleObj_background->Repaint();
}

void TSkinFMXCustomComboBox::Loaded() {
  TComboBox::Loaded();
  SkinLoaded();
}

void TSkinFMXCustomComboBox::Notification(TComponent* AComponent, TOperation AOperation) {
  TComboBox::Notification(AComponent, AOperation);
  SkinNotification(AComponent, AOperation);
}

void TSkinFMXCustomComboBox::MouseDown(TMouseButton AButton, TShiftState AShift, float AX, float AY) {
  SkinMouseDownBegin();
  TComboBox::MouseDown(AButton, AShift, AX, AY);
  SkinMouseDown(AButton, AShift, AX, AY);
}

void TSkinFMXCustomComboBox::MouseMove(TShiftState AShift, float AX, float AY) {
  TComboBox::MouseMove(AShift, AX, AY);
  SkinMouseMove(AShift, AX, AY);
}

void TSkinFMXCustomComboBox::MouseUp(TMouseButton AButton, TShiftState AShift, float AX, float AY) {
  SkinMouseUpBegin();
  TComboBox::MouseUp(AButton, AShift, AX, AY);
  SkinMouseUp(AButton, AShift, AX, AY);
}

void TSkinFMXCustomComboBox::MouseWheel(TShiftState AShift, int AWheelDelta, bool& AHandled) {
  TComboBox::MouseWheel(AShift, AWheelDelta, AHandled);
  SkinMouseWheel(AShift, AWheelDelta, AHandled);
}

void TSkinFMXCustomComboBox::DoMouseEnter() {
  TComboBox::DoMouseEnter();
  ISkinControl_CustomMouseEnter();
}

void TSkinFMXCustomComboBox::DoMouseLeave() {
  TComboBox::DoMouseLeave();
  ISkinControl_CustomMouseLeave();
}

void TSkinFMXCustomComboBox::Click() { SkinClick(); }

void TSkinFMXCustomComboBox::DoEnter() {
  TComboBox::DoEnter();
  SkinFocusEnter();
}

void TSkinFMXCustomComboBox::DoExit() {
  TComboBox::DoExit();
  SkinFocusExit();
}

void TSkinFMXCustomComboBox::FocusShownChanged() {
  TComboBox::FocusShownChanged();
  SkinFocusShownChanged();
}

void TSkinFMXCustomComboBox::Resize() {
  TComboBox::Resize();
  SkinResize();
}

void TSkinFMXCustomComboBox::RecordControlLangIndex(const QString& APrefix, TLang* ALang, const QString& ACurLang) {
  SkinControlCore::RecordControlLangIndex(APrefix, ALang, ACurLang);
  if (ALang == nullptr) return;
  const QString key = APrefix + Name();
  for (int i = 0; i < Count(); ++i) {
    const QString item = ItemText(i);
    if (!item.isEmpty()) ALang->SetString(key + QStringLiteral(".Items[%1]").arg(i), ACurLang, item);
  }
  if (!Prop()->HelpText().isEmpty()) ALang->SetString(key + QStringLiteral(".HelpText"), ACurLang, Prop()->HelpText());
}

void TSkinFMXCustomComboBox::TranslateControlLang(const QString& APrefix, TLang* ALang, const QString& ACurLang) {
  SkinControlCore::TranslateControlLang(APrefix, ALang, ACurLang);
  if (ALang == nullptr) return;
  const QString key = APrefix + Name();
  for (int i = 0; i < Count(); ++i) {
    const QString text = ALang->GetString(key + QStringLiteral(".Items[%1]").arg(i), ACurLang);
    if (!text.isEmpty()) SetItemText(i, text);
  }
  const QString help = ALang->GetString(key + QStringLiteral(".HelpText"), ACurLang);
  if (!help.isEmpty()) Prop()->SetHelpText(help);
}

bool TSkinFMXCustomComboBox::LoadFromFieldControlSetting(TObject* ASetting) {
  const auto* setting = dynamic_cast<const TFieldControlSetting*>(ASetting);
  if (setting == nullptr) return false;
  const auto split = [](const QString& AText) {
    return AText.isEmpty() ? QStringList() : AText.split(u',');
  };
  FValues = split(setting->OptionsValue);
  SetItems(split(setting->OptionsCaption));
  SetItemIndex(-1);
  return true;
}

QVariant TSkinFMXCustomComboBox::GetPostValue(const QString&) {
  const int index = ItemIndex();
  if (index >= 0 && index < FValues.size()) return FValues.at(index);
  return GetText();
}

void TSkinFMXCustomComboBox::SetControlValue(const QVariant& AValue, const QString&) {
  SetText(AValue.toString());
  SetValue(AValue.toString());
}

TSkinComboBox::~TSkinComboBox() = default;

bool TSkinComboBox::IsPointerFirst() { return CanFocus() && FindParentScrollBox(); }

bool TSkinComboBox::WidgetTakesPointer() const {
  // The ancestor search only notes what it found; asking changes nothing else.
  return !const_cast<TSkinComboBox*>(this)->IsPointerFirst();
}

void TSkinComboBox::MouseUp(TMouseButton AButton, TShiftState AShift, float AX, float AY) {
  TSkinFMXCustomComboBox::MouseUp(AButton, AShift, AX, AY);
  if (!IsPointerFirst()) return;
  TSkinControlType* type = SkinControlType();
  if (type == nullptr || type->MouseDownAbsolutePt().x() == 0) return;
  const TPointF moved = type->MouseMoveAbsolutePt() - type->MouseDownAbsolutePt();
  if (std::abs(moved.x()) < 5 && std::abs(moved.y()) < 5) ReplayClickToWidget(type->MouseDownPt());
}

TSkinFMXComboBox::~TSkinFMXComboBox() = default;

void RegisterSkinComboBoxFamily(ostrel::skin::SkinLibraryRegistration& AReg) {
  AReg.ControlType<TSkinComboBoxDefaultType, TSkinComboBoxDefaultMaterial>(QStringLiteral("SkinComboBox"),
                                                                           QStringLiteral("Default"), true);
  AReg.ControlClass<TSkinFMXComboBox>();
  AReg.MaterialClass<TSkinComboBoxDefaultMaterial>();
}
