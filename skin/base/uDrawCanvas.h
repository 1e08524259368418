#pragma once
// The draw canvas: it executes drawing parameters on the host framework's
// canvas (a QPainter). TDrawCanvas is the abstract canvas with the parts that
// need no host; the Qt back end implements it (uQtDrawCanvas). Every
// operation takes the control's rectangle, applies the parameter's own
// sub-rectangle, and answers True, also when there is nothing to draw.
//
// The geometry rules (border inset, radii, line snapping, picture
// placement, the pieces of a stretched picture, text placement) are pure
// functions below, so they are testable alone and shared by measuring and
// drawing. The process-wide drawing settings live here too.

#include "skin/base/uDrawPictureParam.h"
#include "skin/base/uDrawRectParam.h"
#include "skin/base/uDrawTextParam.h"
#include "skin/host/Component.h"
#include "skin/host/Types.h"

#include <QObject>
#include <QString>

#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

class QPainter;
class QPainterPath;
class TSkinPicture;
class TBaseDrawPicture;
class TBufferBitmap;

namespace uDrawCanvas {
Q_NAMESPACE

enum class TCalcDrawSizeType : std::uint8_t { cdstBoth, cdstWidth, cdstHeight };
Q_ENUM_NS(TCalcDrawSizeType)

}  // namespace uDrawCanvas

using uDrawCanvas::TCalcDrawSizeType;

// Line and path parameters are drawn by the canvas but not specified
// further: a line parameter strokes in its colour and width, a path
// parameter and its path data draw nothing here.
class TDrawLineParam : public TDrawParam {
  Q_OBJECT

 public:
  static constexpr double DefaultLineWidth = 1.0;

  TDrawLineParam(const QString& AName = QString(), const QString& ACaption = QString());
  ~TDrawLineParam() override;

  TDrawColor* LineColor() const { return FLineColor.get(); }
  double LineWidth() const { return FLineWidth; }
  void SetLineWidth(double AValue);

 private:
  std::unique_ptr<TDrawColor> FLineColor;
  double FLineWidth = DefaultLineWidth;
};

class TDrawPathParam : public TDrawParam {
  Q_OBJECT

 public:
  TDrawPathParam(const QString& AName = QString(), const QString& ACaption = QString());
  ~TDrawPathParam() override;
};

class TDrawPathData : public TObject {
 public:
  ~TDrawPathData() override;
};

// One piece of a text made of differently coloured pieces.
class TBaseColorTextItem : public TPersistent {
  Q_OBJECT

 public:
  TBaseColorTextItem();
  ~TBaseColorTextItem() override;

  QString Text;
  // The piece's own font, unless IsUseDefaultDrawFont takes the parameter's.
  TDrawFont* DrawFont() const { return FDrawFont.get(); }
  bool IsUseDefaultDrawFont = false;
  // The parameter's colour in force instead of the own font's colour.
  bool IsUseDefaultDrawFontColor = false;

  // Measured by the canvas when it lays the pieces out.
  double DrawTop = 0;
  double DrawWidth = 0;
  double DrawHeight = 0;

 private:
  std::unique_ptr<TDrawFont> FDrawFont;
};

// The pieces of one coloured text, in order; owns them.
class TColorTextCollection {
 public:
  TBaseColorTextItem& Add(const QString& AText);
  int Count() const { return static_cast<int>(FItems.size()); }
  TBaseColorTextItem& Item(int AIndex) const { return *FItems.at(static_cast<std::size_t>(AIndex)); }

 private:
  std::vector<std::unique_ptr<TBaseColorTextItem>> FItems;
};

