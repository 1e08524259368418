#include "skin/base/uDrawCanvas.h"

#include "skin/base/uBaseLog.h"
#include "skin/base/uDrawPicture.h"
#include "skin/base/uSkinBufferBitmap.h"

#include <QCoreApplication>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

using ostrel::skin::NearlyEqual;

namespace {

// Control points of a quarter ellipse drawn as one cubic curve lie this
// fraction of the radius from the corner point along each edge.
constexpr double kCornerControl = 0.4477152502;

// The largest extent measuring lays text out in where none is given.
constexpr double kUnbounded = 65535;

double Snap(double AValue, bool ASnap) { return ASnap ? std::floor(AValue) : AValue; }

struct CornerRadii {
  double X = 0;
  double Y = 0;
  bool Rounded() const { return X > 0 && Y > 0; }
};

// The radii each corner of ARect is drawn with: ARx, ARy limited to half the
// size on the corners in ACorners, none elsewhere or when either radius is 0.
struct RoundRectCorners {
  CornerRadii TopLeft, TopRight, BottomRight, BottomLeft;
  RoundRectCorners(const TRectF& ARect, double ARx, double ARy, TCorners ACorners) {
    CornerRadii radii{std::clamp(ARx, 0.0, std::max(0.0, ARect.width() / 2)),
                      std::clamp(ARy, 0.0, std::max(0.0, ARect.height() / 2))};
    if (!radii.Rounded()) return;
    if (ACorners.Contains(TCorner::TopLeft)) TopLeft = radii;
    if (ACorners.Contains(TCorner::TopRight)) TopRight = radii;
    if (ACorners.Contains(TCorner::BottomRight)) BottomRight = radii;
    if (ACorners.Contains(TCorner::BottomLeft)) BottomLeft = radii;
  }
};

// One step along the outline, clockwise from the top side.
struct OutlineStep {
  TPointF Start;
  TPointF End;
  bool IsCurve = false;
  TPointF Control1;
  TPointF Control2;
};

void Draw(QPainterPath& APath, const OutlineStep& AStep) {
  if (AStep.IsCurve) {
    APath.cubicTo(AStep.Control1, AStep.Control2, AStep.End);
  } else {
    APath.lineTo(AStep.End);
  }
}

// The corner curve from AStart to AEnd around the corner point ACorner.
OutlineStep Line(TPointF AStart, TPointF AEnd) { return {AStart, AEnd, false, AStart, AEnd}; }

OutlineStep Curve(TPointF AStart, TPointF ACorner, TPointF AEnd) {
  const TPointF c1 = ACorner + (AStart - ACorner) * kCornerControl;
  const TPointF c2 = ACorner + (AEnd - ACorner) * kCornerControl;
  return {AStart, AEnd, true, c1, c2};
}

}  // namespace

// Line and path parameters

TDrawLineParam::TDrawLineParam(const QString& AName, const QString& ACaption)
    : TDrawParam(AName, ACaption), FLineColor(CreateDrawColor(QStringLiteral("LineColor"), QString())) {}

TDrawLineParam::~TDrawLineParam() = default;

void TDrawLineParam::SetLineWidth(double AValue) {
  if (FLineWidth == AValue) return;
  FLineWidth = AValue;
  DoChange();
}

TDrawPathParam::TDrawPathParam(const QString& AName, const QString& ACaption) : TDrawParam(AName, ACaption) {}

TDrawPathParam::~TDrawPathParam() = default;

TDrawPathData::~TDrawPathData() = default;

// Coloured text pieces

TBaseColorTextItem::TBaseColorTextItem() : FDrawFont(std::make_unique<TDrawFont>()) {}

TBaseColorTextItem::~TBaseColorTextItem() = default;

TBaseColorTextItem& TColorTextCollection::Add(const QString& AText) {
  FItems.push_back(std::make_unique<TBaseColorTextItem>());
  FItems.back()->Text = AText;
  return *FItems.back();
}

// Settings

ostrel::skin::DrawCanvasSettings& ostrel::skin::DrawSettings() {
  static DrawCanvasSettings settings;
  return settings;
}

void ostrel::skin::ResetDrawSettings() {
  DrawCanvasSettings& settings = DrawSettings();
  const double scale = settings.ScreenScale;
  settings = DrawCanvasSettings();
  settings.ScreenScale = scale;
}

// Geometry

