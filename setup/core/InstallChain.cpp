#include "setup/core/InstallChain.h"

#include <exception>
#include <functional>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "setup/core/Runner.h"
#include "setup/core/StagedCopy.h"
#include "setup/core/Startup.h"
#include "setup/core/Uninstall.h"
#include "setup/platform/CommandLine.h"
#include "setup/platform/FileSystem.h"
#include "setup/platform/ShellOpen.h"

namespace ostrel::setup {

// The old uninstaller must get through its asks and its stop by name before
// an update ends it, or the old product would keep running.
static_assert(kQuitAndStopBudget + std::chrono::seconds(5) <= std::chrono::seconds(kOldUninstallerTimeLimit));

namespace {

// Runs `side` on a thread of its own while `main` runs here, or after it when
// no thread can be had; returns once both are done.
void SideBySide(const std::function<void()>& side, const std::function<void()>& main) {
  std::jthread other;
  try {
    other = std::jthread(side);
  } catch (const std::system_error&) {
    side();
  }
  main();
}

using platform::PathStyle;

// Whether the runner would hand the child exactly `words` for `commandLine`.
// Where the platform takes the line whole (Windows) the child splits it
// itself; a path free of double quotes is then all that can be asked for.
bool SpellsExactly(const std::string& commandLine, const std::vector<std::string>& words, PathStyle style) {
  if (platform::Resolve(style) == PathStyle::Windows) return true;
  return platform::SplitWindowsCommandLine(commandLine) == words;
}

bool HasQuote(std::string_view text) { return text.find('"') != std::string_view::npos; }

// A pool task must not throw into the pool; a step that fails this way
// leaves the window working, as any other stop of the chain does.
template <typename Step>
void Guarded(Step step) {
  try {
    step();
  } catch (const std::exception&) {
  }
}

std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  quoted += text;
  quoted += '"';
  return quoted;
}

}  // namespace

std::string_view PublisherAddress() { return OSTREL_PUBLISHER_URL; }

std::optional<std::string> ExtractorCommandLine(const std::string& extractor, const std::string& archive,
                                                const std::string& target, PathStyle style) {
  if (HasQuote(extractor) || HasQuote(archive) || HasQuote(target)) return std::nullopt;
  const std::string password = "-p" + std::string(kArchivePassword);
  const std::string commandLine =
      Quoted(extractor) + " x " + password + " -aoa " + Quoted(archive) + " -o" + Quoted(target);
  if (!SpellsExactly(commandLine, {extractor, "x", password, "-aoa", archive, "-o" + target}, style)) {
    return std::nullopt;
  }
  return commandLine;
}

std::optional<std::string> OldUninstallerCommandLine(const std::string& uninstaller, PathStyle style) {
  if (HasQuote(uninstaller) || platform::FolderPart(uninstaller, style).empty()) return std::nullopt;
  const std::string commandLine = Quoted(uninstaller) + " update";
  if (!SpellsExactly(commandLine, {uninstaller, "update"}, style)) return std::nullopt;
  return commandLine;
}

std::vector<EntryValue> UninstallEntryValues(const std::string& installPath, const std::string& versionText,
                                             PathStyle style) {
  return {
      {"DisplayIcon", installPath + platform::ExecutableName(kProductName, style)},
      {"DisplayName", std::string(kProductName)},
      {"DisplayVersion", versionText},
      {"Publisher", std::string(PublisherAddress())},
      {"UninstallString", installPath + platform::UninstallerFileName(style)},
  };
}

InstallChain::InstallChain(InstallContext context) : c_(std::move(context)) {}

void InstallChain::InstallButtonClick() {
  c_.window.DisableInputs();
  c_.window.StartOperateAni();
  // Until this press nothing but start-up has written InstallPath, so it still
  // tells the mode start-up fixed; the chain rewrites it only later.
  const ReportKind kind = c_.state.InstallPath().empty() ? ReportKind::Install : ReportKind::Update;
  c_.startReport(kind);
  c_.tasks.Post([this] { Guarded([this] { PrepareUpdate(); }); });
}

void InstallChain::PrepareUpdate() {
  const std::string uninstaller = c_.state.InstallPath();
  if (!uninstaller.empty()) {
    const std::string folder(platform::FolderPart(uninstaller, c_.style));
    if (const auto commandLine = OldUninstallerCommandLine(uninstaller, c_.style)) {
      c_.runCaptured(*commandLine, folder, true, kOldUninstallerTimeLimit);
    }
    c_.state.SetInstallPath(folder);
  }
  c_.tasks.CallOnUiThread([this] { Guarded([this] { ResolveTarget(); }); });
}

void InstallChain::ResolveTarget() {
  if (c_.state.InstallPath().empty() && c_.window.DriveItemCount() > 0) {
    if (const auto item = c_.window.SelectedDriveItem()) {
      c_.state.SetInstallPath(*item + platform::Separator(c_.style));
    }
  }
  if (!c_.state.InstallPath().empty()) c_.tasks.Post([this] { Guarded([this] { InstallPayload(); }); });
}

