#include "setup/app/HeadlessLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <stdexcept>
#include <string>
#include <thread>

namespace ostrel::app {
namespace {

using namespace std::chrono_literals;

TEST(HeadlessLoop, UiCallsRunInlineOnTheUiThreadAndWaitForTheLoopElsewhere) {
  HeadlessLoop loop;
  setup::ITaskRunner& tasks = loop.Tasks();

  bool inlineRan = false;
  tasks.CallOnUiThread([&] { inlineRan = true; });
  EXPECT_TRUE(inlineRan) << "a call from the UI thread must not wait for itself";

  std::atomic<bool> served{false};
  std::thread::id servedOn;
  std::promise<void> returned;
  tasks.Post([&] {
    tasks.CallOnUiThread([&] {
      servedOn = std::this_thread::get_id();
      served = true;
    });
    // Posted work may call back as often as it likes; the last call ends the loop.
    tasks.CallOnUiThread([&] { loop.Quit(); });
    returned.set_value();
  });
  std::this_thread::sleep_for(100ms);
  EXPECT_FALSE(served) << "served before the UI thread ran its loop";

  loop.Run();
  EXPECT_TRUE(served);
  EXPECT_EQ(servedOn, std::this_thread::get_id());
  // The loop outlives the caller's last return from it.
  EXPECT_EQ(returned.get_future().wait_for(10s), std::future_status::ready);
}

TEST(HeadlessLoop, WhatAUiCallThrowsReachesItsCallerAndTheLoopGoesOn) {
  HeadlessLoop loop;
  setup::ITaskRunner& tasks = loop.Tasks();
  std::string caught;
  std::promise<void> returned;
  tasks.StartThread([&] {
    try {
      tasks.CallOnUiThread([] { throw std::runtime_error("no drive"); });
      caught = "nothing";
    } catch (const std::runtime_error& error) {
      caught = error.what();
    }
    tasks.CallOnUiThread([&] { loop.Quit(); });
    returned.set_value();
  });
  loop.Run();
  returned.get_future().wait();
  EXPECT_EQ(caught, "no drive");
}

TEST(HeadlessLoop, CallsFromManyThreadsAreAllServedOnce) {
  HeadlessLoop loop;
  setup::ITaskRunner& tasks = loop.Tasks();
  constexpr int kThreads = 8;
  constexpr int kCallsEach = 200;
  int served = 0;  // touched on the UI thread alone
  std::atomic<int> finished{0};
  std::promise<void> returned;
  for (int t = 0; t < kThreads; ++t) {
    tasks.Post([&] {
      for (int i = 0; i < kCallsEach; ++i) tasks.CallOnUiThread([&] { ++served; });
      if (++finished == kThreads) {
        tasks.CallOnUiThread([&] { loop.Quit(); });
        returned.set_value();
      }
    });
  }
  loop.Run();
  returned.get_future().wait();
  EXPECT_EQ(served, kThreads * kCallsEach);
}

}  // namespace
}  // namespace ostrel::app