TRectF ostrel::skin::BorderInsetRect(const TRectF& ARect, double ABorderWidth) {
  if (NearlyEqual(ABorderWidth, 0)) return ARect;
  double left = ARect.left();
  double right = ARect.right();
  double top = ARect.top();
  double bottom = ARect.bottom();
  if (right - left < ABorderWidth) {
    left = (left + right) / 2;
    right = left + 0.01;
  } else {
    left += ABorderWidth / 2;
    right -= ABorderWidth / 2;
  }
  if (bottom - top < ABorderWidth) {
    top = (top + bottom) / 2;
    bottom = top + 0.01;
  } else {
    top += ABorderWidth / 2;
    bottom -= ABorderWidth / 2;
  }
  return TRectF(TPointF(left, top), TPointF(right, bottom));
}

double ostrel::skin::ResolveRoundRadius(double ARadius, double ASize) {
  const double half = std::max(0.0, ASize / 2);
  return NearlyEqual(ARadius, -1) ? half : std::clamp(ARadius, 0.0, half);
}

TCorners ostrel::skin::HostCorners(TDRPRectCorners ACorners) {
  TCorners corners;
  if (ACorners.Contains(TDRPRectCorner::rcTopLeft)) corners.Include(TCorner::TopLeft);
  if (ACorners.Contains(TDRPRectCorner::rcTopRight)) corners.Include(TCorner::TopRight);
  if (ACorners.Contains(TDRPRectCorner::rcBottomLeft)) corners.Include(TCorner::BottomLeft);
  if (ACorners.Contains(TDRPRectCorner::rcBottomRight)) corners.Include(TCorner::BottomRight);
  return corners;
}

TSides ostrel::skin::HostSides(TDRPBorderEadges AEdges) {
  TSides sides;
  if (AEdges.Contains(TDRPBorderEadge::beLeft)) sides.Include(TSide::Left);
  if (AEdges.Contains(TDRPBorderEadge::beTop)) sides.Include(TSide::Top);
  if (AEdges.Contains(TDRPBorderEadge::beRight)) sides.Include(TSide::Right);
  if (AEdges.Contains(TDRPBorderEadge::beBottom)) sides.Include(TSide::Bottom);
  return sides;
}

ostrel::skin::TLineSegment ostrel::skin::RectLineSegment(const TRectF& R, bool AIsLine, TDRPLinePosition APosition,
                                                         bool ASnap) {
  const auto vertical = [&](double AX) { return TLineSegment{{AX, R.top()}, {AX, R.bottom()}}; };
  const auto horizontal = [&](double AY) { return TLineSegment{{R.left(), AY}, {R.right(), AY}}; };
  if (AIsLine) {
    switch (APosition) {
      case TDRPLinePosition::lpLeft: return vertical(Snap(R.left(), ASnap) + 0.5);
      case TDRPLinePosition::lpTop: return horizontal(Snap(R.top(), ASnap) + 0.5);
      case TDRPLinePosition::lpRight: return vertical(Snap(R.right(), ASnap) - 0.5);
      case TDRPLinePosition::lpBottom: break;
    }
    return horizontal(Snap(R.bottom(), ASnap) - 0.5);
  }
  if (R.width() <= 1.001) return vertical(Snap(R.left(), ASnap) + 0.5);
  // Like the line of a 1-pixel-wide rectangle, the line of a 1-pixel-high one
  // runs through the rectangle's own row of pixels.
  return horizontal(Snap(R.top(), ASnap) + 0.5);
}

void ostrel::skin::AddRoundRectFigure(QPainterPath& APath, const TRectF& ARect, double ARx, double ARy,
                                      TCorners ACorners) {
  const RoundRectCorners c(ARect, ARx, ARy, ACorners);
  const double l = ARect.left();
  const double t = ARect.top();
  const double r = ARect.right();
  const double b = ARect.bottom();
  APath.moveTo(l + c.TopLeft.X, t);
  APath.lineTo(r - c.TopRight.X, t);
  if (c.TopRight.Rounded()) Draw(APath, Curve({r - c.TopRight.X, t}, {r, t}, {r, t + c.TopRight.Y}));
  APath.lineTo(r, b - c.BottomRight.Y);
  if (c.BottomRight.Rounded()) Draw(APath, Curve({r, b - c.BottomRight.Y}, {r, b}, {r - c.BottomRight.X, b}));
  APath.lineTo(l + c.BottomLeft.X, b);
  if (c.BottomLeft.Rounded()) Draw(APath, Curve({l + c.BottomLeft.X, b}, {l, b}, {l, b - c.BottomLeft.Y}));
  APath.lineTo(l, t + c.TopLeft.Y);
  if (c.TopLeft.Rounded()) Draw(APath, Curve({l, t + c.TopLeft.Y}, {l, t}, {l + c.TopLeft.X, t}));
  APath.closeSubpath();
}

