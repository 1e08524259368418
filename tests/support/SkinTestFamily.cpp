#include "tests/support/SkinTestFamily.h"

TTestBoxProperties::TTestBoxProperties(TControl* ASkinControl) : TSkinControlProperties(ASkinControl) {}

TTestBoxProperties::~TTestBoxProperties() = default;

void TTestBoxProperties::BeforeDestruction() {
  if (FailOnRelease) throw Exception(QStringLiteral("properties release failed"));
}

TSkinTestBoxMaterial::TSkinTestBoxMaterial(TComponent* AOwner)
    : TSkinControlMaterial(AOwner),
      FDrawCaptionParam(CreateDrawTextParam(QStringLiteral("DrawCaptionParam"), QStringLiteral("标题绘制参数"))),
      FIconPicture(CreateDrawPicture(QStringLiteral("IconPicture"), QStringLiteral("图标"), QString())) {}

TSkinTestBoxMaterial::~TSkinTestBoxMaterial() = default;

TSkinTestBoxDerivedMaterial::~TSkinTestBoxDerivedMaterial() = default;

TSkinTestOtherMaterial::~TSkinTestOtherMaterial() = default;

bool TSkinTestBoxType::CustomPaint(TDrawCanvas& ACanvas, TSkinControlMaterial* AMaterial, const TRectF& ADrawRect,
                                   const TPaintData&) {
  auto* material = dynamic_cast<TSkinTestBoxMaterial*>(AMaterial);
  if (material == nullptr || FSkinControlIntf == nullptr) return false;
  ACanvas.DrawText(material->DrawCaptionParam(), FSkinControlIntf->GetCaption(), ADrawRect);
  return true;
}

bool TSkinTestBoxType::CalcAutoSize(double& AWidth, double& AHeight) {
  if (FSkinControlIntf == nullptr) return false;
  AWidth = 10.0 * static_cast<double>(FSkinControlIntf->GetCaption().size());
  AHeight = 20;
  return true;
}

TSkinTestBox::TSkinTestBox(TComponent* AOwner) : TSkinFireMonkeyControl(AOwner) {}

TSkinTestBox::~TSkinTestBox() = default;

void TSkinTestBox::Invalidate() {
  ++InvalidateCount;
  TSkinFireMonkeyControl::Invalidate();
}

namespace test_support {

void RegisterSkinTestFamily(ostrel::skin::SkinLibraryRegistration& AReg) {
  AReg.ControlType<TSkinTestBoxType, TSkinTestBoxMaterial>(QStringLiteral("SkinTestBox"), QStringLiteral("Default"), true);
  AReg.ControlType<TSkinTestBoxOtherType, TSkinTestBoxMaterial>(QStringLiteral("SkinTestBox"), QStringLiteral("Other"),
                                                                false);
  AReg.ControlType<TSkinControlType, TSkinTestOtherMaterial>(QStringLiteral("SkinTestOther"), QStringLiteral("Default"),
                                                             true);
  AReg.ControlClass<TSkinTestBox>();
  AReg.ControlClass<TSkinTestOther>();
  AReg.MaterialClass<TSkinTestBoxMaterial>();
  AReg.MaterialClass<TSkinTestBoxDerivedMaterial>();
  AReg.MaterialClass<TSkinTestOtherMaterial>();
}

void StartSkinTestFamily() {
  ostrel::skin::StartSkinLibrary({&ostrel::skin::RegisterSkinCoreFamily, &RegisterSkinTestFamily});
}

}  // namespace test_support
