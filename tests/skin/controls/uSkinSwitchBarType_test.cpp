// The switch bar: value rules and geometry as tables, degenerate rows first.

#include "skin/controls/uSkinSwitchBarType.h"
#include "tests/support/Edges.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using namespace ostrel::skin;
using test_support::Edges;
using test_support::ExpectEdges;
using O = TSwitchBarOrientation;

constexpr double kTolerance = 0.001;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(SwitchBarGeometry, PositionIsClampedToTheRange) {
  struct Row {
    const char* Name;
    double Position, Min, Max, Expected;
  };
  const Row rows[] = {
      {"not a number becomes the minimum", kNaN, 0, 1, 0},
      {"minimum above maximum gives the maximum", 0.5, 2, 1, 1},
      {"below the minimum", -1, 0, 1, 0},
      {"above the maximum", 2, 0, 1, 1},
      {"inside is kept", 0.25, 0, 1, 0.25},
  };
  for (const Row& row : rows)
    EXPECT_DOUBLE_EQ(ClampSwitchBarPosition(row.Position, row.Min, row.Max), row.Expected) << row.Name;
}

TEST(SwitchBarGeometry, ValuePixelScalesTheValueAndRoundsHalfToEven) {
  struct Row {
    const char* Name;
    double Value, Length, Min, Max, Expected;
  };
  const Row rows[] = {
      {"zero range keeps the knob at the start", 1, 50, 1, 1, 0},
      {"infinite values give the start", std::numeric_limits<double>::infinity(), 50, 0, 1, 0},
      {"off", 0, 50, 0, 1, 0},
      {"on", 1, 50, 0, 1, 50},
      {"half of 45 is 22.5, rounded to the even 22", 0.5, 45, 0, 1, 22},
      {"half of 47 is 23.5, rounded to the even 24", 0.5, 47, 0, 1, 24},
      {"the value, not its distance from the minimum, is scaled", 2, 50, 1, 2, 100},
  };
  for (const Row& row : rows)
    EXPECT_DOUBLE_EQ(SwitchBarValuePixel(row.Value, row.Length, row.Min, row.Max), row.Expected) << row.Name;
}

TEST(SwitchBarGeometry, KnobIsCentredOnItsPixelAndKeptInsideTheTrack) {
  struct Row {
    const char* Name;
    double Width, Height;
    O Orientation;
    double Pixel, Knob;
    Edges Expected;
  };
  const Row rows[] = {
      {"knob larger than the track sticks out at the start", 20, 22, O::srHorizontal, 20, 30, {-10, 0, 20, 22}},
      {"off on the 50 wide setup switch spans 0 to 25", 50, 25, O::srHorizontal, 0, 25, {0, 0, 25, 25}},
      {"on spans 25 to 50", 50, 25, O::srHorizontal, 50, 25, {25, 0, 50, 25}},
      {"in the middle it is centred", 100, 20, O::srHorizontal, 50, 20, {40, 0, 60, 20}},
      {"near the start it stays at 0", 100, 20, O::srHorizontal, 9, 20, {0, 0, 20, 20}},
      {"near the end it stays inside", 100, 20, O::srHorizontal, 95, 20, {80, 0, 100, 20}},
      {"odd knob sizes keep halves", 100, 20, O::srHorizontal, 50, 25, {37.5, 0, 62.5, 20}},
      {"vertical works on top and bottom", 22, 44, O::srVertical, 44, 22, {0, 22, 22, 44}},
      {"vertical in the middle", 20, 100, O::srVertical, 50, 20, {0, 40, 20, 60}},
  };
  for (const Row& row : rows)
    ExpectEdges(SwitchBarKnobRect(row.Width, row.Height, row.Orientation, row.Pixel, row.Knob), row.Expected, row.Name);
}

TEST(SwitchBarGeometry, ForegroundReachesTheKnobCentreOncePastOneKnob) {
  struct Row {
    const char* Name;
    double Width, Height;
    O Orientation;
    double Pixel, Knob;
    Edges Expected;
  };
  const Row rows[] = {
      {"off shows no foreground", 50, 25, O::srHorizontal, 0, 25, {0, 0, 0, 25}},
      {"within one knob it reaches the pixel", 100, 20, O::srHorizontal, 15, 20, {0, 0, 15, 20}},
      {"exactly one knob still reaches the pixel", 100, 20, O::srHorizontal, 20, 20, {0, 0, 20, 20}},
      {"past one knob it reaches half a knob further", 100, 20, O::srHorizontal, 50, 20, {0, 0, 60, 20}},
      {"never beyond the track", 50, 25, O::srHorizontal, 50, 25, {0, 0, 50, 25}},
      {"vertical grows downwards", 20, 100, O::srVertical, 50, 20, {0, 0, 20, 60}},
  };
  for (const Row& row : rows)
    ExpectEdges(SwitchBarForeGndRect(row.Width, row.Height, row.Orientation, row.Pixel, row.Knob), row.Expected,
               row.Name);
}

TEST(SwitchBarGeometry, DragFollowsTheKnobCentre) {
  struct Row {
    const char* Name;
    double Axis, Offset, Knob, Length, Min, Max, Expected;
  };
  const Row rows[] = {
      {"a knob filling the track gives the minimum", 30, 0, 50, 50, 0, 1, 0},
      {"a knob larger than the track gives the minimum", 30, 0, 60, 50, 0, 1, 0},
      {"pointer at the first knob centre is the minimum", 12.5, 0, 25, 50, 0, 1, 0},
      {"pointer at the last knob centre is the maximum", 37.5, 0, 25, 50, 0, 1, 1},
      {"halfway", 25, 0, 25, 50, 0, 1, 0.5},
      {"outside the track the value runs past the ends (the value rules clamp it)", 60, 0, 25, 50, 0, 1, 1.9},
      {"the offset moves the grab point", 30, 5, 25, 50, 0, 1, 0.5},
      {"the range is taken from the minimum", 25, 0, 25, 50, 10, 20, 15},
  };
  for (const Row& row : rows)
    EXPECT_NEAR(SwitchBarDragPosition(row.Axis, row.Offset, row.Knob, row.Length, row.Min, row.Max), row.Expected,
                kTolerance)
        << row.Name;
}

}  // namespace
