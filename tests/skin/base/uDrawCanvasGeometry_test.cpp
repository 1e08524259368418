// The canvas's numeric rules as pure functions, one table per rule, the
// degenerate rows first.

#include "skin/base/uDrawCanvas.h"
#include "tests/support/QtPrinters.h"

#include <QPainterPath>

#include <gtest/gtest.h>

namespace {

using namespace ostrel::skin;

constexpr double kTolerance = 0.001;

void ExpectRect(const TRectF& AActual, const TRectF& AExpected, const char* ARow) {
  EXPECT_NEAR(AActual.left(), AExpected.left(), kTolerance) << ARow;
  EXPECT_NEAR(AActual.top(), AExpected.top(), kTolerance) << ARow;
  EXPECT_NEAR(AActual.width(), AExpected.width(), kTolerance) << ARow;
  EXPECT_NEAR(AActual.height(), AExpected.height(), kTolerance) << ARow;
}

TEST(DrawCanvasGeometry, BorderInset) {
  struct Row {
    const char* Name;
    TRectF Rect;
    double Border;
    TRectF Expected;
  };
  const Row rows[] = {
      {"no border keeps the rectangle", {0, 0, 10, 10}, 0, {0, 0, 10, 10}},
      {"a border below 0.001 counts as none", {0, 0, 10, 10}, 0.0005, {0, 0, 10, 10}},
      {"border 10 on 6 high collapses to a 0.01 strip", {0, 0, 100, 6}, 10, {5, 3, 90, 0.01}},
      {"border wider than the rectangle on both axes", {2, 4, 6, 8}, 20, {5, 8, 0.01, 0.01}},
      {"border 1 insets by half on each side", {0, 0, 100, 30}, 1, {0.5, 0.5, 99, 29}},
      {"border 1 on 50 x 25", {10, 20, 50, 25}, 1, {10.5, 20.5, 49, 24}},
  };
  for (const Row& row : rows) ExpectRect(BorderInsetRect(row.Rect, row.Border), row.Expected, row.Name);
}

TEST(DrawCanvasGeometry, RoundRadius) {
  struct Row {
    const char* Name;
    double Radius;
    double Size;
    double Expected;
  };
  const Row rows[] = {
      {"-1 on nothing", -1, 0, 0},
      {"-1 is half the size", -1, 49, 24.5},
      {"-1 within 0.001", -1.0005, 24, 12},
      {"other negatives round nothing", -3, 40, 0},
      {"larger than half is limited", 30, 40, 20},
      {"pixels", 4, 99, 4},
  };
  for (const Row& row : rows) EXPECT_NEAR(ResolveRoundRadius(row.Radius, row.Size), row.Expected, kTolerance) << row.Name;
}

TEST(DrawCanvasGeometry, RectLines) {
  struct Row {
    const char* Name;
    TRectF Rect;
    bool IsLine;
    TDRPLinePosition Position;
    bool Snap;
    TLineSegment Expected;
  };
  using P = TDRPLinePosition;
  const Row rows[] = {
      {"1 pixel high runs through its own row", {10.3, 20.7, 50, 1}, false, P::lpBottom, true, {{10.3, 20.5}, {60.3, 20.5}}},
      {"1 pixel wide runs through its own column", {10.7, 5, 1, 30}, false, P::lpBottom, true, {{10.5, 5}, {10.5, 35}}},
      {"neither wider nor higher than 1.001 is a vertical line", {3, 3, 1.001, 1}, false, P::lpTop, true,
       {{3.5, 3}, {3.5, 4}}},
      {"line at the left", {10.4, 0, 40, 20}, true, P::lpLeft, true, {{10.5, 0}, {10.5, 20}}},
      {"line at the top", {0, 7.9, 40, 20}, true, P::lpTop, true, {{0, 7.5}, {40, 7.5}}},
      {"line at the right", {0, 0, 40.6, 20}, true, P::lpRight, true, {{39.5, 0}, {39.5, 20}}},
      {"line at the bottom", {0, 0, 40, 20.2}, true, P::lpBottom, true, {{0, 19.5}, {40, 19.5}}},
      {"without snapping the values are used as they are", {0, 7.9, 40, 20}, true, P::lpTop, false,
       {{0, 8.4}, {40, 8.4}}},
  };
  for (const Row& row : rows) {
    const TLineSegment line = RectLineSegment(row.Rect, row.IsLine, row.Position, row.Snap);
    EXPECT_NEAR(line.P1.x(), row.Expected.P1.x(), kTolerance) << row.Name;
    EXPECT_NEAR(line.P1.y(), row.Expected.P1.y(), kTolerance) << row.Name;
    EXPECT_NEAR(line.P2.x(), row.Expected.P2.x(), kTolerance) << row.Name;
    EXPECT_NEAR(line.P2.y(), row.Expected.P2.y(), kTolerance) << row.Name;
  }
}

TEST(DrawCanvasGeometry, RoundRectFigureUsesOneCurvePerCornerWithTheGivenControlPoints) {
  QPainterPath all;
  AddRoundRectFigure(all, TRectF(0.5, 0.5, 99, 29), 4, 4, AllCorners);
  EXPECT_EQ(all.elementCount(), 17);
  // The top-right corner: line to (95.5, 0.5), then a curve to (99.5, 4.5)
  // whose control points lie 0.4477152502 x 4 from the corner (99.5, 0.5).
  ASSERT_EQ(all.elementAt(2).type, QPainterPath::CurveToElement);
  EXPECT_NEAR(all.elementAt(1).x, 95.5, kTolerance);
  EXPECT_NEAR(all.elementAt(2).x, 99.5 - 4 * 0.4477152502, kTolerance);
  EXPECT_NEAR(all.elementAt(2).y, 0.5, kTolerance);
  EXPECT_NEAR(all.elementAt(3).x, 99.5, kTolerance);
  EXPECT_NEAR(all.elementAt(3).y, 0.5 + 4 * 0.4477152502, kTolerance);
  EXPECT_NEAR(all.elementAt(4).y, 4.5, kTolerance);

  QPainterPath bottomOnly;
  AddRoundRectFigure(bottomOnly, TRectF(0, 0, 100, 40), 4, 4, {TCorner::BottomLeft, TCorner::BottomRight});
  EXPECT_EQ(bottomOnly.elementCount(), 11) << "square top corners are plain line joins";
  EXPECT_EQ(bottomOnly.elementAt(0).x, 0);
  EXPECT_EQ(bottomOnly.elementAt(0).y, 0);

  QPainterPath oversized;
  AddRoundRectFigure(oversized, TRectF(0, 0, 40, 10), 100, 100, AllCorners);
  EXPECT_EQ(oversized.boundingRect(), QRectF(0, 0, 40, 10));
  EXPECT_TRUE(oversized.contains(QPointF(20, 5)));
  EXPECT_FALSE(oversized.contains(QPointF(1, 1))) << "radii are limited to half the size, not dropped";
}

TEST(DrawCanvasGeometry, ChosenSidesAlongTheRoundedOutline) {
  struct Row {
    const char* Name;
    TSides Sides;
    bool Round;
    int Subpaths;
    int Curves;
  };
  const Row rows[] = {
      {"no side", {}, true, 0, 0},
      {"top alone stops where its corners begin", {TSide::Top}, true, 1, 0},
      {"top and right join over their shared corner", {TSide::Top, TSide::Right}, true, 1, 1},
      {"opposite sides are two strokes", {TSide::Left, TSide::Right}, true, 2, 0},
      {"three sides are one stroke with two corners", {TSide::Left, TSide::Bottom, TSide::Right}, true, 1, 2},
      {"square corners join as lines", {TSide::Left, TSide::Bottom, TSide::Right}, false, 1, 0},
  };
  const TRectF rect(0, 0, 100, 40);
  for (const Row& row : rows) {
    QPainterPath path;
    AddRoundRectSides(path, rect, row.Round ? 6 : 0, row.Round ? 6 : 0, AllCorners, row.Sides);
    int moves = 0;
    int curves = 0;
    for (int i = 0; i < path.elementCount(); ++i) {
      if (path.elementAt(i).isMoveTo()) ++moves;
      if (path.elementAt(i).isCurveTo()) ++curves;
    }
    EXPECT_EQ(moves, row.Subpaths) << row.Name;
    EXPECT_EQ(curves, row.Curves) << row.Name;
  }
  QPainterPath top;
  AddRoundRectSides(top, rect, 6, 6, AllCorners, {TSide::Top});
  EXPECT_EQ(top.boundingRect(), QRectF(6, 0, 88, 0));
}

TEST(DrawCanvasGeometry, PicturePlacement) {
  using H = TPictureHorzAlign;
  using V = TPictureVertAlign;
  struct Row {
    const char* Name;
    double W, H;
    TRectF R;
    TPicturePlacement Placement;
    TRectF Expected;
  };
  const Row rows[] = {
      {"into an empty rectangle, fitted", 100, 40, {0, 0, 0, 0}, {false, true, 1, H::phaLeft, V::pvaTop}, {0, 0, 0, 0}},
      {"natural size at the top left", 100, 40, {10, 20, 50, 50}, {}, {10, 20, 100, 40}},
      {"fit shrinks 100 x 40 into 50 x 50 to 50 x 20, centred", 100, 40, {0, 0, 50, 50},
       {false, true, 1, H::phaLeft, V::pvaCenter}, {0, 15, 50, 20}},
      {"fit never enlarges", 20, 10, {0, 0, 50, 50}, {false, true, 1, H::phaRight, V::pvaBottom}, {30, 40, 20, 10}},
      {"stretched and fitted into 300 x 60 is 150 x 60", 100, 40, {0, 0, 300, 60}, {true, true, 1, H::phaLeft, V::pvaTop},
       {0, 0, 150, 60}},
      {"stretched without fit takes the rectangle times the scale", 100, 40, {5, 5, 80, 30},
       {true, false, 0.5, H::phaCenter, V::pvaCenter}, {5, 5, 40, 15}},
      {"centre only moves when there is room", 100, 40, {0, 0, 50, 50}, {false, false, 1, H::phaCenter, V::pvaCenter},
       {0, 5, 100, 40}},
      {"scale applies to the natural size", 20, 10, {0, 0, 100, 100}, {false, false, 2, H::phaRight, V::pvaTop},
       {60, 0, 40, 20}},
      {"the combo arrow: fits, right, centred in 14 high", 12, 8, {8, 8, 426, 14},
       {false, true, 1, H::phaRight, V::pvaCenter}, {422, 11, 12, 8}},
  };
  for (const Row& row : rows) ExpectRect(PlacePicture(row.W, row.H, row.R, row.Placement), row.Expected, row.Name);
}

std::vector<std::pair<TRectF, TRectF>> Pieces(const TPicturePieces& APieces) {
  std::vector<std::pair<TRectF, TRectF>> list;
  for (int i = 0; i < APieces.Count; ++i) list.emplace_back(APieces.Items[i].Source, APieces.Items[i].Dest);
  return list;
}

TPictureCut Stretched(TPictureStretchStyle AStyle, TPictureTooSmallProcessType ATooSmall = TPictureTooSmallProcessType::itsptNone) {
  TPictureCut cut;
  cut.IsStretch = true;
  cut.StretchStyle = AStyle;
  cut.TooSmall = ATooSmall;
  cut.Margins = {8, 8, 8, 8};
  cut.DestMargins = {4, 4, 4, 4};
  return cut;
}

TEST(DrawCanvasGeometry, NinePiecesInTheirOrder) {
  const TPicturePieces pieces = CutPicture({0, 0, 32, 32}, {0, 0, 100, 50}, Stretched(TPictureStretchStyle::issSquare));
  const std::vector<std::pair<TRectF, TRectF>> expected = {
      {{0, 0, 8, 8}, {0, 0, 8, 8}},      {{24, 0, 8, 8}, {92, 0, 8, 8}},    {{0, 24, 8, 8}, {0, 42, 8, 8}},
      {{24, 24, 8, 8}, {92, 42, 8, 8}},  {{8, 0, 16, 8}, {8, 0, 84, 8}},    {{8, 24, 16, 8}, {8, 42, 84, 8}},
      {{0, 8, 8, 16}, {0, 8, 8, 34}},    {{24, 8, 8, 16}, {92, 8, 8, 34}},  {{8, 8, 16, 16}, {8, 8, 84, 34}},
  };
  ASSERT_EQ(pieces.Count, 9);
  const auto actual = Pieces(pieces);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    ExpectRect(actual[i].first, expected[i].first, "source");
    ExpectRect(actual[i].second, expected[i].second, "destination");
  }
  // With D at least as large as S the destinations tile D: no gap, no overlap.
  double area = 0;
  for (const auto& [source, dest] : actual) {
    area += dest.width() * dest.height();
    EXPECT_TRUE(QRectF(0, 0, 100, 50).contains(dest));
    for (const auto& [otherSource, other] : actual) {
      if (&other == &dest) continue;
      EXPECT_TRUE(dest.intersected(other).isEmpty()) << "pieces overlap";
    }
  }
  EXPECT_NEAR(area, 100 * 50, kTolerance);
}

