#pragma once
// The program's start of the skinned control library: every family of
// skin/controls registers its control types, control classes and materials,
// in the order of the library's registration table, so that the first row of
// each classification is its default and stored forms find every class.

namespace ostrel::skin {

// Registers the core and every family of skin/controls, once per process;
// calling it again does nothing.
void StartSkinControls();

}  // namespace ostrel::skin
