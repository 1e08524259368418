#pragma once
// The user's folders as the XDG base-directory rules define them.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace ostrel::platform::posix {

struct UserEnvironment {
  std::string home;        // $HOME, else the password database's entry
  std::string configHome;  // $XDG_CONFIG_HOME, else home + "/.config"
  std::string dataHome;    // $XDG_DATA_HOME, else home + "/.local/share"
  std::string cacheHome;   // $XDG_CACHE_HOME, else home + "/.cache"
};

using EnvironmentLookup = std::function<std::optional<std::string>(std::string_view name)>;

// Relative or empty settings are ignored, as the XDG rules ask.
UserEnvironment ResolveUserEnvironment(const EnvironmentLookup& lookup, std::string_view passwdHome);

// The environment of this process.
UserEnvironment ReadUserEnvironment();

// The desktop folder named by XDG_DESKTOP_DIR in a user-dirs.dirs text
// ("$HOME/…" or an absolute path, in double quotes), else home + "/Desktop".
std::string DesktopFolderFromUserDirs(std::string_view userDirsText, std::string_view home);

}  // namespace ostrel::platform::posix
