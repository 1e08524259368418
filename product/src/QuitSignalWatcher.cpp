#include "product/src/QuitSignalWatcher.h"

#include <sys/socket.h>

#include <QCoreApplication>

namespace ostrel::product {

QuitSignalWatcher::QuitSignalWatcher(std::unique_ptr<platform::ProductSignalListener> listener,
                                     QuitBehaviour behaviour, QObject* parent)
    : QObject(parent),
      listener_(std::move(listener)),
      notifier_(listener_->Descriptor(), QSocketNotifier::Read),
      behaviour_(behaviour) {
  connect(&notifier_, &QSocketNotifier::activated, this, &QuitSignalWatcher::Serve);
}

void QuitSignalWatcher::Serve() {
  if (behaviour_ == QuitBehaviour::Hang) {
    // Accepted, so the sender waits for an answer that never comes; the
    // listener keeps taking requests, so every ask waits its whole bound.
    platform::UniqueFd request(::accept4(listener_->Descriptor(), nullptr, nullptr, SOCK_CLOEXEC));
    if (request.Valid()) unanswered_.push_back(std::move(request));
    return;
  }
  listener_->ServeOne([this](std::uint32_t m, std::uint32_t w, std::uint32_t l) { return Handle(m, w, l); });
}

std::uint32_t QuitSignalWatcher::Handle(std::uint32_t message, std::uint32_t wParam, std::uint32_t lParam) {
  if (message != platform::kQuitProductMessage || wParam != 0 || lParam != 0 || behaviour_ == QuitBehaviour::Ignore) {
    return 0;
  }
  // Gone from the socket before the answer leaves, so the sender's next
  // look finds no product.
  notifier_.setEnabled(false);
  listener_->StopListening();
  QCoreApplication::quit();
  return 0;
}

}  // namespace ostrel::product
