#include "setup/platform/win32/WindowsShell.h"

#include <windows.h>
#include <shlobj.h>

// The interface's name, not the system's narrow/wide switch.
#undef GetDriveType

#include "setup/platform/win32/WideText.h"

namespace ostrel::platform::win32 {

std::string WindowsShellFolders::GetFolderPath(int csidl) const {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, 0, path))) return {};
  std::wstring_view folder(path);
  // A drive root is the one folder the shell hands back with a separator.
  while (folder.size() > 3 && (folder.back() == L'\\' || folder.back() == L'/')) folder.remove_suffix(1);
  return ToUtf8(folder);
}

std::vector<std::string> WindowsDrives::LogicalDriveRoots() const {
  std::vector<std::string> roots;
  const DWORD mask = ::GetLogicalDrives();
  for (int letter = 0; letter < 26; ++letter) {
    if ((mask & (1u << letter)) != 0) roots.push_back(std::string(1, static_cast<char>('A' + letter)) + ":\\");
  }
  return roots;
}

DriveType WindowsDrives::GetDriveType(const std::string& root) const {
  const auto wide = ToWide(root);
  if (!wide) return DriveType::dtNoRootDir;
  const UINT type = ::GetDriveTypeW(wide->c_str());
  return type <= DRIVE_RAMDISK ? static_cast<DriveType>(type) : DriveType::dtUnknown;
}

}  // namespace ostrel::platform::win32
