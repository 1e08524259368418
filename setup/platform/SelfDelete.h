#pragma once
// How the uninstaller's own file goes away. Windows cannot delete a running
// program, so a hidden batch file retries until the process has ended and
// then deletes itself; POSIX unlinks the running file at once.

#include <string>
#include <string_view>

namespace ostrel::platform {

// The batch file's name in the temporary folder.
inline constexpr std::string_view kSelfDeleteBatchName = "_deleteme.bat";

// The batch text for the uninstaller at `uninstallerPath`, UTF-8, lines
// separated by CR LF and no line end after the last:
//   :try / del "P" / if exist "P" goto try / del %0
// A '%' in the path is doubled: the command interpreter would otherwise read
// it as the start of a variable and delete some other name.
std::string SelfDeleteBatchText(std::string_view uninstallerPath);

// Arranges for the file at `uninstallerPath` to be removed once it is no
// longer needed. Only the file this process runs from is removed; anything
// else standing at that path stays. Never throws.
void ScheduleSelfDelete(const std::string& uninstallerPath);

}  // namespace ostrel::platform
