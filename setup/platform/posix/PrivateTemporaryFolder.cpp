#include "setup/platform/posix/PrivateTemporaryFolder.h"
#include "setup/platform/posix/OwnerFolders.h"
#include "setup/platform/posix/UserEnvironment.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string_view>
#include <utility>

#include "setup/platform/Removal.h"

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

// A process's start time in clock ticks since boot (field 22 of its stat
// line); nothing when there is no such process.
std::optional<std::uint64_t> StartTime(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(in, line)) return std::nullopt;
  // The command name (field 2) may hold blanks and parentheses: count from
  // the last ')'.
  const std::size_t close = line.rfind(')');
  if (close == std::string::npos) return std::nullopt;
  std::istringstream fields(line.substr(close + 1));
  std::string field;
  for (int index = 3; index <= 22; ++index) {
    if (!(fields >> field)) return std::nullopt;
  }
  std::uint64_t start = 0;
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), start);
  if (error != std::errc() || end != field.data() + field.size()) return std::nullopt;
  return start;
}

// "<pid>-<start>-" of this process, the owner part of its folder names.
std::string OwnerTag() {
  const pid_t pid = ::getpid();
  return std::to_string(pid) + "-" + std::to_string(StartTime(pid).value_or(0)) + "-";
}

// The owner a folder name "ostrel-<pid>-<start>-<random>" gives; nothing for
// any other name.
std::optional<std::pair<pid_t, std::uint64_t>> OwnerOf(std::string_view name) {
  constexpr std::string_view kPrefix = "ostrel-";
  if (!name.starts_with(kPrefix)) return std::nullopt;
  name.remove_prefix(kPrefix.size());
  pid_t pid = 0;
  std::uint64_t start = 0;
  const char* at = name.data();
  const char* const end = name.data() + name.size();
  auto parsed = std::from_chars(at, end, pid);
  if (parsed.ec != std::errc() || parsed.ptr == end || *parsed.ptr != '-' || pid <= 0) return std::nullopt;
  parsed = std::from_chars(parsed.ptr + 1, end, start);
  if (parsed.ec != std::errc() || parsed.ptr == end || *parsed.ptr != '-') return std::nullopt;
  return std::pair{pid, start};
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
    const std::string candidate = parent + "/ostrel-" + OwnerTag() + *suffix;
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

void PrivateTemporaryFolder::RemoveLeftovers() {
  const std::lock_guard lock(mutex_);
  // Without a process table to look in (no /proc), every owner would seem
  // gone: nothing is removed then.
  if (!StartTime(::getpid())) return;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(base_, error)) {
    const std::string name = entry.path().filename().string();
    const auto owner = OwnerOf(name);
    if (!owner) continue;
    struct stat st {};
    if (::lstat(entry.path().c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) continue;
    // A process of that id that started then is its owner, still at work.
    if (StartTime(owner->first) == owner->second) continue;
    RemoveFolderTreeBelow(base_, name);
  }
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
