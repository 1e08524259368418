#include "setup/core/InstallChain.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <atomic>
#include <deque>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <map>
#include <mutex>
#include <set>
#include <span>

#include "setup/core/Uninstall.h"
#include "setup/platform/CommandLine.h"
#include "setup/platform/FileSystem.h"
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
  const auto extractor = ExtractorCommand("C:\\T\\7za.exe", "C:\\T\\tmp1A.tmp", "D:\\Ostrel\\", PathStyle::Windows);
  ASSERT_TRUE(extractor);
  EXPECT_EQ(extractor->line, "\"C:\\T\\7za.exe\" x -pZq4vTe -aoa \"C:\\T\\tmp1A.tmp\" -o\"D:\\Ostrel\\\"");
  // An archive inside a larger file: the search for it ends where it starts.
  const auto inPlace =
      ExtractorCommand("C:\\T\\7za.exe", "C:\\Setup.exe", "D:\\Ostrel\\", PathStyle::Windows, 4096);
  ASSERT_TRUE(inPlace);
  EXPECT_EQ(inPlace->line, "\"C:\\T\\7za.exe\" x -t7z:s4096b -pZq4vTe -aoa \"C:\\Setup.exe\" -o\"D:\\Ostrel\\\"");
  const auto uninstaller = OldUninstallerCommand("D:\\Ostrel\\Uninstall.exe", PathStyle::Windows);
  ASSERT_TRUE(uninstaller);
  EXPECT_EQ(uninstaller->line, "\"D:\\Ostrel\\Uninstall.exe\" update");
}

// Each path must reach the extractor as one word, whatever it holds. On POSIX
// the words go as they are; on Windows, where the child splits the line, one
// the line cannot spell is refused rather than run as something else.
TEST(InstallCommandLines, EveryPathReachesTheChildWhole) {
  const std::string extractor = "/tmp/ostrel-1/7za";
  const std::string archive = "/tmp/ostrel-1/tmp00.tmp";
  for (const std::string target : {"/home/u/.local/share/Ostrel/", "/home/u/my files/Ostrel/",
                                   "/home/u/$HOME/%PATH%/a&b/;touch pwned/Ostrel/", "/home/u/back\\slash\\/Ostrel/",
                                   "/home/u/日本語 Données/Ostrel/", "/home/u/tab\there/Ostrel/",
                                   "/home/u/say \"hi\"/Ostrel/", "/home/u/\" x -o/tmp/evil \"/"}) {
    const auto command = ExtractorCommand(extractor, archive, target, PathStyle::Posix);
    ASSERT_TRUE(command) << target;
    const std::vector<std::string> expected{extractor, "x", "-pZq4vTe", "-aoa", archive, "-o" + target};
    EXPECT_EQ(command->words, expected);
    if (target.find('"') == std::string::npos) {
      EXPECT_EQ(platform::SplitWindowsCommandLine(command->line), expected) << "the line spells the same words";
    }
  }
  EXPECT_FALSE(ExtractorCommand("C:\\T\\7za.exe", "C:\\T\\a.tmp", "D:\\say \"hi\"\\", PathStyle::Windows));
  EXPECT_FALSE(ExtractorCommand("C:\\\"\\7za.exe", "C:\\T\\a.tmp", "D:\\O\\", PathStyle::Windows));
}

