#include <gtest/gtest.h>

#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <utility>

#include <nlohmann/json.hpp>

#include "setup/platform/ResourceBundle.h"
#include "setup/platform/RunningProductSignal.h"
#include "setup/platform/Sha1.h"
#include "tests/setup/e2e/SandboxProcess.h"
#include "tests/setup/support/ReportServer.h"

namespace ostrel::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

// Every file below folder, by its path relative to it.
std::set<std::string> FilesBelow(const fs::path& folder) {
  std::set<std::string> files;
  if (!fs::is_directory(folder)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) files.insert(fs::relative(entry.path(), folder).string());
  }
  return files;
}

// Processes whose program lies below folder: what a run in the sandbox left.
std::vector<pid_t> ProcessesBelow(const fs::path& folder) {
  std::vector<pid_t> pids;
  const std::string prefix = folder.string() + "/";
  for (const auto& entry : fs::directory_iterator("/proc")) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::error_code error;
    const fs::path exe = fs::read_symlink(entry.path() / "exe", error);
    if (!error && exe.string().starts_with(prefix)) pids.push_back(static_cast<pid_t>(std::stoi(name)));
  }
  return pids;
}

// Running, not merely waiting to be reaped by a parent that may never do so.
bool IsRunning(pid_t pid) {
  const std::string stat = ReadBytes("/proc/" + std::to_string(pid) + "/stat");
  const std::size_t end = stat.rfind(") ");
  return end != std::string::npos && end + 2 < stat.size() && stat[end + 2] != 'Z' && stat[end + 2] != 'X';
}

std::string Hex(const platform::Sha1Digest& digest) {
  std::string text;
  for (const std::uint8_t b : digest) {
    char pair[3];
    std::snprintf(pair, sizeof pair, "%02x", b);
    text += pair;
  }
  return text;
}

class InstallRun : public ::testing::Test {
 protected:
  InstallRun()
      : sandbox_(fs::path(OSTREL_E2E_SANDBOX) / ::testing::UnitTest::GetInstance()->current_test_info()->name()) {
    fs::create_directories(sandbox_.Home() / "Desktop");
    // The product's signal is found through the runtime folder, here as in
    // the sandboxed programs.
    ::setenv("XDG_RUNTIME_DIR", (sandbox_.Root() / "runtime").c_str(), 1);
  }

  ~InstallRun() override {
    if (platform::IsProductRunning("Ostrel")) platform::SendQuitMessage("Ostrel", 2s);
    WaitUntil([&] { return ProcessesBelow(sandbox_.Root()).empty(); }, 5s);
    for (const pid_t pid : ProcessesBelow(sandbox_.Root())) ::kill(pid, SIGKILL);
  }

  fs::path Download(const fs::path& packed, const std::string& folder = "download") {
    const fs::path target = sandbox_.Root() / folder / "OstrelSetup";
    fs::create_directories(target.parent_path());
    fs::copy_file(packed, target, fs::copy_options::overwrite_existing);
    return target;
  }

  // Runs the setup unattended and returns its exit code.
  // What the setup writes to standard error goes to ErrorFile().
  std::optional<int> RunSilent(const fs::path& setup, std::vector<std::string> environment = {}) {
    if (server_) {
      environment.push_back("OSTREL_STAT_BASE=" + server_->BaseUrl());
      environment.push_back("OSTREL_STAT_CA_FILE=" + server_->CaFile().string());
    }
    SandboxProcess process(sandbox_, setup, {"silent", "nogui"}, environment, ErrorFile());
    if (!process.Started()) return std::nullopt;
    return process.WaitForExit(120s);
  }

  fs::path ErrorFile() const { return sandbox_.Root() / "stderr.txt"; }
  std::string ErrorText() const { return ReadBytes(ErrorFile()); }

  void StartReportServer() {
    server_ = std::make_unique<test::ReportServer>(sandbox_.Root() / "server", test::ReportServer::Answer{});
  }

  fs::path UninstallKey() const {
    return sandbox_.RegistryHive() / "Software" / "Microsoft" / "Windows" / "CurrentVersion" / "Uninstall" / "Ostrel";
  }
  std::optional<std::string> Entry(const std::string& name) const { return ReadRegistryString(UninstallKey() / name); }

  fs::path DesktopEntry() const { return sandbox_.Home() / "Desktop" / "Ostrel.desktop"; }
  fs::path MenuEntry(const fs::path& dataHome) const { return dataHome / "applications" / "Ostrel.desktop"; }

