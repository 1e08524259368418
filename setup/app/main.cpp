// The setup program: one executable that installs, updates or, named as the
// uninstaller, removes the product.

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "setup/app/HeadlessSetupWindow.h"
#include "setup/app/HeadlessLoop.h"
#include "setup/app/WindowModule.h"
#include "setup/app/WindowModuleLoader.h"
#include "setup/core/InstallChain.h"
#include "setup/core/RoleActions.h"
#include "setup/core/SetupState.h"
#include "setup/core/Startup.h"
#include "setup/core/Uninstall.h"
#include "setup/platform/ExecutableResources.h"
#include "setup/platform/Services.h"
#include "setup/platform/TemporaryFolder.h"

int main(int argc, char** argv) {
  using namespace ostrel;

  // Only words one and two mean anything to the setup, exactly as given.
  std::vector<std::string> args(argv + 1, argv + argc);

  platform::Services services = platform::CreateNativeServices();
  const std::unique_ptr<platform::ExecutableResources> resources = platform::ExecutableResources::OpenSelf();

  // A run that never shows the window or its question loads neither the
  // window module nor any of Qt's libraries: it starts in a fraction of the
  // time and needs no display.
  const bool needsWindow = setup::RunNeedsWindow(
      setup::RoleFromExecutable(services.system->ExecutablePath(), platform::PathStyle::Native), args);
  const app::WindowModule* windowModule =
      needsWindow ? app::LoadWindowModule(resources.get(), services.system->ExecutablePath()) : nullptr;
  if (needsWindow && windowModule == nullptr) {
    std::fputs("OstrelSetup: the setup window cannot be loaded; the program is damaged.\n", stderr);
    return 1;
  }
  // Qt sees the program's name alone, so that its own options (-platform,
  // -display, ...) among the arguments can neither steer nor abort it.
  int qtArgc = 1;
  char* qtArgv[] = {argv[0], nullptr};
  const std::unique_ptr<app::UiLoop> loop =
      windowModule != nullptr ? windowModule->createUiLoop(qtArgc, qtArgv) : std::make_unique<app::HeadlessLoop>();
  setup::ITaskRunner& tasks = loop->Tasks();
  setup::SetupState& state = setup::SetupState::Process();

  const auto findResource = [&resources](std::string_view name) -> std::optional<std::span<const std::byte>> {
    if (!resources) return std::nullopt;
    return resources->Find(name);
  };

  app::HeadlessSetupWindow headlessWindow;
  app::CreatedWindow created =
      windowModule != nullptr ? windowModule->createWindow(*services.system, findResource) : app::CreatedWindow{};
  // Before start-up has read or written anything: a window that cannot be
  // shown leaves the machine as it was.
  if (windowModule != nullptr && !created.window) {
    std::fprintf(stderr, "OstrelSetup: the setup window cannot be shown: %s.\n", created.problem.c_str());
    // Ended like every other run that has started the toolkit, which keeps
    // what it loaded until the process goes.
    services.system->ExitProcess(1);
  }
  const std::unique_ptr<app::ShownSetupWindow> shownWindow = std::move(created.window);
  setup::ISetupWindow& window = shownWindow ? static_cast<setup::ISetupWindow&>(*shownWindow) : headlessWindow;

  const setup::SpecialFolders folders(*services.shellFolders, platform::PathStyle::Native);
  // Made on first use only, so the uninstall role never creates them.
  const std::unique_ptr<platform::ITemporaryFolder> temporary = platform::CreateTemporaryFolder();
  const std::unique_ptr<platform::ITemporaryFolder> fallbackFolder = platform::CreateFallbackTemporaryFolder();
  setup::InstallChain installChain(setup::NativeInstallContext(state, window, tasks, *services.registry, folders,
                                                               *services.system, *temporary, *fallbackFolder,
                                                               resources.get(), setup::ArgumentIs(args, 0, "silent")));
  setup::SetupRoleActions actions(state, tasks, [&installChain] { installChain.InstallButtonClick(); });
  if (shownWindow) shownWindow->SetInstallHandler([&actions] { actions.Install(); });
  actions.SetUninstall([&services, &folders] {
    setup::RunUninstallProcedure(
        setup::NativeUninstallContext(*services.registry, folders, services.system->ExecutablePath()));
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
      findResource,
      std::move(args),
      platform::PathStyle::Native,
  });

  if (shownWindow) shownWindow->Show();
  loop->Run();
  services.system->ExitProcess(0);
}