void ostrel::skin::AddRoundRectSides(QPainterPath& APath, const TRectF& ARect, double ARx, double ARy,
                                     TCorners ACorners, TSides ASides) {
  const RoundRectCorners c(ARect, ARx, ARy, ACorners);
  const double l = ARect.left();
  const double t = ARect.top();
  const double r = ARect.right();
  const double b = ARect.bottom();
  const bool top = ASides.Contains(TSide::Top);
  const bool right = ASides.Contains(TSide::Right);
  const bool bottom = ASides.Contains(TSide::Bottom);
  const bool left = ASides.Contains(TSide::Left);
  struct Step {
    OutlineStep Geometry;
    bool Drawn;
  };
  // Clockwise from the top side; a corner is drawn when both its sides are.
  const std::array<Step, 8> steps{{
      {Line({l + c.TopLeft.X, t}, {r - c.TopRight.X, t}), top},
      {Curve({r - c.TopRight.X, t}, {r, t}, {r, t + c.TopRight.Y}), top && right && c.TopRight.Rounded()},
      {Line({r, t + c.TopRight.Y}, {r, b - c.BottomRight.Y}), right},
      {Curve({r, b - c.BottomRight.Y}, {r, b}, {r - c.BottomRight.X, b}), right && bottom && c.BottomRight.Rounded()},
      {Line({r - c.BottomRight.X, b}, {l + c.BottomLeft.X, b}), bottom},
      {Curve({l + c.BottomLeft.X, b}, {l, b}, {l, b - c.BottomLeft.Y}), bottom && left && c.BottomLeft.Rounded()},
      {Line({l, b - c.BottomLeft.Y}, {l, t + c.TopLeft.Y}), left},
      {Curve({l, t + c.TopLeft.Y}, {l, t}, {l + c.TopLeft.X, t}), left && top && c.TopLeft.Rounded()},
  }};
  // Sides that follow each other form one stroke, so their joins are joins,
  // not two line ends; start after an undrawn side so no stroke is cut in two.
  std::size_t first = 0;
  for (std::size_t i = 0; i < steps.size(); i += 2) {
    if (!steps[i].Drawn) {
      first = i + 1;
      break;
    }
  }
  bool inStroke = false;
  for (std::size_t n = 0; n < steps.size(); ++n) {
    const Step& step = steps[(first + n) % steps.size()];
    const bool isSide = (first + n) % 2 == 0;
    if (!step.Drawn) {
      // An undrawn side ends a stroke; at an undrawn corner the next side
      // either starts where the last one ended (a square corner) or is
      // undrawn itself.
      if (isSide) inStroke = false;
      continue;
    }
    if (!inStroke || APath.currentPosition() != step.Geometry.Start) APath.moveTo(step.Geometry.Start);
    Draw(APath, step.Geometry);
    inStroke = true;
  }
}

ostrel::skin::TMarginsF ostrel::skin::MarginsOf(const TBorderMargins& AMargins) {
  return {static_cast<double>(AMargins.Left()), static_cast<double>(AMargins.Top()),
          static_cast<double>(AMargins.Right()), static_cast<double>(AMargins.Bottom())};
}

ostrel::skin::TPicturePlacement ostrel::skin::PlacementOf(const TBaseDrawPictureParam& AParam) {
  return {AParam.IsStretch(), AParam.IsAutoFit(), AParam.Scale(), AParam.PictureHorzAlign(), AParam.PictureVertAlign()};
}