TEST(DrawCanvasGeometry, ProStylesUseTheDestinationMargins) {
  const auto pieces = Pieces(CutPicture({0, 0, 32, 32}, {0, 0, 100, 50}, Stretched(TPictureStretchStyle::issSquarePro)));
  ExpectRect(pieces[0].second, {0, 0, 4, 4}, "top-left");
  ExpectRect(pieces[8].first, {8, 8, 16, 16}, "centre source keeps the source margins");
  ExpectRect(pieces[8].second, {4, 4, 92, 42}, "centre destination");
  const auto horz = Pieces(CutPicture({0, 0, 32, 10}, {0, 0, 100, 10}, Stretched(TPictureStretchStyle::issThreePartHorzPro)));
  ExpectRect(horz[2].second, {4, 0, 92, 10}, "three-part middle");
}

TEST(DrawCanvasGeometry, ThreePartsOfTheProgressPicture) {
  const auto pieces = Pieces(CutPicture({0, 0, 256, 4}, {0, 0, 300, 4}, Stretched(TPictureStretchStyle::issThreePartHorz)));
  ASSERT_EQ(pieces.size(), 3u);
  ExpectRect(pieces[0].first, {0, 0, 8, 4}, "left cap");
  ExpectRect(pieces[0].second, {0, 0, 8, 4}, "left cap");
  ExpectRect(pieces[1].first, {248, 0, 8, 4}, "right cap");
  ExpectRect(pieces[1].second, {292, 0, 8, 4}, "right cap");
  ExpectRect(pieces[2].first, {8, 0, 240, 4}, "middle");
  ExpectRect(pieces[2].second, {8, 0, 284, 4}, "middle");

  const auto vert = Pieces(CutPicture({0, 0, 4, 32}, {0, 0, 4, 100}, Stretched(TPictureStretchStyle::issThreePartVert)));
  ASSERT_EQ(vert.size(), 3u);
  ExpectRect(vert[1].second, {0, 92, 4, 8}, "bottom cap");
  ExpectRect(vert[2].second, {0, 8, 4, 84}, "middle");
}

