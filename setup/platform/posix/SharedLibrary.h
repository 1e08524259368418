#pragma once
// A shared library opened at run time, for what the setup uses only now and
// then: the program then starts without loading it, and runs without it.

#include <memory>
#include <string>
#include <vector>

namespace ostrel::platform {

class SharedLibrary {
 public:
  // The first of the names that opens; nothing when none does.
  static std::unique_ptr<SharedLibrary> OpenFirst(const std::vector<std::string>& names);
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
  explicit SharedLibrary(void* handle) : handle_(handle) {}
  void* Address(const char* name) const;

  void* handle_;
};

}  // namespace ostrel::platform
