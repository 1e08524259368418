#pragma once
// The system's narrow ("ANSI") encoding: the active code page on Windows, the
// locale's character set (LC_CTYPE) on POSIX.

#include <cstddef>
#include <optional>
#include <span>
#include <string>

namespace ostrel::platform {

// The bytes converted to UTF-8; nullopt when they are not valid in the
// narrow encoding.
std::optional<std::string> NarrowToUtf8(std::span<const std::byte> bytes);

}  // namespace ostrel::platform
