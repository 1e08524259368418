#include "setup/app/win32/ThreadTaskRunner.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

using ostrel::app::ThreadTaskRunner;

// A task's call into the UI thread runs on the thread that serves, and the
// task goes on only once it has run; serving ends when nothing is left.
TEST(ThreadTaskRunner, CallsFromTasksRunOnTheServingThreadInOrder) {
  ThreadTaskRunner tasks;
  const std::thread::id ui = std::this_thread::get_id();
  std::vector<int> order;
  std::atomic<bool> ranOnUi{true};
  tasks.Post([&] {
    for (int i = 0; i < 3; ++i) {
      tasks.CallOnUiThread([&, i] {
        ranOnUi = ranOnUi && std::this_thread::get_id() == ui;
        order.push_back(i);
      });
    }
    tasks.Post([&] { tasks.CallOnUiThread([&] { order.push_back(3); }); });
  });
  tasks.ServeUntilIdle();
  EXPECT_TRUE(ranOnUi);
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3}));
}

TEST(ThreadTaskRunner, CallOnTheUiThreadRunsAtOnceAndIdleServingReturns) {
  ThreadTaskRunner tasks;
  bool ran = false;
  tasks.CallOnUiThread([&] { ran = true; });
  EXPECT_TRUE(ran);
  tasks.ServeUntilIdle();
}

// A thread that waits for nothing keeps serving alive until it ends, and a
// call that throws still lets its caller go on.
TEST(ThreadTaskRunner, ServesUntilTheLastThreadEnds) {
  ThreadTaskRunner tasks;
  std::atomic<bool> finished{false};
  tasks.StartThread([&] {
    tasks.CallOnUiThread([] { throw 1; });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    finished = true;
  });
  tasks.ServeUntilIdle();
  EXPECT_TRUE(finished);
}

}  // namespace
