#pragma once
// The reference a skinned paint is measured against: the same rectangles,
// paths, pictures and texts drawn by a bare QPainter. A recording device
// captures what a paint hands to QPainter, with the state each draw was made
// in; Replay draws it again with plain QPainter calls, everything (text
// layouts included) prepared once beforehand, as a hand-written paint would
// keep it.

#include <QBrush>
#include <QFont>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QStaticText>
#include <QTransform>

#include <memory>
#include <vector>

namespace bench_gallery {

struct PaintOp {
  enum class OpKind { Rect, Path, Line, Image, Text };
  OpKind Kind = OpKind::Rect;
  QRectF Rect;
  QLineF Line;
  QPainterPath Path;
  QImage Image;
  QRectF Source;
  QStaticText Text;
  QFont Font;
  QPointF TextTopLeft;
  // The painter state the draw was made in.
  QBrush Brush;
  QPen Pen;
  double Opacity = 1;
  QTransform Transform;
  QPainter::RenderHints Hints;
  bool HasClip = false;
  QPainterPath Clip;
  // Which of the state above differs from the op before, so the replay sets
  // only that, as a hand-written paint would.
  bool NewTransform = true;
  bool NewClip = true;
  bool NewOpacity = true;
  bool NewHints = true;
  bool NewBrush = true;
  bool NewPen = true;
};

class PaintOpRecorder : public QPaintDevice {
 public:
  PaintOpRecorder(int AWidth, int AHeight);
  ~PaintOpRecorder() override;

  QPaintEngine* paintEngine() const override;
  // The draws recorded so far, in order; each text prepared for drawing on ATarget.
  std::vector<PaintOp> TakeOps(QPaintDevice* ATarget);

 protected:
  int metric(PaintDeviceMetric AMetric) const override;

 private:
  class Engine;
  int FWidth;
  int FHeight;
  std::unique_ptr<Engine> FEngine;
};

// Draws AOps on APainter with one plain QPainter call each.
void Replay(QPainter& APainter, const std::vector<PaintOp>& AOps);

}  // namespace bench_gallery
