#include "setup/core/Startup.h"

#include <exception>

#include "setup/core/Diagnostics.h"
#include "setup/core/Utf8.h"

namespace ostrel::setup {

namespace {

using platform::PathStyle;
using platform::RegistryAccess;

constexpr std::string_view kSetupPrefix = "OstrelSetup";

std::optional<std::string> NewInstallId(platform::ISystem& system) {
  try {
    return GuidText(system.NewGuid());
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

void ReadVersion(const StartupContext& c) {
  c.state.SetVersionText(VersionTextFrom(c.findResource ? c.findResource("ver") : std::nullopt));
}

void RunUninstallRole(const StartupContext& c) {
  if (UninstallAsks(c.args) && !c.window.AskYesNo("Uninstall Ostrel?", kProductName)) c.system.ExitProcess(0);

  if (const auto key = c.registry.OpenKey(kProductKey, RegistryAccess::ReadOnly)) {
    if (auto id = key->ReadString("uuid")) c.state.SetInstallId(std::move(*id));
    if (auto tag = key->ReadString("fl")) c.state.SetChannelTag(std::move(*tag));
  }

  if (!ArgumentIs(c.args, 0, "update")) c.actions.StartUninstallReport();

  c.actions.RunUninstall();
  c.system.ExitProcess(0);
}

// The identity is closed, not flushed: every run would otherwise wait for
// the disk before it shows anything, and all a power cut right after the
// first run can cost is a fresh id, which the next run makes again.
void LoadOrCreateIdentity(const StartupContext& c, const std::string& channelTag) {
  const auto key = c.registry.OpenKey(kProductKey, RegistryAccess::All);
  if (!key) return;
  std::string id = key->ReadString("uuid").value_or(std::string());
  if (id.empty()) {
    if (auto created = NewInstallId(c.system)) {
      id = std::move(*created);
      key->WriteString("uuid", id);
    }
  }
  c.state.SetInstallId(std::move(id));
  if (!key->ReadString("fl")) key->WriteString("fl", channelTag);
}

SetupMode DetectMode(const StartupContext& c) {
  if (const auto key = c.registry.OpenKey(kUninstallKey, RegistryAccess::ReadOnly)) {
    if (auto uninstaller = key->ReadString("UninstallString")) {
      if (IsUninstallerPath(*uninstaller, c.style)) {
        c.state.SetInstallPath(std::move(*uninstaller));
      } else {
        WriteDiagnostic("the registered uninstaller \"" + ReplaceInvalidUtf8(*uninstaller) +
                        "\" is not an absolute path to " + platform::UninstallerFileName(c.style) +
                        "; installing anew.");
      }
    }
  }
  return c.state.InstallPath().empty() ? SetupMode::Install : SetupMode::Update;
}

void PrepareWindow(const StartupContext& c, SetupMode mode) {
  if (mode == SetupMode::Update) {
    c.window.SetCaption("Update Ostrel");
    c.window.SetInstallButtonCaption("Update Now");
    c.window.HideCustomInstall();
    for (const std::string_view name : kIntroAnimations) c.window.RestartAnimation(name, 0.0, 2.0);
    return;
  }
  c.window.SetCaption("Install Ostrel");
  const SpecialFolders folders(c.shellFolders, c.style);
  for (const std::string& target : DriveTargets(c.drives, folders.HomeFolder(), c.style)) {
    c.window.AddDriveItem(target);
  }
  if (c.window.DriveItemCount() > 0) c.window.SelectDriveItem(0);
}

SetupMode RunInstallRole(const StartupContext& c) {
  c.window.CreateOperateAni();

  // A POSIX file name may hold any bytes; the tag is stored and sent as text.
  const std::string channelTag = ReplaceInvalidUtf8(ChannelTagFromExecutable(c.system.ExecutablePath(), c.style));
  c.state.SetChannelTag(channelTag);

  LoadOrCreateIdentity(c, channelTag);
  const SetupMode mode = DetectMode(c);
  PrepareWindow(c, mode);

  if (ArgumentIs(c.args, 0, "silent")) {
    c.actions.Install();
    if (SetupRunsWindowless(c.args)) {
      ISetupWindow& window = c.window;
      ITaskRunner& tasks = c.tasks;
      tasks.StartThread([&window, &tasks] { tasks.CallOnUiThread([&window] { window.Hide(); }); });
    }
  }
  return mode;
}

}  // namespace

SetupRole RoleFromExecutable(std::string_view executablePath, PathStyle style) {
  const std::string_view name = platform::FileNamePart(executablePath, style);
  return platform::SameFileNameIgnoringCase(name, platform::UninstallerFileName(style)) ? SetupRole::Uninstall
                                                                                        : SetupRole::Install;
}

std::string ChannelTagFromExecutable(std::string_view executablePath, PathStyle style) {
  std::string_view name = platform::ProgramBaseName(executablePath, style);
  if (name.starts_with(kSetupPrefix)) {
    name.remove_prefix(kSetupPrefix.size());
    if (name.starts_with('.')) name.remove_prefix(1);
    return std::string(name);
  }
  if (name == "NewSetup") return {};
  return std::string(name);
}

bool IsUninstallerPath(std::string_view path, PathStyle style) {
  return platform::IsAbsolutePath(path, style) && RoleFromExecutable(path, style) == SetupRole::Uninstall;
}

bool ArgumentIs(const std::vector<std::string>& args, std::size_t index, std::string_view word) {
  return index < args.size() && args[index] == word;
}

bool UninstallAsks(const std::vector<std::string>& args) {
  return !ArgumentIs(args, 0, "update") && !ArgumentIs(args, 0, "silent");
}

bool SetupRunsWindowless(const std::vector<std::string>& args) {
  return ArgumentIs(args, 0, "silent") && ArgumentIs(args, 1, "nogui");
}

bool RunNeedsWindow(SetupRole role, const std::vector<std::string>& args) {
  return role == SetupRole::Uninstall ? UninstallAsks(args) : !SetupRunsWindowless(args);
}

std::string GuidText(const platform::GuidBytes& guid) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string text = "{";
  for (std::size_t i = 0; i < guid.size(); ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) text += '-';
    text += kHex[guid[i] >> 4];
    text += kHex[guid[i] & 15];
  }
  text += '}';
  return text;
}

std::string VersionTextFrom(std::optional<std::span<const std::byte>> resource) {
  if (!resource) return {};
  const std::string_view bytes(reinterpret_cast<const char*>(resource->data()), resource->size());
  return IsValidUtf8(bytes) ? std::string(bytes) : std::string();
}

std::vector<std::string> DriveTargets(const platform::IDrives& drives, std::string_view homeFolder, PathStyle style) {
  std::string preferred(homeFolder);
  preferred += platform::Separator(style);
  preferred += kProductName;

  std::vector<std::string> targets;
  for (const std::string& root : drives.LogicalDriveRoots()) {
    if (drives.GetDriveType(root) != platform::DriveType::dtFixed) continue;
    targets.push_back(
        platform::PathIsUnderRoot(preferred, root, style) ? preferred : platform::JoinPath(root, kProductName, style));
  }
  return targets;
}

SetupMode RunStartup(const StartupContext& c) {
  ReadVersion(c);
  if (RoleFromExecutable(c.system.ExecutablePath(), c.style) == SetupRole::Uninstall) RunUninstallRole(c);
  return RunInstallRole(c);
}

}  // namespace ostrel::setup
