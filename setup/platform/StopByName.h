#pragma once
// The command that stops every process of the user running a program of the
// given name, forcibly, as the system's own tool does it.

#include <string>
#include <string_view>

#include "setup/platform/PathStyle.h"

namespace ostrel::platform {

// "taskkill.exe /f /im Ostrel.exe" on Windows, "pkill -KILL -x Ostrel" on
// POSIX. programBase is a plain program name without the executable suffix.
std::string StopByNameCommandLine(std::string_view programBase, PathStyle style);

}  // namespace ostrel::platform
