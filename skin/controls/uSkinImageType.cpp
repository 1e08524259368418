#include "skin/controls/uSkinImageType.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ostrel::skin {

int RotateTimerInterval(double ARotateSpeed) {
  constexpr double kMax = std::numeric_limits<int>::max();
  const double interval = std::ceil(ARotateSpeed * 10);
  if (!(interval >= 1)) return 1;
  return static_cast<int>(std::min(interval, kMax));
}

std::int32_t NextRotateAngle(std::int32_t AAngle, std::int32_t AIncrement) {
  const std::int64_t start = AAngle >= 360 ? 0 : AAngle;
  const std::int64_t angle = start + AIncrement;
  if (angle > 360) return 360;
  return static_cast<std::int32_t>(std::max<std::int64_t>(angle, std::numeric_limits<std::int32_t>::min()));
}

std::int32_t NextFrameImageIndex(std::int32_t AIndex, std::int32_t ACount) {
  if (ACount <= 1) return AIndex;
  const std::int64_t next = (static_cast<std::int64_t>(AIndex) + 1) % ACount;
  return static_cast<std::int32_t>(next < 0 ? next + ACount : next);
}

}  // namespace ostrel::skin

namespace {

ISkinImage* ImageIntfOf(TControl* AControl) {
  auto* intf = dynamic_cast<ISkinImage*>(AControl);
  if (intf == nullptr) throw Exception(QStringLiteral("This Component Do not Support ISkinImage Interface"));
  return intf;
}

// The image list a picture is taken from when that list holds pictures, else none.
TSkinBaseImageList* FilledImageListOf(const TDrawPicture& APicture) {
  TSkinBaseImageList* list = APicture.SkinImageList();
  return list != nullptr && list->Count() > 0 ? list : nullptr;
}

}  // namespace

TImageProperties::TImageProperties(TControl* ASkinControl)
    : TSkinControlProperties(ASkinControl),
      FPicture(CreateDrawPicture(QStringLiteral("Image.Picture"), QStringLiteral("Image.图片"), QString())),
      FSkinImageIntf(ImageIntfOf(ASkinControl)) {
  FPicture->SetGIFSupport(true);
  FPicture->SetOnAnimateRePaint([this](TObject*) { Repaint(); });
  SkinControlIntf()->SetControlWidth(120);
  SkinControlIntf()->SetControlHeight(100);
}

TImageProperties::~TImageProperties() = default;

void TImageProperties::Repaint() {
  if (TSkinControlType* type = SkinControlIntf()->GetSkinControlType()) type->InvalidateControl();
}

void TImageProperties::AssignProperties(const TSkinControlProperties* ASource) {
  TSkinControlProperties::AssignProperties(ASource);
  const auto* source = dynamic_cast<const TImageProperties*>(ASource);
  if (source == nullptr) return;
  FPicture->Assign(source->FPicture.get());
  FAnimated = source->FAnimated;
  FAnimateSpeed = source->FAnimateSpeed;
  FRotated = source->FRotated;
  FRotateSpeed = source->FRotateSpeed;
  FRotateIncrement = source->FRotateIncrement;
}

void TImageProperties::DoPropertiesChange(TObject* Sender) {
  AdjustAutoSizeBounds();
  TSkinControlProperties::DoPropertiesChange(Sender);
}

TSkinBaseGIFPictureEngine* TImageProperties::GIFEngine() const {
  return dynamic_cast<TSkinBaseGIFPictureEngine*>(FPicture->SkinPictureEngine());
}

void TImageProperties::SetAnimated(bool AValue) {
  if (FAnimated == AValue) return;
  FAnimated = AValue;
  if (TSkinBaseGIFPictureEngine* engine = GIFEngine()) engine->SetAnimated(AValue);
}

void TImageProperties::SetAnimateSpeed(double AValue) {
  if (FAnimateSpeed == AValue) return;
  FAnimateSpeed = AValue;
  if (TSkinBaseGIFPictureEngine* engine = GIFEngine()) engine->SetAnimateSpeed(AValue);
}

void TImageProperties::SetGIFDelayExp(std::int32_t AValue) {
  if (FGIFDelayExp == AValue) return;
  FGIFDelayExp = std::max<std::int32_t>(AValue, 1);
  if (TSkinBaseGIFPictureEngine* engine = GIFEngine()) engine->SetGIFDelayExp(FGIFDelayExp);
}

void TImageProperties::SetCurrentRotateAngle(std::int32_t AValue) {
  if (FCurrentRotateAngle == AValue) return;
  FCurrentRotateAngle = AValue;
  Repaint();
}

void TImageProperties::SetRotated(bool AValue) {
  if (FRotated == AValue) return;
  FRotated = AValue;
  if (AValue && !FRotateTimer) {
    FRotateTimer = std::make_unique<TTimer>();
    FRotateTimer->SetEnabled(false);
    FRotateTimer->SetInterval(ostrel::skin::RotateTimerInterval(FRotateSpeed));
    FRotateTimer->SetOnTimer([this](TObject*) { DoRotateTimer(); });
  }
  if (FRotateTimer) FRotateTimer->SetEnabled(AValue);
}

