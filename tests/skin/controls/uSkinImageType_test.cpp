// The image's rotation timer: interval, angle and frame steps.

#include "skin/controls/uSkinImageType.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {

using namespace ostrel::skin;

constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();

TEST(ImageRotation, TimerIntervalIsTheCeilingOfTenTimesTheSpeed) {
  struct Row {
    const char* Name;
    double Speed;
    int Expected;
  };
  const Row rows[] = {
      {"not a number ticks at 1 ms, not on every pass", std::numeric_limits<double>::quiet_NaN(), 1},
      {"zero ticks at 1 ms", 0, 1},
      {"negative ticks at 1 ms", -3, 1},
      {"huge is held to what a timer takes", 1e300, std::numeric_limits<int>::max()},
      {"the default 5 is 50 ms", 5, 50},
      {"2.01 is 21 ms", 2.01, 21},
      {"0.01 is 1 ms", 0.01, 1},
  };
  for (const Row& row : rows) EXPECT_EQ(RotateTimerInterval(row.Speed), row.Expected) << row.Name;
}

std::vector<std::int32_t> Angles(std::int32_t AIncrement, int ACount) {
  std::vector<std::int32_t> angles;
  std::int32_t angle = 0;
  for (int i = 0; i < ACount; ++i) angles.push_back(angle = NextRotateAngle(angle, AIncrement));
  return angles;
}

TEST(ImageRotation, AnglesRunUpTo360AndStartAgain) {
  std::vector<std::int32_t> expected;
  for (int a = 20; a <= 360; a += 20) expected.push_back(a);
  expected.push_back(20);
  EXPECT_EQ(Angles(20, 19), expected);

  EXPECT_EQ(Angles(50, 9), (std::vector<std::int32_t>{50, 100, 150, 200, 250, 300, 350, 360, 50}));
}

TEST(ImageRotation, AngleStepsNeverOverflow) {
  EXPECT_EQ(NextRotateAngle(0, kIntMax), 360);
  EXPECT_EQ(NextRotateAngle(kIntMax, kIntMax), 360);
  EXPECT_EQ(NextRotateAngle(kIntMin, -1), kIntMin);
  EXPECT_EQ(NextRotateAngle(-10, -20), -30);
}

TEST(ImageRotation, FramesCycleThroughTheList) {
  struct Row {
    const char* Name;
    std::int32_t Index, Count, Expected;
  };
  const Row rows[] = {
      {"an empty list keeps the index", 4, 0, 4},
      {"one picture keeps the index", 0, 1, 0},
      {"no selection starts at 0", -1, 3, 0},
      {"a negative index lands inside", -5, 3, 2},
      {"the last index", kIntMax, 3, 2},
      {"next", 1, 3, 2},
      {"after the last back to 0", 2, 3, 0},
  };
  for (const Row& row : rows) EXPECT_EQ(NextFrameImageIndex(row.Index, row.Count), row.Expected) << row.Name;
}

}  // namespace
