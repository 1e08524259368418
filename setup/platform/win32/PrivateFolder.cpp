#include "setup/platform/win32/PrivateFolder.h"

#include <windows.h>
#include <bcrypt.h>
#include <sddl.h>
#include <shlobj.h>

#include <array>
#include <charconv>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "setup/platform/Removal.h"
#include "setup/platform/win32/WideText.h"
#include "setup/platform/win32/WindowsSystem.h"

namespace ostrel::platform::win32 {
namespace {

constexpr int kAttempts = 16;

// "D:P(A;OICI;FA;;;<user>)": only the current user, inherited by everything
// made inside, and nothing inherited from the parent folder.
std::optional<std::wstring> OwnerOnlyDescriptor() {
  std::vector<std::byte> user = ProcessUserSid(::GetCurrentProcess());
  wchar_t* sid = nullptr;
  if (user.empty() || !::ConvertSidToStringSidW(user.data(), &sid)) return std::nullopt;
  std::wstring descriptor = L"D:P(A;OICI;FA;;;" + std::wstring(sid) + L")";
  ::LocalFree(sid);
  return descriptor;
}

// A process's creation time in 100 ns units; nothing when there is no such
// process or it cannot be asked.
std::optional<std::uint64_t> CreationTime(DWORD pid) {
  const UniqueHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  if (!process.Valid()) return std::nullopt;
  FILETIME created{};
  FILETIME exited{};
  FILETIME kernel{};
  FILETIME user{};
  if (!::GetProcessTimes(process.Get(), &created, &exited, &kernel, &user)) return std::nullopt;
  return (static_cast<std::uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

// "<pid>-<creation time>-" of this process, the owner part of its folders'
// names.
std::wstring OwnerTag() {
  const DWORD pid = ::GetCurrentProcessId();
  return std::to_wstring(pid) + L"-" + std::to_wstring(CreationTime(pid).value_or(0)) + L"-";
}

// The owner a folder name "ostrel-<pid>-<creation time>-<random>" gives;
// nothing for any other name.
std::optional<std::pair<DWORD, std::uint64_t>> OwnerOf(std::string_view name) {
  constexpr std::string_view kPrefix = "ostrel-";
  if (!name.starts_with(kPrefix)) return std::nullopt;
  name.remove_prefix(kPrefix.size());
  DWORD pid = 0;
  std::uint64_t created = 0;
  const char* const end = name.data() + name.size();
  auto parsed = std::from_chars(name.data(), end, pid);
  if (parsed.ec != std::errc() || parsed.ptr == end || *parsed.ptr != '-' || pid == 0) return std::nullopt;
  parsed = std::from_chars(parsed.ptr + 1, end, created);
  if (parsed.ec != std::errc() || parsed.ptr == end || *parsed.ptr != '-') return std::nullopt;
  return std::pair{pid, created};
}

// Whether the folder's owner is the current user: a folder someone else
// made in a shared temporary folder is never touched.
bool OwnedByCurrentUser(const std::wstring& path) {
  std::vector<std::byte> user = ProcessUserSid(::GetCurrentProcess());
  if (user.empty()) return false;
  const UniqueHandle folder(::CreateFileW(path.c_str(), READ_CONTROL, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                          nullptr));
  if (!folder.Valid()) return false;
  DWORD needed = 0;
  ::GetKernelObjectSecurity(folder.Get(), OWNER_SECURITY_INFORMATION, nullptr, 0, &needed);
  std::vector<std::byte> descriptor(needed);
  if (needed == 0 || !::GetKernelObjectSecurity(folder.Get(), OWNER_SECURITY_INFORMATION, descriptor.data(), needed,
                                                &needed)) {
    return false;
  }
  PSID owner = nullptr;
  BOOL defaulted = FALSE;
  if (!::GetSecurityDescriptorOwner(descriptor.data(), &owner, &defaulted) || owner == nullptr) return false;
  return ::EqualSid(owner, user.data()) != 0;
}

}  // namespace

std::optional<std::wstring> RandomHexName() {
  std::array<unsigned char, 8> bytes{};
  if (!BCRYPT_SUCCESS(::BCryptGenRandom(nullptr, bytes.data(), static_cast<ULONG>(bytes.size()),
                                        BCRYPT_USE_SYSTEM_PREFERRED_RNG))) {
    return std::nullopt;
  }
  static constexpr wchar_t kHex[] = L"0123456789abcdef";
  std::wstring text;
  for (const unsigned char b : bytes) {
    text += kHex[b >> 4];
    text += kHex[b & 15];
  }
  return text;
}

std::wstring UserTemporaryFolder() {
  wchar_t buffer[MAX_PATH + 1] = {};
  const DWORD length = ::GetTempPathW(MAX_PATH + 1, buffer);
  if (length == 0 || length > MAX_PATH) return {};
  std::wstring folder(buffer, length);
  if (folder.back() != L'\\') folder += L'\\';
  return folder;
}

PrivateTemporaryFolder::PrivateTemporaryFolder(std::wstring base) : base_(std::move(base)) {
  if (!base_.empty() && base_.back() != L'\\' && base_.back() != L'/') base_ += L'\\';
}

std::optional<std::string> PrivateTemporaryFolder::Path() {
  const std::lock_guard lock(mutex_);
  const auto folder = PathLocked();
  if (!folder) return std::nullopt;
  return ToUtf8(*folder);
}

std::optional<std::wstring> PrivateTemporaryFolder::WidePath() {
  const std::lock_guard lock(mutex_);
  return PathLocked();
}

std::optional<std::wstring> PrivateTemporaryFolder::PathLocked() {
  if (!folder_.empty()) return folder_;
  const std::wstring base = base_.empty() ? UserTemporaryFolder() : base_;
  const auto descriptorText = OwnerOnlyDescriptor();
  if (base.empty() || !descriptorText) return std::nullopt;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(descriptorText->c_str(), SDDL_REVISION_1, &descriptor,
                                                              nullptr)) {
    return std::nullopt;
  }
  SECURITY_ATTRIBUTES attributes{};
  attributes.nLength = sizeof attributes;
  attributes.lpSecurityDescriptor = descriptor;
  std::optional<std::wstring> made;
  for (int attempt = 0; attempt < kAttempts && !made; ++attempt) {
    const auto suffix = RandomHexName();
    if (!suffix) break;
    const std::wstring candidate = base + L"ostrel-" + OwnerTag() + *suffix;
    if (::CreateDirectoryW(candidate.c_str(), &attributes)) {
      made = candidate + L'\\';
    } else if (::GetLastError() != ERROR_ALREADY_EXISTS) {
      break;
    }
  }
  ::LocalFree(descriptor);
  if (!made) return std::nullopt;
  folder_ = *made;
  return folder_;
}

std::optional<std::string> PrivateTemporaryFolder::CreateUniqueFile(std::string_view prefix) {
  const std::lock_guard lock(mutex_);
  const auto folder = PathLocked();
  const auto widePrefix = ToWide(prefix);
  if (!folder || !widePrefix) return std::nullopt;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    const auto suffix = RandomHexName();
    if (!suffix) return std::nullopt;
    const std::wstring path = *folder + *widePrefix + *suffix + L".tmp";
    const UniqueHandle file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Valid()) return ToUtf8(path);
    if (::GetLastError() != ERROR_FILE_EXISTS) return std::nullopt;
  }
  return std::nullopt;
}

