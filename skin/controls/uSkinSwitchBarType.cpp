#include "skin/controls/uSkinSwitchBarType.h"

#include <cmath>

namespace ostrel::skin {

double ClampSwitchBarPosition(double APosition, double AMin, double AMax) {
  double position = APosition;
  if (!(position >= AMin)) position = AMin;
  if (position > AMax) position = AMax;
  return position;
}

double SwitchBarValuePixel(double AValue, double ALength, double AMin, double AMax) {
  const double range = AMax - AMin;
  if (range == 0) return 0;
  const double pixel = std::nearbyint(AValue * ALength / range);
  return std::isfinite(pixel) ? pixel : 0;
}

TRectF SwitchBarKnobRect(double AWidth, double AHeight, TSwitchBarOrientation AOrientation, double APixel,
                         double AKnobSize) {
  const bool horizontal = AOrientation == TSwitchBarOrientation::srHorizontal;
  const double length = horizontal ? AWidth : AHeight;
  const double half = AKnobSize / 2;
  double start = 0;
  if (APixel >= length - half) {
    start = APixel - half;
    if (start > length - AKnobSize) start = length - AKnobSize;
  } else if (APixel >= half) {
    start = APixel - half;
  }
  TRectF rect(0, 0, AWidth, AHeight);
  if (horizontal) {
    rect.setLeft(start);
    rect.setRight(start + AKnobSize);
  } else {
    rect.setTop(start);
    rect.setBottom(start + AKnobSize);
  }
  return rect;
}

TRectF SwitchBarForeGndRect(double AWidth, double AHeight, TSwitchBarOrientation AOrientation, double APixel,
                            double AKnobSize) {
  const bool horizontal = AOrientation == TSwitchBarOrientation::srHorizontal;
  double end = APixel > AKnobSize ? APixel + AKnobSize / 2 : APixel;
  const double length = horizontal ? AWidth : AHeight;
  if (end > length) end = length;
  return horizontal ? TRectF(0, 0, end, AHeight) : TRectF(0, 0, AWidth, end);
}

double SwitchBarDragPosition(double AAxis, double AMouseDownOffset, double AKnobSize, double ALength, double AMin,
                             double AMax) {
  const double q = AAxis - AMouseDownOffset - AKnobSize / 2;
  const double span = ALength - AKnobSize;
  if (!(span > 0)) return AMin;
  return AMin + q * (AMax - AMin) / span;
}

}  // namespace ostrel::skin

// --- properties ----------------------------------------------------------------------

namespace {

ISkinSwitchBar* RequireSwitchBar(TControl* AControl) {
  auto* intf = dynamic_cast<ISkinSwitchBar*>(AControl);
  if (intf == nullptr) throw Exception(QStringLiteral("This Component Do not Support ISkinSwitchBar Interface"));
  return intf;
}

}  // namespace

TSwitchBarProperties::TSwitchBarProperties(TControl* ASkinControl)
    : TSkinControlProperties(ASkinControl),
      FSwitchBtnState(std::make_unique<TSkinSwitchBarBtnState>()),
      FSkinSwitchBarIntf(RequireSwitchBar(ASkinControl)) {
  ASkinControl->SetSize(44, 22);
}

TSwitchBarProperties::~TSwitchBarProperties() = default;

void TSwitchBarProperties::AssignProperties(const TSkinControlProperties* ASource) {
  TSkinControlProperties::AssignProperties(ASource);
  if (const auto* source = dynamic_cast<const TSwitchBarProperties*>(ASource)) {
    FOrientation = source->FOrientation;
    FMax = source->FMax;
    FMin = source->FMin;
    FPosition = source->FPosition;
    FDrawPosition = source->FDrawPosition;
  }
}

TSkinSwitchBarBtnState* TSwitchBarProperties::SwitchBtnState() {
  if (!FSwitchBtnState) FSwitchBtnState = std::make_unique<TSkinSwitchBarBtnState>();
  return FSwitchBtnState.get();
}

void TSwitchBarProperties::Repaint() {
  if (IsControlLoadingOrReading()) return;
  if (TSkinControlType* type = SkinControlIntf()->GetSkinControlType()) type->InvalidateControl();
}

