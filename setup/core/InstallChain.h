#pragma once
// The Install action and the install chain it starts: PrepareUpdate (pool)
// runs the old uninstaller when updating, ResolveTarget (UI thread) fixes the
// target folder, InstallPayload (pool) extracts the payload, leaves the
// uninstaller, shortcuts and uninstall entry behind, starts the product and
// ends the process. No step reports an error: a failure skips that step, or
// stops the chain where stopping is the only safe outcome.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "setup/core/Folders.h"
#include "setup/core/Report.h"
#include "setup/core/SetupState.h"
#include "setup/core/StagedCopy.h"
#include "setup/core/TaskRunner.h"
#include "setup/core/WindowInterface.h"
#include "setup/platform/ExecutableResources.h"
#include "setup/platform/PathStyle.h"
#include "setup/platform/Registry.h"
#include "setup/platform/ShellLink.h"
#include "setup/platform/System.h"
#include "setup/platform/TemporaryFolder.h"

namespace ostrel::setup {

inline constexpr std::string_view kArchivePassword = "Zq4vTe";

// Appended to the uninstaller's name for its copy while that is being made.
inline constexpr std::string_view kStagingSuffix = ".new";

// How long the old uninstaller may run before it is ended.
inline constexpr std::int32_t kOldUninstallerTimeLimit = 15;

// The maker's web address, shown as the entry's publisher.
std::string_view PublisherAddress();

// The extractor's command line: "<extractor>" x -p<password> -aoa
// "<archive>" -o"<target>". Nothing when a path cannot be spelled there so
// that the child gets exactly these words: the line is split by the Windows
// rules, where a double quote inside a path would end its quoting early and
// let the rest of the path become words or switches of their own.
std::optional<std::string> ExtractorCommandLine(const std::string& extractor, const std::string& archive,
                                                const std::string& target, platform::PathStyle style);

// "<uninstaller>" update, under the same rule; also nothing for a bare name,
// which the runner would look up on the search path.
std::optional<std::string> OldUninstallerCommandLine(const std::string& uninstaller, platform::PathStyle style);

// The uninstall entry's values in the order they are written.
struct EntryValue {
  std::string name;
  std::string value;
};
std::vector<EntryValue> UninstallEntryValues(const std::string& installPath, const std::string& versionText,
                                             platform::PathStyle style);

// What the chain reaches outside itself. The objects must outlive every task
// the chain starts, which in the program means: until the process ends.
struct InstallContext {
  SetupState& state;
  ISetupWindow& window;
  ITaskRunner& tasks;
  platform::IRegistry& registry;
  const SpecialFolders& folders;
  platform::ISystem& system;
  platform::ITemporaryFolder& temporary;
  // Writes one of the program's resources to a file.
  std::function<bool(std::string_view name, const std::string& path, platform::SaveOptions options)> saveResource;
  // RunCaptured with the output and exit code dropped.
  std::function<void(const std::string& commandLine, const std::string& workingFolder, bool utf8Output,
                     std::int32_t timeLimitSeconds)>
      runCaptured;
  std::function<std::unique_ptr<platform::IShellLink>()> createShellLink;
  std::function<void(const std::string& path)> openWithShell;
  // Starts the report of this kind in the background, not waited for.
  std::function<void(ReportKind kind)> startReport;
  platform::PathStyle style = platform::PathStyle::Native;
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
  void ReplaceUninstaller(const std::string& extractor, const std::string& archive, const std::string& target,
                          std::unique_ptr<StagedCopy> copy);
  bool CreateShortcuts(const std::string& product, const std::string& target);
  bool WriteUninstallEntry(const std::string& target);

  InstallContext c_;
};

// The context with the platform's own resources, child processes, shortcuts,
// shell and report.
InstallContext NativeInstallContext(SetupState& state, ISetupWindow& window, ITaskRunner& tasks,
                                    platform::IRegistry& registry, const SpecialFolders& folders,
                                    platform::ISystem& system, platform::ITemporaryFolder& temporary,
                                    const platform::ExecutableResources* resources);

}  // namespace ostrel::setup
