#include "setup/core/Uninstall.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "setup/platform/StopByName.h"
#include "setup/platform/System.h"
#include "tests/setup/core/StartupFakes.h"

namespace ostrel::setup {
namespace {

namespace fs = std::filesystem;
using platform::PathStyle;
using platform::QuitAnswer;
using namespace std::chrono_literals;

TEST(UninstallNames, ProductFilesCarryThePlatformsProgramSuffix) {
  const std::vector<std::string> windows = ProductFileNames(PathStyle::Windows);
  const std::vector<std::string> expected = {"osd.exe",
                                             "os-trel",
                                             "Ostrel.exe",
                                             "MicrosoftEdgeWebview2Setup.exe",
                                             "Ostrelx64Bridge.exe",
                                             "AdbWinApi.dll",
                                             "AdbWinUsbApi.dll",
                                             "avcodec-58.dll",
                                             "avformat-58.dll",
                                             "avutil-56.dll",
                                             "swresample-3.dll",
                                             "swscale-5.dll",
                                             "libalac-0.dll",
                                             "libfdk-aac-2.dll",
                                             "WebView2Loader.dll"};
  EXPECT_EQ(windows, expected);

  const std::vector<std::string> posix = ProductFileNames(PathStyle::Posix);
  ASSERT_EQ(posix.size(), 15u);
  EXPECT_EQ(posix[0], "osd");
  EXPECT_EQ(posix[2], "Ostrel");
  EXPECT_EQ(posix[3], "MicrosoftEdgeWebview2Setup");
  EXPECT_EQ(posix[5], "AdbWinApi.dll");

  EXPECT_EQ(LanguagePackPaths(PathStyle::Windows).front(), "lang\\日本語.lang");
  EXPECT_EQ(LanguagePackPaths(PathStyle::Posix).back(), "lang/한국어-Github.lang");
  EXPECT_EQ(ShortcutFileName(PathStyle::Windows), "Ostrel.lnk");
  EXPECT_EQ(ShortcutFileName(PathStyle::Posix), "Ostrel.desktop");
}

// A real install folder in a temporary place, with the platform around it
// faked and every outside call recorded in order.
class UninstallProcedure : public ::testing::Test {
 protected:
  UninstallProcedure() {
    std::string pattern = (fs::temp_directory_path() / "ostrel-uninstall-XXXXXX").string();
    root_ = ::mkdtemp(pattern.data());
    fs::create_directories(Install());
    fs::create_directories(Desktop());
    fs::create_directories(Home() / "applications");
    shell_.folders[platform::CSIDL_DESKTOP] = Desktop().string();
    shell_.folders[platform::CSIDL_APPDATA] = Home().string();
    registry_.keys[std::string(kUninstallKey)] = {{"UninstallString", Uninstaller()}};
    registry_.keys[std::string(kProductKey)] = {{"uuid", "{id}"}, {"fl", "web"}};
  }
  ~UninstallProcedure() override {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  fs::path Install() const { return root_ / "Ostrel"; }
  fs::path Desktop() const { return root_ / "Desktop"; }
  fs::path Home() const { return root_ / "share"; }
  std::string Uninstaller() const { return (Install() / "Uninstall").string(); }

  static void Touch(const fs::path& path) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "x";
  }

  void Run() {
    const SpecialFolders folders(shell_, PathStyle::Posix);
    RunUninstallProcedure(UninstallContext{
        registry_,
        folders,
        Uninstaller(),
        [this] {
          log_.push_back("ask");
          if (answers_.empty()) return QuitAnswer::NotRunning;
          const QuitAnswer answer = answers_.front();
          if (answers_.size() > 1 || !repeatLast_) answers_.pop_front();
          return answer;
        },
        [this](const std::string& command, const std::string& folder) { log_.push_back(command + " @" + folder); },
        [this](std::chrono::milliseconds pause) { log_.push_back("sleep " + std::to_string(pause.count())); },
        [this](const std::string& path) { log_.push_back("self-delete " + path); },
        PathStyle::Posix,
        UninstallRemovals{},
    });
  }

