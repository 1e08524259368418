#include "setup/app/WindowModuleLoader.h"

#include <memory>

#include "setup/platform/PathStyle.h"
#include "setup/platform/SharedLibrary.h"

namespace ostrel::app {

const WindowModule* LoadWindowModule(const platform::ExecutableResources* resources, const std::string& programPath) {
  static const std::unique_ptr<platform::SharedLibrary> library = [&]() -> std::unique_ptr<platform::SharedLibrary> {
    // A resource is found only when its checksum holds.
    if (const auto bytes = resources != nullptr ? resources->Find("gui") : std::nullopt) {
      return platform::SharedLibrary::OpenBytes(*bytes, kWindowModuleFile);
    }
    const std::string folder(platform::FolderPart(programPath, platform::PathStyle::Native));
    return platform::SharedLibrary::OpenFirst({folder + kWindowModuleFile});
  }();
  WindowModuleEntry* entry = nullptr;
  if (!library || !library->Bind(entry, kWindowModuleEntry)) return nullptr;
  return entry();
}

}  // namespace ostrel::app
