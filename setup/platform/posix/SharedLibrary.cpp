#include "setup/platform/posix/SharedLibrary.h"

#include <dlfcn.h>

namespace ostrel::platform {

std::unique_ptr<SharedLibrary> SharedLibrary::OpenFirst(const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    // Local: its symbols stay out of the way of everything loaded later.
    if (void* handle = ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL)) {
      return std::unique_ptr<SharedLibrary>(new SharedLibrary(handle));
    }
  }
  return nullptr;
}

SharedLibrary::~SharedLibrary() { ::dlclose(handle_); }

void* SharedLibrary::Address(const char* name) const { return ::dlsym(handle_, name); }

}  // namespace ostrel::platform
