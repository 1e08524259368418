#pragma once
// Threads for the setup logic without Qt: every task on a thread of its own,
// and calls into the "UI thread", which here is the thread that runs
// ServeUntilIdle, the program's main thread.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "setup/core/TaskRunner.h"

namespace ostrel::app {

class ThreadTaskRunner final : public setup::ITaskRunner {
 public:
  // The calling thread becomes the UI thread.
  ThreadTaskRunner();

  void Post(std::function<void()> task) override;
  void CallOnUiThread(const std::function<void()>& fn) override;
  void StartThread(std::function<void()> work) override;

  // Runs the calls other threads make into the UI thread until no task,
  // thread or call is left: nothing could ever happen again then. A run
  // that ends its process on success never comes back from here.
  void ServeUntilIdle();

 private:
  struct Call {
    const std::function<void()>* fn;
    bool done = false;
  };

  // Runs work on a detached thread counted as busy until it ends; inline
  // when no thread can be had.
  void Detach(std::function<void()> work);

  const std::thread::id uiThread_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Call*> calls_;
  int busy_ = 0;
};

}  // namespace ostrel::app
