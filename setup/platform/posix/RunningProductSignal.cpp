#include "setup/platform/RunningProductSignal.h"
#include "setup/platform/posix/ProductSocket.h"
#include "setup/platform/posix/UniqueFd.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <sys/un.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace ostrel::platform {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kRequestSize = 12;
constexpr std::size_t kAnswerSize = 4;

struct Address {
  sockaddr_un addr{};
  socklen_t length = 0;
};

Address MakeAddress(const ProductSocketName& name) {
  Address a;
  a.addr.sun_family = AF_UNIX;
  const std::size_t skip = name.abstract ? 1 : 0;
  std::memcpy(a.addr.sun_path + skip, name.name.data(), name.name.size());
  // A path needs its terminating zero inside sun_path; an abstract name is
  // exactly the bytes counted by the length.
  a.length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + skip + name.name.size() + (name.abstract ? 0 : 1));
  return a;
}

bool PeerIsSameUser(int fd) {
  ucred cred{};
  socklen_t length = sizeof cred;
  return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &length) == 0 && length == sizeof cred && cred.uid == ::getuid();
}

int RemainingMs(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left <= 0 ? 0 : static_cast<int>(std::min<long long>(left, 1 << 30));
}

// Waits for `events` on fd until the deadline; false on time-out or error.
bool WaitFor(int fd, short events, Clock::time_point deadline) {
  for (;;) {
    pollfd p{fd, events, 0};
    const int r = ::poll(&p, 1, RemainingMs(deadline));
    if (r < 0 && errno == EINTR) continue;
    return r > 0 && (p.revents & events) != 0;
  }
}

bool SendAll(int fd, const std::byte* data, std::size_t size, Clock::time_point deadline) {
  while (size > 0) {
    const ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
    if (n > 0) {
      data += n;
      size -= static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (!WaitFor(fd, POLLOUT, deadline)) return false;
    } else {
      return false;
    }
  }
  return true;
}

bool ReceiveAll(int fd, std::byte* data, std::size_t size, Clock::time_point deadline) {
  while (size > 0) {
    const ssize_t n = ::recv(fd, data, size, 0);
    if (n > 0) {
      data += n;
      size -= static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (!WaitFor(fd, POLLIN, deadline)) return false;
    } else {
      return false;
    }
  }
  return true;
}

void PutU32(std::byte* out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<std::byte>((v >> (8 * i)) & 0xFFu);
}

std::uint32_t GetU32(const std::byte* in) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(in[i]) << (8 * i);
  return v;
}

enum class Connect : std::uint8_t { Connected, Nobody, Busy };

Connect ConnectTo(const ProductSocketName& name, UniqueFd& out) {
  UniqueFd s(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
  if (s.Get() < 0) return Connect::Nobody;
  const Address a = MakeAddress(name);
  int r;
  do {
    r = ::connect(s.Get(), reinterpret_cast<const sockaddr*>(&a.addr), a.length);
  } while (r < 0 && errno == EINTR);
  // A local listener with a full backlog refuses with EAGAIN: it exists.
  if (r < 0) return errno == EAGAIN ? Connect::Busy : Connect::Nobody;
  if (!PeerIsSameUser(s.Get())) return Connect::Nobody;
  out.Reset(s.Release());
  return Connect::Connected;
}

}  // namespace

struct ProductSignalListener::Impl {
  int fd;
  ProductSocketName name;
};

ProductSocketName ProductSocketNameFor(std::string_view product) {
  const std::string base = std::string(product) + "-" + std::to_string(::getuid());
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] == '/') {
    std::string path = std::string(runtime) + "/" + base + ".sock";
    if (path.size() < sizeof(sockaddr_un::sun_path)) return {std::move(path), false};
  }
  return {base, true};
}

QuitAnswer SendQuitMessage(std::string_view product, std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  UniqueFd s;
  switch (ConnectTo(ProductSocketNameFor(product), s)) {
    case Connect::Nobody:
      return QuitAnswer::NotRunning;
    case Connect::Busy:
      return QuitAnswer::NoAnswer;
    case Connect::Connected:
      break;
  }
  std::array<std::byte, kRequestSize> request{};
  PutU32(request.data(), kQuitProductMessage);
  if (!SendAll(s.Get(), request.data(), request.size(), deadline)) return QuitAnswer::NoAnswer;
  std::array<std::byte, kAnswerSize> answer{};
  return ReceiveAll(s.Get(), answer.data(), answer.size(), deadline) ? QuitAnswer::Answered : QuitAnswer::NoAnswer;
}

bool IsProductRunning(std::string_view product) {
  UniqueFd s;
  return ConnectTo(ProductSocketNameFor(product), s) != Connect::Nobody;
}

std::unique_ptr<ProductSignalListener> ProductSignalListener::Listen(std::string_view product) {
  ProductSocketName name = ProductSocketNameFor(product);
  const Address a = MakeAddress(name);
  UniqueFd s(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
  if (s.Get() < 0) return nullptr;
  auto bind = [&] { return ::bind(s.Get(), reinterpret_cast<const sockaddr*>(&a.addr), a.length) == 0; };
  if (!bind()) {
    if (errno != EADDRINUSE || name.abstract) return nullptr;
    UniqueFd probe;
    if (ConnectTo(name, probe) != Connect::Nobody) return nullptr;
    // Nobody answers on it: a socket file left by an instance that crashed.
    ::unlink(name.name.c_str());
    if (!bind()) return nullptr;
  }
  if (::listen(s.Get(), 8) != 0) {
    if (!name.abstract) ::unlink(name.name.c_str());
    return nullptr;
  }
  return std::unique_ptr<ProductSignalListener>(
      new ProductSignalListener(std::make_unique<Impl>(Impl{s.Release(), std::move(name)})));
}

ProductSignalListener::ProductSignalListener(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

ProductSignalListener::~ProductSignalListener() { StopListening(); }

int ProductSignalListener::Descriptor() const { return impl_->fd; }

void ProductSignalListener::StopListening() {
  if (impl_->fd < 0) return;
  if (!impl_->name.abstract) ::unlink(impl_->name.name.c_str());
  ::close(impl_->fd);
  impl_->fd = -1;
}

bool ProductSignalListener::ServeOne(const Handler& handler, std::chrono::milliseconds readTimeout) {
  if (impl_->fd < 0) return false;
  UniqueFd c(::accept4(impl_->fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
  if (c.Get() < 0) return false;
  if (!PeerIsSameUser(c.Get())) return true;
  const auto deadline = Clock::now() + readTimeout;
  std::array<std::byte, kRequestSize> request{};
  if (!ReceiveAll(c.Get(), request.data(), request.size(), deadline)) return true;
  const std::uint32_t result = handler(GetU32(request.data()), GetU32(request.data() + 4), GetU32(request.data() + 8));
  std::array<std::byte, kAnswerSize> answer{};
  PutU32(answer.data(), result);
  SendAll(c.Get(), answer.data(), answer.size(), Clock::now() + readTimeout);
  return true;
}

}  // namespace ostrel::platform
