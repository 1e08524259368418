// A full repaint of the setup window (656 x 376, raster) during its intro,
// against a bare QPainter drawing the same pictures, texts and fills into the
// same image, in one run. The window is the real one: its stored form as the
// build writes it, read through the control families the program starts, with
// the pictures it finds by name, and its intro animated on a manual clock.
// Each frame advances the clock by a sixtieth of a second and then repaints
// the whole window; the frames measured are those where the brand strip, the
// logos and the controls move (4.5 s to 7 s), the intro restarted untimed
// whenever it has passed them. The allocations of a frame are counted and
// reported per frame, next to the floor a painter alone costs (begun and
// ended on the image with nothing drawn). The window is measured twice: the
// scene rendered into an image, and the program's own path, the shown view
// repainting its viewport into the window's backing store.

#include "bench/support/AllocationCounter.h"
#include "bench/support/TurnAbout.h"
#include "setup/app/window/MainFormWindow.h"
#include "setup/app/window/WindowAnimations.h"
#include "skin/host/Control.h"
#include "skin/host/FrameClock.h"
#include "skin/host/GlowEffect.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <span>
#include <string>

namespace {

using ostrel::host::ManualFrameClock;
using ostrel::host::ScopedFrameClock;

constexpr double kFrame = 1.0 / 60;
constexpr double kMovingFrom = 4.5;
constexpr double kMovingUntil = 7.0;

// NAME=FILE|NAME=FILE... as the build lists the window's resources.
std::map<std::string, QByteArray> LoadResources() {
  std::map<std::string, QByteArray> resources;
  const QStringList entries = QStringLiteral(OSTREL_WINDOW_RESOURCES).split(QLatin1Char('|'), Qt::SkipEmptyParts);
  for (const QString& entry : entries) {
    const qsizetype equals = entry.indexOf(QLatin1Char('='));
    QFile file(entry.mid(equals + 1));
    if (equals <= 0 || !file.open(QIODevice::ReadOnly)) {
      std::fprintf(stderr, "cannot read the window resource %s\n", qPrintable(entry));
      std::exit(1);
    }
    resources[entry.left(equals).toUpper().toStdString()] = file.readAll();
  }
  return resources;
}

const std::map<std::string, QByteArray>& Resources() {
  static const std::map<std::string, QByteArray> resources = LoadResources();
  return resources;
}

std::optional<std::span<const std::byte>> FindResource(std::string_view AName) {
  const auto found = Resources().find(QString::fromUtf8(AName.data(), static_cast<qsizetype>(AName.size()))
                                          .toUpper()
                                          .toStdString());
  if (found == Resources().end()) return std::nullopt;
  return std::span<const std::byte>(reinterpret_cast<const std::byte*>(found->second.constData()),
                                    static_cast<std::size_t>(found->second.size()));
}

QImage Picture(const char* AName) {
  QImage image;
  image.loadFromData(Resources().at(AName));
  return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// The window read from its stored form, its intro run on the manual clock.
struct Window {
  ManualFrameClock Clock;
  ScopedFrameClock UseClock{Clock};
  ostrel::app::MainFormWindow Setup;
  QImage Target{656, 376, QImage::Format_ARGB32_Premultiplied};
  // When the intro last started: the clock runs on across restarts.
  double IntroStart = 0;

  explicit Window(bool AShadow = true)
      : Setup(QString::fromUtf8(Resources().at("TMAINFORM")), FindResource, [] {}) {
    if (!AShadow) {
      auto* glow = qobject_cast<TGlowEffect*>(Setup.Form().FindComponent(QStringLiteral("GlowEffect")));
      if (glow == nullptr) std::abort();
      glow->SetEnabled(false);
    }
    Clock.Run(kMovingFrom);
  }

  // Back to the start of the moving part, as a new intro would get there.
  void RestartIntro() {
    for (const auto& a : ostrel::app::kWindowAnimations) {
      if (a.Enabled) ostrel::app::RestartAnimation(Setup.Form(), a.Name, a.Delay, a.Duration);
    }
    IntroStart = Clock.Now();
    Clock.Run(kMovingFrom);
  }

  bool IntroPassed() const { return Clock.Now() - IntroStart >= kMovingUntil; }

  // One frame of the intro and the repaint of the whole window it needs.
  void Frame() {
    Clock.Advance(kFrame);
    Target.fill(Qt::transparent);
    QPainter painter(&Target);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
    const QRectF client(0, 0, 656, 376);
    Setup.Form().Scene()->render(&painter, client, client);
  }

  // The frame as the program paints it: the view shown, its viewport
  // repainted at once through the backing store.
  void Show() {
    Setup.Form().View()->show();
    QApplication::processEvents();
  }

  void ViewFrame() {
    Clock.Advance(kFrame);
    Setup.Form().View()->viewport()->repaint();
  }
};

// The window's parts drawn by hand where they are in the middle of the
// moving part of the intro: the background picture with a shadow image
// around it, the brand strip, both logos, the install button, the switch,
// the two texts and the progress strip.
struct Bare {
  QImage Bg = Picture("BG");
  QImage Brand = Picture("BRAND");
  QImage Logo = Picture("LOGO");
  QImage Logo2 = Picture("LOGO2");
  QImage Shadow{656, 376, QImage::Format_ARGB32_Premultiplied};
  QImage Target{656, 376, QImage::Format_ARGB32_Premultiplied};
  QFont Font;

  Bare() {
    Shadow.fill(Qt::transparent);
    QPainter shadow(&Shadow);
    shadow.fillRect(QRect(4, 4, 648, 368), QColor(0, 0, 0, 64));
    Font.setPixelSize(14);
  }

  void Frame() {
    Target.fill(Qt::transparent);
    QPainter p(&Target);
    p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
    p.drawImage(0, 0, Shadow);
    p.drawImage(QRectF(8, 8, 640, 360), Bg);
    p.setOpacity(0.8);
    p.drawImage(QRectF(118, 154, 300, 78), Brand);
    p.setOpacity(1);
    p.drawImage(QRectF(368, 78, 100, 158), Logo);
    p.setOpacity(0.5);
    p.drawImage(QRectF(368, 78, 100, 158), Logo2);
    p.setOpacity(0.7);
    p.setPen(QColor(0x00, 0x98, 0xd4));
    p.setBrush(QColor(0x00, 0x92, 0xca));
    p.drawRoundedRect(QRectF(128.5, 251.5, 159, 49), 4, 4);
    p.setPen(QColor(0x99, 0x99, 0x99));
    p.setBrush(QColor(0x1d, 0x1d, 0x1d));
    p.drawRoundedRect(QRectF(415.5, 276.5, 49, 24), 12, 12);
    p.setFont(Font);
    p.setPen(Qt::white);
    p.drawText(QRectF(36, 185, 345, 41), Qt::AlignCenter | Qt::TextWordWrap,
               QStringLiteral("Operate your phone on PC safely and easily."));
    p.drawText(QRectF(473, 272, 144, 33), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
               QStringLiteral("Custom installation"));
    p.drawText(QRectF(128, 251, 160, 50), Qt::AlignCenter, QStringLiteral("Install Now"));
    p.setOpacity(1);
    p.fillRect(QRectF(9, 363, 638, 4), QColor(0x2f, 0x2f, 0x2f));
  }
};

// OSTREL_TRACE_FRAME_ALLOCATIONS=N: the call stacks of the allocations in the
// first N frames of each benchmark go to standard error.
int TracedFrames() {
  static const int frames = [] {
    const char* value = std::getenv("OSTREL_TRACE_FRAME_ALLOCATIONS");
    return value != nullptr ? std::atoi(value) : 0;
  }();
  return frames;
}

// Times AFrame once per iteration and reports its allocations per frame;
// ABetween runs untimed and uncounted before each frame.
template <class FrameFn, class BetweenFn>
void CountFrames(benchmark::State& AState, FrameFn&& AFrame, BetweenFn&& ABetween) {
  std::size_t allocations = 0;
  int traced = 0;
  for (auto _ : AState) {
    ABetween();
    const bool trace = traced < TracedFrames();
    if (trace) {
      ++traced;
      std::fputs("=== frame\n", stderr);
      bench_support::TraceAllocations(true);
    }
    const std::size_t before = bench_support::AllocationCount();
    AFrame();
    allocations += bench_support::AllocationCount() - before;
    if (trace) bench_support::TraceAllocations(false);
  }
  AState.counters["allocs_per_frame"] =
      benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
}

template <class FrameFn>
void CountFrames(benchmark::State& AState, FrameFn&& AFrame) {
  CountFrames(AState, AFrame, [] {});
}

// Frames of the moving part of the intro; the restarts are not timed.
template <class FrameFn>
void Frames(benchmark::State& AState, Window& AWindow, FrameFn&& AFrame) {
  CountFrames(AState, AFrame, [&] {
    if (!AWindow.IntroPassed()) return;
    AState.PauseTiming();
    AWindow.RestartIntro();
    AState.ResumeTiming();
  });
}

// The whole repaint; with the argument 0 the window's shadow is off, which
// shows what the shadow costs.
void BM_WindowRepaint(benchmark::State& AState) {
  Window window(AState.range(0) != 0);
  window.Frame();
  Frames(AState, window, [&] { window.Frame(); });
}

void BM_WindowViewRepaint(benchmark::State& AState) {
  Window window;
  window.Show();
  window.ViewFrame();
  Frames(AState, window, [&] { window.ViewFrame(); });
}

// What a painter begun and ended on the image costs with nothing drawn: the
// floor no repaint can go below.
void BM_PainterFloor(benchmark::State& AState) {
  QImage target(656, 376, QImage::Format_ARGB32_Premultiplied);
  CountFrames(AState, [&] {
    QPainter painter(&target);
    painter.end();
  });
}

// What Qt's own repaint of a shown window costs before anything is drawn:
// a plain widget that begins a painter and draws nothing, and an empty
// graphics view of the window's size. The window's view repaint above is
// to be read against the second: what it adds is what its controls cost.
class EmptyWidget : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override { QPainter painter(this); }
};

void MeasureRepaints(benchmark::State& AState, QWidget& AShown, QWidget& ARepainted) {
  AShown.resize(656, 376);
  AShown.show();
  QApplication::processEvents();
  ARepainted.repaint();
  CountFrames(AState, [&] { ARepainted.repaint(); });
}

void BM_EmptyWidgetRepaint(benchmark::State& AState) {
  EmptyWidget widget;
  MeasureRepaints(AState, widget, widget);
}

void BM_EmptyGraphicsViewRepaint(benchmark::State& AState) {
  QGraphicsScene scene(0, 0, 656, 376);
  // One item that draws nothing, so the view walks its items as the window's does.
  scene.addRect(QRectF(0, 0, 656, 376), Qt::NoPen, Qt::NoBrush);
  QGraphicsView view(&scene);
  view.setFrameShape(QFrame::NoFrame);
  view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  view.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
  view.setOptimizationFlag(QGraphicsView::DontSavePainterState);
  view.setBackgroundBrush(Qt::NoBrush);
  view.setAttribute(Qt::WA_TranslucentBackground);
  view.viewport()->setAttribute(Qt::WA_TranslucentBackground);
  MeasureRepaints(AState, view, *view.viewport());
}

void BM_BareQPainterRepaint(benchmark::State& AState) {
  Bare bare;
  bare.Frame();
  CountFrames(AState, [&] { bare.Frame(); });
}

// Both repaints taken turn about in one loop, so both see the same machine.
void BM_WindowOverBareQPainter(benchmark::State& AState) {
  Window window;
  Bare bare;
  window.Frame();
  bare.Frame();
  bench_support::MeasureTurnAbout(
      AState,
      [&] {
        // Restarting here is timed, but once in 150 frames.
        if (window.IntroPassed()) window.RestartIntro();
        window.Frame();
      },
      [&] { bare.Frame(); });
}

BENCHMARK(BM_WindowRepaint)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WindowViewRepaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PainterFloor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EmptyWidgetRepaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EmptyGraphicsViewRepaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BareQPainterRepaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WindowOverBareQPainter)->Unit(benchmark::kMicrosecond);

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
