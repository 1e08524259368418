#include "setup/platform/posix/PosixSystem.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace ostrel::platform::posix {
namespace {

TEST(PosixSystem, GuidsAreRandomVersionFour) {
  PosixSystem system;
  std::set<GuidBytes> seen;
  for (int i = 0; i < 1000; ++i) {
    const GuidBytes g = system.NewGuid();
    ASSERT_EQ(g[6] >> 4, 4) << "version nibble";
    ASSERT_EQ(g[8] >> 6, 2) << "variant bits";
    seen.insert(g);
  }
  EXPECT_EQ(seen.size(), 1000u);
}

TEST(PosixSystem, ExecutablePathIsThisProgramsFile) {
  const std::string path = PosixSystem().ExecutablePath();
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(std::filesystem::path(path), std::filesystem::canonical("/proc/self/exe"));
}

}  // namespace
}  // namespace ostrel::platform::posix
