#include "setup/core/Startup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "tests/setup/core/StartupFakes.h"

namespace ostrel::setup {
namespace {

using platform::DriveType;
using platform::PathStyle;
using testing::StartupRig;
using FakeValues = testing::FakeRegistry::Values;

bool Has(const std::vector<std::string>& calls, const std::string& call) {
  return std::find(calls.begin(), calls.end(), call) != calls.end();
}

struct RoleCase {
  PathStyle style;
  const char* executable;
  std::vector<std::string> args;
  bool answerYes;
  // What must follow.
  bool asked;
  bool report;
  bool uninstall;
  bool install;
  bool hidden;
};

TEST(Startup, FileNameAndCommandLineChooseTheBehaviour) {
  const RoleCase cases[] = {
      // uninstall role
      {PathStyle::Windows, "D:\\Ostrel\\Uninstall.exe", {"update"}, true, false, false, true, false, false},
      {PathStyle::Windows, "D:\\Ostrel\\UNINSTALL.EXE", {"silent"}, true, false, true, true, false, false},
      {PathStyle::Windows, "D:\\Ostrel\\uninstall.exe", {}, true, true, true, true, false, false},
      {PathStyle::Windows, "D:\\Ostrel\\Uninstall.exe", {"Update", "silent"}, true, true, true, true, false, false},
      {PathStyle::Windows, "D:\\Ostrel\\Uninstall.exe", {}, false, true, false, false, false, false},
      {PathStyle::Posix, "/opt/Ostrel/Uninstall", {"update"}, true, false, false, true, false, false},
      // install role
      {PathStyle::Windows, "D:\\dl\\Uninstall (1).exe", {"silent", "nogui"}, true, false, false, false, true, true},
      {PathStyle::Windows, "D:\\dl\\OstrelSetup.exe", {"silent"}, true, false, false, false, true, false},
      {PathStyle::Windows, "D:\\dl\\OstrelSetup.exe", {"silent", "nogui", "x"}, true, false, false, false, true, true},
      {PathStyle::Windows, "D:\\dl\\OstrelSetup.exe", {"Silent"}, true, false, false, false, false, false},
      {PathStyle::Windows, "D:\\dl\\OstrelSetup.exe", {"SILENT", "nogui"}, true, false, false, false, false, false},
      {PathStyle::Windows, "D:\\dl\\OstrelSetup.exe", {"nogui", "silent"}, true, false, false, false, false, false},
      {PathStyle::Windows, "D:\\dl\\OstrelSetup.exe", {"x", "nogui"}, true, false, false, false, false, false},
      {PathStyle::Windows, "D:\\dl\\OstrelSetup.exe", {"update"}, true, false, false, false, false, false},
      {PathStyle::Posix, "/opt/Uninstall.exe", {"silent"}, true, false, false, false, true, false},
  };
  for (const RoleCase& c : cases) {
    StartupRig rig;
    rig.style = c.style;
    rig.system.executablePath = c.executable;
    rig.args = c.args;
    rig.window.answerYes = c.answerYes;
    const auto mode = rig.Run();

    std::string label = std::string(c.executable);
    for (const auto& a : c.args) label += " " + a;
    SCOPED_TRACE(label);
    const bool uninstallRole = c.asked || c.uninstall;
    EXPECT_EQ(rig.exited, uninstallRole);
    EXPECT_EQ(rig.exitCode, 0u);
    EXPECT_EQ(mode.has_value(), !uninstallRole);
    EXPECT_EQ(Has(rig.window.calls, "ask Uninstall Ostrel? / Ostrel"), c.asked);
    EXPECT_EQ(Has(rig.actions.calls, "report"), c.report);
    EXPECT_EQ(Has(rig.actions.calls, "uninstall"), c.uninstall);
    EXPECT_EQ(Has(rig.actions.calls, "install"), c.install);
    EXPECT_EQ(Has(rig.window.calls, "hide"), c.hidden);
    // The program loads the window, and needs a display, exactly for the
    // runs that ask or show it.
    EXPECT_EQ(RunNeedsWindow(RoleFromExecutable(c.executable, c.style), c.args), uninstallRole ? c.asked : !c.hidden);
    if (c.hidden) {
      EXPECT_EQ(rig.tasks.calls, (std::vector<std::string>{"thread", "ui call"}));
    }
    if (uninstallRole) {
      EXPECT_FALSE(Has(rig.window.calls, "create OperateAni")) << "the uninstaller never prepares the window";
      EXPECT_TRUE(rig.registry.writes.empty()) << "the uninstaller creates no identity";
    }
  }
}

TEST(Startup, DecliningTheUninstallQuestionReadsNothing) {
  StartupRig rig;
  rig.system.executablePath = "D:\\Ostrel\\Uninstall.exe";
  rig.registry.keys[std::string(kProductKey)] = {{"uuid", "{KEPT}"}, {"fl", "web"}};
  rig.window.answerYes = false;
  rig.Run();
  EXPECT_TRUE(rig.exited);
  EXPECT_EQ(rig.state.InstallId(), "");
  EXPECT_EQ(rig.state.ChannelTag(), "");
}

TEST(Startup, UninstallerReadsIdentityAndTagBack) {
  StartupRig rig;
  rig.system.executablePath = "D:\\Ostrel\\Uninstall.exe";
  rig.args = {"silent"};
  rig.registry.keys[std::string(kProductKey)] = {{"uuid", "{0A}"}, {"fl", "web"}};
  rig.Run();
  EXPECT_EQ(rig.state.InstallId(), "{0A}");
  EXPECT_EQ(rig.state.ChannelTag(), "web");
  EXPECT_EQ(rig.state.VersionText(), "2.0");
  EXPECT_EQ(rig.actions.calls, (std::vector<std::string>{"report", "uninstall"}));
}

TEST(Startup, ChannelTagComesFromTheSetupsFileName) {
  struct Case {
    PathStyle style;
    const char* path;
    const char* tag;
  } const cases[] = {
      {PathStyle::Windows, "D:\\dl\\OstrelSetup.exe", ""},
      {PathStyle::Windows, "D:\\dl\\OstrelSetup.web.exe", "web"},
      {PathStyle::Windows, "D:\\dl\\OstrelSetup_b2.exe", "_b2"},
      {PathStyle::Windows, "D:\\dl\\OstrelSetup..x.exe", ".x"},
      {PathStyle::Windows, "D:\\dl\\NewSetup.exe", ""},
      {PathStyle::Windows, "D:\\dl\\newsetup.exe", "newsetup"},
      {PathStyle::Windows, "D:\\dl\\ostrelsetup.web.exe", "ostrelsetup.web"},
      {PathStyle::Windows, "D:\\dl\\Setup.exe", "Setup"},
      {PathStyle::Windows, "D:\\dl.v2\\OstrelSetup", ""},
      {PathStyle::Windows, "D:\\dl\\OstrelSetup.web.EXE", "web"},
      // The last extension goes whatever it is, not only ".exe".
      {PathStyle::Windows, "D:\\dl\\OstrelSetup.web", ""},
      {PathStyle::Windows, "D:\\dl\\OstrelSetup.web.bin", "web"},
      {PathStyle::Windows, "D:\\dl\\NewSetup.tmp", ""},
      {PathStyle::Posix, "/home/u/OstrelSetup.web", "web"},
      {PathStyle::Posix, "/home/u/OstrelSetup", ""},
      {PathStyle::Posix, "/home/u/OstrelSetup.web.exe", "web.exe"},
      {PathStyle::Posix, "/home/u/NewSetup", ""},
      {PathStyle::Posix, "/home/u/Setup.sh", "Setup.sh"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ChannelTagFromExecutable(c.path, c.style), c.tag) << c.path;
  }
}

TEST(Startup, GuidTextIsBracedUpperCaseInFiveGroups) {
  platform::GuidBytes bytes{};
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 17 + 10);
  EXPECT_EQ(GuidText(bytes), "{0A1B2C3D-4E5F-7081-92A3-B4C5D6E7F809}");
}

const std::regex kGuidForm("\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}");

TEST(Startup, IdentityIsCreatedOnceAndFlIsWrittenOnlyWhenMissing) {
  StartupRig first;
  first.Run();
  const auto& stored = first.registry.keys.at(std::string(kProductKey));
  ASSERT_TRUE(stored.count("uuid"));
  EXPECT_TRUE(std::regex_match(stored.at("uuid"), kGuidForm)) << stored.at("uuid");
  EXPECT_EQ(first.state.InstallId(), stored.at("uuid"));
  EXPECT_EQ(stored.at("fl"), "web");
  EXPECT_EQ(first.state.ChannelTag(), "web");

  // A later setup from another channel keeps both values and reports its own tag.
  StartupRig later;
  later.registry.keys = first.registry.keys;
  later.system.executablePath = "C:\\dl\\OstrelSetup.beta.exe";
  later.Run();
  EXPECT_TRUE(later.registry.writes.empty());
  EXPECT_EQ(later.state.InstallId(), stored.at("uuid"));
  EXPECT_EQ(later.state.ChannelTag(), "beta");
  EXPECT_EQ(later.registry.keys.at(std::string(kProductKey)).at("fl"), "web");
}

TEST(Startup, EmptyIdentityIsReplacedAndEmptyTagIsStillWritten) {
  StartupRig rig;
  rig.system.executablePath = "C:\\dl\\NewSetup.exe";
  rig.registry.keys[std::string(kProductKey)] = {{"uuid", ""}};
  rig.Run();
  const auto& stored = rig.registry.keys.at(std::string(kProductKey));
  EXPECT_TRUE(std::regex_match(stored.at("uuid"), kGuidForm));
  EXPECT_EQ(rig.state.InstallId(), stored.at("uuid"));
  ASSERT_TRUE(stored.count("fl"));
  EXPECT_EQ(stored.at("fl"), "");
}

TEST(Startup, UnopenableProductKeyLeavesIdentityEmpty) {
  StartupRig rig;
  rig.registry.failOpen = true;
  ASSERT_TRUE(rig.Run().has_value());
  EXPECT_EQ(rig.state.InstallId(), "");
  EXPECT_EQ(rig.state.ChannelTag(), "web");
  EXPECT_EQ(rig.window.items.size(), 2u) << "start-up goes on in install mode";
}

TEST(Startup, RegisteredUninstallerSelectsUpdateModeEvenWhenItsFileIsGone) {
  StartupRig rig;
  rig.registry.keys[std::string(kUninstallKey)] = {{"UninstallString", "Z:\\gone\\Uninstall.exe"}};
  EXPECT_EQ(rig.Run(), SetupMode::Update);
  EXPECT_EQ(rig.state.InstallPath(), "Z:\\gone\\Uninstall.exe");
  const std::vector<std::string> expected = {"create OperateAni",
                                             "caption Update Ostrel",
                                             "button Update Now",
                                             "hide custom",
                                             "restart Ani1O 0.000000 2.000000",
                                             "restart Ani2X 0.000000 2.000000",
                                             "restart Ani2Y 0.000000 2.000000",
                                             "restart Ani1Y 0.000000 2.000000",
                                             "restart Ani3X 0.000000 2.000000",
                                             "restart Ani3Y 0.000000 2.000000",
                                             "restart Ani3O 0.000000 2.000000",
                                             "restart Ani4O 0.000000 2.000000",
                                             "restart Ani4Y 0.000000 2.000000"};
  EXPECT_EQ(rig.window.calls, expected);
  EXPECT_TRUE(rig.window.items.empty());
}

TEST(Startup, MissingOrEmptyUninstallStringMeansInstallMode) {
  for (const auto& values : {FakeValues{}, FakeValues{{"UninstallString", ""}}, FakeValues{{"DisplayName", "x"}}}) {
    StartupRig rig;
    rig.registry.keys[std::string(kUninstallKey)] = values;
    EXPECT_EQ(rig.Run(), SetupMode::Install);
    EXPECT_TRUE(Has(rig.window.calls, "caption Install Ostrel"));
  }
}

// A changed value must not have the setup run some other program with
// "update" and install, and later uninstall, in that program's folder.
TEST(Startup, OnlyAnAbsolutePathToTheUninstallerSelectsUpdateMode) {
  const struct {
    PathStyle style;
    const char* value;
    bool update;
  } cases[] = {
      {PathStyle::Posix, "/home/u/.local/share/Ostrel/Uninstall", true},
      {PathStyle::Posix, "/home/u/.local/share/Ostrel/uninstall", true},
      {PathStyle::Posix, "/home/u/Documents/notes.txt", false},
      {PathStyle::Posix, "/usr/bin/rm", false},
      {PathStyle::Posix, "Uninstall", false},
      {PathStyle::Posix, "Ostrel/Uninstall", false},
      {PathStyle::Posix, "/home/u/Ostrel/Uninstall (1)", false},
      {PathStyle::Posix, "/home/u/\xff/Uninstall", true},
      {PathStyle::Windows, "D:\\Ostrel\\UNINSTALL.EXE", true},
      {PathStyle::Windows, "\\\\nas\\apps\\Ostrel\\Uninstall.exe", true},
      {PathStyle::Windows, "D:Uninstall.exe", false},
      {PathStyle::Windows, "C:\\Windows\\System32\\cmd.exe", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    StartupRig rig;
    rig.style = c.style;
    rig.registry.keys[std::string(kUninstallKey)] = {{"UninstallString", c.value}};
    ::testing::internal::CaptureStderr();
    const auto mode = rig.Run();
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(mode, c.update ? SetupMode::Update : SetupMode::Install);
    EXPECT_EQ(rig.state.InstallPath(), c.update ? c.value : "");
    if (c.update) {
      EXPECT_EQ(said, "");
    } else {
      EXPECT_TRUE(said.starts_with("OstrelSetup: the registered uninstaller ") && said.ends_with("installing anew.\n"))
          << said;
    }
  }
}

// A POSIX file name may carry bytes that are no text; the stored tag must be
// one the registry gives back, and the one the reports send.
TEST(Startup, ChannelTagThatIsNoTextIsStoredAsText) {
  StartupRig rig;
  rig.style = PathStyle::Posix;
  rig.system.executablePath = "/home/u/OstrelSetup.w\xff" "b";
  rig.Run();
  EXPECT_EQ(rig.state.ChannelTag(), "w\xEF\xBF\xBD" "b");
  EXPECT_EQ(rig.registry.keys.at(std::string(kProductKey)).at("fl"), "w\xEF\xBF\xBD" "b");
}

TEST(Startup, DriveListOffersThePreferredTargetAndOtherFixedDrives) {
  StartupRig rig;
  rig.drives.drives = {{"A:\\", DriveType::dtRemovable}, {"C:\\", DriveType::dtFixed},  {"D:\\", DriveType::dtFixed},
                       {"E:\\", DriveType::dtCdRom},     {"N:\\", DriveType::dtRemote}, {"R:\\", DriveType::dtRamDisk}};
  rig.Run();
  EXPECT_EQ(rig.window.items, (std::vector<std::string>{"C:\\Users\\u\\AppData\\Roaming\\Ostrel", "D:\\Ostrel"}));
  EXPECT_EQ(rig.window.selected, 0);

  // The prefix test is case-sensitive, as the drive roots come from the system.
  StartupRig lower;
  lower.shellFolders.folders[platform::CSIDL_APPDATA] = "c:\\Users\\u\\AppData\\Roaming";
  lower.Run();
  EXPECT_EQ(lower.window.items, (std::vector<std::string>{"C:\\Ostrel", "D:\\Ostrel"}));
}

TEST(Startup, NoFixedDriveLeavesTheListEmptyAndUnselected) {
  StartupRig rig;
  rig.drives.drives = {{"A:\\", DriveType::dtRemovable}};
  rig.Run();
  EXPECT_TRUE(rig.window.items.empty());
  EXPECT_EQ(rig.window.selected, -1);
}

TEST(Startup, PosixDriveListUsesMountPoints) {
  StartupRig rig;
  rig.style = PathStyle::Posix;
  rig.system.executablePath = "/home/u/OstrelSetup.web";
  rig.shellFolders.folders[platform::CSIDL_APPDATA] = "/home/u/.local/share";
  rig.drives.drives = {{"/home", DriveType::dtFixed}, {"/data", DriveType::dtFixed}, {"/tmp", DriveType::dtRamDisk}};
  rig.Run();
  EXPECT_EQ(rig.window.items, (std::vector<std::string>{"/home/u/.local/share/Ostrel", "/data/Ostrel"}));
}

TEST(Startup, VersionTextIsTheResourceWhenItIsUtf8) {
  const struct {
    std::optional<std::string> resource;
    const char* text;
  } cases[] = {
      {std::string("2.0"), "2.0"}, {std::string(" 2.1\n"), " 2.1\n"}, {std::string("\xE7\x89\x88"), "\xE7\x89\x88"},
      {std::string("2.\xFF"), ""}, {std::string("\xC0\xAE"), ""},     {std::nullopt, ""},
  };
  for (const auto& c : cases) {
    StartupRig rig;
    rig.versionResource = c.resource;
    rig.Run();
    EXPECT_EQ(rig.state.VersionText(), c.text);
  }
}

TEST(Startup, SilentInstallRunsAfterTheWindowIsPrepared) {
  StartupRig rig;
  rig.args = {"silent", "nogui"};
  rig.Run();
  ASSERT_FALSE(rig.window.calls.empty());
  EXPECT_EQ(rig.window.calls.front(), "create OperateAni");
  EXPECT_EQ(rig.window.calls.back(), "hide");
  EXPECT_EQ(rig.window.selected, 0) << "the Install action finds its target selected";
  EXPECT_EQ(rig.actions.calls, (std::vector<std::string>{"install"}));
}

}  // namespace
}  // namespace ostrel::setup