  // The product answers its quit signal, and then goes.
  void ExpectProductRunsAndQuits() {
    ASSERT_TRUE(WaitUntil([] { return platform::IsProductRunning("Ostrel"); }, 20s)) << "the product never started";
    EXPECT_EQ(platform::SendQuitMessage("Ostrel", 5s), platform::QuitAnswer::Answered);
    EXPECT_TRUE(WaitUntil([] { return !platform::IsProductRunning("Ostrel"); }, 10s));
  }

  // The payload tree and the product program, byte for byte.
  void ExpectPayloadIn(const fs::path& folder) {
    std::set<std::string> expected = FilesBelow(OSTREL_PAYLOAD_DIR);
    // Compared whole, not printed: a program's bytes make no useful message.
    for (const std::string& name : expected) {
      EXPECT_TRUE(ReadBytes(folder / name) == ReadBytes(fs::path(OSTREL_PAYLOAD_DIR) / name)) << name;
    }
    EXPECT_TRUE(ReadBytes(folder / "Ostrel") == ReadBytes(OSTREL_PRODUCT_PROGRAM)) << "Ostrel";
    expected.insert({"Ostrel", "Uninstall"});
    EXPECT_EQ(FilesBelow(folder), expected);
  }

  // The uninstaller is the setup's program with only what the uninstaller
  // reads: the version and the window, not the payload or the extractor.
  void ExpectUninstallerFrom(const fs::path& folder, const fs::path& setup) {
    const std::string uninstaller = ReadBytes(folder / "Uninstall");
    const std::string original = ReadBytes(setup);
    const auto parsed = platform::ResourceBundle::Parse(std::as_bytes(std::span(uninstaller)));
    ASSERT_EQ(parsed.GetState(), platform::ResourceBundle::State::Valid);
    std::vector<std::string> names;
    for (const auto& entry : parsed.Entries()) names.emplace_back(entry.name);
    EXPECT_EQ(names, (std::vector<std::string>{"VER", "GUI"}));
    const auto source = platform::ResourceBundle::Parse(std::as_bytes(std::span(original)));
    EXPECT_TRUE(uninstaller.compare(0, parsed.ProgramSize(), original, 0, source.ProgramSize()) == 0 &&
                parsed.ProgramSize() == source.ProgramSize())
        << "the program itself is the setup's";
    const auto gui = parsed.Find("gui");
    const auto sourceGui = source.Find("gui");
    EXPECT_TRUE(gui && sourceGui && std::ranges::equal(*gui, *sourceGui)) << "the window module, whole";
    EXPECT_TRUE((fs::status(folder / "Uninstall").permissions() & fs::perms::owner_exec) != fs::perms::none);
  }

  void ExpectShortcutsTo(const fs::path& folder, const fs::path& dataHome) {
    for (const fs::path& entry : {DesktopEntry(), MenuEntry(dataHome)}) {
      const std::string text = ReadBytes(entry);
      EXPECT_TRUE(text.starts_with("[Desktop Entry]\nType=Application\nName=Ostrel\n")) << entry << "\n" << text;
      // Desktop entry values write a backslash doubled.
      std::string path = folder.string() + "/";
      for (std::size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', at + 2)) {
        path.insert(at, 1, '\\');
      }
      EXPECT_NE(text.find("\nPath=" + path + "\n"), std::string::npos) << text;
    }
  }

  Sandbox sandbox_;
  std::unique_ptr<test::ReportServer> server_;
};

