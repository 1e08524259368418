#pragma once
// A paint device that records what a QPainter draws on it instead of
// rasterising it: one op per draw call, with its geometry and the painter
// state it was drawn in (brush, pen, opacity, fill rule, clip, transform).
// Exact numbers that anti-aliased pixels would blur (insets, radii, the
// pieces of a stretched picture) are checked against a table of ops; a
// failing comparison prints both lists.
//
// The engine declares every feature, so QPainter hands it paths, rectangles,
// images and text items as they were drawn rather than breaking them down.

#include <QColor>
#include <QImage>
#include <QLineF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainterPath>
#include <QRectF>
#include <QString>
#include <QTransform>

#include <memory>
#include <ostream>
#include <vector>

namespace paint_record {

enum class OpKind { Rects, Path, Lines, Image, Pixmap, Text, Polygon, Ellipse, Points };

struct Op {
  OpKind Kind = OpKind::Rects;
  // The rectangle, the path's bounds, the image's or text's target.
  QRectF Rect;
  // Lines only.
  QLineF Line;
  // Paths only: element count and fill rule.
  int Elements = 0;
  Qt::FillRule FillRule = Qt::OddEvenFill;
  // Images only: the source rectangle in the image's pixels.
  QRectF Source;
  // Text only: the text, its baseline's start and the size of its font in
  // pixels; Rect is the line's box from ascent to descent.
  QString Text;
  QPointF Baseline;
  double FontPixels = 0;
  // Brush colour (invalid for no brush) and style; pen colour (invalid for
  // no pen), width and style.
  QColor Brush;
  Qt::BrushStyle BrushStyle = Qt::NoBrush;
  QColor Pen;
  double PenWidth = 0;
  Qt::PenStyle PenStyle = Qt::NoPen;
  double Opacity = 1;
  // The clip's bounds in user coordinates, or null without clipping.
  QRectF Clip;
  QTransform Transform;
  // The whole path, for checks of single elements.
  QPainterPath Path;
};

// Equal kind, geometry within 0.001, same colours, widths, styles, opacity
// (within 0.001), fill rule, text, clip and transform. A text's baseline and
// font size are left to tests that ask for them.
bool operator==(const Op& A, const Op& B);
void PrintTo(const Op& AOp, std::ostream* AOut);
void PrintTo(const std::vector<Op>& AOps, std::ostream* AOut);

// Builders for expected ops; fields not given keep the defaults above.
Op FillPath(const QRectF& ABounds, int AElements, QColor ABrush, double AOpacity = 1,
            Qt::FillRule AFillRule = Qt::OddEvenFill);
Op StrokePath(const QRectF& ABounds, int AElements, QColor APen, double APenWidth, double AOpacity = 1);
Op FillRect(const QRectF& ARect, QColor ABrush, double AOpacity = 1);
Op Line(const QLineF& ALine, QColor APen, double APenWidth, double AOpacity = 1);
Op Image(const QRectF& ATarget, const QRectF& ASource, double AOpacity = 1);

class RecordingPaintEngine : public QPaintEngine {
 public:
  RecordingPaintEngine();

  bool begin(QPaintDevice* ADevice) override;
  bool end() override;
  void updateState(const QPaintEngineState& AState) override;
  Type type() const override { return QPaintEngine::User; }

  void drawRects(const QRectF* ARects, int ACount) override;
  void drawLines(const QLineF* ALines, int ACount) override;
  void drawPath(const QPainterPath& APath) override;
  void drawImage(const QRectF& ATarget, const QImage& AImage, const QRectF& ASource,
                 Qt::ImageConversionFlags AFlags) override;
  void drawPixmap(const QRectF& ATarget, const QPixmap& APixmap, const QRectF& ASource) override;
  void drawTextItem(const QPointF& APoint, const QTextItem& AItem) override;
  void drawPolygon(const QPointF* APoints, int ACount, PolygonDrawMode AMode) override;
  void drawEllipse(const QRectF& ARect) override;
  void drawPoints(const QPointF* APoints, int ACount) override;

  std::vector<Op> Ops;

 private:
  // An op of AKind carrying the painter's state now.
  Op StateOp(OpKind AKind) const;
};

class RecordingPaintDevice : public QPaintDevice {
 public:
  explicit RecordingPaintDevice(int AWidth = 400, int AHeight = 300);
  ~RecordingPaintDevice() override;

  QPaintEngine* paintEngine() const override { return FEngine.get(); }
  // Every op drawn since the device was made or last cleared.
  const std::vector<Op>& Ops() const { return FEngine->Ops; }
  // The ops of one kind, in drawing order.
  std::vector<Op> OpsOf(OpKind AKind) const;
  void Clear() { FEngine->Ops.clear(); }

 protected:
  int metric(PaintDeviceMetric AMetric) const override;

 private:
  int FWidth;
  int FHeight;
  std::unique_ptr<RecordingPaintEngine> FEngine;
};

}  // namespace paint_record
