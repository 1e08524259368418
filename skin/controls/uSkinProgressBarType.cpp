#include "skin/controls/uSkinProgressBarType.h"

#include "skin/base/uBaseLog.h"

#include <algorithm>

namespace ostrel::skin {

std::int32_t ClampProgressBarPosition(std::int32_t APosition, std::int32_t AMin, std::int32_t AMax) {
  std::int32_t position = APosition;
  if (position < AMin) position = AMin;
  if (position > AMax) position = AMax;
  return position;
}

double ProgressBarLength(std::int32_t APosition, double ATrackLength, std::int32_t AMin, std::int32_t AMax) {
  const double range = static_cast<double>(AMax) - static_cast<double>(AMin);
  if (range == 0 || !(ATrackLength > 0)) return 0;
  const double length = APosition * (ATrackLength / range);
  if (!(length > 0)) return 0;
  return std::min(length, ATrackLength);
}

TRectF ProgressBarPercentRect(const TRectF& R, TProgressBarOrientation AOrientation, double ALength, bool AIsReverse) {
  TRectF rect = R;
  if (AOrientation == TProgressBarOrientation::prHorizontal) {
    if (AIsReverse)
      rect.setLeft(R.right() - ALength);
    else
      rect.setRight(R.left() + ALength);
  } else {
    if (AIsReverse)
      rect.setTop(R.bottom() - ALength);
    else
      rect.setBottom(R.top() + ALength);
  }
  return rect;
}

std::int64_t ProgressBarPercent(std::int32_t APosition, std::int32_t AMin, std::int32_t AMax) {
  const std::int64_t range = static_cast<std::int64_t>(AMax) - AMin;
  if (range == 0) return 0;
  const std::int64_t scaled = static_cast<std::int64_t>(APosition) * 100;
  std::int64_t quotient = scaled / range;
  if (scaled % range != 0 && (scaled < 0) != (range < 0)) --quotient;
  return quotient;
}

}  // namespace ostrel::skin

// --- properties ----------------------------------------------------------------------

namespace {

ISkinProgressBar* RequireProgressBar(TControl* AControl) {
  auto* intf = dynamic_cast<ISkinProgressBar*>(AControl);
  if (intf == nullptr) throw Exception(QStringLiteral("This Component Do not Support ISkinProgressBar Interface"));
  return intf;
}

}  // namespace

TProgressBarProperties::TProgressBarProperties(TControl* ASkinControl)
    : TSkinControlProperties(ASkinControl), FSkinProgressBarIntf(RequireProgressBar(ASkinControl)) {
  ASkinControl->SetSize(120, 22);
}

TProgressBarProperties::~TProgressBarProperties() = default;

void TProgressBarProperties::AssignProperties(const TSkinControlProperties* ASource) {
  TSkinControlProperties::AssignProperties(ASource);
  if (const auto* source = dynamic_cast<const TProgressBarProperties*>(ASource)) {
    FOrientation = source->FOrientation;
    FMax = source->FMax;
    FMin = source->FMin;
    FPosition = source->FPosition;
  }
}

void TProgressBarProperties::SetValues(std::int32_t APosition, std::int32_t AMin, std::int32_t AMax) {
  if (IsControlLoadingOrReading()) {
    FPosition = APosition;
    FMin = AMin;
    FMax = AMax;
    return;
  }
  const std::int32_t position = ostrel::skin::ClampProgressBarPosition(APosition, AMin, AMax);
  if (position == FPosition && AMin == FMin && AMax == FMax) return;
  FPosition = position;
  FMin = AMin;
  FMax = AMax;
  SkinControl()->AccessibleStateChanged();
  if (const TNotifyEvent& handler = FSkinProgressBarIntf->GetOnChange()) handler(this);
  if (TSkinControlType* type = SkinControlIntf()->GetSkinControlType()) type->InvalidateControl();
}

void TProgressBarProperties::ApplyLoadedValues() {
  FPosition = ostrel::skin::ClampProgressBarPosition(FPosition, FMin, FMax);
}

void TProgressBarProperties::SetOrientation(TProgressBarOrientation AValue) {
  if (AValue == FOrientation) return;
  FOrientation = AValue;
  TControl* control = SkinControl();
  if (!control->IsLoading()) control->SetSize(control->Height(), control->Width());
}

// --- materials -----------------------------------------------------------------------

