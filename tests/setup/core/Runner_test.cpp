#include "setup/core/Runner.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace ostrel::setup {
namespace {

struct Captured {
  std::uint32_t exitCode = 0xDEADBEEF;
  std::string output = "stale";
};

Captured RunShell(const std::string& script, std::int32_t timeLimit = 0, bool utf8 = true,
             const std::string& folder = "") {
  Captured run;
  RunCaptured("/bin/sh -c \"" + script + "\"", run.exitCode, folder, utf8, timeLimit, run.output);
  return run;
}

// A process that ended but was not reaped still answers kill(pid, 0).
bool ProcessGone(pid_t pid) {
  for (int attempt = 0; attempt < 200; ++attempt) {
    if (::kill(pid, 0) != 0 && errno == ESRCH) return true;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string pidText, name, state;
    if (stat >> pidText >> name >> state && state == "Z") return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

TEST(RunCapturedTest, CollectsOutputAndErrorsOfAQuickChildWithItsExitCode) {
  const Captured run = RunShell("echo one; echo two >&2; echo three; exit 3");
  EXPECT_EQ(run.output, "one\ntwo\nthree\n");
  EXPECT_EQ(run.exitCode, 3u);
}

TEST(RunCapturedTest, CollectsMoreThanThePipeHolds) {
  const Captured run = RunShell("yes 0123456789abcdef | head -c 300000");
  ASSERT_EQ(run.output.size(), 300000u);
  EXPECT_EQ(run.output.substr(0, 17), "0123456789abcdef\n");
  EXPECT_EQ(run.output.find_first_not_of("0123456789abcdef\n"), std::string::npos);
  EXPECT_EQ(run.exitCode, 0u);
}

TEST(RunCapturedTest, DecodesACharacterSplitAcrossReads) {
  // Once across a pause between two writes, once across a read-buffer edge.
  EXPECT_EQ(RunShell("printf '\\342\\202'; sleep 0.3; printf '\\254'").output, "\xE2\x82\xAC");
  const Captured edge = RunShell("head -c 2399 /dev/zero | tr '\\000' x; printf '\\342\\202\\254'");
  EXPECT_EQ(edge.output, std::string(2399, 'x') + "\xE2\x82\xAC");
}

TEST(RunCapturedTest, InvalidUtf8GivesEmptyOutputButKeepsTheExitCode) {
  const Captured run = RunShell("printf 'ok \\377'; exit 4");
  EXPECT_EQ(run.output, "");
  EXPECT_EQ(run.exitCode, 4u);
}

TEST(RunCapturedTest, NarrowDecodingPassesPlainText) {
  EXPECT_EQ(RunShell("echo plain", 0, false).output, "plain\n");
}

TEST(RunCapturedTest, ProgramThatCannotStartLeavesExitCodeAndGivesEmptyOutput) {
  for (const auto& [commandLine, folder] :
       {std::pair<std::string, std::string>{"/nonexistent/program arg", ""},
        {"\"\"", ""},
        {"", ""},
        {"ostrel-no-such-program-on-path", ""},
        {"/bin/true", "/nonexistent/folder"}}) {
    std::uint32_t exitCode = 12345;
    std::string output = "stale";
    RunCaptured(commandLine, exitCode, folder, true, 0, output);
    EXPECT_EQ(exitCode, 12345u) << commandLine << " in " << folder;
    EXPECT_EQ(output, "") << commandLine << " in " << folder;
  }
}

TEST(RunCapturedTest, RunsInTheWorkingFolder) {
  const std::filesystem::path folder =
      std::filesystem::canonical(std::filesystem::temp_directory_path()) /
      ("ostrel-runner-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder / "with space");
  const Captured run = RunShell("pwd", 0, true, (folder / "with space").string());
  EXPECT_EQ(run.output, (folder / "with space").string() + "\n");
  std::filesystem::remove_all(folder);
}

TEST(RunCapturedTest, ReportsAChildEndedBySignalAsShellsDo) {
  EXPECT_EQ(RunShell("kill -TERM $$").exitCode, 128u + SIGTERM);
}

TEST(RunCapturedTest, TimeLimitEndsTheChildAndEverythingItStarted) {
  const auto start = std::chrono::steady_clock::now();
  const Captured run = RunShell("sleep 60 & echo $!; wait", 1);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_GE(elapsed, std::chrono::seconds(1));
  EXPECT_LT(elapsed, std::chrono::seconds(10));
  const pid_t grandchild = static_cast<pid_t>(std::stol(run.output));
  EXPECT_TRUE(ProcessGone(grandchild));
  // The runner reaped its own child: none is left waiting.
  EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

TEST(RunCapturedTest, WithoutLimitWaitsForTheChild) {
  const Captured run = RunShell("sleep 2; echo done", 0);
  EXPECT_EQ(run.output, "done\n");
  EXPECT_EQ(run.exitCode, 0u);
}

TEST(RunCapturedTest, ChildThatEndsBeforeItsOwnChildrenIsNotWaitedPast) {
  // The background sleep keeps the pipe open; the runner must still return
  // when the child itself ends.
  const auto start = std::chrono::steady_clock::now();
  const Captured run = RunShell("sleep 30 & echo $!", 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  ASSERT_FALSE(run.output.empty());
  ::kill(static_cast<pid_t>(std::stol(run.output)), SIGKILL);
}

TEST(RunCapturedTest, ChildReadsTheCallersStandardInputAndInheritsNoOtherHandles) {
  std::array<int, 2> input{};
  ASSERT_EQ(::pipe(input.data()), 0);
  const int savedStdin = ::dup(STDIN_FILENO);
  ASSERT_EQ(::dup2(input[0], STDIN_FILENO), STDIN_FILENO);
  // A descriptor opened without close-on-exec, as libraries sometimes leave them.
  const int stray = ::open("/dev/null", O_RDONLY);
  ASSERT_GE(::dup2(stray, 57), 0);
  ASSERT_EQ(::write(input[1], "from parent\n", 12), 12);
  ::close(input[1]);

  const Captured run = RunShell("read line; echo got $line; ls /proc/$$/fd");

  ::dup2(savedStdin, STDIN_FILENO);
  ::close(savedStdin);
  ::close(input[0]);
  ::close(stray);
  ::close(57);

  std::istringstream lines(run.output);
  std::string first;
  std::getline(lines, first);
  EXPECT_EQ(first, "got from parent");
  for (std::string fd; std::getline(lines, fd);) EXPECT_NE(fd, "57") << run.output;
}

}  // namespace
}  // namespace ostrel::setup
