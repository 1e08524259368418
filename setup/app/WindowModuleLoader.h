#pragma once
// Finds and loads the window module: from the program's own resources (the
// packed setup carries it as "gui"), or, for a program built but not packed,
// from the file beside it. Loaded once, for the life of the process.

#include <string>

#include "setup/app/WindowModule.h"
#include "setup/platform/ExecutableResources.h"

namespace ostrel::app {

// The module's file name beside an unpacked program, and the name it is
// loaded under from the resources.
#ifdef _WIN32
inline constexpr const char* kWindowModuleFile = "ostrel_setup_window.dll";
#else
inline constexpr const char* kWindowModuleFile = "libostrel_setup_window.so";
#endif

// Nothing when the module is missing, damaged or does not load.
const WindowModule* LoadWindowModule(const platform::ExecutableResources* resources, const std::string& programPath);

}  // namespace ostrel::app
