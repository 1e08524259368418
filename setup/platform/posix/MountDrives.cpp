#include "setup/platform/posix/MountDrives.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>

#include "setup/platform/PathStyle.h"

namespace ostrel::platform::posix {

namespace {

constexpr std::string_view kLocalDiskTypes[] = {
    "ext2",    "ext3", "ext4",   "xfs",   "btrfs",   "f2fs",     "jfs",     "reiserfs",
    "reiser4", "zfs",  "nilfs2", "hfs",   "hfsplus", "apfs",     "ntfs",    "ntfs3",
    "fuseblk", "vfat", "msdos",  "exfat", "ufs",     "bcachefs", "overlay", "minix",
};
constexpr std::string_view kRemoteTypes[] = {
    "nfs",       "nfs4", "cifs",     "smb3",       "smbfs",       "ncpfs",          "afs",    "ceph",
    "glusterfs", "9p",   "virtiofs", "fuse.sshfs", "fuse.rclone", "fuse.glusterfs", "lustre",
};
constexpr std::string_view kRamTypes[] = {"tmpfs", "ramfs"};
constexpr std::string_view kOpticalTypes[] = {"iso9660", "udf"};

template <std::size_t N>
bool OneOf(const std::string_view (&set)[N], std::string_view value) {
  return std::find(std::begin(set), std::end(set), value) != std::end(set);
}

// Splits on single spaces, as the kernel writes the fields.
std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (start <= line.size()) {
    const std::size_t end = line.find(' ', start);
    const std::size_t stop = end == std::string_view::npos ? line.size() : end;
    if (stop > start) fields.push_back(line.substr(start, stop - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return fields;
}

std::string DecodeOctalEscapes(std::string_view field) {
  const auto digit = [](char c) { return c >= '0' && c <= '7'; };
  std::string out;
  out.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() && digit(field[i + 1]) && digit(field[i + 2]) && digit(field[i + 3])) {
      const int value = (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
      if (value <= 0xFF) {
        out += static_cast<char>(value);
        i += 3;
        continue;
      }
    }
    out += field[i];
  }
  return out;
}

bool HasOption(std::string_view options, std::string_view option) {
  while (!options.empty()) {
    const std::size_t comma = options.find(',');
    if (options.substr(0, comma) == option) return true;
    if (comma == std::string_view::npos) break;
    options.remove_prefix(comma + 1);
  }
  return false;
}

DriveType TypeOfFileSystem(const MountEntry& mount, const IMountProbe& probe) {
  if (OneOf(kRemoteTypes, mount.fsType)) return DriveType::dtRemote;
  if (OneOf(kRamTypes, mount.fsType)) return DriveType::dtRamDisk;
  if (OneOf(kOpticalTypes, mount.fsType)) return DriveType::dtCdRom;
  if (OneOf(kLocalDiskTypes, mount.fsType)) {
    return probe.IsRemovableDevice(mount.majorMinor) ? DriveType::dtRemovable : DriveType::dtFixed;
  }
  return DriveType::dtUnknown;
}

class SystemMountProbe final : public IMountProbe {
 public:
  bool IsRemovableDevice(const std::string& majorMinor) const override {
    // A partition's own folder has no flag; the whole disk is its parent.
    const std::string base = "/sys/dev/block/" + majorMinor;
    for (const std::string& path : {base + "/removable", base + "/../removable"}) {
      std::ifstream in(path);
      char flag = 0;
      if (in.get(flag)) return flag == '1';
    }
    return false;
  }

  bool IsWritableFolder(const std::string& path) const override {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && ::access(path.c_str(), W_OK) == 0;
  }
};

// The home folder with symbolic links of its existing part resolved, so that
// it can be matched against mount points.
std::string CanonicalHome(const std::string& home) {
  std::string existing = home;
  std::string rest;
  while (true) {
    char resolved[PATH_MAX];
    if (::realpath(existing.c_str(), resolved) != nullptr) {
      return rest.empty() ? std::string(resolved) : JoinPath(resolved, rest, PathStyle::Posix);
    }
    const std::size_t slash = existing.rfind('/');
    if (slash == std::string::npos || existing == "/") return home;
    rest = rest.empty() ? existing.substr(slash + 1) : existing.substr(slash + 1) + "/" + rest;
    existing = slash == 0 ? std::string("/") : existing.substr(0, slash);
  }
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
  std::vector<MountEntry> mounts;
  while (!text.empty()) {
    const std::size_t eol = text.find('\n');
    const std::string_view line = text.substr(0, eol);
    text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);

    // id parent major:minor root mount-point options [optional…] - fstype source super-options
    const std::vector<std::string_view> fields = Fields(line);
    const auto dash = std::find(fields.begin(), fields.end(), std::string_view("-"));
    if (fields.size() < 7 || dash - fields.begin() < 6 || fields.end() - dash < 2) continue;
    if (fields[2].find(':') == std::string_view::npos || !fields[4].starts_with('/')) continue;

    MountEntry entry;
    entry.majorMinor = std::string(fields[2]);
    entry.mountPoint = DecodeOctalEscapes(fields[4]);
    entry.readOnly = HasOption(fields[5], "ro");
    entry.fsType = DecodeOctalEscapes(*(dash + 1));
    mounts.push_back(std::move(entry));
  }
  return mounts;
}

std::vector<MountDrive> DrivesFromMounts(const std::vector<MountEntry>& mounts, std::string_view homeFolder,
                                         const IMountProbe& probe) {
  // A later mount on the same point hides the earlier one.
  std::vector<const MountEntry*> visible;
  for (const MountEntry& mount : mounts) {
    std::erase_if(visible, [&](const MountEntry* seen) { return seen->mountPoint == mount.mountPoint; });
    visible.push_back(&mount);
  }

  const MountEntry* homeMount = nullptr;
  for (const MountEntry* mount : visible) {
    if (PathIsUnderRoot(homeFolder, mount->mountPoint, PathStyle::Posix) &&
        (homeMount == nullptr || mount->mountPoint.size() > homeMount->mountPoint.size())) {
      homeMount = mount;
    }
  }

  // The file system that holds the home folder is always offered, whatever
  // its type (tmpfs, NFS, a FUSE mount) and even when no mount is seen to
  // hold it: the user's own folder is where a per-user install belongs.
  std::vector<MountDrive> drives{{homeMount != nullptr ? homeMount->mountPoint : "/", DriveType::dtFixed}};
  for (const MountEntry* mount : visible) {
    if (mount == homeMount) continue;
    if (homeMount != nullptr && PathIsUnderRoot(homeMount->mountPoint, mount->mountPoint, PathStyle::Posix)) continue;
    if (homeMount == nullptr && mount->mountPoint == "/") continue;
    const DriveType type = TypeOfFileSystem(*mount, probe);
    if (type == DriveType::dtUnknown) continue;
    // Any other mount must be writable at its root to be of use.
    if (type == DriveType::dtFixed && (mount->readOnly || !probe.IsWritableFolder(mount->mountPoint))) continue;
    drives.push_back(MountDrive{mount->mountPoint, type});
  }
  return drives;
}

MountDrives::MountDrives(TextSource readMountTable, std::string homeFolder, std::unique_ptr<IMountProbe> probe)
    : readMountTable_(std::move(readMountTable)), homeFolder_(std::move(homeFolder)), probe_(std::move(probe)) {}

std::vector<MountDrive> MountDrives::Current() const {
  return DrivesFromMounts(ParseMountInfo(readMountTable_()), homeFolder_, *probe_);
}

std::vector<std::string> MountDrives::LogicalDriveRoots() const {
  std::vector<std::string> roots;
  for (MountDrive& drive : Current()) roots.push_back(std::move(drive.root));
  return roots;
}

DriveType MountDrives::GetDriveType(const std::string& root) const {
  for (const MountDrive& drive : Current()) {
    if (drive.root == root) return drive.type;
  }
  return DriveType::dtNoRootDir;
}

std::unique_ptr<IDrives> CreateSystemDrives(const std::string& homeFolder) {
  return std::make_unique<MountDrives>([] { return ReadFile("/proc/self/mountinfo"); }, CanonicalHome(homeFolder),
                                       std::make_unique<SystemMountProbe>());
}

}  // namespace ostrel::platform::posix
