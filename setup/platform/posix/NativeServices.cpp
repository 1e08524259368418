#include "setup/platform/Services.h"
#include "setup/platform/posix/FileRegistry.h"
#include "setup/platform/posix/MountDrives.h"
#include "setup/platform/posix/PosixSystem.h"
#include "setup/platform/posix/UserEnvironment.h"
#include "setup/platform/posix/UserShellFolders.h"

namespace ostrel::platform {

Services CreateNativeServices() {
  const posix::UserEnvironment env = posix::ReadUserEnvironment();
  Services services;
  services.registry = std::make_unique<posix::FileRegistry>(posix::HiveFolderFor(env));
  services.drives = posix::CreateSystemDrives(env.dataHome);
  services.shellFolders = std::make_unique<posix::UserShellFolders>(env);
  services.system = std::make_unique<posix::PosixSystem>();
  return services;
}

}  // namespace ostrel::platform
