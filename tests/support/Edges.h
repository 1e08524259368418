#pragma once
// Expected rectangles written by their four edges, as geometry rules speak
// of them, compared at the drawing model's tolerance of 0.001.

#include <QRectF>

#include <gtest/gtest.h>

#include <string>

namespace test_support {

struct Edges {
  double Left, Top, Right, Bottom;
};

inline void ExpectEdges(const QRectF& AActual, const Edges& AExpected, const std::string& ARow) {
  constexpr double kTolerance = 0.001;
  EXPECT_NEAR(AActual.left(), AExpected.Left, kTolerance) << ARow;
  EXPECT_NEAR(AActual.top(), AExpected.Top, kTolerance) << ARow;
  EXPECT_NEAR(AActual.right(), AExpected.Right, kTolerance) << ARow;
  EXPECT_NEAR(AActual.bottom(), AExpected.Bottom, kTolerance) << ARow;
}

}  // namespace test_support
