#include "setup/platform/CommandLine.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace ostrel::platform {
namespace {

struct SplitCase {
  const char* commandLine;
  std::vector<std::string> words;
};

void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.commandLine; }

class SplitWindowsCommandLineTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitWindowsCommandLineTest, SplitsLikeTheSystemParser) {
  EXPECT_EQ(SplitWindowsCommandLine(GetParam().commandLine), GetParam().words)
      << "command line: " << GetParam().commandLine;
}

INSTANTIATE_TEST_SUITE_P(
    Table, SplitWindowsCommandLineTest,
    ::testing::Values(
        SplitCase{"", {}},
        SplitCase{" \t ", {}},
        SplitCase{"taskkill.exe /f /im Ostrel.exe", {"taskkill.exe", "/f", "/im", "Ostrel.exe"}},
        SplitCase{"  a\t\tb  ", {"a", "b"}},
        // The program part takes backslashes and quotes without escaping.
        SplitCase{R"("C:\Program Files\Ostrel\Uninstall.exe" update)",
                  {R"(C:\Program Files\Ostrel\Uninstall.exe)", "update"}},
        SplitCase{R"("D:\\" x)", {R"(D:\\)", "x"}},
        SplitCase{R"(a\"b c)", {R"(a\"b)", "c"}},
        SplitCase{R"("unterminated program)", {"unterminated program"}},
        SplitCase{R"(p"q r)", {R"(p"q)", "r"}},
        // Argument rules.
        SplitCase{R"(p "a b" c)", {"p", "a b", "c"}},
        SplitCase{R"(p a\\b)", {"p", R"(a\\b)"}},
        SplitCase{R"(p a\"b)", {"p", R"(a"b)"}},
        SplitCase{R"(p a\\"b c")", {"p", R"(a\b c)"}},
        SplitCase{R"(p a\\\"b)", {"p", R"(a\"b)"}},
        SplitCase{R"(p a\\\\"b c")", {"p", R"(a\\b c)"}},
        SplitCase{R"(p "C:\dir\\" next)", {"p", R"(C:\dir\)", "next"}},
        SplitCase{R"(p "" x)", {"p", "", "x"}},
        SplitCase{R"(p "a""b")", {"p", R"(a"b)"}},
        SplitCase{R"(p "a""b c")", {"p", R"(a"b)", "c"}},
        SplitCase{R"(p """)", {"p", R"(")"}},
        SplitCase{R"(p a"b c"d e)", {"p", "ab cd", "e"}},
        SplitCase{R"(p "open end)", {"p", "open end"}},
        SplitCase{R"(p x -pZq4vTe -aoa "C:\T\a b.tmp" "-oD:\Ostrel\\")",
                  {"p", "x", "-pZq4vTe", "-aoa", R"(C:\T\a b.tmp)", R"(-oD:\Ostrel\)"}}));

}  // namespace
}  // namespace ostrel::platform
