// The uninstaller run as a user runs it: from a laid-out install folder in a
// sandbox home, with the product running and a local report server.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
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

const std::vector<std::string> kUninstallKey = {"Software",       "Microsoft", "Windows",
                                                "CurrentVersion", "Uninstall", "Ostrel"};

// A child with an environment of its own making; killed when the object
// goes if it still runs.
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

  bool Started() const { return pid_ > 0; }

  // The wait status once the child has ended within the time.
  std::optional<int> Wait(std::chrono::milliseconds limit) {
    WaitUntil(
        [this] {
          int status = 0;
          if (!status_ && ::waitpid(pid_, &status, WNOHANG) == pid_) status_ = status;
          return status_.has_value();
        },
        limit);
    return status_;
  }

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
};

int RunAndWait(const std::vector<std::string>& words) {
  std::vector<std::string> store = words;
  std::vector<char*> argv;
  for (std::string& w : store) argv.push_back(w.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  const int error = ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) return -1;
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void WriteFile(const fs::path& path, const std::string& content) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << content;
}

std::vector<std::string> With(std::vector<std::string> env, const std::map<std::string, std::string>& extra) {
  for (const auto& [name, value] : extra) {
    const std::string prefix = name + "=";
    std::erase_if(env, [&prefix](const std::string& e) { return e.starts_with(prefix); });
    env.push_back(prefix + value);
  }
  return env;
}

class UninstallRun : public ::testing::Test {
 protected:
  UninstallRun() : sandbox_(ShortRoot()), installFolder_(sandbox_.DataHome() / "Ostrel") {}

  ~UninstallRun() override {
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

  fs::path Uninstaller() const { return installFolder_ / "Uninstall"; }
  fs::path EntryKey() const {
    fs::path key = sandbox_.RegistryHive();
    for (const std::string& part : kUninstallKey) key /= part;
    return key;
  }
  fs::path ProductKey() const { return sandbox_.RegistryHive() / "Software" / "Ostrel"; }
  fs::path DesktopShortcut() const { return sandbox_.Home() / "Desktop" / "Ostrel.desktop"; }
  fs::path MenuShortcut() const { return sandbox_.DataHome() / "applications" / "Ostrel.desktop"; }
  fs::path ProductSocket() const {
    return sandbox_.Root() / "runtime" / ("Ostrel-" + std::to_string(::getuid()) + ".sock");
  }

  static void WriteValue(const fs::path& key, const std::string& name, const std::string& value) {
    WriteFile(key / name, "REG_SZ\n" + value);
  }

  // The folder as an installation leaves it: the payload, the setup copied
  // as the uninstaller, the uninstall entry, the identity and both shortcuts.
  void LayOutInstallation() {
    fs::create_directories(installFolder_);
    ASSERT_EQ(RunAndWait({OSTREL_7ZZ, "x", "-y", std::string("-p") + OSTREL_PAYLOAD_PASSWORD,
                          "-o" + installFolder_.string(), OSTREL_PAYLOAD_ARCHIVE}),
              0);
    fs::copy_file(OSTREL_PACKED_SETUP, Uninstaller());
    const std::string folder = installFolder_.string() + "/";
    WriteValue(EntryKey(), "DisplayIcon", folder + "Ostrel");
    WriteValue(EntryKey(), "DisplayName", "Ostrel");
    WriteValue(EntryKey(), "DisplayVersion", "2.0");
    WriteValue(EntryKey(), "Publisher", "https://www.ostrel.example");
    WriteValue(EntryKey(), "UninstallString", Uninstaller().string());
    WriteValue(ProductKey(), "uuid", "{00000000-0000-4000-8000-0000000000AB}");
    WriteValue(ProductKey(), "fl", "web");
    const std::string entry =
        "[Desktop Entry]\nType=Application\nName=Ostrel\nExec=\"" + folder + "Ostrel\"\nPath=" + folder + "\n";
    WriteFile(DesktopShortcut(), entry);
    WriteFile(MenuShortcut(), entry);
  }

  std::unique_ptr<Child> StartProduct(bool ignoreQuit) {
    auto env = sandbox_.Environment();
    if (ignoreQuit) env = With(env, {{"OSTREL_DEMO_IGNORE_QUIT", "1"}});
    auto product = std::make_unique<Child>(installFolder_ / "Ostrel", std::vector<std::string>{}, env, installFolder_);
    EXPECT_TRUE(WaitUntil([&] { return fs::exists(ProductSocket()); }, 30s)) << "the product never listened";
    return product;
  }

  std::vector<std::string> UninstallEnvironment(const test::ReportServer& server) const {
    return With(sandbox_.Environment(),
                {{"OSTREL_STAT_BASE", server.BaseUrl()}, {"OSTREL_STAT_CA_FILE", server.CaFile().string()}});
  }

  // Runs the uninstaller to its end and returns its exit code.
  std::optional<int> Uninstall(const std::vector<std::string>& args, const std::vector<std::string>& env) {
    Child uninstaller(Uninstaller(), args, env, sandbox_.Root());
    EXPECT_TRUE(uninstaller.Started());
    const auto status = uninstaller.Wait(120s);
    if (!status || !WIFEXITED(*status)) return std::nullopt;
    return WEXITSTATUS(*status);
  }

  // The files left in the install folder, relative to it, sorted.
  std::vector<std::string> LeftInInstallFolder() const {
    std::vector<std::string> left;
    for (const auto& entry : fs::recursive_directory_iterator(installFolder_)) {
      left.push_back(fs::relative(entry.path(), installFolder_).string());
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
    EXPECT_EQ(ReadRegistryString(ProductKey() / "uuid"), "{00000000-0000-4000-8000-0000000000AB}");
    EXPECT_EQ(ReadRegistryString(ProductKey() / "fl"), "web");
  }

  void AddUserFiles() {
    WriteFile(installFolder_ / "lang" / "Deutsch.lang", "mine");
    WriteFile(installFolder_ / "notes.txt", "mine");
    WriteFile(installFolder_ / "wizard" / "user" / "kept-here.txt", "goes with wizard");
  }

  Sandbox sandbox_;
  fs::path installFolder_;
};

TEST_F(UninstallRun, SilentRunQuitsTheProductRemovesItsItemsAndReportsOnce) {
  LayOutInstallation();
  AddUserFiles();
  test::ReportServer server(fs::path(OSTREL_E2E_REPORT_DIR), {});
  auto product = StartProduct(false);

  EXPECT_EQ(Uninstall({"silent"}, UninstallEnvironment(server)), 0);

  const auto productStatus = product->Wait(5s);
  ASSERT_TRUE(productStatus.has_value()) << "the product still runs";
  EXPECT_TRUE(WIFEXITED(*productStatus)) << "the product was stopped by force though it honours the message";
  EXPECT_FALSE(fs::exists(ProductSocket()));
  ExpectEverythingListedGone();

  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0]["path"], "/stat/uninstall/");
  const auto body = nlohmann::json::parse(requests[0]["body"].get<std::string>());
  EXPECT_EQ(body["uuid"], "{00000000-0000-4000-8000-0000000000AB}");
  EXPECT_EQ(body["fl"], "web");
}

