#pragma once
// Two pieces of work timed turn about in one benchmark loop, so both see the
// same machine at the same moment: the counter "ratio" is the first's time
// over the second's.

#include <benchmark/benchmark.h>

#include <chrono>

namespace bench_support {

template <class First, class Second>
void MeasureTurnAbout(benchmark::State& AState, First&& AFirst, Second&& ASecond) {
  using Clock = std::chrono::steady_clock;
  Clock::duration firstTime{};
  Clock::duration secondTime{};
  for (auto _ : AState) {
    const auto t0 = Clock::now();
    AFirst();
    const auto t1 = Clock::now();
    ASecond();
    const auto t2 = Clock::now();
    firstTime += t1 - t0;
    secondTime += t2 - t1;
  }
  AState.counters["ratio"] = static_cast<double>(firstTime.count()) / static_cast<double>(secondTime.count());
}

}  // namespace bench_support
