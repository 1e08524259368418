// The uninstaller run as a user runs it: after a real unattended installation
// in a sandbox home, with the installed product running and a local report
// server.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/setup/e2e/SandboxProcess.h"
#include "tests/setup/support/ReportServer.h"

namespace ostrel::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A child with an environment of its own making, its output dropped; killed
// when the object goes if it still runs.
class Child {
 public:
  Child(const fs::path& program, const std::vector<std::string>& args, const std::vector<std::string>& env,
        const fs::path& workingFolder) {
    std::vector<std::string> argvStore{program.string()};
    argvStore.insert(argvStore.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argvStore) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> envStore = env;
    std::vector<char*> envp;
    for (std::string& e : envStore) envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    if (::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  ~Child() {
    if (pid_ > 0 && !status_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }

  // The exit code once the child has ended by itself within the time.
  std::optional<int> WaitForExit(std::chrono::milliseconds limit) {
    if (pid_ <= 0) return std::nullopt;
    WaitUntil(
        [this] {
          int status = 0;
          if (!status_ && ::waitpid(pid_, &status, WNOHANG) == pid_) status_ = status;
          return status_.has_value();
        },
        limit);
    if (!status_ || !WIFEXITED(*status_)) return std::nullopt;
    return WEXITSTATUS(*status_);
  }

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
};

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void WriteFile(const fs::path& path, const std::string& content) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << content;
}

// Running, not merely waiting to be reaped.
bool IsRunning(pid_t pid) {
  const std::string stat = ReadBytes("/proc/" + std::to_string(pid) + "/stat");
  const std::size_t end = stat.rfind(") ");
  return end != std::string::npos && end + 2 < stat.size() && stat[end + 2] != 'Z' && stat[end + 2] != 'X';
}

// Live processes whose program lies below folder.
std::vector<pid_t> ProcessesBelow(const fs::path& folder) {
  std::vector<pid_t> pids;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator("/proc", error)) {
    const std::string name = entry.path().filename().string();
    if (name.empty() || !std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; })) continue;
    std::error_code ignored;
    const std::string exe = fs::read_symlink(entry.path() / "exe", ignored).string();
    const pid_t pid = static_cast<pid_t>(std::stol(name));
    if (exe.starts_with(folder.string() + "/") && IsRunning(pid)) pids.push_back(pid);
  }
  return pids;
}

class InstalledThenUninstalled : public ::testing::Test {
 protected:
  InstalledThenUninstalled() : sandbox_(ShortRoot()), dataHome_(sandbox_.DataHome()) {
    fs::create_directories(sandbox_.Home() / "Desktop");
  }

  ~InstalledThenUninstalled() override {
    for (const pid_t pid : ProcessesBelow(sandbox_.Root())) ::kill(pid, SIGKILL);
    std::error_code ignored;
    fs::remove_all(sandbox_.Root().parent_path(), ignored);
  }

  // The product's socket lives in the sandbox's runtime folder only while
  // its path fits a socket address; a long build path would move it into a
  // namespace the whole machine shares.
  static fs::path ShortRoot() {
    std::string pattern = "/tmp/ou-XXXXXX";
    return fs::path(::mkdtemp(pattern.data())) / "s";
  }

  fs::path InstallFolder() const { return dataHome_ / "Ostrel"; }
  fs::path Uninstaller() const { return InstallFolder() / "Uninstall"; }
  fs::path EntryKey() const {
    return sandbox_.RegistryHive() / "Software" / "Microsoft" / "Windows" / "CurrentVersion" / "Uninstall" / "Ostrel";
  }
  fs::path ProductKey() const { return sandbox_.RegistryHive() / "Software" / "Ostrel"; }
  fs::path DesktopShortcut() const { return sandbox_.Home() / "Desktop" / "Ostrel.desktop"; }
  fs::path MenuShortcut() const { return dataHome_ / "applications" / "Ostrel.desktop"; }
  fs::path ProductSocket() const {
    return sandbox_.Root() / "runtime" / ("Ostrel-" + std::to_string(::getuid()) + ".sock");
  }

  std::vector<std::string> Environment(const std::map<std::string, std::string>& extra = {}) const {
    std::vector<std::string> env = sandbox_.Environment();
    std::map<std::string, std::string> all = extra;
    all.emplace("XDG_DATA_HOME", dataHome_.string());
    if (server_) {
      all.emplace("OSTREL_STAT_BASE", server_->BaseUrl());
      all.emplace("OSTREL_STAT_CA_FILE", server_->CaFile().string());
    }
    for (const auto& [name, value] : all) {
      const std::string prefix = name + "=";
      std::erase_if(env, [&prefix](const std::string& e) { return e.starts_with(prefix); });
      env.push_back(prefix + value);
    }
    return env;
  }

  void StartReportServer() {
    server_ = std::make_unique<test::ReportServer>(fs::path(OSTREL_E2E_REPORT_DIR), test::ReportServer::Answer{});
  }

  // The packed setup run unattended, as a user installs; it starts the
  // product before it ends.
  void Install(const std::map<std::string, std::string>& extra = {}) {
    const fs::path setup = sandbox_.Root() / "download" / "OstrelSetup";
    fs::create_directories(setup.parent_path());
    fs::copy_file(OSTREL_PACKED_SETUP, setup, fs::copy_options::overwrite_existing);
    Child process(setup, {"silent", "nogui"}, Environment(extra), sandbox_.Root());
    ASSERT_EQ(process.WaitForExit(120s), 0);
    ASSERT_TRUE(fs::exists(Uninstaller()));
    ASSERT_TRUE(fs::exists(EntryKey() / "UninstallString"));
    installId_ = ReadRegistryString(ProductKey() / "uuid").value_or("");
    ASSERT_FALSE(installId_.empty());
  }

