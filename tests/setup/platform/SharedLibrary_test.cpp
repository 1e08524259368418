#include "setup/platform/SharedLibrary.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using ostrel::platform::SharedLibrary;

std::vector<std::byte> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<char> chars{std::istreambuf_iterator<char>(in), {}};
  const auto bytes = std::as_bytes(std::span(chars));
  return {bytes.begin(), bytes.end()};
}

// A module given as bytes loads without a file of its own and yields its
// functions; bytes that are no module, and names that open nothing, give
// nothing rather than a half-loaded library.
TEST(SharedLibrary, LoadsAModuleFromItsBytesAndRefusesWhatIsNone) {
  const auto bytes = ReadBytes(OSTREL_ANSWER_MODULE);
  const auto first = SharedLibrary::OpenBytes(bytes, "answer");
  ASSERT_TRUE(first);
  int (*answer)() = nullptr;
  ASSERT_TRUE(first->Bind(answer, "OstrelAnswer"));
  EXPECT_EQ(answer(), 42);
  EXPECT_FALSE(first->Bind(answer, "NoSuchFunction"));
  EXPECT_EQ(answer, nullptr);

  // While one module is loaded, bytes that are none must not be mistaken for it.
  const std::string junk = "\x7f" "ELF but nothing after it";
  EXPECT_FALSE(SharedLibrary::OpenBytes(std::as_bytes(std::span(junk)), "junk"));
  EXPECT_FALSE(SharedLibrary::OpenBytes({}, "empty"));
  EXPECT_FALSE(SharedLibrary::OpenFirst({"libno-such-library.so.9", "/nowhere/libalso-none.so"}));

  // A second copy is a module of its own, not the first one again.
  const auto second = SharedLibrary::OpenBytes(bytes, "answer");
  ASSERT_TRUE(second);
  int (*again)() = nullptr;
  ASSERT_TRUE(second->Bind(again, "OstrelAnswer"));
  ASSERT_TRUE(first->Bind(answer, "OstrelAnswer"));
  EXPECT_NE(again, answer);
}

}  // namespace
