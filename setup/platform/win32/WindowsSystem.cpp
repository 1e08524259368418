#include "setup/platform/win32/WindowsSystem.h"

#include <windows.h>
#include <objbase.h>

#include <stdexcept>
#include <vector>

#include "setup/platform/win32/WideText.h"

namespace ostrel::platform::win32 {

GuidBytes GuidTextOrder(const GUID& guid) {
  GuidBytes bytes{};
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(guid.Data1 >> (24 - 8 * i));
  for (int i = 0; i < 2; ++i) bytes[4 + i] = static_cast<std::uint8_t>(guid.Data2 >> (8 - 8 * i));
  for (int i = 0; i < 2; ++i) bytes[6 + i] = static_cast<std::uint8_t>(guid.Data3 >> (8 - 8 * i));
  for (int i = 0; i < 8; ++i) bytes[8 + i] = guid.Data4[i];
  return bytes;
}

std::string WindowsSystem::ExecutablePath() const {
  // Paths may be longer than MAX_PATH; the call says so by filling the buffer.
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return ToUtf8(std::wstring_view(buffer.data(), length));
    if (buffer.size() >= 32768) return {};
    buffer.resize(buffer.size() * 2);
  }
}

GuidBytes WindowsSystem::NewGuid() {
  GUID guid{};
  if (FAILED(::CoCreateGuid(&guid))) throw std::runtime_error("no GUID could be made");
  return GuidTextOrder(guid);
}

void WindowsSystem::ExitProcess(unsigned exitCode) {
  ::ExitProcess(exitCode);
}

std::vector<std::byte> ProcessUserSid(HANDLE process) {
  HANDLE token = nullptr;
  if (!::OpenProcessToken(process, TOKEN_QUERY, &token)) return {};
  const UniqueHandle owned(token);
  DWORD size = 0;
  ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<std::byte> buffer(size);
  if (size == 0 || !::GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) return {};
  const auto* user = reinterpret_cast<const TOKEN_USER*>(buffer.data());
  const auto* sid = static_cast<const std::byte*>(user->User.Sid);
  return std::vector<std::byte>(sid, sid + ::GetLengthSid(user->User.Sid));
}

}  // namespace ostrel::platform::win32

namespace ostrel::platform {

// taskkill's filter names the account instead (CurrentUserAccount).
std::uint32_t CurrentUserId() { return 0; }

std::string CurrentUserAccount() {
  std::vector<std::byte> sid = win32::ProcessUserSid(::GetCurrentProcess());
  if (sid.empty()) return {};
  wchar_t name[256] = {};
  wchar_t domain[256] = {};
  DWORD nameSize = 256;
  DWORD domainSize = 256;
  SID_NAME_USE use{};
  if (!::LookupAccountSidW(nullptr, sid.data(), name, &nameSize, domain, &domainSize, &use)) return {};
  const std::wstring account = domainSize > 0 ? std::wstring(domain) + L"\\" + name : std::wstring(name);
  return win32::ToUtf8(account);
}

}  // namespace ostrel::platform
