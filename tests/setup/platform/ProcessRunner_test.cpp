#include "setup/platform/ProcessRunner.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <ostream>
#include <memory>
#include <string>
#include <vector>

namespace ostrel::platform {
namespace {

std::string Text(const std::vector<std::byte>& bytes) {
  return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// The first reading is the start; every later one is start + offset, so the
// time limit sees a fixed distance however long the child takes.
std::function<std::int64_t()> ClockAt(std::int64_t start, std::int64_t offset) {
  auto calls = std::make_shared<std::atomic<int>>(0);
  return [=] { return (*calls)++ == 0 ? start : start + offset; };
}

struct LimitCase {
  const char* name;
  std::int32_t limit;
  std::int64_t clockOffset;
  bool timedOut;
};

void PrintTo(const LimitCase& c, std::ostream* os) { *os << c.name; }

class TimeLimitTest : public ::testing::TestWithParam<LimitCase> {};

TEST_P(TimeLimitTest, FollowsTheGivenClock) {
  const LimitCase& c = GetParam();
  ProcessRequest request;
  request.commandLine = "/bin/sh -c \"echo started; sleep 0.3; echo finished; exit 5\"";
  request.timeLimitSeconds = c.limit;
  request.clock = ClockAt(1'000'000, c.clockOffset);
  const ProcessOutcome outcome = RunCapturedProcess(request);
  ASSERT_TRUE(outcome.started);
  EXPECT_EQ(outcome.timedOut, c.timedOut);
  if (c.timedOut) {
    EXPECT_EQ(outcome.exitCode, 0u);
    EXPECT_EQ(Text(outcome.output).find("finished"), std::string::npos);
  } else {
    EXPECT_EQ(outcome.exitCode, 5u);
    EXPECT_EQ(Text(outcome.output), "started\nfinished\n");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, TimeLimitTest,
    ::testing::Values(LimitCase{"Exceeded", 15, 16, true},
                      LimitCase{"ReachedButNotExceeded", 15, 15, false},
                      LimitCase{"NoLimitIgnoresTheClock", 0, 1000, false},
                      LimitCase{"NegativeMeansNoLimit", -1, 1000, false},
                      LimitCase{"ClockSetBack", 1, -3600, false}),
    [](const ::testing::TestParamInfo<LimitCase>& info) { return std::string(info.param.name); });

TEST(ProcessRunnerTest, ReportsWhetherTheProgramStarted) {
  ProcessRequest request;
  request.commandLine = "/bin/true";
  EXPECT_TRUE(RunCapturedProcess(request).started);
  request.commandLine = "/nonexistent/true";
  const ProcessOutcome missing = RunCapturedProcess(request);
  EXPECT_FALSE(missing.started);
  EXPECT_TRUE(missing.output.empty());
}

// `started` runs once for a child that runs, while it runs (this child waits
// for what the callback does), and never for one that could not start.
TEST(ProcessRunnerTest, StartedRunsWhileTheChildRuns) {
  const std::string mark = ::testing::TempDir() + "ostrel-started-" + std::to_string(::getpid());
  std::remove(mark.c_str());
  int calls = 0;
  ProcessRequest request;
  request.arguments = {"/bin/sh", "-c", "while [ ! -e \"$0\" ]; do sleep 0.01; done; echo seen", mark};
  request.timeLimitSeconds = 20;
  request.started = [&] {
    ++calls;
    std::ofstream(mark).put('x');
  };
  const ProcessOutcome outcome = RunCapturedProcess(request);
  std::remove(mark.c_str());
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(outcome.timedOut);
  EXPECT_EQ(Text(outcome.output), "seen\n");

  request.arguments = {"/nonexistent/true"};
  EXPECT_FALSE(RunCapturedProcess(request).started);
  EXPECT_EQ(calls, 1) << "nothing ran";
}

// Words given apart reach the child exactly, even those no command line can
// spell (a double quote, a lone backslash before one); the line is unused.
TEST(ProcessRunnerTest, GivenWordsReachTheChildAsTheyAre) {
  ProcessRequest request;
  request.commandLine = "not a program";
  request.arguments = {"/bin/sh", "-c", "printf '%s|' \"$@\"", "sh", "say \"hi\" -o", "back\\\"slash", ""};
  const ProcessOutcome outcome = RunCapturedProcess(request);
  ASSERT_TRUE(outcome.started);
  EXPECT_EQ(Text(outcome.output), "say \"hi\" -o|back\\\"slash||");
}

TEST(ProcessRunnerTest, ReturnsWhenChildrenAreReapedElsewhere) {
  // With SIGCHLD ignored the system reaps children itself and waitpid has
  // nothing to give; the runner must still see the end and return.
  const auto previous = std::signal(SIGCHLD, SIG_IGN);
  ProcessRequest request;
  request.commandLine = "/bin/sh -c \"echo out\"";
  const ProcessOutcome quick = RunCapturedProcess(request);
  request.commandLine = "/bin/sleep 30";
  request.timeLimitSeconds = 1;
  const ProcessOutcome limited = RunCapturedProcess(request);
  std::signal(SIGCHLD, previous);
  EXPECT_TRUE(quick.started);
  EXPECT_EQ(Text(quick.output), "out\n");
  EXPECT_TRUE(limited.timedOut);
}

}  // namespace
}  // namespace ostrel::platform
