#include "skin/base/uQtDrawCanvas.h"

#include "skin/base/uBaseLog.h"
#include "skin/base/uDrawClassRegistry.h"
#include "skin/base/uSkinPicture.h"
#include "skin/host/Fonts.h"
#include "skin/host/ImageBands.h"
#include "skin/host/Screen.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTextBoundaryFinder>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <optional>

using ostrel::skin::DrawSettings;
using ostrel::skin::NearlyEqual;
using ostrel::skin::LayOutText;
using ostrel::skin::TextForLayout;

namespace {

// Font sizes beyond this are taken as this: a damaged form must not make
// the font engine render glyphs of any size it names.
constexpr double kMaxFontPixels = 4096;
const QChar kEllipsis(0x2026);

QColor ColorOf(TAlphaColor AColor) { return QColor::fromRgba(AColor); }

bool IsFinite(const TRectF& ARect) {
  return std::isfinite(ARect.x()) && std::isfinite(ARect.y()) && std::isfinite(ARect.width()) &&
         std::isfinite(ARect.height());
}

// The kept cache of a parameter as the type this canvas made it, made on first use.
template <class T>
T& CacheOf(TDrawParam& AParam) {
  if (auto* cache = dynamic_cast<T*>(AParam.DrawCache())) return *cache;
  auto cache = std::make_unique<T>();
  T& result = *cache;
  AParam.SetDrawCache(std::move(cache));
  return result;
}

// Puts back what a draw changes on the painter: pen, brush, opacity and the
// two render hints, however the draw ends.
class PainterRestore {
 public:
  explicit PainterRestore(QPainter& APainter)
      : FPainter(APainter),
        FPen(APainter.pen()),
        FBrush(APainter.brush()),
        FOpacity(APainter.opacity()),
        FHints(APainter.renderHints()) {}
  ~PainterRestore() {
    FPainter.setPen(FPen);
    FPainter.setBrush(FBrush);
    FPainter.setOpacity(FOpacity);
    FPainter.setRenderHint(QPainter::Antialiasing, FHints.testFlag(QPainter::Antialiasing));
    FPainter.setRenderHint(QPainter::SmoothPixmapTransform, FHints.testFlag(QPainter::SmoothPixmapTransform));
  }
  PainterRestore(const PainterRestore&) = delete;
  PainterRestore& operator=(const PainterRestore&) = delete;

 private:
  QPainter& FPainter;
  const QPen FPen;
  const QBrush FBrush;
  const qreal FOpacity;
  const QPainter::RenderHints FHints;
};

// Restores the painter's matrix when a rotated draw ends.
class TransformRestore {
 public:
  explicit TransformRestore(QPainter& APainter) : FPainter(APainter), FTransform(APainter.worldTransform()) {}
  ~TransformRestore() { FPainter.setWorldTransform(FTransform); }
  TransformRestore(const TransformRestore&) = delete;
  TransformRestore& operator=(const TransformRestore&) = delete;

