// The packed setup as a person uses it: on a screen of its own (a virtual X
// server), the window found by its title, the Install button pressed by a
// click at its place on the screen; the product is installed and started and
// the setup ends.

#include <gtest/gtest.h>

#include <signal.h>
#include <stdlib.h>

#include <filesystem>

#include "setup/platform/RunningProductSignal.h"
#include "tests/setup/e2e/SandboxProcess.h"
#include "tests/support/XSession.h"

namespace ostrel::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The install button's middle in the window, where the skinned window and the
// plain one both have it: background at (8, 8), button at (120, 233), 160 x 50.
constexpr int kInstallX = 8 + 120 + 80;
constexpr int kInstallY = 8 + 233 + 25;

class InteractiveRun : public ::testing::Test {
 protected:
  InteractiveRun()
      : sandbox_(fs::path(OSTREL_E2E_SANDBOX) / ::testing::UnitTest::GetInstance()->current_test_info()->name()) {
    ::setenv("XDG_RUNTIME_DIR", (sandbox_.Root() / "runtime").c_str(), 1);
  }

  ~InteractiveRun() override {
    if (platform::IsProductRunning("Ostrel")) platform::SendQuitMessage("Ostrel", 2s);
  }

  fs::path Download() {
    const fs::path target = sandbox_.Root() / "download" / "OstrelSetup";
    fs::create_directories(target.parent_path());
    fs::copy_file(OSTREL_PACKED_SETUP, target, fs::copy_options::overwrite_existing);
    return target;
  }

  std::vector<std::string> OnScreen() const { return {x_.DisplayVariable(), "QT_QPA_PLATFORM=xcb"}; }

  test_support::XSession x_;
  Sandbox sandbox_;
};

TEST_F(InteractiveRun, AClickOnInstallInstallsStartsTheProductAndEndsTheSetup) {
  if (!x_.Ready()) GTEST_SKIP() << x_.Problem();
  SandboxProcess setup(sandbox_, Download(), {}, OnScreen(), sandbox_.Root() / "stderr.txt");
  ASSERT_TRUE(setup.Started());
  const auto window = x_.WaitForWindow("Install Ostrel", 30s);
  ASSERT_TRUE(window.has_value()) << "no window titled Install Ostrel";
  const auto place = x_.Geometry(*window);
  ASSERT_TRUE(place.has_value());
  EXPECT_EQ(place->Width, 656);
  EXPECT_EQ(place->Height, 376);
  EXPECT_EQ(place->X, (1024 - 656) / 2) << "centred";
  EXPECT_EQ(place->Y, (768 - 376) / 2) << "centred";

  const fs::path shot = sandbox_.Root() / "before-install.png";
  EXPECT_TRUE(x_.Screenshot(shot));
  EXPECT_GT(fs::exists(shot) ? fs::file_size(shot) : 0, 0u);

  ASSERT_TRUE(x_.Click(place->X + kInstallX, place->Y + kInstallY));
  EXPECT_EQ(setup.WaitForExit(60s), 0);
  const fs::path target = sandbox_.DataHome() / "Ostrel";
  EXPECT_TRUE(fs::exists(target / "Ostrel"));
  EXPECT_TRUE(fs::exists(target / "Uninstall"));
  ASSERT_TRUE(WaitUntil([] { return platform::IsProductRunning("Ostrel"); }, 20s)) << "the product never started";
  EXPECT_EQ(platform::SendQuitMessage("Ostrel", 5s), platform::QuitAnswer::Answered);
}

TEST_F(InteractiveRun, TheCloseButtonEndsTheSetupAndInstallsNothing) {
  if (!x_.Ready()) GTEST_SKIP() << x_.Problem();
  SandboxProcess setup(sandbox_, Download(), {}, OnScreen(), sandbox_.Root() / "stderr.txt");
  const auto window = x_.WaitForWindow("Install Ostrel", 30s);
  ASSERT_TRUE(window.has_value());
  const auto place = x_.Geometry(*window);
  ASSERT_TRUE(place.has_value());
  // The close button: (599, 8) on the background, 33 x 33.
  ASSERT_TRUE(x_.Click(place->X + 8 + 599 + 16, place->Y + 8 + 8 + 16));
  EXPECT_EQ(setup.WaitForExit(20s), 0);
  EXPECT_FALSE(fs::exists(sandbox_.DataHome() / "Ostrel"));
}

}  // namespace
}  // namespace ostrel::e2e