TEST_F(InstallRun, FreshSilentInstallLeavesAWorkingInstallationAndOneSignedReport) {
  StartReportServer();
  const fs::path setup = Download(OSTREL_PACKED_SETUP);
  ASSERT_EQ(RunSilent(setup), 0);

  const fs::path folder = sandbox_.DataHome() / "Ostrel";
  ExpectPayloadIn(folder);
  ExpectUninstallerFrom(folder, setup);

  ExpectShortcutsTo(folder, sandbox_.DataHome());
  EXPECT_NE(ReadBytes(DesktopEntry()).find("\nExec=\"" + (folder / "Ostrel").string() + "\"\n"), std::string::npos);
  // The menu entry is where a Linux user finds the uninstaller.
  const std::string menu = ReadBytes(MenuEntry(sandbox_.DataHome()));
  EXPECT_NE(menu.find("\nActions=Uninstall;\n"), std::string::npos) << menu;
  EXPECT_NE(menu.find("\n[Desktop Action Uninstall]\nName=Uninstall Ostrel\nExec=\"" + (folder / "Uninstall").string() +
                      "\"\n"),
            std::string::npos)
      << menu;
  EXPECT_EQ(ReadBytes(DesktopEntry()).find("Actions="), std::string::npos);
  for (const fs::path& entry : {DesktopEntry(), MenuEntry(sandbox_.DataHome())}) {
    EXPECT_EQ(std::system(("desktop-file-validate '" + entry.string() + "'").c_str()), 0) << entry;
  }

  EXPECT_EQ(Entry("DisplayIcon"), (folder / "Ostrel").string());
  EXPECT_EQ(Entry("DisplayName"), "Ostrel");
  EXPECT_EQ(Entry("DisplayVersion"), "2.0");
  EXPECT_TRUE(Entry("Publisher").value_or("").ends_with(".example")) << Entry("Publisher").value_or("none");
  EXPECT_EQ(Entry("UninstallString"), (folder / "Uninstall").string());

  EXPECT_TRUE(fs::is_empty(sandbox_.Root() / "tmp")) << "the extractor, archive and their folder are gone";
  ExpectProductRunsAndQuits();

  // The process ends without waiting for the report, so it may land a moment later.
  WaitUntil([&] { return !server_->Requests().empty(); }, 10s);
  const auto requests = server_->Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0]["path"], "/stat/install/");
  const auto body = nlohmann::json::parse(requests[0]["body"].get<std::string>());
  EXPECT_EQ(body["uuid"], ReadRegistryString(sandbox_.RegistryHive() / "Software" / "Ostrel" / "uuid"));
  EXPECT_EQ(body["version"], "2.0");
  EXPECT_EQ(body["fl"], "");
  const std::string signedText = body["lang"].get<std::string>() + body["fl"].get<std::string>() +
                                 body["uuid"].get<std::string>() + body["version"].get<std::string>() +
                                 std::to_string(body["ts"].get<std::int64_t>()) + "Zq4vTe";
  EXPECT_EQ(body["hash"], Hex(platform::Sha1(std::as_bytes(std::span(signedText.data(), signedText.size())))));
}

// The old installation's uninstaller removes it without a question or a
// report, stopping the running product; the new release goes into the same
// folder.
TEST_F(InstallRun, UpdateReplacesARunningInstallation) {
  const fs::path folder = sandbox_.DataHome() / "Ostrel";
  ASSERT_EQ(RunSilent(Download(OSTREL_PACKED_SETUP)), 0);
  ASSERT_TRUE(WaitUntil([] { return platform::IsProductRunning("Ostrel"); }, 20s));
  const std::vector<pid_t> oldProduct = ProcessesBelow(folder);
  ASSERT_EQ(oldProduct.size(), 1u);
  // Marks that only the old uninstaller's removal (shortcut) or a fresh
  // extraction (product file) can undo.
  WriteBytes(DesktopEntry(), "from the old installation");
  WriteBytes(folder / "wizard" / "wizard.dat", "stale");

  StartReportServer();
  const fs::path setup = Download(OSTREL_PACKED_SETUP_2_1, "download-2.1");
  ASSERT_EQ(RunSilent(setup), 0);

  EXPECT_FALSE(IsRunning(oldProduct[0])) << "the old product still runs";
  EXPECT_EQ(Entry("DisplayVersion"), "2.1");
  EXPECT_EQ(Entry("UninstallString"), (folder / "Uninstall").string());
  ExpectPayloadIn(folder);
  ExpectUninstallerFrom(folder, setup);
  ExpectShortcutsTo(folder, sandbox_.DataHome());
  ExpectProductRunsAndQuits();

  WaitUntil([&] { return !server_->Requests().empty(); }, 10s);
  const auto requests = server_->Requests();
  ASSERT_EQ(requests.size(), 1u) << "only the update report, none from the old uninstaller";
  EXPECT_EQ(requests[0]["path"], "/stat/updateinstall/");
  EXPECT_EQ(nlohmann::json::parse(requests[0]["body"].get<std::string>())["version"], "2.1");
}

