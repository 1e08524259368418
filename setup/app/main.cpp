// The setup program: one executable that installs, updates or, named as the
// uninstaller, removes the product.

#include <QCoreApplication>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "setup/app/HeadlessSetupWindow.h"
#include "setup/app/QtTaskRunner.h"
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

  // Taken before Qt removes the options it understands: the setup looks at
  // its arguments exactly as given.
  std::vector<std::string> args(argv + 1, argv + argc);

  // An unattended run without a window never shows one, so it loads neither
  // the window module nor Qt's widget libraries and makes a core application:
  // it starts in a fraction of the time and works where no display is reachable.
  const bool windowless = setup::ArgumentIs(args, 0, "silent") && setup::ArgumentIs(args, 1, "nogui");

  platform::Services services = platform::CreateNativeServices();
  const std::unique_ptr<platform::ExecutableResources> resources = platform::ExecutableResources::OpenSelf();
  const app::WindowModule* windowModule =
      windowless ? nullptr : app::LoadWindowModule(resources.get(), services.system->ExecutablePath());
  if (!windowless && windowModule == nullptr) {
    std::fputs("OstrelSetup: the setup window cannot be loaded; the program is damaged.\n", stderr);
    return 1;
  }
  const std::unique_ptr<QCoreApplication> application = windowModule != nullptr
                                                            ? windowModule->createApplication(argc, argv)
                                                            : std::make_unique<QCoreApplication>(argc, argv);

  app::QtTaskRunner tasks;
  setup::SetupState& state = setup::SetupState::Process();

  const auto findResource = [&resources](std::string_view name) -> std::optional<std::span<const std::byte>> {
    if (!resources) return std::nullopt;
    return resources->Find(name);
  };

  app::HeadlessSetupWindow headlessWindow;
  const std::unique_ptr<app::ShownSetupWindow> shownWindow =
      windowModule != nullptr ? windowModule->createWindow(*services.system, findResource) : nullptr;
  setup::ISetupWindow& window = shownWindow ? static_cast<setup::ISetupWindow&>(*shownWindow) : headlessWindow;

  const setup::SpecialFolders folders(*services.shellFolders, platform::PathStyle::Native);
  // Made on first use only, so the uninstall role never creates it.
  const std::unique_ptr<platform::ITemporaryFolder> temporary = platform::CreateTemporaryFolder();
  setup::InstallChain installChain(setup::NativeInstallContext(state, window, tasks, *services.registry, folders,
                                                               *services.system, *temporary, resources.get()));
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
  QCoreApplication::exec();
  services.system->ExitProcess(0);
}
