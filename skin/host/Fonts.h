#pragma once
// Font families on machines that lack the ones stored forms name. A form
// written on Windows names its families ("Segoe UI"); where such a family is
// not installed, Qt would pick whatever the machine's font configuration
// prefers, so text would measure and look different from machine to machine.
// A missing family is instead mapped, through Qt's font substitution, to one
// known family that the project's dependency script installs.

#include <QString>
#include <QStringList>

namespace ostrel::host {

// The families a missing family is mapped to, first choice first. The first
// is installed by scripts/install-deps.sh, so measurements are the same on
// every machine that builds the project.
QStringList FallbackFontFamilies();

// Makes AFamily drawable: when the machine has no such family and no
// substitute was configured for it, the fallback families become its
// substitutes. Checks each family once per process; needs a GUI application.
void EnsureFontFamily(const QString& AFamily);

// The family Qt draws for AFamily after the mapping above.
QString ResolvedFontFamily(const QString& AFamily);

}  // namespace ostrel::host
