// The cost of one animation frame: 20 running animations, each moving one
// control, against a frame with nothing to do, in the same run. A second
// pair, sleeping in the event loop, shows that the frame clock wakes the
// process not at all while no animation runs, and about 60 times a second
// while one does.

#include "skin/host/Animation.h"
#include "skin/host/Control.h"
#include "skin/host/FrameClock.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QObject>
#include <QTimer>

#include <sys/resource.h>

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

// Counts the timer events the application delivers: each is a wake-up of a
// process that otherwise sleeps in its event loop. The timer that ends the
// measurement is not counted.
class TimerEventCounter : public QObject {
 public:
  explicit TimerEventCounter(const QObject* AIgnored) : FIgnored(AIgnored) {}
  int Count = 0;
  bool eventFilter(QObject* AReceiver, QEvent* AEvent) override {
    if (AEvent->type() == QEvent::Timer && AReceiver != FIgnored) ++Count;
    return false;
  }

 private:
  const QObject* FIgnored;
};

double ProcessCpuMs() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  const auto ms = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
  };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// Sleeps in the event loop for 250 ms, with or without one running
// animation, and counts the wake-ups; an idle clock should cause none, and
// the processor time spent shows that nothing spins meanwhile.
void TimerEventsWhile(benchmark::State& AState, bool AAnimating) {
  for (auto _ : AState) {
    TimerFrameClock clock;
    ScopedFrameClock useClock(clock);
    QEventLoop loop;
    QTimer end;
    end.setSingleShot(true);
    QObject::connect(&end, &QTimer::timeout, &loop, &QEventLoop::quit);
    TimerEventCounter counter(&end);
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
    const double cpuBefore = ProcessCpuMs();
    end.start(250);
    loop.exec();
    QCoreApplication::instance()->removeEventFilter(&counter);
    AState.counters["wakeups_per_s"] = counter.Count * 4.0;
    AState.counters["frames_per_s"] = static_cast<double>(clock.FrameCount()) * 4.0;
    AState.counters["cpu_ms_per_s"] = (ProcessCpuMs() - cpuBefore) * 4.0;
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
