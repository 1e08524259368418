#include "setup/platform/win32/WindowsRegistry.h"

#include <windows.h>

#include <vector>

#include "setup/platform/win32/WideText.h"

namespace ostrel::platform::win32 {
namespace {

// KEY_ALL_ACCESS | KEY_WOW64_64KEY (0xF013F), and the read-only open keeps
// the 64-bit view too: a 32-bit build must see the same keys as a 64-bit one.
constexpr REGSAM kAllAccess = KEY_ALL_ACCESS | KEY_WOW64_64KEY;
constexpr REGSAM kReadAccess = KEY_READ | KEY_WOW64_64KEY;

// Values larger than this are not what the setup writes; they read as
// unreadable rather than as an allocation of whatever size the hive claims.
constexpr DWORD kMaxValueBytes = 1 << 20;

class Key final : public IRegistryKey {
 public:
  Key(HKEY key, bool writable) : key_(key), writable_(writable) {}
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  ~Key() override { ::RegCloseKey(key_); }

  std::optional<std::string> ReadString(std::string_view name) const override {
    const auto wideName = ToWide(name);
    if (!wideName) return std::nullopt;
    // The value may change between the size query and the read; try again
    // with the new size a few times.
    for (int attempt = 0; attempt < 4; ++attempt) {
      DWORD type = 0;
      DWORD size = 0;
      if (::RegQueryValueExW(key_, wideName->c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
      if (type != REG_SZ || size > kMaxValueBytes) return std::nullopt;
      std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
      DWORD got = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
      const LONG status =
          ::RegQueryValueExW(key_, wideName->c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &got);
      if (status == ERROR_MORE_DATA) continue;
      if (status != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
      // The stored bytes need not end with a terminator, nor stop at one.
      std::wstring_view text(buffer.data(), got / sizeof(wchar_t));
      if (const std::size_t end = text.find(L'\0'); end != std::wstring_view::npos) text = text.substr(0, end);
      return ToUtf8(text);
    }
    return std::nullopt;
  }

  bool WriteString(std::string_view name, std::string_view value) override {
    if (!writable_) return false;
    const auto wideName = ToWide(name);
    const auto wideValue = ToWide(value);
    if (!wideName || !wideValue) return false;
    const auto bytes = static_cast<DWORD>((wideValue->size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(key_, wideName->c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wideValue->c_str()),
                            bytes) == ERROR_SUCCESS;
  }

  bool Flush() override { return !writable_ || ::RegFlushKey(key_) == ERROR_SUCCESS; }

 private:
  HKEY key_;
  bool writable_;
};

}  // namespace

std::unique_ptr<IRegistryKey> WindowsRegistry::OpenKey(std::string_view path, RegistryAccess access) {
  const auto widePath = ToWide(path);
  if (!widePath) return nullptr;
  HKEY key = nullptr;
  if (access == RegistryAccess::ReadOnly) {
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, widePath->c_str(), 0, kReadAccess, &key) != ERROR_SUCCESS) return nullptr;
    return std::make_unique<Key>(key, false);
  }
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, widePath->c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, kAllAccess, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
    return nullptr;
  }
  return std::make_unique<Key>(key, true);
}

bool WindowsRegistry::DeleteKey(std::string_view path) {
  const auto widePath = ToWide(path);
  if (!widePath || widePath->empty()) return false;
  // The tree delete walks below the key it is given; opening the parent in
  // the 64-bit view first keeps the whole walk in that view.
  const std::size_t split = widePath->rfind(L'\\');
  const std::wstring parentPath = split == std::wstring::npos ? std::wstring() : widePath->substr(0, split);
  const std::wstring name = split == std::wstring::npos ? *widePath : widePath->substr(split + 1);
  HKEY parent = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, parentPath.c_str(), 0, kAllAccess, &parent) != ERROR_SUCCESS) return false;
  const LONG status = ::RegDeleteTreeW(parent, name.c_str());
  ::RegCloseKey(parent);
  return status == ERROR_SUCCESS;
}

}  // namespace ostrel::platform::win32
