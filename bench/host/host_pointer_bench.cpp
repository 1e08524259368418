// Cost of the form's own pointer routing and of drawing a window-sized tree.
// A move that changes the hovered control is set against a bare hit test in
// the same run, so the ratio shows what enter/leave and event delivery add.

#include "skin/host/Control.h"
#include "skin/host/Form.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QGraphicsView>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include <memory>

namespace {

class Box : public TControl {
 public:
  using TControl::TControl;

 protected:
  void Paint(QPainter& ACanvas) override {
    ACanvas.setOpacity(AbsoluteOpacity());
    ACanvas.fillRect(LocalRect(), QColor(0, 146, 202));
  }
};

// A tree shaped like the setup window: a background, two panels, and a row of
// small controls in each, 40 controls in all.
std::unique_ptr<TForm> MakeForm() {
  auto form = std::make_unique<TForm>();
  form->SetClientSize(656, 376);
  auto* back = new Box(form.get());
  back->SetBounds(8, 8, 640, 360);
  back->SetClipChildren(true);
  back->SetParent(form.get());
  for (int p = 0; p < 2; ++p) {
    auto* panel = new Box(form.get());
    panel->SetBounds(0, p * 180.0f, 640, 180);
    panel->SetHitTest(false);
    panel->SetParent(back);
    for (int i = 0; i < 18; ++i) {
      auto* item = new Box(form.get());
      item->SetBounds(10 + i * 34.0f, 20, 30, 30);
      item->SetParent(panel);
    }
  }
  return form;
}

QApplication& App() {
  static int argc = 1;
  static char name[] = "bench";
  static char* argv[] = {name, nullptr};
  static QApplication* const app = new QApplication(argc, argv);
  return *app;
}

void BM_ObjectAtPoint(benchmark::State& AState) {
  App();
  auto form = MakeForm();
  bool odd = false;
  for (auto _ : AState) {
    benchmark::DoNotOptimize(form->ObjectAtPoint(odd ? QPointF(30, 210) : QPointF(600, 45)));
    odd = !odd;
  }
}
BENCHMARK(BM_ObjectAtPoint);

void BM_RoutedMoveChangingHover(benchmark::State& AState) {
  App();
  auto form = MakeForm();
  form->Show();
  QWidget* viewport = form->View()->viewport();
  int hovers = 0;
  for (TControl* c : form->Controls().first()->Controls().last()->Controls()) {
    c->SetOnMouseEnter([&hovers](TObject*) { ++hovers; });
  }
  bool odd = false;
  for (auto _ : AState) {
    const QPointF p = odd ? QPointF(30, 210) : QPointF(600, 210);
    QMouseEvent move(QEvent::MouseMove, p, viewport->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &move);
    odd = !odd;
  }
  AState.counters["enters"] = hovers;
}
BENCHMARK(BM_RoutedMoveChangingHover);

void BM_RenderWindow(benchmark::State& AState) {
  App();
  auto form = MakeForm();
  for (auto _ : AState) benchmark::DoNotOptimize(form->RenderToImage());
}
BENCHMARK(BM_RenderWindow)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
