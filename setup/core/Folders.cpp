#include "setup/core/Folders.h"

namespace ostrel::setup {

SpecialFolders::SpecialFolders(const platform::IShellFolders& shell, platform::PathStyle style)
    : shell_(shell), style_(platform::Resolve(style)) {}

std::string SpecialFolders::GetSpecialFolder(int csidl) const { return shell_.GetFolderPath(csidl); }

std::string SpecialFolders::HomeFolder() const { return GetSpecialFolder(platform::CSIDL_APPDATA); }

std::string SpecialFolders::StartMenuProgramsFolder() const {
  if (style_ == platform::PathStyle::Windows) return HomeFolder() + "\\Microsoft\\Windows\\Start Menu\\Programs";
  return HomeFolder() + "/applications";
}

}  // namespace ostrel::setup
