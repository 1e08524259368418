#pragma once

#include <mutex>

#include "setup/platform/TemporaryFolder.h"

namespace ostrel::platform::posix {

// A folder of mode 0700 with a random name below base, made on first use and
// checked to be a real folder of this user that nobody else may enter.
class PrivateTemporaryFolder final : public ITemporaryFolder {
 public:
  explicit PrivateTemporaryFolder(std::string base);

  std::optional<std::string> Path() override;
  // prefix + 16 random hexadecimal digits + ".tmp", mode 0600.
  std::optional<std::string> CreateUniqueFile(std::string_view prefix) override;
  bool Release() override;

 private:
  std::optional<std::string> PathLocked();

  std::mutex mutex_;
  std::string base_;
  std::string folder_;  // with its trailing separator once made
};

// $TMPDIR when it is an absolute path, /tmp otherwise.
std::string TemporaryBase();

}  // namespace ostrel::platform::posix
