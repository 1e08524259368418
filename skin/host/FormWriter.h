#pragma once
// Writes a component and everything it owns as a stored form: the text
// FormReader reads back into the same tree. Properties equal to the value of a
// freshly created instance of the class, and those whose Is<Name>Stored()
// answers false, are left out; properties follow the meta-object order and
// nesting is indented by two spaces per level, so the output is canonical.

#include "skin/host/Component.h"

#include <QString>

namespace ostrel::host {

QString WriteComponent(const TComponent& ARoot);

}  // namespace ostrel::host
