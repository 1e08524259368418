#include "setup/platform/Clock.h"

#include <windows.h>

namespace ostrel::platform {

std::int64_t LocalWallClockSeconds() {
  // The local date and time converted as if they were UTC: the wall clock
  // counted without its zone.
  SYSTEMTIME local{};
  ::GetLocalTime(&local);
  FILETIME asFileTime{};
  if (!::SystemTimeToFileTime(&local, &asFileTime)) return 0;
  const std::uint64_t ticks = (static_cast<std::uint64_t>(asFileTime.dwHighDateTime) << 32) | asFileTime.dwLowDateTime;
  // 100-nanosecond ticks since 1601-01-01; 11644473600 s lie before 1970.
  return static_cast<std::int64_t>(ticks / 10000000u) - 11644473600;
}

}  // namespace ostrel::platform
