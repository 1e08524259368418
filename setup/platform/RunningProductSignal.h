#pragma once
// The signal between the setup and its running product. While the product
// runs it keeps a rendezvous named after itself; the uninstaller sends
// message 1027 with both parameters 0 there, and the product answers once it
// has handled the message. A product that honours the message gives up the
// rendezvous before it answers, so "nobody there" means "the product is gone".
//
// Windows: a named file mapping "<product>" whose first 4 bytes hold the
// handle of a window of the product, which gets the message sent to it.
// POSIX: a Unix-domain socket (posix/ProductSocket.h); request u32 message,
// u32 wParam, u32 lParam, answer u32 result, little-endian. Either way both
// ends deal only with a peer of the same user.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

namespace ostrel::platform {

inline constexpr std::uint32_t kQuitProductMessage = 1027;

enum class QuitAnswer : std::uint8_t {
  NotRunning,  // nobody listens: the product is gone
  Answered,    // the product handled the message
  NoAnswer,    // connected, but no answer came within the time limit
};

// Sends message 1027 and waits for the answer at most `timeout`.
QuitAnswer SendQuitMessage(std::string_view product, std::chrono::milliseconds timeout);

// True while a process of this user keeps the product's rendezvous.
bool IsProductRunning(std::string_view product);

// The product's end. Owns the rendezvous (the socket and its file, or the
// mapping and the window): it goes away with the object or with
// StopListening.
class ProductSignalListener {
 public:
  using Handler = std::function<std::uint32_t(std::uint32_t message, std::uint32_t wParam, std::uint32_t lParam)>;

  // Nothing when another instance already listens or the rendezvous cannot
  // be made. A socket file left by a crashed instance is replaced. On
  // Windows the window belongs to the calling thread, which serves it.
  static std::unique_ptr<ProductSignalListener> Listen(std::string_view product);

  ~ProductSignalListener();
  ProductSignalListener(const ProductSignalListener&) = delete;
  ProductSignalListener& operator=(const ProductSignalListener&) = delete;

  // POSIX: the descriptor an event loop's read notifier watches; -1 after
  // StopListening, and always -1 on Windows, where requests come as window
  // messages to the thread that listens.
  int Descriptor() const;

  // POSIX: accepts one waiting connection, reads its request (bounded by
  // `readTimeout`, so a silent client cannot stall the caller), runs the
  // handler and sends its result. Windows: waits up to `readTimeout` for a
  // request to the listener's window and hands it to the handler; the
  // handler's result is the answer. False when there was nothing to serve.
  bool ServeOne(const Handler& handler, std::chrono::milliseconds readTimeout = std::chrono::milliseconds(500));

  void StopListening();

 private:
  struct Impl;
  explicit ProductSignalListener(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace ostrel::platform
