#include "setup/app/window/QtUiLoop.h"

#include "setup/app/window/GuiApplication.h"

namespace ostrel::app {

QtUiLoop::QtUiLoop(int& argc, char** argv) : application_(CreateGuiApplication(argc, argv)) {}

void QtUiLoop::Run() { QCoreApplication::exec(); }

}  // namespace ostrel::app
