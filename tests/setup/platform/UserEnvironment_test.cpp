#include "setup/platform/posix/UserEnvironment.h"

#include <gtest/gtest.h>

#include <map>

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

  const auto set = ResolveUserEnvironment(
      From({{"HOME", "/home/u"}, {"XDG_CONFIG_HOME", "/cfg"}, {"XDG_DATA_HOME", "relative/data"}}), "");
  EXPECT_EQ(set.configHome, "/cfg");
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

}  // namespace
}  // namespace ostrel::platform::posix
