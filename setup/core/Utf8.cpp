#include "setup/core/Utf8.h"

#include <cstdint>

namespace ostrel::setup {
namespace {

// Decodes one code point at text[i], advancing i; -1 on malformed input.
std::int32_t NextCodePoint(std::string_view text, std::size_t& i) {
  const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(text[k]); };
  const std::uint8_t lead = byte(i);
  if (lead < 0x80) {
    ++i;
    return lead;
  }
  std::size_t length = 0;
  std::int32_t value = 0;
  std::int32_t minimum = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1F;
    minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0F;
    minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07;
    minimum = 0x10000;
  } else {
    return -1;
  }
  if (text.size() - i < length) return -1;
  for (std::size_t k = 1; k < length; ++k) {
    const std::uint8_t next = byte(i + k);
    if ((next & 0xC0) != 0x80) return -1;
    value = (value << 6) | (next & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return -1;
  i += length;
  return value;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size())
    if (NextCodePoint(bytes, i) < 0) return false;
  return true;
}

std::string ReplaceInvalidUtf8(std::string_view bytes) {
  std::string result;
  result.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    const std::size_t start = i;
    if (NextCodePoint(bytes, i) < 0) {
      result += "\xEF\xBF\xBD";
      i = start + 1;
    } else {
      result.append(bytes.substr(start, i - start));
    }
  }
  return result;
}

std::optional<std::u16string> Utf8ToUtf16(std::string_view bytes) {
  std::u16string result;
  result.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    const std::int32_t value = NextCodePoint(bytes, i);
    if (value < 0) return std::nullopt;
    if (value < 0x10000) {
      result += static_cast<char16_t>(value);
    } else {
      const std::int32_t offset = value - 0x10000;
      result += static_cast<char16_t>(0xD800 + (offset >> 10));
      result += static_cast<char16_t>(0xDC00 + (offset & 0x3FF));
    }
  }
  return result;
}

}  // namespace ostrel::setup
