#pragma once
// Runs a command line as a hidden child process, collects what it writes to
// standard output and standard error, and hands back the text and the exit
// code. Blocks the calling thread until the child has ended or was ended.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ostrel::setup {

// TimeLimitSeconds 0 or less waits for as long as the child runs; above 0 the
// child is ended once the local wall clock has moved on by more than that.
// Output is decoded once, as UTF-8 or in the system's narrow encoding, and is
// empty when it does not decode. A command that cannot be started gives an
// empty Output and leaves ExitCode as it was.
void RunCaptured(const std::string& CommandLine, std::uint32_t& ExitCode,
                 const std::string& WorkingFolder, bool Utf8Output,
                 std::int32_t TimeLimitSeconds, std::string& Output);

// A child the setup starts: its command line as the Windows rules spell it,
// and the words that line stands for. Where the system takes an argument
// vector (POSIX) the words go as they are, so a path the line cannot spell
// (one holding a double quote) still arrives whole; where it takes a command
// line (Windows) the line goes.
struct ChildCommand {
  std::string line;
  std::vector<std::string> words;
};

// How a child run ended.
struct ChildEnd {
  bool started = false;   // false: the program could not be started at all
  bool timedOut = false;  // it outlived its time limit and was ended
  std::uint32_t exitCode = 0;
};

// RunCaptured for a ChildCommand, for callers that need to know how the child
// ended; its output is dropped. `started` runs once the child does.
ChildEnd RunChild(const ChildCommand& command, const std::string& workingFolder, std::int32_t timeLimitSeconds,
                  const std::function<void()>& started = {});

}  // namespace ostrel::setup
