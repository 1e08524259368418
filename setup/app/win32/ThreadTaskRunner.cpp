#include "setup/app/win32/ThreadTaskRunner.h"

#include <system_error>
#include <utility>

namespace ostrel::app {

ThreadTaskRunner::ThreadTaskRunner() : uiThread_(std::this_thread::get_id()) {}

void ThreadTaskRunner::Post(std::function<void()> task) { Detach(std::move(task)); }

void ThreadTaskRunner::StartThread(std::function<void()> work) { Detach(std::move(work)); }

void ThreadTaskRunner::Detach(std::function<void()> work) {
  {
    const std::lock_guard lock(mutex_);
    ++busy_;
  }
  auto run = [this, work = std::move(work)] {
    work();
    const std::lock_guard lock(mutex_);
    --busy_;
    changed_.notify_all();
  };
  try {
    // Nobody joins it: the process ends through an immediate exit, which
    // may come while the thread still works.
    std::thread(run).detach();
  } catch (const std::system_error&) {
    run();
  }
}

void ThreadTaskRunner::CallOnUiThread(const std::function<void()>& fn) {
  if (std::this_thread::get_id() == uiThread_) {
    fn();
    return;
  }
  Call call{&fn};
  std::unique_lock lock(mutex_);
  calls_.push_back(&call);
  changed_.notify_all();
  changed_.wait(lock, [&] { return call.done; });
}

void ThreadTaskRunner::ServeUntilIdle() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return !calls_.empty() || busy_ == 0; });
    if (calls_.empty()) return;
    Call* call = calls_.front();
    calls_.pop_front();
    lock.unlock();
    try {
      (*call->fn)();
    } catch (...) {
      // The caller waits for the call to be over, however it went.
    }
    lock.lock();
    call->done = true;
    changed_.notify_all();
  }
}

}  // namespace ostrel::app
