#pragma once
// The signal between the setup and its running product. While the product
// runs it listens on a Unix-domain socket named after the product and the
// user; the uninstaller connects and sends message 1027 with both
// parameters 0, and the product answers once it has handled the message.
// A product that honours the message stops listening before it answers,
// so "no one listening" means "the product is gone".
//
// Wire format, little-endian: request u32 message, u32 wParam, u32 lParam;
// answer u32 result. Both ends accept only a peer of the same user.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ostrel::platform {

inline constexpr std::uint32_t kQuitProductMessage = 1027;

struct ProductSocketName {
  // A file system path, or a name in the abstract namespace (no file).
  std::string name;
  bool abstract = false;
};

// "<product>-<uid>.sock" in $XDG_RUNTIME_DIR; "<product>-<uid>" in the
// abstract namespace when that is unset, not absolute, or too long for a
// socket address.
ProductSocketName ProductSocketNameFor(std::string_view product);

enum class QuitAnswer : std::uint8_t {
  NotRunning,  // nobody listens: the product is gone
  Answered,    // the product handled the message
  NoAnswer,    // connected, but no answer came within the time limit
};

// Sends message 1027 and waits for the answer at most `timeout`.
QuitAnswer SendQuitMessage(std::string_view product, std::chrono::milliseconds timeout);

// True while a process of this user listens on the product's socket.
bool IsProductRunning(std::string_view product);

// The product's end. Owns the listening socket and, for a path name, the
// socket file: both go away with the object or with StopListening.
class ProductSignalListener {
 public:
  using Handler = std::function<std::uint32_t(std::uint32_t message, std::uint32_t wParam, std::uint32_t lParam)>;

  // Nothing when another instance already listens or the socket cannot be
  // made. A socket file left by a crashed instance is replaced.
  static std::unique_ptr<ProductSignalListener> Listen(std::string_view product);

  ~ProductSignalListener();
  ProductSignalListener(const ProductSignalListener&) = delete;
  ProductSignalListener& operator=(const ProductSignalListener&) = delete;

  // For an event loop's read notifier; -1 after StopListening.
  int Descriptor() const { return fd_; }

  // Accepts one waiting connection, reads its request (bounded by
  // `readTimeout`, so a silent client cannot stall the caller), runs the
  // handler and sends its result. False when there was nothing to serve.
  bool ServeOne(const Handler& handler, std::chrono::milliseconds readTimeout = std::chrono::milliseconds(500));

  void StopListening();

 private:
  ProductSignalListener(int fd, ProductSocketName name) : fd_(fd), name_(std::move(name)) {}
  int fd_;
  ProductSocketName name_;
};

}  // namespace ostrel::platform
