#include "setup/core/InstallChain.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <set>

#include "setup/platform/CommandLine.h"
#include "tests/setup/core/StartupFakes.h"

namespace ostrel::setup {
namespace {

namespace fs = std::filesystem;
using platform::PathStyle;
using testing::ProcessExit;

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void WriteText(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// ---- command lines -------------------------------------------------------

TEST(InstallCommandLines, WindowsFormIsThePiecesWithNothingBetween) {
  EXPECT_EQ(ExtractorCommandLine("C:\\T\\7za.exe", "C:\\T\\tmp1A.tmp", "D:\\Ostrel\\", PathStyle::Windows),
            "\"C:\\T\\7za.exe\" x -pZq4vTe -aoa \"C:\\T\\tmp1A.tmp\" -o\"D:\\Ostrel\\\"");
  EXPECT_EQ(OldUninstallerCommandLine("D:\\Ostrel\\Uninstall.exe", PathStyle::Windows),
            "\"D:\\Ostrel\\Uninstall.exe\" update");
}

// Each target must reach the extractor as one word, whatever it holds; one
// that cannot is refused rather than run as something else.
TEST(InstallCommandLines, EveryPathReachesTheChildWhole) {
  const std::string extractor = "/tmp/ostrel-1/7za";
  const std::string archive = "/tmp/ostrel-1/tmp00.tmp";
  const struct {
    std::string target;
    bool spelled;
  } cases[] = {
      {"/home/u/.local/share/Ostrel/", true},
      {"/home/u/my files/Ostrel/", true},
      {"/home/u/$HOME/%PATH%/a&b/;touch pwned/Ostrel/", true},
      {"/home/u/back\\slash\\/Ostrel/", true},
      {"/home/u/日本語 Données/Ostrel/", true},
      {"/home/u/tab\there/Ostrel/", true},
      {"/home/u/say \"hi\"/Ostrel/", false},
      {"/home/u/\" x -o/tmp/evil \"/", false},
  };
  for (const auto& c : cases) {
    const auto line = ExtractorCommandLine(extractor, archive, c.target, PathStyle::Posix);
    ASSERT_EQ(line.has_value(), c.spelled) << c.target;
    if (!line) continue;
    const std::vector<std::string> expected{extractor, "x", "-pZq4vTe", "-aoa", archive, "-o" + c.target};
    EXPECT_EQ(platform::SplitWindowsCommandLine(*line), expected) << *line;
  }
  EXPECT_FALSE(ExtractorCommandLine("/tmp/\"/7za", archive, "/t/", PathStyle::Posix));
  EXPECT_FALSE(ExtractorCommandLine(extractor, "/tmp/\"x.tmp", "/t/", PathStyle::Posix));
}

TEST(InstallCommandLines, OldUninstallerMustBeAQuoteFreePathWithAFolder) {
  const auto line = OldUninstallerCommandLine("/home/u/a b;c/Uninstall", PathStyle::Posix);
  ASSERT_TRUE(line);
  EXPECT_EQ(platform::SplitWindowsCommandLine(*line), (std::vector<std::string>{"/home/u/a b;c/Uninstall", "update"}));
  EXPECT_FALSE(OldUninstallerCommandLine("Uninstall", PathStyle::Posix)) << "a bare name is looked up on PATH";
  EXPECT_FALSE(OldUninstallerCommandLine("/home/\"u/Uninstall", PathStyle::Posix));
  EXPECT_FALSE(OldUninstallerCommandLine("", PathStyle::Posix));
}

TEST(InstallCommandLines, EntryValuesInTheirOrder) {
  const auto values = UninstallEntryValues("D:\\Ostrel\\", "2.0", PathStyle::Windows);
  std::vector<std::string> lines;
  for (const auto& v : values) lines.push_back(v.name + "=" + v.value);
  EXPECT_EQ(lines, (std::vector<std::string>{"DisplayIcon=D:\\Ostrel\\Ostrel.exe", "DisplayName=Ostrel",
                                             "DisplayVersion=2.0", "Publisher=" + std::string(PublisherAddress()),
                                             "UninstallString=D:\\Ostrel\\Uninstall.exe"}));
  EXPECT_TRUE(PublisherAddress().find(".example") != std::string_view::npos);
}

// ---- the chain -----------------------------------------------------------

// A real folder standing in for the run's private temporary folder.
class FakeTemporary final : public platform::ITemporaryFolder {
 public:
  explicit FakeTemporary(fs::path folder) : folder_(std::move(folder)) {}
  bool failFile = false;
  int releases = 0;
  std::optional<std::string> Path() override {
    fs::create_directories(folder_);
    return folder_.string() + "/";
  }
  std::optional<std::string> CreateUniqueFile(std::string_view prefix) override {
    if (failFile) return std::nullopt;
    const std::string path = *Path() + std::string(prefix) + "0001.tmp";
    WriteText(path, "");
    return path;
  }
  bool Release() override {
    ++releases;
    std::error_code ignored;
    fs::remove(folder_, ignored);
    return !fs::exists(folder_);
  }

 private:
  fs::path folder_;
};

struct SavedLink {
  std::string path, target, workingFolder;
};

class RecordingLink final : public platform::IShellLink {
 public:
  explicit RecordingLink(std::vector<SavedLink>& saves) : saves_(saves) {}
  bool SetPath(const std::string& target) override {
    target_ = target;
    return true;
  }
  bool SetWorkingDirectory(const std::string& folder) override {
    folder_ = folder;
    return true;
  }
  bool Save(const std::string& path) override {
    saves_.push_back({path, target_, folder_});
    WriteText(path, "link to " + target_);
    return true;
  }

 private:
  std::vector<SavedLink>& saves_;
  std::string target_, folder_;
};

class InstallChainRun : public ::testing::Test {
 protected:
  InstallChainRun()
      : root_(fs::path(::testing::TempDir()) /
              ("install-chain-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()))),
        temporary_(root_ / "tmp"),
        folders_(shellFolders_, PathStyle::Posix) {
    fs::remove_all(root_);
    fs::create_directories(root_ / "download");
    fs::create_directories(root_ / "Desktop");
    shellFolders_.folders[platform::CSIDL_APPDATA] = (root_ / "data").string();
    shellFolders_.folders[platform::CSIDL_DESKTOP] = (root_ / "Desktop").string();
    system_.executablePath = (root_ / "download" / "OstrelSetup").string();
    WriteText(system_.executablePath, "setup program bytes");
    state_.SetVersionText("2.0");
  }
  ~InstallChainRun() override { fs::remove_all(root_); }

  InstallContext Context() {
    return InstallContext{
        state_,
        window_,
        tasks_,
        registry_,
        folders_,
        system_,
        temporary_,
        [this](std::string_view name, const std::string& path, platform::SaveOptions options) {
          const std::scoped_lock lock(savedMutex_);
          saved_.insert(std::string(name) + " -> " + path + (options.executable ? " (program)" : ""));
          WriteText(path, std::string(name) + " bytes");
          return true;
        },
        [this](const std::string& commandLine, const std::string& folder, bool utf8, std::int32_t limit) {
          runs_.push_back(commandLine + " | " + folder + " | " + (utf8 ? "utf8" : "ansi") + " | " +
                          std::to_string(limit));
          if (onRun_) onRun_();
        },
        [this]() -> std::unique_ptr<platform::IShellLink> {
          if (failLink_) return nullptr;
          return std::make_unique<RecordingLink>(links_);
        },
        [this](const std::string& path) { opened_.push_back(path); },
        [this](ReportKind kind) { reports_.push_back(kind); },
        PathStyle::Posix,
    };
  }

  // Runs the click and every task it leads to, pool tasks one after the
  // other as they are posted; true when the process was ended with code 0.
  bool RunToTheEnd(InstallChain& chain) {
    chain.InstallButtonClick();
    try {
      for (std::size_t i = 0; i < tasks_.posted.size(); ++i) tasks_.posted[i]();
    } catch (const ProcessExit& exit) {
      return exit.code == 0;
    }
    return false;
  }

  std::string Target() const { return (root_ / "data" / "Ostrel").string() + "/"; }
  std::string DesktopLink() const { return (root_ / "Desktop" / "Ostrel.desktop").string(); }
  std::string MenuLink() const { return (root_ / "data" / "applications" / "Ostrel.desktop").string(); }

  fs::path root_;
  SetupState state_;
  testing::FakeWindow window_;
  testing::FakeTasks tasks_;
  testing::FakeRegistry registry_;
  testing::FakeShellFolders shellFolders_;
  testing::FakeSystem system_;
  FakeTemporary temporary_;
  SpecialFolders folders_;
  bool failLink_ = false;
  std::function<void()> onRun_;
  // The two saves may run side by side.
  std::mutex savedMutex_;
  std::set<std::string> saved_;
  std::vector<std::string> runs_, opened_;
  std::vector<SavedLink> links_;
  std::vector<ReportKind> reports_;
};

TEST_F(InstallChainRun, FreshInstallWalksEveryStepAndEnds) {
  window_.items = {(root_ / "data" / "Ostrel").string()};
  window_.selected = 0;
  InstallChain chain(Context());

  chain.InstallButtonClick();
  EXPECT_EQ(window_.calls, (std::vector<std::string>{"disable inputs", "start OperateAni"}));
  EXPECT_EQ(reports_, std::vector<ReportKind>{ReportKind::Install});
  ASSERT_EQ(tasks_.posted.size(), 1u) << "PrepareUpdate runs on the pool, not inline";
  EXPECT_TRUE(runs_.empty());

  tasks_.posted[0]();
  EXPECT_EQ(tasks_.calls, std::vector<std::string>{"ui call"}) << "ResolveTarget runs on the UI thread";
  EXPECT_EQ(state_.InstallPath(), Target());
  ASSERT_EQ(tasks_.posted.size(), 2u) << "InstallPayload runs on the pool";

  onRun_ = [&] { EXPECT_TRUE(fs::is_directory(Target())) << "the target is made before extraction"; };
  bool exited = false;
  try {
    tasks_.posted[1]();
  } catch (const ProcessExit& exit) {
    exited = exit.code == 0;
  }
  EXPECT_TRUE(exited);

  const std::string temp = (root_ / "tmp").string() + "/";
  EXPECT_EQ(saved_, (std::set<std::string>{"7za -> " + temp + "7za (program)", "pak -> " + temp + "tmp0001.tmp"}));
  EXPECT_EQ(runs_, std::vector<std::string>{"\"" + temp + "7za\" x -pZq4vTe -aoa \"" + temp + "tmp0001.tmp\" -o\"" +
                                            Target() + "\" | " + temp + " | utf8 | 0"});
  EXPECT_FALSE(fs::exists(root_ / "tmp")) << "extractor, archive and their folder are gone";
  EXPECT_EQ(ReadText(Target() + "Uninstall"), "setup program bytes");
  EXPECT_FALSE(fs::exists(Target() + "Uninstall.new")) << "the staged copy was moved, not copied again";

  ASSERT_EQ(links_.size(), 2u);
  EXPECT_EQ(links_[0].path, DesktopLink());
  EXPECT_EQ(links_[1].path, MenuLink());
  for (const SavedLink& link : links_) {
    EXPECT_EQ(link.target, Target() + "Ostrel");
    EXPECT_EQ(link.workingFolder, Target());
  }

  const std::string key(kUninstallKey);
  EXPECT_EQ(registry_.writes,
            (std::vector<std::string>{key + "|DisplayIcon=" + Target() + "Ostrel", key + "|DisplayName=Ostrel",
                                      key + "|DisplayVersion=2.0",
                                      key + "|Publisher=" + std::string(PublisherAddress()),
                                      key + "|UninstallString=" + Target() + "Uninstall"}));
  EXPECT_EQ(opened_, std::vector<std::string>{Target() + "Ostrel"});
}

TEST_F(InstallChainRun, UpdateRunsTheOldUninstallerAndInstallsBesideIt) {
  const std::string old = (root_ / "old place" / "Uninstall").string();
  state_.SetInstallPath(old);
  window_.items = {"/somewhere/else"};
  window_.selected = 0;
  InstallChain chain(Context());

  EXPECT_TRUE(RunToTheEnd(chain));
  EXPECT_EQ(reports_, std::vector<ReportKind>{ReportKind::Update});
  const std::string folder = (root_ / "old place").string() + "/";
  ASSERT_FALSE(runs_.empty());
  EXPECT_EQ(runs_[0], "\"" + old + "\" update | " + folder + " | utf8 | 15");
  EXPECT_EQ(state_.InstallPath(), folder);
  EXPECT_EQ(registry_.keys[std::string(kUninstallKey)]["UninstallString"], folder + "Uninstall");
}

TEST_F(InstallChainRun, NoSelectedTargetStopsAfterResolving) {
  InstallChain chain(Context());
  EXPECT_FALSE(RunToTheEnd(chain));
  EXPECT_EQ(tasks_.posted.size(), 1u);
  EXPECT_TRUE(saved_.empty());
  EXPECT_EQ(window_.calls, (std::vector<std::string>{"disable inputs", "start OperateAni"}));
}

TEST_F(InstallChainRun, NoTemporaryArchiveFileStopsEverything) {
  window_.items = {(root_ / "data" / "Ostrel").string()};
  window_.selected = 0;
  temporary_.failFile = true;
  InstallChain chain(Context());

  EXPECT_FALSE(RunToTheEnd(chain));
  EXPECT_TRUE(saved_.empty());
  EXPECT_TRUE(runs_.empty());
  EXPECT_TRUE(registry_.writes.empty());
  EXPECT_TRUE(opened_.empty());
  EXPECT_FALSE(fs::exists(root_ / "tmp")) << "the private folder does not outlive the failure";
}

// Shortcuts and the entry come after the payload; without them the product
// is not started and the process stays, as with any stop of the chain.
TEST_F(InstallChainRun, MissingLinkObjectOrEntryStopsBeforeTheProductStarts) {
  window_.items = {(root_ / "data" / "Ostrel").string()};
  window_.selected = 0;
  {
    failLink_ = true;
    InstallChain chain(Context());
    EXPECT_FALSE(RunToTheEnd(chain));
    EXPECT_TRUE(registry_.writes.empty());
    EXPECT_TRUE(opened_.empty());
    EXPECT_TRUE(fs::exists(Target() + "Uninstall")) << "the block before the shortcuts did run";
  }
  {
    failLink_ = false;
    registry_.failOpen = true;
    state_.SetInstallPath("");
    tasks_.posted.clear();
    InstallChain chain(Context());
    EXPECT_FALSE(RunToTheEnd(chain));
    EXPECT_EQ(links_.size(), 2u);
    EXPECT_TRUE(opened_.empty());
  }
}

TEST_F(InstallChainRun, ExistingShortcutsAreLeftAsTheyAre) {
  window_.items = {(root_ / "data" / "Ostrel").string()};
  window_.selected = 0;
  fs::create_directories(root_ / "data" / "applications");
  WriteText(DesktopLink(), "the user's own");
  WriteText(MenuLink(), "points elsewhere");
  InstallChain chain(Context());

  EXPECT_TRUE(RunToTheEnd(chain));
  EXPECT_TRUE(links_.empty());
  EXPECT_EQ(ReadText(DesktopLink()), "the user's own");
  EXPECT_EQ(ReadText(MenuLink()), "points elsewhere");
}

// A path the extractor cannot be given safely is not extracted into, yet
// everything after extraction runs as after any failed extraction.
TEST_F(InstallChainRun, UnspellableTargetSkipsOnlyTheExtractor) {
  const std::string target = (root_ / "data" / "say \"hi\"").string();
  window_.items = {target};
  window_.selected = 0;
  InstallChain chain(Context());

  EXPECT_TRUE(RunToTheEnd(chain));
  EXPECT_TRUE(runs_.empty());
  EXPECT_EQ(ReadText(target + "/Uninstall"), "setup program bytes");
  EXPECT_EQ(opened_, std::vector<std::string>{target + "/Ostrel"});
}

// The copy refuses to write over what it could not remove first, and the
// block ends there; the shortcuts and entry still follow.
TEST_F(InstallChainRun, UninstallerThatCannotBeReplacedEndsOnlyItsBlock) {
  window_.items = {(root_ / "data" / "Ostrel").string()};
  window_.selected = 0;
  fs::create_directories(Target() + "Uninstall/inside");
  InstallChain chain(Context());

  EXPECT_TRUE(RunToTheEnd(chain));
  EXPECT_TRUE(fs::is_directory(Target() + "Uninstall/inside"));
  EXPECT_FALSE(fs::exists(Target() + "Uninstall.new")) << "the unused staged copy is dropped";
  EXPECT_EQ(links_.size(), 2u);
  EXPECT_EQ(registry_.writes.size(), 5u);
}

// The uninstaller is copied while the extractor runs; what the extractor
// sees and what stays afterwards is as if it were copied after it. A staged
// file left by an interrupted run is replaced, and an old uninstaller that
// cannot be removed keeps the block from putting the new one in.
TEST_F(InstallChainRun, UninstallerIsCopiedDuringExtractionAndMovedInAfterIt) {
  window_.items = {(root_ / "data" / "Ostrel").string()};
  window_.selected = 0;
  fs::create_directories(Target());
  WriteText(Target() + "Uninstall.new", "left by an interrupted run");
  onRun_ = [&] { EXPECT_FALSE(fs::exists(Target() + "Uninstall")) << "not under its name before extraction ends"; };
  {
    InstallChain chain(Context());
    EXPECT_TRUE(RunToTheEnd(chain));
  }
  EXPECT_EQ(ReadText(Target() + "Uninstall"), "setup program bytes");
  EXPECT_FALSE(fs::exists(Target() + "Uninstall.new"));

  onRun_ = [&] {
    fs::remove(Target() + "Uninstall");
    fs::create_directories(Target() + "Uninstall/kept");
  };
  state_.SetInstallPath("");
  tasks_.posted.clear();
  InstallChain chain(Context());
  EXPECT_TRUE(RunToTheEnd(chain));
  EXPECT_TRUE(fs::is_directory(Target() + "Uninstall/kept"));
  EXPECT_FALSE(fs::exists(Target() + "Uninstall.new"));
}

TEST_F(InstallChainRun, TargetThatCannotBeMadeStillRegistersAndTriesTheStart) {
  WriteText(root_ / "data-file", "not a folder");
  const std::string target = (root_ / "data-file" / "Ostrel").string();
  window_.items = {target};
  window_.selected = 0;
  InstallChain chain(Context());

  EXPECT_TRUE(RunToTheEnd(chain));
  EXPECT_EQ(registry_.keys[std::string(kUninstallKey)]["UninstallString"], target + "/Uninstall");
  EXPECT_EQ(opened_, std::vector<std::string>{target + "/Ostrel"});
}

}  // namespace
}  // namespace ostrel::setup
