#include "setup/core/Uninstall.h"

#include <exception>
#include <thread>
#include <utility>

#include "setup/core/Runner.h"
#include "setup/core/Startup.h"
#include "setup/platform/Removal.h"
#include "setup/platform/SelfDelete.h"
#include "setup/platform/StopByName.h"
#include "setup/platform/ShellLink.h"

namespace ostrel::setup {

namespace {

using platform::PathStyle;

struct ProductFile {
  std::string_view name;
  bool program;  // carries the platform's executable suffix
};

constexpr ProductFile kProductFiles[] = {
    {"osd", true},
    {"os-trel", false},
    {"Ostrel", true},
    {"MicrosoftEdgeWebview2Setup", true},
    {"Ostrelx64Bridge", true},
    {"AdbWinApi.dll", false},
    {"AdbWinUsbApi.dll", false},
    {"avcodec-58.dll", false},
    {"avformat-58.dll", false},
    {"avutil-56.dll", false},
    {"swresample-3.dll", false},
    {"swscale-5.dll", false},
    {"libalac-0.dll", false},
    {"libfdk-aac-2.dll", false},
    {"WebView2Loader.dll", false},
};

constexpr std::string_view kLanguagePacks[] = {
    "日本語",        "简体中文",      "日本語-Github", "繁體中文(台灣)-Github", "繁體中文(香港)-Github",
    "Srpski-Github", "한국어-Github",
};

constexpr std::string_view kLangFolder = kProductFolders[0];
constexpr std::string_view kTreeFolders[] = {kProductFolders[1], kProductFolders[2]};

// One step's failure must not keep the next from running.
template <typename Step>
void Guarded(Step&& step) {
  try {
    step();
  } catch (const std::exception&) {
  } catch (...) {
  }
}

void AskProductToQuit(const UninstallContext& c) {
  for (int attempt = 0; attempt < kQuitTries; ++attempt) {
    platform::QuitAnswer answer = platform::QuitAnswer::NotRunning;
    Guarded([&] { answer = c.askProductToQuit(); });
    if (answer == platform::QuitAnswer::NotRunning) return;
    c.sleep(kQuitPause);
  }
}

void StopWhatIsLeft(const UninstallContext& c, const std::string& installFolder) {
  for (int round = 0; round < 2; ++round) {
    for (const std::string_view process : kProductProcesses) {
      Guarded([&] { c.runCommand(platform::StopByNameCommandLine(process, c.style), installFolder); });
    }
    c.sleep(kStopPause);
  }
}

void RemoveShortcut(const UninstallContext& c, const std::string& folder) {
  if (folder.empty()) return;
  c.removals.deleteFileBelow(folder, ShortcutFileName(c.style));
}

}  // namespace

std::vector<std::string> ProductFileNames(PathStyle style) {
  std::vector<std::string> names;
  names.reserve(std::size(kProductFiles));
  for (const ProductFile& file : kProductFiles) {
    names.push_back(file.program ? platform::ExecutableName(file.name, style) : std::string(file.name));
  }
  return names;
}

std::vector<std::string> LanguagePackPaths(PathStyle style) {
  std::vector<std::string> paths;
  paths.reserve(std::size(kLanguagePacks));
  for (const std::string_view pack : kLanguagePacks) {
    paths.push_back(platform::JoinPath(kLangFolder, std::string(pack) + ".lang", style));
  }
  return paths;
}

std::string ShortcutFileName(PathStyle style) {
  return std::string(kProductName) + std::string(platform::ShortcutSuffix(style));
}

UninstallContext NativeUninstallContext(platform::IRegistry& registry, const SpecialFolders& folders,
                                        std::string uninstallerPath) {
  return UninstallContext{
      registry,
      folders,
      std::move(uninstallerPath),
      [] { return platform::SendQuitMessage(kProductName, kQuitAnswerLimit); },
      [](const std::string& commandLine, const std::string& workingFolder) {
        std::uint32_t exitCode = 0;
        std::string output;
        RunCaptured(commandLine, exitCode, workingFolder, false, 0, output);
      },
      [](std::chrono::milliseconds pause) { std::this_thread::sleep_for(pause); },
      [](const std::string& path) { platform::ScheduleSelfDelete(path); },
      PathStyle::Native,
      UninstallRemovals{},
  };
}

void RunUninstallProcedure(const UninstallContext& c) {
  const std::string installFolder(platform::FolderPart(c.uninstallerPath, c.style));

  AskProductToQuit(c);
  StopWhatIsLeft(c, installFolder);

  // Without a folder every name below would be taken relative to wherever
  // the process happens to stand.
  if (!installFolder.empty()) {
    for (const std::string& name : ProductFileNames(c.style)) {
      Guarded([&] { c.removals.deleteFileBelow(installFolder, name); });
    }
    for (const std::string& pack : LanguagePackPaths(c.style)) {
      Guarded([&] { c.removals.deleteFileBelow(installFolder, pack); });
    }
    Guarded([&] { c.removals.removeEmptyFolderBelow(installFolder, std::string(kLangFolder)); });
    for (const std::string_view folder : kTreeFolders) {
      Guarded([&] { c.removals.removeFolderTreeBelow(installFolder, std::string(folder)); });
    }
  }

  Guarded([&] { RemoveShortcut(c, c.folders.GetSpecialFolder(platform::CSIDL_DESKTOP)); });
  Guarded([&] {
    if (!c.folders.HomeFolder().empty()) RemoveShortcut(c, c.folders.StartMenuProgramsFolder());
  });
  Guarded([&] { c.registry.DeleteKey(kUninstallKey); });
  Guarded([&] { c.scheduleSelfDelete(c.uninstallerPath); });
}

}  // namespace ostrel::setup
