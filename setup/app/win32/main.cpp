// The setup program's Windows build without Qt: the runs that show no
// window, which are the uninstaller (its one question is a system message
// box) and the unattended setup ("silent nogui"). Their work runs on threads
// of their own; the main thread serves their calls into the "UI thread" as a
// windowless run on any system does.

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "setup/app/HeadlessLoop.h"
#include "setup/app/HeadlessSetupWindow.h"
#include "setup/core/InstallChain.h"
#include "setup/core/RoleActions.h"
#include "setup/core/SetupState.h"
#include "setup/core/Startup.h"
#include "setup/core/Uninstall.h"
#include "setup/platform/ExecutableResources.h"
#include "setup/platform/PathStyle.h"
#include "setup/platform/Services.h"
#include "setup/platform/TemporaryFolder.h"
#include "setup/platform/win32/WideText.h"

namespace {

using namespace ostrel;

// The headless window, whose one question is asked in a system message box.
class MessageBoxSetupWindow final : public setup::ISetupWindow {
 public:
  void SetCaption(std::string_view caption) override { headless_.SetCaption(caption); }
  void SetInstallButtonCaption(std::string_view caption) override { headless_.SetInstallButtonCaption(caption); }
  void HideCustomInstall() override { headless_.HideCustomInstall(); }
  void RestartAnimation(std::string_view name, double delay, double duration) override {
    headless_.RestartAnimation(name, delay, duration);
  }
  void AddDriveItem(std::string_view text) override { headless_.AddDriveItem(text); }
  int DriveItemCount() const override { return headless_.DriveItemCount(); }
  void SelectDriveItem(int index) override { headless_.SelectDriveItem(index); }
  std::optional<std::string> SelectedDriveItem() const override { return headless_.SelectedDriveItem(); }
  void CreateOperateAni() override { headless_.CreateOperateAni(); }
  void StartOperateAni() override { headless_.StartOperateAni(); }
  void DisableInputs() override { headless_.DisableInputs(); }
  void Hide() override { headless_.Hide(); }
  void ShowFailure(std::string_view text) override { headless_.ShowFailure(text); }
  bool AskYesNo(std::string_view text, std::string_view caption) override {
    const auto wideText = platform::win32::ToWide(text);
    const auto wideCaption = platform::win32::ToWide(caption);
    if (!wideText || !wideCaption) return false;
    return ::MessageBoxW(nullptr, wideText->c_str(), wideCaption->c_str(), MB_YESNO) == IDYES;
  }

 private:
  app::HeadlessSetupWindow headless_;
};

// The words after the program, as the system split the command line.
std::vector<std::string> Arguments() {
  int count = 0;
  LPWSTR* words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 1; words != nullptr && i < count; ++i) args.push_back(platform::win32::ToUtf8(words[i]));
  ::LocalFree(words);
  return args;
}

void Fail(const char* reason) {
  std::fprintf(stderr, "OstrelSetup: %s\n", reason);
  std::fflush(stderr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const std::vector<std::string> args = Arguments();
  platform::Services services = platform::CreateNativeServices();
  // The uninstaller's one question is a system message box, so only the
  // setup's own window is out of reach here.
  const setup::SetupRole role =
      setup::RoleFromExecutable(services.system->ExecutablePath(), platform::PathStyle::Native);
  if (role == setup::SetupRole::Install && setup::RunNeedsWindow(role, args)) {
    Fail("this build shows no window; run the setup as \"OstrelSetup silent nogui\".");
    return 1;
  }

  const std::unique_ptr<platform::ExecutableResources> resources = platform::ExecutableResources::OpenSelf();
  app::HeadlessLoop loop;
  setup::ITaskRunner& tasks = loop.Tasks();
  setup::SetupState& state = setup::SetupState::Process();
  MessageBoxSetupWindow window;
  const setup::SpecialFolders folders(*services.shellFolders, platform::PathStyle::Native);
  // Made on first use only, so the uninstall role never creates them.
  const std::unique_ptr<platform::ITemporaryFolder> temporary = platform::CreateTemporaryFolder();
  const std::unique_ptr<platform::ITemporaryFolder> fallbackFolder = platform::CreateFallbackTemporaryFolder();
  setup::InstallChain installChain(setup::NativeInstallContext(state, window, tasks, *services.registry, folders,
                                                               *services.system, *temporary, *fallbackFolder,
                                                               resources.get(), setup::ArgumentIs(args, 0, "silent")));
  setup::SetupRoleActions actions(state, tasks, [&installChain] { installChain.InstallButtonClick(); });
  actions.SetUninstall([&services, &folders, &args] {
    setup::UninstallContext context =
        setup::NativeUninstallContext(*services.registry, folders, services.system->ExecutablePath());
    // Run by an update, the uninstaller leaves its file to the setup that
    // started it, which puts its own uninstaller there: the batch file, which
    // deletes whatever stands at the path once this process has ended, would
    // otherwise take the new one with it.
    if (setup::ArgumentIs(args, 0, "update")) context.scheduleSelfDelete = [](const std::string&) {};
    setup::RunUninstallProcedure(context);
  });

  setup::RunStartup(setup::StartupContext{
      state,
      *services.registry,
      *services.drives,
      *services.shellFolders,
      *services.system,
      window,
      tasks,
      actions,
      [&resources](std::string_view name) -> std::optional<std::span<const std::byte>> {
        if (!resources) return std::nullopt;
        return resources->Find(name);
      },
      args,
      platform::PathStyle::Native,
  });

  // Every run ends its process from within, a failed unattended one with a
  // code and a reason.
  loop.Run();
  services.system->ExitProcess(0);
  return 0;
}