// A product that takes the quit request and never answers: the old
// uninstaller still gets to its stop by name inside the time the update gives
// it, so the old product is gone and the new one starts in its place.
TEST_F(InstallRun, HungProductDoesNotDefeatAnUpdate) {
  const fs::path folder = sandbox_.DataHome() / "Ostrel";
  ASSERT_EQ(RunSilent(Download(OSTREL_PACKED_SETUP), {"OSTREL_DEMO_HANG_ON_QUIT=1"}), 0);
  ASSERT_TRUE(WaitUntil([] { return platform::IsProductRunning("Ostrel"); }, 20s));
  const std::vector<pid_t> oldProduct = ProcessesBelow(folder);
  ASSERT_EQ(oldProduct.size(), 1u);

  ASSERT_EQ(RunSilent(Download(OSTREL_PACKED_SETUP_2_1, "download-2.1")), 0);

  EXPECT_FALSE(IsRunning(oldProduct[0])) << "the old product still runs";
  EXPECT_EQ(Entry("DisplayVersion"), "2.1");
  ASSERT_TRUE(WaitUntil([&] {
    const std::vector<pid_t> now = ProcessesBelow(folder);
    return now.size() == 1 && now[0] != oldProduct[0] && platform::IsProductRunning("Ostrel");
  }, 20s)) << "the new product did not start";
  ExpectProductRunsAndQuits();
}

// A registered uninstaller that is not this product's (here a program in the
// user's documents) is neither run nor taken for the install folder: the run
// installs anew where a fresh install goes, and says why.
TEST_F(InstallRun, ForeignUninstallStringIsNeitherRunNorInstalledInto) {
  const fs::path documents = sandbox_.Home() / "Documents";
  const fs::path foreign = documents / "organize.sh";
  WriteBytes(foreign, "#!/bin/sh\ntouch \"$(dirname \"$0\")/ran\"\n");
  fs::permissions(foreign, fs::perms::owner_all);
  WriteBytes(UninstallKey() / "UninstallString", "REG_SZ\n" + foreign.string());

  ASSERT_EQ(RunSilent(Download(OSTREL_PACKED_SETUP)), 0);
  EXPECT_FALSE(fs::exists(documents / "ran")) << "the foreign program was run";
  EXPECT_EQ(FilesBelow(documents), std::set<std::string>{"organize.sh"});
  const fs::path folder = sandbox_.DataHome() / "Ostrel";
  ExpectPayloadIn(folder);
  EXPECT_EQ(Entry("UninstallString"), (folder / "Uninstall").string());
  EXPECT_NE(ErrorText().find("is not an absolute path to Uninstall; installing anew."), std::string::npos)
      << ErrorText();
  ExpectProductRunsAndQuits();
}

// An archive that does not decrypt installs nothing, and the run says so: it
// still leaves the uninstaller, the shortcuts and the entry (with which the
// user can remove what is there), but ends with a code and a reason instead
// of starting a product that is not there.
// Links planted in the install folder (to folders elsewhere, or to nowhere)
// must not carry payload files out of it, where the uninstaller would never
// reach them; the links go, what they lead to stays untouched, and so does a
// file of the user's under the name a staged copy once had.
TEST_F(InstallRun, PlantedFolderLinksDoNotCarryThePayloadElsewhere) {
  const fs::path folder = sandbox_.DataHome() / "Ostrel";
  const fs::path elsewhere = sandbox_.Home() / "Documents";
  fs::create_directories(folder);
  fs::create_directories(elsewhere);
  WriteBytes(elsewhere / "mine.txt", "mine");
  fs::create_directory_symlink(elsewhere, folder / "wizard");
  fs::create_directory_symlink(elsewhere, folder / "lang");
  fs::create_symlink(sandbox_.Home() / "not-yet", folder / "driver");
  WriteBytes(folder / "Uninstall.new", "the user's own");

  ASSERT_EQ(RunSilent(Download(OSTREL_PACKED_SETUP)), 0) << ErrorText();
  EXPECT_EQ(FilesBelow(elsewhere), std::set<std::string>{"mine.txt"});
  EXPECT_FALSE(fs::exists(sandbox_.Home() / "not-yet"));
  fs::remove(folder / "Uninstall.new");
  ExpectPayloadIn(folder);
  ExpectProductRunsAndQuits();
}

