#pragma once
// The Install action and the install chain it starts: PrepareUpdate (pool)
// runs the old uninstaller when updating, ResolveTarget (UI thread) fixes the
// target folder, InstallPayload (pool) extracts the payload, leaves the
// uninstaller, shortcuts and uninstall entry behind, starts the product and
// ends the process. A failure skips that step, or stops the chain where
// stopping is the only safe outcome; a run whose extraction or uninstaller
// copy failed still leaves the entry and the uninstaller for cleaning up, but
// then ends with kUnsuccessfulExitCode and says why instead of starting the
// product.

#include <chrono>
#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "setup/core/Folders.h"
#include "setup/core/Report.h"
#include "setup/core/Runner.h"
#include "setup/core/SetupState.h"
#include "setup/core/StagedCopy.h"
#include "setup/core/TaskRunner.h"
#include "setup/core/WindowInterface.h"
#include "setup/platform/ExecutableResources.h"
#include "setup/platform/FileSystem.h"
#include "setup/platform/PathStyle.h"
#include "setup/platform/Registry.h"
#include "setup/platform/Removal.h"
#include "setup/platform/ShellLink.h"
#include "setup/platform/System.h"
#include "setup/platform/TemporaryFolder.h"

namespace ostrel::setup {

inline constexpr std::string_view kArchivePassword = "Zq4vTe";

// The menu entry's action that runs the uninstaller.
inline constexpr std::string_view kUninstallActionId = "Uninstall";
inline constexpr std::string_view kUninstallActionName = "Uninstall Ostrel";

// The resources the uninstaller role reads, which its copy carries: the
// version text and the window module (for its question).
inline constexpr std::string_view kUninstallerResources[] = {"ver", "gui"};

// How long the old uninstaller may run before it is ended.
inline constexpr std::int32_t kOldUninstallerTimeLimit = 15;

// The maker's web address, shown as the entry's publisher.
std::string_view PublisherAddress();

// How a run that did not succeed ends, after its one line of why.
inline constexpr unsigned kUnsuccessfulExitCode = 1;

// How long a run that did not succeed gives the report the click started to
// get through before the process ends.
inline constexpr std::chrono::seconds kReportGrace{5};

// The extractor's command: "<extractor>" x -p<password> -aoa "<archive>"
// -o"<target>". With an offset, the archive is the 7z archive that starts
// there inside the file, which the extractor finds by searching the file from
// its start up to that offset (-t7z:s<offset>b, after x). On Windows, where
// the child splits that line itself, a double quote inside a path would end
// its quoting early and let the rest of the path become words or switches of
// their own: nothing then. On POSIX the words go as they are, so every path
// is fine.
std::optional<ChildCommand> ExtractorCommand(const std::string& extractor, const std::string& archive,
                                             const std::string& target, platform::PathStyle style,
                                             std::optional<std::uint64_t> archiveOffset = std::nullopt);

// "<uninstaller>" update, under the same rule; also nothing for a bare name,
// which the runner would look up on the search path.
std::optional<ChildCommand> OldUninstallerCommand(const std::string& uninstaller, platform::PathStyle style);

// The uninstall entry's values in the order they are written.
struct EntryValue {
  std::string name;
  std::string value;
};
std::vector<EntryValue> UninstallEntryValues(const std::string& installPath, const std::string& versionText,
                                             platform::PathStyle style);

// The file-system calls the chain makes itself (setup/platform/FileSystem.h,
// Removal.h), as values: a test can run the chain with another system's path
// style on a file system of its own and see what it would write there.
struct InstallFiles {
  using PathCall = std::function<bool(const std::string& path)>;
  PathCall fileExists = platform::FileExists;
  PathCall directoryExists = platform::DirectoryExists;
  PathCall forceDirectories = platform::ForceDirectories;
  PathCall removeFile = platform::RemoveFile;
  std::function<bool(const std::string& base, std::span<const std::string_view> names)> removeFolderLinksBelow =
      platform::RemoveFolderLinksBelow;
};

// What the chain reaches outside itself. The objects must outlive every task
// the chain starts, which in the program means: until the process ends.
struct InstallContext {
  SetupState& state;
  ISetupWindow& window;
  ITaskRunner& tasks;
  platform::IRegistry& registry;
  const SpecialFolders& folders;
  platform::ISystem& system;
  // The run's private temporary folder, and the one for what that folder
  // cannot hold or run.
  platform::ITemporaryFolder& temporary;
  platform::ITemporaryFolder& fallbackFolder;
  // Writes one of the program's resources to a file.
  std::function<bool(std::string_view name, const std::string& path, platform::SaveOptions options)> saveResource;
  // One of the program's resources as an in-memory file; nothing where that
  // cannot be had.
  std::function<std::unique_ptr<platform::InMemoryFile>(std::string_view name)> openInMemory;
  // Where one of the program's resources lies inside the program file, for an
  // extractor that reads the archive there; nothing where it cannot.
  std::function<std::optional<platform::FilePlace>(std::string_view name)> placeInProgram;
  // The uninstaller's copy (this program with kUninstallerResources only) as
  // a pending file in the folder.
  std::function<std::unique_ptr<platform::PendingFile>(const std::string& folder)> stageUninstaller;
  // RunChild: a hidden child, its output dropped; `started` runs once the
  // child does.
  std::function<ChildEnd(const ChildCommand& command, const std::string& workingFolder, std::int32_t timeLimitSeconds,
                         const std::function<void()>& started)>
      runChild;
  std::function<std::unique_ptr<platform::IShellLink>()> createShellLink;
  std::function<void(const std::string& path)> openWithShell;
  // Starts the report of this kind in the background, to begin once `start`
  // is ready; ready once it is done.
  std::function<std::shared_future<void>(ReportKind kind, std::shared_future<void> start)> startReport;
  // Started with "silent": nobody may be there to close a waiting window, so
  // a run that cannot go on ends, and says why on standard error.
  bool silent = false;
  platform::PathStyle style = platform::PathStyle::Native;
  InstallFiles files;
};

class InstallChain {
 public:
  explicit InstallChain(InstallContext context);

