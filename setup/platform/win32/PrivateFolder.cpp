#include "setup/platform/win32/PrivateFolder.h"

#include <windows.h>
#include <bcrypt.h>
#include <sddl.h>

#include <array>
#include <vector>

#include "setup/platform/win32/WideText.h"

namespace ostrel::platform::win32 {
namespace {

constexpr int kAttempts = 16;

// "D:P(A;OICI;FA;;;<user>)": only the current user, inherited by everything
// made inside, and nothing inherited from the parent folder.
std::optional<std::wstring> OwnerOnlyDescriptor() {
  HANDLE token = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return std::nullopt;
  const UniqueHandle owned(token);
  DWORD size = 0;
  ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<std::byte> buffer(size);
  if (size == 0 || !::GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) return std::nullopt;
  wchar_t* sid = nullptr;
  if (!::ConvertSidToStringSidW(reinterpret_cast<const TOKEN_USER*>(buffer.data())->User.Sid, &sid)) return std::nullopt;
  std::wstring descriptor = L"D:P(A;OICI;FA;;;" + std::wstring(sid) + L")";
  ::LocalFree(sid);
  return descriptor;
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
    const std::wstring candidate = base + L"ostrel-" + *suffix;
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

}  // namespace ostrel::platform::win32

namespace ostrel::platform {

std::unique_ptr<ITemporaryFolder> CreateTemporaryFolder() { return std::make_unique<win32::PrivateTemporaryFolder>(); }

}  // namespace ostrel::platform
