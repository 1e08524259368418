#pragma once
// Process-level services: the program's own path, new GUIDs, and ending the
// process at once.

#include <array>
#include <cstdint>
#include <string>

namespace ostrel::platform {

// The 16 bytes of a GUID in the order its text form shows them.
using GuidBytes = std::array<std::uint8_t, 16>;

class ISystem {
 public:
  virtual ~ISystem() = default;

  // Full path of the running executable.
  virtual std::string ExecutablePath() const = 0;

  // A new random (version 4) GUID.
  virtual GuidBytes NewGuid() = 0;

  // Ends the process with the exit code, without unwinding, flushing or
  // waiting for other threads.
  [[noreturn]] virtual void ExitProcess(unsigned exitCode) = 0;
};

// The real user id of this process on POSIX, which stopping by name names so
// that it reaches no other user's processes; 0 on Windows, whose tool needs
// none.
std::uint32_t CurrentUserId();

// The account this process runs as, "DOMAIN\user", on Windows, which
// stopping by name names for the same reason; empty on POSIX, or when the
// system cannot say.
std::string CurrentUserAccount();

}  // namespace ostrel::platform
