#pragma once
// The UI loop of a run with the window: the widget application, Qt's event
// loop and the task runner on Qt's thread pool.

#include <QCoreApplication>
#include <memory>

#include "setup/app/UiLoop.h"
#include "setup/app/window/QtTaskRunner.h"

namespace ostrel::app {

class QtUiLoop final : public UiLoop {
 public:
  // Without a display this ends the process (CreateGuiApplication).
  QtUiLoop(int& argc, char** argv);

  setup::ITaskRunner& Tasks() override { return tasks_; }
  void Run() override;

 private:
  const std::unique_ptr<QCoreApplication> application_;
  QtTaskRunner tasks_;
};

}  // namespace ostrel::app
