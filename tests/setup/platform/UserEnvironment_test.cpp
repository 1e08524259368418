#include "setup/platform/posix/UserEnvironment.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "setup/platform/posix/UserShellFolders.h"

namespace ostrel::platform::posix {
namespace {

EnvironmentLookup From(std::map<std::string, std::string> vars) {
  return [vars = std::move(vars)](std::string_view name) -> std::optional<std::string> {
    const auto it = vars.find(std::string(name));
    if (it == vars.end()) return std::nullopt;
    return it->second;
  };
}

TEST(UserEnvironment, XdgSettingsWinWhenAbsoluteAndFallBackOtherwise) {
  const auto defaults = ResolveUserEnvironment(From({{"HOME", "/home/u/"}}), "/ignored");
  EXPECT_EQ(defaults.home, "/home/u");
  EXPECT_EQ(defaults.configHome, "/home/u/.config");
  EXPECT_EQ(defaults.dataHome, "/home/u/.local/share");
  EXPECT_EQ(defaults.cacheHome, "/home/u/.cache");

  const auto set = ResolveUserEnvironment(From({{"HOME", "/home/u"},
                                                {"XDG_CONFIG_HOME", "/cfg"},
                                                {"XDG_DATA_HOME", "relative/data"},
                                                {"XDG_CACHE_HOME", "/var/cache/u"}}),
                                          "");
  EXPECT_EQ(set.configHome, "/cfg");
  EXPECT_EQ(set.cacheHome, "/var/cache/u");
  EXPECT_EQ(set.dataHome, "/home/u/.local/share") << "relative settings are ignored";

  EXPECT_EQ(ResolveUserEnvironment(From({}), "/var/lib/svc").dataHome, "/var/lib/svc/.local/share");
}

TEST(UserEnvironment, DesktopComesFromUserDirs) {
  struct Case {
    const char* text;
    const char* desktop;
  } const cases[] = {
      {"", "/home/u/Desktop"},
      {"# comment\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n", "/home/u/Schreibtisch"},
      {"XDG_DESKTOP_DIR=\"/data/desk/\"\nXDG_MUSIC_DIR=\"$HOME/Music\"", "/data/desk"},
      {"XDG_DESKTOP_DIR=\"$HOME/My\\\"Desk\"", "/home/u/My\"Desk"},
      {"XDG_DESKTOP_DIR=\"relative\"\n", "/home/u/Desktop"},
      {"XDG_DESKTOP_DIR=\"$HOMEX/d\"\n", "/home/u/Desktop"},
      {"XDG_DESKTOP_DIR=\"$HOME/unterminated\n", "/home/u/Desktop"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(DesktopFolderFromUserDirs(c.text, "/home/u"), c.desktop);
  }
}

TEST(UserEnvironment, ShellFoldersReadTheUsersOwnSettings) {
  namespace fs = std::filesystem;
  const fs::path root = fs::temp_directory_path() / ("shell-folders-" + std::to_string(::getpid()));
  fs::remove_all(root);
  fs::create_directories(root / "cfg");
  UserEnvironment env{(root / "home").string(), (root / "cfg").string(), (root / "data").string(),
                      (root / "cache").string()};
  const UserShellFolders folders(env);

  EXPECT_EQ(folders.GetFolderPath(CSIDL_DESKTOP), env.home + "/Desktop");
  EXPECT_EQ(folders.GetFolderPath(CSIDL_APPDATA), env.dataHome);
  EXPECT_EQ(folders.GetFolderPath(0x26), "");

  std::ofstream(root / "cfg" / "user-dirs.dirs") << "XDG_DESKTOP_DIR=\"$HOME/Bureau\"\n";
  EXPECT_EQ(folders.GetFolderPath(CSIDL_DESKTOP), env.home + "/Bureau");

  // Something odd in the file's place must not stall the setup.
  fs::remove(root / "cfg" / "user-dirs.dirs");
  ASSERT_EQ(::mkfifo((root / "cfg" / "user-dirs.dirs").c_str(), 0600), 0);
  EXPECT_EQ(folders.GetFolderPath(CSIDL_DESKTOP), env.home + "/Desktop");
  fs::remove_all(root);
}

}  // namespace
}  // namespace ostrel::platform::posix
