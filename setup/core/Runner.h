#pragma once
// Runs a command line as a hidden child process, collects what it writes to
// standard output and standard error, and hands back the text and the exit
// code. Blocks the calling thread until the child has ended or was ended.

#include <cstdint>
#include <string>

namespace ostrel::setup {

// TimeLimitSeconds 0 or less waits for as long as the child runs; above 0 the
// child is ended once the local wall clock has moved on by more than that.
// Output is decoded once, as UTF-8 or in the system's narrow encoding, and is
// empty when it does not decode. A command that cannot be started gives an
// empty Output and leaves ExitCode as it was.
void RunCaptured(const std::string& CommandLine, std::uint32_t& ExitCode,
                 const std::string& WorkingFolder, bool Utf8Output,
                 std::int32_t TimeLimitSeconds, std::string& Output);

}  // namespace ostrel::setup
