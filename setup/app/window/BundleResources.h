#pragma once
// The program's resource bundle as the skin library asks for resources.

#include "setup/app/WindowModule.h"
#include "skin/host/Resources.h"

namespace ostrel::app {

// The bytes stay in the program's mapped resources, which outlive every
// window, so the answers are not copies.
host::FunctionResourceLookup::Finder BundleFinder(ResourceFinder resources);

}  // namespace ostrel::app
