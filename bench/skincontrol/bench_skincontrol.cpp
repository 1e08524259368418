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
#include "bench/support/TurnAbout.h"
#include "skin/host/ClassRegistry.h"
#include "tests/support/SkinTestFamily.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QPainter>
#include <QTextLayout>

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

// The same rectangles and texts on a bare QPainter, laid out once, each
// drawn translated to its place as the host places the controls.
struct Bare {
  std::vector<QPointF> Places;
  std::vector<std::unique_ptr<QTextLayout>> Layouts;
  std::vector<QPointF> TextAt;
  QRectF Local{0, 0, kWidth, kHeight};
  QBrush Fill{QColor(0x2F, 0x2F, 0x2F)};
  QPen TextPen{Qt::white};

  explicit Bare(QPaintDevice* ADevice) {
    QFont font(kFamily);
    font.setPixelSize(12);
    for (int i = 0; i < kColumns * kRows; ++i) {
      Places.emplace_back((i % kColumns) * kWidth, (i / kColumns) * kHeight);
      auto layout = std::make_unique<QTextLayout>(CaptionOf(i), QFont(font, ADevice), ADevice);
      layout->beginLayout();
      QTextLine line = layout->createLine();
      line.setLineWidth(kWidth);
      layout->endLayout();
      TextAt.emplace_back((kWidth - line.naturalTextWidth()) / 2, (kHeight - line.height()) / 2);
      Layouts.push_back(std::move(layout));
    }
  }

  void Paint(QPainter& APainter) const {
    for (std::size_t i = 0; i < Places.size(); ++i) {
      APainter.save();
      APainter.translate(Places[i]);
      APainter.fillRect(Local, Fill);
      APainter.setPen(TextPen);
      Layouts[i]->lineAt(0).draw(&APainter, TextAt[i]);
      APainter.restore();
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
  const Controls controls;
  const Bare bare(&Target());
  bench_support::MeasureTurnAbout(
      AState,
      [&] {
        QPainter painter(&Target());
        controls.Paint(painter);
      },
      [&] {
        QPainter painter(&Target());
        bare.Paint(painter);
      });
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