TEST(DrawCanvasGeometry, TooSmallFallBacks) {
  using S = TPictureStretchStyle;
  using T = TPictureTooSmallProcessType;
  struct Row {
    const char* Name;
    TRectF S;
    TRectF D;
    TPictureCut Cut;
    std::vector<std::pair<TRectF, TRectF>> Expected;
  };
  const Row rows[] = {
      {"natural size at scale 1 is drawn whole", {0, 0, 12, 12}, {0, 0, 50, 50}, [] {
         TPictureCut cut = Stretched(S::issSquare);
         cut.IsStretch = false;
         return cut;
       }(),
       {{{0, 0, 12, 12}, {0, 0, 50, 50}}}},
      {"nine parts of a picture smaller than its margins, tensile", {0, 0, 12, 12}, {0, 0, 100, 50},
       Stretched(S::issSquare, T::itsptTensile), {{{0, 0, 12, 12}, {0, 0, 100, 50}}}},
      {"nine parts into a destination smaller than the picture, tensile", {0, 0, 32, 32}, {0, 0, 20, 50},
       Stretched(S::issSquare, T::itsptPart), {{{0, 0, 32, 32}, {0, 0, 20, 50}}}},
      {"three parts too narrow, tensile", {0, 0, 256, 4}, {0, 0, 100, 4}, Stretched(S::issThreePartHorz, T::itsptTensile),
       {{{0, 0, 256, 4}, {0, 0, 100, 4}}}},
      {"three parts too narrow, the left part as wide as D", {0, 0, 256, 4}, {0, 0, 100, 4},
       Stretched(S::issThreePartHorz, T::itsptPart), {{{0, 0, 100, 4}, {0, 0, 100, 4}}}},
      {"three vertical parts too low, the top part", {0, 0, 4, 64}, {0, 0, 4, 20},
       Stretched(S::issThreePartVert, T::itsptPart), {{{0, 0, 4, 20}, {0, 0, 4, 20}}}},
      {"fill max of a wide picture takes its middle", {0, 0, 200, 100}, {0, 0, 100, 100}, Stretched(S::issAutoFitFillMax),
       {{{50, 0, 100, 100}, {0, 0, 100, 100}}}},
      {"fill max of a tall picture takes its middle", {0, 0, 100, 300}, {0, 0, 100, 100}, Stretched(S::issAutoFitFillMax),
       {{{0, 100, 100, 100}, {0, 0, 100, 100}}}},
      {"fill max into nothing draws nothing", {0, 0, 100, 300}, {0, 0, 0, 100}, Stretched(S::issAutoFitFillMax), {}},
  };
  for (const Row& row : rows) {
    const auto pieces = Pieces(CutPicture(row.S, row.D, row.Cut));
    ASSERT_EQ(pieces.size(), row.Expected.size()) << row.Name;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      ExpectRect(pieces[i].first, row.Expected[i].first, row.Name);
      ExpectRect(pieces[i].second, row.Expected[i].second, row.Name);
    }
  }
}

