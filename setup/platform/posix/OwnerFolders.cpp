#include "setup/platform/posix/OwnerFolders.h"

#include <sys/stat.h>

#include <cerrno>

namespace ostrel::platform::posix {

void MakeOwnerFolders(const std::string& path) {
  for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    const std::string prefix = path.substr(0, slash);
    if (::mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) return;
    if (slash == std::string::npos) return;
  }
}

}  // namespace ostrel::platform::posix
