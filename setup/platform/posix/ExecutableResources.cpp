#include "setup/platform/ExecutableResources.h"
#include "setup/platform/posix/UniqueFd.h"
#include "setup/platform/posix/UnnamedFile.h"

#include "setup/platform/Crc32.h"
#include "setup/platform/ResourceBundle.h"
#include "setup/platform/ResourceBundleWriter.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <optional>
#include <span>
#include <string>
#include <stop_token>
#include <system_error>
#include <thread>

namespace ostrel::platform {
namespace {

class ReadOnlyMapping {
 public:
  ReadOnlyMapping() = default;
  ReadOnlyMapping(void* address, std::size_t size) : address_(address), size_(size) {}
  ~ReadOnlyMapping() {
    if (address_ != nullptr) ::munmap(address_, size_);
  }
  ReadOnlyMapping(const ReadOnlyMapping&) = delete;
  ReadOnlyMapping& operator=(const ReadOnlyMapping&) = delete;
  std::span<const std::byte> Bytes() const { return {static_cast<const std::byte*>(address_), size_}; }

 private:
  void* address_ = nullptr;
  std::size_t size_ = 0;
};

std::unique_ptr<ReadOnlyMapping> MapFile(int fd) {
  struct stat st {};
  if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0) {
    return std::make_unique<ReadOnlyMapping>();
  }
  const auto size = static_cast<std::size_t>(st.st_size);
  void* address = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
  if (address == MAP_FAILED) return std::make_unique<ReadOnlyMapping>();
  return std::make_unique<ReadOnlyMapping>(address, size);
}

// Copies `length` bytes from `offset` of `in` to the end of `out` inside the
// kernel, page cache to page cache, without passing them through this
// process. Falls back from copy_file_range (refused across file systems on
// some kernels) to sendfile, and from that to writing the mapped bytes.
bool CopyRange(int in, std::size_t offset, int out, std::span<const std::byte> mapped, bool& kernelCopy) {
  auto at = static_cast<off_t>(offset);
  std::size_t left = mapped.size();
  while (kernelCopy && left > 0) {
    ssize_t n = ::copy_file_range(in, &at, out, nullptr, left, 0);
    if (n < 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)) {
      n = ::sendfile(out, in, &at, left);
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EINVAL || errno == ENOSYS) && left == mapped.size()) {
      kernelCopy = false;
      break;
    }
    if (n <= 0) return false;
    left -= static_cast<std::size_t>(n);
  }
  return left == 0 || WriteAll(out, mapped.subspan(mapped.size() - left));
}

// The alignment the packer gives file resources.
constexpr std::size_t kPage = 4096;

// Large enough to keep system calls rare, small enough to stay in cache.
constexpr std::size_t kChunk = std::size_t{1} << 20;

// Gives back the mapped pages of a piece already written out: they are clean
// copies of the file and fault in again if read, so a resource of hundreds of
// megabytes streams through a few pages of memory instead of staying resident.
void ReleasePages(std::span<const std::byte> piece) {
  const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  const auto begin = reinterpret_cast<std::uintptr_t>(piece.data()) / page * page;
  const auto end = (reinterpret_cast<std::uintptr_t>(piece.data()) + piece.size()) / page * page;
  if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_DONTNEED);
}

// Where CopyEntry writes: a file on a disk has its whole size reserved first
// (a full disk fails at once rather than after tens of megabytes, and ext4
// does not grow the file piece by piece: a third less time for a large
// payload); memory is not, since reserving it would clear every page before
// the copy writes it again.
enum class Target : std::uint8_t { Disk, Memory };

