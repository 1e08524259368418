#include "skin/host/Bitmap.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>

#include <algorithm>

namespace {

constexpr QImage::Format kFormat = QImage::Format_ARGB32_Premultiplied;
const QString kPngProperty = QStringLiteral("PNG");

// What a declared size must be justified by. Compressed formats reach about
// 8,300 pixels per byte at best (a one-bit PNG of one colour), so 16,384 per
// byte refuses no real picture, while a header that declares millions of
// pixels in a few bytes never gets the memory it asks for. Small pictures
// pass whatever their file size.
constexpr qint64 kPixelsPerStoredByte = 16384;
constexpr qint64 kAlwaysAllowedPixels = qint64{2048} * 2048;

bool FitsSides(const QSize& ASize) { return ASize.width() <= TBitmap::MaxSide && ASize.height() <= TBitmap::MaxSide; }

QImage Decode(QIODevice& ADevice, qint64 AByteCount, const QString& AWhat) {
  QImageReader reader(&ADevice);
  const QSize declared = reader.size();
  if (declared.isValid()) {
    const qint64 pixels = qint64{declared.width()} * declared.height();
    if (pixels <= 0) throw EInvalidGraphic(QStringLiteral("%1 declares a picture without pixels").arg(AWhat));
    const qint64 justified = std::max(kAlwaysAllowedPixels, AByteCount * kPixelsPerStoredByte);
    if (!FitsSides(declared) || pixels > TBitmap::MaxPixelCount || pixels > justified) {
      throw EInvalidGraphic(QStringLiteral("%1 declares %2 x %3 pixels, more than it can hold")
                                .arg(AWhat)
                                .arg(declared.width())
                                .arg(declared.height()));
    }
  }
  QImage image = reader.read();
  if (image.isNull() || image.width() == 0 || image.height() == 0) {
    throw EInvalidGraphic(QStringLiteral("Cannot load a picture from %1: %2").arg(AWhat, reader.errorString()));
  }
  if (!FitsSides(image.size()) || qint64{image.width()} * image.height() > TBitmap::MaxPixelCount) {
    throw EInvalidGraphic(QStringLiteral("%1 holds a picture larger than any the library takes").arg(AWhat));
  }
  return image.convertToFormat(kFormat);
}

}  // namespace

TBitmap::TBitmap(int AWidth, int AHeight) { SetSize(AWidth, AHeight); }

TBitmap::~TBitmap() = default;

void TBitmap::SetSize(int AWidth, int AHeight) {
  if (AWidth <= 0 || AHeight <= 0) {
    ReplaceImage(QImage());
    return;
  }
  QImage image(AWidth, AHeight, kFormat);
  if (image.isNull()) throw EInvalidGraphic(QStringLiteral("Cannot make a picture of %1 x %2").arg(AWidth).arg(AHeight));
  image.fill(Qt::transparent);
  ReplaceImage(std::move(image));
}

void TBitmap::Clear(quint32 AColor) {
  if (IsEmpty()) return;
  FImage.fill(QColor::fromRgba(AColor));
  BitmapChanged();
}

void TBitmap::LoadFromFile(const QString& AFileName) {
  DecodeFile(AFileName);
  AfterLoad();
}

void TBitmap::LoadFromStream(const QByteArray& ABytes) {
  DecodeBytes(ABytes);
  AfterLoad();
}

void TBitmap::DecodeFile(const QString& AFileName) {
  QFile file(AFileName);
  if (!file.open(QIODevice::ReadOnly)) {
    throw EFOpenError(QStringLiteral("Cannot open %1: %2").arg(AFileName, file.errorString()));
  }
  ReplaceImage(Decode(file, file.size(), AFileName));
}

void TBitmap::DecodeBytes(const QByteArray& ABytes, qsizetype AOffset) {
  const QByteArray bytes = AOffset > 0 ? ABytes.mid(AOffset) : ABytes;
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  ReplaceImage(Decode(buffer, bytes.size(), QStringLiteral("%1 bytes").arg(bytes.size())));
}

void TBitmap::SaveToFile(const QString& AFileName) const {
  QImageWriter writer(AFileName, "png");
  if (!writer.write(FImage)) {
    throw EInvalidGraphic(QStringLiteral("Cannot save %1: %2").arg(AFileName, writer.errorString()));
  }
}

QByteArray TBitmap::SaveToStream() const {
  QByteArray bytes;
  if (IsEmpty()) return bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "png");
  if (!writer.write(FImage)) throw EInvalidGraphic(QStringLiteral("Cannot encode PNG: %1").arg(writer.errorString()));
  return bytes;
}

void TBitmap::SetImage(const QImage& AImage) {
  ReplaceImage(AImage.isNull() ? QImage() : AImage.convertToFormat(kFormat));
}

void TBitmap::SetBitmapScale(float AValue) {
  if (!(AValue > 0.0f) || FBitmapScale == AValue) return;
  FBitmapScale = AValue;
  FImage.setDevicePixelRatio(AValue);
  BitmapChanged();
}

void TBitmap::ReplaceImage(QImage AImage) {
  FImage = std::move(AImage);
  if (!FImage.isNull()) FImage.setDevicePixelRatio(FBitmapScale);
  BitmapChanged();
}

void TBitmap::Assign(const TPersistent* ASource) {
  if (ASource == nullptr) {
    ReplaceImage(QImage());
    AfterLoad();
    return;
  }
  if (const auto* source = dynamic_cast<const TBitmap*>(ASource)) {
    FBitmapScale = source->FBitmapScale;
    ReplaceImage(source->FImage);
    AfterLoad();
    return;
  }
  TPersistent::Assign(ASource);
}

void TBitmap::BitmapChanged() {
  if (FOnChange) FOnChange(this);
}

QStringList TBitmap::BinaryPropertyNames() const { return {kPngProperty}; }

void TBitmap::ReadBinaryProperty(const QString& AName, const QByteArray& AData) {
  if (AName.compare(kPngProperty, Qt::CaseInsensitive) != 0) return;
  if (AData.isEmpty()) {
    SetSize(0, 0);
    AfterLoad();
    return;
  }
  // A form that holds no picture is a faulty form: the error reaches the reader.
  DecodeBytes(AData);
  AfterLoad();
}

std::optional<QByteArray> TBitmap::WriteBinaryProperty(const QString& AName) const {
  if (AName.compare(kPngProperty, Qt::CaseInsensitive) != 0 || IsEmpty()) return std::nullopt;
  return SaveToStream();
}
