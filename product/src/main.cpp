// The demo product: a window titled "Ostrel" that keeps the running-product
// signal while it runs. OSTREL_DEMO_IGNORE_QUIT=1 makes it answer message
// 1027 without quitting and OSTREL_DEMO_HANG_ON_QUIT=1 makes it take every
// request without ever answering, so the setup's forced stop can be
// exercised. On a machine without a display it runs with its window off
// screen, so that a headless installation still has a running product.

#include "product/src/QuitSignalWatcher.h"
#include "setup/platform/RunningProductSignal.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdlib>
#include <cstring>

namespace {

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

bool Switched(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && std::strcmp(value, "1") == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (!Set("QT_QPA_PLATFORM") && !Set("DISPLAY") && !Set("WAYLAND_DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);

  auto listener = ostrel::platform::ProductSignalListener::Listen("Ostrel");
  // One instance per user: another one already holds the signal.
  if (!listener) return 0;

  using ostrel::product::QuitBehaviour;
  const QuitBehaviour behaviour = Switched("OSTREL_DEMO_HANG_ON_QUIT")  ? QuitBehaviour::Hang
                                  : Switched("OSTREL_DEMO_IGNORE_QUIT") ? QuitBehaviour::Ignore
                                                                        : QuitBehaviour::Quit;
  ostrel::product::QuitSignalWatcher watcher(std::move(listener), behaviour);

  QWidget window;
  window.setWindowTitle(QStringLiteral("Ostrel"));
  auto* layout = new QVBoxLayout(&window);
  layout->addWidget(new QLabel(QStringLiteral("Ostrel is running."), &window));
  window.resize(320, 120);
  window.show();

  return app.exec();
}
