#include "setup/core/Folders.h"

#include <gtest/gtest.h>

#include "tests/setup/core/StartupFakes.h"

namespace ostrel::setup {
namespace {

TEST(Folders, StartMenuLiesUnderTheHomeFolderInEachPlatformsPlace) {
  testing::FakeShellFolders shell;
  shell.folders[platform::CSIDL_APPDATA] = "C:\\Users\\u\\AppData\\Roaming";
  shell.folders[platform::CSIDL_DESKTOP] = "C:\\Users\\u\\Desktop";
  const SpecialFolders windows(shell, platform::PathStyle::Windows);
  EXPECT_EQ(windows.HomeFolder(), "C:\\Users\\u\\AppData\\Roaming");
  EXPECT_EQ(windows.GetSpecialFolder(platform::CSIDL_DESKTOP), "C:\\Users\\u\\Desktop");
  EXPECT_EQ(windows.StartMenuProgramsFolder(),
            "C:\\Users\\u\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs");
  EXPECT_EQ(windows.GetSpecialFolder(0x26), "") << "unresolved folders are empty";

  shell.folders[platform::CSIDL_APPDATA] = "/home/u/.local/share";
  const SpecialFolders posix(shell, platform::PathStyle::Posix);
  EXPECT_EQ(posix.StartMenuProgramsFolder(), "/home/u/.local/share/applications");
}

}  // namespace
}  // namespace ostrel::setup
