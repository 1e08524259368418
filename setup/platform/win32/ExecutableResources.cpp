#include "setup/platform/ExecutableResources.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "setup/platform/ResourceBundle.h"
#include "setup/platform/win32/StandInFile.h"
#include "setup/platform/win32/WideText.h"

namespace ostrel::platform {
namespace {

using win32::ToWide;
using win32::UniqueHandle;

// Large enough to keep calls rare, small enough for one write to stay cheap.
constexpr DWORD kChunk = 1u << 20;

bool WriteAll(HANDLE file, std::span<const std::byte> bytes) {
  while (!bytes.empty()) {
    const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), kChunk));
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data(), piece, &written, nullptr) || written == 0) return false;
    bytes = bytes.subspan(written);
  }
  return true;
}

// A resource's type or name as the system hands it out: a number or a text.
struct ResourceId {
  WORD number = 0;
  std::wstring text;

  explicit ResourceId(LPCWSTR id) {
    if (IS_INTRESOURCE(id)) {
      number = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(id));
    } else {
      text = id;
    }
  }
  LPCWSTR Get() const { return text.empty() ? MAKEINTRESOURCEW(number) : text.c_str(); }
};

struct ResourceKey {
  ResourceId type;
  ResourceId name;
  WORD language;
};

// Every resource of a module: each type, each name of it, each language.
std::vector<ResourceKey> AllResources(HMODULE module) {
  std::vector<ResourceId> types;
  ::EnumResourceTypesW(
      module,
      [](HMODULE, LPWSTR type, LONG_PTR found) -> BOOL {
        reinterpret_cast<std::vector<ResourceId>*>(found)->emplace_back(type);
        return TRUE;
      },
      reinterpret_cast<LONG_PTR>(&types));
  std::vector<ResourceKey> keys;
  for (const ResourceId& type : types) {
    std::vector<ResourceId> names;
    ::EnumResourceNamesW(
        module, type.Get(),
        [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) -> BOOL {
          reinterpret_cast<std::vector<ResourceId>*>(found)->emplace_back(name);
          return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&names));
    for (const ResourceId& name : names) {
      std::vector<WORD> languages;
      ::EnumResourceLanguagesW(
          module, type.Get(), name.Get(),
          [](HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found) -> BOOL {
            reinterpret_cast<std::vector<WORD>*>(found)->push_back(language);
            return TRUE;
          },
          reinterpret_cast<LONG_PTR>(&languages));
      for (const WORD language : languages) keys.push_back(ResourceKey{type, name, language});
    }
  }
  return keys;
}

