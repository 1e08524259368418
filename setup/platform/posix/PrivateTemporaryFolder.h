#pragma once

#include <mutex>

#include "setup/platform/TemporaryFolder.h"

namespace ostrel::platform::posix {

// A folder of mode 0700 below base, made on first use and checked to be a real
// folder of this user that nobody else may enter. Its name, "ostrel-<pid>-
// <start>-<random>", says which process made it (the process id and its start
// time since boot, which a reused id does not repeat), so a later run can
// tell a leftover of a process that was killed from a folder still in use.
class PrivateTemporaryFolder final : public ITemporaryFolder {
 public:
  // With makeBase, a missing base is made too, with its parents, for the
  // user alone (the cache home may not exist yet); a shared base such as
  // /tmp is never made.
  explicit PrivateTemporaryFolder(std::string base, bool makeBase = false);

  std::optional<std::string> Path() override;
  // prefix + 16 random hexadecimal digits + ".tmp", mode 0600.
  std::optional<std::string> CreateUniqueFile(std::string_view prefix) override;
  bool Release() override;
  void RemoveLeftovers() override;

 private:
  std::optional<std::string> PathLocked();

  std::mutex mutex_;
  std::string base_;
  bool makeBase_;
  std::string folder_;  // with its trailing separator once made
};

// $TMPDIR when it is an absolute path, /tmp otherwise.
std::string TemporaryBase();

}  // namespace ostrel::platform::posix
