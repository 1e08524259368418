#include "setup/platform/SharedLibrary.h"

#include <dlfcn.h>
#include <sys/mman.h>
#include <unistd.h>

#include "setup/platform/posix/UniqueFd.h"

namespace ostrel::platform {

// The in-memory file. Kept open while the module is: the loader knows a
// module by the path it was opened under, and a closed descriptor's number,
// and so its path, would be handed to the next module, which the loader
// would take for this one.
struct SharedLibrary::Source {
  UniqueFd file;
};

SharedLibrary::SharedLibrary(void* handle, std::unique_ptr<Source> source) : handle_(handle), source_(std::move(source)) {}

std::unique_ptr<SharedLibrary> SharedLibrary::OpenFirst(const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    // Local: its symbols stay out of the way of everything loaded later.
    if (void* handle = ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL)) {
      return std::unique_ptr<SharedLibrary>(new SharedLibrary(handle, nullptr));
    }
  }
  return nullptr;
}

std::unique_ptr<SharedLibrary> SharedLibrary::OpenBytes(std::span<const std::byte> bytes, const std::string& name) {
  // An anonymous in-memory file: no path in a shared folder to race for, and
  // nothing left behind when the process ends.
  UniqueFd file(::memfd_create(name.c_str(), MFD_CLOEXEC));
  if (!file.Valid() || !WriteAll(file.Get(), bytes)) return nullptr;
  const std::string path = "/proc/self/fd/" + std::to_string(file.Get());
  void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) return nullptr;
  return std::unique_ptr<SharedLibrary>(new SharedLibrary(handle, std::make_unique<Source>(Source{std::move(file)})));
}

SharedLibrary::~SharedLibrary() { ::dlclose(handle_); }

void* SharedLibrary::Address(const char* name) const { return ::dlsym(handle_, name); }

}  // namespace ostrel::platform