TSkinProgressBarMaterial::TSkinProgressBarMaterial(TComponent* AOwner)
    : TSkinControlMaterial(AOwner),
      FDrawPercentParam(CreateDrawTextParam(QStringLiteral("DrawPercentParam"), QStringLiteral("百分比绘制参数"))),
      FDrawCaptionParam(CreateDrawTextParam(QStringLiteral("DrawCaptionParam"), QStringLiteral("标题绘制参数"))) {}

TSkinProgressBarMaterial::~TSkinProgressBarMaterial() = default;

void TSkinProgressBarMaterial::SetIsDrawPercent(bool AValue) {
  if (AValue == FIsDrawPercent) return;
  FIsDrawPercent = AValue;
  DoChange(this);
}

void TSkinProgressBarMaterial::SetIsClipPercentRect(bool AValue) {
  if (AValue == FIsClipPercentRect) return;
  FIsClipPercentRect = AValue;
  DoChange(this);
}

bool TSkinProgressBarMaterial::SaveToDocNode(TBTNode20_Class* ADocNode) const {
  TSkinControlMaterial::SaveToDocNode(ADocNode);
  ADocNode->AddChildNode_Bool32(QStringLiteral("IsDrawPercent"), QStringLiteral("是否绘制百分比文字"), FIsDrawPercent);
  return true;
}

bool TSkinProgressBarMaterial::LoadFromDocNode(TBTNode20_Class* ADocNode) {
  TSkinControlMaterial::LoadFromDocNode(ADocNode);
  const TBTNodeList20& children = ADocNode->ChildNodes();
  for (int i = 0; i < children.Count(); ++i) {
    TBTNode20* child = children.GetItems(i);
    if (child->NodeName() != QStringLiteral("IsDrawPercent")) continue;
    if (const TBTNode20_Bool32* node = child->ConvertNode_Bool32()) FIsDrawPercent = node->Data();
  }
  return true;
}

void TSkinProgressBarMaterial::AssignTo(TPersistent* ADest) const {
  if (auto* dest = dynamic_cast<TSkinProgressBarMaterial*>(ADest)) dest->FIsDrawPercent = FIsDrawPercent;
  TSkinControlMaterial::AssignTo(ADest);
}

TSkinProgressBarDefaultMaterial::TSkinProgressBarDefaultMaterial(TComponent* AOwner)
    : TSkinProgressBarMaterial(AOwner),
      FHorzBackGndPicture(CreateDrawPicture(QStringLiteral("HorzBackGndPicture"), QStringLiteral("水平样式背景图片"), QString())),
      FVertBackGndPicture(CreateDrawPicture(QStringLiteral("VertBackGndPicture"), QStringLiteral("垂直样式背景图片"), QString())),
      FHorzForeGndPicture(CreateDrawPicture(QStringLiteral("HorzForeGndPicture"), QStringLiteral("水平样式前景图片"), QString())),
      FVertForeGndPicture(CreateDrawPicture(QStringLiteral("VertForeGndPicture"), QStringLiteral("垂直样式前景图片"), QString())),
      FBackGndDrawPictureParam(
          CreateDrawPictureParam(QStringLiteral("BackGndDrawPictureParam"), QStringLiteral("背景图片绘制参数"))),
      FForeGndDrawPictureParam(
          CreateDrawPictureParam(QStringLiteral("ForeGndDrawPictureParam"), QStringLiteral("前景图片绘制参数"))) {}

TSkinProgressBarDefaultMaterial::~TSkinProgressBarDefaultMaterial() = default;

TSkinProgressBarColorMaterial::TSkinProgressBarColorMaterial(TComponent* AOwner)
    : TSkinProgressBarMaterial(AOwner),
      FForeColor(CreateDrawRectParam(QStringLiteral("ForeColor"), QStringLiteral("前景颜色"))) {}

TSkinProgressBarColorMaterial::~TSkinProgressBarColorMaterial() = default;

void TSkinProgressBarColorMaterial::SetIsReverse(bool AValue) {
  if (AValue == FIsReverse) return;
  FIsReverse = AValue;
  DoChange(this);
}

// --- control types ---------------------------------------------------------------------

bool TSkinProgressBarType::CustomBind(TControl* ASkinControl) {
  if (!TSkinControlType::CustomBind(ASkinControl)) return false;
  FSkinProgressBarIntf = RequireProgressBar(ASkinControl);
  return true;
}

