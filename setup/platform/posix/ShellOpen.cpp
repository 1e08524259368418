#include "setup/platform/ShellOpen.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <system_error>
#include <thread>

extern char** environ;

namespace ostrel::platform {
namespace {

// posix_spawn's attributes and file actions, released with the object.
class SpawnSetup {
 public:
  SpawnSetup() {
    posix_spawnattr_init(&attributes);
    posix_spawn_file_actions_init(&actions);
  }
  ~SpawnSetup() {
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;

  posix_spawnattr_t attributes;
  posix_spawn_file_actions_t actions;
};

}  // namespace

bool ShellOpen(const std::string& path) {
  if (path.empty()) return false;
  SpawnSetup setup;
  // A session of its own, and none of the caller's blocked or ignored
  // signals: the caller may be a pool thread with a mask of its own.
  sigset_t none;
  sigemptyset(&none);
  sigset_t all;
  sigfillset(&all);
  posix_spawnattr_setsigmask(&setup.attributes, &none);
  posix_spawnattr_setsigdefault(&setup.attributes, &all);
  posix_spawnattr_setflags(&setup.attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
    posix_spawn_file_actions_addopen(&setup.actions, fd, "/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY, 0);
  }
  posix_spawn_file_actions_addclosefrom_np(&setup.actions, STDERR_FILENO + 1);

  char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
  pid_t pid = -1;
  if (::posix_spawn(&pid, path.c_str(), &setup.actions, &setup.attributes, argv, environ) != 0) return false;
  // The opener does not wait, but a caller that lives on must not collect a
  // zombie: a thread of its own reaps the program whenever it ends.
  try {
    std::thread([pid] {
      int status = 0;
      ::waitpid(pid, &status, 0);
    }).detach();
  } catch (const std::system_error&) {
    // Without a thread the ended program waits as a zombie for our exit.
  }
  return true;
}

}  // namespace ostrel::platform
