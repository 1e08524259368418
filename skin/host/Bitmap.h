#pragma once
// TBitmap: a picture in memory, premultiplied ARGB, that loads the common
// image formats and saves PNG.

#include "skin/host/Persistent.h"

#include <QByteArray>
#include <QImage>
#include <QString>

// Raised when bytes or a file do not hold a picture that can be decoded.
class EInvalidGraphic : public Exception {
 public:
  using Exception::Exception;
};

class TBitmap : public TPersistent {
  Q_OBJECT

 public:
  TBitmap() = default;
  TBitmap(int AWidth, int AHeight);

  int Width() const { return FImage.width(); }
  int Height() const { return FImage.height(); }
  bool IsEmpty() const { return FImage.isNull() || FImage.width() == 0 || FImage.height() == 0; }
  // A new size drops the old content: every pixel is transparent afterwards.
  void SetSize(int AWidth, int AHeight);
  void Clear(quint32 AColor = 0);

  // On failure these raise EInvalidGraphic and keep the current picture.
  void LoadFromFile(const QString& AFileName);
  void LoadFromStream(const QByteArray& ABytes);
  void SaveToFile(const QString& AFileName) const;
  QByteArray SaveToStream() const;

  const QImage& Image() const { return FImage; }
  // Takes a copy of AImage in the bitmap's own pixel format.
  void SetImage(const QImage& AImage);

  void Assign(const TPersistent* ASource) override;

 private:
  QImage FImage;
};
