#pragma once
// The local wall clock read as if it were UTC: whole seconds since
// 1970-01-01 00:00 of the local date and time, with no zone conversion. Both
// the runner's time limit and the report's time stamp count on it.

#include <cstdint>

namespace ostrel::platform {

std::int64_t LocalWallClockSeconds();

}  // namespace ostrel::platform
