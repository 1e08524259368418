#include "setup/platform/posix/UserShellFolders.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace ostrel::platform::posix {

namespace {

// A user-dirs file is a few lines; anything else in its place reads as empty.
std::string ReadSmallTextFile(const std::string& path) {
  constexpr std::size_t kLimit = 64 * 1024;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return {};
  std::string text;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && static_cast<std::uintmax_t>(st.st_size) <= kLimit) {
    text.resize(static_cast<std::size_t>(st.st_size));
    const ssize_t n = ::read(fd, text.data(), text.size());
    text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  }
  ::close(fd);
  return text;
}

}  // namespace

UserShellFolders::UserShellFolders(UserEnvironment env) : env_(std::move(env)) {}

std::string UserShellFolders::GetFolderPath(int csidl) const {
  switch (csidl) {
    case CSIDL_DESKTOP:
      return DesktopFolderFromUserDirs(ReadSmallTextFile(env_.configHome + "/user-dirs.dirs"), env_.home);
    case CSIDL_APPDATA:
      return env_.dataHome;
    default:
      return {};
  }
}

}  // namespace ostrel::platform::posix
