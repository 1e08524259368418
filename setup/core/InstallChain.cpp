#include "setup/core/InstallChain.h"

#include <algorithm>
#include <exception>
#include <functional>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "setup/core/Diagnostics.h"
#include "setup/core/Runner.h"
#include "setup/core/StagedCopy.h"
#include "setup/core/Startup.h"
#include "setup/core/Uninstall.h"
#include "setup/platform/ResourceBundle.h"
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

bool HasQuote(std::string_view text) { return text.find('"') != std::string_view::npos; }

std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  quoted += text;
  quoted += '"';
  return quoted;
}

// On Windows the child splits the line itself, and a double quote inside a
// path would end its quoting early; on POSIX the words go as they are.
std::optional<ChildCommand> CommandOf(std::vector<std::string> words, std::string line, PathStyle style) {
  if (platform::Resolve(style) == PathStyle::Windows &&
      std::any_of(words.begin(), words.end(), [](const std::string& word) { return HasQuote(word); })) {
    return std::nullopt;
  }
  return ChildCommand{std::move(line), std::move(words)};
}

}  // namespace

std::string_view PublisherAddress() { return OSTREL_PUBLISHER_URL; }

std::optional<ChildCommand> ExtractorCommand(const std::string& extractor, const std::string& archive,
                                             const std::string& target, PathStyle style,
                                             std::optional<std::uint64_t> archiveOffset) {
  const std::string password = "-p" + std::string(kArchivePassword);
  std::vector<std::string> words{extractor, "x"};
  std::string line = Quoted(extractor) + " x ";
  if (archiveOffset) {
    words.push_back("-t7z:s" + std::to_string(*archiveOffset) + "b");
    line += words.back() + " ";
  }
  words.insert(words.end(), {password, "-aoa", archive, "-o" + target});
  return CommandOf(std::move(words), line + password + " -aoa " + Quoted(archive) + " -o" + Quoted(target), style);
}

std::optional<ChildCommand> OldUninstallerCommand(const std::string& uninstaller, PathStyle style) {
  if (platform::FolderPart(uninstaller, style).empty()) return std::nullopt;
  return CommandOf({uninstaller, "update"}, Quoted(uninstaller) + " update", style);
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
  // The report loads its libraries once the chain's own threads run (when a
  // child starts, or the chain stops): while they load no thread can be
  // created, and the install's next one used to wait for the rest of it.
  report_ = c_.startReport(kind, reportMayStart_.get_future().share());
  c_.tasks.Post([this] { Guarded(&InstallChain::PrepareUpdate); });
}

void InstallChain::PrepareUpdate() {
  const std::string uninstaller = c_.state.InstallPath();
  if (!uninstaller.empty()) {
    const std::string folder(platform::FolderPart(uninstaller, c_.style));
    if (folder.empty()) {
      Stop("the registered uninstaller names no folder");
      return;
    }
    if (const auto command = OldUninstallerCommand(uninstaller, c_.style)) {
      c_.runChild(*command, folder, kOldUninstallerTimeLimit, [this] { LetReportStart(); });
    }
    KeepRegistered(uninstaller);
    c_.state.SetInstallPath(folder);
  }
  c_.tasks.CallOnUiThread([this] { Guarded(&InstallChain::ResolveTarget); });
}

void InstallChain::ResolveTarget() {
  if (c_.state.InstallPath().empty() && c_.window.DriveItemCount() > 0) {
    if (const auto item = c_.window.SelectedDriveItem()) {
      c_.state.SetInstallPath(*item + platform::Separator(c_.style));
    }
  }
  if (c_.state.InstallPath().empty()) {
    Stop("no folder to install into was found");
    return;
  }
  c_.tasks.Post([this] { Guarded(&InstallChain::InstallPayload); });
}

