#include "setup/platform/SelfDelete.h"

#include <windows.h>
#include <shellapi.h>

#include "setup/platform/win32/PrivateFolder.h"
#include "setup/platform/win32/WideText.h"

namespace ostrel::platform {
namespace {

using win32::ToWide;
using win32::UniqueHandle;

// The file's identity: its volume and its number on it.
std::optional<std::pair<DWORD, ULONGLONG>> FileIdentity(const std::wstring& path) {
  const UniqueHandle file(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!file.Valid() || !::GetFileInformationByHandle(file.Get(), &info)) return std::nullopt;
  return std::make_pair(info.dwVolumeSerialNumber,
                        (static_cast<ULONGLONG>(info.nFileIndexHigh) << 32) | info.nFileIndexLow);
}

bool IsRunningProgram(const std::wstring& path) {
  wchar_t own[MAX_PATH * 4] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, own, MAX_PATH * 4);
  if (length == 0 || length >= MAX_PATH * 4) return false;
  const auto running = FileIdentity(own);
  return running && running == FileIdentity(path);
}

}  // namespace

void ScheduleSelfDelete(const std::string& uninstallerPath) {
  const auto target = ToWide(uninstallerPath);
  // The path was read before; a file put there since (a newer uninstaller
  // copied in by an update) must survive, so only the running file goes.
  if (!target || target->empty() || !IsRunningProgram(*target)) return;

  const std::wstring folder = win32::UserTemporaryFolder();
  const auto prefix = ToWide(kSelfDeleteBatchPrefix);
  const std::string text = SelfDeleteBatchText();
  for (int attempt = 0; attempt < 16 && !folder.empty(); ++attempt) {
    const auto suffix = win32::RandomHexName();
    if (!suffix) return;
    const std::wstring batch = folder + *prefix + L"-" + *suffix + L".bat";
    UniqueHandle file(::CreateFileW(batch.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
      if (::GetLastError() == ERROR_FILE_EXISTS) continue;
      return;
    }
    DWORD written = 0;
    const bool complete = ::WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                          written == text.size();
    file.Reset();
    const auto variable = ToWide(kSelfDeleteVariable);
    if (!complete || !::SetEnvironmentVariableW(variable->c_str(), target->c_str())) {
      ::DeleteFileW(batch.c_str());
      return;
    }
    // The interpreter inherits this process's environment, and with it the
    // path; it outlives this process, which ends right after.
    const auto started = reinterpret_cast<INT_PTR>(::ShellExecuteW(nullptr, L"open", batch.c_str(), nullptr, nullptr, SW_HIDE));
    if (started <= 32) ::DeleteFileW(batch.c_str());
    return;
  }
}

}  // namespace ostrel::platform
