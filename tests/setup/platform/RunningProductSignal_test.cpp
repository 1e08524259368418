#include "setup/platform/RunningProductSignal.h"
#include "setup/platform/posix/ProductSocket.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using ostrel::platform::IsProductRunning;
using ostrel::platform::ProductSignalListener;
using ostrel::platform::ProductSocketNameFor;
using ostrel::platform::QuitAnswer;
using ostrel::platform::SendQuitMessage;

// Sets or clears XDG_RUNTIME_DIR for one test and restores it after.
class RuntimeDir {
 public:
  explicit RuntimeDir(std::optional<std::string> value) {
    if (const char* old = std::getenv("XDG_RUNTIME_DIR")) old_ = old;
    if (value) {
      ::setenv("XDG_RUNTIME_DIR", value->c_str(), 1);
    } else {
      ::unsetenv("XDG_RUNTIME_DIR");
    }
  }
  ~RuntimeDir() {
    if (old_) {
      ::setenv("XDG_RUNTIME_DIR", old_->c_str(), 1);
    } else {
      ::unsetenv("XDG_RUNTIME_DIR");
    }
  }

 private:
  std::optional<std::string> old_;
};

class TempDir {
 public:
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "ostrel-sig-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// A product name of this test process alone, so parallel runs and a real
// product of the same user never meet in the abstract namespace.
std::string TestProduct() { return "OstrelTest" + std::to_string(::getpid()); }

TEST(ProductSocketNameTest, FollowsTheRuntimeFolderOrFallsBackToTheAbstractNamespace) {
  const std::string uid = std::to_string(::getuid());
  struct Case {
    std::optional<std::string> runtime;
    std::string name;
    bool abstract;
  };
  const std::string longDir = "/" + std::string(120, 'd');
  const std::vector<Case> cases = {
      {"/run/user/1000", "/run/user/1000/Ostrel-" + uid + ".sock", false},
      {std::nullopt, "Ostrel-" + uid, true},
      {"relative/dir", "Ostrel-" + uid, true},
      {"", "Ostrel-" + uid, true},
      {longDir, "Ostrel-" + uid, true},
  };
  for (const Case& c : cases) {
    RuntimeDir env(c.runtime);
    const auto name = ProductSocketNameFor("Ostrel");
    EXPECT_EQ(name.name, c.name) << c.runtime.value_or("(unset)");
    EXPECT_EQ(name.abstract, c.abstract) << c.runtime.value_or("(unset)");
  }
}

// Serves the listener on a thread the way the product's event loop does.
class ServedListener {
 public:
  ServedListener(std::unique_ptr<ProductSignalListener> listener, bool honourQuit)
      : listener_(std::move(listener)), thread_([this, honourQuit] {
          while (!stop_) {
            pollfd p{listener_->Descriptor(), POLLIN, 0};
            if (p.fd < 0) return;
            if (::poll(&p, 1, 20) <= 0) continue;
            listener_->ServeOne([&](std::uint32_t m, std::uint32_t w, std::uint32_t l) {
              received_.push_back({m, w, l});
              if (honourQuit && m == 1027) listener_->StopListening();
              return 0u;
            });
          }
        }) {}
  ~ServedListener() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  std::vector<std::array<std::uint32_t, 3>> Received() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    return received_;
  }

 private:
  std::unique_ptr<ProductSignalListener> listener_;
  std::atomic<bool> stop_{false};
  std::vector<std::array<std::uint32_t, 3>> received_;
  std::thread thread_;
};

class SignalTest : public testing::TestWithParam<bool> {
 protected:
  SignalTest() : env_(GetParam() ? std::optional<std::string>(dir_.Path()) : std::nullopt) {}
  TempDir dir_;
  RuntimeDir env_;
  const std::string product_ = TestProduct();
};

TEST_P(SignalTest, NobodyListeningMeansNotRunning) {
  EXPECT_FALSE(IsProductRunning(product_));
  EXPECT_EQ(SendQuitMessage(product_, 1s), QuitAnswer::NotRunning);
}

