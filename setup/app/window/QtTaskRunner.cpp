#include "setup/app/window/QtTaskRunner.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <QThreadPool>
#include <thread>
#include <utility>

namespace ostrel::app {

void QtTaskRunner::Post(std::function<void()> task) { QThreadPool::globalInstance()->start(std::move(task)); }

void QtTaskRunner::CallOnUiThread(const std::function<void()>& fn) {
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr || QThread::currentThread() == app->thread()) {
    fn();
    return;
  }
  QMetaObject::invokeMethod(
      app, [&fn] { fn(); }, Qt::BlockingQueuedConnection);
}

void QtTaskRunner::StartThread(std::function<void()> work) {
  // Nobody joins it: the process ends through an immediate exit, which may
  // come while the thread still waits for the UI thread.
  std::thread(std::move(work)).detach();
}

}  // namespace ostrel::app
