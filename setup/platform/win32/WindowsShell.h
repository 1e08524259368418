#pragma once
// The shell's special folders and the logical drives, as the system reports
// them.

#include "setup/platform/Drives.h"
#include "setup/platform/ShellFolders.h"

namespace ostrel::platform::win32 {

class WindowsShellFolders final : public IShellFolders {
 public:
  // SHGetFolderPathW with no owner window, no token and flags 0.
  std::string GetFolderPath(int csidl) const override;
};

class WindowsDrives final : public IDrives {
 public:
  // "A:\" to "Z:\" for each bit of GetLogicalDrives.
  std::vector<std::string> LogicalDriveRoots() const override;
  // GetDriveTypeW; the enumeration's ordinals are its results.
  DriveType GetDriveType(const std::string& root) const override;
};

}  // namespace ostrel::platform::win32
