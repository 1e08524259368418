#pragma once
// How the setup logic moves work between threads: tasks on the shared thread
// pool, and synchronous calls back into the UI thread.

#include <functional>

namespace ostrel::setup {

class ITaskRunner {
 public:
  virtual ~ITaskRunner() = default;

  // Runs the task on the shared pool; nobody waits for it.
  virtual void Post(std::function<void()> task) = 0;

  // Runs fn on the UI thread and returns once it has run. Called on the UI
  // thread itself, fn runs at once. The UI thread serves calls from other
  // threads only from its message loop.
  virtual void CallOnUiThread(const std::function<void()>& fn) = 0;

  // Runs work on a thread of its own that ends with it.
  virtual void StartThread(std::function<void()> work) = 0;
};

}  // namespace ostrel::setup
