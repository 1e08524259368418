// The setup program: one executable that installs, updates or, named as the
// uninstaller, removes the product.

#include <QApplication>
#include <string>
#include <vector>

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

  QApplication application(argc, argv);
  platform::Services services = platform::CreateNativeServices();
  const std::unique_ptr<platform::ExecutableResources> resources = platform::ExecutableResources::OpenSelf();
  app::QtTaskRunner tasks;
  setup::SetupState& state = setup::SetupState::Process();

  app::PlainSetupWindow window(*services.system);
  const setup::SpecialFolders folders(*services.shellFolders, platform::PathStyle::Native);
  // Made on first use only, so the uninstall role never creates it.
  const std::unique_ptr<platform::ITemporaryFolder> temporary = platform::CreateTemporaryFolder();
  setup::InstallChain installChain(setup::NativeInstallContext(state, window, tasks, *services.registry, folders,
                                                               *services.system, *temporary, resources.get()));
  setup::SetupRoleActions actions(state, tasks, [&installChain] { installChain.InstallButtonClick(); });
  window.SetInstallHandler([&actions] { actions.Install(); });
  actions.SetUninstall([&services, &folders] {
    setup::RunUninstallProcedure(
        setup::NativeUninstallContext(*services.registry, folders, services.system->ExecutablePath()));
  });

  // An unattended run without a window never shows it: showing would load
  // the fonts and paint first, holding up the install chain's steps that run
  // on this thread.
  const bool windowless = setup::ArgumentIs(args, 0, "silent") && setup::ArgumentIs(args, 1, "nogui");

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

  if (!windowless) window.show();
  QApplication::exec();
  services.system->ExitProcess(0);
}
