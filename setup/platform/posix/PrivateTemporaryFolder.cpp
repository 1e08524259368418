#include "setup/platform/posix/PrivateTemporaryFolder.h"
#include "setup/platform/posix/OwnerFolders.h"
#include "setup/platform/posix/UserEnvironment.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace ostrel::platform::posix {
namespace {

constexpr int kAttempts = 16;

std::optional<std::string> RandomHex() {
  std::array<std::uint8_t, 8> bytes{};
  if (::getrandom(bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size())) return std::nullopt;
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text;
  for (const std::uint8_t b : bytes) {
    text += kHex[b >> 4];
    text += kHex[b & 15];
  }
  return text;
}

}  // namespace

std::string TemporaryBase() {
  const char* tmpdir = std::getenv("TMPDIR");
  if (tmpdir != nullptr && tmpdir[0] == '/') return tmpdir;
  return "/tmp";
}

PrivateTemporaryFolder::PrivateTemporaryFolder(std::string base, bool makeBase)
    : base_(std::move(base)), makeBase_(makeBase) {
  while (base_.size() > 1 && base_.back() == '/') base_.pop_back();
}

std::optional<std::string> PrivateTemporaryFolder::Path() {
  const std::lock_guard lock(mutex_);
  return PathLocked();
}

std::optional<std::string> PrivateTemporaryFolder::PathLocked() {
  if (!folder_.empty()) return folder_;
  if (makeBase_) MakeOwnerFolders(base_);
  const std::string parent = base_ == "/" ? std::string() : base_;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    const auto suffix = RandomHex();
    if (!suffix) return std::nullopt;
    const std::string candidate = parent + "/ostrel-" + *suffix;
    if (::mkdir(candidate.c_str(), 0700) != 0) {
      if (errno == EEXIST) continue;
      return std::nullopt;
    }
    // The folder must be what mkdir just made: ours, a folder, closed to others.
    struct stat st {};
    if (::lstat(candidate.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() ||
        (st.st_mode & 077) != 0) {
      return std::nullopt;
    }
    folder_ = candidate + "/";
    return folder_;
  }
  return std::nullopt;
}

std::optional<std::string> PrivateTemporaryFolder::CreateUniqueFile(std::string_view prefix) {
  const std::lock_guard lock(mutex_);
  const auto folder = PathLocked();
  if (!folder) return std::nullopt;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    const auto suffix = RandomHex();
    if (!suffix) return std::nullopt;
    std::string path = *folder;
    path.append(prefix);
    path += *suffix + ".tmp";
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return std::nullopt;
    }
    ::close(fd);
    return path;
  }
  return std::nullopt;
}

bool PrivateTemporaryFolder::Release() {
  const std::lock_guard lock(mutex_);
  if (folder_.empty()) return true;
  if (::rmdir(folder_.c_str()) != 0 && errno != ENOENT) return false;
  folder_.clear();
  return true;
}

}  // namespace ostrel::platform::posix

namespace ostrel::platform {

std::unique_ptr<ITemporaryFolder> CreateTemporaryFolder() {
  return std::make_unique<posix::PrivateTemporaryFolder>(posix::TemporaryBase());
}

std::unique_ptr<ITemporaryFolder> CreateFallbackTemporaryFolder() {
  return std::make_unique<posix::PrivateTemporaryFolder>(posix::ReadUserEnvironment().cacheHome, true);
}

}  // namespace ostrel::platform
