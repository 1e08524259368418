// The packed setup as a person uses it: on a screen of its own (a virtual X
// server), the window found by its title and known for the skinned window by
// what it shows (the accent-blue Install button the intro brings in), worked
// with synthetic pointer and key input at its places on the screen. A click on
// Install installs and starts the product and ends the setup; the keyboard
// alone does the same; the close button ends the setup and installs nothing;
// the window moves with a drag from its background and not with one that
// starts on the Install button once the install has disabled it; before the
// intro shows the button, its place is background.

#include <gtest/gtest.h>

#include <signal.h>
#include <stdlib.h>

#include <QColor>
#include <QImage>

#include <filesystem>
#include <fstream>

#include "setup/platform/RunningProductSignal.h"
#include "tests/setup/e2e/SandboxProcess.h"
#include "tests/support/XSession.h"

namespace ostrel::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test_support::ScreenRect;

// Places in the window once the intro has ended: the background at (8, 8),
// the controls' panel at its top, the Install button at (120, 233) on it,
// 160 x 50, filled with the accent colour; the close button at (599, 8) on
// the background, 33 x 33.
constexpr int kInstallX = 8 + 120 + 80;
constexpr int kInstallY = 8 + 233 + 25;
constexpr int kInstallFillX = 8 + 120 + 8;  // inside the edge, clear of the caption
constexpr int kInstallFillY = 8 + 233 + 8;
constexpr QRgb kAccent = 0xFF0092CA;
constexpr int kCloseX = 8 + 599 + 16;
constexpr int kCloseY = 8 + 8 + 16;
constexpr int kBackgroundX = 40;
constexpr int kBackgroundY = 40;

bool Near(QRgb AColor, QRgb AExpected) {
  return std::abs(qRed(AColor) - qRed(AExpected)) <= 6 && std::abs(qGreen(AColor) - qGreen(AExpected)) <= 6 &&
         std::abs(qBlue(AColor) - qBlue(AExpected)) <= 6;
}

class InteractiveRun : public ::testing::Test {
 protected:
  InteractiveRun()
      : sandbox_(fs::path(OSTREL_E2E_SANDBOX) / ::testing::UnitTest::GetInstance()->current_test_info()->name()) {
    ::setenv("XDG_RUNTIME_DIR", (sandbox_.Root() / "runtime").c_str(), 1);
  }

  ~InteractiveRun() override {
    if (platform::IsProductRunning("Ostrel")) platform::SendQuitMessage("Ostrel", 2s);
  }

  fs::path Download(const fs::path& APacked = OSTREL_PACKED_SETUP) {
    const fs::path target = sandbox_.Root() / "download" / "OstrelSetup";
    fs::create_directories(target.parent_path());
    fs::copy_file(APacked, target, fs::copy_options::overwrite_existing);
    return target;
  }

  std::vector<std::string> OnScreen() const { return {x_.DisplayVariable(), "QT_QPA_PLATFORM=xcb"}; }

  // The window, once shown, centred and of its size.
  std::optional<std::pair<unsigned long, ScreenRect>> ShownWindow() {
    const auto window = x_.WaitForWindow("Install Ostrel", 30s);
    if (!window) {
      ADD_FAILURE() << "no window titled Install Ostrel";
      return std::nullopt;
    }
    const auto place = x_.Geometry(*window);
    if (!place) {
      ADD_FAILURE() << "the window has no place";
      return std::nullopt;
    }
    EXPECT_EQ(place->Width, 656);
    EXPECT_EQ(place->Height, 376);
    return std::make_pair(*window, *place);
  }

  // The screen's colour at a point, from a fresh screenshot.
  std::optional<QRgb> ScreenPixel(int AX, int AY) {
    const fs::path shot = sandbox_.Root() / "screen.png";
    if (!x_.Screenshot(shot)) return std::nullopt;
    const QImage image(QString::fromStdString(shot.string()));
    if (image.isNull() || !image.rect().contains(AX, AY)) return std::nullopt;
    return image.pixel(AX, AY);
  }

  // Waits until the intro has faded in the Install button: its accent fill
  // over the background's dark ground.
  bool WaitForInstallButton(const ScreenRect& APlace) {
    return WaitUntil(
        [&] {
          const auto pixel = ScreenPixel(APlace.X + kInstallFillX, APlace.Y + kInstallFillY);
          return pixel && Near(*pixel, kAccent);
        },
        30s);
  }