TEST_F(UninstallRun, ProductIgnoringTheQuitMessageIsStoppedByName) {
  LayOutInstallation();
  AddUserFiles();
  test::ReportServer server(fs::path(OSTREL_E2E_REPORT_DIR), {});
  auto product = StartProduct(true);

  const auto start = Clock::now();
  EXPECT_EQ(Uninstall({"silent"}, UninstallEnvironment(server)), 0);
  const auto took = Clock::now() - start;

  const auto productStatus = product->Wait(5s);
  ASSERT_TRUE(productStatus.has_value()) << "the product still runs";
  ASSERT_TRUE(WIFSIGNALED(*productStatus));
  EXPECT_EQ(WTERMSIG(*productStatus), SIGKILL);
  EXPECT_GE(took, 5s) << "fewer than 50 asks before the forced stop";
  ExpectEverythingListedGone();
}

TEST_F(UninstallRun, UpdateRunAsksNothingSendsNoReportAndDropsShortcutsAndEntry) {
  LayOutInstallation();
  AddUserFiles();
  test::ReportServer server(fs::path(OSTREL_E2E_REPORT_DIR), {});

  EXPECT_EQ(Uninstall({"update"}, UninstallEnvironment(server)), 0);

  ExpectEverythingListedGone();
  std::this_thread::sleep_for(1s);
  EXPECT_TRUE(server.Requests().empty());
}

// Nothing in the folder's name may be read as a command: not by the stop
// commands run there, nor by anything that handles the uninstaller's path.
TEST_F(UninstallRun, FolderNamesWithShellCharactersAreJustNames) {
  installFolder_ = sandbox_.DataHome() / "it's \"my\" $HOME %PATH% & ; $(touch pwned) `touch pwned2` Überprüfung";
  LayOutInstallation();
  AddUserFiles();
  test::ReportServer server(fs::path(OSTREL_E2E_REPORT_DIR), {});

  EXPECT_EQ(Uninstall({"silent"}, UninstallEnvironment(server)), 0);

  ExpectEverythingListedGone();
  for (const fs::path& folder : {sandbox_.Root(), installFolder_, sandbox_.Home()}) {
    EXPECT_FALSE(fs::exists(folder / "pwned")) << folder;
    EXPECT_FALSE(fs::exists(folder / "pwned2")) << folder;
  }
}

}  // namespace
}  // namespace ostrel::e2e