void TSwitchBarProperties::SetValues(double APosition, double AMin, double AMax) {
  const double position = ostrel::skin::ClampSwitchBarPosition(APosition, AMin, AMax);
  if (position == FPosition && AMin == FMin && AMax == FMax) return;
  FPosition = position;
  FMin = AMin;
  FMax = AMax;
  if (IsControlLoadingOrReading()) return;
  SkinControl()->AccessibleStateChanged();
  if (const TNotifyEvent& handler = FSkinSwitchBarIntf->GetOnChange()) handler(this);
  Repaint();
}

void TSwitchBarProperties::SetDrawPosition(double AValue) {
  const double position = ostrel::skin::ClampSwitchBarPosition(AValue, FMin, FMax);
  if (position == FDrawPosition) return;
  FDrawPosition = position;
  Repaint();
}

void TSwitchBarProperties::SetChecked(bool AValue) {
  if (AValue == Checked()) return;
  SetPosition(AValue ? FMax : FMin);
}

void TSwitchBarProperties::SetStaticChecked(bool AValue) {
  if (AValue != Checked()) FPosition = AValue ? FMax : FMin;
}

void TSwitchBarProperties::SetDrawChecked(bool AValue) {
  if (AValue != DrawChecked()) FDrawPosition = AValue ? FMax : FMin;
}

void TSwitchBarProperties::SetOrientation(TSwitchBarOrientation AValue) {
  if (AValue == FOrientation) return;
  FOrientation = AValue;
  TControl* control = SkinControl();
  if (!control->IsLoading()) control->SetSize(control->Height(), control->Width());
}

// --- materials -----------------------------------------------------------------------

TSkinSwitchBarMaterial::~TSkinSwitchBarMaterial() = default;

namespace {

const QString kHorzKnobGroup = QStringLiteral("水平样式移动滑块所有状态图片");
const QString kVertKnobGroup = QStringLiteral("垂直样式移动滑块所有状态图片");

}  // namespace

TSkinSwitchBarDefaultMaterial::TSkinSwitchBarDefaultMaterial(TComponent* AOwner)
    : TSkinSwitchBarMaterial(AOwner),
      FHorzSwitchBtnHoverPicture(CreateDrawPicture(QStringLiteral("HorzSwitchBtnHoverPicture"),
                                                   QStringLiteral("鼠标停靠状态水平样式移动滑块图片"), kHorzKnobGroup)),
      FHorzSwitchBtnNormalPicture(CreateDrawPicture(QStringLiteral("HorzSwitchBtnNormalPicture"),
                                                    QStringLiteral("正常状态水平样式移动滑块图片"), kHorzKnobGroup)),
      FHorzSwitchBtnDisabledPicture(CreateDrawPicture(QStringLiteral("HorzSwitchBtnDisabledPicture"),
                                                      QStringLiteral("禁用状态水平样式移动滑块图片"), kHorzKnobGroup)),
      FHorzSwitchBtnDownPicture(CreateDrawPicture(QStringLiteral("HorzSwitchBtnDownPicture"),
                                                  QStringLiteral("按下状态水平样式移动滑块鼠标图片"), kHorzKnobGroup)),
      FVertSwitchBtnHoverPicture(CreateDrawPicture(QStringLiteral("VertSwitchBtnHoverPicture"),
                                                   QStringLiteral("鼠标停靠状态垂直样式移动滑块图片"), kVertKnobGroup)),
      FVertSwitchBtnNormalPicture(CreateDrawPicture(QStringLiteral("VertSwitchBtnNormalPicture"),
                                                    QStringLiteral("正常状态垂直样式移动滑块图片"), kVertKnobGroup)),
      FVertSwitchBtnDisabledPicture(CreateDrawPicture(QStringLiteral("VertSwitchBtnDisabledPicture"),
                                                      QStringLiteral("禁用状态垂直样式移动滑块图片"), kVertKnobGroup)),
      FVertSwitchBtnDownPicture(CreateDrawPicture(QStringLiteral("VertSwitchBtnDownPicture"),
                                                  QStringLiteral("鼠标按下状态垂直样式移动滑块图片"), kVertKnobGroup)),
      FHorzBackGndPicture(CreateDrawPicture(QStringLiteral("HorzBackGndPicture"), QStringLiteral("水平样式背景图片"), QString())),
      FVertBackGndPicture(CreateDrawPicture(QStringLiteral("VertBackGndPicture"), QStringLiteral("垂直样式背景图片"), QString())),
      FHorzForeGndPicture(CreateDrawPicture(QStringLiteral("HorzForeGndPicture"), QStringLiteral("水平样式前景图片"), QString())),
      FVertForeGndPicture(CreateDrawPicture(QStringLiteral("VertForeGndPicture"), QStringLiteral("垂直样式前景图片"), QString())),
      FBackGndDrawPictureParam(
          CreateDrawPictureParam(QStringLiteral("BackGndDrawPictureParam"), QStringLiteral("背景图片绘制参数"))),
      FForeGndDrawPictureParam(
          CreateDrawPictureParam(QStringLiteral("ForeGndDrawPictureParam"), QStringLiteral("前景图片绘制参数"))),
      FSwitchBtnDrawPictureParam(
          CreateDrawPictureParam(QStringLiteral("SwitchBtnDrawPictureParam"), QStringLiteral("移动滑块图片绘制参数"))) {}

