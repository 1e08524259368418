#include "setup/platform/FileSystem.h"

#include <windows.h>

#include "setup/platform/win32/WideText.h"

namespace ostrel::platform {
namespace {

using win32::ToWide;

DWORD Attributes(const std::string& path) {
  const auto wide = ToWide(path);
  if (!wide || wide->empty()) return INVALID_FILE_ATTRIBUTES;
  return ::GetFileAttributesW(wide->c_str());
}

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// Where the folders that may be made begin: after "C:\", "\\server\share\"
// or "\\?\C:\"; 0 for a relative path.
std::size_t FirstCreatable(const std::wstring& path) {
  if (path.size() >= 2 && path[1] == L':') return path.size() > 2 && IsSeparator(path[2]) ? 3 : 2;
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    std::size_t at = 2;
    // \\?\ and \\.\ prefixes, then the server and the share (or drive).
    if (path.size() > 3 && (path[2] == L'?' || path[2] == L'.') && IsSeparator(path[3])) {
      at = 4;
      if (path.size() >= at + 2 && path[at + 1] == L':') return std::min(path.size(), at + 3);
    }
    for (int part = 0; part < 2 && at < path.size(); ++part) {
      while (at < path.size() && !IsSeparator(path[at])) ++at;
      if (at < path.size()) ++at;
    }
    return at;
  }
  return IsSeparator(path.front()) ? 1 : 0;
}

}  // namespace

bool FileExists(const std::string& path) {
  const DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DirectoryExists(const std::string& path) {
  const DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool RemoveFile(const std::string& path) {
  const auto wide = ToWide(path);
  if (!wide || wide->empty()) return false;
  const DWORD attributes = ::GetFileAttributesW(wide->c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
  return ::DeleteFileW(wide->c_str()) != 0;
}

bool ForceDirectories(const std::string& path) {
  const auto wide = ToWide(path);
  if (!wide || wide->empty()) return false;
  if (DirectoryExists(path)) return true;
  for (std::size_t at = FirstCreatable(*wide); at <= wide->size(); ++at) {
    if (at < wide->size() && !IsSeparator((*wide)[at])) continue;
    if (at == 0 || IsSeparator((*wide)[at - 1])) continue;
    const std::wstring part = wide->substr(0, at);
    if (!::CreateDirectoryW(part.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) return false;
  }
  return DirectoryExists(path);
}

bool CopyFileTo(const std::string& from, const std::string& to, bool failIfExists) {
  const auto wideFrom = ToWide(from);
  const auto wideTo = ToWide(to);
  if (!wideFrom || !wideTo || wideFrom->empty() || wideTo->empty()) return false;
  if (::CopyFileW(wideFrom->c_str(), wideTo->c_str(), failIfExists ? TRUE : FALSE)) return true;
  // What stood there is kept; a copy that broke off is not.
  const DWORD error = ::GetLastError();
  if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS && error != ERROR_ACCESS_DENIED &&
      error != ERROR_SHARING_VIOLATION && error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
    ::DeleteFileW(wideTo->c_str());
  }
  return false;
}

bool MoveFileTo(const std::string& from, const std::string& to) {
  const auto wideFrom = ToWide(from);
  const auto wideTo = ToWide(to);
  if (!wideFrom || !wideTo || wideFrom->empty() || wideTo->empty()) return false;
  // No MOVEFILE_REPLACE_EXISTING and no MOVEFILE_COPY_ALLOWED: a rename that
  // never replaces, within one volume.
  return ::MoveFileExW(wideFrom->c_str(), wideTo->c_str(), 0) != 0;
}

}  // namespace ostrel::platform