TRectF ostrel::skin::PlacePicture(double AWidth, double AHeight, const TRectF& R, const TPicturePlacement& APlacement) {
  const double k = APlacement.Scale;
  const double rw = R.width();
  const double rh = R.height();
  if (APlacement.IsStretch && !APlacement.IsAutoFit) return TRectF(R.left(), R.top(), rw * k, rh * k);
  double width = AWidth;
  double height = AHeight;
  if (APlacement.IsAutoFit && AWidth > 0 && AHeight > 0) {
    // Aspect ratios compared crosswise, so an empty rectangle divides by nothing.
    const bool widthLimited = rw * AHeight < AWidth * rh;
    const bool fits = AWidth <= rw && AHeight <= rh;
    if (APlacement.IsStretch || !fits) {
      if (widthLimited) {
        width = rw;
        height = AHeight * rw / AWidth;
      } else {
        height = rh;
        width = AWidth * rh / AHeight;
      }
    }
  }
  width *= k;
  height *= k;
  double left = R.left();
  switch (APlacement.HorzAlign) {
    case TPictureHorzAlign::phaCenter:
      if (rw - width > 0) left += (rw - width) / 2;
      break;
    case TPictureHorzAlign::phaRight: left = R.right() - width; break;
    case TPictureHorzAlign::phaLeft: break;
  }
  double top = R.top();
  switch (APlacement.VertAlign) {
    case TPictureVertAlign::pvaCenter:
      if (rh - height > 0) top += (rh - height) / 2;
      break;
    case TPictureVertAlign::pvaBottom: top = R.bottom() - height; break;
    case TPictureVertAlign::pvaTop: break;
  }
  return TRectF(left, top, width, height);
}

ostrel::skin::TPictureCut ostrel::skin::CutOf(const TBaseDrawPictureParam& AParam) {
  return {AParam.IsStretch(),
          AParam.Scale(),
          AParam.StretchStyle(),
          AParam.PictureTooSmallProcessType(),
          MarginsOf(*AParam.StretchMargins()),
          MarginsOf(*AParam.DestDrawStretchMargins())};
}

ostrel::skin::TPicturePieces ostrel::skin::CutPicture(const TRectF& S, const TRectF& D, const TPictureCut& ACut) {
  TPicturePieces pieces;
  if (!ACut.IsStretch && ACut.Scale == 1) {
    pieces.Add(S, D);
    return pieces;
  }
  const auto piece = [&](double sx, double sy, double sw, double sh, double dx, double dy, double dw, double dh) {
    pieces.Add(TRectF(sx, sy, sw, sh), TRectF(dx, dy, dw, dh));
  };
  const TMarginsF& src = ACut.Margins;
  const bool pro = ACut.StretchStyle == TPictureStretchStyle::issSquarePro ||
                   ACut.StretchStyle == TPictureStretchStyle::issThreePartHorzPro ||
                   ACut.StretchStyle == TPictureStretchStyle::issThreePartVertPro;
  const TMarginsF& dst = pro ? ACut.DestMargins : ACut.Margins;
  const double sl = src.Left, st = src.Top, sr = src.Right, sb = src.Bottom;
  const double dl = dst.Left, dt = dst.Top, dr = dst.Right, db = dst.Bottom;
  const double sw = S.width(), sh = S.height(), dw = D.width(), dh = D.height();
  const bool fitsAnyway = ACut.TooSmall == TPictureTooSmallProcessType::itsptNone;
  switch (ACut.StretchStyle) {
    case TPictureStretchStyle::issSquare:
    case TPictureStretchStyle::issSquarePro:
      if (!(fitsAnyway || (sw >= sl + sr && sh >= st + sb && dw >= sw && dh >= sh))) break;
      piece(S.left(), S.top(), sl, st, D.left(), D.top(), dl, dt);
      piece(S.right() - sr, S.top(), sr, st, D.right() - dr, D.top(), dr, dt);
      piece(S.left(), S.bottom() - sb, sl, sb, D.left(), D.bottom() - db, dl, db);
      piece(S.right() - sr, S.bottom() - sb, sr, sb, D.right() - dr, D.bottom() - db, dr, db);
      piece(S.left() + sl, S.top(), sw - sl - sr, st, D.left() + dl, D.top(), dw - dl - dr, dt);
      piece(S.left() + sl, S.bottom() - sb, sw - sl - sr, sb, D.left() + dl, D.bottom() - db, dw - dl - dr, db);
      piece(S.left(), S.top() + st, sl, sh - st - sb, D.left(), D.top() + dt, dl, dh - dt - db);
      piece(S.right() - sr, S.top() + st, sr, sh - st - sb, D.right() - dr, D.top() + dt, dr, dh - dt - db);
      piece(S.left() + sl, S.top() + st, sw - sl - sr, sh - st - sb, D.left() + dl, D.top() + dt, dw - dl - dr,
            dh - dt - db);
      return pieces;
    case TPictureStretchStyle::issThreePartHorz:
    case TPictureStretchStyle::issThreePartHorzPro:
      if (fitsAnyway || (sw >= sl + sr && dw >= sw)) {
        piece(S.left(), S.top(), sl, sh, D.left(), D.top(), dl, dh);
        piece(S.right() - sr, S.top(), sr, sh, D.right() - dr, D.top(), dr, dh);
        piece(S.left() + sl, S.top(), sw - sl - sr, sh, D.left() + dl, D.top(), dw - dl - dr, dh);
        return pieces;
      }
      if (ACut.TooSmall == TPictureTooSmallProcessType::itsptPart) {
        piece(S.left(), S.top(), dw, sh, D.left(), D.top(), dw, dh);
        return pieces;
      }
      break;
    case TPictureStretchStyle::issThreePartVert:
    case TPictureStretchStyle::issThreePartVertPro:
      if (fitsAnyway || (sh >= st + sb && dh >= sh)) {
        piece(S.left(), S.top(), sw, st, D.left(), D.top(), dw, dt);
        piece(S.left(), S.bottom() - sb, sw, sb, D.left(), D.bottom() - db, dw, db);
        piece(S.left(), S.top() + st, sw, sh - st - sb, D.left(), D.top() + dt, dw, dh - dt - db);
        return pieces;
      }
      if (ACut.TooSmall == TPictureTooSmallProcessType::itsptPart) {
        piece(S.left(), S.top(), sw, dh, D.left(), D.top(), dw, dh);
        return pieces;
      }
      break;
    case TPictureStretchStyle::issAutoFitFillMax:
      // Nothing to fill, or nothing to fill it from: no piece, and no division by 0.
      if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return pieces;
      if (sh * dw > dh * sw) {
        const double y = (sh - dh * sw / dw) / 2;
        pieces.Add(TRectF(TPointF(S.left(), S.top() + y), TPointF(S.right(), S.bottom() - y)), D);
      } else {
        const double x = (sw - dw * sh / dh) / 2;
        pieces.Add(TRectF(TPointF(S.left() + x, S.top()), TPointF(S.right() - x, S.bottom())), D);
      }
      return pieces;
    case TPictureStretchStyle::issTensile: break;
  }
  pieces.Add(S, D);
  return pieces;
}