TSkinSwitchBarDefaultMaterial::~TSkinSwitchBarDefaultMaterial() = default;

void TSkinSwitchBarDefaultMaterial::SetSwitchBtnDrawSize(std::int32_t AValue) {
  if (AValue == FSwitchBtnDrawSize) return;
  FSwitchBtnDrawSize = AValue;
  DoChange(this);
}

void TSkinSwitchBarDefaultMaterial::SetIsDrawForeAndBackGround(bool AValue) {
  if (AValue == FIsDrawForeAndBackGround) return;
  FIsDrawForeAndBackGround = AValue;
  DoChange(this);
}

// --- control types ---------------------------------------------------------------------

bool TSkinSwitchBarType::CustomBind(TControl* ASkinControl) {
  if (!TSkinControlType::CustomBind(ASkinControl)) return false;
  FSkinSwitchBarIntf = RequireSwitchBar(ASkinControl);
  return true;
}

void TSkinSwitchBarType::CustomUnBind() {
  FSkinSwitchBarIntf = nullptr;
  TSkinControlType::CustomUnBind();
}

TSwitchBarProperties* TSkinSwitchBarType::BarProperties() const {
  return FSkinSwitchBarIntf != nullptr ? FSkinSwitchBarIntf->GetSwitchBarProperties() : nullptr;
}

TDPEffectStates TSkinSwitchBarType::CalcCurrentEffectStates() {
  TDPEffectStates states = TSkinControlType::CalcCurrentEffectStates();
  if (BarProperties() != nullptr && BarProperties()->Checked()) states.Include(TDPEffectState::dpstPushed);
  return states;
}

double TSkinSwitchBarType::GetSwitchBtnDrawSize() {
  throw Exception(QStringLiteral("Have Not Implement TBinaryObjectList.GetSwitchBtnDrawSize"));
}

TRectF TSkinSwitchBarType::GetSwitchBtnDrawRect(double) {
  throw Exception(QStringLiteral("Have Not Implement TSkinSwitchBarType.GetSwitchBtnDrawRect"));
}

double TSkinSwitchBarType::TrackLength() const {
  const TSwitchBarProperties& properties = *BarProperties();
  return properties.Orientation() == TSwitchBarOrientation::srHorizontal ? FSkinControl->Width()
                                                                           : FSkinControl->Height();
}

bool TSkinSwitchBarType::IsOnKnob(float X, float Y) {
  const TPointF point(X, Y);
  return TRectF(0, 0, FSkinControl->Width(), FSkinControl->Height()).contains(point) &&
         GetSwitchBtnDrawRect(BarProperties()->Position()).contains(point);
}

void TSkinSwitchBarType::CustomMouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
  TSkinControlType::CustomMouseDown(Button, Shift, X, Y);
  if (FSkinControl == nullptr || BarProperties() == nullptr) return;
  FMouseMovePt = TPointF(X, Y);
  TSkinSwitchBarBtnState& state = *BarProperties()->SwitchBtnState();
  const bool grabbed = IsOnKnob(X, Y);
  const bool changed = grabbed != state.MouseDown;
  state.MouseDown = grabbed;
  if (grabbed) state.MouseDownPt = TPointF(X, Y);
  if (changed) InvalidateControl();
}

