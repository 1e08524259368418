#pragma once
// Shell special folders by CSIDL, one to one with SHGetFolderPathW (no owner
// window, no access token, flags 0).

#include <string>

namespace ostrel::platform {

inline constexpr int CSIDL_DESKTOP = 0x0000;
inline constexpr int CSIDL_APPDATA = 0x001A;

class IShellFolders {
 public:
  virtual ~IShellFolders() = default;

  // The folder's file-system path without a trailing separator, or an empty
  // string when the folder cannot be resolved.
  virtual std::string GetFolderPath(int csidl) const = 0;
};

}  // namespace ostrel::platform