void InstallChain::InstallPayload() {
  const std::string target = c_.state.InstallPath();
  // The first reason the installation did not succeed.
  std::optional<std::string> problem;

  // Held in memory where the system allows, the extractor reaches no disk
  // and no folder, and neither a noexec nor an unusable temporary folder
  // matters. The archive is read where it lies in the program file, or else
  // held in memory too: each copy spends much of its time in the kernel, so
  // side by side they take about as long as the archive alone.
  std::unique_ptr<platform::InMemoryFile> heldExtractor;
  const auto holdExtractor = [this, &heldExtractor] {
    heldExtractor = c_.openInMemory("7za");
    // What runs of this program that were killed left behind goes now.
    c_.temporary.RemoveLeftovers();
    c_.fallbackFolder.RemoveLeftovers();
  };
  std::optional<platform::FilePlace> archiveInPlace = c_.placeInProgram ? c_.placeInProgram("pak") : std::nullopt;
  std::unique_ptr<platform::InMemoryFile> heldArchive;
  if (archiveInPlace) {
    holdExtractor();
  } else {
    SideBySide(holdExtractor, [this, &heldArchive] { heldArchive = c_.openInMemory("pak"); });
  }
  ArchiveSource archive;
  std::string archiveFile;
  if (archiveInPlace) {
    archive = {std::move(archiveInPlace->path), archiveInPlace->offset};
  } else if (heldArchive) {
    archive.path = heldArchive->Path();
  } else {
    const auto file = CreateArchiveFile();
    if (!file) {
      Stop("no temporary folder can hold the payload");
      return;
    }
    archive.path = archiveFile = *file;
    // A failure shows in the extraction.
    c_.saveResource("pak", archiveFile, platform::SaveOptions{});
  }
  if (!c_.files.directoryExists(target)) c_.files.forceDirectories(target);
  // Links planted in the install folder in the place of the product's
  // folders would have the payload written elsewhere, out of the
  // uninstaller's reach.
  c_.files.removeFolderLinksBelow(target, kProductFolders);

  // The extractor leaves a processor idle: the uninstaller is copied beside
  // its place meanwhile and only moved in by the block after extraction. That
  // copy and the report start once the extractor runs, not before: started
  // first, they held up the extractor's own start, which everything waits for.
  std::unique_ptr<StagedCopy> uninstallerCopy;
  const auto startAlongside = [this, &target, &uninstallerCopy] {
    if (uninstallerCopy) return;
    uninstallerCopy = std::make_unique<StagedCopy>([this, &target] { return c_.stageUninstaller(target); });
    LetReportStart();
  };
  std::string extractorFile;
  const std::optional<ChildEnd> extraction =
      Extract(heldExtractor.get(), archive, target, extractorFile, startAlongside);
  startAlongside();
  if (!extraction) {
    problem = "the extractor could not be run";
  } else if (extraction->exitCode != 0) {
    problem = "the extractor ended with code " + std::to_string(extraction->exitCode);
  }
  heldExtractor.reset();
  heldArchive.reset();

  if (!ReplaceUninstaller(extractorFile, archiveFile, target, std::move(uninstallerCopy)) && !problem) {
    problem = "the uninstaller could not be written to " + target + platform::UninstallerFileName(c_.style);
  }

  const std::string product = target + platform::ExecutableName(kProductName, c_.style);
  if (!CreateShortcuts(product, target)) {
    Stop("the shortcuts could not be made", problem);
    return;
  }
  if (!WriteUninstallEntry(target)) {
    Stop("the uninstall entry could not be written", problem);
    return;
  }
  // What was written lets the user remove a partial installation; a product
  // that was not installed whole is not started.
  if (problem) {
    EndUnsuccessful(*problem);
    return;
  }
  c_.openWithShell(product);
  c_.system.ExitProcess(0);
}

