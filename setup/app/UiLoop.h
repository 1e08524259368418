#pragma once
// The UI thread's message loop as the program drives it, and the task runner
// whose calls into the UI thread that loop serves. A run with the window gets
// both from the window module (Qt's event loop); a run without one uses
// HeadlessLoop, so the program itself never loads Qt.

#include "setup/core/TaskRunner.h"

namespace ostrel::app {

class UiLoop {
 public:
  virtual ~UiLoop() = default;

  virtual setup::ITaskRunner& Tasks() = 0;

  // Serves calls into the UI thread, on the thread that made the loop. The
  // program never comes back from it: every run ends the process from within.
  virtual void Run() = 0;
};

}  // namespace ostrel::app
