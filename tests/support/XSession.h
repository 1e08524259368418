#pragma once
// A virtual X server of its own for tests that need a screen and a user: it
// runs Xvfb on a free display, then works it as a person would with xdotool
// (find a window by its title, click, drag, press keys) and takes pictures of
// the screen with ImageMagick's import. No window manager runs, so windows
// have no frames and nothing moves a window but the program itself.
//
// Every helper program is started with its words as an argument vector and
// waited for with a bound; a session that could not start says why in
// Problem() and its tests skip.

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

namespace test_support {

struct ScreenRect {
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;
};

class XSession {
 public:
  explicit XSession(int AWidth = 1024, int AHeight = 768);
  ~XSession();
  XSession(const XSession&) = delete;
  XSession& operator=(const XSession&) = delete;

  bool Ready() const { return FProblem.empty(); }
  // Why the session could not start: a missing program or a server that failed.
  const std::string& Problem() const { return FProblem; }
  // ":N", and "DISPLAY=:N" for a child's environment.
  std::string Display() const { return ":" + std::to_string(FDisplay); }
  std::string DisplayVariable() const { return "DISPLAY=" + Display(); }

  // The first window shown whose title is exactly ATitle, once one is.
  std::optional<unsigned long> WaitForWindow(const std::string& ATitle, std::chrono::milliseconds ALimit);
  // A window's place on the screen; nothing once it is gone.
  std::optional<ScreenRect> Geometry(unsigned long AWindow);
  // Whether the window is still there and shown.
  bool IsShown(unsigned long AWindow);

  // The pointer: move there and click (button 1 left, 2 middle, 3 right).
  bool Click(int AX, int AY, int AButton = 1);
  // Press at the start, move there in a few steps, release at the end.
  bool Drag(int AFromX, int AFromY, int AToX, int AToY, int AButton = 1);
  // Key names as xdotool knows them: "Tab", "space", "Return", "shift+Tab".
  bool Key(const std::string& AKey);

  // The whole screen as a PNG file.
  bool Screenshot(const std::filesystem::path& APng);

  // Runs a program with DISPLAY set to this session; its standard output, or
  // nothing when it failed or ran past ALimit.
  std::optional<std::string> Run(const std::vector<std::string>& AArgs,
                                 std::chrono::milliseconds ALimit = std::chrono::seconds(20));

 private:
  pid_t FServer = -1;
  int FDisplay = -1;
  std::string FProblem;
};

}  // namespace test_support
