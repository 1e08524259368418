#pragma once
// Logical drives and their types, one to one with GetLogicalDriveStringsW and
// GetDriveTypeW. On POSIX a "drive" is a mount point.

#include <cstdint>
#include <string>
#include <vector>

namespace ostrel::platform {

// Ordinals are the DRIVE_* values.
enum class DriveType : std::uint8_t {
  dtUnknown,    // DRIVE_UNKNOWN
  dtNoRootDir,  // DRIVE_NO_ROOT_DIR
  dtRemovable,  // DRIVE_REMOVABLE
  dtFixed,      // DRIVE_FIXED
  dtRemote,     // DRIVE_REMOTE
  dtCdRom,      // DRIVE_CDROM
  dtRamDisk,    // DRIVE_RAMDISK
};

class IDrives {
 public:
  virtual ~IDrives() = default;

  // Drive roots in the system's order ("C:\", "D:\" / "/home", "/data").
  virtual std::vector<std::string> LogicalDriveRoots() const = 0;

  virtual DriveType GetDriveType(const std::string& root) const = 0;
};

}  // namespace ostrel::platform
