#include "setup/app/window/GuiApplication.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace ostrel::app {
namespace {

struct HeldMessage {
  QtMsgType type;
  std::string category;
  QString text;
};

// What Qt said while the application was being made: shown afterwards when it
// was made, dropped when Qt gave up. Reached only from the UI thread, during
// that one construction.
std::vector<HeldMessage>* heldMessages = nullptr;

void HoldOrGiveUp(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtFatalMsg) {
    std::fputs(
        "OstrelSetup: the setup window needs a display and none can be reached "
        "(\"silent nogui\" installs without one).\n",
        stderr);
    std::_Exit(kNoDisplayExitCode);
  }
  if (heldMessages != nullptr) {
    heldMessages->push_back({type, context.category != nullptr ? context.category : "", text});
  }
}

}  // namespace

std::unique_ptr<QCoreApplication> CreateGuiApplication(int& argc, char** argv) {
  std::vector<HeldMessage> held;
  heldMessages = &held;
  const QtMessageHandler previous = qInstallMessageHandler(&HoldOrGiveUp);
  auto application = std::make_unique<QApplication>(argc, argv);
  qInstallMessageHandler(previous);
  heldMessages = nullptr;
  for (const HeldMessage& message : held) {
    const QMessageLogContext context(nullptr, 0, nullptr, message.category.c_str());
    qt_message_output(message.type, context, message.text);
  }
  return application;
}

}  // namespace ostrel::app
