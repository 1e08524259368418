#include "setup/platform/ShellOpen.h"

#include <windows.h>
#include <shellapi.h>

#include "setup/platform/win32/WideText.h"

namespace ostrel::platform {

bool ShellOpen(const std::string& path) {
  const auto wide = win32::ToWide(path);
  if (!wide || wide->empty()) return false;
  const auto result = reinterpret_cast<INT_PTR>(::ShellExecuteW(nullptr, L"open", wide->c_str(), nullptr, nullptr, SW_SHOW));
  return result > 32;
}

}  // namespace ostrel::platform