// Copies the entry's bytes to `out` from the program file (`program`, mapped
// at `mapped`), with Checksum checking its CRC over the mapping on a second
// thread meanwhile, so neither waits for the other; a failed copy stops the
// check. False when the space, the copy or the checksum fails.
bool CopyEntry(int program, std::span<const std::byte> mapped, const ResourceBundle::Entry& entry, int out,
               Target target, ResourceCheck check) {
  const bool reserved = target == Target::Memory || entry.bytes.empty() ||
                        ::fallocate(out, 0, 0, static_cast<off_t>(entry.bytes.size())) == 0 ||
                        errno == EOPNOTSUPP || errno == ENOSYS || errno == EINVAL;
  if (!reserved) return false;
  const std::span<const std::byte> bytes = entry.bytes;
  const auto start = static_cast<std::size_t>(bytes.data() - mapped.data());
  const auto copy = [&] {
    bool kernelCopy = true;
    bool copied = true;
    for (std::size_t at = 0; copied && at < bytes.size(); at += kChunk) {
      const auto piece = bytes.subspan(at, std::min(kChunk, bytes.size() - at));
      copied = CopyRange(program, start + at, out, piece, kernelCopy);
    }
    return copied;
  };
  if (check == ResourceCheck::ItsOwnReader) return copy();

  std::uint32_t checksum = 0;
  bool ok = true;
  try {
    std::jthread checker([bytes, &checksum](const std::stop_token& stop) {
      Crc32 crc;
      for (std::size_t at = 0; !stop.stop_requested() && at < bytes.size(); at += kChunk) {
        const auto piece = bytes.subspan(at, std::min(kChunk, bytes.size() - at));
        crc.Update(piece);
        ReleasePages(piece);
      }
      checksum = crc.Value();
    });
    ok = copy();
    if (!ok) checker.request_stop();
    // Joined here: leaving the scope would ask the checker to stop early.
    checker.join();
  } catch (const std::system_error&) {
    ok = false;
  }
  return ok && checksum == entry.crc;
}

std::string SelfFdPath(int fd) { return "/proc/" + std::to_string(::getpid()) + "/fd/" + std::to_string(fd); }

// The memory the system says it can give without swapping; nothing when it
// does not say.
std::optional<std::uint64_t> AvailableMemory() {
  std::ifstream meminfo("/proc/meminfo");
  std::string key;
  std::uint64_t kilobytes = 0;
  std::string unit;
  while (meminfo >> key >> kilobytes >> unit) {
    if (key == "MemAvailable:") return kilobytes * 1024;
  }
  return std::nullopt;
}

// A resource held in memory must leave the machine room to work: at most a
// quarter of what is available, so a payload of gigabytes goes to a file.
bool FitsInMemory(std::size_t size) {
  const std::optional<std::uint64_t> available = AvailableMemory();
  return available && size <= *available / 4;
}

// A sealed memfd; its path names the process, so that children open this
// process's file rather than a descriptor number of their own.
class SealedMemoryFile final : public InMemoryFile {
 public:
  explicit SealedMemoryFile(UniqueFd file) : file_(std::move(file)), path_(SelfFdPath(file_.Get())) {}
  const std::string& Path() const override { return path_; }

 private:
  UniqueFd file_;
  std::string path_;
};

}  // namespace

struct ExecutableResources::Impl {
  // Kept open so that resources are copied from the file, not the mapping.
  std::unique_ptr<UniqueFd> file;
  std::unique_ptr<ReadOnlyMapping> mapping;
  ResourceBundle bundle;
};

