#pragma once
// Opens a file with the shell, one to one with ShellExecuteW and the "open"
// verb: no parameters, no working folder, shown normally, not waited for. On
// POSIX the program is started detached, in a session of its own.

#include <string>

namespace ostrel::platform {

// False when nothing could be started.
bool ShellOpen(const std::string& path);

}  // namespace ostrel::platform