void TSkinProgressBarType::CustomUnBind() {
  FSkinProgressBarIntf = nullptr;
  TSkinControlType::CustomUnBind();
}

void TSkinProgressBarType::SizeChanged() {
  TSkinControlType::SizeChanged();
  InvalidateControl();
}

TProgressBarProperties* TSkinProgressBarType::BarProperties() const {
  return FSkinProgressBarIntf != nullptr ? FSkinProgressBarIntf->GetProgressBarProperties() : nullptr;
}

TRectF TSkinProgressBarType::PercentRect(const TRectF& R, bool AIsReverse) const {
  const TProgressBarProperties& properties = *BarProperties();
  const bool horizontal = properties.Orientation() == TProgressBarOrientation::prHorizontal;
  const double track = horizontal ? R.width() : R.height();
  const double length = ostrel::skin::ProgressBarLength(properties.Position(), track, properties.Min(), properties.Max());
  return ostrel::skin::ProgressBarPercentRect(R, properties.Orientation(), length, AIsReverse);
}

const QString& TSkinProgressBarType::PercentText() {
  const TProgressBarProperties& properties = *BarProperties();
  const std::int64_t percent = ostrel::skin::ProgressBarPercent(properties.Position(), properties.Min(), properties.Max());
  if (FPercentText.isEmpty() || percent != FPercentOfText) {
    FPercentOfText = percent;
    FPercentText = QString::number(percent) + u'%';
  }
  return FPercentText;
}

void TSkinProgressBarType::PaintPercentAndCaption(TDrawCanvas& ACanvas, TSkinProgressBarMaterial& AMaterial,
                                                  const TRectF& R) {
  if (AMaterial.IsDrawPercent()) ACanvas.DrawText(AMaterial.DrawPercentParam(), PercentText(), R);
  const QString caption = FSkinControlIntf->GetCaption();
  if (!caption.isEmpty()) ACanvas.DrawText(AMaterial.DrawCaptionParam(), caption, R);
}

bool TSkinProgressBarDefaultType::CustomPaint(TDrawCanvas& ACanvas, TSkinControlMaterial* AMaterial,
                                              const TRectF& ADrawRect, const TPaintData&) {
  auto* material = dynamic_cast<TSkinProgressBarDefaultMaterial*>(AMaterial);
  if (material == nullptr || BarProperties() == nullptr) return false;
  const bool horizontal = BarProperties()->Orientation() == TProgressBarOrientation::prHorizontal;
  TDrawPicture* back = horizontal ? material->HorzBackGndPicture() : material->VertBackGndPicture();
  TDrawPicture* fore = horizontal ? material->HorzForeGndPicture() : material->VertForeGndPicture();
  // Both pictures keep their ends at every length and stretch only in the middle.
  const TPictureStretchStyle stretch =
      horizontal ? TPictureStretchStyle::issThreePartHorz : TPictureStretchStyle::issThreePartVert;
  material->BackGndDrawPictureParam()->SetStretchStyle(stretch);
  material->ForeGndDrawPictureParam()->SetStretchStyle(stretch);

  ACanvas.DrawPicture(material->BackGndDrawPictureParam(), back, ADrawRect);
  const TRectF percentRect = PercentRect(ADrawRect, false);
  if (material->IsClipPercentRect()) {
    const TScopedCanvasClip clip(ACanvas, percentRect);
    ACanvas.DrawPicture(material->ForeGndDrawPictureParam(), fore, ADrawRect);
  } else {
    ACanvas.DrawPicture(material->ForeGndDrawPictureParam(), fore, percentRect);
  }
  PaintPercentAndCaption(ACanvas, *material, ADrawRect);
  return true;
}

namespace {

QString DescribeRect(const TRectF& ARect) {
  return QStringLiteral("%1,%2,%3,%4,")
      .arg(ARect.left())
      .arg(ARect.top())
      .arg(ARect.width())
      .arg(ARect.height());
}

}  // namespace

