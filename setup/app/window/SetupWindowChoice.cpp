#include "setup/app/window/SetupWindowChoice.h"

#include "setup/app/window/MainFormWindow.h"
#include "setup/app/window/PlainSetupWindow.h"

#include <exception>

namespace ostrel::app {

std::unique_ptr<ShownSetupWindow> CreateSetupWindow(platform::ISystem& system, ResourceFinder resources) {
  const auto form = resources ? resources("TMAINFORM") : std::nullopt;
  if (form) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(form->data()), static_cast<qsizetype>(form->size()));
    try {
      return std::make_unique<MainFormWindow>(text, resources, [&system] { system.ExitProcess(0); });
    } catch (const std::exception&) {
      // A form the registered classes cannot read yet: the plain window serves.
    }
  }
  return std::make_unique<PlainSetupWindow>(system, std::move(resources));
}

}  // namespace ostrel::app