TRectF ostrel::skin::PlaceText(const TRectF& C, double AWidth, double AHeight, TFontHorzAlign AHorz,
                               TFontVertAlign AVert) {
  double left = C.left();
  if (AHorz == TFontHorzAlign::fhaCenter) left += (C.width() - AWidth) / 2;
  if (AHorz == TFontHorzAlign::fhaRight) left = C.right() - AWidth;
  double top = C.top();
  if (AVert == TFontVertAlign::fvaCenter) top += (C.height() - AHeight) / 2;
  if (AVert == TFontVertAlign::fvaBottom) top = C.bottom() - AHeight;
  return TRectF(left, top, AWidth, AHeight);
}

double ostrel::skin::CeilToDevicePixels(double AValue, double AScale) {
  // Measurements arrive in fractions that are exact in binary; the margin
  // keeps a product like 14.000000001 from taking one pixel more.
  constexpr double kMargin = 1e-6;
  if (AScale > 0) return std::ceil(AValue * AScale - kMargin) / AScale;
  return std::ceil(AValue - kMargin);
}

// TDrawCanvas

TDrawCanvas::TDrawCanvas() = default;

// A subclass unprepares in its own destructor: CustomUnPrepare is its own.
TDrawCanvas::~TDrawCanvas() { FCanvas = nullptr; }

bool TDrawCanvas::Prepare(QPainter* ACanvas) {
  if (FCanvas != nullptr) UnPrepare();
  FCanvas = ACanvas;
  CustomPrepare();
  return true;
}

bool TDrawCanvas::UnPrepare() {
  // A clip left set belongs to the painter being let go of.
  ResetClip();
  FCanvas = nullptr;
  CustomUnPrepare();
  return true;
}

bool TDrawCanvas::BeginDraw() { return true; }

void TDrawCanvas::EndDraw() {}

void TDrawCanvas::SetClip(const TRectF&) {}

void TDrawCanvas::ResetClip() {}

bool TDrawCanvas::DrawPathData(TDrawPathData*) { return true; }

bool TDrawCanvas::FillPathData(TDrawPathParam*, TDrawPathData*) { return true; }