// A setup that dies in the middle of an update (here its extractor kills it,
// after the old uninstaller has run) must not make the next run forget the
// installation: the next setup still updates the folder it was in, wherever
// a fresh install would go now.
TEST_F(InstallRun, SetupDyingMidUpdateLeavesTheInstallationFindable) {
  const fs::path firstData = sandbox_.Root() / "first data";
  fs::create_directories(firstData);
  ASSERT_EQ(RunSilent(Download(OSTREL_PACKED_SETUP), {"XDG_DATA_HOME=" + firstData.string()}), 0);
  const fs::path folder = firstData / "Ostrel";
  ExpectProductRunsAndQuits();

  EXPECT_EQ(RunSilent(Download(OSTREL_PACKED_SETUP_CRASHING, "download-crashing")), std::nullopt)
      << "the setup was to die mid-install";
  ASSERT_EQ(RunSilent(Download(OSTREL_PACKED_SETUP_2_1, "download-2.1")), 0) << ErrorText();
  EXPECT_EQ(Entry("UninstallString"), (folder / "Uninstall").string());
  EXPECT_EQ(Entry("DisplayVersion"), "2.1");
  ExpectPayloadIn(folder);
  EXPECT_FALSE(fs::exists(sandbox_.DataHome() / "Ostrel")) << "installed somewhere else";
  ExpectProductRunsAndQuits();
}

TEST_F(InstallRun, WrongArchivePasswordEndsUnsuccessfullyAfterRegistering) {
  EXPECT_EQ(RunSilent(Download(OSTREL_PACKED_SETUP_WRONG_PASSWORD)), 1);
  EXPECT_TRUE(ErrorText().starts_with("OstrelSetup: Ostrel could not be installed: the extractor ended with code "))
      << ErrorText();
  const fs::path folder = sandbox_.DataHome() / "Ostrel";
  // Whether the extractor leaves what it decoded before the password check
  // failed depends on the archive's random salt; none of it is the product.
  const std::pair<const char*, fs::path> programs[] = {{"Ostrel", OSTREL_PRODUCT_PROGRAM},
                                                       {"os-trel", fs::path(OSTREL_PAYLOAD_DIR) / "os-trel"}};
  for (const auto& [name, original] : programs) {
    if (fs::exists(folder / name)) {
      EXPECT_NE(ReadBytes(folder / name), ReadBytes(original)) << name;
    }
  }
  EXPECT_TRUE(fs::exists(folder / "Uninstall"));
  ExpectShortcutsTo(folder, sandbox_.DataHome());
  EXPECT_EQ(Entry("UninstallString"), (folder / "Uninstall").string());
  EXPECT_TRUE(fs::is_empty(sandbox_.Root() / "tmp"));
  EXPECT_FALSE(WaitUntil([] { return platform::IsProductRunning("Ostrel"); }, 1s)) << "nothing was started";
}

// "silent nogui" shows no window, so it must not need a display: with the
// desktop platform chosen and no display to reach, it still installs. (The
// product, which does need one, cannot start here.)
TEST_F(InstallRun, WindowlessRunNeedsNoDisplay) {
  ASSERT_EQ(RunSilent(Download(OSTREL_PACKED_SETUP), {"QT_QPA_PLATFORM=xcb"}), 0);
  const fs::path folder = sandbox_.DataHome() / "Ostrel";
  ExpectPayloadIn(folder);
  EXPECT_EQ(Entry("UninstallString"), (folder / "Uninstall").string());
  EXPECT_TRUE(fs::is_empty(sandbox_.Root() / "tmp"));
}

TEST_F(InstallRun, FolderThatCannotBeMadeStillLeadsToTheEntryAndFails) {
  const fs::path blocked = sandbox_.Root() / "blocked";
  WriteBytes(blocked, "a file where the data folder should be");
  EXPECT_EQ(RunSilent(Download(OSTREL_PACKED_SETUP), {"XDG_DATA_HOME=" + blocked.string()}), 1);
  EXPECT_TRUE(ErrorText().starts_with("OstrelSetup: Ostrel could not be installed: ")) << ErrorText();
  EXPECT_EQ(Entry("UninstallString"), (blocked / "Ostrel" / "Uninstall").string());
  EXPECT_TRUE(fs::exists(DesktopEntry()));
  EXPECT_FALSE(platform::IsProductRunning("Ostrel"));
}

