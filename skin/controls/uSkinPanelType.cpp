#include "skin/controls/uSkinPanelType.h"

namespace {

ISkinPanel* PanelIntfOf(TControl* AControl) {
  auto* intf = dynamic_cast<ISkinPanel*>(AControl);
  if (intf == nullptr) throw Exception(QStringLiteral("This Component Do not Support ISkinPanel Interface"));
  return intf;
}

}  // namespace

namespace ostrel::skin {

TRectF PanelCaptionRect(const TRectF& ADrawRect, bool AIsToolBar, const QString& AName, double APaddingTop) {
  if (!AIsToolBar && AName != QStringLiteral("pnlToolBar")) return ADrawRect;
  return TRectF(QPointF(ADrawRect.left(), ADrawRect.top() + APaddingTop), QPointF(ADrawRect.width(), ADrawRect.height()));
}

}  // namespace ostrel::skin

TPanelProperties::TPanelProperties(TControl* ASkinControl)
    : TSkinControlProperties(ASkinControl), FSkinPanelIntf(PanelIntfOf(ASkinControl)) {
  SkinControlIntf()->SetControlWidth(200);
  SkinControlIntf()->SetControlHeight(50);
}

TPanelProperties::~TPanelProperties() = default;

void TPanelProperties::AssignProperties(const TSkinControlProperties* ASource) {
  TSkinControlProperties::AssignProperties(ASource);
  if (const auto* source = dynamic_cast<const TPanelProperties*>(ASource)) FIsToolBar = source->FIsToolBar;
}

TSkinPanelMaterial::TSkinPanelMaterial(TComponent* AOwner)
    : TSkinControlMaterial(AOwner),
      FDrawCaptionParam(CreateDrawTextParam(QStringLiteral("DrawCaptionParam"), QStringLiteral("标题绘制参数"))) {}

TSkinPanelMaterial::~TSkinPanelMaterial() = default;

void TSkinPanelMaterial::CreateBackgroundPicture() {
  if (FBackgroundPicture) return;
  FBackgroundPicture = std::make_unique<TDrawPicture>();
  FDrawPictureParam = CreateDrawPictureParam(QStringLiteral("DrawPictureParam"), QStringLiteral("图片绘制参数"));
}

TSkinPanelDefaultMaterial::~TSkinPanelDefaultMaterial() = default;

bool TSkinPanelType::CustomBind(TControl* ASkinControl) {
  if (!TSkinControlType::CustomBind(ASkinControl)) return false;
  FSkinPanelIntf = PanelIntfOf(ASkinControl);
  return true;
}

void TSkinPanelType::CustomUnBind() {
  TSkinControlType::CustomUnBind();
  FSkinPanelIntf = nullptr;
}

bool TSkinPanelType::CustomPaint(TDrawCanvas& ACanvas, TSkinControlMaterial* AMaterial, const TRectF& ADrawRect,
                                 const TPaintData&) {
  auto* material = dynamic_cast<TSkinPanelMaterial*>(AMaterial);
  if (material == nullptr || FSkinPanelIntf == nullptr) return false;
  if (material->BackgroundPicture() != nullptr && material->DrawPictureParam() != nullptr) {
    ACanvas.DrawPicture(material->DrawPictureParam(), material->BackgroundPicture(), ADrawRect);
  }
  const QString caption = FSkinControlIntf->GetCaption();
  if (caption.isEmpty()) return true;
  const TRectF captionRect =
      ostrel::skin::PanelCaptionRect(ADrawRect, FSkinPanelIntf->GetPanelProperties()->IsToolBar(),
                                     FSkinControl->Name(), FSkinControl->Padding()->Top());
  ACanvas.DrawText(material->DrawCaptionParam(), caption, captionRect);
  return true;
}

void TSkinPanelType::TextChanged() {
  TSkinControlType::TextChanged();
  InvalidateControl();
}

TBaseSkinPanel::TBaseSkinPanel(TComponent* AOwner) : TSkinFireMonkeyControl(AOwner) {
  // A new panel has its own size from the start, before anything asks for its properties.
  Properties();
}

TBaseSkinPanel::~TBaseSkinPanel() { DestroySkinParts(); }

TSkinPanelDefaultMaterial* TBaseSkinPanel::SelfOwnMaterialToDefault() {
  return dynamic_cast<TSkinPanelDefaultMaterial*>(SelfOwnMaterial());
}

TSkinPanelDefaultMaterial* TBaseSkinPanel::CurrentUseMaterialToDefault() {
  return dynamic_cast<TSkinPanelDefaultMaterial*>(CurrentUseMaterial());
}

TSkinPanel::~TSkinPanel() = default;

TSkinFMXPanel::~TSkinFMXPanel() = default;

void RegisterSkinPanelFamily(ostrel::skin::SkinLibraryRegistration& AReg) {
  AReg.ControlType<TSkinPanelType, TSkinPanelDefaultMaterial>(QStringLiteral("SkinPanel"), QStringLiteral("Default"),
                                                              true);
  AReg.ControlClass<TSkinFMXPanel>();
  AReg.MaterialClass<TSkinPanelDefaultMaterial>();
}
