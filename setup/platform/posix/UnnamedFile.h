#pragma once
// The POSIX pending file: an O_TMPFILE file published with linkat, or, on
// file systems without such files, a hidden file of a random name published
// with a rename that never replaces.

#include <sys/types.h>

#include <memory>
#include <string>

#include "setup/platform/FileSystem.h"
#include "setup/platform/posix/UniqueFd.h"

namespace ostrel::platform::posix {

class UnnamedFile final : public PendingFile {
 public:
  // A new file in folder, open for writing, with the given mode; nothing
  // when none can be made there.
  static std::unique_ptr<UnnamedFile> Create(const std::string& folder, mode_t mode);
  ~UnnamedFile() override;

  UnnamedFile(const UnnamedFile&) = delete;
  UnnamedFile& operator=(const UnnamedFile&) = delete;

  int Descriptor() const { return file_.Get(); }
  bool Publish(const std::string& to) override;

 private:
  UnnamedFile(UniqueFd file, std::string standIn) : file_(std::move(file)), standIn_(std::move(standIn)) {}

  UniqueFd file_;
  // The hidden name a file system without unnamed files got instead; empty
  // for a truly unnamed file and once published.
  std::string standIn_;
};

}  // namespace ostrel::platform::posix
