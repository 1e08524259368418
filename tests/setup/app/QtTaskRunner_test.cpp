#include "setup/app/window/QtTaskRunner.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QThreadPool>
#include <atomic>
#include <chrono>
#include <thread>

namespace ostrel::app {
namespace {

int argc = 1;
char name[] = "test";
char* argv[] = {name, nullptr};

// Serves the event loop until done holds or 10 seconds pass.
bool ServeUntil(const std::atomic<bool>& done) {
  QElapsedTimer timer;
  timer.start();
  while (!done && timer.elapsed() < 10000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return done;
}

TEST(QtTaskRunner, UiCallsRunInlineOnTheUiThreadAndWaitForTheLoopElsewhere) {
  QCoreApplication app(argc, argv);
  QtTaskRunner tasks;

  bool inlineRan = false;
  tasks.CallOnUiThread([&] { inlineRan = true; });
  EXPECT_TRUE(inlineRan) << "a call from the UI thread must not wait for itself";

  std::atomic<bool> served{false};
  std::atomic<bool> returned{false};
  QThread* servedOn = nullptr;
  tasks.StartThread([&] {
    tasks.CallOnUiThread([&] {
      servedOn = QThread::currentThread();
      served = true;
    });
    returned = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_FALSE(served) << "served before the UI thread ran its loop";
  EXPECT_FALSE(returned);

  ASSERT_TRUE(ServeUntil(returned));
  EXPECT_TRUE(served);
  EXPECT_EQ(servedOn, app.thread());
}

TEST(QtTaskRunner, PostedTasksRunOnThePoolAndMayCallBack) {
  QCoreApplication app(argc, argv);
  QtTaskRunner tasks;
  std::atomic<bool> done{false};
  std::atomic<bool> onPool{false};
  tasks.Post([&] {
    onPool = QThread::currentThread() != app.thread();
    tasks.CallOnUiThread([&] { done = true; });
  });
  ASSERT_TRUE(ServeUntil(done));
  EXPECT_TRUE(onPool);
  QThreadPool::globalInstance()->waitForDone();
}

}  // namespace
}  // namespace ostrel::app