void TSkinSwitchBarType::CustomMouseMove(TShiftState Shift, float X, float Y) {
  TSkinControlType::CustomMouseMove(Shift, X, Y);
  if (FSkinControl == nullptr || BarProperties() == nullptr) return;
  TSwitchBarProperties& properties = *BarProperties();
  TSkinSwitchBarBtnState& state = *properties.SwitchBtnState();
  const bool hover = IsOnKnob(X, Y);
  if (hover != state.MouseHover) {
    state.MouseHover = hover;
    InvalidateControl();
  }
  if (!state.MouseDown) return;
  const bool horizontal = properties.Orientation() == TSwitchBarOrientation::srHorizontal;
  const double axis = horizontal ? X : Y;
  const double delta = axis - (horizontal ? state.MouseDownPt.x() : state.MouseDownPt.y());
  if (delta == 0) return;
  properties.SetPosition(ostrel::skin::SwitchBarDragPosition(axis, state.MouseDownOffset, GetSwitchBtnDrawSize(),
                                                             TrackLength(), properties.Min(), properties.Max()));
  state.MouseDownPt = TPointF(X, Y);
}

void TSkinSwitchBarType::CustomMouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
  TSkinControlType::CustomMouseUp(Button, Shift, X, Y);
  if (FSkinControl == nullptr || BarProperties() == nullptr) return;
  FMouseUpPt = TPointF(X, Y);
  TSkinSwitchBarBtnState& state = *BarProperties()->SwitchBtnState();
  if (!state.MouseDown) return;
  state.MouseDown = false;
  InvalidateControl();
}

void TSkinSwitchBarType::CustomMouseLeave() {
  TSkinControlType::CustomMouseLeave();
  if (FSkinControl == nullptr || BarProperties() == nullptr) return;
  TSkinSwitchBarBtnState& state = *BarProperties()->SwitchBtnState();
  if (!state.MouseHover) return;
  state.MouseHover = false;
  InvalidateControl();
}

void TSkinSwitchBarType::SizeChanged() {
  TSkinControlType::SizeChanged();
  InvalidateControl();
}

double TSkinSwitchBarDefaultType::GetSwitchBtnDrawSize() {
  auto* material = dynamic_cast<TSkinSwitchBarDefaultMaterial*>(GetPaintCurrentUseMaterial());
  if (material == nullptr || BarProperties() == nullptr) return 0;
  if (material->SwitchBtnDrawSize() != 0) return material->SwitchBtnDrawSize();
  if (BarProperties()->Orientation() == TSwitchBarOrientation::srHorizontal) {
    return material->HorzSwitchBtnNormalPicture()->CurrentPictureDrawWidth();
  }
  return material->VertSwitchBtnNormalPicture()->CurrentPictureDrawHeight();
}

TRectF TSkinSwitchBarDefaultType::GetSwitchBtnDrawRect(double AValue) {
  if (FSkinControl == nullptr || BarProperties() == nullptr) return {};
  const TSwitchBarProperties& properties = *BarProperties();
  const double pixel = ostrel::skin::SwitchBarValuePixel(AValue, TrackLength(), properties.Min(), properties.Max());
  return ostrel::skin::SwitchBarKnobRect(FSkinControl->Width(), FSkinControl->Height(), properties.Orientation(), pixel,
                                         GetSwitchBtnDrawSize());
}

