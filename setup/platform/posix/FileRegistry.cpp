#include "setup/platform/posix/FileRegistry.h"
#include "setup/platform/posix/UniqueFd.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "setup/platform/posix/OwnerFolders.h"
#include "setup/platform/posix/UserEnvironment.h"

namespace ostrel::platform::posix {

namespace {

constexpr int kDirFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

UniqueFd OpenDirAt(int parent, const std::string& name) {
  int fd;
  do {
    fd = ::openat(parent, name.c_str(), kDirFlags);
  } while (fd < 0 && errno == EINTR);
  return UniqueFd(fd);
}

// Names that cannot clash with any encoded name, because those never begin
// with a dot.
std::string HiddenUniqueName(std::string_view prefix) {
  unsigned char random[8] = {};
  if (::getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) {
    static_assert(sizeof(pid_t) <= sizeof random);
    const pid_t pid = ::getpid();
    for (std::size_t i = 0; i < sizeof pid; ++i) random[i] ^= static_cast<unsigned char>(pid >> (8 * i));
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string name(prefix);
  for (const unsigned char b : random) {
    name += kHex[b >> 4];
    name += kHex[b & 15];
  }
  return name;
}

// Splits "A\B\C" into its parts; nothing when a part is empty.
std::optional<std::vector<std::string>> SplitKeyPath(std::string_view path) {
  std::vector<std::string> parts;
  if (path.empty()) return parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = path.find('\\', start);
    const std::string_view part =
        path.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (part.empty()) return std::nullopt;
    parts.push_back(FileRegistry::EncodeName(part));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return parts;
}

// Strict UTF-8: no overlong forms, surrogates, values above U+10FFFF or cut
// sequences. Registry strings are Unicode text, so other bytes mean a
// damaged file.
bool IsUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    std::size_t length;
    std::uint32_t min;
    std::uint32_t cp;
    if (b0 < 0x80) {
      ++i;
      continue;
    } else if ((b0 & 0xE0) == 0xC0) {
      length = 2, min = 0x80, cp = b0 & 0x1Fu;
    } else if ((b0 & 0xF0) == 0xE0) {
      length = 3, min = 0x800, cp = b0 & 0x0Fu;
    } else if ((b0 & 0xF8) == 0xF0) {
      length = 4, min = 0x10000, cp = b0 & 0x07u;
    } else {
      return false;
    }
    if (bytes.size() - i < length) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto b = static_cast<unsigned char>(bytes[i + k]);
      if ((b & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (b & 0x3Fu);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

class FileRegistryKey final : public IRegistryKey {
 public:
  FileRegistryKey(UniqueFd dir, RegistryAccess access) : dir_(std::move(dir)), access_(access) {}
  FileRegistryKey(const FileRegistryKey&) = delete;
  FileRegistryKey& operator=(const FileRegistryKey&) = delete;
  // Closing publishes what was written without waiting for the disk, as
  // closing a key does on Windows; a caller whose values must survive a power
  // cut flushes. A value that would replace one on disk is flushed all the
  // same, so a crash never costs a value that was there before.
  ~FileRegistryKey() override {
    if (ReplacesStoredValue()) {
      Flush();
    } else {
      Publish(false);
    }
  }

  std::optional<std::string> ReadString(std::string_view name) const override {
    const std::string file = FileRegistry::EncodeName(name);
    for (const Staged& staged : staged_) {
      if (staged.file == file) return staged.value;
    }
    // Non-blocking, so that a FIFO in the value's place cannot stall the reader.
    UniqueFd fd(::openat(dir_.Get(), file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!fd.Valid()) return std::nullopt;
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    if (static_cast<std::uintmax_t>(st.st_size) > FileRegistry::kMaxValueBytes) return std::nullopt;

    std::string content;
    char buffer[4096];
    while (true) {
      const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
      if (n < 0) {
        if (errno == EINTR) continue;
        return std::nullopt;
      }
      if (n == 0) break;
      if (content.size() + static_cast<std::size_t>(n) > FileRegistry::kMaxValueBytes) return std::nullopt;
      content.append(buffer, static_cast<std::size_t>(n));
    }
    if (!content.starts_with(FileRegistry::kStringTypeTag)) return std::nullopt;
    std::string value = content.substr(FileRegistry::kStringTypeTag.size());
    if (!IsUtf8(value)) return std::nullopt;
    return value;
  }

  // The value goes to a fresh temporary file whose writing back starts at
  // once; Flush gives it its name.
  bool WriteString(std::string_view name, std::string_view value) override {
    // A value the reader would refuse is never stored: it would read back as
    // missing, and be written again by every later run.
    if (access_ != RegistryAccess::All || !IsUtf8(value)) return false;
    Staged staged{FileRegistry::EncodeName(name), HiddenUniqueName(".tmp-"), UniqueFd(), std::string(value)};
    staged.fd = UniqueFd(
        ::openat(dir_.Get(), staged.temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!staged.fd.Valid()) return false;
    if (!WriteAll(staged.fd.Get(), FileRegistry::kStringTypeTag) || !WriteAll(staged.fd.Get(), value)) {
      ::unlinkat(dir_.Get(), staged.temp.c_str(), 0);
      return false;
    }
    ::sync_file_range(staged.fd.Get(), 0, 0, SYNC_FILE_RANGE_WRITE);
    for (Staged& earlier : staged_) {
      if (earlier.file != staged.file) continue;
      ::unlinkat(dir_.Get(), earlier.temp.c_str(), 0);
      earlier = std::move(staged);
      return true;
    }
    staged_.push_back(std::move(staged));
    return true;
  }

  // Every value is made durable under its temporary name before any takes
  // its real one, so a crash leaves each value whole, old or new. POSIX
  // promises a file's bytes only through its own fsync; the fsyncs are made
  // at the same time, one thread each, so a journaling file system commits
  // them together instead of one after the other. One folder sync then makes
  // the names durable: two commits for the key, not one per value.
  bool Flush() override { return Publish(true); }

 private:
  struct Staged {
    std::string file;  // the value's own file name
    std::string temp;  // where it waits for the flush
    UniqueFd fd;
    std::string value;
  };

  bool Publish(bool durably) {
    if (staged_.empty()) return true;
    bool ok = !durably || SyncTogether();
    for (Staged& staged : staged_) {
      staged.fd.Close();
      if (ok && ::renameat(dir_.Get(), staged.temp.c_str(), dir_.Get(), staged.file.c_str()) == 0) continue;
      ok = false;
      ::unlinkat(dir_.Get(), staged.temp.c_str(), 0);
    }
    staged_.clear();
    return (!durably || ::fsync(dir_.Get()) == 0) && ok;
  }

  bool ReplacesStoredValue() const {
    return std::any_of(staged_.begin(), staged_.end(), [this](const Staged& staged) {
      struct stat st {};
      return ::fstatat(dir_.Get(), staged.file.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
    });
  }

  bool SyncTogether() const {
    std::vector<int> results(staged_.size(), -1);
    {
      std::vector<std::jthread> others;
      for (std::size_t i = 1; i < staged_.size(); ++i) {
        const int fd = staged_[i].fd.Get();
        int& result = results[i];
        try {
          others.emplace_back([fd, &result] { result = ::fsync(fd); });
        } catch (const std::system_error&) {
          result = ::fsync(fd);
        }
      }
      results[0] = ::fsync(staged_[0].fd.Get());
    }
    return std::all_of(results.begin(), results.end(), [](int result) { return result == 0; });
  }

  UniqueFd dir_;
  RegistryAccess access_;
  std::vector<Staged> staged_;
};

}  // namespace

FileRegistry::FileRegistry(std::string hiveFolder) : hiveFolder_(std::move(hiveFolder)) {}

std::string FileRegistry::EncodeName(std::string_view name) {
  if (name.empty()) return "%";
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(name.size());
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    const bool special = c < 0x20 || c == 0x7F || c == '/' || c == '\\' || c == '%' || (i == 0 && c == '.');
    if (special) {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::unique_ptr<IRegistryKey> FileRegistry::OpenKey(std::string_view path, RegistryAccess access) {
  const auto parts = SplitKeyPath(path);
  if (!parts) return nullptr;
  if (access == RegistryAccess::All) MakeOwnerFolders(hiveFolder_);
  UniqueFd dir(::open(hiveFolder_.c_str(), kDirFlags));
  if (!dir.Valid()) return nullptr;
  for (const std::string& part : *parts) {
    if (access == RegistryAccess::All && ::mkdirat(dir.Get(), part.c_str(), 0700) != 0 && errno != EEXIST) {
      return nullptr;
    }
    dir = OpenDirAt(dir.Get(), part);
    if (!dir.Valid()) return nullptr;
  }
  return std::make_unique<FileRegistryKey>(std::move(dir), access);
}

bool FileRegistry::DeleteKey(std::string_view path) {
  const auto parts = SplitKeyPath(path);
  if (!parts || parts->empty()) return false;
  UniqueFd parent(::open(hiveFolder_.c_str(), kDirFlags));
  std::string parentPath = hiveFolder_;
  for (std::size_t i = 0; parent.Valid() && i + 1 < parts->size(); ++i) {
    parent = OpenDirAt(parent.Get(), (*parts)[i]);
    parentPath += '/';
    parentPath += (*parts)[i];
  }
  if (!parent.Valid()) return false;

  // The key vanishes in one step; removing its contents afterwards can then
  // race with nobody who looks the key up by name.
  struct stat st {};
  if (::fstatat(parent.Get(), parts->back().c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISDIR(st.st_mode)) {
    return false;
  }
  const std::string doomed = HiddenUniqueName(".deleted-");
  if (::renameat(parent.Get(), parts->back().c_str(), parent.Get(), doomed.c_str()) != 0) return false;
  std::error_code ec;
  for (int attempt = 0; attempt < 3; ++attempt) {
    std::filesystem::remove_all(parentPath + '/' + doomed, ec);
    if (!ec) break;
  }
  return true;
}

std::string HiveFolderFor(const UserEnvironment& env) { return env.configHome + "/ostrel-registry/HKEY_CURRENT_USER"; }

}  // namespace ostrel::platform::posix
