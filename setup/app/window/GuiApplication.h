#pragma once
// The widget application of a run that shows the setup window. Qt ends a
// process it cannot give a display with an abort and several lines of its own;
// here such a run ends instead with one line on standard error and exit code 1.

#include <QCoreApplication>
#include <memory>

namespace ostrel::app {

// The exit code of a run that needed a display and found none.
inline constexpr int kNoDisplayExitCode = 1;

// The QApplication, or, when no display can be reached, no return.
std::unique_ptr<QCoreApplication> CreateGuiApplication(int& argc, char** argv);

}  // namespace ostrel::app
