#include "tests/setup/e2e/SandboxProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <thread>
#include <utility>

namespace ostrel::e2e {

namespace fs = std::filesystem;

Sandbox::Sandbox(fs::path root) : root_(std::move(root)) {
  fs::remove_all(root_);
  for (const fs::path& dir : {Home(), ConfigHome(), DataHome(), root_ / "runtime", root_ / "tmp"}) {
    fs::create_directories(dir);
  }
  fs::permissions(root_ / "runtime", fs::perms::owner_all);
}

std::vector<std::string> Sandbox::Environment() const {
  return {
      "PATH=/usr/bin:/bin",
      "LANG=C.UTF-8",
      "HOME=" + Home().string(),
      "XDG_CONFIG_HOME=" + ConfigHome().string(),
      "XDG_DATA_HOME=" + DataHome().string(),
      "XDG_RUNTIME_DIR=" + (root_ / "runtime").string(),
      "TMPDIR=" + (root_ / "tmp").string(),
      // Reports, should any be sent, go nowhere.
      "OSTREL_STAT_BASE=https://127.0.0.1:9",
  };
}

SandboxProcess::SandboxProcess(const Sandbox& sandbox, const fs::path& program, const std::vector<std::string>& args,
                               const std::vector<std::string>& environment, const fs::path& errorFile) {
  std::vector<std::string> argvStore{program.string()};
  argvStore.insert(argvStore.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : argvStore) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> envStore = sandbox.Environment();
  for (const std::string& entry : environment) {
    const std::string name = entry.substr(0, entry.find('=') + 1);
    std::erase_if(envStore, [&name](const std::string& e) { return e.starts_with(name); });
    envStore.push_back(entry);
  }
  std::vector<char*> envp;
  for (std::string& e : envStore) envp.push_back(e.data());
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, sandbox.Root().c_str());
  if (!errorFile.empty()) {
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  }
  if (::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
  posix_spawn_file_actions_destroy(&actions);
}

SandboxProcess::~SandboxProcess() { Kill(); }

std::optional<int> SandboxProcess::WaitForExit(std::chrono::milliseconds limit) {
  if (pid_ <= 0) return std::nullopt;
  WaitUntil(
      [this] {
        if (!reaped_ && ::waitpid(pid_, &status_, WNOHANG) == pid_) reaped_ = true;
        return reaped_;
      },
      limit);
  if (reaped_ && WIFEXITED(status_)) return WEXITSTATUS(status_);
  return std::nullopt;
}

bool SandboxProcess::Running() {
  if (pid_ <= 0) return false;
  if (!reaped_ && ::waitpid(pid_, &status_, WNOHANG) == pid_) reaped_ = true;
  return !reaped_;
}

void SandboxProcess::Kill() {
  if (pid_ <= 0 || reaped_) return;
  ::kill(pid_, SIGKILL);
  ::waitpid(pid_, &status_, 0);
  reaped_ = true;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (true) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

std::optional<std::string> ReadRegistryString(const fs::path& valueFile) {
  std::ifstream in(valueFile, std::ios::binary);
  if (!in) return std::nullopt;
  const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  constexpr std::string_view kTag = "REG_SZ\n";
  if (!content.starts_with(kTag)) return std::nullopt;
  return content.substr(kTag.size());
}

}  // namespace ostrel::e2e
