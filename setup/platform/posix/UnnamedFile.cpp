#include "setup/platform/posix/UnnamedFile.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "setup/platform/FileSystem.h"

namespace ostrel::platform::posix {
namespace {

std::string RandomSuffix() {
  std::uint64_t random = 0;
  if (::getrandom(&random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) random ^= ::getpid();
  return std::to_string(random);
}

}  // namespace

std::unique_ptr<UnnamedFile> UnnamedFile::Create(const std::string& folder, mode_t mode) {
  UniqueFd file(::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
  if (file.Valid()) {
    // The mode given is masked by the umask; a program must stay runnable.
    if (::fchmod(file.Get(), mode) != 0) return nullptr;
    return std::unique_ptr<UnnamedFile>(new UnnamedFile(std::move(file), {}));
  }
  if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return nullptr;
  const std::string standIn = folder + "/.ostrel-pending-" + RandomSuffix();
  file.Reset(::open(standIn.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
  if (!file.Valid()) return nullptr;
  if (::fchmod(file.Get(), mode) != 0) {
    ::unlink(standIn.c_str());
    return nullptr;
  }
  return std::unique_ptr<UnnamedFile>(new UnnamedFile(std::move(file), standIn));
}

UnnamedFile::~UnnamedFile() {
  if (!standIn_.empty()) ::unlink(standIn_.c_str());
}

bool UnnamedFile::Publish(const std::string& to) {
  if (!file_.Valid() || to.empty()) return false;
  bool published = false;
  if (standIn_.empty()) {
    // Linked through /proc: linkat's own empty-path form needs a privilege.
    const std::string self = "/proc/self/fd/" + std::to_string(file_.Get());
    published = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, to.c_str(), AT_SYMLINK_FOLLOW) == 0;
  } else {
    published = MoveFileTo(standIn_, to);
    if (published) standIn_.clear();
  }
  file_.Close();
  return published;
}

}  // namespace ostrel::platform::posix
