#include "skin/base/uSkinPicture.h"

#include "skin/base/uBaseLog.h"
#include "skin/base/uDrawCanvas.h"
#include "skin/base/uDrawClassRegistry.h"
#include "skin/host/Resources.h"

#include <QBrush>
#include <QFile>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cctype>
#include <cmath>

namespace {

const QString kUnit = QStringLiteral("uSkinPicture");
const QString kCategory = QStringLiteral("BriselUIGraphic");

std::vector<TSkinPicture*>& ThemeColoredList() {
  static std::vector<TSkinPicture*> pictures;
  return pictures;
}

// Runs AWork with AFlag set, and clears it however AWork ends.
template <class F>
void WithFlag(bool& AFlag, F&& AWork) {
  AFlag = true;
  struct Reset {
    bool& Flag;
    ~Reset() { Flag = false; }
  } reset{AFlag};
  AWork();
}

bool SpellsGIF(const QByteArray& ABytes, qsizetype AAt) {
  if (ABytes.size() < AAt + 6) return false;
  const auto upper = [&](qsizetype AIndex) { return static_cast<char>(std::toupper(static_cast<unsigned char>(ABytes[AAt + AIndex]))); };
  return upper(0) == 'G' && upper(1) == 'I' && upper(2) == 'F';
}

}  // namespace

// Engines

TSkinPictureEngine::TSkinPictureEngine(TSkinPicture* ASkinPicture) : FSkinPicture(ASkinPicture) {}

TSkinPictureEngine::~TSkinPictureEngine() = default;

TSkinBaseGIFPictureEngine::TSkinBaseGIFPictureEngine(TSkinPicture* ASkinPicture) : TSkinPictureEngine(ASkinPicture) {}

TSkinBaseGIFPictureEngine::~TSkinBaseGIFPictureEngine() = default;

bool TSkinBaseGIFPictureEngine::GetCurrentIsGIF() const { return FSkinPicture != nullptr && FSkinPicture->HasGIFStream(); }

void TSkinBaseGIFPictureEngine::Clear() { StopAnimate(); }

TSkinPicture* TSkinBaseGIFPictureEngine::CurrentAnimateFrame() { return FSkinPicture; }

void TSkinBaseGIFPictureEngine::DoAnimateRePaint() {
  if (FSkinPicture != nullptr && FSkinPicture->OnAnimateRePaint()) FSkinPicture->OnAnimateRePaint()(FSkinPicture);
}

bool TSkinBaseGIFPictureEngine::DrawToCanvas(TDrawCanvas* ACanvas, TBaseDrawPictureParam* ADrawPictureParam,
                                             const TRectF& ADrawRect) {
  if (ACanvas == nullptr) return true;
  return ACanvas->DrawSkinPicture(ADrawPictureParam, CurrentAnimateFrame(), ADrawRect);
}

void TSkinBaseGIFPictureEngine::SetAnimated(bool AValue) {
  if (FAnimated == AValue) return;
  FAnimated = AValue;
  if (AValue) {
    StartAnimate();
  } else {
    StopAnimate();
  }
}

void TSkinBaseGIFPictureEngine::SetAnimateSpeed(double AValue) {
  if (FAnimateSpeed == AValue) return;
  FAnimateSpeed = AValue;
  UpdateAnimateSetting();
}

void TSkinBaseGIFPictureEngine::SetGIFDelayExp(std::int32_t AValue) {
  if (FGIFDelayExp == AValue) return;
  FGIFDelayExp = AValue;
  UpdateAnimateSetting();
}

TQtSkinPictureEngine::~TQtSkinPictureEngine() = default;

TSkinGIFPictureEngine::~TSkinGIFPictureEngine() = default;

TSkinPicture* TSkinGIFPictureEngine::CurrentAnimateFrame() {
  if (FSkinPicture != nullptr && Animated() && FSkinPicture->HasGIFStream()) StartAnimate();
  return FSkinPicture;
}

TQtSkinGIFPictureEngine::~TQtSkinGIFPictureEngine() = default;

// Helpers

std::optional<qsizetype> ostrel::skin::GIFDataOffset(const QByteArray& ABytes) {
  if (SpellsGIF(ABytes, 0)) return 0;
  if (SpellsGIF(ABytes, 4)) return 4;
  return std::nullopt;
}

double ostrel::skin::ResolveClipRadius(double ARadius, double ASize) {
  const double half = std::max(0.0, ASize / 2);
  double radius = ARadius;
  if (NearlyEqual(ARadius, -1)) {
    radius = half;
  } else if (ARadius < 1) {
    radius = ARadius * ASize;
  }
  return std::clamp(radius, 0.0, half);
}

const std::vector<TSkinPicture*>& ostrel::skin::ThemeColoredPictures() { return ThemeColoredList(); }

// TSkinPicture

TSkinPicture::TSkinPicture() = default;

TSkinPicture::~TSkinPicture() {
  if (FSkinThemeColorChange) std::erase(ThemeColoredList(), this);
}

