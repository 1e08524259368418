#include "skin/controls/uSkinImageType.h"

#include "skin/base/uBaseLog.h"

#include <QDir>
#include <QFileInfo>

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

std::int32_t ItemFrameImageIndex(std::int64_t ATicksSinceStart, std::int32_t ACount) {
  if (ACount <= 0) return -1;
  const std::int64_t index = ATicksSinceStart % ACount;
  return static_cast<std::int32_t>(index < 0 ? index + ACount : index);
}

bool IsPictureUrl(const QString& AText) {
  return AText.startsWith(QStringLiteral("http://"), Qt::CaseInsensitive) ||
         AText.startsWith(QStringLiteral("https://"), Qt::CaseInsensitive);
}

std::int32_t ImageIndexFromText(const QString& AText) {
  bool ok = false;
  const std::int32_t index = AText.trimmed().toInt(&ok);
  return ok ? index : -1;
}

QString PageDataPictureFile(const QString& APageDataDir, const QString& AComponentName) {
  return QDir(APageDataDir).filePath(QStringLiteral("pics/") + AComponentName + QStringLiteral(".png"));
}

}  // namespace ostrel::skin

namespace {

void LogImageLine(const QString& AMethod, const QString& AMessage, const QString& APos) {
  TBaseLog::Instance().HandleException(AMessage, QStringLiteral("uSkinImageType"), AMethod, APos);
}

// Refers APicture to the drawing picture AGiven, whose pixels may still come (an address).
void ReferToDrawPicture(TDrawPicture& APicture, TDrawPicture* AGiven) {
  APicture.SetStaticPictureDrawType(TPictureDrawType::pdtRefDrawPicture);
  APicture.SetStaticRefDrawPicture(AGiven);
}

// Saves APicture as a PNG file, making its folder; a failure is logged.
void SavePictureFile(const TBitmap& APicture, const QString& AFileName) {
  try {
    if (!QDir().mkpath(QFileInfo(AFileName).absolutePath())) {
      throw EInvalidGraphic(QStringLiteral("Cannot make the folder of %1").arg(AFileName));
    }
    APicture.SaveToFile(AFileName);
  } catch (const Exception& e) {
    LogImageLine(QStringLiteral("TSkinImage.GetPostValue"), e.Message(), AFileName);
  }
}

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

void TSkinImage::Repaint() {
  if (TSkinControlType* type = SkinControlType()) type->InvalidateControl();
}

TDrawPicture* TSkinImage::BindingPicture(const QString& AFieldName) {
  if (FBindingItem != nullptr) return FBindingItem->GetFieldPicture(AFieldName);
  if (!FBindingPicture) FBindingPicture = std::make_unique<TDrawPicture>(QStringLiteral("BindingPicture"));
  return FBindingPicture.get();
}

void TSkinImage::LoadBase64(TDrawPicture& APicture, const QString& AText) {
  QByteArray text = AText.toLatin1();
  text.replace('\r', QByteArray()).replace('\n', QByteArray());
  const QByteArray::FromBase64Result bytes = QByteArray::fromBase64Encoding(text, QByteArray::AbortOnBase64DecodingErrors);
  APicture.ClearPicture();
  if (!bytes) {
    LogImageLine(QStringLiteral("TSkinImage.LoadBase64"), QStringLiteral("The picture data is no Base64 text"), Name());
    return;
  }
  APicture.LoadFromStream(*bytes);
}

void TSkinImage::BindingItemObject(TObject* AObject) {
  ostrel::skin::BindReferencePicture(*GetImageProperties()->Picture(), dynamic_cast<TSkinPicture*>(AObject));
  Repaint();
}

void TSkinImage::BindingItemValue(const QVariant& AValue) {
  TDrawPicture* picture = GetImageProperties()->Picture();
  switch (AValue.typeId()) {
    case QMetaType::Bool: BindingItemBool(AValue.toBool()); return;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort: picture->SetStaticImageIndex(AValue.toInt()); break;
    default: {
      const QString text = AValue.toString();
      const QString field = GetBindItemFieldName();
      if (text.contains(u'\n')) {
        TDrawPicture* bound = BindingPicture(field);
        if (bound->Base64Length != text.size()) {
          LoadBase64(*bound, text);
          bound->Base64Length = static_cast<std::int32_t>(text.size());
        }
        ReferToDrawPicture(*picture, bound);
      } else if (ostrel::skin::IsPictureUrl(text)) {
        TDrawPicture* bound = BindingPicture(field);
        bound->SetUrl(text);
        ReferToDrawPicture(*picture, bound);
      } else {
        picture->SetStaticImageIndex(ostrel::skin::ImageIndexFromText(text));
        picture->SetStaticPictureDrawType(TPictureDrawType::pdtImageList);
      }
    }
  }
  Repaint();
}

void TSkinImage::BindingItemBool(bool AValue) {
  GetImageProperties()->Picture()->SetStaticImageIndex(AValue ? 1 : 0);
  Repaint();
}

void TSkinImage::BindingItemIcon(TDrawPicture* AIcon) {
  TDrawPicture* picture = GetImageProperties()->Picture();
  if (AIcon != nullptr && AIcon->SkinImageList() != nullptr) {
    // Through the setter, so the picture hears when the list goes away.
    picture->SetSkinImageList(AIcon->SkinImageList());
    picture->SetStaticImageIndex(AIcon->ImageIndex());
    picture->SetStaticPictureDrawType(TPictureDrawType::pdtImageList);
  } else {
    ostrel::skin::BindReferencePicture(*picture, AIcon);
  }
  Repaint();
}

void TSkinImage::BindingItemNamedText(const QString& AFieldName, const QString& AText, ISkinBindingItem* AItem) {
  TImageProperties* properties = GetImageProperties();
  TDrawPicture* picture = properties->Picture();
  TSkinBaseImageList* list = FilledImageListOf(*picture);
  const TItemFrameAnimateState state =
      AItem != nullptr ? AItem->GetFrameAnimateState(AFieldName) : TItemFrameAnimateState::ifasNone;
  if (list != nullptr && state != TItemFrameAnimateState::ifasNone) {
    switch (state) {
      case TItemFrameAnimateState::ifasStarting:
        ++ItemAnimateRefCount;
        AItem->SetFrameAnimateStartTicket(AFieldName, properties->AnimateTicket());
        AItem->SetFrameAnimateState(AFieldName, TItemFrameAnimateState::ifasRunning);
        properties->SetRotated(true);
        picture->SetStaticImageIndex(0);
        break;
      case TItemFrameAnimateState::ifasRunning:
        picture->SetStaticImageIndex(ostrel::skin::ItemFrameImageIndex(
            static_cast<std::int64_t>(properties->AnimateTicket()) - AItem->GetFrameAnimateStartTicket(AFieldName),
            list->Count()));
        break;
      case TItemFrameAnimateState::ifasStopping:
        ItemAnimateRefCount = std::max(ItemAnimateRefCount - 1, 0);
        if (ItemAnimateRefCount == 0) properties->SetRotated(false);
        AItem->SetFrameAnimateState(AFieldName, TItemFrameAnimateState::ifasNone);
        picture->SetStaticImageIndex(-1);
        break;
      case TItemFrameAnimateState::ifasNone: break;
    }
  } else if (!ostrel::skin::IsPictureUrl(AText)) {
    picture->SetStaticImageIndex(ostrel::skin::ImageIndexFromText(AText));
  } else {
    TDrawPicture* bound = AItem != nullptr ? AItem->GetFieldPicture(AFieldName) : BindingPicture(AFieldName);
    bound->SetUrl(AText);
    ReferToDrawPicture(*picture, bound);
  }
  Repaint();
}

QVariant TSkinImage::GetPostValue(const QString& APageDataDir) {
  TDrawPicture* picture = GetImageProperties()->Picture();
  const QString file = ostrel::skin::PageDataPictureFile(APageDataDir, Name());
  if (!picture->IsChanged) {
    TDownloadPictureCacheItem* download = picture->UrlPicture();
    if (!picture->Url().isEmpty() && download != nullptr &&
        download->State() == TDownloadPictureState::dpsDownloadSucc && download->Picture() != nullptr &&
        !download->Picture()->IsEmpty()) {
      SavePictureFile(*download->Picture(), file);
    }
    return picture->TSkinPicture::ImageName();
  }
  if (picture->IsEmpty()) return picture->TSkinPicture::ImageName();
  SavePictureFile(*picture, file);
  return Name() + QStringLiteral(".png");
}

void TSkinImage::SetControlValue(const QVariant& AValue, const QString& APageDataDir) {
  TDrawPicture* picture = GetImageProperties()->Picture();
  const QString text = AValue.toString();
  picture->ClearPicture();
  if (text.contains(u'\n')) {
    LoadBase64(*picture, text);
  } else if (ostrel::skin::IsPictureUrl(text)) {
    picture->SetUrl(text);
  } else if (!text.isEmpty()) {
    // Only the file's name counts: a value cannot reach outside the page's picture folder.
    const QString file =
        QDir(APageDataDir).filePath(QStringLiteral("pics/") + ostrel::skin::FileNamePart(text));
    if (QFileInfo(file).isFile()) {
      try {
        picture->LoadFromFile(file);
      } catch (const Exception& e) {
        LogImageLine(QStringLiteral("TSkinImage.SetControlValue"), e.Message(), file);
      }
    } else {
      LogImageLine(QStringLiteral("TSkinImage.SetControlValue"), QStringLiteral("Picture file not found"), file);
    }
  }
  picture->TSkinPicture::SetImageName(text);
  picture->IsChanged = false;
  Repaint();
}

TSkinFMXImage::~TSkinFMXImage() = default;

void RegisterSkinImageFamily(ostrel::skin::SkinLibraryRegistration& AReg) {
  AReg.ControlType<TSkinImageType, TSkinImageDefaultMaterial>(QStringLiteral("SkinImage"), QStringLiteral("Default"),
                                                              true);
  AReg.ControlClass<TSkinFMXImage>();
  AReg.MaterialClass<TSkinImageDefaultMaterial>();
}
