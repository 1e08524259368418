#pragma once
// The Windows backend's conversions between the core's UTF-8 text and the
// system's UTF-16, and its owner of kernel handles.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace ostrel::platform::win32 {

// Nothing when the bytes are not well-formed UTF-8: a name the core could
// not have meant must never reach the system as some other name.
std::optional<std::wstring> ToWide(std::string_view utf8);

// UTF-16 from the system as UTF-8. A lone surrogate, which file names may
// hold, becomes U+FFFD, so the result is always valid text.
std::string ToUtf8(std::wstring_view wide);

// Owns one kernel handle and closes it when it goes. Both null and
// INVALID_HANDLE_VALUE mean none, as the system's calls return either.
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Reset(); }

  HANDLE Get() const { return handle_; }
  bool Valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Release() { return std::exchange(handle_, nullptr); }
  void Reset(HANDLE handle = nullptr) {
    if (Valid()) ::CloseHandle(handle_);
    handle_ = handle;
  }

 private:
  HANDLE handle_ = nullptr;
};

}  // namespace ostrel::platform::win32
