#pragma once
// Reads a stored form: creates the components its object blocks name through
// the class registry, sets their published properties, binds their events to
// the root's handler methods, then calls Loaded on each.
//
// A form that fails to read leaves nothing behind: components are built under
// a staging owner and handed to the root only when everything was read, and
// the root's own properties are put back as they were.

#include "skin/host/Component.h"
#include "skin/host/FormText.h"

#include <QString>

#include <memory>

namespace ostrel::host {

// Creates the root class the text names, with everything in it.
std::unique_ptr<TComponent> ReadComponent(const QString& AText);

// Reads into an existing root (a form built in code whose class the text's
// top-level block names, or one of its base classes).
void ReadComponentInto(TComponent& ARoot, const QString& AText);

}  // namespace ostrel::host
