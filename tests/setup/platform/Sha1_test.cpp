#include "setup/platform/Sha1.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

ostrel::platform::Sha1Digest FromHex(std::string_view hex) {
  ostrel::platform::Sha1Digest digest{};
  for (std::size_t i = 0; i < digest.size(); ++i) {
    digest[i] = static_cast<std::uint8_t>(std::stoi(std::string(hex.substr(2 * i, 2)), nullptr, 16));
  }
  return digest;
}

// The published test messages, and lengths on each side of the point where
// the padding needs a second block (55/56 bytes) and of a whole block.
TEST(Sha1, MatchesThePublishedDigests) {
  struct Case {
    std::string message;
    const char* digest;
  };
  const Case cases[] = {
      {"", "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
      {"abc", "a9993e364706816aba3e25717850c26c9cd0d89d"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
      {std::string(55, 'a'), "c1c8bbdc22796e28c0e15163d20899b65621d65a"},
      {std::string(56, 'a'), "c2db330f6083854c99d4b5bfb6e8f29f201be699"},
      {std::string(64, 'a'), "0098ba824b5c16427bd7a1122a5a442a25ec644d"},
      {std::string(1000000, 'a'), "34aa973cd4c4daa4f61eeb2bdbad27316534016f"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ostrel::platform::Sha1(std::as_bytes(std::span(c.message))), FromHex(c.digest))
        << c.message.size() << " bytes";
  }
}

}  // namespace
