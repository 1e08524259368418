#pragma once
// A folder of this run that only the current user may enter, with an
// unpredictable name under the user's temporary folder (GetTempPathW): what
// the setup writes there cannot be planted first or swapped by anyone else.
// Its name carries its owner process (id and creation time), so a later run
// can tell the folders of runs that were ended before they could clean up.

#include <mutex>
#include <optional>
#include <string>

#include "setup/platform/TemporaryFolder.h"

namespace ostrel::platform::win32 {

// 16 hexadecimal digits from the system's random source; nothing when it
// gives none.
std::optional<std::wstring> RandomHexName();

class PrivateTemporaryFolder final : public ITemporaryFolder {
 public:
  // base: the folder to make it in; empty takes the user's temporary folder.
  explicit PrivateTemporaryFolder(std::wstring base = {});

  // "<base>\ostrel-<pid>-<creation time>-<16 hex digits>\", made on first
  // use.
  std::optional<std::string> Path() override;
  // prefix + 16 hexadecimal digits + ".tmp".
  std::optional<std::string> CreateUniqueFile(std::string_view prefix) override;
  bool Release() override;
  void RemoveLeftovers() override;

  // The same as Path, in the system's own text.
  std::optional<std::wstring> WidePath();

 private:
  std::optional<std::wstring> PathLocked();

  std::mutex mutex_;
  std::wstring base_;
  std::wstring folder_;  // with its trailing separator once made
};

// The user's temporary folder with its trailing separator.
std::wstring UserTemporaryFolder();

}  // namespace ostrel::platform::win32
