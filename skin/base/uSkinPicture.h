#pragma once
// The bitmap class of the drawing model: a host bitmap that keeps the bytes
// of a GIF it was loaded from, can clip its own pixels to a rounded
// rectangle, tells of changes (guarded against a handler that changes it
// again), loads from files, bytes and the program's resources, and stores
// itself in forms and documents. Its engine gives it its current animation
// frame; without a GIF decoder a GIF shows its first frame.

#include "skin/base/uBinaryTreeDoc.h"
#include "skin/host/Bitmap.h"
#include "skin/host/Types.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class TSkinPicture;
class TDrawCanvas;
class TBaseDrawPictureParam;

// Gives a picture its current frame. The plain engine has one frame: the picture.
class TSkinPictureEngine : public TObject {
 public:
  explicit TSkinPictureEngine(TSkinPicture* ASkinPicture);
  ~TSkinPictureEngine() override;

  virtual bool GetCurrentIsGIF() const { return false; }
  virtual void Clear() {}

  TSkinPicture* SkinPicture() const { return FSkinPicture; }

 protected:
  TSkinPicture* const FSkinPicture;
};

// The engine of pictures that may animate: the switches of an animation and
// the operations a decoder fills in. This base has no decoder: its only
// frame is the picture itself.
class TSkinBaseGIFPictureEngine : public TSkinPictureEngine {
 public:
  static constexpr double DefaultAnimateSpeed = 10.0;
  static constexpr std::int32_t DefaultGIFDelayExp = 12;

  explicit TSkinBaseGIFPictureEngine(TSkinPicture* ASkinPicture);
  ~TSkinBaseGIFPictureEngine() override;

  // True when the picture holds GIF bytes.
  bool GetCurrentIsGIF() const override;
  // Stops the animation.
  void Clear() override;

  // Passes speed and delay to the decoder.
  virtual void UpdateAnimateSetting() {}
  virtual bool IsAnimating() const { return true; }
  // The frame to draw now.
  virtual TSkinPicture* CurrentAnimateFrame();
  // Fires the picture's OnAnimateRePaint.
  virtual void DoAnimateRePaint();
  virtual void StartAnimate() {}
  virtual void StopAnimate() {}
  // Draws CurrentAnimateFrame through the canvas into the control rectangle,
  // placed by the parameter.
  virtual bool DrawToCanvas(TDrawCanvas* ACanvas, TBaseDrawPictureParam* ADrawPictureParam, const TRectF& ADrawRect);

  bool Animated() const { return FAnimated; }
  // Starts or stops the animation.
  void SetAnimated(bool AValue);
  double AnimateSpeed() const { return FAnimateSpeed; }
  void SetAnimateSpeed(double AValue);
  std::int32_t GIFDelayExp() const { return FGIFDelayExp; }
  void SetGIFDelayExp(std::int32_t AValue);

 private:
  bool FAnimated = false;
  double FAnimateSpeed = DefaultAnimateSpeed;
  std::int32_t FGIFDelayExp = DefaultGIFDelayExp;
};

// The plain engine of the Qt drawing back end.
class TQtSkinPictureEngine : public TSkinPictureEngine {
 public:
  using TSkinPictureEngine::TSkinPictureEngine;
  ~TQtSkinPictureEngine() override;
};

// The GIF-capable engine. A decoder would add its decoded frames and their
// painter here; the one the library has is the host bitmap's, which decodes
// the first frame, so the current frame is the picture itself.
class TSkinGIFPictureEngine : public TSkinBaseGIFPictureEngine {
 public:
  using TSkinBaseGIFPictureEngine::TSkinBaseGIFPictureEngine;
  ~TSkinGIFPictureEngine() override;

  // Starts the animation on first use when the picture holds GIF bytes and
  // Animated is on, then answers the active frame.
  TSkinPicture* CurrentAnimateFrame() override;
};

// The GIF-capable engine of the Qt drawing back end.
class TQtSkinGIFPictureEngine : public TSkinGIFPictureEngine {
 public:
  using TSkinGIFPictureEngine::TSkinGIFPictureEngine;
  ~TQtSkinGIFPictureEngine() override;
};

namespace ostrel::skin {

// Where GIF data starts in ABytes: 0 when the first three bytes spell "GIF"
// in any letter case, 4 when they do behind a 4-byte length, else nothing.
// Six bytes must be there to look at.
std::optional<qsizetype> GIFDataOffset(const QByteArray& ABytes);

// A clipping radius of a picture ASize wide (or high): -1 (within 0.001) is
// half the size, a radius below 1 a fraction of the size, any other radius
// pixels; never more than half the size.
double ResolveClipRadius(double ARadius, double ASize);

// The pictures registered as theme-coloured (SkinThemeColorChange on).
const std::vector<TSkinPicture*>& ThemeColoredPictures();

}  // namespace ostrel::skin

class TSkinPicture : public TBitmap, public ISupportClassDocNode {
  Q_OBJECT

 public:
  static constexpr double DefaultClipRoundRadius = -1.0;

  TSkinPicture();
  ~TSkinPicture() override;

  // Does nothing here; draw pictures reset their sources.
  virtual void Clear();
  // The picture to draw: this one, or its recoloured variant when one exists.
  virtual TSkinPicture* CurrentPicture();
  virtual bool GetCurrentIsGIF() const { return HasGIFStream(); }
  virtual const QByteArray& GetCurrentGIFStream() const { return FGIFStream; }

