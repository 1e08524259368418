#pragma once
// Splits a command line the way CommandLineToArgvW does, so that one command
// string means the same program and arguments on every platform.

#include <string>
#include <string_view>
#include <vector>

namespace ostrel::platform {

// The program comes first: a leading quote runs to the next quote with no
// escapes, otherwise it runs to the first blank. The arguments after it follow
// the argument rules: blanks (space, tab) separate outside quotes; 2n
// backslashes before a quote give n backslashes and the quote toggles quoting;
// 2n+1 give n backslashes and a literal quote; other backslashes are literal;
// inside quotes a doubled quote gives one literal quote and ends the quoting.
// An empty or blank command line gives no words at all.
std::vector<std::string> SplitWindowsCommandLine(std::string_view commandLine);

}  // namespace ostrel::platform
