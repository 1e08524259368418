#pragma once
// Resources carried inside an executable, looked up by name ignoring ASCII
// letter case ("ver" finds VER). On POSIX they are the resource bundle that
// the packer appends to the program, read through a read-only memory map of
// the file; the map lives as long as this object, and so do the spans that
// Find hands out.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "setup/platform/FileSystem.h"

namespace ostrel::platform {

// Who checks a resource's bytes on their way out of the program.
enum class ResourceCheck : std::uint8_t {
  Checksum,     // its CRC, against the bundle's index
  ItsOwnReader  // whoever reads it checks it itself (an archive carries the
                // checksums of everything in it, which its extractor checks)
};

struct SaveOptions {
  // Fail when the file already exists instead of replacing its contents.
  bool createNew = false;
  // Owner may run it (0700) rather than only read and write it (0600).
  bool executable = false;
};

// A resource copied into a sealed file that lives in memory only: nothing of
// it reaches a disk or a folder anyone could reach, and nothing is left when
// the process ends.
class InMemoryFile {
 public:
  virtual ~InMemoryFile() = default;
  // A path under which this process and the programs it starts can open the
  // file, or run it, while the object lives.
  virtual const std::string& Path() const = 0;
};

// Where a resource lies inside the program file, for a reader that can be
// told to look for it there instead of in a copy of its own.
struct FilePlace {
  // A path under which this process and the programs it starts can open the
  // program file while the resources object lives.
  std::string path;
  // Where the resource starts in that file.
  std::uint64_t offset = 0;
};

class ExecutableResources {
 public:
  // The running program's own resources.
  static std::unique_ptr<ExecutableResources> OpenSelf();
  // Another file's. A file that cannot be read, or carries no intact
  // bundle, gives an object that finds nothing.
  static std::unique_ptr<ExecutableResources> Open(const std::string& path);

  ~ExecutableResources();
  ExecutableResources(const ExecutableResources&) = delete;
  ExecutableResources& operator=(const ExecutableResources&) = delete;

  // The resource's bytes, or nothing when it is missing or its checksum
  // does not match.
  std::optional<std::span<const std::byte>> Find(std::string_view name) const;

  // Copies the resource into `path` from the program file. False when
  // the resource is missing or damaged or the file cannot be written; a
  // file left incomplete is removed again. Symbolic links at `path` are
  // never followed.
  bool SaveToFile(std::string_view name, const std::string& path, SaveOptions options = {}) const;

  // The resource as an in-memory file (on Linux a sealed memfd, reached
  // through /proc). Nothing when the resource is missing or (checked by its
  // checksum) damaged, the system has no such files or will not show them, or
  // the resource would take more than a quarter of the memory available:
  // callers then save it to a file instead.
  std::unique_ptr<InMemoryFile> OpenInMemory(std::string_view name,
                                             ResourceCheck check = ResourceCheck::Checksum) const;

  // Where the resource lies in the program file (on Linux reached through
  // this process's descriptor of it in /proc: the file it runs from, which
  // nobody can write to while it runs). Nothing when the resource is missing
  // or /proc does not show the file.
  std::optional<FilePlace> PlaceInFile(std::string_view name) const;

  // A copy of the program that carries only the resources named in `keep`
  // (in their order in this file), written as a pending file in `folder`:
  // the uninstaller needs the version and the window, not the payload or the
  // extractor. On Windows the resource update calls do the same. Nothing when
  // the copy cannot be written or a kept resource is damaged.
  std::unique_ptr<PendingFile> StageProgramCopy(const std::string& folder,
                                                std::span<const std::string_view> keep) const;

 private:
  struct Impl;
  explicit ExecutableResources(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace ostrel::platform
