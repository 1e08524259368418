#pragma once
// What the setup program and its window module share. The window, and with
// it Qt's widget and graphics libraries, is built as a module of its own that
// the packed program carries among its resources: a run that shows no window
// never loads them (a third of the program's start-up) and needs no display.
// Both halves come from one build, so C++ types cross between them.

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "setup/app/UiLoop.h"
#include "setup/core/WindowInterface.h"
#include "setup/platform/System.h"

namespace ostrel::app {

// The setup window as the program drives it.
class ShownSetupWindow : public setup::ISetupWindow {
 public:
  // What InstallButton runs.
  virtual void SetInstallHandler(std::function<void()> handler) = 0;
  virtual void Show() = 0;
};

// The program's resources by name (letter case of ASCII letters aside); the
// bytes stay valid for as long as the process runs.
using ResourceFinder = std::function<std::optional<std::span<const std::byte>>(std::string_view name)>;

// The window, or why there is none: its stored form is missing or does not
// read. The reason is a few words for a one-line message, with no line break.
struct CreatedWindow {
  std::unique_ptr<ShownSetupWindow> window;
  std::string problem;
};

struct WindowModule {
  // The widget application's loop and task runner, made before any window
  // (argc and argv must outlive it). Without a display it ends the process
  // with one line on standard error.
  std::unique_ptr<UiLoop> (*createUiLoop)(int& argc, char** argv);
  // The window; the skin library inside the module finds the program's
  // pictures through `resources` while the window lives.
  CreatedWindow (*createWindow)(platform::ISystem& system, ResourceFinder resources);
};

// The one function the module exports, by this name.
inline constexpr const char* kWindowModuleEntry = "OstrelSetupWindowModule";
using WindowModuleEntry = const WindowModule*();

}  // namespace ostrel::app