TEST(InstallCommandLines, OldUninstallerNeedsAFolderAndOnWindowsNoQuote) {
  const auto command = OldUninstallerCommand("/home/u/a \"b\";c/Uninstall", PathStyle::Posix);
  ASSERT_TRUE(command);
  EXPECT_EQ(command->words, (std::vector<std::string>{"/home/u/a \"b\";c/Uninstall", "update"}));
  EXPECT_FALSE(OldUninstallerCommand("Uninstall", PathStyle::Posix)) << "a bare name is looked up on PATH";
  EXPECT_FALSE(OldUninstallerCommand("", PathStyle::Posix));
  EXPECT_FALSE(OldUninstallerCommand("D:\\\"O\\Uninstall.exe", PathStyle::Windows));
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
  bool failPath = false;
  bool failFile = false;
  int releases = 0;
  int sweeps = 0;
  void RemoveLeftovers() override { ++sweeps; }
  std::optional<std::string> Path() override {
    if (failPath) return std::nullopt;
    fs::create_directories(folder_);
    return folder_.string() + "/";
  }
  std::optional<std::string> CreateUniqueFile(std::string_view prefix) override {
    if (failPath || failFile) return std::nullopt;
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

class FakeInMemoryFile final : public platform::InMemoryFile {
 public:
  explicit FakeInMemoryFile(std::string path) : path_(std::move(path)) {}
  const std::string& Path() const override { return path_; }

 private:
  std::string path_;
};

// A hidden file beside its place, published with a rename that never
// replaces, as a file system without unnamed files gets it.
class FakePendingFile final : public platform::PendingFile {
 public:
  explicit FakePendingFile(std::string path) : path_(std::move(path)) {}
  ~FakePendingFile() override {
    std::error_code ignored;
    if (!path_.empty()) fs::remove(path_, ignored);
  }
  bool Publish(const std::string& to) override {
    const bool published = platform::MoveFileTo(path_, to);
    if (published) path_.clear();
    return published;
  }

 private:
  std::string path_;
};

struct SavedLink {
  std::string path, target, workingFolder;
  std::vector<std::string> actions;  // "id|name|program"
};

class RecordingLink final : public platform::IShellLink {
 public:
  using Write = std::function<void(const std::string& path, const std::string& text)>;
  RecordingLink(std::vector<SavedLink>& saves, Write write) : saves_(saves), write_(std::move(write)) {}
  bool SetPath(const std::string& target) override {
    target_ = target;
    return true;
  }
  bool SetWorkingDirectory(const std::string& folder) override {
    folder_ = folder;
    return true;
  }
  bool AddAction(std::string_view id, std::string_view name, const std::string& program) override {
    actions_.push_back(std::string(id) + "|" + std::string(name) + "|" + program);
    return true;
  }
  bool Save(const std::string& path) override {
    saves_.push_back({path, target_, folder_, actions_});
    write_(path, "link to " + target_);
    return true;
  }

 private:
  std::vector<SavedLink>& saves_;
  Write write_;
  std::string target_, folder_;
  std::vector<std::string> actions_;
};

// Runs the click and every task it leads to, pool tasks one after the other
// as they are posted; the exit code when the process was ended.
std::optional<unsigned> RunChainToTheEnd(InstallChain& chain, testing::FakeTasks& tasks) {
  chain.InstallButtonClick();
  try {
    for (std::size_t i = 0; i < tasks.posted.size(); ++i) tasks.posted[i]();
  } catch (const ProcessExit& exit) {
    return exit.code;
  }
  return std::nullopt;
}

class InstallChainRun : public ::testing::Test {
 protected:
  InstallChainRun()
      : root_(fs::path(::testing::TempDir()) /
              ("install-chain-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()))),
        temporary_(root_ / "tmp"),
        fallback_(root_ / "cache"),
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
        fallback_,
        [this](std::string_view name, const std::string& path, platform::SaveOptions options) {
          const std::scoped_lock lock(savedMutex_);
          saved_.insert(std::string(name) + " -> " + path + (options.executable ? " (program)" : ""));
          WriteText(path, std::string(name) + " bytes");
          return true;
        },
        [this](std::string_view name) -> std::unique_ptr<platform::InMemoryFile> {
          if (!inMemory_.contains(std::string(name))) return nullptr;
          return std::make_unique<FakeInMemoryFile>("/memory/" + std::string(name));
        },
        [this](std::string_view name) -> std::optional<platform::FilePlace> {
          if (name != "pak" || !archiveAt_) return std::nullopt;
          return platform::FilePlace{"/program/file", *archiveAt_};
        },
        [this](const std::string& folder) -> std::unique_ptr<platform::PendingFile> {
          const std::string path = folder + ".pending-" + std::to_string(++staged_);
          if (!fs::is_directory(folder)) return nullptr;
          WriteText(path, "setup program bytes");
          return std::make_unique<FakePendingFile>(path);
        },
        [this](const ChildCommand& command, const std::string& folder, std::int32_t limit,
               const std::function<void()>& started) {
          runs_.push_back(command.line + " | " + folder + " | " + std::to_string(limit));
          words_.push_back(command.words);
          if (beforeStart_) beforeStart_();
          ChildEnd end{true, false, 0};
          if (!ends_.empty()) {
            end = ends_.front();
            ends_.pop_front();
          }
          if (end.started && started) started();
          if (onRun_) onRun_();
          return end;
        },
        [this]() -> std::unique_ptr<platform::IShellLink> {
          if (failLink_) return nullptr;
          return std::make_unique<RecordingLink>(
              links_, [](const std::string& path, const std::string& text) { WriteText(path, text); });
        },
        [this](const std::string& path) { opened_.push_back(path); },
        [this](ReportKind kind, std::shared_future<void> start) {
          reports_.push_back(kind);
          reportStart_ = std::move(start);
          std::promise<void> done;
          done.set_value();
          return done.get_future().share();
        },
        silent_,
        PathStyle::Posix,
        InstallFiles{},
    };
  }

  std::optional<unsigned> RunToTheEnd(InstallChain& chain) { return RunChainToTheEnd(chain, tasks_); }

  // RunToTheEnd, with what the run wrote to standard error.
  std::optional<unsigned> RunCapturingErrors(InstallChain& chain, std::string& errors) {
    ::testing::internal::CaptureStderr();
    const auto exit = RunToTheEnd(chain);
    errors = ::testing::internal::GetCapturedStderr();
    return exit;
  }

  void SelectTarget() {
    window_.items = {(root_ / "data" / "Ostrel").string()};
    window_.selected = 0;
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
  FakeTemporary fallback_;
  SpecialFolders folders_;
  bool failLink_ = false;
  bool silent_ = false;
  std::set<std::string> inMemory_;
  // Where the archive lies in the program file, when it can be read there.
  std::optional<std::uint64_t> archiveAt_;
  std::atomic<int> staged_ = 0;
  std::deque<ChildEnd> ends_;
  // Called as a child is started, and once it runs.
  std::function<void()> beforeStart_;
  std::function<void()> onRun_;
  // The two saves may run side by side.
  std::mutex savedMutex_;
  std::set<std::string> saved_;
  std::vector<std::string> runs_, opened_;
  std::vector<std::vector<std::string>> words_;
  std::vector<SavedLink> links_;
  std::vector<ReportKind> reports_;
  std::shared_future<void> reportStart_;
};

bool IsReady(const std::shared_future<void>& start) {
  return start.valid() && start.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

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

  // The report loads its libraries, which holds up every thread the process
  // would create, only once the install's own threads run; it and the
  // uninstaller's copy begin once the extractor runs, so that neither holds
  // up the extractor's start.
  EXPECT_FALSE(IsReady(reportStart_)) << "the report waits for the install's threads";
  beforeStart_ = [&] {
    EXPECT_FALSE(IsReady(reportStart_)) << "the report waits for the extractor to start";
    EXPECT_EQ(staged_, 0) << "the uninstaller is copied once the extractor runs";
  };
  onRun_ = [&] {
    EXPECT_TRUE(fs::is_directory(Target())) << "the target is made before extraction";
    EXPECT_TRUE(IsReady(reportStart_)) << "the report starts as the extractor does";
  };
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
                                            Target() + "\" | " + temp + " | 0"});
  EXPECT_FALSE(fs::exists(root_ / "tmp")) << "extractor, archive and their folder are gone";
  EXPECT_EQ(temporary_.sweeps, 1) << "leftovers of killed runs go";
  EXPECT_EQ(fallback_.sweeps, 1);
  EXPECT_EQ(ReadText(Target() + "Uninstall"), "setup program bytes");
  EXPECT_FALSE(fs::exists(Target() + "Uninstall.new")) << "the staged copy was moved, not copied again";

  ASSERT_EQ(links_.size(), 2u);
  EXPECT_EQ(links_[0].path, DesktopLink());
  EXPECT_EQ(links_[1].path, MenuLink());
  for (const SavedLink& link : links_) {
    EXPECT_EQ(link.target, Target() + "Ostrel");
    EXPECT_EQ(link.workingFolder, Target());
  }
  EXPECT_TRUE(links_[0].actions.empty()) << "the desktop shortcut only starts the product";
  EXPECT_EQ(links_[1].actions, std::vector<std::string>{"Uninstall|Uninstall Ostrel|" + Target() + "Uninstall"})
      << "the menu entry also offers the uninstall";

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

  EXPECT_EQ(RunToTheEnd(chain), 0u);
  EXPECT_EQ(reports_, std::vector<ReportKind>{ReportKind::Update});
  const std::string folder = (root_ / "old place").string() + "/";
  ASSERT_FALSE(runs_.empty());
  EXPECT_EQ(runs_[0], "\"" + old + "\" update | " + folder + " | 15");
  EXPECT_TRUE(IsReady(reportStart_)) << "the report starts as the old uninstaller does";
  EXPECT_EQ(state_.InstallPath(), folder);
  EXPECT_EQ(registry_.keys[std::string(kUninstallKey)]["UninstallString"], folder + "Uninstall");
}

TEST_F(InstallChainRun, NoSelectedTargetStopsAfterResolving) {
  InstallChain chain(Context());
  EXPECT_EQ(RunToTheEnd(chain), std::nullopt) << "the window stays for the user to close";
  EXPECT_TRUE(IsReady(reportStart_)) << "a chain that stops lets its report go";
  EXPECT_EQ(tasks_.posted.size(), 1u);
  EXPECT_TRUE(saved_.empty());
  EXPECT_EQ(window_.calls, (std::vector<std::string>{"disable inputs", "start OperateAni"}));
}

TEST_F(InstallChainRun, NoTemporaryArchiveFileStopsEverything) {
  SelectTarget();
  temporary_.failFile = true;
  fallback_.failFile = true;
  InstallChain chain(Context());

  EXPECT_EQ(RunToTheEnd(chain), std::nullopt);
  EXPECT_TRUE(saved_.empty());
  EXPECT_TRUE(runs_.empty());
  EXPECT_TRUE(registry_.writes.empty());
  EXPECT_TRUE(opened_.empty());
  EXPECT_FALSE(fs::exists(root_ / "tmp")) << "the private folder does not outlive the failure";
}

// With "silent" nobody may be there to close a waiting window: every stop of
// the chain ends the run with a code and one line that says why.
TEST_F(InstallChainRun, SilentRunThatCannotGoOnEndsSayingWhy) {
  const struct {
    const char* name;
    std::function<void()> arrange;
    const char* reason;
  } cases[] = {
      {"no drive", [] {}, "no folder to install into was found"},
      {"no temporary folder",
       [this] {
         SelectTarget();
         temporary_.failPath = fallback_.failPath = true;
       },
       "no temporary folder can hold the payload"},
      {"no folder part", [this] { state_.SetInstallPath("Uninstall"); }, "the registered uninstaller names no folder"},
      {"no link object",
       [this] {
         SelectTarget();
         failLink_ = true;
       },
       "the shortcuts could not be made"},
      {"no entry",
       [this] {
         SelectTarget();
         registry_.failOpen = true;
       },
       "the uninstall entry could not be written"},
      {"entry not durable",
       [this] {
         SelectTarget();
         registry_.failFlush = true;
       },
       "the uninstall entry could not be written"},
  };
  silent_ = true;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    state_.SetInstallPath("");
    tasks_.posted.clear();
    window_ = testing::FakeWindow{};
    temporary_.failPath = fallback_.failPath = false;
    failLink_ = false;
    registry_.failOpen = registry_.failFlush = false;
    c.arrange();
    InstallChain chain(Context());
    std::string errors;
    EXPECT_EQ(RunCapturingErrors(chain, errors), kUnsuccessfulExitCode);
    EXPECT_EQ(errors, "OstrelSetup: Ostrel could not be installed: " + std::string(c.reason) + ".\n");
    EXPECT_TRUE(opened_.empty());
    EXPECT_TRUE(std::none_of(window_.calls.begin(), window_.calls.end(),
                             [](const std::string& call) { return call.starts_with("failure"); }))
        << "an unattended run shows no message";
  }
}

