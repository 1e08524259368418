#include "setup/platform/posix/UserShellFolders.h"

#include <fstream>
#include <iterator>
#include <utility>

namespace ostrel::platform::posix {

UserShellFolders::UserShellFolders(UserEnvironment env) : env_(std::move(env)) {}

std::string UserShellFolders::GetFolderPath(int csidl) const {
  switch (csidl) {
    case CSIDL_DESKTOP: {
      std::ifstream in(env_.configHome + "/user-dirs.dirs", std::ios::binary);
      const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      return DesktopFolderFromUserDirs(text, env_.home);
    }
    case CSIDL_APPDATA:
      return env_.dataHome;
    default:
      return {};
  }
}

}  // namespace ostrel::platform::posix
