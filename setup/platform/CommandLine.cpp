#include "setup/platform/CommandLine.h"

namespace ostrel::platform {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::vector<std::string> SplitWindowsCommandLine(std::string_view commandLine) {
  std::vector<std::string> words;
  std::size_t i = 0;
  const std::size_t n = commandLine.size();
  while (i < n && IsBlank(commandLine[i])) ++i;
  if (i == n) return words;

  std::string program;
  if (commandLine[i] == '"') {
    ++i;
    while (i < n && commandLine[i] != '"') program += commandLine[i++];
    if (i < n) ++i;
  } else {
    while (i < n && !IsBlank(commandLine[i])) program += commandLine[i++];
  }
  words.push_back(std::move(program));

  // quoteCount follows the system parser: 1 while inside quotes, and a run of
  // quotes that reaches 3 yields one literal quote and leaves quoting.
  std::string current;
  int quoteCount = 0;
  std::size_t backslashes = 0;
  while (true) {
    while (i < n && IsBlank(commandLine[i])) ++i;
    if (i == n) break;
    current.clear();
    quoteCount = 0;
    backslashes = 0;
    while (i < n) {
      const char c = commandLine[i];
      if (IsBlank(c) && quoteCount == 0) break;
      if (c == '\\') {
        current += c;
        ++backslashes;
        ++i;
      } else if (c == '"') {
        if (backslashes % 2 == 0) {
          current.resize(current.size() - backslashes / 2);
          ++quoteCount;
        } else {
          current.resize(current.size() - backslashes / 2 - 1);
          current += '"';
        }
        backslashes = 0;
        ++i;
        while (i < n && commandLine[i] == '"') {
          if (++quoteCount == 3) {
            current += '"';
            quoteCount = 0;
          }
          ++i;
        }
        if (quoteCount == 2) quoteCount = 0;
      } else {
        current += c;
        backslashes = 0;
        ++i;
      }
    }
    words.push_back(current);
  }
  return words;
}

}  // namespace ostrel::platform
