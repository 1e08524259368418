#pragma once
// TBitmap: a picture in memory, premultiplied ARGB, that loads the common
// image formats and saves PNG. It tells of every change of its pixels, lets
// subclasses act after each load or copy, stores its pixels in forms as PNG
// bytes and knows how many device pixels stand for one logical pixel.

#include "skin/host/Persistent.h"
#include "skin/host/PropertyTypes.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

#include <optional>

// Raised when bytes or a file do not hold a picture that can be decoded.
class EInvalidGraphic : public Exception {
 public:
  using Exception::Exception;
};

// Raised when a file cannot be opened for reading or writing.
class EFOpenError : public Exception {
 public:
  using Exception::Exception;
};

class TBitmap : public TPersistent, public IBinaryProperties {
  Q_OBJECT

 public:
  // The largest picture a file may declare, whatever its size: 16384 x 16384,
  // no side longer. A picture a few pixels wide and millions tall holds no more
  // pixels than a square one, yet Qt's raster engine takes minutes to paint it.
  static constexpr int MaxSide = 16384;
  static constexpr qint64 MaxPixelCount = qint64{MaxSide} * MaxSide;

  TBitmap() = default;
  TBitmap(int AWidth, int AHeight);
  ~TBitmap() override;

  int Width() const { return FImage.width(); }
  int Height() const { return FImage.height(); }
  bool IsEmpty() const { return FImage.isNull() || FImage.width() == 0 || FImage.height() == 0; }
  // A new size drops the old content: every pixel is transparent afterwards.
  // A size of 0 (or less) on either side empties the bitmap.
  void SetSize(int AWidth, int AHeight);
  void Clear(quint32 AColor = 0);

  // Decode into the bitmap and then run the after-load hook. A file that
  // cannot be opened raises EFOpenError; bytes that hold no picture raise
  // EInvalidGraphic; either error leaves the picture and runs no hook.
  virtual void LoadFromFile(const QString& AFileName);
  virtual void LoadFromStream(const QByteArray& ABytes);
  void SaveToFile(const QString& AFileName) const;
  // PNG file bytes; empty for an empty bitmap.
  QByteArray SaveToStream() const;

  const QImage& Image() const { return FImage; }
  // Takes a copy of AImage in the bitmap's own pixel format.
  void SetImage(const QImage& AImage);

  // Device pixels per logical pixel (1 unless set).
  float BitmapScale() const { return FBitmapScale; }
  void SetBitmapScale(float AValue);

  // Writable access to the pixels; the change is told when the access ends.
  class TBitmapPixels {
   public:
    explicit TBitmapPixels(TBitmap& AOwner) : FOwner(AOwner) {}
    ~TBitmapPixels() { FOwner.BitmapChanged(); }
    TBitmapPixels(const TBitmapPixels&) = delete;
    TBitmapPixels& operator=(const TBitmapPixels&) = delete;
    QImage& Image() { return FOwner.FImage; }

   private:
    TBitmap& FOwner;
  };
  [[nodiscard]] TBitmapPixels MapPixels() { return TBitmapPixels(*this); }

  // Copies the pixels of another bitmap (or empties this one for null) and
  // runs the after-load hook.
  void Assign(const TPersistent* ASource) override;

  // Fired by BitmapChanged.
  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue) { FOnChange = std::move(AValue); }

  // Forms store the pixels as the binary property "PNG" (a PNG file),
  // written only for a bitmap that has pixels.
  QStringList BinaryPropertyNames() const override;
  void ReadBinaryProperty(const QString& AName, const QByteArray& AData) override;
  std::optional<QByteArray> WriteBinaryProperty(const QString& AName) const override;

 protected:
  // Runs after every change of the pixels; fires OnChange.
  virtual void BitmapChanged();
  // Runs after each load that replaced the pixels and after each copy of pixels.
  virtual void AfterLoad() {}

  // Replace the pixels with the decoded content, without the after-load
  // hook; raise as the loaders do and keep the picture on failure. AOffset
  // skips leading bytes (data stored behind a length field).
  void DecodeFile(const QString& AFileName);
  void DecodeBytes(const QByteArray& ABytes, qsizetype AOffset = 0);

 private:
  void ReplaceImage(QImage AImage);

  QImage FImage;
  float FBitmapScale = 1.0f;
  TNotifyEvent FOnChange;
};