// From memory first, then from a file in the temporary folder, then from one
// in the fallback folder: the first place it starts from runs it. Nothing
// when it started nowhere. extractorFile names the file it ran from, for the
// block to remove; `started` runs once the extractor does.
std::optional<ChildEnd> InstallChain::Extract(const platform::InMemoryFile* heldExtractor, const ArchiveSource& archive,
                                              const std::string& target, std::string& extractorFile,
                                              const std::function<void()>& started) {
  if (heldExtractor != nullptr) {
    if (const auto command = ExtractorCommand(heldExtractor->Path(), archive.path, target, c_.style, archive.offset)) {
      // In memory it has no folder of its own to work in.
      const ChildEnd end = c_.runChild(*command, std::string(), 0, started);
      if (end.started) return end;
    }
  }
  for (platform::ITemporaryFolder* folder : {&c_.temporary, &c_.fallbackFolder}) {
    const auto path = folder->Path();
    if (!path) continue;
    const std::string extractor = *path + platform::ExecutableName("7za", c_.style);
    const auto command = ExtractorCommand(extractor, archive.path, target, c_.style, archive.offset);
    if (!command) return std::nullopt;
    if (!c_.saveResource("7za", extractor, platform::SaveOptions{.createNew = false, .executable = true})) continue;
    const ChildEnd end = c_.runChild(*command, *path, 0, started);
    if (end.started) {
      extractorFile = extractor;
      return end;
    }
    // A folder that holds a program but will not run it (noexec).
    c_.files.removeFile(extractor);
  }
  return std::nullopt;
}

std::optional<std::string> InstallChain::CreateArchiveFile() {
  if (auto file = c_.temporary.CreateUniqueFile("tmp")) return file;
  c_.temporary.Release();
  return c_.fallbackFolder.CreateUniqueFile("tmp");
}

// One block: the first step that fails skips the rest of it. The staged copy
// is dropped wherever the block ends without it. True when the uninstaller is
// in place afterwards.
bool InstallChain::ReplaceUninstaller(const std::string& extractorFile, const std::string& archiveFile,
                                      const std::string& target, std::unique_ptr<StagedCopy> copy) {
  if (c_.files.fileExists(extractorFile) && !c_.files.removeFile(extractorFile)) return false;
  if (c_.files.fileExists(archiveFile) && !c_.files.removeFile(archiveFile)) return false;
  c_.temporary.Release();
  c_.fallbackFolder.Release();
  const std::string uninstaller = target + platform::UninstallerFileName(c_.style);
  if (c_.files.fileExists(uninstaller) && !c_.files.removeFile(uninstaller)) return false;
  if (copy->MoveTo(uninstaller)) return true;
  // The copy beside the extraction failed; one more try, here and now.
  const std::unique_ptr<platform::PendingFile> again = c_.stageUninstaller(target);
  return again != nullptr && again->Publish(uninstaller);
}

// The old uninstaller has just removed the entry. Until the new one is
// written the folder is registered again, so a run that dies meanwhile (a
// crash, a power cut) does not make the next run forget the installation and
// install somewhere else. An entry whose uninstaller is missing still means
// an installation.
void InstallChain::KeepRegistered(const std::string& uninstaller) {
  const auto key = c_.registry.OpenKey(kUninstallKey, platform::RegistryAccess::All);
  if (key && !key->ReadString("UninstallString") && key->WriteString("UninstallString", uninstaller)) key->Flush();
}

