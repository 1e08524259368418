#include "setup/platform/ProcessRunner.h"
#include "setup/platform/posix/UniqueFd.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <utility>

#include "setup/platform/Clock.h"
#include "setup/platform/CommandLine.h"

extern char** environ;

namespace ostrel::platform {
namespace {

class SpawnFileActions {
 public:
  SpawnFileActions() { ok_ = posix_spawn_file_actions_init(&actions_) == 0; }
  SpawnFileActions(const SpawnFileActions&) = delete;
  SpawnFileActions& operator=(const SpawnFileActions&) = delete;
  ~SpawnFileActions() {
    if (ok_) posix_spawn_file_actions_destroy(&actions_);
  }
  bool Ok() const { return ok_; }
  posix_spawn_file_actions_t* Get() { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_{};
  bool ok_ = false;
};

class SpawnAttributes {
 public:
  SpawnAttributes() { ok_ = posix_spawnattr_init(&attributes_) == 0; }
  SpawnAttributes(const SpawnAttributes&) = delete;
  SpawnAttributes& operator=(const SpawnAttributes&) = delete;
  ~SpawnAttributes() {
    if (ok_) posix_spawnattr_destroy(&attributes_);
  }
  bool Ok() const { return ok_; }
  posix_spawnattr_t* Get() { return &attributes_; }

 private:
  posix_spawnattr_t attributes_{};
  bool ok_ = false;
};

// Keeps both pipe ends clear of 0, 1 and 2: dup2 onto the same number would
// leave close-on-exec set, and the child would start with its output closed.
UniqueFd AboveStandardStreams(int fd) {
  if (fd > 2) return UniqueFd(fd);
  const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
  ::close(fd);
  return UniqueFd(moved);
}

bool MakePipe(UniqueFd& readEnd, UniqueFd& writeEnd) {
  std::array<int, 2> fds{};
  if (::pipe2(fds.data(), O_CLOEXEC) != 0) return false;
  readEnd = AboveStandardStreams(fds[0]);
  writeEnd = AboveStandardStreams(fds[1]);
  if (!readEnd.Valid() || !writeEnd.Valid()) return false;
  const int flags = ::fcntl(readEnd.Get(), F_GETFL);
  return flags >= 0 && ::fcntl(readEnd.Get(), F_SETFL, flags | O_NONBLOCK) == 0;
}

UniqueFd OpenPidFd(pid_t pid) {
#ifdef SYS_pidfd_open
  return UniqueFd(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)));
#else
  (void)pid;
  return UniqueFd();
#endif
}

bool HasControllingTerminal() {
  const UniqueFd terminal(::open("/dev/tty", O_RDONLY | O_NOCTTY | O_CLOEXEC));
  return terminal.Valid();
}

pid_t WaitRetrying(pid_t pid, int& status, int options) {
  pid_t result = 0;
  do {
    result = ::waitpid(pid, &status, options);
  } while (result < 0 && errno == EINTR);
  return result;
}

std::uint32_t ExitCodeFromStatus(int status) {
  if (WIFEXITED(status)) return static_cast<std::uint32_t>(WEXITSTATUS(status));
  if (WIFSIGNALED(status)) return 128u + static_cast<std::uint32_t>(WTERMSIG(status));
  return 0;
}

bool Spawn(const std::vector<std::string>& words, const std::string& workingFolder, pid_t& pid,
           int outputFd) {
  SpawnFileActions actions;
  SpawnAttributes attributes;
  if (!actions.Ok() || !attributes.Ok()) return false;
  if (!workingFolder.empty() &&
      posix_spawn_file_actions_addchdir_np(actions.Get(), workingFolder.c_str()) != 0)
    return false;
  // Standard input stays the caller's own; output and errors share the pipe.
  if (posix_spawn_file_actions_adddup2(actions.Get(), outputFd, STDOUT_FILENO) != 0 ||
      posix_spawn_file_actions_adddup2(actions.Get(), outputFd, STDERR_FILENO) != 0 ||
      posix_spawn_file_actions_addclosefrom_np(actions.Get(), STDERR_FILENO + 1) != 0)
    return false;

  // With a terminal around, a session of its own detaches the child from it
  // (a background group that reads the terminal would be stopped). Without
  // one a process group of its own is enough, and cheaper: the scheduler
  // builds a group for every new session. Either way a time-out can end the
  // child and everything it started as one group. Signal state from the
  // calling thread (blocked or ignored signals) stays behind.
  sigset_t empty;
  sigset_t all;
  sigemptyset(&empty);
  sigfillset(&all);
  const short grouping = HasControllingTerminal() ? POSIX_SPAWN_SETSID : POSIX_SPAWN_SETPGROUP;
  if (posix_spawnattr_setflags(attributes.Get(), static_cast<short>(grouping | POSIX_SPAWN_SETSIGMASK |
                                                                    POSIX_SPAWN_SETSIGDEF)) != 0 ||
      posix_spawnattr_setpgroup(attributes.Get(), 0) != 0 ||
      posix_spawnattr_setsigmask(attributes.Get(), &empty) != 0 ||
      posix_spawnattr_setsigdefault(attributes.Get(), &all) != 0)
    return false;

  std::vector<char*> argv;
  argv.reserve(words.size() + 1);
  for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);

  const bool searchPath = words.front().find('/') == std::string::npos;
  const int error = searchPath
                        ? posix_spawnp(&pid, argv[0], actions.Get(), attributes.Get(), argv.data(), environ)
                        : posix_spawn(&pid, argv[0], actions.Get(), attributes.Get(), argv.data(), environ);
  return error == 0;
}

