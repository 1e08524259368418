// The window module's one export: how the program makes the widget
// application and the setup window.

#include "setup/app/WindowModule.h"
#include "setup/app/window/GuiApplication.h"
#include "setup/app/window/QtUiLoop.h"
#include "setup/app/window/SetupWindowChoice.h"

namespace {

std::unique_ptr<ostrel::app::UiLoop> CreateUiLoop(int& argc, char** argv) {
  return std::make_unique<ostrel::app::QtUiLoop>(argc, argv);
}

ostrel::app::CreatedWindow CreateWindow(ostrel::platform::ISystem& system, ostrel::app::ResourceFinder resources) {
  return ostrel::app::CreateSetupWindow(system, std::move(resources));
}

constexpr ostrel::app::WindowModule kModule{&CreateUiLoop, &CreateWindow};

}  // namespace

extern "C" __attribute__((visibility("default"))) const ostrel::app::WindowModule* OstrelSetupWindowModule() {
  return &kModule;
}
