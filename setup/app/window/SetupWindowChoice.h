#pragma once
// The setup window the module shows: the skinned window read from the
// program's stored form (the resource TMAINFORM) with the classes registered
// for it. There is no other window to fall back to: a program whose form is
// missing or does not read is damaged, and says so instead of showing
// something else.

#include "setup/app/WindowModule.h"
#include "setup/platform/System.h"

namespace ostrel::app {

CreatedWindow CreateSetupWindow(platform::ISystem& system, ResourceFinder resources);

}  // namespace ostrel::app