  // Waits until the window has painted its background: the window system may
  // name a window before it takes the pointer.
  bool WaitForBackground(const ScreenRect& APlace) {
    return WaitUntil(
        [&] {
          const auto pixel = ScreenPixel(APlace.X + kBackgroundX, APlace.Y + kBackgroundY);
          return pixel && qGray(*pixel) > 0;
        },
        30s);
  }

  // Waits until the window stands at AX, AY.
  bool WaitForPlace(unsigned long AWindow, int AX, int AY) {
    return WaitUntil(
        [&] {
          const auto place = x_.Geometry(AWindow);
          return place && place->X == AX && place->Y == AY;
        },
        10s);
  }

  void ExpectInstalledAndStarted() {
    const fs::path target = sandbox_.DataHome() / "Ostrel";
    EXPECT_TRUE(fs::exists(target / "Ostrel"));
    EXPECT_TRUE(fs::exists(target / "Uninstall"));
    ASSERT_TRUE(WaitUntil([] { return platform::IsProductRunning("Ostrel"); }, 20s)) << "the product never started";
    EXPECT_EQ(platform::SendQuitMessage("Ostrel", 5s), platform::QuitAnswer::Answered);
  }

  test_support::XSession x_;
  Sandbox sandbox_;
};

TEST_F(InteractiveRun, AClickOnInstallInstallsStartsTheProductAndEndsTheSetup) {
  if (!x_.Ready()) GTEST_SKIP() << x_.Problem();
  SandboxProcess setup(sandbox_, Download(), {}, OnScreen(), sandbox_.Root() / "stderr.txt");
  ASSERT_TRUE(setup.Started());
  const auto shown = ShownWindow();
  ASSERT_TRUE(shown.has_value());
  const ScreenRect place = shown->second;
  EXPECT_EQ(place.X, (1024 - 656) / 2) << "centred";
  EXPECT_EQ(place.Y, (768 - 376) / 2) << "centred";
  ASSERT_TRUE(WaitForInstallButton(place)) << "the skinned window's Install button never showed";

  ASSERT_TRUE(x_.Click(place.X + kInstallX, place.Y + kInstallY));
  EXPECT_EQ(setup.WaitForExit(60s), 0);
  ExpectInstalledAndStarted();
}

TEST_F(InteractiveRun, TheKeyboardAloneInstalls) {
  if (!x_.Ready()) GTEST_SKIP() << x_.Problem();
  SandboxProcess setup(sandbox_, Download(), {}, OnScreen(), sandbox_.Root() / "stderr.txt");
  const auto shown = ShownWindow();
  ASSERT_TRUE(shown.has_value());
  ASSERT_TRUE(WaitForInstallButton(shown->second));
  // No window manager gives the window the keyboard; the test does.
  ASSERT_TRUE(x_.Run({"xdotool", "windowfocus", "--sync", std::to_string(shown->first)}).has_value());
  // Tab reads the window from the top: the close button, then Install.
  ASSERT_TRUE(x_.Key("Tab"));
  ASSERT_TRUE(x_.Key("Tab"));
  ASSERT_TRUE(x_.Key("Return"));
  EXPECT_EQ(setup.WaitForExit(60s), 0);
  ExpectInstalledAndStarted();
}

// The intro keeps the Install button faded out for its first six seconds:
// a press there lands on the background, which moves the window and installs
// nothing, as a user who sees only the background expects.
TEST_F(InteractiveRun, BeforeTheIntroShowsInstallItsPlaceIsBackground) {
  if (!x_.Ready()) GTEST_SKIP() << x_.Problem();
  SandboxProcess setup(sandbox_, Download(), {}, OnScreen(), sandbox_.Root() / "stderr.txt");
  const auto shown = ShownWindow();
  ASSERT_TRUE(shown.has_value());
  const unsigned long window = shown->first;
  ScreenRect place = shown->second;
  ASSERT_TRUE(WaitForBackground(place));
  ASSERT_TRUE(x_.Click(place.X + kInstallX, place.Y + kInstallY));
  // Elsewhere on the button: a pointer asked to move where it already is
  // keeps xdotool waiting for a move that never comes.
  ASSERT_TRUE(x_.Drag(place.X + kInstallFillX, place.Y + kInstallFillY, place.X + kInstallFillX + 80,
                      place.Y + kInstallFillY + 40));
  ASSERT_TRUE(WaitForPlace(window, place.X + 80, place.Y + 40)) << "a drag from the faded-out button moved nothing";
  place.X += 80;
  place.Y += 40;

  ASSERT_TRUE(WaitForInstallButton(place));
  EXPECT_EQ(setup.WaitForExit(0s), std::nullopt) << "the setup ended without being asked";
  EXPECT_FALSE(fs::exists(sandbox_.DataHome() / "Ostrel"));
  ASSERT_TRUE(x_.Click(place.X + kCloseX, place.Y + kCloseY));
  EXPECT_EQ(setup.WaitForExit(20s), 0);
}