bool PrivateTemporaryFolder::Release() {
  const std::lock_guard lock(mutex_);
  if (folder_.empty()) return true;
  if (!::RemoveDirectoryW(folder_.c_str()) && ::GetLastError() != ERROR_FILE_NOT_FOUND) return false;
  folder_.clear();
  return true;
}

void PrivateTemporaryFolder::RemoveLeftovers() {
  const std::lock_guard lock(mutex_);
  const std::wstring base = base_.empty() ? UserTemporaryFolder() : base_;
  // Without the process's own creation time no owner could be told apart
  // from a stranger that got its id: nothing is removed then.
  if (base.empty() || !CreationTime(::GetCurrentProcessId())) return;
  WIN32_FIND_DATAW entry{};
  const std::wstring pattern = base + L"ostrel-*";
  HANDLE search = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return;
  std::vector<std::string> stale;
  do {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
      continue;
    }
    const std::string name = ToUtf8(entry.cFileName);
    const auto owner = OwnerOf(name);
    // A process of that id made then is its owner, still at work.
    if (!owner || CreationTime(owner->first) == owner->second) continue;
    if (OwnedByCurrentUser(base + entry.cFileName)) stale.push_back(name);
  } while (::FindNextFileW(search, &entry));
  ::FindClose(search);
  const std::string baseText = ToUtf8(base);
  for (const std::string& name : stale) RemoveFolderTreeBelow(baseText, name);
}

}  // namespace ostrel::platform::win32

namespace ostrel::platform {

std::unique_ptr<ITemporaryFolder> CreateTemporaryFolder() { return std::make_unique<win32::PrivateTemporaryFolder>(); }

// In the user's local application-data folder, which every profile has,
// for when the temporary folder (TMP, TEMP) is missing or unusable; where
// even that cannot be found the temporary folder is tried once more.
std::unique_ptr<ITemporaryFolder> CreateFallbackTemporaryFolder() {
  wchar_t buffer[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, buffer)) || buffer[0] == L'\0') {
    return std::make_unique<win32::PrivateTemporaryFolder>();
  }
  return std::make_unique<win32::PrivateTemporaryFolder>(buffer);
}

}  // namespace ostrel::platform
