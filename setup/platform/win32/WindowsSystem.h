#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

#include "setup/platform/System.h"

namespace ostrel::platform::win32 {

class WindowsSystem final : public ISystem {
 public:
  std::string ExecutablePath() const override;               // GetModuleFileNameW
  GuidBytes NewGuid() override;                               // CoCreateGuid
  [[noreturn]] void ExitProcess(unsigned exitCode) override;  // ExitProcess
};

// The GUID's 16 bytes in the order its text form shows them: the first three
// fields are little-endian numbers in memory, the last eight bytes a plain
// array.
GuidBytes GuidTextOrder(const GUID& guid);

// The security identifier of the user a process runs as, as bytes (a PSID
// points at their start), or nothing when its token cannot be read.
std::vector<std::byte> ProcessUserSid(HANDLE process);

}  // namespace ostrel::platform::win32
