#pragma once
// Serves the running-product signal from the event loop: message 1027 with
// both parameters 0 stops listening, answers, then ends the application.

#include "setup/platform/RunningProductSignal.h"

#include <QObject>
#include <QSocketNotifier>

#include <memory>

namespace ostrel::product {

class QuitSignalWatcher : public QObject {
  Q_OBJECT

 public:
  // With `ignoreQuit` the message is answered like any other and the
  // product keeps running, as a product that does not honour it would.
  QuitSignalWatcher(std::unique_ptr<platform::ProductSignalListener> listener, bool ignoreQuit, QObject* parent = nullptr);

 private:
  void Serve();
  std::uint32_t Handle(std::uint32_t message, std::uint32_t wParam, std::uint32_t lParam);

  std::unique_ptr<platform::ProductSignalListener> listener_;
  QSocketNotifier notifier_;
  bool ignoreQuit_;
};

}  // namespace ostrel::product