namespace ostrel::skin {

// ---------------------------------------------------------------------------
// Process-wide drawing settings, read only by the canvas. UI thread only.

struct DrawCanvasSettings {
  // Text is drawn in DefaultFontFamily (when not empty) instead of the parameter's family.
  bool IsUseDefaultFontFamily = false;
  QString DefaultFontFamily;
  bool IsDrawDesigningRect = true;
  bool IsDrawDesigningName = false;
  // Lines run on whole-pixel centres.
  bool IsPixelSnapping = true;
  // Stroke width of the lines drawn for rectangle parameters.
  double DefaultLineWidth = 1.0;
  // Pictures are scaled smoothly, not by the fast mode.
  bool IsSmoothPictures = true;
  // The display scale read when the drawing back end started.
  double ScreenScale = 1.0;
};

// The settings in force; the back end sets ScreenScale when it starts.
DrawCanvasSettings& DrawSettings();
// Back to the start values, keeping ScreenScale; for tests.
void ResetDrawSettings();

// ---------------------------------------------------------------------------
// Geometry of rectangle parameters.

// ≈: within 0.001.
inline bool NearlyEqual(double A, double B) { return std::abs(A - B) <= 0.001; }

// The rectangle a border of width ABorderWidth is stroked on, so that the
// stroke stays inside ARect: narrowed by half the width on each side, or,
// where ARect is narrower than the width, collapsed to 0.01 at its middle.
TRectF BorderInsetRect(const TRectF& ARect, double ABorderWidth);

// A corner radius: -1 (within 0.001) is half ASize; never more than half ASize nor below 0.
double ResolveRoundRadius(double ARadius, double ASize);

// The host corner and side sets a rectangle parameter chooses.
TCorners HostCorners(TDRPRectCorners ACorners);
TSides HostSides(TDRPBorderEadges AEdges);

struct TLineSegment {
  TPointF P1;
  TPointF P2;
  bool operator==(const TLineSegment&) const = default;
};

// Where a rectangle parameter draws its line for drawing rectangle R: along
// the chosen side when AIsLine, else along the left of a rectangle not wider
// than 1.001, else along the top of one not higher than 1.001. Coordinates
// are moved to whole-pixel centres when ASnap.
TLineSegment RectLineSegment(const TRectF& R, bool AIsLine, TDRPLinePosition APosition, bool ASnap);

// Adds a closed figure of ARect whose corners in ACorners are quarter
// ellipses of radii ARx, ARy (each limited to half the size), each one cubic
// curve with its control points 0.4477152502 of the radius from the corner.
void AddRoundRectFigure(QPainterPath& APath, const TRectF& ARect, double ARx, double ARy, TCorners ACorners);
// The chosen sides of that outline as open strokes: a corner curve is part
// of a stroke when both its sides are chosen, and sides that follow each
// other form one stroke.
void AddRoundRectSides(QPainterPath& APath, const TRectF& ARect, double ARx, double ARy, TCorners ACorners,
                       TSides ASides);

// ---------------------------------------------------------------------------
// Geometry of pictures.

struct TMarginsF {
  double Left = 0;
  double Top = 0;
  double Right = 0;
  double Bottom = 0;
};
TMarginsF MarginsOf(const TBorderMargins& AMargins);

// Where a picture of AWidth x AHeight goes in R (without explicit rectangles).
struct TPicturePlacement {
  bool IsStretch = false;
  bool IsAutoFit = false;
  double Scale = 1.0;
  TPictureHorzAlign HorzAlign = TPictureHorzAlign::phaLeft;
  TPictureVertAlign VertAlign = TPictureVertAlign::pvaTop;
};
TPicturePlacement PlacementOf(const TBaseDrawPictureParam& AParam);
TRectF PlacePicture(double AWidth, double AHeight, const TRectF& R, const TPicturePlacement& APlacement);

struct TPicturePiece {
  TRectF Source;
  TRectF Dest;
};

// The pieces a picture is cut into, in drawing order; at most nine, held
// in place so that cutting allocates nothing.
struct TPicturePieces {
  std::array<TPicturePiece, 9> Items{};
  int Count = 0;
  void Add(const TRectF& ASource, const TRectF& ADest) { Items[static_cast<std::size_t>(Count++)] = {ASource, ADest}; }
};

struct TPictureCut {
  bool IsStretch = false;
  double Scale = 1.0;
  TPictureStretchStyle StretchStyle = TPictureStretchStyle::issTensile;
  TPictureTooSmallProcessType TooSmall = TPictureTooSmallProcessType::itsptNone;
  TMarginsF Margins;      // source borders
  TMarginsF DestMargins;  // destination borders of the Pro styles
};
TPictureCut CutOf(const TBaseDrawPictureParam& AParam);

// The pieces source S is drawn as onto destination D. Pieces of zero or
// negative size are kept as they come out; the host decides what they draw.
TPicturePieces CutPicture(const TRectF& S, const TRectF& D, const TPictureCut& ACut);

// ---------------------------------------------------------------------------
// Geometry of text.

// A measured AWidth x AHeight text placed in C (not the sub-rectangle) by the alignments.
TRectF PlaceText(const TRectF& C, double AWidth, double AHeight, TFontHorzAlign AHorz, TFontVertAlign AVert);

// AValue rounded up to whole device pixels of scale AScale (whole units for AScale <= 0).
double CeilToDevicePixels(double AValue, double AScale);

}  // namespace ostrel::skin