  // Files a user keeps in and beside the product's folders.
  void AddUserFiles() {
    WriteFile(InstallFolder() / "lang" / "Deutsch.lang", "mine");
    WriteFile(InstallFolder() / "notes.txt", "mine");
    WriteFile(InstallFolder() / "wizard" / "user" / "goes-with-wizard.txt", "mine");
  }

  std::vector<pid_t> WaitForProduct() {
    EXPECT_TRUE(WaitUntil([&] { return fs::exists(ProductSocket()) && !ProcessesBelow(InstallFolder()).empty(); }, 30s))
        << "the installed product never listened";
    return ProcessesBelow(InstallFolder());
  }

  std::optional<int> Uninstall(const std::vector<std::string>& args) {
    Child uninstaller(Uninstaller(), args, Environment(), sandbox_.Root());
    return uninstaller.WaitForExit(120s);
  }

  std::vector<std::string> LeftInInstallFolder() const {
    std::vector<std::string> left;
    for (const auto& entry : fs::recursive_directory_iterator(InstallFolder())) {
      left.push_back(fs::relative(entry.path(), InstallFolder()).string());
    }
    std::sort(left.begin(), left.end());
    return left;
  }

  void ExpectEverythingListedGone() {
    const std::vector<std::string> expected = {"lang", "lang/Deutsch.lang", "notes.txt"};
    EXPECT_EQ(LeftInInstallFolder(), expected);
    EXPECT_FALSE(fs::exists(DesktopShortcut()));
    EXPECT_FALSE(fs::exists(MenuShortcut()));
    EXPECT_FALSE(fs::exists(EntryKey())) << "the uninstall entry is still registered";
    EXPECT_EQ(ReadRegistryString(ProductKey() / "uuid"), installId_) << "the identity must outlive the product";
  }

  std::vector<nlohmann::json> UninstallReports() const {
    std::vector<nlohmann::json> reports;
    for (const nlohmann::json& request : server_->Requests()) {
      if (request["path"] == "/stat/uninstall/") reports.push_back(request);
    }
    return reports;
  }

  Sandbox sandbox_;
  fs::path dataHome_;
  std::unique_ptr<test::ReportServer> server_;
  std::string installId_;
};

TEST_F(InstalledThenUninstalled, SilentRunQuitsTheProductRemovesItsItemsAndReportsOnce) {
  StartReportServer();
  Install();
  AddUserFiles();
  const std::vector<pid_t> product = WaitForProduct();
  ASSERT_FALSE(product.empty());

  EXPECT_EQ(Uninstall({"silent"}), 0);

  EXPECT_TRUE(WaitUntil([&] { return !IsRunning(product.front()); }, 5s)) << "the product still runs";
  EXPECT_FALSE(fs::exists(ProductSocket())) << "the product was stopped by force though it honours the message";
  ExpectEverythingListedGone();

  const auto reports = UninstallReports();
  ASSERT_EQ(reports.size(), 1u);
  const auto body = nlohmann::json::parse(reports[0]["body"].get<std::string>());
  EXPECT_EQ(body["uuid"], installId_);
  EXPECT_EQ(body["version"], "2.0");
}

TEST_F(InstalledThenUninstalled, ProductIgnoringTheQuitMessageIsStoppedByName) {
  Install({{"OSTREL_DEMO_IGNORE_QUIT", "1"}});
  AddUserFiles();
  const std::vector<pid_t> product = WaitForProduct();
  ASSERT_FALSE(product.empty());

  const auto start = Clock::now();
  EXPECT_EQ(Uninstall({"silent"}), 0);
  const auto took = Clock::now() - start;

  EXPECT_TRUE(WaitUntil([&] { return !IsRunning(product.front()); }, 5s)) << "the product still runs";
  EXPECT_TRUE(fs::exists(ProductSocket())) << "a killed product leaves its socket file behind";
  EXPECT_GE(took, 5s) << "fewer than 50 asks before the forced stop";
  ExpectEverythingListedGone();
}

TEST_F(InstalledThenUninstalled, UpdateRunAsksNothingSendsNoReportAndDropsShortcutsAndEntry) {
  StartReportServer();
  Install();
  AddUserFiles();

  EXPECT_EQ(Uninstall({"update"}), 0);

  ExpectEverythingListedGone();
  std::this_thread::sleep_for(1s);
  EXPECT_TRUE(UninstallReports().empty());
}

// Nothing in the folder's name may be read as a command: not by the stop
// commands run there, nor by anything that handles the uninstaller's path.
TEST_F(InstalledThenUninstalled, FolderNamesWithShellCharactersAreJustNames) {
  const std::string names[] = {
      "it's $HOME %PATH% a&b ;touch pwned; $(touch pwned2) `touch pwned3` Überprüfung 日本語",
      "say \"hi\" & \"bye\"",
  };
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    dataHome_ = sandbox_.Root() / name;
    fs::create_directories(dataHome_);
    Install();
    AddUserFiles();

    EXPECT_EQ(Uninstall({"silent"}), 0);
    ExpectEverythingListedGone();
  }
  for (const auto& entry : fs::recursive_directory_iterator(sandbox_.Root())) {
    EXPECT_FALSE(entry.path().filename().string().starts_with("pwned")) << entry.path();
  }
}

}  // namespace
}  // namespace ostrel::e2e
