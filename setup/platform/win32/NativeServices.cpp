#include "setup/platform/Services.h"
#include "setup/platform/win32/WindowsRegistry.h"
#include "setup/platform/win32/WindowsShell.h"
#include "setup/platform/win32/WindowsSystem.h"

namespace ostrel::platform {

Services CreateNativeServices() {
  Services services;
  services.registry = std::make_unique<win32::WindowsRegistry>();
  services.shellFolders = std::make_unique<win32::WindowsShellFolders>();
  services.drives = std::make_unique<win32::WindowsDrives>();
  services.system = std::make_unique<win32::WindowsSystem>();
  return services;
}

}  // namespace ostrel::platform