bool TDrawCanvas::DrawPath(TDrawPathParam*, const TRectF&) { return true; }

bool TDrawCanvas::CalcTextDrawRect(TBaseDrawTextParam* ADrawTextParam, const QString& AText, const TRectF& ADrawRect,
                                   TRectF& ATextDrawRect) {
  double width = 0;
  double height = 0;
  CalcTextDrawSize(ADrawTextParam, AText, ADrawRect, width, height, TCalcDrawSizeType::cdstBoth);
  const TFontHorzAlign horz = ADrawTextParam != nullptr ? ADrawTextParam->FontHorzAlign() : TFontHorzAlign::fhaLeft;
  const TFontVertAlign vert = ADrawTextParam != nullptr ? ADrawTextParam->FontVertAlign() : TFontVertAlign::fvaTop;
  ATextDrawRect = ostrel::skin::PlaceText(ADrawRect, width, height, horz, vert);
  return true;
}

bool TDrawCanvas::DrawRectLine(TDrawLineParam* ADrawLineParam, const TRectF& ADrawRect, TDRPLinePosition ALinePosition) {
  const ostrel::skin::TLineSegment line = ostrel::skin::RectLineSegment(
      ADrawRect, true, ALinePosition, ostrel::skin::DrawSettings().IsPixelSnapping);
  return DrawLine(ADrawLineParam, line.P1.x(), line.P1.y(), line.P2.x(), line.P2.y());
}

bool TDrawCanvas::CalcTextDrawWidth(TBaseDrawTextParam* ADrawTextParam, const QString& AText, const TRectF& ADrawRect,
                                    double& ADrawWidth) {
  double height = 0;
  return CalcTextDrawSize(ADrawTextParam, AText, ADrawRect, ADrawWidth, height, TCalcDrawSizeType::cdstWidth);
}

bool TDrawCanvas::CalcTextDrawHeight(TBaseDrawTextParam* ADrawTextParam, const QString& AText, const TRectF& ADrawRect,
                                     double& ADrawHeight) {
  double width = 0;
  return CalcTextDrawSize(ADrawTextParam, AText, ADrawRect, width, ADrawHeight, TCalcDrawSizeType::cdstHeight);
}

bool TDrawCanvas::DrawPicture(TBaseDrawPictureParam* ADrawPictureParam, TBaseDrawPicture* ADrawPicture,
                              const TRectF& ADrawRect) {
  if (ADrawPictureParam == nullptr || ADrawPicture == nullptr || ADrawRect.width() <= 0 || ADrawRect.height() <= 0) {
    return true;
  }
  const TRectF R = ADrawPictureParam->CalcDrawRect(ADrawRect);
  ADrawPicture->CurrentEffectImageIndex = ADrawPictureParam->CurrentEffectImageIndex(ADrawPicture->ImageIndex());
  ADrawPicture->CurrentEffectImageName = ADrawPictureParam->CurrentEffectImageName();
  TSkinPicture* picture = ADrawPicture->CurrentPicture();
  if (picture == nullptr || picture->IsEmpty()) return true;
  const double width = picture->Width();
  const double height = picture->Height();
  const TRectF D = ostrel::skin::PlacePicture(width, height, R, ostrel::skin::PlacementOf(*ADrawPictureParam));
  return DrawSkinPicture(ADrawPictureParam, picture, ADrawRect, true, TRectF(0, 0, width, height), D);
}

// TDrawCanvasSetting

TDrawCanvasSetting::TDrawCanvasSetting(TComponent* AOwner) : TComponent(AOwner) {}

TDrawCanvasSetting::~TDrawCanvasSetting() = default;

bool TDrawCanvasSetting::IsUseDefaultFontFamily() const { return ostrel::skin::DrawSettings().IsUseDefaultFontFamily; }
void TDrawCanvasSetting::SetIsUseDefaultFontFamily(bool AValue) {
  ostrel::skin::DrawSettings().IsUseDefaultFontFamily = AValue;
}
QString TDrawCanvasSetting::DefaultFontFamily() const { return ostrel::skin::DrawSettings().DefaultFontFamily; }
void TDrawCanvasSetting::SetDefaultFontFamily(const QString& AValue) {
  ostrel::skin::DrawSettings().DefaultFontFamily = AValue;
}
bool TDrawCanvasSetting::IsDrawDesigningRect() const { return ostrel::skin::DrawSettings().IsDrawDesigningRect; }
void TDrawCanvasSetting::SetIsDrawDesigningRect(bool AValue) { ostrel::skin::DrawSettings().IsDrawDesigningRect = AValue; }
bool TDrawCanvasSetting::IsDrawDesigningName() const { return ostrel::skin::DrawSettings().IsDrawDesigningName; }
void TDrawCanvasSetting::SetIsDrawDesigningName(bool AValue) { ostrel::skin::DrawSettings().IsDrawDesigningName = AValue; }

