#pragma once
// The platform services the setup core uses, created once by the program and
// handed to the core by reference; tests hand in fakes instead.

#include <memory>

#include "setup/platform/Drives.h"
#include "setup/platform/Registry.h"
#include "setup/platform/ShellFolders.h"
#include "setup/platform/System.h"

namespace ostrel::platform {

struct Services {
  std::unique_ptr<IRegistry> registry;
  std::unique_ptr<IShellFolders> shellFolders;
  std::unique_ptr<IDrives> drives;
  std::unique_ptr<ISystem> system;
};

// The services of the platform the program runs on.
Services CreateNativeServices();

}  // namespace ostrel::platform
