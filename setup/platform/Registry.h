#pragma once
// The current user's registry hive (HKEY_CURRENT_USER, 64-bit view). Key
// paths are relative to the hive with '\' between the parts, as on Windows
// ("Software\Ostrel"). Only string values (REG_SZ) are read and written.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ostrel::platform {

enum class RegistryAccess : std::uint8_t {
  ReadOnly,  // KEY_READ | KEY_WOW64_64KEY; the key must exist
  All,       // KEY_ALL_ACCESS | KEY_WOW64_64KEY
};

// An open key; closing happens when the object goes.
class IRegistryKey {
 public:
  virtual ~IRegistryKey() = default;

  // The string value, or nothing when it is missing, of another type or
  // cannot be read: callers treat all three alike.
  virtual std::optional<std::string> ReadString(std::string_view name) const = 0;

  // Creates or replaces a string value (UTF-8 text). False when the key was
  // opened read-only, the value is not valid UTF-8 or the write failed; a
  // failed write leaves the old value.
  virtual bool WriteString(std::string_view name, std::string_view value) = 0;

  // Makes what was written through this key since it was opened or last
  // flushed durable, all of it together (RegFlushKey on Windows); other
  // openers of the key see it by now at the latest. False when that failed:
  // values not flushed may then read as old or missing. Closing the key
  // shows what was not flushed to other openers without waiting for the
  // disk: a power cut soon after may lose a value that was new, never one
  // that was there before.
  virtual bool Flush() = 0;
};

class IRegistry {
 public:
  virtual ~IRegistry() = default;

  // Opens an existing key read-only, or opens it with all access (creating it
  // and any missing parents). Nothing when it cannot be opened or created.
  virtual std::unique_ptr<IRegistryKey> OpenKey(std::string_view path, RegistryAccess access) = 0;

  // Deletes the key with its values and subkeys. False when it did not exist
  // or could not be removed.
  virtual bool DeleteKey(std::string_view path) = 0;
};

}  // namespace ostrel::platform
