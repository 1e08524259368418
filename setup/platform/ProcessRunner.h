#pragma once
// Runs one command line as a hidden child process and waits for it, with its
// standard output and standard error captured together in one byte buffer.
// The whole task lives in the backend so that each platform waits on the
// child and the pipe with its own primitives.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ostrel::platform {

// Size of the one read buffer; a read never takes more than this at once.
inline constexpr std::size_t kProcessReadChunk = 2400;

// The longest the runner waits before it looks at the time limit again.
inline constexpr std::chrono::milliseconds kProcessWaitStep{100};

struct ProcessRequest {
  // Split by the Windows rules (SplitWindowsCommandLine) where the system
  // itself takes an argument vector; the program is looked up on PATH when
  // it names no folder.
  std::string commandLine;
  // Where the system takes an argument vector (POSIX) and this is not empty:
  // the child's words exactly as given, in place of the split command line,
  // so that a word the line cannot spell (one holding a double quote) still
  // arrives whole. Where the system takes one command line (Windows) the
  // line goes as it is and these are not used.
  std::vector<std::string> arguments;
  std::string workingFolder;
  // 0 or less: no limit. Otherwise the child is killed once the clock has
  // moved on by more than this many seconds since the start.
  std::int32_t timeLimitSeconds = 0;
  // Whole seconds; LocalWallClockSeconds when empty.
  std::function<std::int64_t()> clock;
  // Called once the child runs, before the wait for it: work meant to go
  // alongside the child starts there, so it does not hold up the child's
  // own start.
  std::function<void()> started;
};

struct ProcessOutcome {
  // False when the program could not be started; nothing else is set then.
  bool started = false;
  // The child outlived its limit and was killed; its exit code reads 0 then.
  bool timedOut = false;
  // The exit status; a child ended by a signal it did not get from us
  // reads 128 + the signal number, as shells report it.
  std::uint32_t exitCode = 0;
  // Everything read from the child's output before it ended, in order.
  std::vector<std::byte> output;
};

ProcessOutcome RunCapturedProcess(const ProcessRequest& request);

}  // namespace ostrel::platform
