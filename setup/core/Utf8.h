#pragma once
// Strict UTF-8 checks and the UTF-16 view of UTF-8 text.

#include <optional>
#include <string>
#include <string_view>

namespace ostrel::setup {

// Well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF,
// no truncated sequence.
bool IsValidUtf8(std::string_view bytes);

// The UTF-16 code units of well-formed UTF-8 text; nullopt otherwise.
std::optional<std::u16string> Utf8ToUtf16(std::string_view bytes);

// The text with each malformed sequence replaced by U+FFFD, so that bytes
// from outside (a POSIX file name may hold any) still make valid text.
std::string ReplaceInvalidUtf8(std::string_view bytes);

}  // namespace ostrel::setup
