#pragma once
// File-name and path rules that differ between Windows and POSIX. Every rule
// takes the style as a parameter so the Windows flavour runs (and is tested)
// on any host; Native stands for the platform the program was built for.

#include <cstdint>
#include <string>
#include <string_view>

namespace ostrel::platform {

enum class PathStyle : std::uint8_t { Windows, Posix, Native };

// Native resolved to the build platform; Windows and Posix stay as they are.
constexpr PathStyle Resolve(PathStyle style) {
  if (style != PathStyle::Native) return style;
#ifdef _WIN32
  return PathStyle::Windows;
#else
  return PathStyle::Posix;
#endif
}

// The separator the style writes ('\' or '/').
char Separator(PathStyle style);

// Whether c separates path components; Windows also accepts '/'.
bool IsSeparator(char c, PathStyle style);

// ".exe" on Windows, empty on POSIX.
std::string_view ExecutableSuffix(PathStyle style);

// base + the executable suffix: "Ostrel" → "Ostrel.exe" / "Ostrel".
std::string ExecutableName(std::string_view base, PathStyle style);

// The uninstaller's file name: "Uninstall.exe" / "Uninstall".
std::string UninstallerFileName(PathStyle style);

// The part after the last separator (on Windows also after a drive colon).
std::string_view FileNamePart(std::string_view path, PathStyle style);

// The folder part including its trailing separator; empty when there is none.
std::string_view FolderPart(std::string_view path, PathStyle style);

// The program's name: on Windows the file-name part without its last
// extension, whatever it is, as the system's own name handling strips it
// ("OstrelSetup.web.exe" → "OstrelSetup.web", a setup renamed to
// "OstrelSetup.web" → "OstrelSetup"). POSIX programs carry no suffix, so
// there "OstrelSetup.web" stays whole and its last extension remains part
// of the name.
std::string_view ProgramBaseName(std::string_view path, PathStyle style);

// Whether two file names are equal ignoring the case of ASCII letters.
bool SameFileNameIgnoringCase(std::string_view a, std::string_view b);

// Whether path lies at or below the drive root or mount point `root`. Windows
// roots end in a separator ("C:\") and the test is a plain, case-sensitive
// prefix; POSIX mount points ("/", "/home") must match whole components.
bool PathIsUnderRoot(std::string_view path, std::string_view root, PathStyle style);

// Whether path names its place without reference to a current folder or
// drive: "/..." on POSIX; "C:\...", "C:/..." or a UNC "\\server\share\..."
// on Windows, where "C:name" and "\name" still depend on the current ones.
bool IsAbsolutePath(std::string_view path, PathStyle style);

// folder + name with exactly one separator between them: "D:\" + "Ostrel" →
// "D:\Ostrel", "/data" + "Ostrel" → "/data/Ostrel".
std::string JoinPath(std::string_view folder, std::string_view name, PathStyle style);

// folder with one trailing separator (unchanged when it already has one).
std::string WithTrailingSeparator(std::string_view folder, PathStyle style);

}  // namespace ostrel::platform
