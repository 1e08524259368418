#pragma once
// The Windows pending file: Windows has no files without a name, so a hidden
// file of a random name in the target folder stands in until it is published
// with a move that never replaces, and is deleted when it goes unpublished.

#include <memory>
#include <string>

#include "setup/platform/FileSystem.h"

namespace ostrel::platform::win32 {

class StandInFile final : public PendingFile {
 public:
  // A copy of `source` under a new hidden name in `folder`; nothing when none
  // can be made there.
  static std::unique_ptr<StandInFile> CopyOf(const std::wstring& source, const std::wstring& folder);
  ~StandInFile() override;

  StandInFile(const StandInFile&) = delete;
  StandInFile& operator=(const StandInFile&) = delete;

  const std::wstring& Path() const { return path_; }
  bool Publish(const std::string& to) override;

 private:
  explicit StandInFile(std::wstring path) : path_(std::move(path)) {}

  std::wstring path_;  // empty once published
};

}  // namespace ostrel::platform::win32
