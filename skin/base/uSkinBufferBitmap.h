#pragma once
// Off-screen drawing: a bitmap with a painter and a draw canvas bound to it
// (the process-wide measuring buffer is one), and a cache of pre-rendered
// rounded rectangles that rectangle drawing itself does not consult.

#include "skin/base/uDrawCanvas.h"
#include "skin/base/uDrawPicture.h"
#include "skin/host/Bitmap.h"

#include <QPainter>

#include <memory>
#include <vector>

// A host bitmap of a logical size at a device scale, with a painter on it
// and a draw canvas of the registered class prepared on that painter.
class TQtPlatformBitmap : public TObject {
 public:
  TQtPlatformBitmap();
  ~TQtPlatformBitmap() override;

  // Frees any previous bitmap, painter and canvas, then makes a bitmap of
  // ceil(AScale x AWidth) x ceil(AScale x AHeight) device pixels at scale
  // AScale. False, with the error logged, when it cannot be made.
  bool CreateBitmap(int AWidth, int AHeight, float AScale);
  // Made with its painter on first request; null while there is no bitmap.
  TDrawCanvas* DrawCanvas();

  TBitmap* Bitmap() const { return FBitmap.get(); }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  float Scale() const { return FScale; }

 private:
  void FreeBitmap();

  std::unique_ptr<QPainter> FBitmapCanvas;
  std::unique_ptr<TBitmap> FBitmap;
  int FWidth = 0;
  int FHeight = 0;
  std::unique_ptr<TDrawCanvas> FDrawCanvas;
  float FScale = 1.0f;
};

class TBufferBitmap : public TObject {
 public:
  TBufferBitmap();
  ~TBufferBitmap() override;

  bool CreateBufferBitmap(int AWidth, int AHeight, float AScale);

  float Scale() const { return FPlatformBitmap->Scale(); }
  TBitmap* SelfBitmap() const { return FPlatformBitmap->Bitmap(); }
  int Width() const { return FPlatformBitmap->Width(); }
  int Height() const { return FPlatformBitmap->Height(); }
  TDrawCanvas* DrawCanvas() const { return FPlatformBitmap->DrawCanvas(); }

 private:
  std::unique_ptr<TQtPlatformBitmap> FPlatformBitmap;
};

// One pre-rendered rounded rectangle and the values it was rendered for.
class TColorRoundRectBitmap : public TObject {
 public:
  TColorRoundRectBitmap();
  ~TColorRoundRectBitmap() override;

  TBaseDrawRectParam* DrawRectParam = nullptr;
  double Width = 0;
  double Height = 0;
  double RoundWidth = 0;
  double RoundHeight = 0;
  TAlphaColor FillColor = 0;
  TDRPRectCorners RectCorners;
  bool IsClipRound = false;
  std::unique_ptr<TDrawPicture> Bitmap;
};

// The cache: an entry per size, radii, colour, corner set and hole flag.
class TColorRoundRectBitmapList : public TObject {
 public:
  TColorRoundRectBitmapList();
  ~TColorRoundRectBitmapList() override;

  // The bitmap of the parameter's fill colour in force, AWidth x AHeight
  // with radii AXRadius, AYRadius (resolved like the clipping of pictures),
  // all multiplied by the screen scale: rounded on the parameter's corners,
  // or, with AIsClipRound, coloured only outside the rounding. Rendered and
  // kept the first time it is asked for.
  TDrawPicture* GetBitmap(TBaseDrawRectParam* ADrawRectParam, double AWidth, double AHeight, double AXRadius,
                          double AYRadius, bool AIsClipRound);
  int Count() const { return static_cast<int>(FItems.size()); }

 private:
  std::vector<std::unique_ptr<TColorRoundRectBitmap>> FItems;
};

namespace ostrel::skin {
// The process-wide cache, made on first use.
TColorRoundRectBitmapList& ColorRoundRectBitmapList();
}  // namespace ostrel::skin