void InstallChain::InstallPayload() {
  const std::string target = c_.state.InstallPath();

  const auto temporaryFolder = c_.temporary.Path();
  if (!temporaryFolder) return;
  const std::string extractor = *temporaryFolder + platform::ExecutableName("7za", c_.style);
  const auto archive = c_.temporary.CreateUniqueFile("tmp");
  if (!archive) {
    c_.temporary.Release();
    return;
  }

  // Neither save needs the other, and each spends much of its time in the
  // kernel: side by side they take about as long as the archive alone.
  SideBySide([this, &extractor] {
    c_.saveResource("7za", extractor, platform::SaveOptions{.createNew = false, .executable = true});
  }, [this, &archive] { c_.saveResource("pak", *archive, platform::SaveOptions{}); });
  if (!platform::DirectoryExists(target)) platform::ForceDirectories(target);

  // The extractor leaves a processor idle: the uninstaller is copied beside
  // its place meanwhile and only moved in by the block after extraction.
  auto uninstallerCopy = std::make_unique<StagedCopy>(
      c_.system.ExecutablePath(), target + platform::UninstallerFileName(c_.style) + std::string(kStagingSuffix));
  if (const auto commandLine = ExtractorCommandLine(extractor, *archive, target, c_.style)) {
    c_.runCaptured(*commandLine, *temporaryFolder, true, 0);
  }

  ReplaceUninstaller(extractor, *archive, target, std::move(uninstallerCopy));

  const std::string product = target + platform::ExecutableName(kProductName, c_.style);
  if (!CreateShortcuts(product, target)) return;
  if (!WriteUninstallEntry(target)) return;
  c_.openWithShell(product);
  c_.system.ExitProcess(0);
}

// One block: the first step that fails skips the rest of it.
// The staged copy is dropped wherever the block ends without it.
void InstallChain::ReplaceUninstaller(const std::string& extractor, const std::string& archive,
                                      const std::string& target, std::unique_ptr<StagedCopy> copy) {
  if (platform::FileExists(extractor) && !platform::RemoveFile(extractor)) return;
  if (platform::FileExists(archive) && !platform::RemoveFile(archive)) return;
  c_.temporary.Release();
  const std::string uninstaller = target + platform::UninstallerFileName(c_.style);
  if (platform::FileExists(uninstaller) && !platform::RemoveFile(uninstaller)) return;
  if (!copy->MoveTo(uninstaller)) platform::CopyFileTo(c_.system.ExecutablePath(), uninstaller, true);
}

bool InstallChain::CreateShortcuts(const std::string& product, const std::string& target) {
  const std::unique_ptr<platform::IShellLink> link = c_.createShellLink ? c_.createShellLink() : nullptr;
  if (!link) return false;
  link->SetPath(product);
  link->SetWorkingDirectory(target);

  const std::string fileName = std::string(kProductName) + std::string(platform::ShortcutSuffix(c_.style));
  const std::string desktop = c_.folders.GetSpecialFolder(platform::CSIDL_DESKTOP);
  const std::string desktopShortcut = desktop + platform::Separator(c_.style) + fileName;
  if (!desktop.empty() && !platform::FileExists(desktopShortcut)) link->Save(desktopShortcut);

  // The start-menu folder always exists on Windows; a fresh POSIX account
  // may not have its applications folder yet.
  const std::string startMenu = c_.folders.StartMenuProgramsFolder();
  const std::string startMenuShortcut = startMenu + platform::Separator(c_.style) + fileName;
  if (!c_.folders.HomeFolder().empty() && !platform::FileExists(startMenuShortcut)) {
    platform::ForceDirectories(startMenu);
    link->Save(startMenuShortcut);
  }
  return true;
}

bool InstallChain::WriteUninstallEntry(const std::string& target) {
  const auto key = c_.registry.OpenKey(kUninstallKey, platform::RegistryAccess::All);
  if (!key) return false;
  for (const EntryValue& entry : UninstallEntryValues(target, c_.state.VersionText(), c_.style)) {
    if (!key->WriteString(entry.name, entry.value)) return false;
  }
  return true;
}

InstallContext NativeInstallContext(SetupState& state, ISetupWindow& window, ITaskRunner& tasks,
                                    platform::IRegistry& registry, const SpecialFolders& folders,
                                    platform::ISystem& system, platform::ITemporaryFolder& temporary,
                                    const platform::ExecutableResources* resources) {
  return InstallContext{
      state,
      window,
      tasks,
      registry,
      folders,
      system,
      temporary,
      [resources](std::string_view name, const std::string& path, platform::SaveOptions options) {
        return resources != nullptr && resources->SaveToFile(name, path, options);
      },
      [](const std::string& commandLine, const std::string& workingFolder, bool utf8Output,
         std::int32_t timeLimitSeconds) {
        std::uint32_t exitCode = 0;
        std::string output;
        RunCaptured(commandLine, exitCode, workingFolder, utf8Output, timeLimitSeconds, output);
      },
      [] { return platform::CreateShellLink(); },
      [](const std::string& path) { platform::ShellOpen(path); },
      [&tasks](ReportKind kind) { StartReport(tasks, kind); },
      platform::PathStyle::Native,
  };
}

}  // namespace ostrel::setup
