// A full repaint of a window of the setup window's size and layout (656 x 376,
// raster) during its intro, through the host's scene with its shadow effect,
// against a bare QPainter filling the same rounded rectangles into the same
// image, in one run. The window is the host demo's colour boxes placed where
// the setup window's parts sit, with the intro's moving parts animated on a
// manual clock: each frame advances the clock by a sixtieth of a second and
// then repaints the whole window. The allocations of a repaint are counted
// and reported per frame.

#include "bench/support/AllocationCounter.h"
#include "bench/support/TurnAbout.h"
#include "examples/host_demo/DemoForm.h"
#include "skin/host/Animation.h"
#include "skin/host/FormReader.h"
#include "skin/host/FrameClock.h"
#include "skin/host/GlowEffect.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>

namespace {

using ostrel::host::ManualFrameClock;
using ostrel::host::ScopedFrameClock;

constexpr double kFrame = 1.0 / 60;
// The middle of the intro, where the brand strip and the logos move at once.
constexpr double kIntroMiddle = 5.0;

const char* const kWindowForm = R"(object Window: TDemoForm
  ClientWidth = 656
  ClientHeight = 376
  BorderStyle = None
  FormStyle = StayOnTop
  Transparency = True
  object Back: TColorBox
    Position.X = 8
    Position.Y = 8
    Width = 640
    Height = 360
    ClipChildren = True
    Color = xFF1D1D1D
    object Shadow: TGlowEffect
      GlowColor = claBlack
      Softness = 0.4
      Opacity = 0.5
    end
    object Brand: TColorBox
      Position.X = 170
      Position.Y = 223
      Width = 300
      Height = 78
      Opacity = 0
      HitTest = False
      Color = xFFE0E0E0
      object Fade: TFloatAnimation
        Enabled = True
        Delay = 3
        Duration = 1
        PropertyName = 'Opacity'
        StopValue = 1
      end
      object MoveX: TFloatAnimation
        Enabled = True
        Delay = 4.5
        Duration = 2
        Interpolation = Cubic
        AnimationType = InOut
        PropertyName = 'Position.X'
        StartValue = 170
        StopValue = 50
      end
      object MoveY: TFloatAnimation
        Enabled = True
        Delay = 4.5
        Duration = 2
        Interpolation = Cubic
        AnimationType = InOut
        PropertyName = 'Position.Y'
        StartValue = 223
        StopValue = 70
      end
    end
    object Logo: TColorBox
      Position.X = 270
      Position.Y = 100
      Width = 100
      Height = 158
      HitTest = False
      Color = xFF0092CA
      Radius = 12
      object Logo2: TColorBox
        Width = 100
        Height = 158
        Opacity = 0
        HitTest = False
        Color = xFF00B0F0
        Radius = 12
        object Fade2: TFloatAnimation
          Enabled = True
          Delay = 4.5
          Duration = 2
          Interpolation = Cubic
          PropertyName = 'Opacity'
          StopValue = 1
        end
      end
      object LogoX: TFloatAnimation
        Enabled = True
        Delay = 4.5
        Duration = 2
        Interpolation = Cubic
        AnimationType = InOut
        PropertyName = 'Position.X'
        StartValue = 270
        StopValue = 450
      end
    end
    object Install: TColorBox
      Position.X = 120
      Position.Y = 233
      Width = 160
      Height = 50
      Color = xFF0092CA
      Radius = 4
    end
    object Switch: TColorBox
      Position.X = 407
      Position.Y = 258
      Width = 50
      Height = 25
      Color = xFF1D1D1D
      Radius = 12
    end
    object Progress: TColorBox
      Position.X = 1
      Position.Y = 355
      Width = 638
      Height = 4
      Color = xFF0092CA
    end
  end
end
)";

// The same boxes as plain fills, at the places they have in the middle of the intro.
struct BareBox {
  QRectF Rect;
  QColor Color;
  double Radius;
  double Opacity;
};