 private:
  QPainter& FPainter;
  const QTransform FTransform;
};

void SetPenColor(QPen& APen, TAlphaColor AColor) {
  const QColor color = ColorOf(AColor);
  if (APen.color() != color) APen.setColor(color);
}

void SetPenWidth(QPen& APen, double AWidth) {
  if (APen.widthF() != AWidth) APen.setWidthF(AWidth);
}

// What a rectangle's paths are built from.
struct RectPathKey {
  TRectF Inset;
  double Rx = 0;
  double Ry = 0;
  TCorners Corners;
  TSides Sides;
  bool IsRound = false;
  bool HasHole = false;
  TRectF Hole;
  double HoleRx = 0;
  double HoleRy = 0;
  bool operator==(const RectPathKey&) const = default;
};

struct GradientKey {
  TRectF Rect;
  TAlphaColor Color = 0;
  TGradientStyle Style = TGradientStyle::Linear;
  TPointF Start;
  TPointF Stop;
  std::vector<TGradientPoint> Points;
  bool operator==(const GradientKey&) const = default;
};

class RectCache : public ostrel::skin::KeptDrawCache {
 public:
  bool HasPaths = false;
  RectPathKey PathKey;
  // Null for a plain rectangle, which is filled as one.
  std::optional<QPainterPath> FillPath;
  QPainterPath StrokePath;
  QBrush FillBrush{Qt::black, Qt::SolidPattern};
  QPen BorderPen{QBrush(Qt::black), 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin};
  QPen LinePen{QBrush(Qt::black), 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin};
  bool HasGradient = false;
  GradientKey Gradient;
  QBrush GradientBrush;
};

class LineCache : public ostrel::skin::KeptDrawCache {
 public:
  QPen Pen{QBrush(Qt::black), 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin};
};

class TextCache : public ostrel::skin::KeptTextLayout {
 public:
  bool IsLaidOut = false;
  ostrel::skin::TextLayoutKey Key;
  bool IsDrawVert = false;
  std::optional<QTextLayout> Layout;
  QPen Pen{Qt::black};
};

void BuildRectPaths(RectCache& ACache, const RectPathKey& AKey) {
  ACache.PathKey = AKey;
  ACache.HasPaths = true;
  ACache.FillPath.reset();
  if (AKey.HasHole) {
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    if (AKey.IsRound) {
      ostrel::skin::AddRoundRectFigure(path, AKey.Inset, AKey.Rx, AKey.Ry, AKey.Corners);
    } else {
      path.addRect(AKey.Inset);
    }
    ostrel::skin::AddRoundRectFigure(path, AKey.Hole, AKey.HoleRx, AKey.HoleRy, AKey.Corners);
    ACache.FillPath = std::move(path);
  } else if (AKey.IsRound) {
    QPainterPath path;
    ostrel::skin::AddRoundRectFigure(path, AKey.Inset, AKey.Rx, AKey.Ry, AKey.Corners);
    ACache.FillPath = std::move(path);
  }
  QPainterPath stroke;
  const double rx = AKey.IsRound ? AKey.Rx : 0;
  const double ry = AKey.IsRound ? AKey.Ry : 0;
  if (AKey.Sides == AllSides) {
    if (AKey.IsRound) {
      ostrel::skin::AddRoundRectFigure(stroke, AKey.Inset, rx, ry, AKey.Corners);
    } else {
      stroke.addRect(AKey.Inset);
    }
  } else {
    ostrel::skin::AddRoundRectSides(stroke, AKey.Inset, rx, ry, AKey.Corners, AKey.Sides);
  }
  ACache.StrokePath = std::move(stroke);
}

const QBrush& GradientBrushOf(RectCache& ACache, const TBaseDrawRectParam& AParam, const TRectF& ARect) {
  const TGradient& gradient = *AParam.Gradient();
  const TAlphaColor color = AParam.FillDrawColor()->Color();
  GradientKey& key = ACache.Gradient;
  if (ACache.HasGradient && key.Rect == ARect && key.Color == color && key.Style == gradient.Style() &&
      key.Start == gradient.StartPosition()->Point() && key.Stop == gradient.StopPosition()->Point() &&
      key.Points == gradient.Points()) {
    return ACache.GradientBrush;
  }
  key = GradientKey{ARect, color, gradient.Style(), gradient.StartPosition()->Point(), gradient.StopPosition()->Point(),
                    gradient.Points()};
  ACache.HasGradient = true;
  const auto at = [&](TPointF AFraction) {
    return TPointF(ARect.left() + AFraction.x() * ARect.width(), ARect.top() + AFraction.y() * ARect.height());
  };
  QGradientStops stops;
  for (std::size_t i = 0; i < key.Points.size(); ++i) {
    // The gradient's own colour is the parameter's own fill colour, whatever an effect fills with.
    const TAlphaColor pointColor = i == 0 ? color : key.Points[i].Color;
    stops.append({std::clamp(key.Points[i].Offset, 0.0, 1.0), ColorOf(pointColor)});
  }
  std::stable_sort(stops.begin(), stops.end(), [](const auto& A, const auto& B) { return A.first < B.first; });
  if (key.Style == TGradientStyle::Radial) {
    QRadialGradient radial(ARect.center(), std::max(ARect.width(), ARect.height()) / 2);
    radial.setStops(stops);
    ACache.GradientBrush = QBrush(radial);
  } else {
    QLinearGradient linear(at(key.Start), at(key.Stop));
    linear.setStops(stops);
    ACache.GradientBrush = QBrush(linear);
  }
  return ACache.GradientBrush;
}

// APart of AWhole, carried over to where AWhole maps onto AOther.
TRectF InProportion(const TRectF& AWhole, const TRectF& APart, const TRectF& AOther) {
  const double kx = AOther.width() / AWhole.width();
  const double ky = AOther.height() / AWhole.height();
  return TRectF(AOther.left() + (APart.left() - AWhole.left()) * kx, AOther.top() + (APart.top() - AWhole.top()) * ky,
                APart.width() * kx, APart.height() * ky);
}

// The part of APiece inside the picture, its destination cut in proportion:
// a source reaching past the picture would make the painter read outside it.
std::optional<ostrel::skin::TPicturePiece> InsidePicture(const ostrel::skin::TPicturePiece& APiece, const QSize& ASize) {
  const TRectF& s = APiece.Source;
  const TRectF& d = APiece.Dest;
  if (!(s.width() > 0 && s.height() > 0 && d.width() > 0 && d.height() > 0)) return std::nullopt;
  const TRectF inside = s.intersected(TRectF(0, 0, ASize.width(), ASize.height()));
  if (inside == s) return APiece;
  if (!(inside.width() > 0 && inside.height() > 0)) return std::nullopt;
  return ostrel::skin::TPicturePiece{inside, InProportion(s, inside, d)};
}

// The part of APiece whose destination lies inside AClip, its source cut in
// proportion, so the picture keeps its place and scale. APiece has a size.
std::optional<ostrel::skin::TPicturePiece> CutPiece(const ostrel::skin::TPicturePiece& APiece, const TRectF& AClip) {
  const TRectF inside = APiece.Dest.intersected(AClip);
  if (inside == APiece.Dest) return APiece;
  if (!(inside.width() > 0 && inside.height() > 0)) return std::nullopt;
  return ostrel::skin::TPicturePiece{InProportion(APiece.Dest, inside, APiece.Source), inside};
}

QFont FontFor(const QString& AFamily, double APixelSize, TFontStyles AStyle, double ADotsPerInch) {
  ostrel::host::EnsureFontFamily(AFamily);
  QFont font(AFamily);
  font.setPointSizeF(APixelSize * 72.0 / ADotsPerInch);
  font.setBold(AStyle.Contains(TFontStyle::fsBold));
  font.setItalic(AStyle.Contains(TFontStyle::fsItalic));
  font.setUnderline(AStyle.Contains(TFontStyle::fsUnderline));
  font.setStrikeOut(AStyle.Contains(TFontStyle::fsStrikeOut));
  return font;
}

double DotsPerInchOf(const QPainter* APainter) {
  const QPaintDevice* device = APainter != nullptr ? APainter->device() : nullptr;
  const int dpi = device != nullptr ? device->logicalDpiY() : 0;
  return dpi > 0 ? dpi : 96;
}

double DeviceScaleOf(const QPainter* APainter) {
  const QPaintDevice* device = APainter != nullptr ? APainter->device() : nullptr;
  return device != nullptr ? device->devicePixelRatioF() : 1.0;
}

// AText cut to fit AWidth, ending in an ellipsis: at any character, or, by
// word, after the last whole word that fits (by character when none does).
QString Elide(const QString& AText, const QFontMetricsF& AMetrics, double AWidth, TFontTrimmingType ATrimming) {
  if (AMetrics.horizontalAdvance(AText) <= AWidth) return AText;
  if (ATrimming == TFontTrimmingType::fftWord) {
    QTextBoundaryFinder words(QTextBoundaryFinder::Word, AText);
    qsizetype best = -1;
    for (qsizetype end = words.toNextBoundary(); end > 0; end = words.toNextBoundary()) {
      if (!words.boundaryReasons().testFlag(QTextBoundaryFinder::EndOfItem)) continue;
      const QString candidate = AText.left(end).trimmed() + kEllipsis;
      if (AMetrics.horizontalAdvance(candidate) > AWidth) break;
      best = end;
    }
    if (best > 0) return AText.left(best).trimmed() + kEllipsis;
  }
  return AMetrics.elidedText(AText, Qt::ElideRight, AWidth);
}

void CreateLines(QTextLayout& ALayout, double ALineWidth) {
  ALayout.beginLayout();
  for (QTextLine line = ALayout.createLine(); line.isValid(); line = ALayout.createLine()) line.setLineWidth(ALineWidth);
  ALayout.endLayout();
}

}  // namespace

