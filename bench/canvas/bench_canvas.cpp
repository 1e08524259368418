// What a skinned control's paint costs on top of QPainter: a button-like
// rounded rectangle with its outline, a centred caption and a nine-part
// picture, painted into a 200 x 50 raster image through the draw canvas,
// against a bare QPainter doing the same draws with everything prepared
// beforehand (the path, the laid-out text, the nine rectangles). Both make
// a new painter per paint, as a paint event does.
//
// The canvas must not allocate once its parameters have been drawn: the
// allocations between Prepare and UnPrepare are counted, and any makes the
// run fail. The painter's own allocations (begin and end) are counted apart.

#include "bench/support/AllocationCounter.h"
#include "skin/base/uDrawPicture.h"
#include "skin/base/uQtDrawCanvas.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>

#include <chrono>

namespace {

const QString kCaption = QStringLiteral("Install Now");
const TRectF kButton(0, 0, 100, 50);
const TRectF kCaptionRect(0, 0, 100, 50);
const TRectF kPicture(100, 0, 100, 50);

QImage Source() {
  QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
  image.fill(QColor(0, 146, 202));
  return image;
}

// The three parameters as the setup window configures such controls.
struct Params {
  TDrawRectParam Rect;
  TDrawTextParam Text;
  TDrawPictureParam Picture;
  TDrawPicture Pixels;

  Params() {
    Rect.SetIsFill(true);
    Rect.FillDrawColor()->SetColor(0xFF0092CAu);
    Rect.SetIsRound(true);
    Rect.SetRoundWidth(4);
    Rect.SetRoundHeight(4);
    Rect.BorderDrawColor()->SetColor(0xFF0098D4u);
    Rect.SetBorderWidth(1);
    Text.SetFontName(QStringLiteral("DejaVu Sans"));
    Text.SetFontSize(20);
    Text.SetFontColor(0xFFFFFFFFu);
    Text.SetFontHorzAlign(TFontHorzAlign::fhaCenter);
    Text.SetFontVertAlign(TFontVertAlign::fvaCenter);
    Picture.SetIsStretch(true);
    Picture.SetStretchStyle(TPictureStretchStyle::issSquare);
    Pixels.SetImage(Source());
  }
};

// The same three draws on a bare QPainter, everything built once.
struct Bare {
  QPainterPath Path;
  QBrush Fill{QColor(0, 146, 202)};
  QPen Border{QColor(0, 152, 212), 1};
  QPen TextPen{Qt::white};
  QTextLayout Layout;
  QPointF TextAt;
  QImage Image = Source();
  QRectF Sources[9];
  QRectF Targets[9];

  explicit Bare(QPaintDevice* ADevice) : Layout(kCaption, QFont(QStringLiteral("DejaVu Sans")), ADevice) {
    Path.addRoundedRect(QRectF(0.5, 0.5, 99, 49), 4, 4);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(20 * 72.0 / ADevice->logicalDpiY());
    Layout.setFont(QFont(font, ADevice));
    Layout.beginLayout();
    QTextLine line = Layout.createLine();
    line.setLineWidth(1e7);
    Layout.endLayout();
    TextAt = QPointF((100 - line.naturalTextWidth()) / 2, (50 - line.height()) / 2);
    const double s[] = {0, 8, 24, 32};
    const double x[] = {100, 108, 192, 200};
    const double y[] = {0, 8, 42, 50};
    int i = 0;
    for (int row = 0; row < 3; ++row) {
      for (int column = 0; column < 3; ++column, ++i) {
        Sources[i] = QRectF(QPointF(s[column], s[row]), QPointF(s[column + 1], s[row + 1]));
        Targets[i] = QRectF(QPointF(x[column], y[row]), QPointF(x[column + 1], y[row + 1]));
      }
    }
  }

  void Paint(QPainter& APainter) const {
    APainter.setRenderHint(QPainter::Antialiasing);
    APainter.fillPath(Path, Fill);
    APainter.strokePath(Path, Border);
    APainter.setPen(TextPen);
    Layout.lineAt(0).draw(&APainter, TextAt);
    APainter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int i = 0; i < 9; ++i) APainter.drawImage(Targets[i], Image, Sources[i]);
  }
};

void CanvasPaint(TQtDrawCanvas& ACanvas, Params& AParams) {
  ACanvas.DrawRect(&AParams.Rect, kButton);
  ACanvas.DrawText(&AParams.Text, kCaption, kCaptionRect);
  ACanvas.DrawPicture(&AParams.Picture, &AParams.Pixels, kPicture);
}

QImage& Target() {
  static QImage image(200, 50, QImage::Format_ARGB32_Premultiplied);
  return image;
}

void BM_CanvasPaint(benchmark::State& AState) {
  Params params;
  TQtDrawCanvas canvas;
  {
    QPainter first(&Target());
    canvas.Prepare(&first);
    CanvasPaint(canvas, params);
    canvas.UnPrepare();
  }
  std::size_t inCanvas = 0;
  const std::size_t before = bench_support::AllocationCount();
  for (auto _ : AState) {
    QPainter painter(&Target());
    const std::size_t start = bench_support::AllocationCount();
    canvas.Prepare(&painter);
    CanvasPaint(canvas, params);
    canvas.UnPrepare();
    inCanvas += bench_support::AllocationCount() - start;
  }
  const std::size_t all = bench_support::AllocationCount() - before;
  AState.counters["canvas_allocs_per_paint"] = benchmark::Counter(static_cast<double>(inCanvas), benchmark::Counter::kAvgIterations);
  AState.counters["painter_allocs_per_paint"] =
      benchmark::Counter(static_cast<double>(all - inCanvas), benchmark::Counter::kAvgIterations);
  if (inCanvas != 0) AState.SkipWithError("the canvas allocated while painting");
}

void BM_BareQPainterPaint(benchmark::State& AState) {
  const Bare bare(&Target());
  const std::size_t before = bench_support::AllocationCount();
  for (auto _ : AState) {
    QPainter painter(&Target());
    bare.Paint(painter);
  }
  AState.counters["allocs_per_paint"] = benchmark::Counter(
      static_cast<double>(bench_support::AllocationCount() - before), benchmark::Counter::kAvgIterations);
}

// Both paints taken turn about in one loop, so both see the same machine:
// the ratio is canvas time over bare time.
void BM_CanvasOverBareQPainter(benchmark::State& AState) {
  using Clock = std::chrono::steady_clock;
  Params params;
  const Bare bare(&Target());
  TQtDrawCanvas canvas;
  Clock::duration canvasTime{};
  Clock::duration bareTime{};
  for (auto _ : AState) {
    const auto t0 = Clock::now();
    {
      QPainter painter(&Target());
      canvas.Prepare(&painter);
      CanvasPaint(canvas, params);
      canvas.UnPrepare();
    }
    const auto t1 = Clock::now();
    {
      QPainter painter(&Target());
      bare.Paint(painter);
    }
    const auto t2 = Clock::now();
    canvasTime += t1 - t0;
    bareTime += t2 - t1;
  }
  AState.counters["ratio"] = static_cast<double>(canvasTime.count()) / static_cast<double>(bareTime.count());
}

BENCHMARK(BM_CanvasPaint);
BENCHMARK(BM_BareQPainterPaint);
BENCHMARK(BM_CanvasOverBareQPainter);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
