// How much a 30 MB payload costs the setup: finding the version text at
// start-up (only the file's tail should be read), saving the payload to a
// fresh file or holding it in memory (compared with copying a file of the same
// size to a fresh file, as the setup's own files always are), and the
// checksum.

#include "setup/platform/Crc32.h"
#include "setup/platform/ExecutableResources.h"
#include "setup/platform/ResourceBundleWriter.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using ostrel::platform::Crc32;
using ostrel::platform::ExecutableResources;
using ostrel::platform::ResourceBundleWriter;

constexpr std::size_t kPayload = 30u << 20;

std::vector<std::byte> RandomBytes(std::size_t n) {
  std::vector<std::byte> v(n);
  std::mt19937_64 random(1);
  for (std::size_t i = 0; i + 8 <= n; i += 8) {
    const auto x = random();
    for (int k = 0; k < 8; ++k) v[i + static_cast<std::size_t>(k)] = static_cast<std::byte>(x >> (8 * k));
  }
  return v;
}

// A packed program with a 30 MB PAK and a plain file of the same bytes.
class Fixture {
 public:
  Fixture() {
    std::string pattern = (fs::temp_directory_path() / "ostrel-bench-XXXXXX").string();
    dir_ = ::mkdtemp(pattern.data());
    const auto payload = RandomBytes(kPayload);
    {
      std::ofstream out(Packed(), std::ios::binary);
      out << std::string(2u << 20, 'P');
      ResourceBundleWriter w([&](std::span<const std::byte> b) { out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size())); });
      w.AddEntry("VER", std::as_bytes(std::span("2.0", 3)));
      w.AddEntry("PAK", payload);
      w.Finish();
    }
    std::ofstream(Plain(), std::ios::binary).write(reinterpret_cast<const char*>(payload.data()), static_cast<std::streamsize>(payload.size()));
  }
  ~Fixture() {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  std::string Packed() const { return (dir_ / "packed").string(); }
  std::string Plain() const { return (dir_ / "plain").string(); }
  std::string Out() const { return (dir_ / "out").string(); }

 private:
  fs::path dir_;
};

const Fixture& Files() {
  static const Fixture f;
  return f;
}

void BM_Crc32(benchmark::State& state) {
  const auto bytes = RandomBytes(1u << 20);
  for (auto _ : state) benchmark::DoNotOptimize(Crc32::Of(bytes));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_Crc32);

void BM_OpenAndFindVersion(benchmark::State& state) {
  for (auto _ : state) {
    const auto res = ExecutableResources::Open(Files().Packed());
    benchmark::DoNotOptimize(res->Find("ver"));
  }
}
BENCHMARK(BM_OpenAndFindVersion)->Unit(benchmark::kMicrosecond);

// Overwriting a file costs differently from writing a new one (a truncation
// makes ext4 push the new bytes out at close); the setup writes new files, so
// both sides start from a target that is not there.
void RemoveOutput(benchmark::State& state) {
  state.PauseTiming();
  std::error_code ignored;
  fs::remove(Files().Out(), ignored);
  state.ResumeTiming();
}

void BM_SavePayload(benchmark::State& state) {
  const auto res = ExecutableResources::Open(Files().Packed());
  for (auto _ : state) {
    RemoveOutput(state);
    if (!res->SaveToFile("pak", Files().Out())) state.SkipWithError("save failed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(kPayload));
}
BENCHMARK(BM_SavePayload)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_HoldPayloadInMemory(benchmark::State& state) {
  const auto res = ExecutableResources::Open(Files().Packed());
  for (auto _ : state) {
    if (!res->OpenInMemory("pak", ostrel::platform::ResourceCheck::ItsOwnReader)) state.SkipWithError("hold failed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(kPayload));
}
BENCHMARK(BM_HoldPayloadInMemory)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CopyFileReference(benchmark::State& state) {
  for (auto _ : state) {
    RemoveOutput(state);
    fs::copy_file(Files().Plain(), Files().Out());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(kPayload));
}
BENCHMARK(BM_CopyFileReference)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
