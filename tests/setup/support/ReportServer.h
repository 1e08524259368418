#pragma once
// Starts report_server.py (beside this header) as a child process on a free
// port of 127.0.0.1 and stops it again; the requests it recorded are read
// back as JSON.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

extern char** environ;

namespace ostrel::test {

class ReportServer {
 public:
  struct Answer {
    int status = 200;
    std::string body;
    double delaySeconds = 0;
  };

  // folder holds the certificate (made once, kept for later servers) and
  // the request log, which starts empty.
  ReportServer(const std::filesystem::path& folder, const Answer& answer) : folder_(folder) {
    // A proxy set up for the machine must not stand between a test and its
    // local server.
    ::setenv("no_proxy", "127.0.0.1,localhost", 1);
    ::setenv("NO_PROXY", "127.0.0.1,localhost", 1);
    std::filesystem::create_directories(folder_);
    std::filesystem::remove(LogFile());
    const std::filesystem::path script =
        std::filesystem::path(OSTREL_SOURCE_DIR) / "tests/setup/support/report_server.py";
    const std::vector<std::string> words = {
        "python3",  script.string(),      "--dir",   folder_.string(),
        "--status", std::to_string(answer.status), "--body", answer.body,
        "--delay",  std::to_string(answer.delaySeconds)};
    std::vector<char*> argv;
    for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);

    std::array<int, 2> fds{};
    if (::pipe2(fds.data(), O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    const int error =
        posix_spawnp(&pid_, "python3", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    if (error != 0) {
      ::close(fds[0]);
      throw std::runtime_error("cannot start report_server.py");
    }
    port_ = ReadPort(fds[0]);
    ::close(fds[0]);
    if (port_ == 0) {
      Stop();
      throw std::runtime_error("report_server.py did not start listening");
    }
  }

  ReportServer(const ReportServer&) = delete;
  ReportServer& operator=(const ReportServer&) = delete;
  ~ReportServer() { Stop(); }

  int Port() const { return port_; }
  std::string BaseUrl() const { return "https://127.0.0.1:" + std::to_string(port_); }
  std::filesystem::path CaFile() const { return folder_ / "cert.pem"; }
  std::filesystem::path LogFile() const { return folder_ / "requests.jsonl"; }

  std::vector<nlohmann::json> Requests() const {
    std::vector<nlohmann::json> requests;
    std::ifstream log(LogFile());
    std::string line;
    while (std::getline(log, line))
      if (!line.empty()) requests.push_back(nlohmann::json::parse(line));
    return requests;
  }

 private:
  // Waits for the "PORT <n>" line; 0 when it does not come in time.
  static int ReadPort(int fd) {
    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (text.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
      pollfd waiting{fd, POLLIN, 0};
      if (::poll(&waiting, 1, 200) <= 0) continue;
      std::array<char, 256> buffer{};
      const ssize_t got = ::read(fd, buffer.data(), buffer.size());
      if (got <= 0) break;
      text.append(buffer.data(), static_cast<std::size_t>(got));
    }
    if (text.rfind("PORT ", 0) != 0) return 0;
    return std::atoi(text.c_str() + 5);
  }

  void Stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
  }

  std::filesystem::path folder_;
  pid_t pid_ = -1;
  int port_ = 0;
};

}  // namespace ostrel::test
