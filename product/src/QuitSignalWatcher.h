#pragma once
// Serves the running-product signal from the event loop: message 1027 with
// both parameters 0 stops listening, answers, then ends the application.

#include "setup/platform/RunningProductSignal.h"
#include "setup/platform/posix/UniqueFd.h"

#include <QObject>
#include <QSocketNotifier>

#include <cstdint>
#include <memory>
#include <vector>

namespace ostrel::product {

// How the product meets the quit message.
enum class QuitBehaviour : std::uint8_t {
  Quit,    // honours it
  Ignore,  // answers it like any other message and keeps running
  Hang,    // takes every request and never answers, as a hung window would
};

class QuitSignalWatcher : public QObject {
  Q_OBJECT

 public:
  QuitSignalWatcher(std::unique_ptr<platform::ProductSignalListener> listener, QuitBehaviour behaviour,
                    QObject* parent = nullptr);

 private:
  void Serve();
  std::uint32_t Handle(std::uint32_t message, std::uint32_t wParam, std::uint32_t lParam);

  std::unique_ptr<platform::ProductSignalListener> listener_;
  QSocketNotifier notifier_;
  QuitBehaviour behaviour_;
  // The requests a hung product took and holds unanswered.
  std::vector<platform::UniqueFd> unanswered_;
};

}  // namespace ostrel::product