TEST_P(SignalTest, HonouredQuitIsAnsweredAndTheSocketIsGoneAtOnce) {
  auto listener = ProductSignalListener::Listen(product_);
  ASSERT_TRUE(listener);
  EXPECT_TRUE(IsProductRunning(product_));
  EXPECT_FALSE(ProductSignalListener::Listen(product_)) << "a second instance must not take over";
  ServedListener served(std::move(listener), true);

  EXPECT_EQ(SendQuitMessage(product_, 5s), QuitAnswer::Answered);
  EXPECT_FALSE(IsProductRunning(product_));
  EXPECT_EQ(SendQuitMessage(product_, 1s), QuitAnswer::NotRunning);
  EXPECT_TRUE(fs::is_empty(dir_.Path())) << "socket file left behind";
  const auto received = served.Received();
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0], (std::array<std::uint32_t, 3>{1027, 0, 0}));
}

TEST_P(SignalTest, IgnoredQuitIsAnsweredEveryTimeAndTheProductStays) {
  auto listener = ProductSignalListener::Listen(product_);
  ASSERT_TRUE(listener);
  ServedListener served(std::move(listener), false);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(SendQuitMessage(product_, 5s), QuitAnswer::Answered);
  EXPECT_TRUE(IsProductRunning(product_));
  EXPECT_EQ(served.Received().size(), 3u);
}

TEST_P(SignalTest, ListenerThatNeverServesGivesNoAnswerWithinTheBound) {
  const auto listener = ProductSignalListener::Listen(product_);
  ASSERT_TRUE(listener);
  EXPECT_EQ(SendQuitMessage(product_, 200ms), QuitAnswer::NoAnswer);
}

TEST_P(SignalTest, SilentClientCannotStallTheProduct) {
  const auto listener = ProductSignalListener::Listen(product_);
  ASSERT_TRUE(listener);
  const auto name = ProductSocketNameFor(product_);
  const int client = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  const std::size_t skip = name.abstract ? 1 : 0;
  std::copy(name.name.begin(), name.name.end(), addr.sun_path + skip);
  const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + skip + name.name.size() + (name.abstract ? 0 : 1));
  ASSERT_EQ(::connect(client, reinterpret_cast<sockaddr*>(&addr), length), 0);
  bool called = false;
  EXPECT_TRUE(listener->ServeOne([&](std::uint32_t, std::uint32_t, std::uint32_t) {
    called = true;
    return 0u;
  }, 100ms));
  EXPECT_FALSE(called);
  EXPECT_FALSE(listener->ServeOne([](std::uint32_t, std::uint32_t, std::uint32_t) { return 0u; })) << "nothing left to serve";
  ::close(client);
}

INSTANTIATE_TEST_SUITE_P(Names, SignalTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) { return info.param ? "RuntimeFolder" : "AbstractNamespace"; });

TEST(ProductSignalListenerTest, ReplacesASocketFileLeftByACrashedInstance) {
  TempDir dir;
  RuntimeDir env(dir.Path());
  const std::string product = TestProduct();
  const auto name = ProductSocketNameFor(product);
  ASSERT_FALSE(name.abstract);
  {
    // Bound and closed without removing the file, as a killed product leaves it.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::copy(name.name.begin(), name.name.end(), addr.sun_path);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ::listen(fd, 1);
    ::close(fd);
  }
  ASSERT_TRUE(fs::exists(name.name));
  EXPECT_FALSE(IsProductRunning(product));
  EXPECT_EQ(SendQuitMessage(product, 1s), QuitAnswer::NotRunning);

  {
    const auto listener = ProductSignalListener::Listen(product);
    ASSERT_TRUE(listener);
    EXPECT_TRUE(IsProductRunning(product));
  }
  EXPECT_FALSE(fs::exists(name.name)) << "the listener removes its socket file when it ends";
}

}  // namespace
