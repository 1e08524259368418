#include "skin/controls/uSkinLabelType.h"

namespace {

ISkinLabel* LabelIntfOf(TControl* AControl) {
  auto* intf = dynamic_cast<ISkinLabel*>(AControl);
  if (intf == nullptr) throw Exception(QStringLiteral("This Component Do not Support ISkinLabel Interface"));
  return intf;
}

bool IsItemColorCode(int AColorType) { return AColorType >= 2 && AColorType <= 9; }

}  // namespace

TLabelProperties::TLabelProperties(TControl* ASkinControl)
    : TSkinControlProperties(ASkinControl), FSkinLabelIntf(LabelIntfOf(ASkinControl)) {
  SkinControlIntf()->SetControlWidth(120);
  SkinControlIntf()->SetControlHeight(22);
}

TLabelProperties::~TLabelProperties() = default;

TSkinLabelMaterial::TSkinLabelMaterial(TComponent* AOwner)
    : TSkinControlMaterial(AOwner),
      FDrawCaptionParam(CreateDrawTextParam(QStringLiteral("DrawCaptionParam"), QStringLiteral("标题绘制参数"))) {}

TSkinLabelMaterial::~TSkinLabelMaterial() = default;

TSkinLabelDefaultMaterial::~TSkinLabelDefaultMaterial() = default;

bool TSkinLabelType::CustomBind(TControl* ASkinControl) {
  if (!TSkinControlType::CustomBind(ASkinControl)) return false;
  FSkinLabelIntf = LabelIntfOf(ASkinControl);
  return true;
}

void TSkinLabelType::CustomUnBind() {
  TSkinControlType::CustomUnBind();
  FSkinLabelIntf = nullptr;
}

TRectF TSkinLabelType::GetCaptionDrawRect(const TRectF& ADrawRect) { return ADrawRect; }

bool TSkinLabelType::CustomPaint(TDrawCanvas& ACanvas, TSkinControlMaterial* AMaterial, const TRectF& ADrawRect,
                                 const TPaintData&) {
  auto* material = dynamic_cast<TSkinLabelMaterial*>(AMaterial);
  if (material == nullptr || FSkinLabelIntf == nullptr) return false;
  const QString caption = FSkinLabelIntf->GetCaption();
  if (caption.isEmpty()) return true;
  ACanvas.DrawText(material->DrawCaptionParam(), caption, GetCaptionDrawRect(ADrawRect));
  return true;
}

bool TSkinLabelType::CalcAutoSize(double& AWidth, double& AHeight) {
  auto* material = dynamic_cast<TSkinLabelMaterial*>(ControlMaterial());
  if (material == nullptr || FSkinLabelIntf == nullptr) return false;
  const TTextSize size = GetTextAutoSize(FSkinLabelIntf->GetCaption(), FSkinControl->LocalRect(),
                                         material->DrawCaptionParam());
  AWidth = size.Width;
  AHeight = size.Height;
  return true;
}

void TSkinLabelType::TextChanged() {
  TSkinControlType::TextChanged();
  if (FSkinLabelIntf != nullptr) FSkinLabelIntf->GetLabelProperties()->AdjustAutoSizeBounds();
  InvalidateControl();
}

TSkinLabel::TSkinLabel(TComponent* AOwner) : TSkinFireMonkeyControl(AOwner) {
  // A new label has its own size from the start, before anything asks for its properties.
  Properties();
}

TSkinLabel::~TSkinLabel() { DestroySkinParts(); }

QString TSkinLabel::AccessibleName() const {
  return StoredAccessibleName().isEmpty() ? Caption() : StoredAccessibleName();
}

TSkinLabelDefaultMaterial* TSkinLabel::SelfOwnMaterialToDefault() {
  return dynamic_cast<TSkinLabelDefaultMaterial*>(SelfOwnMaterial());
}

TSkinLabelDefaultMaterial* TSkinLabel::CurrentUseMaterialToDefault() {
  return dynamic_cast<TSkinLabelDefaultMaterial*>(CurrentUseMaterial());
}

bool TSkinLabel::ProcessItemColor(int AColorType, TAlphaColor AColor, TAlphaColor& AOldColor) {
  auto* material = dynamic_cast<TSkinLabelMaterial*>(SelfOwnMaterialIfAny());
  if (!IsItemColorCode(AColorType) || material == nullptr) return false;
  AOldColor = material->DrawCaptionParam()->DrawFont()->Color();
  material->DrawCaptionParam()->DrawFont()->SetColor(AColor);
  return true;
}

bool TSkinLabel::SetItemColor(int AColorType, TAlphaColor AColor) {
  TAlphaColor old = 0;
  return ProcessItemColor(AColorType, AColor, old);
}

void TSkinLabel::DoCustomMaterialChange(TObject* Sender) {
  TSkinFireMonkeyControl::DoCustomMaterialChange(Sender);
  if (!IsLoadingOrReading()) GetLabelProperties()->AdjustAutoSizeBounds();
}

TSkinFMXLabel::~TSkinFMXLabel() = default;

void RegisterSkinLabelFamily(ostrel::skin::SkinLibraryRegistration& AReg) {
  AReg.ControlType<TSkinLabelType, TSkinLabelDefaultMaterial>(QStringLiteral("SkinLabel"), QStringLiteral("Default"),
                                                              true);
  AReg.ControlClass<TSkinFMXLabel>();
  AReg.MaterialClass<TSkinLabelDefaultMaterial>();
}