bool TSkinProgressBarColorType::CustomPaint(TDrawCanvas& ACanvas, TSkinControlMaterial* AMaterial,
                                            const TRectF& ADrawRect, const TPaintData&) {
  auto* material = dynamic_cast<TSkinProgressBarColorMaterial*>(AMaterial);
  if (material == nullptr || BarProperties() == nullptr) return false;
  int step = 0;
  TRectF percentRect;
  try {
    step = 1;
    percentRect = PercentRect(ADrawRect, material->IsReverse());
    if (material->IsClipPercentRect()) {
      step = 2;
      const TScopedCanvasClip clip(ACanvas, percentRect);
      step = 3;
      ACanvas.DrawRect(material->ForeColor(), ADrawRect);
    } else {
      step = 3;
      ACanvas.DrawRect(material->ForeColor(), percentRect);
    }
    step = 4;
    if (material->IsDrawPercent()) ACanvas.DrawText(material->DrawPercentParam(), PercentText(), ADrawRect);
    step = 5;
    const QString caption = FSkinControlIntf->GetCaption();
    if (!caption.isEmpty()) ACanvas.DrawText(material->DrawCaptionParam(), caption, ADrawRect);
    step = 6;
  } catch (const std::exception& e) {
    TBaseLog::Instance().HandleException(
        QString::fromUtf8(e.what()), QStringLiteral("uSkinProgressBarType"),
        QStringLiteral("TSkinProgressBarColorType.CustomPaint GetUpSpaceDrawRect %1 %2").arg(step).arg(DescribeRect(percentRect)),
        QString());
    return false;
  }
  return true;
}

// --- controls ------------------------------------------------------------------------------

TSkinProgressBar::TSkinProgressBar(TComponent* AOwner) : TSkinFireMonkeyControl(AOwner) {
  EventTable().Add(QStringLiteral("OnChange"), FOnChange);
  // The properties size the bar, so a new bar has its size at once.
  Properties();
}

TSkinProgressBar::~TSkinProgressBar() = default;

QString TSkinProgressBar::AccessibleValue() const {
  const TProgressBarProperties& p = *Prop();
  return QStringLiteral("%1%").arg(ostrel::skin::ProgressBarPercent(p.Position(), p.Min(), p.Max()));
}

TSkinProgressBarDefaultMaterial* TSkinProgressBar::SelfOwnMaterialToDefault() {
  return dynamic_cast<TSkinProgressBarDefaultMaterial*>(SelfOwnMaterial());
}

TSkinProgressBarDefaultMaterial* TSkinProgressBar::CurrentUseMaterialToDefault() {
  return dynamic_cast<TSkinProgressBarDefaultMaterial*>(CurrentUseMaterial());
}

void TSkinProgressBar::SetOnChange(TNotifyEvent AValue) {
  FOnChange = std::move(AValue);
  // A handler set in code has no name a stored form could keep.
  EventTable().Forget(QStringLiteral("OnChange"));
}

TProgressBarProperties* TSkinProgressBar::GetProgressBarProperties() const {
  return static_cast<TProgressBarProperties*>(Properties());
}

void TSkinProgressBar::BindingItemValue(const QVariant& AValue) {
  if (AValue.typeId() == QMetaType::Int) {
    Prop()->SetStaticPosition(AValue.toInt());
    return;
  }
  BindingItemText(AValue.toString());
}

void TSkinProgressBar::BindingItemText(const QString& AText) { Prop()->SetStaticPosition(AText.toInt()); }

void TSkinProgressBar::Loaded() {
  Prop()->ApplyLoadedValues();
  TSkinFireMonkeyControl::Loaded();
}

void TSkinProgressBar::DoCustomMaterialChange(TObject* Sender) {
  TSkinFireMonkeyControl::DoCustomMaterialChange(Sender);
  if (!IsLoadingOrReading()) Prop()->AdjustAutoSizeBounds();
}

TSkinFMXProgressBar::~TSkinFMXProgressBar() = default;

void RegisterSkinProgressBarFamily(ostrel::skin::SkinLibraryRegistration& AReg) {
  AReg.ControlType<TSkinProgressBarDefaultType, TSkinProgressBarDefaultMaterial>(QStringLiteral("SkinProgressBar"),
                                                                                 QStringLiteral("Default"), true);
  AReg.ControlType<TSkinProgressBarColorType, TSkinProgressBarColorMaterial>(QStringLiteral("SkinProgressBar"),
                                                                             QStringLiteral("Color"), false);
  AReg.ControlClass<TSkinFMXProgressBar>();
  AReg.MaterialClass<TSkinProgressBarDefaultMaterial>();
  AReg.MaterialClass<TSkinProgressBarColorMaterial>();
}