bool TSkinSwitchBarDefaultType::CustomPaint(TDrawCanvas& ACanvas, TSkinControlMaterial* AMaterial,
                                            const TRectF& ADrawRect, const TPaintData& APaintData) {
  auto* material = dynamic_cast<TSkinSwitchBarDefaultMaterial*>(AMaterial);
  if (material == nullptr || BarProperties() == nullptr) return false;
  TSwitchBarProperties& properties = *BarProperties();
  const bool interactive = APaintData.IsDrawInteractiveState;
  const double value = interactive ? properties.Position() : properties.DrawPosition();
  const bool horizontal = properties.Orientation() == TSwitchBarOrientation::srHorizontal;
  TDrawPicture* back = horizontal ? material->HorzBackGndPicture() : material->VertBackGndPicture();
  TDrawPicture* fore = horizontal ? material->HorzForeGndPicture() : material->VertForeGndPicture();
  TDrawPicture* normal = horizontal ? material->HorzSwitchBtnNormalPicture() : material->VertSwitchBtnNormalPicture();
  const TSkinSwitchBarBtnState& state = *properties.SwitchBtnState();
  TDrawPicture* knob = normal;
  if (interactive && state.MouseDown)
    knob = horizontal ? material->HorzSwitchBtnDownPicture() : material->VertSwitchBtnDownPicture();
  else if (interactive && state.MouseHover)
    knob = horizontal ? material->HorzSwitchBtnHoverPicture() : material->VertSwitchBtnHoverPicture();
  if (knob->CurrentPictureIsEmpty()) knob = normal;

  const TPointF origin = ADrawRect.topLeft();
  const double knobSize = GetSwitchBtnDrawSize();
  if (material->IsDrawForeAndBackGround()) {
    ACanvas.DrawPicture(material->BackGndDrawPictureParam(), back, ADrawRect);
    const double pixel = ostrel::skin::SwitchBarValuePixel(value, TrackLength(), properties.Min(), properties.Max());
    const TRectF foreRect = ostrel::skin::SwitchBarForeGndRect(FSkinControl->Width(), FSkinControl->Height(),
                                                               properties.Orientation(), pixel, knobSize);
    ACanvas.DrawPicture(material->ForeGndDrawPictureParam(), fore, foreRect.translated(origin));
  } else if (properties.Checked()) {
    ACanvas.DrawPicture(material->ForeGndDrawPictureParam(), fore, ADrawRect);
  } else {
    ACanvas.DrawPicture(material->BackGndDrawPictureParam(), back, ADrawRect);
  }
  ACanvas.DrawPicture(material->SwitchBtnDrawPictureParam(), knob, GetSwitchBtnDrawRect(value).translated(origin));
  return true;
}

// --- controls ------------------------------------------------------------------------------

TSkinSwitchBar::TSkinSwitchBar(TComponent* AOwner) : TSkinFireMonkeyControl(AOwner) {
  SetCanFocus(true);
  EventTable().Add(QStringLiteral("OnChange"), FOnChange);
  // The properties size the bar, so a new bar has its size at once.
  Properties();
}

TSkinSwitchBar::~TSkinSwitchBar() = default;

TSkinSwitchBarDefaultMaterial* TSkinSwitchBar::SelfOwnMaterialToDefault() {
  return dynamic_cast<TSkinSwitchBarDefaultMaterial*>(SelfOwnMaterial());
}

TSkinSwitchBarDefaultMaterial* TSkinSwitchBar::CurrentUseMaterialToDefault() {
  return dynamic_cast<TSkinSwitchBarDefaultMaterial*>(CurrentUseMaterial());
}

void TSkinSwitchBar::SetOnChange(TNotifyEvent AValue) {
  FOnChange = std::move(AValue);
  // A handler set in code has no name a stored form could keep.
  EventTable().Forget(QStringLiteral("OnChange"));
}

TSwitchBarProperties* TSkinSwitchBar::GetSwitchBarProperties() const {
  return static_cast<TSwitchBarProperties*>(Properties());
}

void TSkinSwitchBar::StayClick() {
  Prop()->SetChecked(!Prop()->Checked());
  TSkinFireMonkeyControl::StayClick();
}

void TSkinSwitchBar::DoCustomMaterialChange(TObject* Sender) {
  TSkinFireMonkeyControl::DoCustomMaterialChange(Sender);
  if (!IsLoadingOrReading()) Prop()->AdjustAutoSizeBounds();
}

TSkinFMXSwitchBar::~TSkinFMXSwitchBar() = default;

void RegisterSkinSwitchBarFamily(ostrel::skin::SkinLibraryRegistration& AReg) {
  AReg.ControlType<TSkinSwitchBarDefaultType, TSkinSwitchBarDefaultMaterial>(QStringLiteral("SkinSwitchBar"),
                                                                             QStringLiteral("Default"), true);
  AReg.ControlClass<TSkinFMXSwitchBar>();
  AReg.MaterialClass<TSkinSwitchBarDefaultMaterial>();
}