// Measuring

namespace {

std::unique_ptr<TBufferBitmap>& GlobalBuffer() {
  static std::unique_ptr<TBufferBitmap> buffer;
  return buffer;
}

void Log(const QString& ALine) { TBaseLog::Instance().OutputDebugString(ALine); }

}  // namespace

TBufferBitmap* GetGlobalAutoSizeBufferBitmap() {
  std::unique_ptr<TBufferBitmap>& buffer = GlobalBuffer();
  if (buffer == nullptr) {
    buffer = std::make_unique<TBufferBitmap>();
    buffer->CreateBufferBitmap(100, 100, 1.0f);
    // Its painter and fonts must go while the application they belong to is still there.
    if (QCoreApplication::instance() != nullptr) qAddPostRoutine(&FreeGlobalAutoSizeBufferBitmap);
  }
  return buffer.get();
}

void FreeGlobalAutoSizeBufferBitmap() { GlobalBuffer().reset(); }

TTextSize GetStringSize(const QString& AText, const TRectF& ARect, TBaseDrawTextParam* ADrawTextParam) {
  if (AText.isEmpty()) return {};
  TBaseDrawTextParam* param = ADrawTextParam != nullptr ? ADrawTextParam : &ostrel::skin::GlobalDrawTextParam();
  TBufferBitmap* buffer = GetGlobalAutoSizeBufferBitmap();
  TDrawCanvas* canvas = buffer != nullptr ? buffer->DrawCanvas() : nullptr;
  if (canvas == nullptr) {
    Log(QStringLiteral("GetStringSize GetGlobalAutoSizeBufferBitmap.DrawCanvas=nil"));
    FreeGlobalAutoSizeBufferBitmap();
    return {};
  }
  const TRectF area = param->IsWordWrap() ? TRectF(ARect.topLeft(), TPointF(ARect.right(), kUnbounded))
                                          : TRectF(ARect.topLeft(), TPointF(kUnbounded, ARect.bottom()));
  TTextSize size;
  try {
    canvas->CalcTextDrawSize(param, AText, area, size.Width, size.Height, TCalcDrawSizeType::cdstBoth);
  } catch (const std::exception& e) {
    Log(QStringLiteral("GetStringSize Error:") + QString::fromUtf8(e.what()));
    return {};
  }
  return size;
}

double GetStringWidth(const QString& AText, const TRectF& ARect, TBaseDrawTextParam* ADrawTextParam) {
  return GetStringSize(AText, ARect, ADrawTextParam).Width;
}

double GetStringHeight(const QString& AText, const TRectF& ARect, TBaseDrawTextParam* ADrawTextParam) {
  return GetStringSize(AText, ARect, ADrawTextParam).Height;
}

double GetStringWidthBySize(const QString& AText, double AFontSize) {
  TDrawTextParam& param = ostrel::skin::GlobalDrawTextParam();
  param.SetFontSize(AFontSize);
  param.SetIsWordWrap(false);
  return GetStringWidth(AText, TRectF(TPointF(0, 0), TPointF(kUnbounded, 50)), &param);
}

TTextSize GetTextAutoSize(const QString& AText, const TRectF& ARect, TBaseDrawTextParam* ADrawTextParam) {
  TBaseDrawTextParam* param = ADrawTextParam != nullptr ? ADrawTextParam : &ostrel::skin::GlobalDrawTextParam();
  const TTextSize measured = GetStringSize(AText, ARect, param);
  TTextSize size{measured.Width + param->AutoSizeWidthAdjust(), measured.Height + param->AutoSizeHeightAdjust()};
  if (const TDrawRectSetting* setting = param->DrawRectSetting(); setting->Enabled()) {
    size.Width += setting->Left() + setting->Right();
    size.Height += setting->Top() + setting->Bottom();
  }
  if (!param->IsWordWrap()) size.Height = ARect.height();
  return size;
}
