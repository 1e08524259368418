// RunCaptured of a program that exits at once, against a bare posix_spawn +
// waitpid of the same program in the same run. What the runner adds (pipe,
// process watch, session, decoding) should stay small next to the cost of
// starting a process: the ratio printed at the end is the figure to watch.

#include <spawn.h>
#include <sys/wait.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <string>

#include "setup/core/Runner.h"

extern char** environ;

namespace {

constexpr const char* kProgram = "/bin/true";

void BM_BareSpawn(benchmark::State& state) {
  char* argv[] = {const_cast<char*>(kProgram), nullptr};
  for (auto _ : state) {
    pid_t pid = 0;
    if (posix_spawn(&pid, kProgram, nullptr, nullptr, argv, environ) != 0) {
      state.SkipWithError("posix_spawn failed");
      break;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    benchmark::DoNotOptimize(status);
  }
}
BENCHMARK(BM_BareSpawn)->UseRealTime()->MinTime(2.0);

void BM_RunCaptured(benchmark::State& state) {
  for (auto _ : state) {
    std::uint32_t exitCode = 1;
    std::string output;
    ostrel::setup::RunCaptured(kProgram, exitCode, "", true, 0, output);
    if (exitCode != 0) {
      state.SkipWithError("RunCaptured did not run the program");
      break;
    }
    benchmark::DoNotOptimize(output);
  }
}
BENCHMARK(BM_RunCaptured)->UseRealTime()->MinTime(2.0);

// Both ways in turn, so that load from elsewhere on the machine falls on
// each alike; the counters carry the two means and their ratio.
void BM_Alternating(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  char* argv[] = {const_cast<char*>(kProgram), nullptr};
  Clock::duration bare{};
  Clock::duration captured{};
  for (auto _ : state) {
    const auto t0 = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, kProgram, nullptr, nullptr, argv, environ) == 0) {
      int status = 0;
      waitpid(pid, &status, 0);
    }
    const auto t1 = Clock::now();
    std::uint32_t exitCode = 1;
    std::string output;
    ostrel::setup::RunCaptured(kProgram, exitCode, "", true, 0, output);
    const auto t2 = Clock::now();
    bare += t1 - t0;
    captured += t2 - t1;
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["bare_us"] = std::chrono::duration<double, std::micro>(bare).count() / n;
  state.counters["captured_us"] = std::chrono::duration<double, std::micro>(captured).count() / n;
  state.counters["ratio"] = std::chrono::duration<double>(captured).count() /
                            std::chrono::duration<double>(bare).count();
}
BENCHMARK(BM_Alternating)->UseRealTime()->MinTime(4.0);

// Prints the usual table, then RunCaptured's time over the bare spawn's:
// from the two separate runs, and from the alternating one, which holds up
// better on a busy machine.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      times_[run.run_name.function_name] = run.GetAdjustedRealTime();
      const auto ratio = run.counters.find("ratio");
      if (ratio != run.counters.end()) alternating_ = ratio->second.value;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    if (times_.count("BM_BareSpawn") != 0 && times_.count("BM_RunCaptured") != 0)
      std::printf("ratio RunCaptured / bare spawn, separate runs: %.3f\n",
                  times_["BM_RunCaptured"] / times_["BM_BareSpawn"]);
    if (alternating_ > 0)
      std::printf("ratio RunCaptured / bare spawn, alternating: %.3f (target <= 1.2)\n",
                  alternating_);
  }

 private:
  std::map<std::string, double> times_;
  double alternating_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