TEST_F(InteractiveRun, TheCloseButtonEndsTheSetupAndInstallsNothing) {
  if (!x_.Ready()) GTEST_SKIP() << x_.Problem();
  SandboxProcess setup(sandbox_, Download(), {}, OnScreen(), sandbox_.Root() / "stderr.txt");
  const auto shown = ShownWindow();
  ASSERT_TRUE(shown.has_value());
  const ScreenRect place = shown->second;
  ASSERT_TRUE(WaitForInstallButton(place));
  ASSERT_TRUE(x_.Click(place.X + kCloseX, place.Y + kCloseY));
  EXPECT_EQ(setup.WaitForExit(20s), 0);
  EXPECT_FALSE(fs::exists(sandbox_.DataHome() / "Ostrel"));
}

// The install is held open by an extractor that waits for the test, so the
// window stays with its inputs disabled for as long as the test needs.
TEST_F(InteractiveRun, TheBackgroundDragsTheWindowAndTheDisabledInstallButtonDoesNot) {
  if (!x_.Ready()) GTEST_SKIP() << x_.Problem();
  const fs::path started = sandbox_.Root() / "extractor-started";
  const fs::path gate = sandbox_.Root() / "extractor-gate";
  std::vector<std::string> environment = OnScreen();
  environment.push_back("OSTREL_TEST_EXTRACTOR_STARTED=" + started.string());
  environment.push_back("OSTREL_TEST_EXTRACTOR_GATE=" + gate.string());
  environment.push_back(std::string("OSTREL_TEST_REAL_EXTRACTOR=") + OSTREL_REAL_EXTRACTOR);
  SandboxProcess setup(sandbox_, Download(OSTREL_PACKED_SETUP_GATED), {}, environment,
                       sandbox_.Root() / "stderr.txt");
  const auto shown = ShownWindow();
  ASSERT_TRUE(shown.has_value());
  const unsigned long window = shown->first;
  ScreenRect place = shown->second;
  ASSERT_TRUE(WaitForInstallButton(place));

  // From the background: the window follows.
  ASSERT_TRUE(x_.Drag(place.X + kBackgroundX, place.Y + kBackgroundY, place.X + kBackgroundX + 100,
                      place.Y + kBackgroundY + 60));
  ASSERT_TRUE(WaitForPlace(window, place.X + 100, place.Y + 60)) << "a drag from the background moved nothing";
  place.X += 100;
  place.Y += 60;

  // The install starts and disables the button.
  ASSERT_TRUE(x_.Click(place.X + kInstallX, place.Y + kInstallY));
  ASSERT_TRUE(WaitUntil([&] { return fs::exists(started); }, 30s)) << "the install never started";

  // From the disabled button: nothing moves. The drag from the background
  // after it proves the first was seen and ignored: the window ends where
  // the second alone takes it.
  ASSERT_TRUE(x_.Drag(place.X + kInstallX, place.Y + kInstallY, place.X + kInstallX + 120, place.Y + kInstallY + 80));
  ASSERT_TRUE(x_.Drag(place.X + kBackgroundX, place.Y + kBackgroundY, place.X + kBackgroundX - 50,
                      place.Y + kBackgroundY - 30));
  EXPECT_TRUE(WaitForPlace(window, place.X - 50, place.Y - 30))
      << "the window is at " << x_.Geometry(window).value_or(ScreenRect{}).X << ", "
      << x_.Geometry(window).value_or(ScreenRect{}).Y;
  EXPECT_EQ(setup.WaitForExit(0s), std::nullopt) << "the setup waits for its extractor";

  std::ofstream(gate).put('\n');
  EXPECT_EQ(setup.WaitForExit(60s), 0);
  ExpectInstalledAndStarted();
}

}  // namespace
}  // namespace ostrel::e2e
