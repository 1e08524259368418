// What a window's repaint costs through the control model: 30 skinned
// controls of the test family, each a filled background rectangle and a
// centred caption from its self-owned material, painted the way the host
// paints them (one painter, each control translated to its place, its
// Paint running the pipeline: states and alpha into the parameters, the
// background, the caption). The reference is a bare QPainter drawing the
// same 30 rectangles and texts with everything laid out beforehand. Both
// paints take turns in one loop, so the ratio compares like with like.
//
// After the first repaint the controls must not allocate: the allocations
// inside the 30 Paint calls are counted, and any makes the run fail.

#include "bench/support/AllocationCounter.h"
#include "skin/host/ClassRegistry.h"
#include "tests/support/SkinTestFamily.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QPainter>
#include <QTextLayout>

#include <chrono>
#include <memory>
#include <vector>

namespace {

constexpr int kColumns = 5;
constexpr int kRows = 6;
constexpr float kWidth = 100;
constexpr float kHeight = 30;
const QString kFamily = QStringLiteral("DejaVu Sans");

QImage& Target() {
  static QImage image(static_cast<int>(kWidth) * kColumns, static_cast<int>(kHeight) * kRows,
                      QImage::Format_ARGB32_Premultiplied);
  return image;
}

QString CaptionOf(int AIndex) { return QStringLiteral("Item %1").arg(AIndex); }

struct Controls {
  TComponent Owner;
  std::vector<TSkinTestBox*> Boxes;

  Controls() {
    test_support::StartSkinTestFamily();
    for (int i = 0; i < kColumns * kRows; ++i) {
      auto* box = new TSkinTestBox(&Owner);
      box->SetBounds(static_cast<float>(i % kColumns) * kWidth, static_cast<float>(i / kColumns) * kHeight, kWidth,
                     kHeight);
      box->SetText(CaptionOf(i));
      TSkinTestBoxMaterial* material = box->TestMaterial();
      material->SetIsTransparent(false);
      material->BackColor()->SetIsFill(true);
      material->BackColor()->FillDrawColor()->SetColor(0xFF2F2F2Fu);
      TDrawTextParam* text = material->DrawCaptionParam();
      text->SetFontName(kFamily);
      text->SetFontSize(12);
      text->SetFontColor(0xFFFFFFFFu);
      text->SetFontHorzAlign(TFontHorzAlign::fhaCenter);
      text->SetFontVertAlign(TFontVertAlign::fvaCenter);
      Boxes.push_back(box);
    }
  }

  // Counts the allocations made inside the controls' own paints.
  std::size_t Paint(QPainter& APainter) const {
    std::size_t allocations = 0;
    for (TSkinTestBox* box : Boxes) {
      APainter.save();
      APainter.translate(box->Position()->Point());
      const std::size_t start = bench_support::AllocationCount();
      box->PaintTo(APainter);
      allocations += bench_support::AllocationCount() - start;
      APainter.restore();
    }
    return allocations;
  }
};

// The same rectangles and texts on a bare QPainter, laid out once.
struct Bare {
  std::vector<QRectF> Rects;
  std::vector<std::unique_ptr<QTextLayout>> Layouts;
  std::vector<QPointF> TextAt;
  QBrush Fill{QColor(0x2F, 0x2F, 0x2F)};
  QPen TextPen{Qt::white};

  explicit Bare(QPaintDevice* ADevice) {
    QFont font(kFamily);
    font.setPixelSize(12);
    for (int i = 0; i < kColumns * kRows; ++i) {
      const QRectF rect((i % kColumns) * kWidth, (i / kColumns) * kHeight, kWidth, kHeight);
      Rects.push_back(rect);
      auto layout = std::make_unique<QTextLayout>(CaptionOf(i), QFont(font, ADevice), ADevice);
      layout->beginLayout();
      QTextLine line = layout->createLine();
      line.setLineWidth(kWidth);
      layout->endLayout();
      TextAt.push_back(QPointF(rect.left() + (kWidth - line.naturalTextWidth()) / 2,
                               rect.top() + (kHeight - line.height()) / 2));
      Layouts.push_back(std::move(layout));
    }
  }

  void Paint(QPainter& APainter) const {
    for (std::size_t i = 0; i < Rects.size(); ++i) {
      APainter.fillRect(Rects[i], Fill);
      APainter.setPen(TextPen);
      Layouts[i]->draw(&APainter, TextAt[i]);
    }
  }
};

void BM_RepaintThirtySkinnedControls(benchmark::State& AState) {
  const Controls controls;
  {
    QPainter first(&Target());
    controls.Paint(first);
  }
  std::size_t inControls = 0;
  for (auto _ : AState) {
    QPainter painter(&Target());
    inControls += controls.Paint(painter);
  }
  AState.counters["control_allocs_per_repaint"] =
      benchmark::Counter(static_cast<double>(inControls), benchmark::Counter::kAvgIterations);
  if (inControls != 0) AState.SkipWithError("the controls allocated while repainting");
}

void BM_BareQPainterThirtyRectsAndTexts(benchmark::State& AState) {
  const Bare bare(&Target());
  for (auto _ : AState) {
    QPainter painter(&Target());
    bare.Paint(painter);
  }
}

// Both repaints taken turn about: the ratio is control time over bare time.
void BM_ControlsOverBareQPainter(benchmark::State& AState) {
  using Clock = std::chrono::steady_clock;
  const Controls controls;
  const Bare bare(&Target());
  Clock::duration controlTime{};
  Clock::duration bareTime{};
  for (auto _ : AState) {
    const auto t0 = Clock::now();
    {
      QPainter painter(&Target());
      controls.Paint(painter);
    }
    const auto t1 = Clock::now();
    {
      QPainter painter(&Target());
      bare.Paint(painter);
    }
    const auto t2 = Clock::now();
    controlTime += t1 - t0;
    bareTime += t2 - t1;
  }
  AState.counters["ratio"] = static_cast<double>(controlTime.count()) / static_cast<double>(bareTime.count());
}

BENCHMARK(BM_RepaintThirtySkinnedControls);
BENCHMARK(BM_BareQPainterThirtyRectsAndTexts);
BENCHMARK(BM_ControlsOverBareQPainter);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