// ---------------------------------------------------------------------------
// Text layout

QString ostrel::skin::TextForLayout(const QString& AText, bool AIsDrawVert) {
  if (AIsDrawVert) {
    QString text;
    text.reserve(AText.size() * 2);
    for (qsizetype i = 0; i < AText.size(); ++i) {
      const QChar c = AText[i];
      if (c == u'\r' || c == u'\n') continue;
      if (!text.isEmpty()) text += QChar::LineSeparator;
      text += c;
      if (c.isHighSurrogate() && i + 1 < AText.size()) text += AText[++i];
    }
    return text;
  }
  QString text = AText;
  text.replace(QStringLiteral("\r\n"), QString(QChar::LineSeparator));
  text.replace(u'\n', QChar::LineSeparator);
  text.replace(u'\r', QChar::LineSeparator);
  return text;
}

TSizeF ostrel::skin::LayOutText(std::optional<QTextLayout>& ALayout, const TextLayoutKey& AKey,
                                QPaintDevice* ADevice) {
  const QFont font = FontFor(AKey.Family, AKey.FontSize, AKey.Style, AKey.DotsPerInch);
  QTextOption option;
  option.setWrapMode(AKey.IsWordWrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
  const double maxWidth = std::max(0.0, AKey.MaxWidth);
  const double maxHeight = std::max(0.0, AKey.MaxHeight);
  const double lineWidth = AKey.IsWordWrap ? maxWidth : 1e7;
  // The font is resolved for the device the text is drawn on, whose
  // resolution the point size was computed from.
  QTextLayout& layout = ALayout.emplace(AKey.Text, font, ADevice);
  layout.setTextOption(option);
  layout.setCacheEnabled(true);
  CreateLines(layout, lineWidth);

  if (AKey.Trimming != TFontTrimmingType::fttNone && layout.lineCount() > 0) {
    const QFontMetricsF metrics(font, ADevice);
    const QString text = layout.text();
    // The lines that fit the height (at least one); the last of them takes
    // the rest of the text, cut with an ellipsis.
    int kept = 0;
    double height = 0;
    while (kept < layout.lineCount() && (kept == 0 || height + layout.lineAt(kept).height() <= maxHeight)) {
      height += layout.lineAt(kept).height();
      ++kept;
    }
    QString trimmed;
    for (int i = 0; i < kept; ++i) {
      const QTextLine line = layout.lineAt(i);
      QString part = i + 1 < kept ? text.mid(line.textStart(), line.textLength()) : text.mid(line.textStart());
      if (i + 1 == kept && kept < layout.lineCount()) part.replace(QChar::LineSeparator, u' ');
      if (!AKey.IsWordWrap || i + 1 == kept) {
        // Without wrap each forced line is cut on its own.
        QStringList pieces = part.split(QChar::LineSeparator);
        for (QString& piece : pieces) piece = Elide(piece, metrics, maxWidth, AKey.Trimming);
        part = pieces.join(QChar::LineSeparator);
      }
      trimmed += part;
    }
    if (trimmed != text) {
      layout.setText(trimmed);
      CreateLines(layout, lineWidth);
    }
  }

  double width = 0;
  double height = 0;
  for (int i = 0; i < layout.lineCount(); ++i) {
    width = std::max(width, layout.lineAt(i).naturalTextWidth());
    height += layout.lineAt(i).height();
  }
  double y = 0;
  if (AKey.VertAlign == TFontVertAlign::fvaCenter) y = (maxHeight - height) / 2;
  if (AKey.VertAlign == TFontVertAlign::fvaBottom) y = maxHeight - height;
  for (int i = 0; i < layout.lineCount(); ++i) {
    QTextLine line = layout.lineAt(i);
    const double lineWidthUsed = line.naturalTextWidth();
    double x = 0;
    if (AKey.HorzAlign == TFontHorzAlign::fhaCenter) x = (maxWidth - lineWidthUsed) / 2;
    if (AKey.HorzAlign == TFontHorzAlign::fhaRight) x = maxWidth - lineWidthUsed;
    line.setPosition(QPointF(x, y));
    y += line.height();
  }
  return TSizeF(width, height);
}

// ---------------------------------------------------------------------------
// TQtDrawCanvas

TQtDrawCanvas::TQtDrawCanvas() = default;

TQtDrawCanvas::~TQtDrawCanvas() { UnPrepare(); }

bool TQtDrawCanvas::CustomPrepare() { return true; }

bool TQtDrawCanvas::CustomUnPrepare() {
  FCanvasState = false;
  FClip.reset();
  return true;
}

bool TQtDrawCanvas::BeginDraw() { return FCanvas != nullptr && FCanvas->isActive(); }

void TQtDrawCanvas::EndDraw() {}

void TQtDrawCanvas::SetClip(const TRectF& AClipRect) {
  if (FCanvas == nullptr) return;
  ResetClip();
  FClip = AClipRect;
}

void TQtDrawCanvas::ResetClip() {
  FClip.reset();
  if (FCanvas == nullptr || !FCanvasState) return;
  FCanvas->restore();
  FCanvasState = false;
}

void TQtDrawCanvas::ApplyClip() {
  if (!FClip || FCanvasState || FCanvas == nullptr) return;
  FCanvas->save();
  FCanvas->setClipRect(*FClip, Qt::IntersectClip);
  FCanvasState = true;
}

bool TQtDrawCanvas::DrawDesigningRect(const TRectF& ADrawRect, TAlphaColor ABorderColor) {
  if (FCanvas == nullptr || !DrawSettings().IsDrawDesigningRect) return true;
  ApplyClip();
  const PainterRestore restore(*FCanvas);
  QPen pen(ColorOf(ABorderColor), 1, Qt::DashLine);
  FCanvas->setPen(pen);
  FCanvas->setBrush(Qt::NoBrush);
  FCanvas->setOpacity(0.7);
  FCanvas->drawRect(TRectF(TPointF(ADrawRect.left() + 1, ADrawRect.top() + 1), ADrawRect.bottomRight()));
  return true;
}

bool TQtDrawCanvas::DrawDesigningText(const TRectF& ADrawRect, const QString& AText) {
  if (FCanvas == nullptr || !DrawSettings().IsDrawDesigningName || AText.isEmpty()) return true;
  ApplyClip();
  const PainterRestore restore(*FCanvas);
  const QFont old = FCanvas->font();
  FCanvas->setFont(FontFor(TFont::DefaultFamily(), 12, {}, DotsPerInchOf(FCanvas)));
  FCanvas->setPen(Qt::black);
  FCanvas->drawText(ADrawRect, AText);
  FCanvas->setFont(old);
  return true;
}

bool TQtDrawCanvas::CalcTextDrawSize(TBaseDrawTextParam* ADrawTextParam, const QString& AText, const TRectF& ADrawRect,
                                     double& ADrawWidth, double& ADrawHeight, TCalcDrawSizeType) {
  ADrawWidth = 0;
  ADrawHeight = 0;
  if (AText.isEmpty() || ADrawTextParam == nullptr || FCanvas == nullptr) return true;
  const TRectF R = ADrawTextParam->CalcDrawRect(ADrawRect);
  if (!IsFinite(R)) return true;
  ostrel::skin::TextLayoutKey key;
  key.Text = TextForLayout(AText, ADrawTextParam->IsDrawVert());
  key.Family = ADrawTextParam->DrawFont()->FontName();
  key.FontSize = std::min(ADrawTextParam->DrawFont()->FontSize(), kMaxFontPixels);
  key.Style = ADrawTextParam->DrawFont()->FontStyle();
  key.MaxWidth = R.width();
  key.MaxHeight = R.height();
  key.IsWordWrap = ADrawTextParam->IsWordWrap();
  key.DotsPerInch = DotsPerInchOf(FCanvas);
  if (!(key.FontSize > 0)) return true;
  // Measuring may lay out any text anywhere; only drawing keeps a layout.
  std::optional<QTextLayout> layout;
  const TSizeF size = LayOutText(layout, key, FCanvas->device());
  const double scale = DeviceScaleOf(FCanvas);
  ADrawWidth = ostrel::skin::CeilToDevicePixels(size.width(), scale);
  ADrawHeight = ostrel::skin::CeilToDevicePixels(size.height(), scale);
  return true;
}

bool TQtDrawCanvas::DrawText(TBaseDrawTextParam* ADrawTextParam, const QString& AText, const TRectF& ADrawRect,
                             const TColorTextCollection* AColorTextList) {
  if (AText.isEmpty() && AColorTextList == nullptr) return true;
  if (ADrawTextParam == nullptr || FCanvas == nullptr || !(ADrawRect.width() > 0) || !(ADrawRect.height() > 0)) {
    return true;
  }
  TBaseDrawTextParam& param = *ADrawTextParam;
  const TRectF R = param.CalcDrawRect(ADrawRect);
  if (!IsFinite(R)) return true;
  ApplyClip();
  if (!param.IsWordWrap() && AColorTextList != nullptr) {
    DrawColorTextPieces(param, R, *AColorTextList);
    return true;
  }
  const ostrel::skin::DrawCanvasSettings& settings = DrawSettings();

  auto* cache = dynamic_cast<TextCache*>(param.TextLayout());
  if (cache == nullptr) {
    auto made = std::make_unique<TextCache>();
    cache = made.get();
    param.SetTextLayout(std::move(made));
  }
  // The key compares the stored text and the values in force; the text is
  // rewritten for layout only when it changes.
  ostrel::skin::TextLayoutKey key;
  key.Text = AText;
  key.Family = settings.IsUseDefaultFontFamily && !settings.DefaultFontFamily.isEmpty() ? settings.DefaultFontFamily
                                                                                        : param.CurrentEffectFontName();
  key.FontSize = std::min(std::floor(param.CurrentEffectFontSize()), kMaxFontPixels);
  key.Style = param.CurrentEffectFontStyle();
  key.MaxWidth = R.width();
  key.MaxHeight = R.height();
  key.IsWordWrap = param.IsWordWrap();
  key.Trimming = param.FontTrimming();
  key.HorzAlign = param.FontHorzAlign();
  key.VertAlign = param.FontVertAlign();
  key.DotsPerInch = DotsPerInchOf(FCanvas);
  if (!(key.FontSize > 0)) return true;
  if (!cache->IsLaidOut || cache->Key != key || cache->IsDrawVert != param.IsDrawVert()) {
    cache->Key = key;
    cache->IsDrawVert = param.IsDrawVert();
    ostrel::skin::TextLayoutKey layoutKey = key;
    layoutKey.Text = TextForLayout(AText, param.IsDrawVert());
    LayOutText(cache->Layout, layoutKey, FCanvas->device());
    cache->IsLaidOut = true;
  }
  // The text's opacity goes into its colour, not the painter: below full
  // opacity Qt's raster engine draws each glyph span by span and hands a glyph
  // of many spans to its thread pool, a task and a queue entry allocated per
  // part on every frame of a fade; a translucent colour keeps the glyphs on
  // its direct path, with the same coverage times colour times opacity.
  const TAlphaColor color = param.CurrentEffectFontColor()->Color();
  const auto alpha = static_cast<TAlphaColor>(std::lround((color >> 24) * (param.DrawAlpha / 255.0)));
  SetPenColor(cache->Pen, (color & 0x00FFFFFFu) | (std::min<TAlphaColor>(alpha, 255) << 24));

  const PainterRestore restore(*FCanvas);
  FCanvas->setPen(cache->Pen);
  FCanvas->setOpacity(1.0);
  const QTextLayout& layout = *cache->Layout;
  for (int i = 0; i < layout.lineCount(); ++i) layout.lineAt(i).draw(FCanvas, R.topLeft());
  return true;
}

void TQtDrawCanvas::DrawColorTextPieces(TBaseDrawTextParam& AParam, const TRectF& R, const TColorTextCollection& APieces) {
  const double dpi = DotsPerInchOf(FCanvas);
  struct Measured {
    QFont Font;
    QColor Color;
    double Ascent;
  };
  std::vector<Measured> measured;
  double rowWidth = 0;
  for (int i = 0; i < APieces.Count(); ++i) {
    TBaseColorTextItem& item = APieces.Item(i);
    const TDrawFont& font = item.IsUseDefaultDrawFont ? *AParam.DrawFont() : *item.DrawFont();
    const QFont qfont = FontFor(font.FontName(), std::min(std::floor(font.FontSize()), kMaxFontPixels), font.FontStyle(), dpi);
    const QFontMetricsF metrics(qfont, FCanvas->device());
    const TAlphaColor color =
        item.IsUseDefaultDrawFontColor ? AParam.CurrentEffectFontColor()->Color() : item.DrawFont()->Color();
    item.DrawWidth = metrics.horizontalAdvance(item.Text);
    item.DrawHeight = metrics.height();
    rowWidth += item.DrawWidth;
    measured.push_back({qfont, ColorOf(color), metrics.ascent()});
  }
  double x = R.left();
  if (AParam.FontHorzAlign() == TFontHorzAlign::fhaCenter) x += (R.width() - rowWidth) / 2;
  if (AParam.FontHorzAlign() == TFontHorzAlign::fhaRight) x = R.right() - rowWidth;
  const PainterRestore restore(*FCanvas);
  const QFont old = FCanvas->font();
  FCanvas->setOpacity(1.0);
  for (int i = 0; i < APieces.Count(); ++i) {
    TBaseColorTextItem& item = APieces.Item(i);
    double top = R.top();
    if (AParam.FontVertAlign() == TFontVertAlign::fvaCenter) top += (R.height() - item.DrawHeight) / 2;
    if (AParam.FontVertAlign() == TFontVertAlign::fvaBottom && item.DrawHeight <= R.height()) {
      top = R.bottom() - item.DrawHeight;
    }
    item.DrawTop = top;
    FCanvas->setFont(measured[static_cast<std::size_t>(i)].Font);
    FCanvas->setPen(measured[static_cast<std::size_t>(i)].Color);
    FCanvas->drawText(QPointF(x, top + measured[static_cast<std::size_t>(i)].Ascent), item.Text);
    x += item.DrawWidth;
  }
  FCanvas->setFont(old);
}

bool TQtDrawCanvas::DrawSkinPicture(TBaseDrawPictureParam* ADrawPictureParam, TSkinPicture* ASkinPicture,
                                    const TRectF& ADrawRect, bool AIsUseSrcRectAndDestDrawRect,
                                    const TRectF& AImageSrcRect, const TRectF& AImageDestDrawRect) {
  if (ASkinPicture == nullptr || ASkinPicture->IsEmpty() || ADrawRect.width() <= 0 || ADrawRect.height() <= 0) return true;
  if (ADrawPictureParam == nullptr || FCanvas == nullptr) return true;
  const TBaseDrawPictureParam& param = *ADrawPictureParam;
  const QImage& image = ASkinPicture->Image();
  TRectF source;
  TRectF dest;
  if (AIsUseSrcRectAndDestDrawRect) {
    source = AImageSrcRect;
    dest = AImageDestDrawRect;
  } else {
    source = TRectF(0, 0, image.width(), image.height());
    dest = ostrel::skin::PlacePicture(image.width(), image.height(), param.CalcDrawRect(ADrawRect),
                                      ostrel::skin::PlacementOf(param));
  }
  if (!IsFinite(source) || !IsFinite(dest)) return true;

  const double angle = param.CurrentEffectRotateAngle();
  const bool isRotated = angle != 0 && std::isfinite(angle);
  if (isRotated) ApplyClip();
  const PainterRestore restore(*FCanvas);
  std::optional<TransformRestore> rotated;
  if (isRotated) {
    // About the destination's own centre, on top of whatever transform the
    // painter already has (the control's place in its window).
    rotated.emplace(*FCanvas);
    const TPointF centre = dest.center();
    FCanvas->translate(centre);
    FCanvas->rotate(angle);
    FCanvas->translate(-centre);
  }
  FCanvas->setOpacity(param.DrawAlpha / 255.0);
  FCanvas->setRenderHint(QPainter::SmoothPixmapTransform, DrawSettings().IsSmoothPictures);
  const ostrel::skin::TPicturePieces pieces = ostrel::skin::CutPicture(source, dest, ostrel::skin::CutOf(param));
  for (int i = 0; i < pieces.Count; ++i) {
    // Pieces of no size draw nothing (a negative one would mirror the picture).
    auto piece = InsidePicture(pieces.Items[static_cast<std::size_t>(i)], image.size());
    // Upright, a clip not yet on the painter is the pieces' own cut.
    if (piece && FClip && !FCanvasState) piece = CutPiece(*piece, *FClip);
    if (piece) ostrel::host::DrawImageInBands(*FCanvas, piece->Dest, image, piece->Source);
  }
  return true;
}

bool TQtDrawCanvas::DrawRect(TBaseDrawRectParam* ADrawRectParam, const TRectF& ADrawRect) {
  if (ADrawRectParam == nullptr || FCanvas == nullptr) return true;
  ApplyClip();
  TBaseDrawRectParam& param = *ADrawRectParam;
  const bool isFill = param.CurrentEffectIsFill();
  const double border = param.CurrentEffectBorderWidth();
  // A rectangle of no size, or of negative size, draws nothing (not a line).
  if ((!isFill && NearlyEqual(border, 0) && !param.IsLine()) || !(ADrawRect.width() > 0.001) ||
      !(ADrawRect.height() > 0.001)) {
    return true;
  }
  const TRectF R = param.CalcDrawRect(ADrawRect);
  if (!IsFinite(R) || !std::isfinite(border)) return true;
  RectCache& cache = CacheOf<RectCache>(param);
  const ostrel::skin::DrawCanvasSettings& settings = DrawSettings();
  const PainterRestore restore(*FCanvas);
  FCanvas->setOpacity(param.DrawAlpha / 255.0);
  FCanvas->setRenderHint(QPainter::Antialiasing, true);

  if (param.IsLine() || R.width() <= 1.001 || R.height() <= 1.001) {
    const ostrel::skin::TLineSegment line =
        ostrel::skin::RectLineSegment(R, param.IsLine(), param.LinePosition(), settings.IsPixelSnapping);
    SetPenColor(cache.LinePen, param.FillDrawColor()->Color());
    SetPenWidth(cache.LinePen, settings.DefaultLineWidth);
    FCanvas->setPen(cache.LinePen);
    FCanvas->drawLine(QLineF(line.P1, line.P2));
    return true;
  }

  RectPathKey key;
  key.Inset = ostrel::skin::BorderInsetRect(R, border);
  key.IsRound = param.IsRound();
  key.Rx = key.IsRound ? ostrel::skin::ResolveRoundRadius(param.RoundWidth(), key.Inset.width()) : 0;
  key.Ry = key.IsRound ? ostrel::skin::ResolveRoundRadius(param.RoundHeight(), key.Inset.height()) : 0;
  key.Corners = ostrel::skin::HostCorners(param.RectCorners());
  key.Sides = ostrel::skin::HostSides(param.BorderEadges());
  key.HasHole = isFill && param.IsClipRound();
  if (key.HasHole) {
    key.Hole = param.ClipRoundRectSetting()->CalcDrawRect(key.Inset);
    key.HoleRx = ostrel::skin::ResolveRoundRadius(param.ClipRoundWidth(), key.Hole.width());
    key.HoleRy = ostrel::skin::ResolveRoundRadius(param.ClipRoundHeight(), key.Hole.height());
  }
  if (!cache.HasPaths || !(cache.PathKey == key)) BuildRectPaths(cache, key);

  if (isFill && param.BrushKind() != TDRPBrushKind::drpbkNone) {
    const QBrush* brush = &cache.FillBrush;
    if (param.BrushKind() == TDRPBrushKind::drpbkGradient) {
      brush = &GradientBrushOf(cache, param, key.Inset);
    } else {
      const QColor color = ColorOf(param.CurrentEffectFillDrawColor()->Color());
      if (cache.FillBrush.color() != color) cache.FillBrush.setColor(color);
    }
    if (cache.FillPath) {
      FCanvas->fillPath(*cache.FillPath, *brush);
    } else {
      FCanvas->fillRect(key.Inset, *brush);
    }
  }
  if (border > 0) {
    SetPenColor(cache.BorderPen, param.CurrentEffectBorderColor()->Color());
    SetPenWidth(cache.BorderPen, border);
    FCanvas->strokePath(cache.StrokePath, cache.BorderPen);
  }
  return true;
}

bool TQtDrawCanvas::DrawLine(TDrawLineParam* ADrawLineParam, double X1, double Y1, double X2, double Y2) {
  if (ADrawLineParam == nullptr || FCanvas == nullptr) return true;
  ApplyClip();
  LineCache& cache = CacheOf<LineCache>(*ADrawLineParam);
  SetPenColor(cache.Pen, ADrawLineParam->LineColor()->Color());
  SetPenWidth(cache.Pen, ADrawLineParam->LineWidth());
  const PainterRestore restore(*FCanvas);
  FCanvas->setOpacity(ADrawLineParam->DrawAlpha / 255.0);
  FCanvas->setRenderHint(QPainter::Antialiasing, true);
  FCanvas->setPen(cache.Pen);
  FCanvas->drawLine(QLineF(X1, Y1, X2, Y2));
  return true;
}

// ---------------------------------------------------------------------------
// The back end's start

void ostrel::skin::StartDrawBackend(DrawClassRegistry& ARegistry) {
  if (ARegistry.DrawCanvasClass == nullptr) ARegistry.DrawCanvasClass = &DrawClassRegistry::Make<TQtDrawCanvas, TDrawCanvas>;
  if (ARegistry.SkinPictureClass == nullptr) {
    ARegistry.SkinPictureClass = &DrawClassRegistry::Make<TSkinPicture, TSkinPicture>;
  }
  if (ARegistry.SkinPictureEngineClass == nullptr) {
    ARegistry.SkinPictureEngineClass = &DrawClassRegistry::MakeEngine<TQtSkinPictureEngine>;
  }
  if (ARegistry.SkinGIFPictureEngineClass == nullptr) {
    ARegistry.SkinGIFPictureEngineClass = &DrawClassRegistry::MakeEngine<TQtSkinGIFPictureEngine>;
  }
  if (const std::optional<float> scale = ostrel::host::ScreenServiceScale()) {
    DrawSettings().ScreenScale = *scale;
    TBaseLog::Instance().OutputDebugString(QStringLiteral("IFMXScreenService Get Scale:") + QString::number(*scale));
  } else {
    DrawSettings().ScreenScale = 1.0;
    TBaseLog::Instance().OutputDebugString(QStringLiteral("IFMXScreenService Get Error"));
  }
}