  // Class name "TSkinPicture"; the own name, the pixels as PNG and the GIF bytes.
  bool SaveToDocNode(TBTNode20_Class* ADocNode) const override;
  // Takes the nodes SaveToDocNode writes; pixel bytes that do not decode
  // leave the picture empty and a log line.
  bool LoadFromDocNode(TBTNode20_Class* ADocNode) override;

  // Keeps the bytes when they are GIF, then decodes. A file that cannot be
  // opened raises EFOpenError; bytes that do not decode are logged and leave
  // the pixels as they were. The after-load hook runs either way.
  void LoadFromFile(const QString& AFileName) override;
  // The same without the GIF check.
  void DirectLoadFromFile(const QString& AFileName);
  // The same for bytes in memory: the GIF check, then DirectLoadFromStream.
  void LoadFromStream(const QByteArray& ABytes) override;
  void DirectLoadFromStream(const QByteArray& ABytes);
  // Loads the program's resource of that name; false, and nothing changes,
  // when there is none.
  bool LoadFromResource(const QString& AResourceName);

  // From another picture: its name, theme colour switches and GIF bytes;
  // from anything else Clear first. Then the pixels and the after-load hook.
  void Assign(const TPersistent* ASource) override;

  bool HasGIFStream() const { return !FGIFStream.isEmpty(); }
  const QByteArray& GIFStream() const { return FGIFStream; }

  // Fires OnChange; a change made by an OnChange handler is logged and not told again.
  void DoChange();

  // A new picture of the same size: transparent, with this picture's pixels
  // filling a rounded rectangle over the whole area, rounded on ACorners
  // (radii as ResolveClipRadius takes them). Null for an empty picture.
  std::unique_ptr<TSkinPicture> CreateClipRoundPicture(TCorners ACorners, double AYRadius, double AXRadius) const;

  // The engine for this picture, made on first request (GIF-capable when GIFSupport).
  TSkinPictureEngine* SkinPictureEngine();

  QString ImageName() const { return FImageName; }
  void SetImageName(const QString& AValue) { FImageName = AValue; }
  void* Data() const { return FData; }
  void SetData(void* AValue) { FData = AValue; }
  bool GIFSupport() const { return FGIFSupport; }
  void SetGIFSupport(bool AValue);
  const TNotifyEvent& OnAnimateRePaint() const { return FOnAnimateRePaint; }
  void SetOnAnimateRePaint(TNotifyEvent AValue) { FOnAnimateRePaint = std::move(AValue); }
  // Switching it on clips the pixels at once; switching it off keeps them.
  bool IsClipRound() const { return FIsClipRound; }
  void SetIsClipRound(bool AValue);
  double ClipRoundXRadis() const { return FClipRoundXRadis; }
  void SetClipRoundXRadis(double AValue) { FClipRoundXRadis = AValue; }
  double ClipRoundYRadis() const { return FClipRoundYRadis; }
  void SetClipRoundYRadis(double AValue) { FClipRoundYRadis = AValue; }
  TCorners ClipRoundCorners() const { return FClipRoundCorners; }
  void SetClipRoundCorners(TCorners AValue) { FClipRoundCorners = AValue; }
  TAlphaColor SkinThemeColor() const { return FSkinThemeColor; }
  void SetSkinThemeColor(TAlphaColor AValue) { FSkinThemeColor = AValue; }
  // Adds the picture to or removes it from the theme-coloured pictures;
  // switching it off frees the recoloured variant.
  bool SkinThemeColorChange() const { return FSkinThemeColorChange; }
  void SetSkinThemeColorChange(bool AValue);

  // Set when pixels were copied in from another bitmap.
  bool IsChanged = false;

  // Forms: the host's "PNG" plus "GIFFileData", written when there are GIF
  // bytes; reading it keeps the bytes when they are GIF.
  QStringList BinaryPropertyNames() const override;
  void ReadBinaryProperty(const QString& AName, const QByteArray& AData) override;
  std::optional<QByteArray> WriteBinaryProperty(const QString& AName) const override;

 protected:
  // A change of pixels is a change of the picture.
  void BitmapChanged() override;
  // Runs PictureChanged.
  void AfterLoad() override;
  // Frees the engine, so that it is made anew for the new pixels, and clips
  // the pixels when IsClipRound (not again while clipping).
  void PictureChanged();
  // Keeps ABytes as GIF bytes when they are GIF, empties them for empty
  // data and leaves them otherwise. Answers where the GIF data starts.
  std::optional<qsizetype> CheckGIF(const QByteArray& ABytes);
  // Logs a picture that did not decode.
  static void LogLoadError(const QString& AMethod, const Exception& AError);
  // The flag alone, pixels untouched (stored pixels were clipped before they were stored).
  void SetStaticIsClipRound(bool AValue) { FIsClipRound = AValue; }

 private:
  void ClipPixels();

  QString FImageName;
  void* FData = nullptr;
  QByteArray FGIFStream;
  bool FGIFSupport = false;
  TNotifyEvent FOnAnimateRePaint;
  bool FIsDoChangeing = false;
  bool FIsClipRound = false;
  double FClipRoundXRadis = DefaultClipRoundRadius;
  double FClipRoundYRadis = DefaultClipRoundRadius;
  TCorners FClipRoundCorners = AllCorners;
  std::unique_ptr<TSkinPicture> FSkinThemeColorPicture;
  TAlphaColor FSkinThemeColor = 0;
  bool FSkinThemeColorChange = false;
  std::unique_ptr<TSkinPictureEngine> FSkinPictureEngine;
  bool FIsNoDoPictureChanged = false;
};
