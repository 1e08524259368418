// Mount tables and user-dirs files are read from outside the program; the
// drive rule must hold for any text: no crash, the first drive always a fixed
// one for the home folder, every other root a parsed mount point (the first
// may be "/" when no mount holds the home folder), no root listed twice, and
// never a root above the home mount.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

#include "setup/platform/PathStyle.h"
#include "setup/platform/posix/MountDrives.h"
#include "setup/platform/posix/UserEnvironment.h"

namespace {

class HalfWritableProbe final : public ostrel::platform::posix::IMountProbe {
 public:
  bool IsRemovableDevice(const std::string& majorMinor) const override { return majorMinor.size() % 3 == 0; }
  bool IsWritableFolder(const std::string& path) const override { return path.size() % 2 == 0; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace ostrel::platform;
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  // The first line doubles as the home folder.
  const std::string home(text.substr(0, text.find('\n')));
  const auto mounts = posix::ParseMountInfo(text);
  const auto drives = posix::DrivesFromMounts(mounts, home, HalfWritableProbe());

  std::set<std::string> mountPoints;
  for (const auto& m : mounts) mountPoints.insert(m.mountPoint);
  if (drives.empty() || drives.front().type != DriveType::dtFixed) std::abort();
  std::set<std::string> roots;
  for (const auto& d : drives) {
    const bool standsForTheHome = &d == &drives.front() && d.root == "/";
    if ((!mountPoints.count(d.root) && !standsForTheHome) || !roots.insert(d.root).second) std::abort();
  }
  if (!drives.empty() && PathIsUnderRoot(home, drives.front().root, PathStyle::Posix)) {
    for (std::size_t i = 1; i < drives.size(); ++i) {
      if (PathIsUnderRoot(drives.front().root, drives[i].root, PathStyle::Posix)) std::abort();
    }
  }

  const std::string desktop = posix::DesktopFolderFromUserDirs(text, "/home/u");
  if (desktop.empty() || desktop.front() != '/') std::abort();
  return 0;
}
