#include "setup/core/Runner.h"

#include <optional>
#include <span>

#include "setup/core/Utf8.h"
#include "setup/platform/ProcessRunner.h"
#include "setup/platform/TextEncoding.h"

namespace ostrel::setup {
namespace {

std::optional<std::string> Decode(std::span<const std::byte> bytes, bool utf8) {
  if (!utf8) return platform::NarrowToUtf8(bytes);
  std::string text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (!IsValidUtf8(text)) return std::nullopt;
  return text;
}

}  // namespace

void RunCaptured(const std::string& CommandLine, std::uint32_t& ExitCode,
                 const std::string& WorkingFolder, bool Utf8Output,
                 std::int32_t TimeLimitSeconds, std::string& Output) {
  platform::ProcessRequest request;
  request.commandLine = CommandLine;
  request.workingFolder = WorkingFolder;
  request.timeLimitSeconds = TimeLimitSeconds;
  const platform::ProcessOutcome outcome = platform::RunCapturedProcess(request);
  if (!outcome.started) {
    Output.clear();
    return;
  }
  ExitCode = outcome.exitCode;
  Output = Decode(outcome.output, Utf8Output).value_or(std::string());
}

ChildEnd RunChild(const ChildCommand& command, const std::string& workingFolder, std::int32_t timeLimitSeconds,
                  const std::function<void()>& started) {
  platform::ProcessRequest request;
  request.commandLine = command.line;
  request.arguments = command.words;
  request.workingFolder = workingFolder;
  request.timeLimitSeconds = timeLimitSeconds;
  request.started = started;
  const platform::ProcessOutcome outcome = platform::RunCapturedProcess(request);
  return ChildEnd{outcome.started, outcome.timedOut, outcome.exitCode};
}

}  // namespace ostrel::setup
