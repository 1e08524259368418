#include "setup/platform/Clock.h"

#include <cstdlib>
#include <ctime>
#include <string>

#include <gtest/gtest.h>

namespace ostrel::platform {
namespace {

// POSIX TZ strings name the offset west of UTC: "XYZ-3" is three hours ahead.
struct ZoneCase {
  const char* tz;
  std::int64_t aheadOfUtc;
};

class LocalWallClockTest : public ::testing::Test {
 protected:
  void TearDown() override {
    ::unsetenv("TZ");
    ::tzset();
  }
};

TEST_F(LocalWallClockTest, CountsTheLocalReadingAsIfItWereUtc) {
  const ZoneCase cases[] = {{"UTC0", 0}, {"XYZ-3", 3 * 3600}, {"ABC+5", -5 * 3600},
                            {"IST-5:30", 5 * 3600 + 1800}};
  for (const ZoneCase& c : cases) {
    ::setenv("TZ", c.tz, 1);
    ::tzset();
    const std::int64_t before = std::time(nullptr);
    const std::int64_t local = LocalWallClockSeconds();
    const std::int64_t after = std::time(nullptr);
    EXPECT_GE(local, before + c.aheadOfUtc) << c.tz;
    EXPECT_LE(local, after + c.aheadOfUtc) << c.tz;
  }
}

}  // namespace
}  // namespace ostrel::platform
