#include "setup/platform/FileSystem.h"
#include "setup/platform/posix/UniqueFd.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstddef>
#include <cstdint>

namespace ostrel::platform {
namespace {

// The kernel copies without bringing the bytes through this process, and may
// share them where the file system allows. Nothing copied yet and no kernel
// support: the caller falls back to reading and writing.
enum class KernelCopy : std::uint8_t { Done, Failed, Unsupported };

KernelCopy CopyInKernel(int in, int out) {
  constexpr std::size_t kStep = std::size_t{1} << 30;
  bool copiedAny = false;
  for (;;) {
    const ssize_t got = ::copy_file_range(in, nullptr, out, nullptr, kStep, 0);
    if (got == 0) return KernelCopy::Done;
    if (got > 0) {
      copiedAny = true;
      continue;
    }
    if (errno == EINTR) continue;
    const bool unsupported = errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP;
    return unsupported && !copiedAny ? KernelCopy::Unsupported : KernelCopy::Failed;
  }
}

bool CopyBytes(int in, int out) {
  switch (CopyInKernel(in, out)) {
    case KernelCopy::Done: return true;
    case KernelCopy::Failed: return false;
    case KernelCopy::Unsupported: break;
  }
  std::array<char, 64 * 1024> buffer{};
  for (;;) {
    const ssize_t got = ::read(in, buffer.data(), buffer.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) return true;
    if (!WriteAll(out, std::string_view(buffer.data(), static_cast<std::size_t>(got)))) return false;
  }
}

}  // namespace

bool FileExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool RemoveFile(const std::string& path) {
  struct stat st {};
  if (path.empty() || ::lstat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  return ::unlink(path.c_str()) == 0;
}

bool ForceDirectories(const std::string& path) {
  if (path.empty()) return false;
  if (DirectoryExists(path)) return true;
  // Each prefix ending before a separator is a parent; the whole path last.
  for (std::size_t at = 1; at <= path.size(); ++at) {
    if (at < path.size() && path[at] != '/') continue;
    const std::string part = path.substr(0, at);
    if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return false;
  }
  return DirectoryExists(path);
}

bool CopyFileTo(const std::string& from, const std::string& to, bool failIfExists) {
  const UniqueFd in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.Get() < 0) return false;
  struct stat st {};
  if (::fstat(in.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;

  // O_NONBLOCK keeps a FIFO planted at `to` from stalling the open; only a
  // regular file is ever written or removed.
  const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | (failIfExists ? O_EXCL : O_TRUNC);
  const mode_t mode = st.st_mode & 0777;
  UniqueFd out(::open(to.c_str(), flags, mode));
  if (out.Get() < 0) return false;
  struct stat target {};
  if (::fstat(out.Get(), &target) != 0 || !S_ISREG(target.st_mode)) return false;

  bool ok = ::fchmod(out.Get(), mode) == 0 && CopyBytes(in.Get(), out.Get());
  ok = out.Close() && ok;
  if (!ok) ::unlink(to.c_str());
  return ok;
}

bool MoveFileTo(const std::string& from, const std::string& to) {
  if (from.empty() || to.empty()) return false;
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // A file system without the no-replace rename: a hard link refuses an
  // existing name just the same, and the old name goes once the new one is in.
  struct stat st {};
  if (::lstat(from.c_str(), &st) != 0 || S_ISDIR(st.st_mode) || ::link(from.c_str(), to.c_str()) != 0) return false;
  ::unlink(from.c_str());
  return true;
}

}  // namespace ostrel::platform
