#include "setup/platform/Crc32.h"

#include <array>

namespace ostrel::platform {
namespace {

constexpr std::uint32_t kPolynomial = 0xEDB88320u;

// Eight tables so the main loop folds eight bytes per step; payloads run to
// tens of megabytes and are checked on every extraction.
using Tables = std::array<std::array<std::uint32_t, 256>, 8>;

constexpr Tables MakeTables() {
  Tables t{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1u) ? (c >> 1) ^ kPolynomial : c >> 1;
    t[0][i] = c;
  }
  for (std::uint32_t i = 0; i < 256; ++i) {
    for (std::size_t s = 1; s < 8; ++s) t[s][i] = (t[s - 1][i] >> 8) ^ t[0][t[s - 1][i] & 0xFFu];
  }
  return t;
}

constexpr Tables kTables = MakeTables();

std::uint32_t Byte(std::byte b) { return static_cast<std::uint32_t>(b); }

}  // namespace

void Crc32::Update(std::span<const std::byte> bytes) {
  std::uint32_t c = state_;
  const std::byte* p = bytes.data();
  std::size_t n = bytes.size();
  while (n >= 8) {
    const std::uint32_t lo = c ^ (Byte(p[0]) | Byte(p[1]) << 8 | Byte(p[2]) << 16 | Byte(p[3]) << 24);
    const std::uint32_t hi = Byte(p[4]) | Byte(p[5]) << 8 | Byte(p[6]) << 16 | Byte(p[7]) << 24;
    c = kTables[7][lo & 0xFFu] ^ kTables[6][(lo >> 8) & 0xFFu] ^ kTables[5][(lo >> 16) & 0xFFu] ^
        kTables[4][lo >> 24] ^ kTables[3][hi & 0xFFu] ^ kTables[2][(hi >> 8) & 0xFFu] ^
        kTables[1][(hi >> 16) & 0xFFu] ^ kTables[0][hi >> 24];
    p += 8;
    n -= 8;
  }
  while (n-- > 0) c = (c >> 8) ^ kTables[0][(c ^ Byte(*p++)) & 0xFFu];
  state_ = c;
}

}  // namespace ostrel::platform