// ---------------------------------------------------------------------------

class TDrawCanvas : public TObject {
 public:
  TDrawCanvas();
  // Unprepares.
  ~TDrawCanvas() override;

  QString Name;

  QPainter* GetCanvas() const { return FCanvas; }
  // Binds the canvas to ACanvas (unpreparing from a painter it is still
  // bound to), then CustomPrepare.
  bool Prepare(QPainter* ACanvas);
  // Resets a clip still set, forgets the host canvas, then CustomUnPrepare.
  bool UnPrepare();

  virtual bool CustomPrepare() = 0;
  virtual bool CustomUnPrepare() = 0;
  virtual bool BeginDraw();
  virtual void EndDraw();
  // One level: a second SetClip replaces the first, one ResetClip undoes it.
  virtual void SetClip(const TRectF& AClipRect);
  virtual void ResetClip();
  virtual bool DrawDesigningRect(const TRectF& ADrawRect, TAlphaColor ABorderColor) = 0;
  virtual bool DrawDesigningText(const TRectF& ADrawRect, const QString& AText) = 0;
  virtual bool DrawPathData(TDrawPathData* ADrawPathData);
  virtual bool FillPathData(TDrawPathParam* ADrawPathParam, TDrawPathData* ADrawPathData);
  virtual bool DrawPath(TDrawPathParam* ADrawPathParam, const TRectF& ADrawRect);
  // Width and height of AText laid out in the parameter's rectangle, rounded
  // up to device pixels; both are computed whatever ACalcDrawSizeType asks.
  virtual bool CalcTextDrawSize(TBaseDrawTextParam* ADrawTextParam, const QString& AText, const TRectF& ADrawRect,
                                double& ADrawWidth, double& ADrawHeight, TCalcDrawSizeType ACalcDrawSizeType) = 0;
  virtual bool DrawText(TBaseDrawTextParam* ADrawTextParam, const QString& AText, const TRectF& ADrawRect,
                        const TColorTextCollection* AColorTextList = nullptr) = 0;
  // The measured text placed in ADrawRect by the parameter's alignments.
  virtual bool CalcTextDrawRect(TBaseDrawTextParam* ADrawTextParam, const QString& AText, const TRectF& ADrawRect,
                                TRectF& ATextDrawRect);
  virtual bool DrawSkinPicture(TBaseDrawPictureParam* ADrawPictureParam, TSkinPicture* ASkinPicture,
                               const TRectF& ADrawRect, bool AIsUseSrcRectAndDestDrawRect = false,
                               const TRectF& AImageSrcRect = TRectF(), const TRectF& AImageDestDrawRect = TRectF()) = 0;
  virtual bool DrawRect(TBaseDrawRectParam* ADrawRectParam, const TRectF& ADrawRect) = 0;
  virtual bool DrawLine(TDrawLineParam* ADrawLineParam, double X1, double Y1, double X2, double Y2) = 0;
  virtual bool DrawRectLine(TDrawLineParam* ADrawLineParam, const TRectF& ADrawRect, TDRPLinePosition ALinePosition);

