// The progress bar: value rules, progress length, percent rectangle and
// percentage as tables, degenerate rows first.

#include "skin/controls/uSkinProgressBarType.h"
#include "tests/support/Edges.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using namespace ostrel::skin;
using test_support::Edges;
using test_support::ExpectEdges;
using O = TProgressBarOrientation;

constexpr double kTolerance = 0.001;
constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();

TEST(ProgressBarGeometry, PositionIsClampedToTheRange) {
  struct Row {
    const char* Name;
    std::int32_t Position, Min, Max, Expected;
  };
  const Row rows[] = {
      {"minimum above maximum gives the maximum", 5, 10, 0, 0},
      {"beyond the maximum", 150, 0, 100, 100},
      {"below the minimum", -5, 0, 100, 0},
      {"extremes", kIntMin, kIntMin + 1, kIntMax, kIntMin + 1},
      {"inside is kept", 33, 0, 100, 33},
  };
  for (const Row& row : rows)
    EXPECT_EQ(ClampProgressBarPosition(row.Position, row.Min, row.Max), row.Expected) << row.Name;
}

TEST(ProgressBarGeometry, LengthScalesThePositionWithinTheTrack) {
  struct Row {
    const char* Name;
    std::int32_t Position;
    double Track;
    std::int32_t Min, Max;
    double Expected;
  };
  const Row rows[] = {
      {"zero range reaches nowhere", 50, 100, 7, 7, 0},
      {"no track", 50, 0, 0, 100, 0},
      {"negative track", 50, -10, 0, 100, 0},
      {"a negative position reaches nowhere", -50, 200, -100, 100, 0},
      {"the whole range of integers", kIntMax, 100, kIntMin, kIntMax, 50},
      {"start", 0, 638, 0, 100, 0},
      {"a third of 120", 33, 120, 0, 100, 39.6},
      {"the end fills the track", 100, 638, 0, 100, 638},
      {"the position, not its distance from the minimum, is scaled", 60, 100, 50, 100, 100},
  };
  for (const Row& row : rows)
    EXPECT_NEAR(ProgressBarLength(row.Position, row.Track, row.Min, row.Max), row.Expected, kTolerance) << row.Name;
}

TEST(ProgressBarGeometry, PercentRectGrowsFromItsEdge) {
  struct Row {
    const char* Name;
    O Orientation;
    double Length;
    bool Reverse;
    Edges Expected;
  };
  const TRectF r(10, 20, 100, 40);
  const Row rows[] = {
      {"nothing reached", O::prHorizontal, 0, false, {10, 20, 10, 60}},
      {"horizontal from the left", O::prHorizontal, 30, false, {10, 20, 40, 60}},
      {"horizontal reversed from the right", O::prHorizontal, 30, true, {80, 20, 110, 60}},
      {"vertical from the top", O::prVertical, 10, false, {10, 20, 110, 30}},
      {"vertical reversed from the bottom", O::prVertical, 10, true, {10, 50, 110, 60}},
  };
  for (const Row& row : rows)
    ExpectEdges(ProgressBarPercentRect(r, row.Orientation, row.Length, row.Reverse), row.Expected, row.Name);
}

TEST(ProgressBarGeometry, PercentIsRoundedDownExactly) {
  struct Row {
    const char* Name;
    std::int32_t Position, Min, Max;
    std::int64_t Expected;
  };
  const Row rows[] = {
      {"zero range", 5, 3, 3, 0},
      {"whole integer range", kIntMax, kIntMin, kIntMax, 49},
      {"negative position rounds towards minus infinity", -1, -100, 100, -1},
      {"start", 0, 0, 100, 0},
      {"33 of 100", 33, 0, 100, 33},
      {"2 of 3 is 66", 2, 0, 3, 66},
      {"29 of 100 is 29, not the 28 of floating point", 29, 0, 100, 29},
      {"57 of 100 is 57, not 56", 57, 0, 100, 57},
      {"the end", 100, 0, 100, 100},
  };
  for (const Row& row : rows) EXPECT_EQ(ProgressBarPercent(row.Position, row.Min, row.Max), row.Expected) << row.Name;
}

}  // namespace
