#pragma once
// The UI thread of a run without a window: a queue of calls the thread that
// made the loop serves in Run, and a thread of its own for each posted task
// (an unattended run posts a handful). Needs nothing beyond the standard
// library, so such a run starts without Qt.

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

#include "setup/app/UiLoop.h"

namespace ostrel::app {

class HeadlessLoop final : public UiLoop, private setup::ITaskRunner {
 public:
  HeadlessLoop();

  setup::ITaskRunner& Tasks() override { return *this; }
  // Returns once Quit has been called (tests); the program never calls it.
  void Run() override;
  void Quit();

 private:
  struct Call {
    const std::function<void()>* fn;
    std::exception_ptr failure;
    bool done = false;
  };

  void Post(std::function<void()> task) override;
  // A call from the UI thread runs at once; one from another thread waits
  // until Run has served it, and what it throws is thrown to its caller.
  void CallOnUiThread(const std::function<void()>& fn) override;
  void StartThread(std::function<void()> work) override;

  const std::thread::id uiThread_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Call*> calls_;
  bool quit_ = false;
};

}  // namespace ostrel::app
