#include "tests/support/RecordingPaintDevice.h"

#include <QPainter>
#include <QTextItem>

#include <cmath>
#include <iomanip>

namespace paint_record {

namespace {

constexpr double kTolerance = 0.001;

bool Near(double A, double B) { return std::abs(A - B) <= kTolerance; }

bool Near(const QRectF& A, const QRectF& B) {
  if (A.isNull() || B.isNull()) return A.isNull() == B.isNull();
  return Near(A.x(), B.x()) && Near(A.y(), B.y()) && Near(A.width(), B.width()) && Near(A.height(), B.height());
}

bool Near(const QLineF& A, const QLineF& B) {
  return Near(A.x1(), B.x1()) && Near(A.y1(), B.y1()) && Near(A.x2(), B.x2()) && Near(A.y2(), B.y2());
}

bool Near(const QTransform& A, const QTransform& B) {
  return Near(A.m11(), B.m11()) && Near(A.m12(), B.m12()) && Near(A.m21(), B.m21()) && Near(A.m22(), B.m22()) &&
         Near(A.dx(), B.dx()) && Near(A.dy(), B.dy());
}

const char* KindName(OpKind AKind) {
  switch (AKind) {
    case OpKind::Rects: return "Rects";
    case OpKind::Path: return "Path";
    case OpKind::Lines: return "Lines";
    case OpKind::Image: return "Image";
    case OpKind::Pixmap: return "Pixmap";
    case OpKind::Text: return "Text";
    case OpKind::Polygon: return "Polygon";
    case OpKind::Ellipse: return "Ellipse";
    case OpKind::Points: return "Points";
  }
  return "?";
}

void PrintRect(const QRectF& ARect, std::ostream* AOut) {
  *AOut << '(' << ARect.x() << ", " << ARect.y() << ' ' << ARect.width() << " x " << ARect.height() << ')';
}

QString ColorText(const QColor& AColor) { return AColor.isValid() ? AColor.name(QColor::HexArgb) : QStringLiteral("none"); }

}  // namespace

bool operator==(const Op& A, const Op& B) {
  return A.Kind == B.Kind && Near(A.Rect, B.Rect) && Near(A.Line, B.Line) && A.Elements == B.Elements &&
         A.FillRule == B.FillRule && Near(A.Source, B.Source) && A.Text == B.Text && A.Brush == B.Brush &&
         A.BrushStyle == B.BrushStyle && A.Pen == B.Pen && Near(A.PenWidth, B.PenWidth) && A.PenStyle == B.PenStyle &&
         Near(A.Opacity, B.Opacity) && Near(A.Clip, B.Clip) && Near(A.Transform, B.Transform);
}

void PrintTo(const Op& AOp, std::ostream* AOut) {
  *AOut << std::setprecision(6) << KindName(AOp.Kind) << ' ';
  if (AOp.Kind == OpKind::Lines) {
    *AOut << '(' << AOp.Line.x1() << ", " << AOp.Line.y1() << ")-(" << AOp.Line.x2() << ", " << AOp.Line.y2() << ')';
  } else {
    PrintRect(AOp.Rect, AOut);
  }
  if (AOp.Kind == OpKind::Path) {
    *AOut << " elements " << AOp.Elements << (AOp.FillRule == Qt::OddEvenFill ? " odd-even" : " winding");
  }
  if (AOp.Kind == OpKind::Image || AOp.Kind == OpKind::Pixmap) {
    *AOut << " from ";
    PrintRect(AOp.Source, AOut);
  }
  if (AOp.Kind == OpKind::Text) {
    *AOut << " \"" << AOp.Text.toStdString() << "\" at " << AOp.Baseline.x() << ", " << AOp.Baseline.y() << " size "
          << AOp.FontPixels;
  }
  *AOut << " brush " << ColorText(AOp.Brush).toStdString() << '/' << AOp.BrushStyle << " pen "
        << ColorText(AOp.Pen).toStdString() << '/' << AOp.PenWidth << '/' << AOp.PenStyle << " opacity " << AOp.Opacity;
  if (!AOp.Clip.isNull()) {
    *AOut << " clip ";
    PrintRect(AOp.Clip, AOut);
  }
  if (!AOp.Transform.isIdentity()) {
    *AOut << " transform [" << AOp.Transform.m11() << ' ' << AOp.Transform.m12() << ' ' << AOp.Transform.m21() << ' '
          << AOp.Transform.m22() << ' ' << AOp.Transform.dx() << ' ' << AOp.Transform.dy() << ']';
  }
}

void PrintTo(const std::vector<Op>& AOps, std::ostream* AOut) {
  *AOut << AOps.size() << " ops";
  for (const Op& op : AOps) {
    *AOut << "\n  ";
    PrintTo(op, AOut);
  }
}

Op FillPath(const QRectF& ABounds, int AElements, QColor ABrush, double AOpacity, Qt::FillRule AFillRule) {
  Op op;
  op.Kind = OpKind::Path;
  op.Rect = ABounds;
  op.Elements = AElements;
  op.FillRule = AFillRule;
  op.Brush = ABrush;
  op.BrushStyle = Qt::SolidPattern;
  op.Opacity = AOpacity;
  return op;
}

Op StrokePath(const QRectF& ABounds, int AElements, QColor APen, double APenWidth, double AOpacity) {
  Op op;
  op.Kind = OpKind::Path;
  op.Rect = ABounds;
  op.Elements = AElements;
  op.FillRule = Qt::OddEvenFill;
  op.Pen = APen;
  op.PenWidth = APenWidth;
  op.PenStyle = Qt::SolidLine;
  op.Opacity = AOpacity;
  return op;
}

Op FillRect(const QRectF& ARect, QColor ABrush, double AOpacity) {
  Op op;
  op.Kind = OpKind::Rects;
  op.Rect = ARect;
  op.Brush = ABrush;
  op.BrushStyle = Qt::SolidPattern;
  op.Opacity = AOpacity;
  return op;
}

Op Line(const QLineF& ALine, QColor APen, double APenWidth, double AOpacity) {
  Op op;
  op.Kind = OpKind::Lines;
  op.Line = ALine;
  op.Pen = APen;
  op.PenWidth = APenWidth;
  op.PenStyle = Qt::SolidLine;
  op.Opacity = AOpacity;
  return op;
}

Op Image(const QRectF& ATarget, const QRectF& ASource, double AOpacity) {
  Op op;
  op.Kind = OpKind::Image;
  op.Rect = ATarget;
  op.Source = ASource;
  op.Opacity = AOpacity;
  return op;
}

// RecordingPaintEngine

RecordingPaintEngine::RecordingPaintEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}