// An extraction that did not succeed is never reported as success. What the
// install writes afterwards still comes (the uninstaller and the entry let the
// user clean up), but the product is not started, the run ends with a code and
// says why: on standard error, and to an interactive user in a message.
TEST_F(InstallChainRun, ExtractionThatFailedEndsTheRunUnsuccessfully) {
  const struct {
    const char* name;
    std::optional<ChildEnd> end;  // nothing: the extractor starts nowhere
    bool silent;
    const char* reason;
  } cases[] = {
      {"exit code, silent", ChildEnd{true, false, 2}, true, "the extractor ended with code 2"},
      {"exit code, interactive", ChildEnd{true, false, 8}, false, "the extractor ended with code 8"},
      {"never started", std::nullopt, true, "the extractor could not be run"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(root_ / "data");
    fs::remove_all(root_ / "Desktop");
    fs::create_directories(root_ / "Desktop");
    state_.SetInstallPath("");
    tasks_.posted.clear();
    window_ = testing::FakeWindow{};
    registry_ = testing::FakeRegistry{};
    opened_.clear();
    SelectTarget();
    silent_ = c.silent;
    ends_.assign(c.end ? 1 : 2, c.end.value_or(ChildEnd{false, false, 0}));
    InstallChain chain(Context());
    std::string errors;
    EXPECT_EQ(RunCapturingErrors(chain, errors), kUnsuccessfulExitCode);
    const std::string text = "Ostrel could not be installed: " + std::string(c.reason) + ".";
    EXPECT_EQ(errors, "OstrelSetup: " + text + "\n");
    EXPECT_EQ(window_.calls.back() == "failure " + text, !c.silent);
    EXPECT_EQ(ReadText(Target() + "Uninstall"), "setup program bytes");
    EXPECT_EQ(registry_.keys[std::string(kUninstallKey)]["UninstallString"], Target() + "Uninstall");
    EXPECT_TRUE(fs::exists(DesktopLink()));
    EXPECT_TRUE(opened_.empty()) << "a product not installed whole is not started";
    EXPECT_FALSE(fs::exists(root_ / "tmp"));
    EXPECT_FALSE(fs::exists(root_ / "cache"));
  }
}

// The extractor runs from memory where the system allows it; a place it does
// not start from (a noexec temporary folder, memory that may not run code)
// hands on to the next: the temporary folder, then the fallback folder. The
// archive is read where it lies in the program file when it can be, else
// from memory, else from a temporary file.
TEST_F(InstallChainRun, ExtractorRunsFromTheFirstPlaceItStartsFrom) {
  const std::string temp = (root_ / "tmp").string() + "/";
  const std::string cache = (root_ / "cache").string() + "/";
  const struct {
    const char* name;
    bool inMemory;
    int refusals;  // places in a row it does not start from
    std::vector<std::string> folders;  // working folder of each attempt
    std::optional<std::uint64_t> archiveAt = std::nullopt;
  } cases[] = {
      {"memory", true, 0, {""}},
      {"no memory file", false, 0, {temp}},
      {"memory refuses to run", true, 1, {"", temp}},
      {"noexec temporary folder", false, 1, {temp, cache}},
      {"nowhere", true, 3, {"", temp, cache}},
      {"archive in the program file", true, 0, {""}, 8192},
      {"archive in the program file, noexec memory", true, 1, {"", temp}, 8192},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    state_.SetInstallPath("");
    tasks_.posted.clear();
    runs_.clear();
    words_.clear();
    opened_.clear();
    SelectTarget();
    inMemory_ = c.inMemory ? std::set<std::string>{"7za", "pak"} : std::set<std::string>{};
    archiveAt_ = c.archiveAt;
    saved_.clear();
    ends_.assign(static_cast<std::size_t>(c.refusals), ChildEnd{false, false, 0});
    InstallChain chain(Context());
    std::string errors;
    const auto exit = RunCapturingErrors(chain, errors);
    EXPECT_EQ(exit, c.refusals < 3 ? 0u : kUnsuccessfulExitCode) << errors;
    ASSERT_EQ(runs_.size(), c.folders.size());
    const std::string archive = c.archiveAt ? "/program/file" : c.inMemory ? "/memory/pak" : temp + "tmp0001.tmp";
    for (std::size_t i = 0; i < runs_.size(); ++i) {
      const std::string folder = c.folders[i];
      EXPECT_TRUE(runs_[i].ends_with(" | " + folder + " | 0")) << runs_[i];
      const std::vector<std::string>& words = words_[i];
      ASSERT_EQ(words.size(), c.archiveAt ? 7u : 6u);
      EXPECT_EQ(words[0], folder.empty() ? "/memory/7za" : folder + "7za");
      EXPECT_EQ(words[words.size() - 2], archive) << "the archive";
      if (c.archiveAt) {
        EXPECT_EQ(words[2], "-t7z:s8192b") << "found by a search that ends where it starts";
      }
    }
    EXPECT_EQ(std::ranges::count_if(saved_, [](const std::string& save) { return save.starts_with("pak "); }),
              c.inMemory || c.archiveAt ? 0 : 1);
    EXPECT_FALSE(fs::exists(root_ / "tmp")) << "no extractor or archive file stays";
    EXPECT_FALSE(fs::exists(root_ / "cache"));
  }
}

// Shortcuts and the entry come after the payload; without them the product
// is not started and the process stays, as with any stop of the chain.
TEST_F(InstallChainRun, MissingLinkObjectOrEntryStopsBeforeTheProductStarts) {
  SelectTarget();
  {
    failLink_ = true;
    InstallChain chain(Context());
    EXPECT_EQ(RunToTheEnd(chain), std::nullopt);
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
    EXPECT_EQ(RunToTheEnd(chain), std::nullopt);
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

  EXPECT_EQ(RunToTheEnd(chain), 0u);
  EXPECT_TRUE(links_.empty());
  EXPECT_EQ(ReadText(DesktopLink()), "the user's own");
  EXPECT_EQ(ReadText(MenuLink()), "points elsewhere");
}

// A double quote is a legal POSIX file name character: the target reaches
// the extractor whole and installs like any other.
TEST_F(InstallChainRun, QuoteInTheTargetInstallsLikeAnyOtherName) {
  const std::string target = (root_ / "data" / "say \"hi\" -o").string();
  window_.items = {target};
  window_.selected = 0;
  InstallChain chain(Context());

  EXPECT_EQ(RunToTheEnd(chain), 0u);
  ASSERT_EQ(words_.size(), 1u);
  EXPECT_EQ(words_[0].back(), "-o" + target + "/");
  EXPECT_EQ(ReadText(target + "/Uninstall"), "setup program bytes");
  EXPECT_EQ(opened_, std::vector<std::string>{target + "/Ostrel"});
}

// The copy refuses to write over what it could not remove first, and the
// block ends there; the shortcuts and entry still follow, but without an
// uninstaller in place the installation did not succeed.
TEST_F(InstallChainRun, UninstallerThatCannotBeReplacedFailsTheInstallAfterTheEntry) {
  SelectTarget();
  silent_ = true;
  fs::create_directories(Target() + "Uninstall/inside");
  InstallChain chain(Context());

  std::string errors;
  EXPECT_EQ(RunCapturingErrors(chain, errors), kUnsuccessfulExitCode);
  EXPECT_EQ(errors, "OstrelSetup: Ostrel could not be installed: the uninstaller could not be written to " +
                        Target() + "Uninstall.\n");
  EXPECT_TRUE(fs::is_directory(Target() + "Uninstall/inside"));
  EXPECT_FALSE(fs::exists(Target() + "Uninstall.new")) << "the unused staged copy is dropped";
  EXPECT_EQ(links_.size(), 2u);
  EXPECT_EQ(registry_.writes.size(), 5u);
  EXPECT_TRUE(opened_.empty());
}

// The uninstaller is copied while the extractor runs; what the extractor
// sees and what stays afterwards is as if it were copied after it. The user's
// own "Uninstall.new" is neither used nor removed, no staged copy stays, and
// an old uninstaller that cannot be removed keeps the block from putting the
// new one in.
TEST_F(InstallChainRun, UninstallerIsCopiedDuringExtractionAndMovedInAfterIt) {
  SelectTarget();
  fs::create_directories(Target());
  WriteText(Target() + "Uninstall.new", "the user's own");
  onRun_ = [&] { EXPECT_FALSE(fs::exists(Target() + "Uninstall")) << "not under its name before extraction ends"; };
  {
    InstallChain chain(Context());
    EXPECT_EQ(RunToTheEnd(chain), 0u);
  }
  EXPECT_EQ(ReadText(Target() + "Uninstall"), "setup program bytes");
  EXPECT_EQ(ReadText(Target() + "Uninstall.new"), "the user's own");
  const auto leftOver = [&] {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(Target())) names.insert(entry.path().filename().string());
    return names;
  };
  EXPECT_EQ(leftOver(), (std::set<std::string>{"Uninstall", "Uninstall.new"}));

  onRun_ = [&] {
    fs::remove(Target() + "Uninstall");
    fs::create_directories(Target() + "Uninstall/kept");
  };
  state_.SetInstallPath("");
  tasks_.posted.clear();
  InstallChain chain(Context());
  EXPECT_EQ(RunToTheEnd(chain), kUnsuccessfulExitCode) << "no uninstaller could be put in place";
  EXPECT_TRUE(fs::is_directory(Target() + "Uninstall/kept"));
  EXPECT_EQ(leftOver(), (std::set<std::string>{"Uninstall", "Uninstall.new"})) << "no staged copy stays";
}

// The old uninstaller removes the entry; the folder is registered again at
// once, and flushed, so a run that dies (or a machine that loses power)
// before the new entry is written does not make the next one forget the
// installation.
TEST_F(InstallChainRun, UpdateKeepsTheFolderRegisteredWhileItInstalls) {
  const std::string old = (root_ / "custom" / "Uninstall").string();
  state_.SetInstallPath(old);
  registry_.keys[std::string(kUninstallKey)] = {{"UninstallString", old}, {"DisplayName", "Ostrel"}};
  std::optional<std::string> registeredDuringExtraction;
  std::vector<std::string> flushedBeforeExtraction;
  onRun_ = [&] {
    if (runs_.size() == 1) {
      registry_.DeleteKey(kUninstallKey);  // what the old uninstaller does
    } else {
      registeredDuringExtraction = registry_.keys[std::string(kUninstallKey)]["UninstallString"];
      flushedBeforeExtraction = registry_.flushes;
    }
  };
  InstallChain chain(Context());
  EXPECT_EQ(RunToTheEnd(chain), 0u);
  EXPECT_EQ(registeredDuringExtraction, old);
  EXPECT_EQ(flushedBeforeExtraction, std::vector<std::string>{std::string(kUninstallKey)});
}

// The entry is still written for a target that cannot be made; with no
// uninstaller there the run then ends unsuccessfully instead of starting a
// product that is not there.
TEST_F(InstallChainRun, TargetThatCannotBeMadeStillRegistersAndFails) {
  WriteText(root_ / "data-file", "not a folder");
  const std::string target = (root_ / "data-file" / "Ostrel").string();
  window_.items = {target};
  window_.selected = 0;
  InstallChain chain(Context());

  std::string errors;
  EXPECT_EQ(RunCapturingErrors(chain, errors), kUnsuccessfulExitCode);
  EXPECT_EQ(registry_.keys[std::string(kUninstallKey)]["UninstallString"], target + "/Uninstall");
  EXPECT_TRUE(opened_.empty());
}

// ---- the chain on a Windows machine -------------------------------------

// A Windows file system in memory, as the chain's own calls see it: either
// separator, a doubled separator read as one, names equal whatever the case
// of their ASCII letters, each entry keeping the spelling it was made with.
// Drive roots always exist. The uninstaller's copy is made on a second
// thread, hence the lock.
class WindowsFiles {
 public:
  bool FileExists(const std::string& path) const {
    const std::scoped_lock lock(mutex_);
    const auto it = entries_.find(Key(path));
    return it != entries_.end() && !it->second.folder;
  }
  bool DirectoryExists(const std::string& path) const {
    const std::scoped_lock lock(mutex_);
    return IsFolder(Key(path));
  }
  bool ForceDirectories(const std::string& path) {
    const std::scoped_lock lock(mutex_);
    return MakeFolders(path);
  }
  // Writes the file, replacing one that is there; its folder must exist.
  bool WriteFile(const std::string& path, const std::string& content) {
    const std::scoped_lock lock(mutex_);
    const std::string key = Key(path);
    if (!IsFolder(ParentKey(key)) || IsFolder(key)) return false;
    entries_[key] = {Trimmed(path), false, content};
    return true;
  }
  bool RemoveFile(const std::string& path) {
    const std::scoped_lock lock(mutex_);
    const auto it = entries_.find(Key(path));
    if (it == entries_.end() || it->second.folder) return false;
    entries_.erase(it);
    return true;
  }
  bool RemoveEmptyFolder(const std::string& path) {
    const std::scoped_lock lock(mutex_);
    const std::string key = Key(path);
    const auto it = entries_.find(key);
    if (it == entries_.end() || !it->second.folder || !NamesIn(key).empty()) return false;
    entries_.erase(it);
    return true;
  }
  // Renames a file, never over anything already at `to`.
  bool Move(const std::string& from, const std::string& to) {
    const std::scoped_lock lock(mutex_);
    const auto it = entries_.find(Key(from));
    const std::string toKey = Key(to);
    if (it == entries_.end() || it->second.folder || entries_.contains(toKey) || !IsFolder(ParentKey(toKey))) {
      return false;
    }
    Entry moved = it->second;
    moved.spelling = Trimmed(to);
    entries_.erase(it);
    entries_[toKey] = std::move(moved);
    return true;
  }
  std::optional<std::string> Content(const std::string& path) const {
    const std::scoped_lock lock(mutex_);
    const auto it = entries_.find(Key(path));
    if (it == entries_.end() || it->second.folder) return std::nullopt;
    return it->second.content;
  }
  // The names in a folder, spelled as they were made.
  std::set<std::string> Names(const std::string& folder) const {
    const std::scoped_lock lock(mutex_);
    return NamesIn(Key(folder));
  }

 private:
  struct Entry {
    std::string spelling;
    bool folder = false;
    std::string content;
  };

  static std::string Trimmed(std::string_view path) {
    while (path.size() > 1 && platform::IsSeparator(path.back(), PathStyle::Windows)) path.remove_suffix(1);
    return std::string(path);
  }
  static std::string Key(std::string_view path) {
    std::string key;
    for (char c : path) {
      if (c == '/') c = '\\';
      if (c == '\\' && !key.empty() && key.back() == '\\') continue;
      key += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    if (!key.empty() && key.back() == '\\') key.pop_back();
    return key;
  }
  static std::string ParentKey(const std::string& key) {
    const auto at = key.rfind('\\');
    return at == std::string::npos ? std::string() : key.substr(0, at);
  }
  static bool IsDrive(const std::string& key) { return key.size() == 2 && key[1] == ':'; }

  bool IsFolder(const std::string& key) const {
    if (IsDrive(key)) return true;
    const auto it = entries_.find(key);
    return it != entries_.end() && it->second.folder;
  }
  bool MakeFolders(const std::string& path) {
    const std::string key = Key(path);
    if (IsFolder(key)) return true;
    if (entries_.contains(key) || ParentKey(key).empty()) return false;
    const std::string spelling = Trimmed(path);
    if (!MakeFolders(std::string(platform::FolderPart(spelling, PathStyle::Windows)))) return false;
    entries_[key] = {spelling, true, {}};
    return true;
  }
  std::set<std::string> NamesIn(const std::string& folderKey) const {
    std::set<std::string> names;
    for (const auto& [key, entry] : entries_) {
      if (ParentKey(key) == folderKey) names.emplace(platform::FileNamePart(entry.spelling, PathStyle::Windows));
    }
    return names;
  }

  mutable std::mutex mutex_;
  std::map<std::string, Entry> entries_;
};

// A private temporary folder in WindowsFiles, made on first use.
class WindowsTemporary final : public platform::ITemporaryFolder {
 public:
  WindowsTemporary(WindowsFiles& files, std::string folder) : files_(files), folder_(std::move(folder)) {}
  const std::string& Folder() const { return folder_; }
  std::optional<std::string> Path() override {
    if (!files_.ForceDirectories(folder_)) return std::nullopt;
    return folder_;
  }
  std::optional<std::string> CreateUniqueFile(std::string_view prefix) override {
    const std::string path = folder_ + std::string(prefix) + "0001.tmp";
    if (!Path() || files_.FileExists(path) || !files_.WriteFile(path, "")) return std::nullopt;
    return path;
  }
  bool Release() override { return files_.RemoveEmptyFolder(folder_) || !files_.DirectoryExists(folder_); }
  void RemoveLeftovers() override {}

 private:
  WindowsFiles& files_;
  std::string folder_;
};

// The uninstaller's copy under a hidden name beside its place, as the
// Windows backend stages it.
class WindowsPendingFile final : public platform::PendingFile {
 public:
  WindowsPendingFile(WindowsFiles& files, std::string path) : files_(files), path_(std::move(path)) {}
  ~WindowsPendingFile() override {
    if (!path_.empty()) files_.RemoveFile(path_);
  }
  bool Publish(const std::string& to) override {
    const bool published = files_.Move(path_, to);
    if (published) path_.clear();
    return published;
  }

 private:
  WindowsFiles& files_;
  std::string path_;
};

// A Windows user whose profile folder holds a space and letters outside
// ASCII, and runs of the chain on their machine: the setup's resources as
// the Windows backend has them (no program runs from memory, the archive
// is saved to a file), an extractor that writes the product where its
// command line says, and an old uninstaller run for an update that removes
// the product and the entry but leaves its own file, as it does on Windows.
struct WindowsInstallRig {
  static constexpr const char* kProfile = "C:\\Users\\Zoë Ünal";

  struct ChildRun {
    std::string line;
    std::vector<std::string> words;
    std::string folder;
    std::int32_t timeLimit;
  };

  WindowsFiles files;
  testing::FakeShellFolders shell;
  SpecialFolders folders{shell, PathStyle::Windows};
  SetupState state;
  testing::FakeWindow window;
  testing::FakeTasks tasks;
  testing::FakeRegistry registry;
  testing::FakeSystem system;
  WindowsTemporary temporary{files,
                             std::string(kProfile) + "\\AppData\\Local\\Temp\\ostrel-4242-1d9a6b-0f1e2d3c4b5a6978\\"};
  WindowsTemporary fallback{files, std::string(kProfile) + "\\AppData\\Local\\ostrel-4242-1d9a6b-8796a5b4c3d2e1f0\\"};
  std::vector<ChildRun> runs;
  std::set<std::string> saves;
  std::vector<std::string> opened, linkSweeps;
  std::vector<SavedLink> links;
  std::atomic<int> staged = 0;

  WindowsInstallRig() {
    shell.folders[platform::CSIDL_DESKTOP] = Desktop();
    shell.folders[platform::CSIDL_APPDATA] = std::string(kProfile) + "\\AppData\\Roaming";
    system.executablePath = std::string(kProfile) + "\\Downloads\\OstrelSetup.exe";
    for (const std::string& folder : {Desktop(), StartMenu(), std::string(kProfile) + "\\AppData\\Local\\Temp"}) {
      files.ForceDirectories(folder);
    }
    state.SetVersionText("2.1");
  }

  static std::string Desktop() { return std::string(kProfile) + "\\Desktop"; }
  static std::string StartMenu() {
    return std::string(kProfile) + "\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs";
  }

  InstallContext Context() {
    return InstallContext{
        state,
        window,
        tasks,
        registry,
        folders,
        system,
        temporary,
        fallback,
        [this](std::string_view name, const std::string& path, platform::SaveOptions options) {
          saves.insert(std::string(name) + " -> " + path + (options.executable ? " (program)" : ""));
          return files.WriteFile(path, std::string(name) + " bytes");
        },
        [](std::string_view) -> std::unique_ptr<platform::InMemoryFile> { return nullptr; },
        [](std::string_view) -> std::optional<platform::FilePlace> { return std::nullopt; },
        [this](const std::string& folder) -> std::unique_ptr<platform::PendingFile> {
          const std::string path = folder + "~ostrel-" + std::to_string(++staged) + ".tmp";
          if (!files.WriteFile(path, "uninstaller " + state.VersionText())) return nullptr;
          return std::make_unique<WindowsPendingFile>(files, path);
        },
        [this](const ChildCommand& command, const std::string& folder, std::int32_t limit,
               const std::function<void()>& started) {
          runs.push_back({command.line, command.words, folder, limit});
          if (started) started();
          if (command.words.size() == 2 && command.words[1] == "update") {
            OldUninstallerRuns(command.words[0]);
          } else {
            ExtractorRuns(command.words);
          }
          return ChildEnd{true, false, 0};
        },
        [this]() -> std::unique_ptr<platform::IShellLink> {
          return std::make_unique<RecordingLink>(
              links, [this](const std::string& path, const std::string& text) { files.WriteFile(path, text); });
        },
        [this](const std::string& path) { opened.push_back(path); },
        [](ReportKind, std::shared_future<void>) {
          std::promise<void> done;
          done.set_value();
          return done.get_future().share();
        },
        true,
        PathStyle::Windows,
        InstallFiles{
            [this](const std::string& path) { return files.FileExists(path); },
            [this](const std::string& path) { return files.DirectoryExists(path); },
            [this](const std::string& path) { return files.ForceDirectories(path); },
            [this](const std::string& path) { return files.RemoveFile(path); },
            [this](const std::string& base, std::span<const std::string_view> names) {
              std::string sweep = base + " |";
              for (const std::string_view name : names) sweep += " " + std::string(name);
              linkSweeps.push_back(sweep);
              return true;
            },
        },
    };
  }

  // The next run's start-up on this machine: the uninstaller an update would
  // run, from the entry this one left; empty for a fresh install.
  std::string NextRunsUninstaller() const {
    testing::StartupRig next;
    next.registry.keys = registry.keys;
    next.args = {"silent", "nogui"};
    next.Run();
    return next.state.InstallPath();
  }

  // One unattended run of the chain, its start-up having found `uninstaller`
  // registered (or nothing), with the window's drive item `item`; the exit
  // code the process ended with.
  std::optional<unsigned> Run(const std::string& uninstaller, const std::string& item) {
    runs.clear();
    saves.clear();
    opened.clear();
    linkSweeps.clear();
    links.clear();
    registry.writes.clear();
    tasks.posted.clear();
    state.SetInstallPath(uninstaller);
    window = testing::FakeWindow{};
    window.items = {item};
    window.selected = 0;
    InstallChain chain(Context());
    return RunChainToTheEnd(chain, tasks);
  }

  // Writes the product into the folder after -o, once it has made sure that
  // the program it runs as and the archive it reads are there.
  void ExtractorRuns(const std::vector<std::string>& words) {
    EXPECT_TRUE(files.FileExists(words.front())) << "the extractor runs from its saved file";
    EXPECT_TRUE(files.FileExists(words[words.size() - 2])) << "the archive is saved";
    const std::string target = words.back().substr(2);
    for (const char* name : {"Ostrel.exe", "osd.exe"}) files.WriteFile(target + name, "product " + state.VersionText());
  }

  void OldUninstallerRuns(const std::string& path) {
    const std::string folder(platform::FolderPart(path, PathStyle::Windows));
    for (const std::string& name : ProductFileNames(PathStyle::Windows)) files.RemoveFile(folder + name);
    registry.DeleteKey(kUninstallKey);
  }
};

// A fresh install and the update after it, into a folder of the profile, a
// drive root (its target ends in a doubled separator, as the selected item
// plus one), and a folder whose names hold spaces and letters outside ASCII:
// what the chain runs, writes and registers, and that the next run finds the
// installation where this one put it and keeps the entry as it was.
TEST(InstallChainOnWindows, InstallsWhereTheItemSaysAndTheNextRunFindsIt) {
  const struct {
    const char* item;
    const char* target;
  } cases[] = {
      {"C:\\Users\\Zoë Ünal\\AppData\\Roaming\\Ostrel", "C:\\Users\\Zoë Ünal\\AppData\\Roaming\\Ostrel\\"},
      {"E:\\", "E:\\\\"},
      {"D:\\Mes Données\\日本語 Apps\\Ostrel", "D:\\Mes Données\\日本語 Apps\\Ostrel\\"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.item);
    WindowsInstallRig rig;
    const std::string target = c.target;
    const std::string temp = rig.temporary.Folder();
    const std::string key(kUninstallKey);
    const std::vector<std::string> entry{key + "|DisplayIcon=" + target + "Ostrel.exe", key + "|DisplayName=Ostrel",
                                         key + "|DisplayVersion=2.1",
                                         key + "|Publisher=" + std::string(PublisherAddress()),
                                         key + "|UninstallString=" + target + "Uninstall.exe"};
    ASSERT_EQ(rig.Run("", c.item), 0u);

    ASSERT_EQ(rig.runs.size(), 1u);
    EXPECT_EQ(rig.runs[0].line, "\"" + temp + "7za.exe\" x -pZq4vTe -aoa \"" + temp + "tmp0001.tmp\" -o\"" + target +
                                    "\"");
    EXPECT_EQ(rig.runs[0].words, (std::vector<std::string>{temp + "7za.exe", "x", "-pZq4vTe", "-aoa",
                                                           temp + "tmp0001.tmp", "-o" + target}));
    EXPECT_EQ(rig.runs[0].folder, temp);
    EXPECT_EQ(rig.saves,
              (std::set<std::string>{"7za -> " + temp + "7za.exe (program)", "pak -> " + temp + "tmp0001.tmp"}));
    EXPECT_FALSE(rig.files.DirectoryExists(temp)) << "extractor, archive and their folder are gone";
    EXPECT_EQ(rig.linkSweeps, std::vector<std::string>{target + " | lang wizard driver"});
    EXPECT_EQ(rig.files.Names(target), (std::set<std::string>{"Ostrel.exe", "Uninstall.exe", "osd.exe"}));
    EXPECT_EQ(rig.files.Content(target + "Uninstall.exe"), "uninstaller 2.1");

    ASSERT_EQ(rig.links.size(), 2u);
    EXPECT_EQ(rig.links[0].path, "C:\\Users\\Zoë Ünal\\Desktop\\Ostrel.lnk");
    EXPECT_EQ(rig.links[1].path,
              "C:\\Users\\Zoë Ünal\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Ostrel.lnk");
    for (const SavedLink& link : rig.links) {
      EXPECT_EQ(link.target, target + "Ostrel.exe");
      EXPECT_EQ(link.workingFolder, target);
    }
    EXPECT_EQ(rig.registry.writes, entry);
    EXPECT_EQ(rig.opened, std::vector<std::string>{target + "Ostrel.exe"});

    // The update: the next run reads the entry back, runs the uninstaller it
    // names in its folder and installs there again.
    const std::string uninstaller = rig.NextRunsUninstaller();
    ASSERT_EQ(uninstaller, target + "Uninstall.exe");
    rig.state.SetVersionText("2.2");
    ASSERT_EQ(rig.Run(uninstaller, "F:\\Elsewhere"), 0u);
    ASSERT_EQ(rig.runs.size(), 2u);
    EXPECT_EQ(rig.runs[0].line, "\"" + target + "Uninstall.exe\" update");
    EXPECT_EQ(rig.runs[0].folder, target);
    EXPECT_EQ(rig.runs[0].timeLimit, kOldUninstallerTimeLimit);
    EXPECT_TRUE(rig.runs[1].line.ends_with(" -o\"" + target + "\""));
    EXPECT_EQ(rig.files.Content(target + "Uninstall.exe"), "uninstaller 2.2") << "the old one was replaced";
    EXPECT_EQ(rig.files.Content(target + "Ostrel.exe"), "product 2.2");
    EXPECT_EQ(rig.links.size(), 0u) << "the shortcuts of the first run stay as they are";
    EXPECT_EQ(rig.registry.keys[key]["UninstallString"], target + "Uninstall.exe");
    EXPECT_EQ(rig.registry.keys[key]["DisplayVersion"], "2.2");
  }
}

// Windows finds names whatever their case. An entry that spells the folder
// and the uninstaller's name in other letters than the files on disk still
// means that installation: its uninstaller runs, the old file under its
// other spelling gives way to the new one, and a shortcut the user renamed
// in capitals is left alone. What is registered afterwards is the entry's
// folder with the setup's own file names.
TEST(InstallChainOnWindows, NamesInAnotherCaseAreTheSameFiles) {
  WindowsInstallRig rig;
  rig.files.ForceDirectories("D:\\Programs\\OSTREL");
  rig.files.WriteFile("D:\\Programs\\OSTREL\\UNINSTALL.EXE", "uninstaller 1.0");
  rig.files.WriteFile("D:\\Programs\\OSTREL\\ostrel.EXE", "product 1.0");
  rig.files.WriteFile(WindowsInstallRig::Desktop() + "\\OSTREL.LNK", "the user's own");
  rig.registry.keys[std::string(kUninstallKey)] = {{"UninstallString", "d:\\programs\\Ostrel\\uninstall.EXE"}};

  const std::string uninstaller = rig.NextRunsUninstaller();
  ASSERT_EQ(uninstaller, "d:\\programs\\Ostrel\\uninstall.EXE") << "the entry means an installation";
  ASSERT_EQ(rig.Run(uninstaller, "C:\\Ostrel"), 0u);

  const std::string folder = "d:\\programs\\Ostrel\\";
  ASSERT_EQ(rig.runs.size(), 2u);
  EXPECT_EQ(rig.runs[0].line, "\"d:\\programs\\Ostrel\\uninstall.EXE\" update");
  EXPECT_TRUE(rig.runs[1].line.ends_with(" -o\"" + folder + "\""));
  EXPECT_EQ(rig.files.Names(folder), (std::set<std::string>{"Ostrel.exe", "Uninstall.exe", "osd.exe"}));
  EXPECT_EQ(rig.files.Content(folder + "Uninstall.exe"), "uninstaller 2.1");
  ASSERT_EQ(rig.links.size(), 1u);
  EXPECT_EQ(rig.links[0].path, WindowsInstallRig::StartMenu() + "\\Ostrel.lnk");
  EXPECT_EQ(rig.files.Content(WindowsInstallRig::Desktop() + "\\Ostrel.lnk"), "the user's own");
  EXPECT_EQ(rig.registry.keys[std::string(kUninstallKey)]["UninstallString"], folder + "Uninstall.exe");
  EXPECT_EQ(rig.registry.keys[std::string(kUninstallKey)]["DisplayIcon"], folder + "Ostrel.exe");
  EXPECT_EQ(rig.opened, std::vector<std::string>{folder + "Ostrel.exe"});
}

}  // namespace
}  // namespace ostrel::setup
