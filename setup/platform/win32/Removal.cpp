#include "setup/platform/Removal.h"

#include <windows.h>

#include <optional>
#include <vector>

#include "setup/platform/win32/WideText.h"

namespace ostrel::platform {
namespace {

using win32::ToWide;
using win32::UniqueHandle;

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
  if (!folder.empty() && !IsSeparator(folder.back())) return folder + L'\\' + name;
  return folder + name;
}

// Opens a folder itself, never what a link or junction in its place points
// at, and keeps it: without delete sharing nobody can rename it or put a
// link in its place while the handle is held. Nothing when the path is not a
// real folder.
UniqueHandle HoldFolder(const std::wstring& path) {
  UniqueHandle folder(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!folder.Valid()) return {};
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(folder.Get(), &info)) return {};
  const bool realFolder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
                          (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
  return realFolder ? std::move(folder) : UniqueHandle();
}

// The item below base: every folder on the way held as a real folder, and
// the item's full path.
struct Item {
  std::vector<UniqueHandle> heldFolders;
  std::wstring path;
};

std::optional<Item> Locate(const std::string& base, const std::string& relative) {
  const auto wideBase = ToWide(base);
  const auto wideRelative = ToWide(relative);
  if (!wideBase || !wideRelative || wideBase->empty() || wideRelative->empty()) return std::nullopt;

  std::vector<std::wstring> parts;
  std::wstring part;
  for (const wchar_t c : *wideRelative + L'\\') {
    if (!IsSeparator(c)) {
      part += c;
      continue;
    }
    if (part.empty() || part == L"." || part == L".." || part.find(L':') != std::wstring::npos) return std::nullopt;
    parts.push_back(std::move(part));
    part.clear();
  }

  Item item;
  item.path = *wideBase;
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
    item.path = Join(item.path, parts[i]);
    UniqueHandle held = HoldFolder(item.path);
    if (!held.Valid()) return std::nullopt;
    item.heldFolders.push_back(std::move(held));
  }
  item.path = Join(item.path, parts.back());
  return item;
}

bool IsLink(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }
bool IsFolder(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

// Removes a link itself, whichever kind of item it stands for.
bool RemoveLink(const std::wstring& path, DWORD attributes) {
  return IsFolder(attributes) ? ::RemoveDirectoryW(path.c_str()) != 0 : ::DeleteFileW(path.c_str()) != 0;
}

// A read-only file is removed all the same, as a recursive delete does.
bool RemoveFileAnyway(const std::wstring& path, DWORD attributes) {
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    ::SetFileAttributesW(path.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  }
  return ::DeleteFileW(path.c_str()) != 0;
}

// Empties the folder, then removes it; every entry is tried even after a
// failure, and links are removed without being entered.
bool RemoveTree(const std::wstring& path) {
  bool ok = true;
  {
    const UniqueHandle held = HoldFolder(path);
    if (!held.Valid()) return false;
    WIN32_FIND_DATAW entry{};
    const std::wstring pattern = Join(path, L"*");
    HANDLE search = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring_view name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring child = Join(path, entry.cFileName);
        if (IsLink(entry.dwFileAttributes)) {
          ok = RemoveLink(child, entry.dwFileAttributes) && ok;
        } else if (IsFolder(entry.dwFileAttributes)) {
          ok = RemoveTree(child) && ok;
        } else {
          ok = RemoveFileAnyway(child, entry.dwFileAttributes) && ok;
        }
      } while (::FindNextFileW(search, &entry));
      ::FindClose(search);
    }
  }
  return ::RemoveDirectoryW(path.c_str()) != 0 && ok;
}

}  // namespace

// A folder link or junction always stands for a folder, while a file link
// can never be entered as one: only the first kind could carry writes
// elsewhere.
bool RemoveFolderLinksBelow(const std::string& base, std::span<const std::string_view> names) {
  const auto wideBase = ToWide(base);
  if (!wideBase) return false;
  const UniqueHandle held = HoldFolder(*wideBase);
  if (!held.Valid()) return false;
  bool ok = true;
  for (const std::string_view name : names) {
    const auto wideName = ToWide(name);
    if (!wideName || wideName->empty() || *wideName == L"." || *wideName == L".." ||
        wideName->find_first_of(L"\\/:") != std::wstring::npos) {
      continue;
    }
    const std::wstring path = Join(*wideBase, *wideName);
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !IsLink(attributes) || !IsFolder(attributes)) continue;
    ok = ::RemoveDirectoryW(path.c_str()) != 0 && ok;
  }
  return ok;
}

bool DeleteFileBelow(const std::string& base, const std::string& relative) {
  const auto item = Locate(base, relative);
  if (!item) return false;
  const DWORD attributes = ::GetFileAttributesW(item->path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  if (IsLink(attributes)) return RemoveLink(item->path, attributes);
  if (IsFolder(attributes)) return false;
  return ::DeleteFileW(item->path.c_str()) != 0;
}

bool RemoveEmptyFolderBelow(const std::string& base, const std::string& relative) {
  const auto item = Locate(base, relative);
  if (!item) return false;
  const DWORD attributes = ::GetFileAttributesW(item->path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || IsLink(attributes) || !IsFolder(attributes)) return false;
  return ::RemoveDirectoryW(item->path.c_str()) != 0;
}

bool RemoveFolderTreeBelow(const std::string& base, const std::string& relative) {
  const auto item = Locate(base, relative);
  if (!item) return false;
  const DWORD attributes = ::GetFileAttributesW(item->path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  if (IsLink(attributes)) return RemoveLink(item->path, attributes);
  if (!IsFolder(attributes)) return false;
  return RemoveTree(item->path);
}

}  // namespace ostrel::platform