std::wstring ModulePath(HMODULE module) {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return std::wstring(buffer.data(), length);
    if (buffer.size() >= 32768) return {};
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace

struct ExecutableResources::Impl {
  // The running program's own module is never freed; another file's is.
  HMODULE module = nullptr;
  bool owned = false;
  // The file the module was read from (GetModuleFileNameW knows none for a
  // module loaded as data).
  std::wstring path;
};

ExecutableResources::ExecutableResources(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

ExecutableResources::~ExecutableResources() {
  if (impl_->owned && impl_->module != nullptr) ::FreeLibrary(impl_->module);
}

std::unique_ptr<ExecutableResources> ExecutableResources::OpenSelf() {
  auto impl = std::make_unique<Impl>();
  impl->module = ::GetModuleHandleW(nullptr);
  impl->path = ModulePath(nullptr);
  return std::unique_ptr<ExecutableResources>(new ExecutableResources(std::move(impl)));
}

std::unique_ptr<ExecutableResources> ExecutableResources::Open(const std::string& path) {
  auto impl = std::make_unique<Impl>();
  // As data only: none of the file's code runs and its imports stay unloaded.
  if (const auto wide = ToWide(path)) {
    impl->module = ::LoadLibraryExW(wide->c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    impl->owned = impl->module != nullptr;
    impl->path = *wide;
  }
  return std::unique_ptr<ExecutableResources>(new ExecutableResources(std::move(impl)));
}

std::optional<std::span<const std::byte>> ExecutableResources::Find(std::string_view name) const {
  // A name of the bundle's alphabet: no "#123" that the system would take
  // for a number, no characters a name cannot hold. The system compares
  // names ignoring case.
  if (impl_->module == nullptr || !IsValidResourceName(name) || name.front() == '#') return std::nullopt;
  const auto wide = ToWide(name);
  if (!wide) return std::nullopt;
  HRSRC info = ::FindResourceW(impl_->module, wide->c_str(), MAKEINTRESOURCEW(10));
  if (info == nullptr) return std::nullopt;
  HGLOBAL loaded = ::LoadResource(impl_->module, info);
  const DWORD size = ::SizeofResource(impl_->module, info);
  const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
  if (bytes == nullptr && size != 0) return std::nullopt;
  return std::span<const std::byte>(static_cast<const std::byte*>(bytes), size);
}

bool ExecutableResources::SaveToFile(std::string_view name, const std::string& path, SaveOptions options) const {
  const auto bytes = Find(name);
  const auto widePath = ToWide(path);
  if (!bytes || !widePath || widePath->empty()) return false;

  // The link itself is opened, never what it points at; one found there
  // fails the save and stays as it was.
  UniqueHandle file(::CreateFileW(widePath->c_str(), GENERIC_WRITE, 0, nullptr,
                                  options.createNew ? CREATE_NEW : OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file.Valid()) return false;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(file.Get(), &info) ||
      (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    return false;
  }

  // The whole size first: a full disk fails here, not after most of the
  // bytes, and the file system places the file in one piece.
  LARGE_INTEGER size{};
  size.QuadPart = static_cast<LONGLONG>(bytes->size());
  LARGE_INTEGER start{};
  bool ok = ::SetFilePointerEx(file.Get(), size, nullptr, FILE_BEGIN) && ::SetEndOfFile(file.Get()) &&
            ::SetFilePointerEx(file.Get(), start, nullptr, FILE_BEGIN) && WriteAll(file.Get(), *bytes);
  ok = ::CloseHandle(file.Release()) && ok;
  if (!ok) ::DeleteFileW(widePath->c_str());
  return ok;
}

// Windows runs no program from memory; the caller saves the resource to a
// file in its private folder instead.
std::unique_ptr<InMemoryFile> ExecutableResources::OpenInMemory(std::string_view, ResourceCheck) const {
  return nullptr;
}

// The resources live in the program's resource section, not as plain bytes at
// an offset the extractor could be pointed at; the caller saves the archive to
// a file instead.
std::optional<FilePlace> ExecutableResources::PlaceInFile(std::string_view) const { return std::nullopt; }

// The program's file copied whole, then its resource section written anew
// through the resource update calls with every resource but the RCDATA ones
// not kept: the version block, manifest and icons go along. (Writing all
// anew rather than deleting the dropped ones: not every implementation of the
// calls honours a deletion.)
std::unique_ptr<PendingFile> ExecutableResources::StageProgramCopy(const std::string& folder,
                                                                 std::span<const std::string_view> keep) const {
  const auto wideFolder = ToWide(folder);
  if (!wideFolder || impl_->module == nullptr || impl_->path.empty()) return nullptr;
  const std::vector<ResourceKey> resources = AllResources(impl_->module);
  if (resources.empty()) return nullptr;
  auto copy = win32::StandInFile::CopyOf(impl_->path, *wideFolder);
  if (!copy) return nullptr;
  HANDLE update = ::BeginUpdateResourceW(copy->Path().c_str(), TRUE);
  if (update == nullptr) return nullptr;
  bool ok = true;
  for (const ResourceKey& key : resources) {
    if (key.type.text.empty() && key.type.number == 10 && !key.name.text.empty()) {
      const std::string name = win32::ToUtf8(key.name.text);
      const bool kept =
          std::any_of(keep.begin(), keep.end(), [&name](std::string_view k) { return ResourceNamesEqual(name, k); });
      if (!kept) continue;
    }
    HRSRC info = ::FindResourceExW(impl_->module, key.type.Get(), key.name.Get(), key.language);
    HGLOBAL loaded = info != nullptr ? ::LoadResource(impl_->module, info) : nullptr;
    void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    const DWORD size = info != nullptr ? ::SizeofResource(impl_->module, info) : 0;
    ok = bytes != nullptr &&
         ::UpdateResourceW(update, key.type.Get(), key.name.Get(), key.language, bytes, size) && ok;
  }
  // Discarding leaves the copy whole, and it is dropped then.
  if (!::EndUpdateResourceW(update, ok ? FALSE : TRUE) || !ok) return nullptr;
  return copy;
}

}  // namespace ostrel::platform
