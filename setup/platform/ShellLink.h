#pragma once
// Shortcuts, one to one with the shell link object (CLSID_ShellLink through
// IShellLinkW and IPersistFile). On POSIX a shortcut is a desktop entry file.

#include <memory>
#include <string>
#include <string_view>

#include "setup/platform/PathStyle.h"

namespace ostrel::platform {

// ".lnk" on Windows, ".desktop" on POSIX.
std::string_view ShortcutSuffix(PathStyle style);

class IShellLink {
 public:
  // Releases the link object and uninitialises COM on the thread that made
  // it (CoUninitialize).
  virtual ~IShellLink() = default;

  // IShellLinkW::SetPath: the program the shortcut starts.
  virtual bool SetPath(const std::string& target) = 0;

  // IShellLinkW::SetWorkingDirectory.
  virtual bool SetWorkingDirectory(const std::string& folder) = 0;

  // A further thing the shortcut offers to do, shown by its name, which
  // starts `program`: a desktop action on POSIX (the Desktop Entry
  // "Actions="). Windows links have none, and there the system's list of
  // programs offers the uninstall: nothing is done and true is returned.
  // `id` is the action's key: ASCII letters, digits and '-' only.
  virtual bool AddAction(std::string_view id, std::string_view name, const std::string& program) = 0;

  // IPersistFile::Save with fRemember false: writes the shortcut file at
  // path, replacing one that is there. The folder must exist.
  virtual bool Save(const std::string& path) = 0;
};

// Initialises COM for the calling thread (CoInitialize) and creates the link
// object with both interfaces; nothing when any of that fails. The object
// belongs to the calling thread.
std::unique_ptr<IShellLink> CreateShellLink();

}  // namespace ostrel::platform
