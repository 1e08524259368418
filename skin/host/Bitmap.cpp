#include "skin/host/Bitmap.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>

namespace {

constexpr QImage::Format kFormat = QImage::Format_ARGB32_Premultiplied;

QImage Decode(QIODevice& ADevice, const QString& AWhat) {
  QImageReader reader(&ADevice);
  QImage image = reader.read();
  if (image.isNull()) {
    throw EInvalidGraphic(QStringLiteral("Cannot load a picture from %1: %2").arg(AWhat, reader.errorString()));
  }
  return image.convertToFormat(kFormat);
}

}  // namespace

TBitmap::TBitmap(int AWidth, int AHeight) { SetSize(AWidth, AHeight); }

void TBitmap::SetSize(int AWidth, int AHeight) {
  if (AWidth <= 0 || AHeight <= 0) {
    FImage = QImage();
    return;
  }
  QImage image(AWidth, AHeight, kFormat);
  if (image.isNull()) throw EInvalidGraphic(QStringLiteral("Cannot make a picture of %1 x %2").arg(AWidth).arg(AHeight));
  image.fill(Qt::transparent);
  FImage = std::move(image);
}

void TBitmap::Clear(quint32 AColor) {
  if (!IsEmpty()) FImage.fill(QColor::fromRgba(AColor));
}

void TBitmap::LoadFromFile(const QString& AFileName) {
  QFile file(AFileName);
  if (!file.open(QIODevice::ReadOnly)) {
    throw EInvalidGraphic(QStringLiteral("Cannot open %1: %2").arg(AFileName, file.errorString()));
  }
  FImage = Decode(file, AFileName);
}

void TBitmap::LoadFromStream(const QByteArray& ABytes) {
  QBuffer buffer;
  buffer.setData(ABytes);
  buffer.open(QIODevice::ReadOnly);
  FImage = Decode(buffer, QStringLiteral("%1 bytes").arg(ABytes.size()));
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

void TBitmap::SetImage(const QImage& AImage) { FImage = AImage.isNull() ? QImage() : AImage.convertToFormat(kFormat); }

void TBitmap::Assign(const TPersistent* ASource) {
  if (const auto* src = dynamic_cast<const TBitmap*>(ASource)) {
    FImage = src->FImage;
    return;
  }
  TPersistent::Assign(ASource);
}
