#pragma once
// The POSIX backend's file-descriptor handle and whole-buffer write.

#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <span>
#include <string_view>
#include <utility>

namespace ostrel::platform {

// Owns one file descriptor and closes it when it goes; -1 holds none.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.fd_, -1));
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() { Reset(); }

  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }
  // Hands the descriptor to the caller, who closes it.
  int Release() { return std::exchange(fd_, -1); }
  // Closes the held descriptor and holds fd instead.
  void Reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }
  // Closes now and reports whether the kernel accepted the last writes.
  bool Close() {
    const int fd = std::exchange(fd_, -1);
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int fd_ = -1;
};

// Writes every byte, retrying short and interrupted writes.
inline bool WriteAll(int fd, std::span<const std::byte> bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes = bytes.subspan(static_cast<std::size_t>(n));
  }
  return true;
}

inline bool WriteAll(int fd, std::string_view text) { return WriteAll(fd, std::as_bytes(std::span(text))); }

}  // namespace ostrel::platform
