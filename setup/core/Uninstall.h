#pragma once
// The uninstall procedure: asks the running product to quit, stops what is
// left of it, removes its files, language packs, folders, shortcuts and
// uninstall entry, and has the uninstaller's own file removed. Only named
// items go: the install folder itself, other files in it and the identity key
// stay. Every step is guarded on its own.

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "setup/core/Folders.h"
#include "setup/platform/PathStyle.h"
#include "setup/platform/Registry.h"
#include "setup/platform/Removal.h"
#include "setup/platform/RunningProductSignal.h"
#include "setup/platform/Services.h"

namespace ostrel::setup {

// Most times the product is asked to quit, and the pause after each ask.
inline constexpr int kQuitTries = 50;
inline constexpr std::chrono::milliseconds kQuitPause{100};

// How long one ask waits for the product to handle the message (a plain send
// would wait for ever on a hung product; one that handles its messages answers
// in a few milliseconds). The bound is set by the whole procedure: an update
// gives the old uninstaller 15 seconds, and a product that takes every ask and
// answers none must still be stopped by name well inside them. 50 asks of
// 50 ms, each followed by its 100 ms pause, take 7.5 s; the stop commands
// and their two 500 ms pauses about 1.1 s more; that leaves the uninstaller's
// start, its removals and a busy machine over 6 s. A product that answers
// later than the bound costs one more ask, by which time it has gone.
inline constexpr std::chrono::milliseconds kQuitAnswerLimit{50};

// The pause after each round of stop commands.
inline constexpr std::chrono::milliseconds kStopPause{500};

// The most the asks and the stop rounds may take together, inside the old
// uninstaller's 15 seconds of an update.
inline constexpr std::chrono::milliseconds kQuitAndStopBudget{9000};
static_assert(kQuitTries * (kQuitAnswerLimit + kQuitPause) + 2 * kStopPause <= kQuitAndStopBudget);

// The product's folders in the install folder, which the payload brings and
// the uninstaller removes: "lang" when empty, "wizard" and "driver" whole.
inline constexpr std::string_view kProductFolders[] = {"lang", "wizard", "driver"};

// The programs stopped by name, in order.
inline constexpr std::string_view kProductProcesses[] = {"Ostrel", "osd"};

// The product's files in the order they are removed, with the platform's
// executable suffix where the product's programs carry one.
std::vector<std::string> ProductFileNames(platform::PathStyle style);

// The language packs below the install folder, "lang" + separator + name.
std::vector<std::string> LanguagePackPaths(platform::PathStyle style);

// "Ostrel.lnk" on Windows, "Ostrel.desktop" on POSIX.
std::string ShortcutFileName(platform::PathStyle style);

// The removals below a folder the procedure makes (setup/platform/Removal.h),
// as values: a test can run the procedure with another system's path style
// and see what it would remove there.
struct UninstallRemovals {
  using Call = std::function<bool(const std::string& base, const std::string& relative)>;
  Call deleteFileBelow = platform::DeleteFileBelow;
  Call removeEmptyFolderBelow = platform::RemoveEmptyFolderBelow;
  Call removeFolderTreeBelow = platform::RemoveFolderTreeBelow;
};

// What the procedure reaches outside itself.
struct UninstallContext {
  platform::IRegistry& registry;
  const SpecialFolders& folders;
  // The running uninstaller's full path; its folder is the install folder.
  std::string uninstallerPath;
  // One ask to the running product to quit.
  std::function<platform::QuitAnswer()> askProductToQuit;
  // Runs a command line hidden, with the working folder, output ignored.
  std::function<void(const std::string& commandLine, const std::string& workingFolder)> runCommand;
  std::function<void(std::chrono::milliseconds)> sleep;
  std::function<void(const std::string& uninstallerPath)> scheduleSelfDelete;
  platform::PathStyle style = platform::PathStyle::Native;
  UninstallRemovals removals;
};

// The procedure as the running program performs it, with the platform's own
// signal, child processes, sleeps and self-removal.
UninstallContext NativeUninstallContext(platform::IRegistry& registry, const SpecialFolders& folders,
                                        std::string uninstallerPath);

// Steps 1 to 9; the caller ends the process afterwards.
void RunUninstallProcedure(const UninstallContext& context);

}  // namespace ostrel::setup
