#include "setup/platform/Crc32.h"

#include <array>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define OSTREL_CRC32_FOLDING 1
#endif

namespace ostrel::platform {
namespace {

constexpr std::uint32_t kPolynomial = 0xEDB88320u;

// Eight tables so the portable loop folds eight bytes per step.
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

std::uint32_t UpdateWithTables(std::uint32_t c, const std::byte* p, std::size_t n) {
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
  return c;
}

#ifdef OSTREL_CRC32_FOLDING

#define OSTREL_FOLDING_TARGET __attribute__((target("pclmul,sse4.1")))

OSTREL_FOLDING_TARGET inline __m128i Load(const std::byte* at) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

// a carried forward by the distance k stands for, with next added.
OSTREL_FOLDING_TARGET inline __m128i Fold(__m128i a, __m128i k, __m128i next) {
  return _mm_xor_si128(_mm_xor_si128(_mm_clmulepi64_si128(a, k, 0x00), _mm_clmulepi64_si128(a, k, 0x11)), next);
}

// Payloads of tens of megabytes are checked on every install, and the table
// loop runs at about 2 GB/s. Carry-less multiplication folds 64 bytes per
// step instead: four 128-bit lanes are each carried 512 bits forward and the
// next bytes added, then the lanes are folded into one, reduced to 64 and
// then to 32 bits (Barrett). The constants are powers of x modulo the
// polynomial, bit-reflected like the checksum itself. Takes n >= 64, a
// multiple of 16; the state goes in and out in the table loop's form.
OSTREL_FOLDING_TARGET std::uint32_t FoldWithCarrylessMultiply(std::uint32_t state, const std::byte* p,
                                                              std::size_t n) {
  const __m128i k1k2 = _mm_set_epi64x(0x01c6e41596, 0x0154442bd4);     // 512-bit fold
  const __m128i k3k4 = _mm_set_epi64x(0x00ccaa009e, 0x01751997d0);     // 128-bit fold
  const __m128i k5 = _mm_set_epi64x(0, 0x0163cd6124);                  // 64-bit fold
  const __m128i barrett = _mm_set_epi64x(0x01f7011641, 0x01db710641);  // quotient, polynomial
  const __m128i low32 = _mm_setr_epi32(~0, 0, ~0, 0);

  __m128i x1 = _mm_xor_si128(Load(p), _mm_cvtsi32_si128(static_cast<int>(state)));
  __m128i x2 = Load(p + 16);
  __m128i x3 = Load(p + 32);
  __m128i x4 = Load(p + 48);
  p += 64;
  n -= 64;
  for (; n >= 64; p += 64, n -= 64) {
    x1 = Fold(x1, k1k2, Load(p));
    x2 = Fold(x2, k1k2, Load(p + 16));
    x3 = Fold(x3, k1k2, Load(p + 32));
    x4 = Fold(x4, k1k2, Load(p + 48));
  }
  x1 = Fold(x1, k3k4, x2);
  x1 = Fold(x1, k3k4, x3);
  x1 = Fold(x1, k3k4, x4);
  for (; n >= 16; p += 16, n -= 16) x1 = Fold(x1, k3k4, Load(p));

  // 128 -> 64 bits.
  x1 = _mm_xor_si128(_mm_srli_si128(x1, 8), _mm_clmulepi64_si128(x1, k3k4, 0x10));
  x1 = _mm_xor_si128(_mm_srli_si128(x1, 4), _mm_clmulepi64_si128(_mm_and_si128(x1, low32), k5, 0x00));
  // 64 -> 32 bits.
  __m128i t = _mm_clmulepi64_si128(_mm_and_si128(x1, low32), barrett, 0x10);
  t = _mm_clmulepi64_si128(_mm_and_si128(t, low32), barrett, 0x00);
  return static_cast<std::uint32_t>(_mm_extract_epi32(_mm_xor_si128(x1, t), 1));
}

bool CanFold() {
  static const bool can = __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
  return can;
}

#endif

}  // namespace

void Crc32::Update(std::span<const std::byte> bytes) {
  const std::byte* p = bytes.data();
  std::size_t n = bytes.size();
#ifdef OSTREL_CRC32_FOLDING
  if (n >= 64 && CanFold()) {
    const std::size_t folded = n & ~std::size_t{15};
    state_ = FoldWithCarrylessMultiply(state_, p, folded);
    p += folded;
    n -= folded;
  }
#endif
  state_ = UpdateWithTables(state_, p, n);
}

std::uint32_t Crc32::PortableOf(std::span<const std::byte> bytes) {
  return ~UpdateWithTables(0xFFFFFFFFu, bytes.data(), bytes.size());
}

}  // namespace ostrel::platform
