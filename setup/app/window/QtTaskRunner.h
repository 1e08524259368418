#pragma once
// Threads for the setup logic on Qt: the application's global thread pool and
// blocking queued calls into the UI thread.

#include "setup/core/TaskRunner.h"

namespace ostrel::app {

class QtTaskRunner final : public setup::ITaskRunner {
 public:
  void Post(std::function<void()> task) override;
  void CallOnUiThread(const std::function<void()>& fn) override;
  void StartThread(std::function<void()> work) override;
};

}  // namespace ostrel::app
