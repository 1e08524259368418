#include "setup/platform/SelfDelete.h"

#include <sys/stat.h>
#include <unistd.h>

namespace ostrel::platform {

void ScheduleSelfDelete(const std::string& uninstallerPath) {
  // The path was read before; a file put there since (a newer uninstaller
  // copied in by an update) must survive, so only the running file goes.
  struct stat running {};
  struct stat atPath {};
  if (uninstallerPath.empty() || ::stat("/proc/self/exe", &running) != 0 ||
      ::lstat(uninstallerPath.c_str(), &atPath) != 0) {
    return;
  }
  if (running.st_dev != atPath.st_dev || running.st_ino != atPath.st_ino) return;
  ::unlink(uninstallerPath.c_str());
}

}  // namespace ostrel::platform
