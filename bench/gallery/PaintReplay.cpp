#include "bench/gallery/PaintReplay.h"

#include <QPaintEngine>
#include <QTextItem>

namespace bench_gallery {

class PaintOpRecorder::Engine : public QPaintEngine {
 public:
  Engine() : QPaintEngine(QPaintEngine::AllFeatures) {}

  bool begin(QPaintDevice*) override { return true; }
  bool end() override { return true; }
  void updateState(const QPaintEngineState&) override {}
  Type type() const override { return QPaintEngine::User; }

  void drawRects(const QRectF* ARects, int ACount) override {
    for (int i = 0; i < ACount; ++i) {
      PaintOp op = StateOp(PaintOp::OpKind::Rect);
      op.Rect = ARects[i];
      Ops.push_back(std::move(op));
    }
  }
  void drawLines(const QLineF* ALines, int ACount) override {
    for (int i = 0; i < ACount; ++i) {
      PaintOp op = StateOp(PaintOp::OpKind::Line);
      op.Line = ALines[i];
      Ops.push_back(std::move(op));
    }
  }
  void drawPath(const QPainterPath& APath) override {
    PaintOp op = StateOp(PaintOp::OpKind::Path);
    op.Path = APath;
    Ops.push_back(std::move(op));
  }
  void drawPolygon(const QPointF* APoints, int ACount, PolygonDrawMode AMode) override {
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(APoints, APoints + ACount)));
    if (AMode != PolylineMode) path.closeSubpath();
    if (AMode == WindingMode) path.setFillRule(Qt::WindingFill);
    drawPath(path);
  }
  void drawImage(const QRectF& ATarget, const QImage& AImage, const QRectF& ASource,
                 Qt::ImageConversionFlags) override {
    PaintOp op = StateOp(PaintOp::OpKind::Image);
    op.Rect = ATarget;
    op.Image = AImage;
    op.Source = ASource;
    Ops.push_back(std::move(op));
  }
  void drawPixmap(const QRectF& ATarget, const QPixmap& APixmap, const QRectF& ASource) override {
    drawImage(ATarget, APixmap.toImage(), ASource, Qt::AutoColor);
  }
  void drawTextItem(const QPointF& APoint, const QTextItem& AItem) override {
    PaintOp op = StateOp(PaintOp::OpKind::Text);
    op.Text.setText(AItem.text());
    op.Text.setTextFormat(Qt::PlainText);
    op.Font = AItem.font();
    op.TextTopLeft = QPointF(APoint.x(), APoint.y() - AItem.ascent());
    Ops.push_back(std::move(op));
  }

  std::vector<PaintOp> Ops;

 private:
  PaintOp StateOp(PaintOp::OpKind AKind) const {
    const QPainter* p = painter();
    PaintOp op;
    op.Kind = AKind;
    op.Brush = p->brush();
    op.Pen = p->pen();
    op.Opacity = p->opacity();
    op.Transform = p->worldTransform();
    op.Hints = p->renderHints();
    op.HasClip = p->hasClipping();
    if (op.HasClip) op.Clip = p->clipPath();
    return op;
  }
};

PaintOpRecorder::PaintOpRecorder(int AWidth, int AHeight)
    : FWidth(AWidth), FHeight(AHeight), FEngine(std::make_unique<Engine>()) {}

PaintOpRecorder::~PaintOpRecorder() = default;

QPaintEngine* PaintOpRecorder::paintEngine() const { return FEngine.get(); }

std::vector<PaintOp> PaintOpRecorder::TakeOps(QPaintDevice* ATarget) {
  std::vector<PaintOp> ops = std::move(FEngine->Ops);
  FEngine->Ops.clear();
  const PaintOp* previous = nullptr;
  for (PaintOp& op : ops) {
    if (previous != nullptr) {
      op.NewTransform = op.Transform != previous->Transform;
      op.NewClip = op.HasClip != previous->HasClip || op.Clip != previous->Clip || op.NewTransform;
      op.NewOpacity = op.Opacity != previous->Opacity;
      op.NewHints = op.Hints != previous->Hints;
      op.NewBrush = op.Brush != previous->Brush;
      op.NewPen = op.Pen != previous->Pen;
    }
    previous = &op;
    if (op.Kind != PaintOp::OpKind::Text) continue;
    op.Font = QFont(op.Font, ATarget);
    op.Text.prepare(QTransform(), op.Font);
  }
  return ops;
}

int PaintOpRecorder::metric(PaintDeviceMetric AMetric) const {
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

void Replay(QPainter& APainter, const std::vector<PaintOp>& AOps) {
  for (const PaintOp& op : AOps) {
    if (op.NewTransform) APainter.setWorldTransform(op.Transform);
    if (op.NewOpacity) APainter.setOpacity(op.Opacity);
    if (op.NewHints) {
      APainter.setRenderHints(op.Hints, true);
      APainter.setRenderHints(~op.Hints, false);
    }
    if (op.NewClip) {
      if (op.HasClip)
        APainter.setClipPath(op.Clip);
      else
        APainter.setClipping(false);
    }
    if (op.NewBrush) APainter.setBrush(op.Brush);
    if (op.NewPen) APainter.setPen(op.Pen);
    switch (op.Kind) {
      case PaintOp::OpKind::Rect: APainter.drawRect(op.Rect); break;
      case PaintOp::OpKind::Line: APainter.drawLine(op.Line); break;
      case PaintOp::OpKind::Path: APainter.drawPath(op.Path); break;
      case PaintOp::OpKind::Image: APainter.drawImage(op.Rect, op.Image, op.Source); break;
      case PaintOp::OpKind::Text:
        APainter.setFont(op.Font);
        APainter.drawStaticText(op.TextTopLeft, op.Text);
        break;
    }
  }
}

}  // namespace bench_gallery
