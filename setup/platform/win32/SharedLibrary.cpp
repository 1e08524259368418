#include "setup/platform/SharedLibrary.h"

#include <windows.h>

#include "setup/platform/win32/PrivateFolder.h"
#include "setup/platform/win32/WideText.h"

namespace ostrel::platform {

// The module's file in a folder of this run that only this user may enter:
// nobody can put another module there before it is loaded, and a loaded
// module's file cannot be changed. Both go once the module is unloaded.
struct SharedLibrary::Source {
  std::unique_ptr<win32::PrivateTemporaryFolder> folder;
  std::wstring path;
};

SharedLibrary::SharedLibrary(void* handle, std::unique_ptr<Source> source) : handle_(handle), source_(std::move(source)) {}

std::unique_ptr<SharedLibrary> SharedLibrary::OpenFirst(const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    const auto wide = win32::ToWide(name);
    if (!wide || wide->empty()) continue;
    // A bare name comes from the system's own folder only: the program's
    // folder, a download folder for a setup, is where a planted DLL would wait.
    const bool bare = wide->find_first_of(L"\\/:") == std::wstring::npos;
    const DWORD flags = bare ? LOAD_LIBRARY_SEARCH_SYSTEM32 : LOAD_WITH_ALTERED_SEARCH_PATH;
    if (HMODULE module = ::LoadLibraryExW(wide->c_str(), nullptr, flags)) {
      return std::unique_ptr<SharedLibrary>(new SharedLibrary(module, nullptr));
    }
  }
  return nullptr;
}

std::unique_ptr<SharedLibrary> SharedLibrary::OpenBytes(std::span<const std::byte> bytes, const std::string& name) {
  const auto wideName = win32::ToWide(name);
  if (bytes.empty() || bytes.size() > MAXDWORD || !wideName || wideName->empty() ||
      wideName->find_first_of(L"\\/:") != std::wstring::npos) {
    return nullptr;
  }
  auto source = std::make_unique<Source>();
  source->folder = std::make_unique<win32::PrivateTemporaryFolder>();
  const auto folder = source->folder->WidePath();
  if (!folder) return nullptr;
  // The loader would add ".dll" to a name without an extension.
  source->path = *folder + *wideName + (wideName->find(L'.') == std::wstring::npos ? L".dll" : L"");
  {
    win32::UniqueHandle file(
        ::CreateFileW(source->path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    const bool ok = file.Valid() &&
                    ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    if (!ok || !::CloseHandle(file.Release())) {
      ::DeleteFileW(source->path.c_str());
      source->folder->Release();
      return nullptr;
    }
  }
  HMODULE module = ::LoadLibraryExW(source->path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (module == nullptr) {
    ::DeleteFileW(source->path.c_str());
    source->folder->Release();
    return nullptr;
  }
  return std::unique_ptr<SharedLibrary>(new SharedLibrary(module, std::move(source)));
}

SharedLibrary::~SharedLibrary() {
  ::FreeLibrary(static_cast<HMODULE>(handle_));
  if (source_) {
    ::DeleteFileW(source_->path.c_str());
    source_->folder->Release();
  }
}

void* SharedLibrary::Address(const char* name) const {
  return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(handle_), name));
}

}  // namespace ostrel::platform