  // UI thread: the press of InstallButton, and the "silent" start.
  void InstallButtonClick();

  // Pool thread: runs the old uninstaller in update mode, then hands over to
  // ResolveTarget on the UI thread and waits for it.
  void PrepareUpdate();

  // UI thread: the target from the selected drive item, then InstallPayload.
  void ResolveTarget();

  // Pool thread: the installation proper; ends the process when it gets
  // through.
  void InstallPayload();

 private:
  struct ArchiveSource {
    std::string path;
    std::optional<std::uint64_t> offset;
  };
  std::optional<ChildEnd> Extract(const platform::InMemoryFile* heldExtractor, const ArchiveSource& archive,
                                  const std::string& target, std::string& extractorFile,
                                  const std::function<void()>& started);
  std::optional<std::string> CreateArchiveFile();
  bool ReplaceUninstaller(const std::string& extractorFile, const std::string& archiveFile, const std::string& target,
                          std::unique_ptr<StagedCopy> copy);
  void KeepRegistered(const std::string& uninstaller);
  bool CreateShortcuts(const std::string& product, const std::string& target);
  bool WriteUninstallEntry(const std::string& target);
  void Guarded(void (InstallChain::*step)());
  // Lets the report begin: see InstallButtonClick.
  void LetReportStart();
  // The chain cannot go on: see the definition.
  void Stop(std::string_view reason, const std::optional<std::string>& earlierProblem = std::nullopt);
  // Says why, waits a moment for the report, ends the process.
  void EndUnsuccessful(std::string_view reason);

  InstallContext c_;
  std::shared_future<void> report_;
  std::promise<void> reportMayStart_;
  std::once_flag reportStarted_;
};

// The context with the platform's own resources, child processes, shortcuts,
// shell and report.
InstallContext NativeInstallContext(SetupState& state, ISetupWindow& window, ITaskRunner& tasks,
                                    platform::IRegistry& registry, const SpecialFolders& folders,
                                    platform::ISystem& system, platform::ITemporaryFolder& temporary,
                                    platform::ITemporaryFolder& fallbackFolder,
                                    const platform::ExecutableResources* resources, bool silent);

}  // namespace ostrel::setup
