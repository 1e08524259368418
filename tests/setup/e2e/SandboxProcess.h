#pragma once
// Runs a program in a sandbox home: HOME, the XDG folders and TMPDIR all point
// below one folder. No display is named: a run that needs one must be given
// it (QT_QPA_PLATFORM=offscreen) by its test.

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ostrel::e2e {

class Sandbox {
 public:
  // Starts from an empty folder at root.
  explicit Sandbox(std::filesystem::path root);

  const std::filesystem::path& Root() const { return root_; }
  std::filesystem::path Home() const { return root_ / "home"; }
  std::filesystem::path ConfigHome() const { return Home() / ".config"; }
  std::filesystem::path DataHome() const { return Home() / ".local" / "share"; }
  std::filesystem::path RegistryHive() const { return ConfigHome() / "ostrel-registry" / "HKEY_CURRENT_USER"; }

  // The environment a program started here gets, and nothing else.
  std::vector<std::string> Environment() const;

 private:
  std::filesystem::path root_;
};

// A started program; killed when the object goes if it still runs.
class SandboxProcess {
 public:
  // environment: "NAME=value" entries that replace or add to the sandbox's.
  // errorFile, when given, receives what the program writes to standard error.
  SandboxProcess(const Sandbox& sandbox, const std::filesystem::path& program, const std::vector<std::string>& args,
                 const std::vector<std::string>& environment = {}, const std::filesystem::path& errorFile = {});
  SandboxProcess(const SandboxProcess&) = delete;
  SandboxProcess& operator=(const SandboxProcess&) = delete;
  ~SandboxProcess();

  bool Started() const { return pid_ > 0; }

  // The exit code once the process ended by itself within the time; nothing
  // when it still runs (or ended by a signal).
  std::optional<int> WaitForExit(std::chrono::milliseconds limit);

  // Not ended, by itself or by a signal.
  bool Running();

  void Kill();

 private:
  pid_t pid_ = -1;
  bool reaped_ = false;
  int status_ = 0;
};

// Polls until condition holds or the time is up.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit);

// The tagged string value stored for a registry value, if it is one.
std::optional<std::string> ReadRegistryString(const std::filesystem::path& valueFile);

}  // namespace ostrel::e2e
