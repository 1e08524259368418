// The setup program: one executable that installs, updates or, named as the
// uninstaller, removes the product.

#include <QApplication>
#include <QCoreApplication>
#include <memory>
#include <string>
#include <vector>

#include "setup/app/HeadlessSetupWindow.h"
#include "setup/app/PlainSetupWindow.h"
#include "setup/app/QtTaskRunner.h"
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

  // An unattended run without a window never shows one, so it makes neither
  // widgets nor a connection to a display: the core application starts in a
  // fraction of the time and the run works where no display is reachable.
  const bool windowless = setup::ArgumentIs(args, 0, "silent") && setup::ArgumentIs(args, 1, "nogui");
  const std::unique_ptr<QCoreApplication> application =
      windowless ? std::make_unique<QCoreApplication>(argc, argv) : std::make_unique<QApplication>(argc, argv);

  platform::Services services = platform::CreateNativeServices();
  const std::unique_ptr<platform::ExecutableResources> resources = platform::ExecutableResources::OpenSelf();
  app::QtTaskRunner tasks;
  setup::SetupState& state = setup::SetupState::Process();

  app::HeadlessSetupWindow headlessWindow;
  const std::unique_ptr<app::PlainSetupWindow> plainWindow =
      windowless ? nullptr : std::make_unique<app::PlainSetupWindow>(*services.system);
  setup::ISetupWindow& window = plainWindow ? static_cast<setup::ISetupWindow&>(*plainWindow) : headlessWindow;

  const setup::SpecialFolders folders(*services.shellFolders, platform::PathStyle::Native);
  // Made on first use only, so the uninstall role never creates it.
  const std::unique_ptr<platform::ITemporaryFolder> temporary = platform::CreateTemporaryFolder();
  setup::InstallChain installChain(setup::NativeInstallContext(state, window, tasks, *services.registry, folders,
                                                               *services.system, *temporary, resources.get()));
  setup::SetupRoleActions actions(state, tasks, [&installChain] { installChain.InstallButtonClick(); });
  if (plainWindow) plainWindow->SetInstallHandler([&actions] { actions.Install(); });
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
      [&resources](std::string_view name) -> std::optional<std::span<const std::byte>> {
        if (!resources) return std::nullopt;
        return resources->Find(name);
      },
      std::move(args),
      platform::PathStyle::Native,
  });

  if (plainWindow) plainWindow->show();
  QCoreApplication::exec();
  services.system->ExitProcess(0);
}
