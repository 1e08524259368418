#pragma once
// Mount points as drives. The mount holding the user's home folder is always
// the first drive and always fixed, whatever its file system (or "/" when no
// mount is seen to hold it); the mounts above it are left out, so that one
// folder never shows up twice in a list of "<drive>/Ostrel" targets. Any other
// mount counts as a fixed drive when it holds a local disk file system on a
// non-removable device that the user can write to; network, RAM and optical
// mounts keep their own drive types and pseudo file systems are no drives.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "setup/platform/Drives.h"

namespace ostrel::platform::posix {

// One line of /proc/self/mountinfo, with the octal escapes decoded.
struct MountEntry {
  std::string majorMinor;  // "8:1"
  std::string mountPoint;
  std::string fsType;
  bool readOnly = false;
};

// Lines that do not have the mountinfo shape are skipped.
std::vector<MountEntry> ParseMountInfo(std::string_view text);

// What the drive rule needs to ask the system about a mount.
class IMountProbe {
 public:
  virtual ~IMountProbe() = default;
  virtual bool IsRemovableDevice(const std::string& majorMinor) const = 0;
  virtual bool IsWritableFolder(const std::string& path) const = 0;
};

struct MountDrive {
  std::string root;
  DriveType type = DriveType::dtUnknown;
};

// The drive list for a mount table and the user's home folder (an absolute
// path without symbolic links; it need not exist yet).
std::vector<MountDrive> DrivesFromMounts(const std::vector<MountEntry>& mounts, std::string_view homeFolder,
                                         const IMountProbe& probe);

class MountDrives final : public IDrives {
 public:
  using TextSource = std::function<std::string()>;

  // Reads the mount table through readMountTable on every query, as drive
  // lists are live on every platform.
  MountDrives(TextSource readMountTable, std::string homeFolder, std::unique_ptr<IMountProbe> probe);

  std::vector<std::string> LogicalDriveRoots() const override;
  DriveType GetDriveType(const std::string& root) const override;

 private:
  std::vector<MountDrive> Current() const;

  TextSource readMountTable_;
  std::string homeFolder_;
  std::unique_ptr<IMountProbe> probe_;
};

// The system's mount table, sysfs removable flags and access(2).
std::unique_ptr<IDrives> CreateSystemDrives(const std::string& homeFolder);

}  // namespace ostrel::platform::posix
