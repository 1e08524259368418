// The cost of one animation frame: 20 running animations, each moving one
// control, against a frame with nothing to do, in the same run. A second
// pair shows that the frame clock's timer does not fire at all while no
// animation runs, and fires about 60 times a second while one does.

#include "skin/host/Animation.h"
#include "skin/host/Control.h"
#include "skin/host/FrameClock.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QObject>

#include <memory>
#include <vector>

namespace {

using ostrel::host::ManualFrameClock;
using ostrel::host::ScopedFrameClock;
using ostrel::host::TimerFrameClock;

constexpr int kAnimations = 20;
constexpr double kFrame = 1.0 / 60;

// A plain target for comparison with the host's controls.
class PlainTarget : public QObject {
  Q_OBJECT
  Q_PROPERTY(float Y MEMBER Y)

 public:
  float Y = 0;
};

// Starts kAnimations animations that never end within the benchmark, one per target.
template <class Target>
void StartAnimations(TComponent& AOwner, std::vector<std::unique_ptr<Target>>& ATargets, const QString& APath) {
  for (int i = 0; i < kAnimations; ++i) {
    ATargets.push_back(std::make_unique<Target>());
    auto* animation = new TFloatAnimation(&AOwner);
    animation->SetParent(ATargets.back().get());
    animation->SetPropertyName(APath);
    animation->SetStartValue(0);
    animation->SetStopValue(static_cast<float>(100 + i));
    animation->SetDuration(1e9f);
    animation->SetInterpolation(TInterpolationType::Cubic);
    animation->SetAnimationType(TAnimationType::InOut);
    animation->Start();
  }
}

void BM_EmptyFrame(benchmark::State& AState) {
  ManualFrameClock clock;
  ScopedFrameClock useClock(clock);
  for (auto _ : AState) clock.Advance(kFrame);
}
BENCHMARK(BM_EmptyFrame);

void BM_Frame20AnimatedControls(benchmark::State& AState) {
  ManualFrameClock clock;
  ScopedFrameClock useClock(clock);
  TComponent owner;
  std::vector<std::unique_ptr<TControl>> controls;
  StartAnimations(owner, controls, QStringLiteral("Position.Y"));
  for (auto _ : AState) clock.Advance(kFrame);
  AState.counters["animations"] = static_cast<double>(clock.ClientCount());
}
BENCHMARK(BM_Frame20AnimatedControls);

void BM_Frame20AnimatedObjects(benchmark::State& AState) {
  ManualFrameClock clock;
  ScopedFrameClock useClock(clock);
  TComponent owner;
  std::vector<std::unique_ptr<PlainTarget>> targets;
  StartAnimations(owner, targets, QStringLiteral("Y"));
  for (auto _ : AState) clock.Advance(kFrame);
  AState.counters["animations"] = static_cast<double>(clock.ClientCount());
}
BENCHMARK(BM_Frame20AnimatedObjects);

// Counts every timer event the application delivers, whoever receives it.
class TimerEventCounter : public QObject {
 public:
  int Count = 0;
  bool eventFilter(QObject*, QEvent* AEvent) override {
    if (AEvent->type() == QEvent::Timer) ++Count;
    return false;
  }
};

// Runs the event loop for 250 ms with or without one running animation.
void TimerEventsWhile(benchmark::State& AState, bool AAnimating) {
  for (auto _ : AState) {
    TimerFrameClock clock;
    ScopedFrameClock useClock(clock);
    TimerEventCounter counter;
    QCoreApplication::instance()->installEventFilter(&counter);
    TComponent owner;
    PlainTarget target;
    if (AAnimating) {
      auto* animation = new TFloatAnimation(&owner);
      animation->SetParent(&target);
      animation->SetPropertyName(QStringLiteral("Y"));
      animation->SetStopValue(1);
      animation->SetDuration(60);
      animation->Start();
    }
    QElapsedTimer wait;
    wait.start();
    while (wait.elapsed() < 250) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QCoreApplication::instance()->removeEventFilter(&counter);
    AState.counters["timer_events_per_s"] = counter.Count * 4.0;
    AState.counters["frames_per_s"] = static_cast<double>(clock.FrameCount()) * 4.0;
  }
}

void BM_ClockIdle(benchmark::State& AState) { TimerEventsWhile(AState, false); }
BENCHMARK(BM_ClockIdle)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_ClockAnimating(benchmark::State& AState) { TimerEventsWhile(AState, true); }
BENCHMARK(BM_ClockAnimating)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

#include "bench_animation.moc"
