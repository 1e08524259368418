#pragma once
// The per-user registry hive kept as a folder tree: keys are folders, values
// are files holding a type tag line and the value's bytes. Every write goes to
// a fresh temporary file; when the key is flushed (or closed) the files are
// synced and renamed over their values, and the key's folder synced once, so
// the values of one key reach the disk together, and readers and concurrent
// writers (a setup and an uninstaller at once) see either the old or the new
// value, never a torn one. Names match case-sensitively, unlike on Windows:
// the program spells every key and value one way.

#include <memory>
#include <string>
#include <string_view>

#include "setup/platform/Registry.h"
#include "setup/platform/posix/UserEnvironment.h"

namespace ostrel::platform::posix {

class FileRegistry final : public IRegistry {
 public:
  // hiveFolder is the folder standing for HKEY_CURRENT_USER; it is created
  // (mode 0700) on the first key opened with all access.
  explicit FileRegistry(std::string hiveFolder);

  std::unique_ptr<IRegistryKey> OpenKey(std::string_view path, RegistryAccess access) override;
  bool DeleteKey(std::string_view path) override;

  // The file name a key part or value name is stored under: bytes that a
  // file name cannot hold or that would give it a special meaning ('/', '\',
  // '%', control bytes, a leading '.') become %XX, and the empty name "%".
  static std::string EncodeName(std::string_view name);

  // The largest value file read; bigger files count as unreadable.
  static constexpr std::size_t kMaxValueBytes = 1 << 20;

  // First line of a string value's file.
  static constexpr std::string_view kStringTypeTag = "REG_SZ\n";

 private:
  std::string hiveFolder_;
};

// The hive's folder: configHome + "/ostrel-registry/HKEY_CURRENT_USER".
std::string HiveFolderFor(const UserEnvironment& env);

}  // namespace ostrel::platform::posix
