#pragma once
// Shortcuts as desktop entry files: "Type=Application" with the program in
// "Exec", the working folder in "Path" and the file's base name in "Name",
// and any actions in "Actions=" with a "[Desktop Action <id>]" group each.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ostrel::platform::posix {

// A value of type string: backslash, line breaks and tabs escaped, and blanks
// at either end kept as \s so readers that trim values leave them. Nothing
// for other control characters, which such a value cannot carry.
std::optional<std::string> EscapeDesktopString(std::string_view value);

// One quoted argument of an Exec key, ready for the file: quoting escapes
// for " ` $ \, "%%" for a percent sign, then the string escapes on top.
std::optional<std::string> QuoteExecArgument(std::string_view argument);

struct DesktopAction {
  std::string id;  // ASCII letters, digits and '-'
  std::string name;
  std::string program;
};

// The whole entry text; nothing when a part cannot be written in the format.
std::optional<std::string> DesktopEntryText(std::string_view name, std::string_view program,
                                            std::string_view workingFolder,
                                            const std::vector<DesktopAction>& actions = {});

}  // namespace ostrel::platform::posix
