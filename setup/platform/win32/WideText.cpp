#include "setup/platform/win32/WideText.h"

#include <climits>

namespace ostrel::platform::win32 {

std::optional<std::wstring> ToWide(std::string_view utf8) {
  if (utf8.empty()) return std::wstring();
  if (utf8.size() > static_cast<std::size_t>(INT_MAX)) return std::nullopt;
  const int length = static_cast<int>(utf8.size());
  const int needed = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, nullptr, 0);
  if (needed <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  if (::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, wide.data(), needed) != needed) {
    return std::nullopt;
  }
  return wide;
}

std::string ToUtf8(std::wstring_view wide) {
  if (wide.empty() || wide.size() > static_cast<std::size_t>(INT_MAX)) return {};
  const int length = static_cast<int>(wide.size());
  // Without WC_ERR_INVALID_CHARS a lone surrogate turns into U+FFFD.
  const int needed = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return {};
  std::string utf8(static_cast<std::size_t>(needed), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, utf8.data(), needed, nullptr, nullptr);
  return utf8;
}

}  // namespace ostrel::platform::win32
