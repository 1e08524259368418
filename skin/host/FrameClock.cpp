#include "skin/host/FrameClock.h"

#include <algorithm>
#include <memory>

namespace ostrel::host {

namespace {

FrameClock* gCurrentClock = nullptr;

}  // namespace

FrameClock::~FrameClock() {
  if (gCurrentClock == this) gCurrentClock = nullptr;
  while (!FClients.empty()) {
    IFrameClient* client = FClients.back();
    FClients.pop_back();
    client->ClockGone();
  }
}

void FrameClock::Add(IFrameClient* AClient) {
  if (AClient == nullptr || std::find(FClients.begin(), FClients.end(), AClient) != FClients.end()) return;
  FClients.push_back(AClient);
  if (FClients.size() == 1) Started();
}

void FrameClock::Remove(IFrameClient* AClient) {
  const auto it = std::find(FClients.begin(), FClients.end(), AClient);
  if (it == FClients.end()) return;
  FClients.erase(it);
  if (FClients.empty()) Stopped();
}

void FrameClock::Tick() {
  ++FFrames;
  const double now = Now();
  // A frame delivered from inside another (a client advancing a manual
  // clock) takes its own copy; the kept one is in use.
  std::vector<IFrameClient*> nested;
  std::vector<IFrameClient*>& frame = FTicking ? nested : FFrame;
  frame = FClients;
  struct Ticking {
    bool& Flag;
    const bool Outer;
    ~Ticking() {
      if (Outer) Flag = false;
    }
  } ticking{FTicking, !FTicking};
  FTicking = true;
  for (IFrameClient* client : frame) {
    // A client earlier in this frame may have removed or freed this one.
    if (std::find(FClients.begin(), FClients.end(), client) != FClients.end()) client->ProcessFrame(now);
  }
}

FrameClock& FrameClock::Current() {
  if (gCurrentClock != nullptr) return *gCurrentClock;
  static const std::unique_ptr<TimerFrameClock> timerClock = std::make_unique<TimerFrameClock>();
  return *timerClock;
}

void FrameClock::SetCurrent(FrameClock* AClock) { gCurrentClock = AClock; }

TimerFrameClock::TimerFrameClock() {
  FTimer.setTimerType(Qt::PreciseTimer);
  FTimer.setInterval(kFrameIntervalMs);
  connect(&FTimer, &QTimer::timeout, this, [this] { Tick(); });
  FElapsed.start();
}

double TimerFrameClock::Now() const { return static_cast<double>(FElapsed.nsecsElapsed()) / 1e9; }

void TimerFrameClock::Started() { FTimer.start(); }
void TimerFrameClock::Stopped() { FTimer.stop(); }

void ManualFrameClock::Advance(double ASeconds) {
  FNow += ASeconds;
  Tick();
}

void ManualFrameClock::Run(double ASeconds, double AStep) {
  const double end = FNow + ASeconds;
  while (FNow < end) {
    const double step = std::min(AStep, end - FNow);
    Advance(step);
    if (step <= 0) break;
  }
}

ScopedFrameClock::ScopedFrameClock(FrameClock& AClock) : FPrevious(gCurrentClock) { FrameClock::SetCurrent(&AClock); }

ScopedFrameClock::~ScopedFrameClock() { FrameClock::SetCurrent(FPrevious); }

}  // namespace ostrel::host