  bool CalcTextDrawWidth(TBaseDrawTextParam* ADrawTextParam, const QString& AText, const TRectF& ADrawRect,
                         double& ADrawWidth);
  bool CalcTextDrawHeight(TBaseDrawTextParam* ADrawTextParam, const QString& AText, const TRectF& ADrawRect,
                          double& ADrawHeight);
  // Sets the draw picture's state-dependent index and name from the
  // parameter, resolves its current picture and draws it placed in the
  // parameter's rectangle.
  bool DrawPicture(TBaseDrawPictureParam* ADrawPictureParam, TBaseDrawPicture* ADrawPicture, const TRectF& ADrawRect);

 protected:
  QPainter* FCanvas = nullptr;
  // The canvas never owns the host canvas.
  bool FCanvasIsOwn = false;
};

// Undoes SetClip when it ends, also when drawing in between fails.
class TScopedCanvasClip {
 public:
  TScopedCanvasClip(TDrawCanvas& ACanvas, const TRectF& AClipRect) : FCanvas(ACanvas) { FCanvas.SetClip(AClipRect); }
  ~TScopedCanvasClip() { FCanvas.ResetClip(); }
  TScopedCanvasClip(const TScopedCanvasClip&) = delete;
  TScopedCanvasClip& operator=(const TScopedCanvasClip&) = delete;

 private:
  TDrawCanvas& FCanvas;
};

// Publishes the four named drawing settings for stored forms; its
// properties read and write the process-wide values.
class TDrawCanvasSetting : public TComponent {
  Q_OBJECT
  Q_PROPERTY(bool IsUseDefaultFontFamily READ IsUseDefaultFontFamily WRITE SetIsUseDefaultFontFamily)
  Q_PROPERTY(QString DefaultFontFamily READ DefaultFontFamily WRITE SetDefaultFontFamily)
  Q_PROPERTY(bool IsDrawDesigningRect READ IsDrawDesigningRect WRITE SetIsDrawDesigningRect)
  Q_PROPERTY(bool IsDrawDesigningName READ IsDrawDesigningName WRITE SetIsDrawDesigningName)

 public:
  explicit TDrawCanvasSetting(TComponent* AOwner = nullptr);
  ~TDrawCanvasSetting() override;

  bool IsUseDefaultFontFamily() const;
  void SetIsUseDefaultFontFamily(bool AValue);
  QString DefaultFontFamily() const;
  void SetDefaultFontFamily(const QString& AValue);
  bool IsDrawDesigningRect() const;
  void SetIsDrawDesigningRect(bool AValue);
  bool IsDrawDesigningName() const;
  void SetIsDrawDesigningName(bool AValue);
};

// ---------------------------------------------------------------------------
// Measuring text without a control, on the process-wide measuring buffer.

// The process-wide 100 x 100 buffer at scale 1 whose draw canvas measures;
// made on first use.
TBufferBitmap* GetGlobalAutoSizeBufferBitmap();
// Frees the buffer, so the next use makes it anew.
void FreeGlobalAutoSizeBufferBitmap();

struct TTextSize {
  double Width = 0;
  double Height = 0;
};
// AText measured in ARect: without word wrap in (ARect.Left, ARect.Top) to
// (65535, ARect.Bottom), with it in (ARect.Left, ARect.Top) to (ARect.Right,
// 65535). Without a parameter the process-wide text parameter measures.
// Errors are logged and give 0 x 0.
TTextSize GetStringSize(const QString& AText, const TRectF& ARect, TBaseDrawTextParam* ADrawTextParam = nullptr);
double GetStringWidth(const QString& AText, const TRectF& ARect, TBaseDrawTextParam* ADrawTextParam = nullptr);
double GetStringHeight(const QString& AText, const TRectF& ARect, TBaseDrawTextParam* ADrawTextParam = nullptr);
// The width of AText at AFontSize without wrap, measured by the process-wide text parameter.
double GetStringWidthBySize(const QString& AText, double AFontSize);
// The size a control that sizes itself to its text takes: the measured size
// plus the parameter's adjustments and sub-rectangle insets; without word
// wrap the height is ARect's.
TTextSize GetTextAutoSize(const QString& AText, const TRectF& ARect, TBaseDrawTextParam* ADrawTextParam = nullptr);
