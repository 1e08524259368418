#pragma once
// The one clock that drives property animations on the UI thread. It ticks
// about 60 times a second while at least one animation runs and is idle (no
// timer at all) otherwise. Tests put a ManualFrameClock in its place and
// advance time by hand.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <cstdint>
#include <vector>

namespace ostrel::host {

// Receives the frames of a clock while registered with it.
class IFrameClient {
 public:
  // ANow: the clock's time in seconds.
  virtual void ProcessFrame(double ANow) = 0;
  // The clock is going away; the client must forget it.
  virtual void ClockGone() = 0;

 protected:
  ~IFrameClient() = default;
};

class FrameClock {
 public:
  FrameClock() = default;
  FrameClock(const FrameClock&) = delete;
  FrameClock& operator=(const FrameClock&) = delete;
  virtual ~FrameClock();

  // Seconds on a monotonic scale.
  virtual double Now() const = 0;

  // Registering twice has no further effect.
  void Add(IFrameClient* AClient);
  void Remove(IFrameClient* AClient);
  bool IsIdle() const { return FClients.empty(); }
  std::size_t ClientCount() const { return FClients.size(); }
  // Frames delivered so far.
  std::uint64_t FrameCount() const { return FFrames; }

  // The clock animations use: the one set with SetCurrent, else a timer clock
  // created on first use.
  static FrameClock& Current();
  // Null brings back the timer clock. The caller keeps ownership of AClock.
  static void SetCurrent(FrameClock* AClock);

 protected:
  // One frame for every client registered now; clients may register or
  // leave (and others) during the frame.
  void Tick();
  virtual void Started() {}
  virtual void Stopped() {}

 private:
  std::vector<IFrameClient*> FClients;
  // The clients of the frame being delivered, kept so a frame allocates nothing.
  std::vector<IFrameClient*> FFrame;
  bool FTicking = false;
  std::uint64_t FFrames = 0;
};

class TimerFrameClock final : public QObject, public FrameClock {
  Q_OBJECT

 public:
  static constexpr int kFrameIntervalMs = 16;

  TimerFrameClock();
  double Now() const override;
  bool IsTimerActive() const { return FTimer.isActive(); }

 protected:
  void Started() override;
  void Stopped() override;

 private:
  QTimer FTimer;
  QElapsedTimer FElapsed;
};

// A clock whose time moves only when told; every move delivers one frame.
class ManualFrameClock final : public FrameClock {
 public:
  double Now() const override { return FNow; }
  void Advance(double ASeconds);
  // Moves in steps of at most AStep seconds, one frame each, as a real clock would.
  void Run(double ASeconds, double AStep = 1.0 / 60);

 private:
  double FNow = 0;
};

// Makes AClock the current clock for its lifetime.
class ScopedFrameClock {
 public:
  explicit ScopedFrameClock(FrameClock& AClock);
  ScopedFrameClock(const ScopedFrameClock&) = delete;
  ScopedFrameClock& operator=(const ScopedFrameClock&) = delete;
  ~ScopedFrameClock();

 private:
  FrameClock* FPrevious;
};

}  // namespace ostrel::host
