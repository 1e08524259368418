// What a full repaint of the gallery costs: its 30 skinned controls (the
// setup window's kinds in their states, read from the gallery's stored
// form) painted the way the host paints them, each translated to its place
// on one painter and run through its control type with the material it
// paints with. The reference is a bare QPainter drawing the same
// rectangles, paths, pictures and texts, recorded from that very paint and
// replayed with everything prepared beforehand. Both paints take turns in
// one loop, so the ratio compares like with like.
//
// After the first repaint the controls must not allocate: the allocations
// inside the controls' paints are counted against those the bare replay
// makes for the same draws (QPainter's own, for a turned picture), and any
// beyond those make the run fail.

#include "bench/gallery/PaintReplay.h"
#include "bench/support/AllocationCounter.h"
#include "bench/support/TurnAbout.h"
#include "examples/gallery/GalleryForm.h"
#include "skin/base/uSkinFireMonkeyControl.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPainter>

#include <cstdint>
#include <vector>

namespace {

QImage& Target() {
  static QImage image(660, 440, QImage::Format_ARGB32_Premultiplied);
  return image;
}

struct Painted {
  TControl* Control;
  ostrel::skin::SkinControlCore* Skin;
};

// The skinned controls in painting order: parents before their children.
void Collect(TControl& AParent, std::vector<Painted>& AOut) {
  for (TControl* child : AParent.Controls()) {
    if (auto* skin = dynamic_cast<ostrel::skin::SkinControlCore*>(child)) AOut.push_back({child, skin});
    Collect(*child, AOut);
  }
}

struct Gallery {
  TGallery Window{QStringLiteral(OSTREL_GALLERY_PICTURES)};
  std::vector<Painted> Controls;

  Gallery() {
    for (TControl* top : Window.Form().Controls()) {
      if (auto* skin = dynamic_cast<ostrel::skin::SkinControlCore*>(top)) Controls.push_back({top, skin});
      Collect(*top, Controls);
    }
  }

  // Counts the allocations made inside the controls' own paints.
  std::size_t Paint(QPainter& APainter) const {
    std::size_t allocations = 0;
    TPaintData data;
    data.IsDrawInteractiveState = true;
    for (const Painted& painted : Controls) {
      APainter.save();
      APainter.translate(painted.Control->LocalToAbsolute(TPointF(0, 0)));
      const std::size_t start = bench_support::AllocationCount();
      TDrawCanvas& canvas = *painted.Skin->Canvas();
      canvas.Prepare(&APainter);
      if (TSkinControlType* type = painted.Skin->SkinControlType()) {
        type->Paint(canvas, type->GetPaintCurrentUseMaterial(), painted.Control->LocalRect(), data);
      }
      canvas.UnPrepare();
      allocations += bench_support::AllocationCount() - start;
      APainter.restore();
    }
    return allocations;
  }
};

std::vector<bench_gallery::PaintOp> RecordOnce(const Gallery& AGallery) {
  bench_gallery::PaintOpRecorder recorder(Target().width(), Target().height());
  {
    QPainter painter(&recorder);
    AGallery.Paint(painter);
  }
  return recorder.TakeOps(&Target());
}

// The allocations one bare replay of AOps makes inside QPainter, after a first replay.
std::size_t BareReplayAllocations(const std::vector<bench_gallery::PaintOp>& AOps) {
  QPainter painter(&Target());
  bench_gallery::Replay(painter, AOps);
  const std::size_t start = bench_support::AllocationCount();
  bench_gallery::Replay(painter, AOps);
  return bench_support::AllocationCount() - start;
}

void BM_RepaintGallery(benchmark::State& AState) {
  const Gallery gallery;
  {
    QPainter first(&Target());
    gallery.Paint(first);
  }
  const std::size_t bare = BareReplayAllocations(RecordOnce(gallery));
  std::size_t inControls = 0;
  std::int64_t repaints = 0;
  for (auto _ : AState) {
    QPainter painter(&Target());
    inControls += gallery.Paint(painter);
    ++repaints;
  }
  AState.counters["controls"] = static_cast<double>(gallery.Controls.size());
  AState.counters["control_allocs_per_repaint"] =
      benchmark::Counter(static_cast<double>(inControls), benchmark::Counter::kAvgIterations);
  AState.counters["bare_allocs_per_repaint"] = static_cast<double>(bare);
  if (inControls > bare * static_cast<std::size_t>(repaints)) {
    AState.SkipWithError("the controls allocated while repainting");
  }
}

void BM_BareQPainterGalleryOps(benchmark::State& AState) {
  const Gallery gallery;
  const std::vector<bench_gallery::PaintOp> ops = RecordOnce(gallery);
  for (auto _ : AState) {
    QPainter painter(&Target());
    bench_gallery::Replay(painter, ops);
  }
  AState.counters["ops"] = static_cast<double>(ops.size());
}

// Both repaints taken turn about: the ratio is the gallery's time over the bare replay's.
void BM_GalleryOverBareQPainter(benchmark::State& AState) {
  const Gallery gallery;
  const std::vector<bench_gallery::PaintOp> ops = RecordOnce(gallery);
  bench_support::MeasureTurnAbout(
      AState,
      [&] {
        QPainter painter(&Target());
        gallery.Paint(painter);
      },
      [&] {
        QPainter painter(&Target());
        bench_gallery::Replay(painter, ops);
      });
}

BENCHMARK(BM_RepaintGallery);
BENCHMARK(BM_BareQPainterGalleryOps);
BENCHMARK(BM_GalleryOverBareQPainter);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