ExecutableResources::ExecutableResources(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
ExecutableResources::~ExecutableResources() = default;

std::unique_ptr<ExecutableResources> ExecutableResources::OpenSelf() { return Open("/proc/self/exe"); }

std::unique_ptr<ExecutableResources> ExecutableResources::Open(const std::string& path) {
  auto file = std::make_unique<UniqueFd>(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  auto mapping = MapFile(file->Get());
  auto bundle = ResourceBundle::Parse(mapping->Bytes());
  auto impl = std::make_unique<Impl>(Impl{std::move(file), std::move(mapping), std::move(bundle)});
  return std::unique_ptr<ExecutableResources>(new ExecutableResources(std::move(impl)));
}

std::optional<std::span<const std::byte>> ExecutableResources::Find(std::string_view name) const {
  return impl_->bundle.Find(name);
}

bool ExecutableResources::SaveToFile(std::string_view name, const std::string& path, SaveOptions options) const {
  const ResourceBundle::Entry* entry = impl_->bundle.Locate(name);
  if (entry == nullptr) return false;

  // O_NONBLOCK keeps a FIFO planted at `path` from blocking the open; only
  // a regular file is written (and only such a file is ever removed again).
  const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | (options.createNew ? O_EXCL : 0);
  const mode_t mode = options.executable ? 0700 : 0600;
  UniqueFd out(::open(path.c_str(), flags, mode));
  if (out.Get() < 0) return false;
  struct stat st {};
  if (::fstat(out.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  // Truncated only when there is something to cut: ext4 takes the truncation
  // of a file, even an empty one, as a rewrite in place and pushes all of the
  // new bytes to disk when it is closed, which for a payload costs more than
  // the copy itself. The temporary archive arrives here as a new empty file.
  if (st.st_size > 0 && ::ftruncate(out.Get(), 0) != 0) return false;
  // An existing file keeps its old mode; a program must be runnable.
  bool ok = (!options.executable || options.createNew || ::fchmod(out.Get(), mode) == 0) &&
            CopyEntry(impl_->file->Get(), impl_->mapping->Bytes(), *entry, out.Get(), Target::Disk,
                      ResourceCheck::Checksum);
  ok = out.Close() && ok;
  if (!ok) ::unlink(path.c_str());
  return ok;
}

std::unique_ptr<InMemoryFile> ExecutableResources::OpenInMemory(std::string_view name, ResourceCheck check) const {
  const ResourceBundle::Entry* entry = impl_->bundle.Locate(name);
  if (entry == nullptr || !FitsInMemory(entry->bytes.size())) return nullptr;
  const std::string label(name);
  UniqueFd writable(::memfd_create(label.c_str(), MFD_CLOEXEC | MFD_ALLOW_SEALING));
  if (!writable.Valid() ||
      !CopyEntry(impl_->file->Get(), impl_->mapping->Bytes(), *entry, writable.Get(), Target::Memory, check)) {
    return nullptr;
  }
  constexpr int kSeals = F_SEAL_SEAL | F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_WRITE;
  if (::fcntl(writable.Get(), F_ADD_SEALS, kSeals) != 0) return nullptr;
  // Kept open read-only, through the very path children will use: that
  // proves /proc shows it, and no writer is left to make a run of it fail
  // as busy.
  UniqueFd readable(::open(SelfFdPath(writable.Get()).c_str(), O_RDONLY | O_CLOEXEC));
  if (!readable.Valid()) return nullptr;
  return std::make_unique<SealedMemoryFile>(std::move(readable));
}

std::optional<FilePlace> ExecutableResources::PlaceInFile(std::string_view name) const {
  const ResourceBundle::Entry* entry = impl_->bundle.Locate(name);
  if (entry == nullptr) return std::nullopt;
  FilePlace place{SelfFdPath(impl_->file->Get()),
                  static_cast<std::uint64_t>(entry->bytes.data() - impl_->mapping->Bytes().data())};
  // Opened once through the very path a child will use, which proves that
  // /proc shows it.
  if (!UniqueFd(::open(place.path.c_str(), O_RDONLY | O_CLOEXEC)).Valid()) return std::nullopt;
  return place;
}

std::unique_ptr<PendingFile> ExecutableResources::StageProgramCopy(const std::string& folder,
                                                                 std::span<const std::string_view> keep) const {
  const ResourceBundle& bundle = impl_->bundle;
  const std::span<const std::byte> file = impl_->mapping->Bytes();
  struct stat st {};
  if (file.empty() || bundle.GetState() == ResourceBundle::State::Damaged || ::fstat(impl_->file->Get(), &st) != 0) {
    return nullptr;
  }
  auto copy = posix::UnnamedFile::Create(folder, st.st_mode & 0777);
  if (!copy) return nullptr;
  const int out = copy->Descriptor();
  const bool packed = bundle.GetState() == ResourceBundle::State::Valid;
  const std::size_t programSize = packed ? bundle.ProgramSize() : file.size();
  bool kernelCopy = true;
  if (!CopyRange(impl_->file->Get(), 0, out, file.first(programSize), kernelCopy)) return nullptr;
  if (!packed) return copy;

  try {
    ResourceBundleWriter writer(
        [out](std::span<const std::byte> bytes) {
          if (!WriteAll(out, bytes)) throw std::runtime_error("cannot write the program copy");
        },
        programSize);
    for (const ResourceBundle::Entry& entry : bundle.Entries()) {
      const bool kept = std::any_of(keep.begin(), keep.end(),
                                    [&entry](std::string_view name) { return ResourceNamesEqual(entry.name, name); });
      if (!kept) continue;
      const auto bytes = bundle.Find(entry.name);
      if (!bytes) return nullptr;
      // As the packer does: a resource of a page or more starts on a page.
      writer.BeginEntry(entry.name, bytes->size() >= kPage ? kPage : 1);
      writer.Write(*bytes);
      writer.EndEntry();
    }
    writer.Finish();
  } catch (const std::exception&) {
    return nullptr;
  }
  return copy;
}

}  // namespace ostrel::platform
