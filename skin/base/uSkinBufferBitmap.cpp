#include "skin/base/uSkinBufferBitmap.h"

#include "skin/base/uBaseLog.h"
#include "skin/base/uDrawClassRegistry.h"

#include <QPainterPath>

#include <cmath>

using ostrel::skin::NearlyEqual;

// TQtPlatformBitmap

TQtPlatformBitmap::TQtPlatformBitmap() = default;

TQtPlatformBitmap::~TQtPlatformBitmap() { FreeBitmap(); }

// The canvas first, then the painter, then the pixels it paints on.
void TQtPlatformBitmap::FreeBitmap() {
  FDrawCanvas.reset();
  FBitmapCanvas.reset();
  FBitmap.reset();
}

bool TQtPlatformBitmap::CreateBitmap(int AWidth, int AHeight, float AScale) {
  FreeBitmap();
  FWidth = AWidth;
  FHeight = AHeight;
  FScale = AScale;
  try {
    const double width = std::ceil(static_cast<double>(AScale) * AWidth);
    const double height = std::ceil(static_cast<double>(AScale) * AHeight);
    if (!(AScale > 0) || !(width >= 1 && height >= 1) || width * height > static_cast<double>(TBitmap::MaxPixelCount)) {
      throw EInvalidGraphic(QStringLiteral("Invalid bitmap size %1 x %2 at scale %3").arg(AWidth).arg(AHeight).arg(AScale));
    }
    auto bitmap = std::make_unique<TBitmap>(static_cast<int>(width), static_cast<int>(height));
    bitmap->SetBitmapScale(AScale);
    FBitmap = std::move(bitmap);
  } catch (const std::exception& e) {
    TBaseLog::Instance().OutputDebugString(QStringLiteral("TFMXPlatformBitmap.CreateBitmap ") + QString::fromUtf8(e.what()));
    return false;
  }
  return true;
}

TDrawCanvas* TQtPlatformBitmap::DrawCanvas() {
  if (FBitmap == nullptr) return nullptr;
  if (FDrawCanvas == nullptr) {
    // The painter draws straight into the bitmap's pixels, which nothing
    // else changes while it lives.
    auto pixels = FBitmap->MapPixels();
    FBitmapCanvas = std::make_unique<QPainter>(&pixels.Image());
    FDrawCanvas = CreateDrawCanvas();
    FDrawCanvas->Prepare(FBitmapCanvas.get());
  }
  return FDrawCanvas.get();
}

// TBufferBitmap

TBufferBitmap::TBufferBitmap() : FPlatformBitmap(std::make_unique<TQtPlatformBitmap>()) {}

TBufferBitmap::~TBufferBitmap() = default;

bool TBufferBitmap::CreateBufferBitmap(int AWidth, int AHeight, float AScale) {
  return FPlatformBitmap->CreateBitmap(AWidth, AHeight, AScale);
}

// The rounded-rectangle cache

TColorRoundRectBitmap::TColorRoundRectBitmap() = default;

TColorRoundRectBitmap::~TColorRoundRectBitmap() = default;

TColorRoundRectBitmapList::TColorRoundRectBitmapList() = default;

TColorRoundRectBitmapList::~TColorRoundRectBitmapList() = default;

TDrawPicture* TColorRoundRectBitmapList::GetBitmap(TBaseDrawRectParam* ADrawRectParam, double AWidth, double AHeight,
                                                   double AXRadius, double AYRadius, bool AIsClipRound) {
  if (ADrawRectParam == nullptr) return nullptr;
  const double scale = ostrel::skin::DrawSettings().ScreenScale;
  const double width = AWidth * scale;
  const double height = AHeight * scale;
  const double xRadius = ostrel::skin::ResolveClipRadius(AXRadius, AWidth) * scale;
  const double yRadius = ostrel::skin::ResolveClipRadius(AYRadius, AHeight) * scale;
  const TAlphaColor color = ADrawRectParam->CurrentEffectFillDrawColor()->Color();
  const TDRPRectCorners corners = ADrawRectParam->RectCorners();
  for (const auto& item : FItems) {
    if (NearlyEqual(item->Width, width) && NearlyEqual(item->Height, height) && NearlyEqual(item->RoundWidth, xRadius) &&
        NearlyEqual(item->RoundHeight, yRadius) && item->FillColor == color && item->RectCorners == corners &&
        item->IsClipRound == AIsClipRound) {
      return item->Bitmap.get();
    }
  }
  const int pixelWidth = static_cast<int>(std::lround(width));
  const int pixelHeight = static_cast<int>(std::lround(height));
  if (pixelWidth <= 0 || pixelHeight <= 0 || qint64{pixelWidth} * pixelHeight > TBitmap::MaxPixelCount) return nullptr;

  QImage image(pixelWidth, pixelHeight, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    const TRectF area(0, 0, pixelWidth, pixelHeight);
    if (AIsClipRound) {
      // Coloured only where the rounding leaves the corners outside.
      path.setFillRule(Qt::OddEvenFill);
      path.addRect(area);
      ostrel::skin::AddRoundRectFigure(path, area, xRadius, yRadius, AllCorners);
    } else {
      ostrel::skin::AddRoundRectFigure(path, area, xRadius, yRadius, ostrel::skin::HostCorners(corners));
    }
    painter.fillPath(path, QColor::fromRgba(color));
  }
  auto entry = std::make_unique<TColorRoundRectBitmap>();
  entry->DrawRectParam = ADrawRectParam;
  entry->Width = width;
  entry->Height = height;
  entry->RoundWidth = xRadius;
  entry->RoundHeight = yRadius;
  entry->FillColor = color;
  entry->RectCorners = corners;
  entry->IsClipRound = AIsClipRound;
  entry->Bitmap = std::make_unique<TDrawPicture>();
  entry->Bitmap->SetImage(image);
  FItems.push_back(std::move(entry));
  return FItems.back()->Bitmap.get();
}

TColorRoundRectBitmapList& ostrel::skin::ColorRoundRectBitmapList() {
  static TColorRoundRectBitmapList list;
  return list;
}
