// The demo product: a window titled "Ostrel" that keeps the running-product
// signal while it runs. OSTREL_DEMO_IGNORE_QUIT=1 makes it answer message
// 1027 without quitting, so the setup's forced stop can be exercised.

#include "product/src/QuitSignalWatcher.h"
#include "setup/platform/RunningProductSignal.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  QApplication app(argc, argv);

  auto listener = ostrel::platform::ProductSignalListener::Listen("Ostrel");
  // One instance per user: another one already holds the signal.
  if (!listener) return 0;

  const char* ignore = std::getenv("OSTREL_DEMO_IGNORE_QUIT");
  const bool ignoreQuit = ignore != nullptr && std::strcmp(ignore, "1") == 0;
  ostrel::product::QuitSignalWatcher watcher(std::move(listener), ignoreQuit);

  QWidget window;
  window.setWindowTitle(QStringLiteral("Ostrel"));
  auto* layout = new QVBoxLayout(&window);
  layout->addWidget(new QLabel(QStringLiteral("Ostrel is running."), &window));
  window.resize(320, 120);
  window.show();

  return app.exec();
}
