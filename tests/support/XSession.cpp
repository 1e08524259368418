#include "tests/support/XSession.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>
#include <thread>

extern char** environ;

namespace test_support {

namespace {

using Clock = std::chrono::steady_clock;

bool OnPath(const std::string& AProgram) {
  const char* path = std::getenv("PATH");
  std::stringstream folders(path != nullptr ? path : "/usr/bin:/bin");
  for (std::string folder; std::getline(folders, folder, ':');) {
    if (::access((std::filesystem::path(folder) / AProgram).c_str(), X_OK) == 0) return true;
  }
  return false;
}

std::vector<char*> Pointers(std::vector<std::string>& AStrings) {
  std::vector<char*> pointers;
  for (std::string& s : AStrings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

// This process's environment with DISPLAY replaced.
std::vector<std::string> EnvironmentWith(const std::string& ADisplayVariable) {
  std::vector<std::string> entries;
  for (char** e = environ; *e != nullptr; ++e) {
    if (std::string_view(*e).starts_with("DISPLAY=")) continue;
    entries.emplace_back(*e);
  }
  entries.push_back(ADisplayVariable);
  return entries;
}

// Reads what is ready on AFd until the end or the deadline.
bool ReadUntilEnd(int AFd, std::string& AOut, Clock::time_point ADeadline) {
  char buffer[4096];
  while (true) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(ADeadline - Clock::now()).count();
    if (left <= 0) return false;
    pollfd p{AFd, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left)) <= 0) continue;
    const ssize_t n = ::read(AFd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return true;
    AOut.append(buffer, static_cast<std::size_t>(n));
  }
}

}  // namespace

XSession::XSession(int AWidth, int AHeight) {
  for (const char* program : {"Xvfb", "xdotool", "import"}) {
    if (!OnPath(program)) {
      FProblem = std::string(program) + " is not installed (scripts/install-deps.sh installs it)";
      return;
    }
  }
  // The server writes the display it found free to this pipe.
  int fds[2];
  if (::pipe(fds) != 0) {
    FProblem = "no pipe for the X server";
    return;
  }
  ::fcntl(fds[0], F_SETFD, FD_CLOEXEC);
  std::vector<std::string> args = {"Xvfb",         "-displayfd", std::to_string(fds[1]), "-screen", "0",
                                   std::to_string(AWidth) + "x" + std::to_string(AHeight) + "x24",
                                   "-nolisten",    "tcp",        "-noreset"};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv = Pointers(args);
  const int spawned = ::posix_spawnp(&FServer, "Xvfb", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(fds[1]);
  if (spawned != 0) {
    ::close(fds[0]);
    FServer = -1;
    FProblem = "Xvfb could not be started";
    return;
  }
  std::string number;
  ReadUntilEnd(fds[0], number, Clock::now() + std::chrono::seconds(20));
  ::close(fds[0]);
  try {
    FDisplay = std::stoi(number);
  } catch (const std::exception&) {
    FProblem = "Xvfb named no display";
  }
}

XSession::~XSession() {
  if (FServer <= 0) return;
  ::kill(FServer, SIGTERM);
  int status = 0;
  const auto deadline = Clock::now() + std::chrono::seconds(5);
  while (::waitpid(FServer, &status, WNOHANG) == 0) {
    if (Clock::now() > deadline) {
      ::kill(FServer, SIGKILL);
      ::waitpid(FServer, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

std::optional<std::string> XSession::Run(const std::vector<std::string>& AArgs, std::chrono::milliseconds ALimit) {
  if (!Ready() || AArgs.empty()) return std::nullopt;
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return std::nullopt;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<std::string> args = AArgs;
  std::vector<char*> argv = Pointers(args);
  std::vector<std::string> environment = EnvironmentWith(DisplayVariable());
  std::vector<char*> envp = Pointers(environment);
  pid_t child = -1;
  const int spawned = ::posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(fds[1]);
  if (spawned != 0) {
    ::close(fds[0]);
    return std::nullopt;
  }
  std::string output;
  const bool ended = ReadUntilEnd(fds[0], output, Clock::now() + ALimit);
  ::close(fds[0]);
  if (!ended) ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!ended || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return output;
}

std::optional<unsigned long> XSession::WaitForWindow(const std::string& ATitle, std::chrono::milliseconds ALimit) {
  // The pattern is a regular expression; anchored and escaped, it is the title.
  std::string pattern = "^";
  for (const char c : ATitle) {
    if (std::string_view("\\^$.|?*+()[]{}").find(c) != std::string_view::npos) pattern += '\\';
    pattern += c;
  }
  pattern += '$';
  const auto deadline = Clock::now() + ALimit;
  while (Clock::now() < deadline) {
    if (const auto found = Run({"xdotool", "search", "--onlyvisible", "--name", pattern})) {
      std::istringstream ids(*found);
      unsigned long id = 0;
      if (ids >> id) return id;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return std::nullopt;
}

std::optional<ScreenRect> XSession::Geometry(unsigned long AWindow) {
  const auto shell = Run({"xdotool", "getwindowgeometry", "--shell", std::to_string(AWindow)});
  if (!shell) return std::nullopt;
  ScreenRect rect;
  std::istringstream lines(*shell);
  for (std::string line; std::getline(lines, line);) {
    const auto eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string name = line.substr(0, eq);
    const int value = std::atoi(line.c_str() + eq + 1);
    if (name == "X") rect.X = value;
    if (name == "Y") rect.Y = value;
    if (name == "WIDTH") rect.Width = value;
    if (name == "HEIGHT") rect.Height = value;
  }
  return rect;
}

bool XSession::IsShown(unsigned long AWindow) {
  const auto found = Run({"xdotool", "search", "--onlyvisible", "--name", ""});
  if (!found) return false;
  std::istringstream ids(*found);
  for (unsigned long id = 0; ids >> id;) {
    if (id == AWindow) return true;
  }
  return false;
}

bool XSession::Click(int AX, int AY, int AButton) {
  return Run({"xdotool", "mousemove", "--sync", std::to_string(AX), std::to_string(AY), "click",
              std::to_string(AButton)})
      .has_value();
}

bool XSession::Drag(int AFromX, int AFromY, int AToX, int AToY, int AButton) {
  std::vector<std::string> args = {"xdotool", "mousemove", "--sync", std::to_string(AFromX), std::to_string(AFromY),
                                   "mousedown", std::to_string(AButton)};
  constexpr int kSteps = 5;
  for (int i = 1; i <= kSteps; ++i) {
    args.insert(args.end(), {"sleep", "0.05", "mousemove", std::to_string(AFromX + (AToX - AFromX) * i / kSteps),
                             std::to_string(AFromY + (AToY - AFromY) * i / kSteps)});
  }
  args.insert(args.end(), {"sleep", "0.05", "mouseup", std::to_string(AButton)});
  return Run(args).has_value();
}

bool XSession::Key(const std::string& AKey) { return Run({"xdotool", "key", AKey}).has_value(); }

bool XSession::Screenshot(const std::filesystem::path& APng) {
  return Run({"import", "-display", Display(), "-window", "root", APng.string()}).has_value();
}

}  // namespace test_support