void BarePaint(QPainter& APainter, const BareBox* ABoxes, int ACount) {
  APainter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
  APainter.setPen(Qt::NoPen);
  for (int i = 0; i < ACount; ++i) {
    APainter.setOpacity(ABoxes[i].Opacity);
    APainter.setBrush(ABoxes[i].Color);
    APainter.drawRoundedRect(ABoxes[i].Rect, ABoxes[i].Radius, ABoxes[i].Radius);
  }
}

const BareBox kBare[] = {
    {QRectF(8, 8, 640, 360), QColor(0x1d, 0x1d, 0x1d), 0, 1},
    {QRectF(118, 154, 300, 78), QColor(0xe0, 0xe0, 0xe0), 0, 1},
    {QRectF(368, 108, 100, 158), QColor(0x00, 0x92, 0xca), 12, 1},
    {QRectF(368, 108, 100, 158), QColor(0x00, 0xb0, 0xf0), 12, 0.5},
    {QRectF(128, 241, 160, 50), QColor(0x00, 0x92, 0xca), 4, 1},
    {QRectF(415, 266, 50, 25), QColor(0x1d, 0x1d, 0x1d), 12, 1},
    {QRectF(9, 363, 638, 4), QColor(0x00, 0x92, 0xca), 0, 1},
};
constexpr int kBareCount = static_cast<int>(sizeof(kBare) / sizeof(kBare[0]));

// The window read and its intro run to its middle, on the manual clock.
struct Window {
  ManualFrameClock Clock;
  ScopedFrameClock UseClock{Clock};
  TDemoForm Form;
  QImage Target{656, 376, QImage::Format_ARGB32_Premultiplied};

  explicit Window(bool AShadow = true) {
    RegisterDemoClasses();
    ostrel::host::ReadComponentInto(Form, QString::fromUtf8(kWindowForm));
    if (!AShadow) qobject_cast<TGlowEffect*>(Form.FindComponent(QStringLiteral("Shadow")))->SetEnabled(false);
    Clock.Run(kIntroMiddle);
  }

  // One frame of the intro and the repaint of the whole window it needs.
  void Frame() {
    Clock.Advance(kFrame);
    Target.fill(Qt::transparent);
    QPainter painter(&Target);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
    const QRectF client(0, 0, 656, 376);
    Form.Scene()->render(&painter, client, client);
  }
};

// The whole repaint; with the argument 0 the window's shadow is off, which
// shows what the shadow's blur costs, made again for every frame in which
// anything on the background moved.
void BM_WindowRepaint(benchmark::State& AState) {
  Window window(AState.range(0) != 0);
  window.Frame();
  const std::size_t before = bench_support::AllocationCount();
  for (auto _ : AState) window.Frame();
  AState.counters["allocs_per_frame"] = benchmark::Counter(
      static_cast<double>(bench_support::AllocationCount() - before), benchmark::Counter::kAvgIterations);
}

void BM_BareQPainterRepaint(benchmark::State& AState) {
  QImage target(656, 376, QImage::Format_ARGB32_Premultiplied);
  const std::size_t before = bench_support::AllocationCount();
  for (auto _ : AState) {
    target.fill(Qt::transparent);
    QPainter painter(&target);
    BarePaint(painter, kBare, kBareCount);
  }
  AState.counters["allocs_per_frame"] = benchmark::Counter(
      static_cast<double>(bench_support::AllocationCount() - before), benchmark::Counter::kAvgIterations);
}

// Both repaints taken turn about in one loop, so both see the same machine.
void BM_WindowOverBareQPainter(benchmark::State& AState) {
  Window window;
  QImage target(656, 376, QImage::Format_ARGB32_Premultiplied);
  bench_support::MeasureTurnAbout(
      AState, [&] { window.Frame(); },
      [&] {
        target.fill(Qt::transparent);
        QPainter painter(&target);
        BarePaint(painter, kBare, kBareCount);
      });
}

BENCHMARK(BM_WindowRepaint)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);
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
