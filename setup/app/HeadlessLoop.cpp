#include "setup/app/HeadlessLoop.h"

#include <utility>

namespace ostrel::app {

HeadlessLoop::HeadlessLoop() : uiThread_(std::this_thread::get_id()) {}

void HeadlessLoop::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return quit_ || !calls_.empty(); });
    if (quit_) return;
    Call* call = calls_.front();
    calls_.pop_front();
    lock.unlock();
    try {
      (*call->fn)();
    } catch (...) {
      call->failure = std::current_exception();
    }
    lock.lock();
    call->done = true;
    changed_.notify_all();
  }
}

void HeadlessLoop::Quit() {
  const std::lock_guard lock(mutex_);
  quit_ = true;
  changed_.notify_all();
}

void HeadlessLoop::Post(std::function<void()> task) { StartThread(std::move(task)); }

void HeadlessLoop::CallOnUiThread(const std::function<void()>& fn) {
  if (std::this_thread::get_id() == uiThread_) {
    fn();
    return;
  }
  Call call{&fn, nullptr};
  {
    std::unique_lock lock(mutex_);
    calls_.push_back(&call);
    changed_.notify_all();
    changed_.wait(lock, [&call] { return call.done; });
  }
  if (call.failure) std::rethrow_exception(call.failure);
}

void HeadlessLoop::StartThread(std::function<void()> work) {
  // Nobody joins it: the process ends through an immediate exit, which may
  // come while the thread still waits for the UI thread.
  std::thread(std::move(work)).detach();
}

}  // namespace ostrel::app