TEST(DrawCanvasGeometry, TextPlacementAndDevicePixels) {
  ExpectRect(PlaceText({10, 10, 200, 50}, 110, 24, TFontHorzAlign::fhaCenter, TFontVertAlign::fvaCenter),
             {55, 23, 110, 24}, "centred");
  ExpectRect(PlaceText({10, 10, 200, 50}, 110, 24, TFontHorzAlign::fhaRight, TFontVertAlign::fvaBottom),
             {100, 36, 110, 24}, "bottom right");
  ExpectRect(PlaceText({10, 10, 50, 50}, 110, 24, TFontHorzAlign::fhaCenter, TFontVertAlign::fvaTop),
             {-20, 10, 110, 24}, "wider than the rectangle overflows both sides");

  EXPECT_DOUBLE_EQ(CeilToDevicePixels(110.016, 1), 111);
  EXPECT_DOUBLE_EQ(CeilToDevicePixels(110.016, 2), 110.5);
  EXPECT_DOUBLE_EQ(CeilToDevicePixels(14, 1.5), 14);
  EXPECT_DOUBLE_EQ(CeilToDevicePixels(14.2, 0), 15);
  EXPECT_DOUBLE_EQ(CeilToDevicePixels(14.2, -1), 15);
}

}  // namespace