// Reads what the pipe holds right now, at most one buffer per read. Returns
// false once the pipe has no writer left and nothing more to give.
bool ReadWaiting(int fd, std::vector<std::byte>& output) {
  int waiting = 0;
  if (::ioctl(fd, FIONREAD, &waiting) != 0) waiting = 0;
  std::array<std::byte, kProcessReadChunk> buffer{};
  // One read even when nothing is announced: that is how the end shows.
  std::size_t left = static_cast<std::size_t>(std::max(waiting, 1));
  while (left > 0) {
    const ssize_t got = ::read(fd, buffer.data(), std::min(left, buffer.size()));
    if (got > 0) {
      output.insert(output.end(), buffer.begin(), buffer.begin() + got);
      left -= std::min(left, static_cast<std::size_t>(got));
      continue;
    }
    if (got < 0 && errno == EINTR) continue;
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
    return false;
  }
  return true;
}

class ChildWaiter {
 public:
  ChildWaiter(pid_t pid, UniqueFd readEnd)
      : pid_(pid), readEnd_(std::move(readEnd)), pidFd_(OpenPidFd(pid)) {}
  ChildWaiter(const ChildWaiter&) = delete;
  ChildWaiter& operator=(const ChildWaiter&) = delete;
  ~ChildWaiter() {
    if (!reaped_) Kill();
  }

  // Waits up to one step for output or the child's end, reads what is
  // waiting and reports whether the child has ended (and is reaped).
  bool Pass(std::vector<std::byte>& output) {
    std::array<pollfd, 2> fds{};
    nfds_t count = 0;
    int pipeIndex = -1;
    int pidIndex = -1;
    if (readEnd_.Valid()) {
      pipeIndex = static_cast<int>(count);
      fds[count++] = pollfd{readEnd_.Get(), POLLIN, 0};
    }
    if (pidFd_.Valid()) {
      pidIndex = static_cast<int>(count);
      fds[count++] = pollfd{pidFd_.Get(), POLLIN, 0};
    }
    // A failed or interrupted poll only shortens this pass.
    if (::poll(fds.data(), count, NextTimeoutMs()) < 0) return false;

    if (pipeIndex >= 0 && (fds[pipeIndex].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
      if (!ReadWaiting(readEnd_.Get(), output)) readEnd_.Reset();
    }
    const bool endSeen = pidIndex >= 0 ? (fds[pidIndex].revents & POLLIN) != 0 : true;
    if (!endSeen) return false;
    const pid_t waited = WaitRetrying(pid_, status_, pidIndex >= 0 ? 0 : WNOHANG);
    // ECHILD: someone else reaps children here (SIGCHLD ignored); the child
    // is gone all the same, with its status lost.
    if (waited == pid_ || (waited < 0 && errno == ECHILD)) {
      if (waited < 0) status_ = 0;
      reaped_ = true;
      // What the child wrote before it ended is all in the pipe by now.
      if (readEnd_.Valid()) ReadWaiting(readEnd_.Get(), output);
      return true;
    }
    return false;
  }

  void Kill() {
    ::kill(-pid_, SIGKILL);
    ::kill(pid_, SIGKILL);
    WaitRetrying(pid_, status_, 0);
    reaped_ = true;
  }

  int Status() const { return status_; }

 private:
  static constexpr int kMaxIdleStep = 7;

  // With a pidfd both ends wake poll at once, so the full step is only the
  // pace of the time-limit check. Without one, a closed pipe leaves nothing
  // to wake on; short steps growing to the full one keep the reaction fast.
  int NextTimeoutMs() {
    const int full = static_cast<int>(kProcessWaitStep.count());
    if (pidFd_.Valid() || readEnd_.Valid()) return full;
    const int step = std::min(full, 1 << idleSteps_);
    idleSteps_ = std::min(idleSteps_ + 1, kMaxIdleStep);
    return step;
  }

  pid_t pid_;
  UniqueFd readEnd_;
  UniqueFd pidFd_;
  int status_ = 0;
  int idleSteps_ = 0;
  bool reaped_ = false;
};

}  // namespace

ProcessOutcome RunCapturedProcess(const ProcessRequest& request) {
  ProcessOutcome outcome;
  const std::vector<std::string> words =
      request.arguments.empty() ? SplitWindowsCommandLine(request.commandLine) : request.arguments;
  if (words.empty() || words.front().empty()) return outcome;

  UniqueFd readEnd;
  UniqueFd writeEnd;
  if (!MakePipe(readEnd, writeEnd)) return outcome;
  pid_t pid = 0;
  if (!Spawn(words, request.workingFolder, pid, writeEnd.Get())) return outcome;
  outcome.started = true;
  writeEnd.Reset();

  const std::function<std::int64_t()> clock =
      request.clock ? request.clock : std::function<std::int64_t()>(LocalWallClockSeconds);
  const std::int64_t start = clock();
  ChildWaiter child(pid, std::move(readEnd));
  if (request.started) request.started();
  while (true) {
    if (child.Pass(outcome.output)) {
      outcome.exitCode = ExitCodeFromStatus(child.Status());
      break;
    }
    if (request.timeLimitSeconds > 0 && clock() - start > request.timeLimitSeconds) {
      child.Kill();
      outcome.timedOut = true;
      outcome.exitCode = 0;
      break;
    }
  }
  return outcome;
}

}  // namespace ostrel::platform
