#include "setup/platform/posix/PosixSystem.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <stdexcept>
#include <string_view>

namespace ostrel::platform::posix {

namespace {

bool FillFromUrandom(GuidBytes& bytes) {
  const int fd = ::open("/dev/urandom", O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
  return done == bytes.size();
}

}  // namespace

std::string PosixSystem::ExecutablePath() const {
  char buffer[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer);
  if (n <= 0 || static_cast<std::size_t>(n) >= sizeof buffer) return {};
  std::string path(buffer, static_cast<std::size_t>(n));
  // Once the program's file has been unlinked (an uninstaller removing
  // itself) the kernel appends this marker; the path it ran from is still the
  // one callers mean.
  constexpr std::string_view kDeleted = " (deleted)";
  struct stat st {};
  if (path.ends_with(kDeleted) && ::lstat(path.c_str(), &st) != 0) path.resize(path.size() - kDeleted.size());
  return path;
}

GuidBytes PosixSystem::NewGuid() {
  GuidBytes bytes{};
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::getrandom(bytes.data() + done, bytes.size() - done, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  // An identity from a predictable source would collide across machines.
  if (done != bytes.size() && !FillFromUrandom(bytes)) throw std::runtime_error("no random source for a GUID");
  bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40);
  bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);
  return bytes;
}

void PosixSystem::ExitProcess(unsigned exitCode) { ::_exit(static_cast<int>(exitCode)); }

}  // namespace ostrel::platform::posix

namespace ostrel::platform {

std::uint32_t CurrentUserId() { return static_cast<std::uint32_t>(::getuid()); }

std::string CurrentUserAccount() { return {}; }

}  // namespace ostrel::platform