bool InstallChain::CreateShortcuts(const std::string& product, const std::string& target) {
  const std::unique_ptr<platform::IShellLink> link = c_.createShellLink ? c_.createShellLink() : nullptr;
  if (!link) return false;
  link->SetPath(product);
  link->SetWorkingDirectory(target);

  const std::string fileName = std::string(kProductName) + std::string(platform::ShortcutSuffix(c_.style));
  const std::string desktop = c_.folders.GetSpecialFolder(platform::CSIDL_DESKTOP);
  const std::string desktopShortcut = desktop + platform::Separator(c_.style) + fileName;
  if (!desktop.empty() && !c_.files.fileExists(desktopShortcut)) link->Save(desktopShortcut);

  // The menu entry also offers the uninstall, which on POSIX the user would
  // find nowhere else (Windows lists the uninstall entry itself). The start-
  // menu folder always exists on Windows; a fresh POSIX account may not have
  // its applications folder yet.
  link->AddAction(kUninstallActionId, kUninstallActionName, target + platform::UninstallerFileName(c_.style));
  const std::string startMenu = c_.folders.StartMenuProgramsFolder();
  const std::string startMenuShortcut = startMenu + platform::Separator(c_.style) + fileName;
  if (!c_.folders.HomeFolder().empty() && !c_.files.fileExists(startMenuShortcut)) {
    c_.files.forceDirectories(startMenu);
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
  return key->Flush();
}

// A step must not throw into the pool or the event loop; one that fails this
// way stops the chain like any other failure.
void InstallChain::Guarded(void (InstallChain::*step)()) {
  try {
    (this->*step)();
  } catch (const std::exception& error) {
    Stop(std::string("a step failed (") + error.what() + ")");
  }
}

void InstallChain::LetReportStart() {
  std::call_once(reportStarted_, [this] { reportMayStart_.set_value(); });
}

// The chain cannot go on. An unattended run ends, saying why. An interactive
// one ends too when an earlier problem is worth telling; otherwise its window
// stays in the working state, as it always has, until the user closes it.
void InstallChain::Stop(std::string_view reason, const std::optional<std::string>& earlierProblem) {
  LetReportStart();
  if (earlierProblem || c_.silent) EndUnsuccessful(earlierProblem.value_or(std::string(reason)));
}

void InstallChain::EndUnsuccessful(std::string_view reason) {
  LetReportStart();
  const std::string text = "Ostrel could not be installed: " + std::string(reason) + ".";
  WriteDiagnostic(text);
  if (!c_.silent) c_.tasks.CallOnUiThread([this, &text] { c_.window.ShowFailure(text); });
  // The report the click started still goes, where it can.
  if (report_.valid()) report_.wait_for(kReportGrace);
  c_.system.ExitProcess(kUnsuccessfulExitCode);
}

InstallContext NativeInstallContext(SetupState& state, ISetupWindow& window, ITaskRunner& tasks,
                                    platform::IRegistry& registry, const SpecialFolders& folders,
                                    platform::ISystem& system, platform::ITemporaryFolder& temporary,
                                    platform::ITemporaryFolder& fallbackFolder,
                                    const platform::ExecutableResources* resources, bool silent) {
  return InstallContext{
      state,
      window,
      tasks,
      registry,
      folders,
      system,
      temporary,
      fallbackFolder,
      [resources](std::string_view name, const std::string& path, platform::SaveOptions options) {
        return resources != nullptr && resources->SaveToFile(name, path, options);
      },
      [resources](std::string_view name) -> std::unique_ptr<platform::InMemoryFile> {
        if (resources == nullptr) return nullptr;
        // The archive carries the checksum of every file in it, which the
        // extractor checks as it goes (and decryption checks the rest): a
        // second pass over hundreds of megabytes here would only repeat it.
        // The extractor is a program about to run, and is checked first.
        const bool archive = platform::ResourceNamesEqual(name, "pak");
        return resources->OpenInMemory(name, archive ? platform::ResourceCheck::ItsOwnReader
                                                     : platform::ResourceCheck::Checksum);
      },
      [resources](std::string_view name) -> std::optional<platform::FilePlace> {
        // The extractor reads the archive where it lies and checks it as it
        // goes, as it would a copy; nothing of it is copied first.
        if (resources == nullptr) return std::nullopt;
        return resources->PlaceInFile(name);
      },
      [resources](const std::string& folder) -> std::unique_ptr<platform::PendingFile> {
        return resources != nullptr ? resources->StageProgramCopy(folder, kUninstallerResources) : nullptr;
      },
      [](const ChildCommand& command, const std::string& workingFolder, std::int32_t timeLimitSeconds,
         const std::function<void()>& started) { return RunChild(command, workingFolder, timeLimitSeconds, started); },
      [] { return platform::CreateShellLink(); },
      [](const std::string& path) { platform::ShellOpen(path); },
      [&tasks](ReportKind kind, std::shared_future<void> start) { return StartReport(tasks, kind, std::move(start)); },
      silent,
      platform::PathStyle::Native,
      InstallFiles{},
  };
}

}  // namespace ostrel::setup
