#pragma once
// Shell folders of a POSIX desktop: the desktop from xdg-user-dirs, the
// roaming application data folder as the XDG data home.

#include "setup/platform/ShellFolders.h"
#include "setup/platform/posix/UserEnvironment.h"

namespace ostrel::platform::posix {

class UserShellFolders final : public IShellFolders {
 public:
  explicit UserShellFolders(UserEnvironment env);

  // CSIDL_DESKTOP and CSIDL_APPDATA; any other folder is unresolved ("").
  std::string GetFolderPath(int csidl) const override;

 private:
  UserEnvironment env_;
};

}  // namespace ostrel::platform::posix
