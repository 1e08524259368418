#include "setup/core/Utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace ostrel::setup {
namespace {

struct Utf8Case {
  const char* name;
  std::string bytes;
  bool valid;
  std::string replaced;
};

TEST(Utf8Test, AcceptsOnlyWellFormedText) {
  const Utf8Case cases[] = {
      {"ascii and nul", std::string("a\0b", 3), true, std::string("a\0b", 3)},
      {"two to four bytes", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", true,
       "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"},
      {"highest code point", "\xF4\x8F\xBF\xBF", true, "\xF4\x8F\xBF\xBF"},
      {"stray continuation", "a\x80" "b", false, "a\xEF\xBF\xBD" "b"},
      {"overlong slash", "\xC0\xAF", false, "\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"overlong three bytes", "\xE0\x80\xAF", false, "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"surrogate", "\xED\xA0\x80", false, "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"above U+10FFFF", "\xF4\x90\x80\x80", false,
       "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"truncated at end", "ok\xE2\x82", false, "ok\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"lead byte FF", "\xFF", false, "\xEF\xBF\xBD"},
  };
  for (const Utf8Case& c : cases) {
    EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.name;
    EXPECT_EQ(Utf8ToUtf16(c.bytes).has_value(), c.valid) << c.name;
    EXPECT_EQ(ReplaceInvalidUtf8(c.bytes), c.replaced) << c.name;
  }
}

TEST(Utf8Test, GivesUtf16CodeUnitsWithSurrogatePairs) {
  EXPECT_EQ(Utf8ToUtf16("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"),
            std::u16string(u"a\u00E9\u20AC\xD83D\xDE00"));
}

}  // namespace
}  // namespace ostrel::setup
