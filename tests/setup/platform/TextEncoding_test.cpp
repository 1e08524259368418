#include "setup/platform/TextEncoding.h"

#include <clocale>
#include <span>
#include <string>

#include <gtest/gtest.h>

namespace ostrel::platform {
namespace {

std::optional<std::string> Narrow(const std::string& bytes) {
  return NarrowToUtf8(std::as_bytes(std::span(bytes)));
}

// The narrow encoding is whatever the locale's character set is.
class NarrowEncodingTest : public ::testing::Test {
 protected:
  void TearDown() override { std::setlocale(LC_CTYPE, "C"); }
};

TEST_F(NarrowEncodingTest, FollowsTheLocalesCharacterSet) {
  ASSERT_NE(std::setlocale(LC_CTYPE, "C"), nullptr);
  EXPECT_EQ(Narrow("plain\n"), "plain\n");
  EXPECT_EQ(Narrow("caf\xC3\xA9"), std::nullopt);

  if (std::setlocale(LC_CTYPE, "C.UTF-8") == nullptr) GTEST_SKIP() << "no C.UTF-8 locale";
  EXPECT_EQ(Narrow("caf\xC3\xA9"), "caf\xC3\xA9");
  EXPECT_EQ(Narrow("bad \xFF"), std::nullopt);
  EXPECT_EQ(Narrow(std::string(10000, 'x') + "\xC3\xA9"), std::string(10000, 'x') + "\xC3\xA9");
  EXPECT_EQ(Narrow(""), "");
}

}  // namespace
}  // namespace ostrel::platform
