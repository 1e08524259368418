#include "setup/platform/win32/StandInFile.h"

#include <windows.h>

#include "setup/platform/win32/PrivateFolder.h"
#include "setup/platform/win32/WideText.h"

namespace ostrel::platform::win32 {
namespace {

constexpr int kAttempts = 16;

}  // namespace

std::unique_ptr<StandInFile> StandInFile::CopyOf(const std::wstring& source, const std::wstring& folder) {
  if (folder.empty()) return nullptr;
  const std::wstring prefix = folder.back() == L'\\' || folder.back() == L'/' ? folder : folder + L'\\';
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    const auto suffix = RandomHexName();
    if (!suffix) return nullptr;
    const std::wstring path = prefix + L".ostrel-" + *suffix + L".tmp";
    // Fails rather than replaces, so no file of someone else's is reused.
    if (::CopyFileW(source.c_str(), path.c_str(), TRUE)) {
      const DWORD attributes = ::GetFileAttributesW(path.c_str());
      if (attributes != INVALID_FILE_ATTRIBUTES) ::SetFileAttributesW(path.c_str(), attributes | FILE_ATTRIBUTE_HIDDEN);
      return std::unique_ptr<StandInFile>(new StandInFile(path));
    }
    if (::GetLastError() != ERROR_FILE_EXISTS && ::GetLastError() != ERROR_ALREADY_EXISTS) return nullptr;
  }
  return nullptr;
}

StandInFile::~StandInFile() {
  if (!path_.empty()) ::DeleteFileW(path_.c_str());
}

bool StandInFile::Publish(const std::string& to) {
  const auto wideTo = ToWide(to);
  const std::wstring from = std::exchange(path_, std::wstring());
  if (!wideTo || !::MoveFileExW(from.c_str(), wideTo->c_str(), 0)) {
    ::DeleteFileW(from.c_str());
    return false;
  }
  const DWORD attributes = ::GetFileAttributesW(wideTo->c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    ::SetFileAttributesW(wideTo->c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
  }
  return true;
}

}  // namespace ostrel::platform::win32
