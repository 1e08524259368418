#pragma once
// In-memory stand-ins for the platform, the window and the threads, which
// record what start-up asks of them.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "setup/core/Startup.h"

namespace ostrel::setup::testing {

struct ProcessExit {
  unsigned code;
};

class FakeRegistry final : public platform::IRegistry {
 public:
  using Values = std::map<std::string, std::string>;
  std::map<std::string, Values> keys;
  bool failOpen = false;
  bool failFlush = false;
  std::vector<std::string> writes;   // "key|name=value"
  std::vector<std::string> flushes;  // the keys, in the order flushed

  std::unique_ptr<platform::IRegistryKey> OpenKey(std::string_view path, platform::RegistryAccess access) override {
    if (failOpen) return nullptr;
    auto it = keys.find(std::string(path));
    if (it == keys.end()) {
      if (access == platform::RegistryAccess::ReadOnly) return nullptr;
      it = keys.emplace(std::string(path), Values{}).first;
    }
    return std::make_unique<Key>(*this, it->first, access);
  }
  bool DeleteKey(std::string_view path) override { return keys.erase(std::string(path)) > 0; }

 private:
  class Key final : public platform::IRegistryKey {
   public:
    Key(FakeRegistry& owner, std::string path, platform::RegistryAccess access)
        : owner_(owner), path_(std::move(path)), access_(access) {}
    std::optional<std::string> ReadString(std::string_view name) const override {
      const Values& values = owner_.keys.at(path_);
      const auto it = values.find(std::string(name));
      if (it == values.end()) return std::nullopt;
      return it->second;
    }
    bool WriteString(std::string_view name, std::string_view value) override {
      if (access_ != platform::RegistryAccess::All) return false;
      owner_.keys.at(path_)[std::string(name)] = std::string(value);
      owner_.writes.push_back(path_ + "|" + std::string(name) + "=" + std::string(value));
      return true;
    }
    bool Flush() override {
      owner_.flushes.push_back(path_);
      return !owner_.failFlush;
    }

   private:
    FakeRegistry& owner_;
    std::string path_;
    platform::RegistryAccess access_;
  };
};

class FakeDrives final : public platform::IDrives {
 public:
  std::vector<std::pair<std::string, platform::DriveType>> drives;
  std::vector<std::string> LogicalDriveRoots() const override {
    std::vector<std::string> roots;
    for (const auto& d : drives) roots.push_back(d.first);
    return roots;
  }
  platform::DriveType GetDriveType(const std::string& root) const override {
    for (const auto& d : drives) {
      if (d.first == root) return d.second;
    }
    return platform::DriveType::dtNoRootDir;
  }
};

class FakeShellFolders final : public platform::IShellFolders {
 public:
  std::map<int, std::string> folders;
  std::string GetFolderPath(int csidl) const override {
    const auto it = folders.find(csidl);
    return it == folders.end() ? std::string() : it->second;
  }
};

class FakeSystem final : public platform::ISystem {
 public:
  std::string executablePath;
  int guidsMade = 0;
  std::string ExecutablePath() const override { return executablePath; }
  platform::GuidBytes NewGuid() override {
    platform::GuidBytes g{};
    for (std::size_t i = 0; i < g.size(); ++i) g[i] = static_cast<std::uint8_t>(0xA0 + i + guidsMade);
    ++guidsMade;
    return g;
  }
  [[noreturn]] void ExitProcess(unsigned exitCode) override { throw ProcessExit{exitCode}; }
};

// Every call as one line, in order.
class FakeWindow final : public ISetupWindow {
 public:
  std::vector<std::string> calls;
  std::vector<std::string> items;
  int selected = -1;
  bool answerYes = true;

  void SetCaption(std::string_view c) override { calls.push_back("caption " + std::string(c)); }
  void SetInstallButtonCaption(std::string_view c) override { calls.push_back("button " + std::string(c)); }
  void HideCustomInstall() override { calls.push_back("hide custom"); }
  void RestartAnimation(std::string_view name, double delay, double duration) override {
    calls.push_back("restart " + std::string(name) + " " + std::to_string(delay) + " " + std::to_string(duration));
  }
  void AddDriveItem(std::string_view text) override { items.emplace_back(text); }
  int DriveItemCount() const override { return static_cast<int>(items.size()); }
  void SelectDriveItem(int index) override { selected = index; }
  std::optional<std::string> SelectedDriveItem() const override {
    if (selected < 0 || selected >= DriveItemCount()) return std::nullopt;
    return items[static_cast<std::size_t>(selected)];
  }
  void CreateOperateAni() override { calls.push_back("create OperateAni"); }
  void StartOperateAni() override { calls.push_back("start OperateAni"); }
  void DisableInputs() override { calls.push_back("disable inputs"); }
  void Hide() override { calls.push_back("hide"); }
  bool AskYesNo(std::string_view text, std::string_view caption) override {
    calls.push_back("ask " + std::string(text) + " / " + std::string(caption));
    return answerYes;
  }
  void ShowFailure(std::string_view text) override { calls.push_back("failure " + std::string(text)); }
};

// Runs nothing on a pool; a started thread and its UI call run at once.
class FakeTasks final : public ITaskRunner {
 public:
  std::vector<std::function<void()>> posted;
  std::vector<std::string> calls;
  void Post(std::function<void()> task) override { posted.push_back(std::move(task)); }
  void CallOnUiThread(const std::function<void()>& fn) override {
    calls.push_back("ui call");
    fn();
  }
  void StartThread(std::function<void()> work) override {
    calls.push_back("thread");
    work();
  }
};

class FakeActions final : public IRoleActions {
 public:
  std::vector<std::string> calls;
  void StartUninstallReport() override { calls.push_back("report"); }
  void RunUninstall() override { calls.push_back("uninstall"); }
  void Install() override { calls.push_back("install"); }
};

// One start-up with everything faked; tests adjust the parts they care about.
struct StartupRig {
  SetupState state;
  FakeRegistry registry;
  FakeDrives drives;
  FakeShellFolders shellFolders;
  FakeSystem system;
  FakeWindow window;
  FakeTasks tasks;
  FakeActions actions;
  std::optional<std::string> versionResource = std::string("2.0");
  platform::PathStyle style = platform::PathStyle::Windows;
  std::vector<std::string> args;
  bool exited = false;
  unsigned exitCode = 0;

  StartupRig() {
    system.executablePath = "C:\\Users\\u\\Downloads\\OstrelSetup.web.exe";
    shellFolders.folders[platform::CSIDL_APPDATA] = "C:\\Users\\u\\AppData\\Roaming";
    shellFolders.folders[platform::CSIDL_DESKTOP] = "C:\\Users\\u\\Desktop";
    drives.drives = {{"C:\\", platform::DriveType::dtFixed}, {"D:\\", platform::DriveType::dtFixed}};
  }

  std::optional<SetupMode> Run() {
    const StartupContext context{state,
                                 registry,
                                 drives,
                                 shellFolders,
                                 system,
                                 window,
                                 tasks,
                                 actions,
                                 [this](std::string_view name) -> std::optional<std::span<const std::byte>> {
                                   if (name != "ver" || !versionResource) return std::nullopt;
                                   return std::as_bytes(std::span(versionResource->data(), versionResource->size()));
                                 },
                                 args,
                                 style};
    try {
      return RunStartup(context);
    } catch (const ProcessExit& e) {
      exited = true;
      exitCode = e.code;
      return std::nullopt;
    }
  }
};

}  // namespace ostrel::setup::testing