void TSkinPicture::Clear() {}

TSkinPicture* TSkinPicture::CurrentPicture() {
  return FSkinThemeColorPicture != nullptr ? FSkinThemeColorPicture.get() : this;
}

void TSkinPicture::LogLoadError(const QString& AMethod, const Exception& AError) {
  TBaseLog::Instance().HandleException(AError.Message(), kUnit, AMethod, kCategory);
}

std::optional<qsizetype> TSkinPicture::CheckGIF(const QByteArray& ABytes) {
  if (ABytes.isEmpty()) {
    FGIFStream.clear();
    return std::nullopt;
  }
  const std::optional<qsizetype> offset = ostrel::skin::GIFDataOffset(ABytes);
  if (offset) FGIFStream = ABytes;
  return offset;
}

void TSkinPicture::LoadFromFile(const QString& AFileName) {
  QFile file(AFileName);
  if (!file.open(QIODevice::ReadOnly)) {
    throw EFOpenError(QStringLiteral("Cannot open %1: %2").arg(AFileName, file.errorString()));
  }
  // GIF bytes are kept whole, so only a GIF is read into memory; anything
  // else is decoded from the file.
  std::optional<qsizetype> offset;
  QByteArray bytes;
  const QByteArray head = file.peek(10);
  if (head.isEmpty() || ostrel::skin::GIFDataOffset(head)) {
    bytes = file.readAll();
    offset = CheckGIF(bytes);
  }
  file.close();
  try {
    if (offset) {
      DecodeBytes(bytes, *offset);
    } else {
      DecodeFile(AFileName);
    }
  } catch (const EInvalidGraphic& e) {
    LogLoadError(QStringLiteral("TSkinPicture.LoadFromFile ") + AFileName, e);
  }
  AfterLoad();
}

void TSkinPicture::DirectLoadFromFile(const QString& AFileName) {
  try {
    DecodeFile(AFileName);
  } catch (const EInvalidGraphic& e) {
    LogLoadError(QStringLiteral("TSkinPicture.DirectLoadFromFile ") + AFileName, e);
  }
  AfterLoad();
}

void TSkinPicture::LoadFromStream(const QByteArray& ABytes) {
  const std::optional<qsizetype> offset = CheckGIF(ABytes);
  // GIF bytes stored behind a length field decode from their signature on.
  try {
    DecodeBytes(ABytes, offset.value_or(0));
  } catch (const EInvalidGraphic& e) {
    LogLoadError(QStringLiteral("TSkinPicture.LoadFromStream"), e);
  }
  AfterLoad();
}

void TSkinPicture::DirectLoadFromStream(const QByteArray& ABytes) {
  try {
    DecodeBytes(ABytes);
  } catch (const EInvalidGraphic& e) {
    LogLoadError(QStringLiteral("TSkinPicture.DirectLoadFromStream"), e);
  }
  AfterLoad();
}

bool TSkinPicture::LoadFromResource(const QString& AResourceName) {
  const std::optional<QByteArray> bytes = ostrel::host::FindProgramResource(AResourceName);
  if (!bytes) return false;
  LoadFromStream(*bytes);
  return true;
}

void TSkinPicture::Assign(const TPersistent* ASource) {
  if (const auto* source = dynamic_cast<const TSkinPicture*>(ASource)) {
    FImageName = source->FImageName;
    FSkinThemeColor = source->FSkinThemeColor;
    SetSkinThemeColorChange(source->FSkinThemeColorChange);
    FGIFStream = source->FGIFStream;
  } else {
    Clear();
  }
  IsChanged = true;
  TBitmap::Assign(ASource);
}

void TSkinPicture::DoChange() {
  if (FIsDoChangeing) {
    TBaseLog::Instance().OutputDebugString(QStringLiteral("TBaseDrawPicture.DoChange DoChangeing"));
    return;
  }
  if (!OnChange()) return;
  // A handler may replace the handler; the one called stays alive until it returns.
  const TNotifyEvent handler = OnChange();
  WithFlag(FIsDoChangeing, [&] { handler(this); });
}

void TSkinPicture::BitmapChanged() { DoChange(); }

void TSkinPicture::AfterLoad() { PictureChanged(); }

void TSkinPicture::PictureChanged() {
  FSkinPictureEngine.reset();
  if (FIsNoDoPictureChanged) return;
  if (FIsClipRound && !IsEmpty()) ClipPixels();
}

void TSkinPicture::ClipPixels() {
  WithFlag(FIsNoDoPictureChanged, [&] {
    const std::unique_ptr<TSkinPicture> rounded = CreateClipRoundPicture(FClipRoundCorners, FClipRoundYRadis, FClipRoundXRadis);
    if (rounded != nullptr) SetImage(rounded->Image());
  });
}

