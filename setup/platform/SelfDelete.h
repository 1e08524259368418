#pragma once
// How the uninstaller's own file goes away. Windows cannot delete a running
// program, so a hidden batch file retries until the process has ended and
// then deletes itself; POSIX unlinks the running file at once.

#include <string>
#include <string_view>

namespace ostrel::platform {

// The batch file's name in the temporary folder starts with this and goes on
// with a random part, so nobody can have put a file of that name there first.
inline constexpr std::string_view kSelfDeleteBatchPrefix = "_deleteme";

// The environment variable through which the batch file gets the
// uninstaller's path. The command interpreter holds its environment as
// UTF-16, so any path reaches it whole, whatever the console's code page;
// a value is never expanded again, so '%', '!', '&' and '^' in the path mean
// nothing to it; and the file itself is plain ASCII.
inline constexpr std::string_view kSelfDeleteVariable = "OSTREL_SELF_DELETE";

// How often the batch file tries to delete the uninstaller, about a second
// apart, before it gives up: a file that can never be deleted must not keep
// a hidden interpreter spinning for ever.
inline constexpr int kSelfDeleteTries = 120;

// The batch text, lines separated by CR LF and no line end after the last:
// it deletes the file the variable names until it is gone or the tries are
// used up, then deletes itself.
std::string SelfDeleteBatchText();

// Arranges for the file at `uninstallerPath` to be removed once it is no
// longer needed. Only the file this process runs from is removed; anything
// else standing at that path stays. Never throws.
void ScheduleSelfDelete(const std::string& uninstallerPath);

}  // namespace ostrel::platform