bool RecordingPaintEngine::begin(QPaintDevice*) { return true; }

bool RecordingPaintEngine::end() { return true; }

// The state is read from the painter when an op is recorded.
void RecordingPaintEngine::updateState(const QPaintEngineState&) {}

Op RecordingPaintEngine::StateOp(OpKind AKind) const {
  Op op;
  op.Kind = AKind;
  const QPainter* p = painter();
  const QBrush brush = p->brush();
  op.BrushStyle = brush.style();
  if (brush.style() != Qt::NoBrush) op.Brush = brush.color();
  const QPen pen = p->pen();
  op.PenStyle = pen.style();
  if (pen.style() != Qt::NoPen) {
    op.Pen = pen.color();
    op.PenWidth = pen.widthF();
  }
  op.Opacity = p->opacity();
  if (p->hasClipping()) op.Clip = p->clipBoundingRect();
  op.Transform = p->worldTransform();
  return op;
}

void RecordingPaintEngine::drawRects(const QRectF* ARects, int ACount) {
  for (int i = 0; i < ACount; ++i) {
    Op op = StateOp(OpKind::Rects);
    op.Rect = ARects[i];
    Ops.push_back(op);
  }
}

void RecordingPaintEngine::drawLines(const QLineF* ALines, int ACount) {
  for (int i = 0; i < ACount; ++i) {
    Op op = StateOp(OpKind::Lines);
    op.Line = ALines[i];
    Ops.push_back(op);
  }
}

