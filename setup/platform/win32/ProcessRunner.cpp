#include "setup/platform/ProcessRunner.h"

#include <windows.h>

#include <array>
#include <memory>
#include <vector>

#include "setup/platform/Clock.h"
#include "setup/platform/win32/WideText.h"

namespace ostrel::platform {
namespace {

using win32::ToWide;
using win32::UniqueHandle;

// The child inherits exactly the handles it is handed, nothing else the
// process holds inheritable at that moment: a pipe another thread is making
// for its own child would otherwise stay open in this one, and that other
// runner would not see its pipe's end until this child is gone too.
class InheritedHandles {
 public:
  explicit InheritedHandles(std::vector<HANDLE> handles) : handles_(std::move(handles)) {
    SIZE_T size = 0;
    ::InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    storage_ = std::make_unique<std::byte[]>(size);
    list_ = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.get());
    ok_ = ::InitializeProcThreadAttributeList(list_, 1, 0, &size) &&
          ::UpdateProcThreadAttribute(list_, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles_.data(),
                                      handles_.size() * sizeof(HANDLE), nullptr, nullptr);
  }
  InheritedHandles(const InheritedHandles&) = delete;
  InheritedHandles& operator=(const InheritedHandles&) = delete;
  ~InheritedHandles() {
    if (list_ != nullptr) ::DeleteProcThreadAttributeList(list_);
  }
  bool Ok() const { return ok_; }
  LPPROC_THREAD_ATTRIBUTE_LIST Get() const { return list_; }

 private:
  std::vector<HANDLE> handles_;
  std::unique_ptr<std::byte[]> storage_;
  LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
  bool ok_ = false;
};

// An inheritable copy of the caller's standard input, or nothing when it has
// none worth passing on.
UniqueHandle InheritableStandardInput() {
  const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
  if (input == nullptr || input == INVALID_HANDLE_VALUE) return {};
  HANDLE copy = nullptr;
  if (!::DuplicateHandle(::GetCurrentProcess(), input, ::GetCurrentProcess(), &copy, 0, TRUE, DUPLICATE_SAME_ACCESS)) {
    return {};
  }
  return UniqueHandle(copy);
}

// Reads what the pipe holds now, in pieces of at most one buffer. Reading
// only what the peek reported never blocks, so a child that keeps the pipe
// open but is silent cannot hold the runner past its limit.
void ReadWaiting(HANDLE pipe, std::vector<std::byte>& output) {
  std::array<std::byte, kProcessReadChunk> buffer{};
  DWORD waiting = 0;
  while (::PeekNamedPipe(pipe, nullptr, 0, nullptr, &waiting, nullptr) && waiting > 0) {
    const DWORD want = waiting < buffer.size() ? waiting : static_cast<DWORD>(buffer.size());
    DWORD got = 0;
    if (!::ReadFile(pipe, buffer.data(), want, &got, nullptr) || got == 0) return;
    output.insert(output.end(), buffer.begin(), buffer.begin() + got);
  }
}

}  // namespace

ProcessOutcome RunCapturedProcess(const ProcessRequest& request) {
  ProcessOutcome outcome;
  const auto commandLine = ToWide(request.commandLine);
  const auto workingFolder = ToWide(request.workingFolder);
  if (!commandLine || commandLine->empty() || !workingFolder) return outcome;

  SECURITY_ATTRIBUTES inheritable{};
  inheritable.nLength = sizeof inheritable;
  inheritable.bInheritHandle = TRUE;
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!::CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) return outcome;
  UniqueHandle pipeRead(readEnd);
  UniqueHandle pipeWrite(writeEnd);
  // The parent's read end stays here.
  ::SetHandleInformation(pipeRead.Get(), HANDLE_FLAG_INHERIT, 0);

  const UniqueHandle input = InheritableStandardInput();
  std::vector<HANDLE> handed{pipeWrite.Get()};
  if (input.Valid()) handed.push_back(input.Get());
  const InheritedHandles inherited(handed);
  if (!inherited.Ok()) return outcome;

  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = sizeof startup;
  startup.StartupInfo.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
  startup.StartupInfo.wShowWindow = SW_HIDE;
  startup.StartupInfo.hStdInput = input.Valid() ? input.Get() : nullptr;
  startup.StartupInfo.hStdOutput = pipeWrite.Get();
  startup.StartupInfo.hStdError = pipeWrite.Get();
  startup.lpAttributeList = inherited.Get();

  // The system may write into the command line it is given.
  std::vector<wchar_t> line(commandLine->begin(), commandLine->end());
  line.push_back(L'\0');
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE,
                        CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS | EXTENDED_STARTUPINFO_PRESENT, nullptr,
                        workingFolder->empty() ? nullptr : workingFolder->c_str(), &startup.StartupInfo,
                        &process)) {
    return outcome;
  }
  outcome.started = true;
  const UniqueHandle child(process.hProcess);
  const UniqueHandle thread(process.hThread);
  // Only the child's copy of the write end is left, so the pipe ends with it.
  pipeWrite.Reset();
  if (request.started) request.started();

  const std::function<std::int64_t()> clock =
      request.clock ? request.clock : std::function<std::int64_t()>(LocalWallClockSeconds);
  const std::int64_t start = clock();
  for (;;) {
    const DWORD waited = ::WaitForSingleObject(child.Get(), static_cast<DWORD>(kProcessWaitStep.count()));
    ReadWaiting(pipeRead.Get(), outcome.output);
    if (request.timeLimitSeconds > 0 && clock() - start > request.timeLimitSeconds) {
      ::TerminateProcess(child.Get(), 0);
      ::WaitForSingleObject(child.Get(), INFINITE);
      outcome.timedOut = true;
      break;
    }
    if (waited != WAIT_TIMEOUT) break;
  }

  DWORD exitCode = 0;
  if (!outcome.timedOut && ::GetExitCodeProcess(child.Get(), &exitCode)) outcome.exitCode = exitCode;
  return outcome;
}

}  // namespace ostrel::platform