// The archive and the extractor are held in memory, so a temporary folder
// that is missing or not a folder at all does not keep the setup from
// installing (it used to wait for ever, with no window to close).
TEST_F(InstallRun, UnusableTemporaryFolderDoesNotMatter) {
  const fs::path file = sandbox_.Root() / "tmp-file";
  WriteBytes(file, "not a folder");
  for (const fs::path& tmpdir : {sandbox_.Root() / "no-such-folder", file}) {
    SCOPED_TRACE(tmpdir);
    fs::remove_all(UninstallKey());
    ASSERT_EQ(RunSilent(Download(OSTREL_PACKED_SETUP), {"TMPDIR=" + tmpdir.string()}), 0) << ErrorText();
    const fs::path folder = sandbox_.DataHome() / "Ostrel";
    ExpectPayloadIn(folder);
    EXPECT_EQ(Entry("UninstallString"), (folder / "Uninstall").string());
    EXPECT_FALSE(fs::exists(sandbox_.Home() / ".cache")) << "no fallback folder was needed";
    ExpectProductRunsAndQuits();
  }
}

TEST_F(InstallRun, ExistingShortcutsAreLeftUntouched) {
  WriteBytes(DesktopEntry(), "the user's own launcher");
  WriteBytes(MenuEntry(sandbox_.DataHome()), "points elsewhere");
  ASSERT_EQ(RunSilent(Download(OSTREL_PACKED_SETUP)), 0);
  EXPECT_EQ(ReadBytes(DesktopEntry()), "the user's own launcher");
  EXPECT_EQ(ReadBytes(MenuEntry(sandbox_.DataHome())), "points elsewhere");
  ExpectProductRunsAndQuits();
}

// Each folder name is taken literally all the way to the extractor, the
// shortcuts and the product start; nothing it spells is run.
TEST_F(InstallRun, UnusualFolderNamesInstallAndRunNothingTheySpell) {
  const std::string names[] = {
      "my data $HOME %PATH% a&b",
      "x;touch pwned;y",
      "日本語 données `touch pwned2`",
      "back\\slash 'single' $(touch pwned3)",
  };
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const fs::path dataHome = sandbox_.Root() / name;
    fs::create_directories(dataHome);
    fs::remove_all(sandbox_.Home() / "Desktop");
    fs::create_directories(sandbox_.Home() / "Desktop");
    fs::remove_all(UninstallKey());

    ASSERT_EQ(RunSilent(Download(OSTREL_PACKED_SETUP), {"XDG_DATA_HOME=" + dataHome.string()}), 0);
    const fs::path folder = dataHome / "Ostrel";
    ExpectPayloadIn(folder);
    ExpectShortcutsTo(folder, dataHome);
    EXPECT_EQ(Entry("UninstallString"), (folder / "Uninstall").string());
    ExpectProductRunsAndQuits();
  }
  for (const auto& entry : fs::recursive_directory_iterator(sandbox_.Root())) {
    EXPECT_FALSE(entry.path().filename().string().starts_with("pwned")) << entry.path();
  }
}

// A setup killed in the middle of an installation leaves its private folder
// behind (here one that a process now gone made); the next run removes it.
TEST_F(InstallRun, FolderLeftByAKilledRunIsRemovedByTheNext) {
  const pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ::waitpid(gone, nullptr, 0);
  const fs::path leftover = sandbox_.Root() / "tmp" / ("ostrel-" + std::to_string(gone) + "-1-0123456789abcdef");
  WriteBytes(leftover / "7za", "an extractor");
  WriteBytes(leftover / "tmp0123456789abcdef.tmp", "an archive");

  ASSERT_EQ(RunSilent(Download(OSTREL_PACKED_SETUP)), 0) << ErrorText();
  EXPECT_TRUE(fs::is_empty(sandbox_.Root() / "tmp"));
  ExpectProductRunsAndQuits();
}

// A double quote is a legal file name character here: the extractor gets its
// words as they are, so such a folder installs like any other and nothing is
// extracted beside it.
TEST_F(InstallRun, QuoteInTheFolderInstallsLikeAnyOtherName) {
  const fs::path dataHome = sandbox_.Root() / "say \"hi\" -o";
  fs::create_directories(dataHome);
  ASSERT_EQ(RunSilent(Download(OSTREL_PACKED_SETUP), {"XDG_DATA_HOME=" + dataHome.string()}), 0) << ErrorText();
  const fs::path folder = dataHome / "Ostrel";
  ExpectPayloadIn(folder);
  EXPECT_EQ(FilesBelow(sandbox_.Root() / "say "), std::set<std::string>{}) << "nothing extracted beside it";
  EXPECT_EQ(Entry("UninstallString"), (folder / "Uninstall").string());
  ExpectProductRunsAndQuits();
}

}  // namespace
}  // namespace ostrel::e2e
