#pragma once
// Which setup window the module shows: the skinned window read from the
// program's stored form (the resource TMAINFORM) when that form reads with
// the classes registered for it, the plain window otherwise (no stored form,
// or one naming a class no family has registered). The plain window stays
// the fall-back until the skinned one is complete.

#include "setup/app/WindowModule.h"
#include "setup/platform/System.h"

#include <memory>

namespace ostrel::app {

std::unique_ptr<ShownSetupWindow> CreateSetupWindow(platform::ISystem& system, ResourceFinder resources);

}  // namespace ostrel::app
