#include "setup/platform/TextEncoding.h"

#include <windows.h>

#include <climits>

#include "setup/platform/win32/WideText.h"

namespace ostrel::platform {

std::optional<std::string> NarrowToUtf8(std::span<const std::byte> bytes) {
  if (bytes.empty()) return std::string();
  if (bytes.size() > static_cast<std::size_t>(INT_MAX)) return std::nullopt;
  const auto* text = reinterpret_cast<const char*>(bytes.data());
  const int length = static_cast<int>(bytes.size());
  const int needed = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, length, nullptr, 0);
  if (needed <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  if (::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, length, wide.data(), needed) != needed) {
    return std::nullopt;
  }
  return win32::ToUtf8(wide);
}

}  // namespace ostrel::platform