void TImageProperties::SetRotateSpeed(double AValue) {
  if (FRotateSpeed == AValue) return;
  FRotateSpeed = AValue;
  if (!FRotateTimer) return;
  FRotateTimer->SetInterval(ostrel::skin::RotateTimerInterval(AValue));
  FRotateTimer->SetEnabled(FRotated);
}

void TImageProperties::DoRotateTimer() {
  if (FAnimateTicket < std::numeric_limits<std::int32_t>::max()) ++FAnimateTicket;
  if (TSkinBaseImageList* list = FilledImageListOf(*FPicture)) {
    FPicture->SetImageIndex(ostrel::skin::NextFrameImageIndex(FPicture->ImageIndex(), list->Count()));
  } else {
    FCurrentRotateAngle = ostrel::skin::NextRotateAngle(FCurrentRotateAngle, FRotateIncrement);
  }
  Repaint();
}

TSkinImageMaterial::TSkinImageMaterial(TComponent* AOwner)
    : TSkinControlMaterial(AOwner),
      FDrawCaptionParam(CreateDrawTextParam(QStringLiteral("DrawCaptionParam"), QStringLiteral("标题绘制参数"))),
      FDrawPictureParam(CreateDrawPictureParam(QStringLiteral("DrawPictureParam"), QStringLiteral("图片绘制参数"))) {}

TSkinImageMaterial::~TSkinImageMaterial() = default;

TSkinImageDefaultMaterial::~TSkinImageDefaultMaterial() = default;

bool TSkinImageType::CustomBind(TControl* ASkinControl) {
  if (!TSkinControlType::CustomBind(ASkinControl)) return false;
  FSkinImageIntf = ImageIntfOf(ASkinControl);
  return true;
}

void TSkinImageType::CustomUnBind() {
  TSkinControlType::CustomUnBind();
  FSkinImageIntf = nullptr;
}

bool TSkinImageType::CustomPaint(TDrawCanvas& ACanvas, TSkinControlMaterial* AMaterial, const TRectF& ADrawRect,
                                 const TPaintData&) {
  auto* material = dynamic_cast<TSkinImageMaterial*>(AMaterial);
  if (material == nullptr || FSkinImageIntf == nullptr) return false;
  TImageProperties* properties = FSkinImageIntf->GetImageProperties();
  TDrawPicture* picture = properties->Picture();
  TSkinBaseGIFPictureEngine* engine = properties->Animated() ? properties->GIFEngine() : nullptr;
  if (engine != nullptr && engine->GetCurrentIsGIF()) {
    engine->DrawToCanvas(&ACanvas, material->DrawPictureParam(), ADrawRect);
  } else {
    material->DrawPictureParam()->SetStaticRotateAngle(properties->CurrentRotateAngle());
    ACanvas.DrawPicture(material->DrawPictureParam(), picture, ADrawRect);
  }
  const QString caption = FSkinControlIntf->GetCaption();
  if (!caption.isEmpty()) ACanvas.DrawText(material->DrawCaptionParam(), caption, ADrawRect);
  return true;
}

bool TSkinImageType::CalcAutoSize(double& AWidth, double& AHeight) {
  AWidth = 0;
  AHeight = 0;
  if (FSkinImageIntf == nullptr || FSkinControl->ComponentState().Contains(TComponentStateItem::csReading) ||
      FSkinControl->ParentControl() == nullptr) {
    return false;
  }
  TDrawPicture* picture = FSkinImageIntf->GetImageProperties()->Picture();
  const int width = picture->CurrentPictureDrawWidth();
  const int height = picture->CurrentPictureDrawHeight();
  if (width <= 0 || height <= 0) return false;
  AWidth = width;
  AHeight = height;
  return true;
}

TSkinImage::TSkinImage(TComponent* AOwner) : TSkinFireMonkeyControl(AOwner) {
  // A new image has its own size from the start, before anything asks for its properties.
  Properties();
}

TSkinImage::~TSkinImage() { DestroySkinParts(); }

TSkinImageDefaultMaterial* TSkinImage::SelfOwnMaterialToDefault() {
  return dynamic_cast<TSkinImageDefaultMaterial*>(SelfOwnMaterial());
}

TSkinImageDefaultMaterial* TSkinImage::CurrentUseMaterialToDefault() {
  return dynamic_cast<TSkinImageDefaultMaterial*>(CurrentUseMaterial());
}

void TSkinImage::Loaded() {
  TSkinFireMonkeyControl::Loaded();
  TImageProperties* properties = GetImageProperties();
  if (!properties->Animated()) return;
  if (TSkinBaseGIFPictureEngine* engine = properties->GIFEngine()) engine->StartAnimate();
}

void TSkinImage::DoCustomMaterialChange(TObject* Sender) {
  TSkinFireMonkeyControl::DoCustomMaterialChange(Sender);
  if (!IsLoadingOrReading()) GetImageProperties()->AdjustAutoSizeBounds();
}

TSkinFMXImage::~TSkinFMXImage() = default;

void RegisterSkinImageFamily(ostrel::skin::SkinLibraryRegistration& AReg) {
  AReg.ControlType<TSkinImageType, TSkinImageDefaultMaterial>(QStringLiteral("SkinImage"), QStringLiteral("Default"),
                                                              true);
  AReg.ControlClass<TSkinFMXImage>();
  AReg.MaterialClass<TSkinImageDefaultMaterial>();
}
