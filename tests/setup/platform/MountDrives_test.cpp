#include "setup/platform/posix/MountDrives.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace ostrel::platform::posix {
namespace {

class FakeProbe final : public IMountProbe {
 public:
  std::set<std::string> removable;
  std::set<std::string> readOnlyFolders;
  bool IsRemovableDevice(const std::string& majorMinor) const override { return removable.count(majorMinor) > 0; }
  bool IsWritableFolder(const std::string& path) const override { return readOnlyFolders.count(path) == 0; }
};

// A desktop machine: root and home on separate disks, a data disk, a USB
// stick, a DVD, a network share, RAM disks and the usual pseudo file systems.
constexpr const char* kDesktop =
    "22 1 0:21 / /proc rw,nosuid,nodev,noexec,relatime shared:12 - proc proc rw\n"
    "23 1 0:22 / /sys rw,nosuid,nodev,noexec,relatime shared:7 - sysfs sysfs rw\n"
    "1 0 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw\n"
    "24 1 0:5 / /dev rw,nosuid shared:2 - devtmpfs udev rw,size=8G\n"
    "25 24 0:23 / /dev/shm rw,nosuid,nodev shared:3 - tmpfs tmpfs rw\n"
    "26 1 8:1 / /boot/efi rw,relatime shared:4 - vfat /dev/sda1 rw\n"
    "27 1 259:3 / /home rw,relatime shared:5 - btrfs /dev/nvme0n1p3 rw\n"
    "28 1 8:17 / /srv/data\\040disk rw,relatime shared:6 - xfs /dev/sdb1 rw\n"
    "29 1 8:33 / /media/u/STICK rw,nosuid,nodev shared:8 - vfat /dev/sdc1 rw\n"
    "30 1 11:0 / /media/u/DVD ro,nosuid,nodev shared:9 - iso9660 /dev/sr0 ro\n"
    "31 1 0:50 / /mnt/share rw,relatime shared:10 - nfs4 server:/export rw\n"
    "32 1 0:51 / /tmp rw,nosuid,nodev shared:11 - tmpfs tmpfs rw\n"
    "33 1 7:0 / /snap/core/1 ro,nodev,relatime shared:13 - squashfs /dev/loop0 ro\n"
    "34 1 8:49 / /mnt/backup ro,relatime shared:14 - ext4 /dev/sdd1 ro\n"
    "garbage line without the separator\n"
    "35 1 8:65 / relative rw - ext4 /dev/sde1 rw\n";

std::vector<std::string> Roots(const std::vector<MountDrive>& drives) {
  std::vector<std::string> roots;
  for (const MountDrive& d : drives) roots.push_back(d.root);
  return roots;
}

TEST(MountDrives, ParsesMountInfoAndSkipsMalformedLines) {
  const auto mounts = ParseMountInfo(kDesktop);
  ASSERT_EQ(mounts.size(), 14u);
  EXPECT_EQ(mounts[2].mountPoint, "/");
  EXPECT_EQ(mounts[2].fsType, "ext4");
  EXPECT_EQ(mounts[2].majorMinor, "8:2");
  EXPECT_EQ(mounts[7].mountPoint, "/srv/data disk");
  EXPECT_TRUE(mounts[9].readOnly);
  EXPECT_FALSE(mounts[8].readOnly);
}

TEST(MountDrives, HomeMountComesFirstAndItsAncestorsAreLeftOut) {
  FakeProbe probe;
  probe.removable = {"8:33"};
  probe.readOnlyFolders = {"/boot/efi"};
  const auto drives = DrivesFromMounts(ParseMountInfo(kDesktop), "/home/u/.local/share", probe);

  std::vector<std::string> fixed;
  for (const MountDrive& d : drives) {
    if (d.type == DriveType::dtFixed) fixed.push_back(d.root);
  }
  EXPECT_EQ(fixed, (std::vector<std::string>{"/home", "/srv/data disk"}));

  const auto typeOf = [&](const std::string& root) {
    for (const MountDrive& d : drives) {
      if (d.root == root) return d.type;
    }
    return DriveType::dtNoRootDir;
  };
  EXPECT_EQ(typeOf("/"), DriveType::dtNoRootDir) << "the root holds /home and would repeat it";
  EXPECT_EQ(typeOf("/media/u/STICK"), DriveType::dtRemovable);
  EXPECT_EQ(typeOf("/media/u/DVD"), DriveType::dtCdRom);
  EXPECT_EQ(typeOf("/mnt/share"), DriveType::dtRemote);
  EXPECT_EQ(typeOf("/tmp"), DriveType::dtRamDisk);
  EXPECT_EQ(typeOf("/proc"), DriveType::dtNoRootDir);
  EXPECT_EQ(typeOf("/snap/core/1"), DriveType::dtNoRootDir);
  EXPECT_EQ(typeOf("/mnt/backup"), DriveType::dtNoRootDir) << "mounted read-only";
  EXPECT_EQ(typeOf("/boot/efi"), DriveType::dtNoRootDir) << "not writable by the user";
}

TEST(MountDrives, HomeOnTheRootFileSystemKeepsTheRootEvenWhenItIsNotWritable) {
  FakeProbe probe;
  probe.readOnlyFolders = {"/"};
  const std::string table =
      "1 0 8:2 / / rw,relatime - ext4 /dev/sda2 rw\n"
      "2 1 8:17 / /data rw,relatime - ext4 /dev/sdb1 rw\n";
  EXPECT_EQ(Roots(DrivesFromMounts(ParseMountInfo(table), "/root/.local/share", probe)),
            (std::vector<std::string>{"/", "/data"}));
}

// Wherever the home folder lives, its file system is offered first and as a
// fixed drive; without that a home on tmpfs or NFS left no target at all.
TEST(MountDrives, TheHomeFoldersFileSystemIsAlwaysAFixedDrive) {
  const struct {
    const char* name;
    std::string table;
    const char* home;
    std::vector<std::string> roots;
  } cases[] = {
      {"tmpfs", "1 0 8:2 / / ro - ext4 /dev/sda2 ro\n2 1 0:40 / /home rw - tmpfs tmpfs rw\n", "/home/u/.local/share",
       {"/home"}},
      {"nfs", "1 0 8:2 / / rw - ext4 /dev/sda2 rw\n2 1 0:41 / /home rw - nfs4 srv:/home rw\n", "/home/u/.local/share",
       {"/home"}},
      {"unknown type", "1 0 0:42 / / rw - fuse.mystery m rw\n", "/home/u/.local/share", {"/"}},
      {"removable", "1 0 8:33 / / rw - ext4 /dev/sdc1 rw\n", "/home/u/.local/share", {"/"}},
      {"read-only", "1 0 8:2 / / ro - ext4 /dev/sda2 ro\n2 1 8:17 / /data rw - ext4 /dev/sdb1 rw\n",
       "/home/u/.local/share", {"/", "/data"}},
      {"no table", "", "/home/u/.local/share", {"/"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeProbe probe;
    probe.removable = {"8:33"};
    const auto drives = DrivesFromMounts(ParseMountInfo(c.table), c.home, probe);
    EXPECT_EQ(Roots(drives), c.roots);
    ASSERT_FALSE(drives.empty());
    EXPECT_EQ(drives[0].type, DriveType::dtFixed);
  }
}

TEST(MountDrives, LaterMountOnTheSamePointHidesTheEarlierOne) {
  FakeProbe probe;
  const std::string table =
      "1 0 8:2 / / rw - ext4 /dev/sda2 rw\n"
      "2 1 8:17 / /data rw - ext4 /dev/sdb1 rw\n"
      "3 2 0:40 / /data rw - tmpfs tmpfs rw\n";
  const auto drives = DrivesFromMounts(ParseMountInfo(table), "/home/u/.local/share", probe);
  ASSERT_EQ(drives.size(), 2u);
  EXPECT_EQ(drives[1].root, "/data");
  EXPECT_EQ(drives[1].type, DriveType::dtRamDisk);
}

TEST(MountDrives, AnswersThroughTheDriveInterfaceFromTheInjectedTable) {
  int reads = 0;
  MountDrives drives(
      [&] {
        ++reads;
        return std::string("1 0 8:2 / / rw - ext4 /dev/sda2 rw\n2 1 0:9 / /run rw - tmpfs tmpfs rw\n");
      },
      "/home/u/.local/share", std::make_unique<FakeProbe>());
  EXPECT_EQ(drives.LogicalDriveRoots(), (std::vector<std::string>{"/", "/run"}));
  EXPECT_EQ(drives.GetDriveType("/"), DriveType::dtFixed);
  EXPECT_EQ(drives.GetDriveType("/run"), DriveType::dtRamDisk);
  EXPECT_EQ(drives.GetDriveType("/nowhere"), DriveType::dtNoRootDir);
  EXPECT_EQ(reads, 4) << "the table is read afresh on every query";
}

}  // namespace
}  // namespace ostrel::platform::posix
