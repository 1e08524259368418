// The host demo's window on a controllable clock and on a real screen: its
// intro stopped at fixed moments and held to reference pictures, and its
// window dragged by the background on an X server without a window manager.

#include "examples/host_demo/DemoForm.h"
#include "skin/host/FormReader.h"
#include "skin/host/FrameClock.h"
#include "tests/support/ReferenceImage.h"
#include "tests/support/XSession.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <chrono>
#include <thread>

namespace {

using namespace std::chrono_literals;

QApplication& App() {
  static int argc = 1;
  static char name[] = "host_demo_intro_test";
  static char* argv[] = {name, nullptr};
  static QApplication* const app = new QApplication(argc, argv);
  return *app;
}

TEST(HostDemoScreenshot, TheIntroAtFixedMomentsLooksAsItsReferences) {
  App();
  RegisterDemoClasses();
  ostrel::host::ManualFrameClock clock;
  const ostrel::host::ScopedFrameClock useClock(clock);
  TDemoForm form;
  ostrel::host::ReadComponentInto(form, QString::fromUtf8(kDemoFormText));
  // The box fades in over 0.6 s and slides from 0.2 s to 1 s.
  for (const auto& [time, name] : {std::pair{0.1, "host-demo-intro-0.1s"}, std::pair{0.5, "host-demo-intro-0.5s"},
                                   std::pair{1.2, "host-demo-intro-1.2s"}}) {
    clock.Run(time - clock.Now());
    EXPECT_TRUE(test_support::MatchesReference(form.RenderToImage(), QString::fromLatin1(name)));
  }
}

TEST(HostDemoOnScreen, DraggingTheBackgroundMovesTheWindowAndTheCloseBoxEndsIt) {
  test_support::XSession x;
  if (!x.Ready()) GTEST_SKIP() << x.Problem();
  // The demo runs as the child of a helper that knows where it is: the session's runner.
  std::optional<std::string> finished;
  std::thread demo([&] {
    finished = x.Run({"env", "QT_QPA_PLATFORM=xcb", HOST_DEMO_PATH}, 60s);
  });
  const auto window = x.WaitForWindow("Host demo", 30s);
  ASSERT_TRUE(window.has_value());
  const auto before = x.Geometry(*window);
  ASSERT_TRUE(before.has_value());
  // Background at (10, 10) in the window; the moving box lies lower.
  ASSERT_TRUE(x.Drag(before->X + 150, before->Y + 30, before->X + 250, before->Y + 80));
  const auto after = x.Geometry(*window);
  ASSERT_TRUE(after.has_value());
  EXPECT_EQ(after->X - before->X, 100);
  EXPECT_EQ(after->Y - before->Y, 50);
  // The close box (276, 4) on the background, 20 x 20.
  ASSERT_TRUE(x.Click(after->X + 10 + 286, after->Y + 10 + 14));
  demo.join();
  EXPECT_TRUE(finished.has_value()) << "the demo did not end";
}

}  // namespace
