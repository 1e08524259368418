#pragma once
// The command that stops every process of this user running a program of the
// given name, forcibly, as the system's own tool does it. Processes of other
// users are never reached: on Windows a per-user run cannot end them, on
// POSIX the command names this user.

#include <string>
#include <string_view>

#include "setup/platform/PathStyle.h"

namespace ostrel::platform {

// "taskkill.exe /f /fi "USERNAME eq DOMAIN\user" /im Ostrel.exe" on
// Windows with this process's account (CurrentUserAccount; without one the
// filter is left out, and a run without elevation still reaches no other
// user's processes), "pkill -KILL -x -U <uid> Ostrel" on POSIX with this
// process's real user id (CurrentUserId).
// programBase is a plain program name without the executable suffix.
std::string StopByNameCommandLine(std::string_view programBase, PathStyle style);

}  // namespace ostrel::platform
