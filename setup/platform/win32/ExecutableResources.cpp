#include "setup/platform/ExecutableResources.h"

#include <windows.h>

#include <algorithm>

#include "setup/platform/ResourceBundle.h"
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

}  // namespace

struct ExecutableResources::Impl {
  // The running program's own module is never freed; another file's is.
  HMODULE module = nullptr;
  bool owned = false;
};

ExecutableResources::ExecutableResources(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

ExecutableResources::~ExecutableResources() {
  if (impl_->owned && impl_->module != nullptr) ::FreeLibrary(impl_->module);
}

std::unique_ptr<ExecutableResources> ExecutableResources::OpenSelf() {
  auto impl = std::make_unique<Impl>();
  impl->module = ::GetModuleHandleW(nullptr);
  return std::unique_ptr<ExecutableResources>(new ExecutableResources(std::move(impl)));
}

std::unique_ptr<ExecutableResources> ExecutableResources::Open(const std::string& path) {
  auto impl = std::make_unique<Impl>();
  // As data only: none of the file's code runs and its imports stay unloaded.
  if (const auto wide = ToWide(path)) {
    impl->module = ::LoadLibraryExW(wide->c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    impl->owned = impl->module != nullptr;
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

}  // namespace ostrel::platform
