#include "setup/platform/Sha1.h"

#include <array>
#include <bit>

namespace ostrel::platform {
namespace {

// SHA-1 as FIPS 180-4 gives it: 512-bit blocks, eighty rounds each, the
// message padded with a one bit, zeros and its length in bits, big-endian.
class Sha1State {
 public:
  void Block(const std::uint8_t* p) {
    std::array<std::uint32_t, 80> w{};
    for (std::size_t t = 0; t < 16; ++t) {
      w[t] = std::uint32_t{p[4 * t]} << 24 | std::uint32_t{p[4 * t + 1]} << 16 | std::uint32_t{p[4 * t + 2]} << 8 |
             std::uint32_t{p[4 * t + 3]};
    }
    for (std::size_t t = 16; t < 80; ++t) w[t] = std::rotl(w[t - 3] ^ w[t - 8] ^ w[t - 14] ^ w[t - 16], 1);

    std::uint32_t a = h_[0], b = h_[1], c = h_[2], d = h_[3], e = h_[4];
    for (std::size_t t = 0; t < 80; ++t) {
      std::uint32_t f = 0;
      std::uint32_t k = 0;
      if (t < 20) {
        f = (b & c) | (~b & d);
        k = 0x5A827999u;
      } else if (t < 40) {
        f = b ^ c ^ d;
        k = 0x6ED9EBA1u;
      } else if (t < 60) {
        f = (b & c) | (b & d) | (c & d);
        k = 0x8F1BBCDCu;
      } else {
        f = b ^ c ^ d;
        k = 0xCA62C1D6u;
      }
      const std::uint32_t next = std::rotl(a, 5) + f + e + k + w[t];
      e = d;
      d = c;
      c = std::rotl(b, 30);
      b = a;
      a = next;
    }
    h_[0] += a;
    h_[1] += b;
    h_[2] += c;
    h_[3] += d;
    h_[4] += e;
  }

  Sha1Digest Digest() const {
    Sha1Digest out{};
    for (std::size_t i = 0; i < 5; ++i) {
      for (std::size_t j = 0; j < 4; ++j) out[4 * i + j] = static_cast<std::uint8_t>(h_[i] >> (24 - 8 * j));
    }
    return out;
  }

 private:
  std::array<std::uint32_t, 5> h_{0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u, 0xC3D2E1F0u};
};

}  // namespace

Sha1Digest Sha1(std::span<const std::byte> bytes) {
  Sha1State state;
  const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data());
  std::size_t left = bytes.size();
  for (; left >= 64; p += 64, left -= 64) state.Block(p);

  // The tail, the one bit and the length take one block or, when fewer than
  // nine bytes are free after the tail, two.
  std::array<std::uint8_t, 128> tail{};
  for (std::size_t i = 0; i < left; ++i) tail[i] = p[i];
  tail[left] = 0x80;
  const std::size_t tailSize = left + 9 <= 64 ? 64 : 128;
  const std::uint64_t bits = static_cast<std::uint64_t>(bytes.size()) * 8;
  for (std::size_t i = 0; i < 8; ++i) tail[tailSize - 1 - i] = static_cast<std::uint8_t>(bits >> (8 * i));
  state.Block(tail.data());
  if (tailSize == 128) state.Block(tail.data() + 64);
  return state.Digest();
}

}  // namespace ostrel::platform
