#pragma once
// A shared library opened at run time, for what the setup uses only now and
// then (the program then starts without loading it, and runs without it), or
// a module the program carries among its resources. Once opened it stays for
// the life of the object.

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace ostrel::platform {

class SharedLibrary {
 public:
  // The first of the names that opens; nothing when none does.
  static std::unique_ptr<SharedLibrary> OpenFirst(const std::vector<std::string>& names);
  // A module given as its bytes, loaded without a file anyone else could
  // reach or replace: an in-memory file on POSIX, a file in a private
  // temporary folder on Windows, removed when the module is. name is what
  // debuggers and maps show.
  static std::unique_ptr<SharedLibrary> OpenBytes(std::span<const std::byte> bytes, const std::string& name);
  ~SharedLibrary();

  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;

  // Points slot at the function of that name; false when there is none.
  template <typename Function>
  bool Bind(Function*& slot, const char* name) const {
    slot = reinterpret_cast<Function*>(Address(name));
    return slot != nullptr;
  }

 private:
  // Where a module given as bytes was loaded from, kept while the module is.
  struct Source;
  SharedLibrary(void* handle, std::unique_ptr<Source> source);
  void* Address(const char* name) const;

  void* handle_;
  std::unique_ptr<Source> source_;
};

}  // namespace ostrel::platform