  fs::path root_;
  testing::FakeShellFolders shell_;
  testing::FakeRegistry registry_;
  std::deque<QuitAnswer> answers_;
  bool repeatLast_ = false;
  std::vector<std::string> log_;
};

TEST_F(UninstallProcedure, AsksUntilTheProductIsGoneThenStopsTheRestTwice) {
  answers_ = {QuitAnswer::Answered, QuitAnswer::Answered};
  Run();
  const std::string folder = " @" + Install().string() + "/";
  const std::string pkill = "pkill -KILL -x -U " + std::to_string(platform::CurrentUserId()) + " ";
  const std::vector<std::string> expected = {"ask",
                                             "sleep 100",
                                             "ask",
                                             "sleep 100",
                                             "ask",
                                             pkill + "Ostrel" + folder,
                                             pkill + "osd" + folder,
                                             "sleep 500",
                                             pkill + "Ostrel" + folder,
                                             pkill + "osd" + folder,
                                             "sleep 500",
                                             "self-delete " + Uninstaller()};
  EXPECT_EQ(log_, expected);
}

TEST_F(UninstallProcedure, ProductThatNeverLeavesIsAskedFiftyTimes) {
  for (const QuitAnswer kept : {QuitAnswer::Answered, QuitAnswer::NoAnswer}) {
    log_.clear();
    answers_ = {kept};
    repeatLast_ = true;
    Run();
    EXPECT_EQ(std::count(log_.begin(), log_.end(), "ask"), kQuitTries);
    EXPECT_EQ(std::count(log_.begin(), log_.end(), "sleep 100"), kQuitTries);
    EXPECT_EQ(std::count(log_.begin(), log_.end(), "sleep 500"), 2);
  }
}

TEST_F(UninstallProcedure, RemovesTheNamedItemsAndNothingElse) {
  for (const std::string& name : ProductFileNames(PathStyle::Posix)) {
    if (name != "os-trel") Touch(Install() / name);
  }
  fs::create_directories(Install() / "os-trel");
  for (const std::string& pack : LanguagePackPaths(PathStyle::Posix)) Touch(Install() / pack);
  Touch(Install() / "lang" / "Deutsch.lang");
  Touch(Install() / "wizard" / "wizard.dat");
  Touch(Install() / "wizard" / "sub" / "user.txt");
  Touch(Install() / "driver" / "driver.inf");
  Touch(Install() / "Uninstall");
  Touch(Install() / "notes.txt");
  Touch(Desktop() / "Ostrel.desktop");
  Touch(Desktop() / "Other.desktop");
  Touch(Home() / "applications" / "Ostrel.desktop");

  Run();

  std::vector<std::string> left;
  for (const auto& entry : fs::recursive_directory_iterator(root_)) {
    if (!entry.is_directory()) left.push_back(fs::relative(entry.path(), root_).string());
  }
  std::sort(left.begin(), left.end());
  const std::vector<std::string> expected = {"Desktop/Other.desktop", "Ostrel/Uninstall", "Ostrel/lang/Deutsch.lang",
                                             "Ostrel/notes.txt"};
  EXPECT_EQ(left, expected);
  EXPECT_TRUE(fs::is_directory(Install() / "os-trel")) << "only files are on the list";
  EXPECT_FALSE(registry_.keys.contains(std::string(kUninstallKey)));
  EXPECT_EQ(registry_.keys.at(std::string(kProductKey)).at("uuid"), "{id}");
}

TEST_F(UninstallProcedure, EmptyLangFolderGoesAndMissingItemsAreSkipped) {
  Touch(Install() / "lang" / "简体中文.lang");
  registry_.keys.erase(std::string(kUninstallKey));
  shell_.folders.clear();
  Run();
  EXPECT_FALSE(fs::exists(Install() / "lang"));
  EXPECT_TRUE(fs::is_directory(Install()));
  EXPECT_EQ(log_.back(), "self-delete " + Uninstaller());
}

// The same procedure on a Windows machine, where the test cannot put files:
// what it would remove, and where, with the system's separators, its ".exe"
// and ".lnk" names, and a folder at a drive root that ends in a doubled
// separator.
TEST(UninstallProcedureOnWindows, RemovesTheNamedItemsBelowTheFolderOfTheUninstaller) {
  testing::FakeShellFolders shell;
  shell.folders[platform::CSIDL_DESKTOP] = "C:\\Users\\u\\Desktop";
  shell.folders[platform::CSIDL_APPDATA] = "C:\\Users\\u\\AppData\\Roaming";
  const SpecialFolders folders(shell, PathStyle::Windows);
  for (const std::string uninstaller : {"D:\\Ostrel\\Uninstall.exe", "E:\\\\Uninstall.exe"}) {
    SCOPED_TRACE(uninstaller);
    const std::string install = uninstaller.substr(0, uninstaller.size() - std::string("Uninstall.exe").size());
    testing::FakeRegistry registry;
    registry.keys[std::string(kUninstallKey)] = {{"UninstallString", uninstaller}};
    std::vector<std::string> log;
    const auto record = [&log](const char* what) {
      return [&log, what](const std::string& base, const std::string& relative) {
        log.push_back(std::string(what) + " " + base + " | " + relative);
        return true;
      };
    };
    RunUninstallProcedure(UninstallContext{
        registry,
        folders,
        uninstaller,
        [] { return QuitAnswer::NotRunning; },
        [&log](const std::string& command, const std::string& folder) { log.push_back(command + " @" + folder); },
        [](std::chrono::milliseconds) {},
        [&log](const std::string& path) { log.push_back("self-delete " + path); },
        PathStyle::Windows,
        UninstallRemovals{record("file"), record("empty"), record("tree")},
    });

    std::vector<std::string> expected;
    for (int round = 0; round < 2; ++round) {
      for (const char* program : {"Ostrel", "osd"}) {
        expected.push_back(platform::StopByNameCommandLine(program, PathStyle::Windows) + " @" + install);
      }
    }
    for (const std::string& name : ProductFileNames(PathStyle::Windows)) {
      expected.push_back("file " + install + " | " + name);
    }
    for (const char* pack : {"日本語", "简体中文", "日本語-Github", "繁體中文(台灣)-Github", "繁體中文(香港)-Github",
                             "Srpski-Github", "한국어-Github"}) {
      expected.push_back("file " + install + " | lang\\" + pack + ".lang");
    }
    expected.push_back("empty " + install + " | lang");
    expected.push_back("tree " + install + " | wizard");
    expected.push_back("tree " + install + " | driver");
    expected.push_back("file C:\\Users\\u\\Desktop | Ostrel.lnk");
    expected.push_back("file C:\\Users\\u\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs | Ostrel.lnk");
    expected.push_back("self-delete " + uninstaller);
    EXPECT_EQ(log, expected);
    EXPECT_FALSE(registry.keys.contains(std::string(kUninstallKey)));
  }
}

// One failing step must not stop the rest.
TEST_F(UninstallProcedure, AFailingStepDoesNotStopTheNextOnes) {
  Touch(Install() / "osd");
  Touch(Desktop() / "Ostrel.desktop");
  const SpecialFolders folders(shell_, PathStyle::Posix);
  RunUninstallProcedure(UninstallContext{
      registry_,
      folders,
      Uninstaller(),
      []() -> QuitAnswer { throw std::runtime_error("signal broken"); },
      [](const std::string&, const std::string&) { throw std::runtime_error("cannot start"); },
      [](std::chrono::milliseconds) {},
      [this](const std::string& path) { log_.push_back("self-delete " + path); },
      PathStyle::Posix,
      UninstallRemovals{},
  });
  EXPECT_FALSE(fs::exists(Install() / "osd"));
  EXPECT_FALSE(fs::exists(Desktop() / "Ostrel.desktop"));
  EXPECT_FALSE(registry_.keys.contains(std::string(kUninstallKey)));
  EXPECT_EQ(log_, std::vector<std::string>{"self-delete " + Uninstaller()});
}

}  // namespace
}  // namespace ostrel::setup
