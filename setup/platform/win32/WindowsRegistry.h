#pragma once
// The current user's hive of the Windows registry, always in its 64-bit view.

#include "setup/platform/Registry.h"

namespace ostrel::platform::win32 {

class WindowsRegistry final : public IRegistry {
 public:
  std::unique_ptr<IRegistryKey> OpenKey(std::string_view path, RegistryAccess access) override;
  bool DeleteKey(std::string_view path) override;
};

}  // namespace ostrel::platform::win32