void RecordingPaintEngine::drawPath(const QPainterPath& APath) {
  Op op = StateOp(OpKind::Path);
  op.Rect = APath.boundingRect();
  op.Elements = APath.elementCount();
  op.FillRule = APath.fillRule();
  op.Path = APath;
  Ops.push_back(op);
}

void RecordingPaintEngine::drawImage(const QRectF& ATarget, const QImage&, const QRectF& ASource, Qt::ImageConversionFlags) {
  Op op = StateOp(OpKind::Image);
  op.Rect = ATarget;
  op.Source = ASource;
  // Images draw with neither pen nor brush; only their opacity, clip and transform matter.
  op.Brush = QColor();
  op.BrushStyle = Qt::NoBrush;
  op.Pen = QColor();
  op.PenWidth = 0;
  op.PenStyle = Qt::NoPen;
  Ops.push_back(op);
}

void RecordingPaintEngine::drawPixmap(const QRectF& ATarget, const QPixmap&, const QRectF& ASource) {
  Op op = StateOp(OpKind::Pixmap);
  op.Rect = ATarget;
  op.Source = ASource;
  Ops.push_back(op);
}

void RecordingPaintEngine::drawTextItem(const QPointF& APoint, const QTextItem& AItem) {
  Op op = StateOp(OpKind::Text);
  op.Rect = QRectF(APoint.x(), APoint.y() - AItem.ascent(), AItem.width(), AItem.ascent() + AItem.descent());
  op.Baseline = APoint;
  op.Text = AItem.text();
  op.FontPixels = AItem.font().pointSizeF() * painter()->device()->logicalDpiY() / 72.0;
  Ops.push_back(op);
}

void RecordingPaintEngine::drawPolygon(const QPointF* APoints, int ACount, PolygonDrawMode) {
  Op op = StateOp(OpKind::Polygon);
  op.Rect = QPolygonF(QList<QPointF>(APoints, APoints + ACount)).boundingRect();
  op.Elements = ACount;
  Ops.push_back(op);
}

void RecordingPaintEngine::drawEllipse(const QRectF& ARect) {
  Op op = StateOp(OpKind::Ellipse);
  op.Rect = ARect;
  Ops.push_back(op);
}

void RecordingPaintEngine::drawPoints(const QPointF* APoints, int ACount) {
  for (int i = 0; i < ACount; ++i) {
    Op op = StateOp(OpKind::Points);
    op.Rect = QRectF(APoints[i], QSizeF());
    Ops.push_back(op);
  }
}

// RecordingPaintDevice

RecordingPaintDevice::RecordingPaintDevice(int AWidth, int AHeight)
    : FWidth(AWidth), FHeight(AHeight), FEngine(std::make_unique<RecordingPaintEngine>()) {}

RecordingPaintDevice::~RecordingPaintDevice() = default;

std::vector<Op> RecordingPaintDevice::OpsOf(OpKind AKind) const {
  std::vector<Op> ops;
  for (const Op& op : Ops()) {
    if (op.Kind == AKind) ops.push_back(op);
  }
  return ops;
}

int RecordingPaintDevice::metric(PaintDeviceMetric AMetric) const {
  switch (AMetric) {
    case PdmWidth: return FWidth;
    case PdmHeight: return FHeight;
    case PdmWidthMM: return FWidth * 254 / 960;
    case PdmHeightMM: return FHeight * 254 / 960;
    case PdmNumColors: return 0;
    case PdmDepth: return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return 96;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
  }
  return 0;
}

}  // namespace paint_record
