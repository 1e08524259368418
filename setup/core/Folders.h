#pragma once
// The shell folders the setup forms paths under.

#include <string>

#include "setup/platform/PathStyle.h"
#include "setup/platform/ShellFolders.h"

namespace ostrel::setup {

class SpecialFolders {
 public:
  SpecialFolders(const platform::IShellFolders& shell, platform::PathStyle style);

  // The folder's path, or "" when the shell cannot resolve it.
  std::string GetSpecialFolder(int csidl) const;

  // The roaming application data folder, without a trailing separator.
  std::string HomeFolder() const;

  // Where start-menu shortcuts go: the home folder +
  // "\Microsoft\Windows\Start Menu\Programs" on Windows, the XDG data home's
  // "applications" folder on POSIX.
  std::string StartMenuProgramsFolder() const;

 private:
  const platform::IShellFolders& shell_;
  platform::PathStyle style_;
};

}  // namespace ostrel::setup
