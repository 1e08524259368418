#include "setup/platform/Clock.h"

#include <ctime>

namespace ostrel::platform {

std::int64_t LocalWallClockSeconds() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (::localtime_r(&now, &local) == nullptr) return static_cast<std::int64_t>(now);
  // timegm reads the broken-down local time as UTC, which is the reading
  // wanted: the wall clock counted without its zone.
  return static_cast<std::int64_t>(::timegm(&local));
}

}  // namespace ostrel::platform
