#include "setup/platform/RunningProductSignal.h"
#include "setup/platform/posix/ProductSocket.h"
#include "tests/tools/ChildProcess.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using ostrel::platform::IsProductRunning;
using ostrel::platform::ProductSocketNameFor;
using ostrel::platform::QuitAnswer;
using ostrel::platform::SendQuitMessage;
using ostrel::testing::BackgroundProcess;
using ostrel::testing::RunProgram;

const std::string kProduct = OSTREL_PRODUCT;

// Sets the variable, or with no value removes it, until the object goes.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      ::setenv(name, value->c_str(), 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

class DemoProductTest : public testing::Test {
 protected:
  DemoProductTest() {
    std::string pattern = (fs::temp_directory_path() / "ostrel-rt-XXXXXX").string();
    runtime_ = ::mkdtemp(pattern.data());
    runtimeEnv_.emplace("XDG_RUNTIME_DIR", runtime_.string());
  }
  ~DemoProductTest() override {
    std::error_code ignored;
    fs::remove_all(runtime_, ignored);
  }

  static bool WaitUntilRunning() {
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (!IsProductRunning("Ostrel")) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(20ms);
    }
    return true;
  }

  fs::path runtime_;
  ScopedEnv platform_{"QT_QPA_PLATFORM", "offscreen"};
  std::optional<ScopedEnv> runtimeEnv_;
};

TEST_F(DemoProductTest, AnswersQuitThenEndsWithItsSocketGone) {
  BackgroundProcess product({kProduct});
  ASSERT_TRUE(product.Started());
  ASSERT_TRUE(WaitUntilRunning());
  const fs::path socket = ProductSocketNameFor("Ostrel").name;
  EXPECT_EQ(socket.parent_path(), runtime_);
  EXPECT_TRUE(fs::exists(socket));

  // A second instance leaves at once and takes nothing over.
  EXPECT_EQ(RunProgram({kProduct}).exitCode, 0);
  EXPECT_TRUE(IsProductRunning("Ostrel"));

  EXPECT_EQ(SendQuitMessage("Ostrel", 5s), QuitAnswer::Answered);
  EXPECT_FALSE(fs::exists(socket)) << "the socket goes before the answer";
  EXPECT_EQ(SendQuitMessage("Ostrel", 1s), QuitAnswer::NotRunning);
  EXPECT_EQ(product.WaitForExit(10s), std::optional<int>(0));
}

// A product that does not honour the message: it is handled (answered) every
// time, and the product stays until it is stopped by force.
TEST_F(DemoProductTest, WithTheIgnoreSwitchItAnswersButKeepsRunning) {
  const ScopedEnv ignore("OSTREL_DEMO_IGNORE_QUIT", "1");
  BackgroundProcess product({kProduct});
  ASSERT_TRUE(WaitUntilRunning());
  for (int i = 0; i < 3; ++i) EXPECT_EQ(SendQuitMessage("Ostrel", 5s), QuitAnswer::Answered);
  EXPECT_EQ(product.WaitForExit(300ms), std::nullopt);
  EXPECT_TRUE(IsProductRunning("Ostrel"));
}

// A hung product: every request is taken, none is answered, so each ask
// waits out its whole bound (more asks than a listener's backlog holds).
TEST_F(DemoProductTest, WithTheHangSwitchEveryAskWaitsItsWholeBound) {
  const ScopedEnv hang("OSTREL_DEMO_HANG_ON_QUIT", "1");
  BackgroundProcess product({kProduct});
  ASSERT_TRUE(WaitUntilRunning());
  constexpr int kAsks = 12;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kAsks; ++i) EXPECT_EQ(SendQuitMessage("Ostrel", 100ms), QuitAnswer::NoAnswer);
  // An ask turned away at once (a full backlog) would take next to nothing;
  // one that waits out its bound takes it, give or take a millisecond.
  EXPECT_GE(std::chrono::steady_clock::now() - start, kAsks * 90ms);
  EXPECT_EQ(product.WaitForExit(0ms), std::nullopt);
}

// Without any display the product still runs, and keeps its signal.
TEST_F(DemoProductTest, RunsWithoutADisplay) {
  const ScopedEnv noPlatform("QT_QPA_PLATFORM", std::nullopt);
  const ScopedEnv noX("DISPLAY", std::nullopt);
  const ScopedEnv noWayland("WAYLAND_DISPLAY", std::nullopt);
  BackgroundProcess product({kProduct});
  ASSERT_TRUE(WaitUntilRunning());
  EXPECT_EQ(SendQuitMessage("Ostrel", 5s), QuitAnswer::Answered);
  EXPECT_EQ(product.WaitForExit(10s), std::optional<int>(0));
}

}  // namespace
