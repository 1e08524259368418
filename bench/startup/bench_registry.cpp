// A registry store write (temporary file, fsync, rename, directory fsync)
// against a plain overwrite of the same file in the same run: the ratio is
// the price of never tearing a value. The uninstall entry's five values go to
// the disk together, so five cost little more than one. Reads and the system
// drive list are timed as they run at every start.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "setup/platform/posix/FileRegistry.h"
#include "setup/platform/posix/MountDrives.h"

namespace {

namespace fs = std::filesystem;
using namespace ostrel::platform;

const std::string kValue = "{6F9619FF-8B86-4011-B42D-00C04FC964FF}";

fs::path BenchFolder() {
  static const fs::path folder = fs::temp_directory_path() / ("bench-registry-" + std::to_string(::getpid()));
  return folder;
}

void BM_PlainOverwrite(benchmark::State& state) {
  fs::create_directories(BenchFolder());
  const std::string file = (BenchFolder() / "plain").string();
  const std::string content = "REG_SZ\n" + kValue;
  for (auto _ : state) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    benchmark::DoNotOptimize(::write(fd, content.data(), content.size()));
    ::close(fd);
  }
}
BENCHMARK(BM_PlainOverwrite)->UseRealTime();

void BM_RegistryWrite(benchmark::State& state) {
  posix::FileRegistry registry((BenchFolder() / "hive").string());
  auto key = registry.OpenKey("Software\\Ostrel", RegistryAccess::All);
  for (auto _ : state) {
    benchmark::DoNotOptimize(key->WriteString("uuid", kValue));
    benchmark::DoNotOptimize(key->Flush());
  }
}
BENCHMARK(BM_RegistryWrite)->UseRealTime();

// The uninstall entry as the install writes it: five values, one flush.
void BM_RegistryEntryOfFiveValues(benchmark::State& state) {
  posix::FileRegistry registry((BenchFolder() / "hive").string());
  auto key = registry.OpenKey("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Ostrel", RegistryAccess::All);
  for (auto _ : state) {
    for (const char* name : {"DisplayIcon", "DisplayName", "DisplayVersion", "Publisher", "UninstallString"}) {
      benchmark::DoNotOptimize(key->WriteString(name, kValue));
    }
    benchmark::DoNotOptimize(key->Flush());
  }
}
BENCHMARK(BM_RegistryEntryOfFiveValues)->UseRealTime();

void BM_RegistryOpenAndRead(benchmark::State& state) {
  posix::FileRegistry registry((BenchFolder() / "hive").string());
  registry.OpenKey("Software\\Ostrel", RegistryAccess::All)->WriteString("uuid", kValue);
  for (auto _ : state) {
    auto key = registry.OpenKey("Software\\Ostrel", RegistryAccess::ReadOnly);
    benchmark::DoNotOptimize(key->ReadString("uuid"));
  }
}
BENCHMARK(BM_RegistryOpenAndRead);

void BM_SystemDriveList(benchmark::State& state) {
  const auto drives = posix::CreateSystemDrives(fs::temp_directory_path().string());
  for (auto _ : state) benchmark::DoNotOptimize(drives->LogicalDriveRoots());
}
BENCHMARK(BM_SystemDriveList);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ec;
  fs::remove_all(BenchFolder(), ec);
  return 0;
}
