#pragma once
// Start-up of the setup window (its creation handler): the version text, the
// role chosen by the program's file name and command line, the installation
// identity, update-mode detection and the window's preparation.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "setup/core/Folders.h"
#include "setup/core/SetupState.h"
#include "setup/core/TaskRunner.h"
#include "setup/core/WindowInterface.h"
#include "setup/platform/PathStyle.h"
#include "setup/platform/Services.h"

namespace ostrel::setup {

enum class SetupRole : std::uint8_t { Install, Uninstall };

// Fixed at start-up; only the install role has a mode.
enum class SetupMode : std::uint8_t { Install, Update };

inline constexpr std::string_view kProductName = "Ostrel";
inline constexpr std::string_view kProductKey = "Software\\Ostrel";
inline constexpr std::string_view kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Ostrel";

// The intro animations restarted in update mode, in the order they restart.
inline constexpr std::string_view kIntroAnimations[] = {"Ani1O", "Ani2X", "Ani2Y", "Ani1Y", "Ani3X",
                                                        "Ani3Y", "Ani3O", "Ani4O", "Ani4Y"};

// The uninstaller's file name (any letter case) selects the uninstall role.
SetupRole RoleFromExecutable(std::string_view executablePath, platform::PathStyle style);

// Whether a registered "UninstallString" may stand for an installation: an
// absolute path whose file name runs as the uninstaller. The file itself need
// not exist. Anything else would have the setup run an arbitrary program and
// install, and later uninstall, in its folder.
bool IsUninstallerPath(std::string_view path, platform::PathStyle style);

// The channel tag a setup's file name carries: "OstrelSetup.web.exe" → "web".
std::string ChannelTagFromExecutable(std::string_view executablePath, platform::PathStyle style);

// Whether the argument at index (0 = the first after the program) is exactly
// word; missing arguments match nothing.
bool ArgumentIs(const std::vector<std::string>& args, std::size_t index, std::string_view word);

// Whether the uninstall role asks "Uninstall Ostrel?" first: unless told
// "update" or "silent".
bool UninstallAsks(const std::vector<std::string>& args);

// Whether the setup runs without ever showing its window: "silent nogui".
bool SetupRunsWindowless(const std::vector<std::string>& args);

// Whether a run may show the setup window or its question, and so needs the
// window module, a GUI application and a display. Decided before anything
// else runs, from the same rules start-up then follows.
bool RunNeedsWindow(SetupRole role, const std::vector<std::string>& args);

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper case.
std::string GuidText(const platform::GuidBytes& guid);

// The version resource's bytes as text; empty when missing or not UTF-8.
std::string VersionTextFrom(std::optional<std::span<const std::byte>> resource);

// The install targets offered for the fixed drives, in the system's order:
// the preferred target (home folder + separator + "Ostrel") for the drive that
// holds it, the drive root + "Ostrel" for the others.
std::vector<std::string> DriveTargets(const platform::IDrives& drives, std::string_view homeFolder,
                                      platform::PathStyle style);

// The steps start-up hands over to other parts of the program.
class IRoleActions {
 public:
  virtual ~IRoleActions() = default;
  // Starts the uninstall report in the background, not waited for.
  virtual void StartUninstallReport() = 0;
  // The uninstall procedure; it ends the process.
  virtual void RunUninstall() = 0;
  // The Install action, exactly as a press of InstallButton runs it.
  virtual void Install() = 0;
};

using ResourceLookup = std::function<std::optional<std::span<const std::byte>>(std::string_view name)>;

struct StartupContext {
  SetupState& state;
  platform::IRegistry& registry;
  const platform::IDrives& drives;
  const platform::IShellFolders& shellFolders;
  platform::ISystem& system;
  ISetupWindow& window;
  ITaskRunner& tasks;
  IRoleActions& actions;
  ResourceLookup findResource;
  std::vector<std::string> args;  // the command line after the program
  platform::PathStyle style = platform::PathStyle::Native;
};

// Runs on the UI thread before the window is first shown. The uninstall role
// never returns: it ends the process. The install role returns the mode it
// fixed.
SetupMode RunStartup(const StartupContext& context);

}  // namespace ostrel::setup