std::unique_ptr<TSkinPicture> TSkinPicture::CreateClipRoundPicture(TCorners ACorners, double AYRadius,
                                                                   double AXRadius) const {
  if (IsEmpty()) return nullptr;
  const int width = Width();
  const int height = Height();
  QImage source = Image();
  source.setDevicePixelRatio(1.0);
  QImage target(width, height, QImage::Format_ARGB32_Premultiplied);
  target.fill(Qt::transparent);
  {
    QPainter painter(&target);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    ostrel::skin::AddRoundRectFigure(path, TRectF(0, 0, width, height),
                                     ostrel::skin::ResolveClipRadius(AXRadius, width),
                                     ostrel::skin::ResolveClipRadius(AYRadius, height), ACorners);
    painter.fillPath(path, QBrush(source));
  }
  auto result = std::make_unique<TSkinPicture>();
  result->SetBitmapScale(BitmapScale());
  result->SetImage(target);
  return result;
}

TSkinPictureEngine* TSkinPicture::SkinPictureEngine() {
  if (FSkinPictureEngine == nullptr) FSkinPictureEngine = CreateSkinPictureEngine(this, FGIFSupport);
  return FSkinPictureEngine.get();
}

void TSkinPicture::SetGIFSupport(bool AValue) {
  if (FGIFSupport == AValue) return;
  FGIFSupport = AValue;
  FSkinPictureEngine.reset();
}

void TSkinPicture::SetIsClipRound(bool AValue) {
  if (FIsClipRound == AValue) return;
  FIsClipRound = AValue;
  if (AValue && !IsEmpty() && !FIsNoDoPictureChanged) ClipPixels();
}

void TSkinPicture::SetSkinThemeColorChange(bool AValue) {
  if (FSkinThemeColorChange == AValue) return;
  FSkinThemeColorChange = AValue;
  if (AValue) {
    ThemeColoredList().push_back(this);
  } else {
    std::erase(ThemeColoredList(), this);
    FSkinThemeColorPicture.reset();
  }
}

QStringList TSkinPicture::BinaryPropertyNames() const {
  QStringList names = TBitmap::BinaryPropertyNames();
  names.append(QStringLiteral("GIFFileData"));
  return names;
}

void TSkinPicture::ReadBinaryProperty(const QString& AName, const QByteArray& AData) {
  if (AName.compare(QStringLiteral("GIFFileData"), Qt::CaseInsensitive) == 0) {
    CheckGIF(AData);
    return;
  }
  TBitmap::ReadBinaryProperty(AName, AData);
}

std::optional<QByteArray> TSkinPicture::WriteBinaryProperty(const QString& AName) const {
  if (AName.compare(QStringLiteral("GIFFileData"), Qt::CaseInsensitive) == 0) {
    if (FGIFStream.isEmpty()) return std::nullopt;
    return FGIFStream;
  }
  return TBitmap::WriteBinaryProperty(AName);
}

bool TSkinPicture::SaveToDocNode(TBTNode20_Class* ADocNode) const {
  if (ADocNode == nullptr) return false;
  ADocNode->SetClassName(QStringLiteral("TSkinPicture"));
  ADocNode->AddChildNode_WideString(QStringLiteral("ImageName"), QString(), FImageName);
  if (!IsEmpty()) {
    ADocNode->AddChildNode_WideString(QStringLiteral("GraphicType"), QString(), QStringLiteral("Png"));
    ADocNode->AddChildNode_Binary(QStringLiteral("GraphicData.Png"), QString(), SaveToStream());
    ADocNode->AddChildNode_Binary(QStringLiteral("GIFFileData.Png"), QString(), FGIFStream);
  } else {
    ADocNode->AddChildNode_Binary(QStringLiteral("GIFFileData"), QString(), FGIFStream);
  }
  return true;
}

bool TSkinPicture::LoadFromDocNode(TBTNode20_Class* ADocNode) {
  if (ADocNode == nullptr) return false;
  QString graphicType;
  QByteArray pixels;
  QByteArray gif;
  for (TBTNode20* child : ADocNode->ChildNodes()) {
    const QString& name = child->NodeName();
    if (name == u"GraphicType") {
      if (const auto* node = child->ConvertNode_WideString()) graphicType = node->Data();
    } else if (name.startsWith(u"GraphicData")) {
      if (const auto* node = child->ConvertNode_Binary()) pixels = node->DataBuf();
    } else if (name.startsWith(u"GIFFileData")) {
      if (const auto* node = child->ConvertNode_Binary()) gif = node->DataBuf();
    } else if (name == u"ImageName") {
      if (const auto* node = child->ConvertNode_WideString()) FImageName = node->Data();
    }
  }
  FGIFStream = gif;
  // The stored pixels are taken as they are: no after-load hook, so no clipping.
  if (!graphicType.isEmpty() && !pixels.isEmpty()) {
    try {
      DecodeBytes(pixels);
    } catch (const EInvalidGraphic& e) {
      LogLoadError(QStringLiteral("TSkinPicture.LoadFromDocNode"), e);
      SetSize(0, 0);
    }
  } else {
    SetSize(0, 0);
  }
  FSkinPictureEngine.reset();
  return true;
}
