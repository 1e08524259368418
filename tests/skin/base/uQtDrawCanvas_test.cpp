// The draw canvas on a QPainter: exact geometry through a recording paint
// device, one table per operation, and a few pixels where a person would see
// the fault.

#include "skin/base/uDrawPicture.h"
#include "skin/base/uQtDrawCanvas.h"
#include "tests/support/GuiApp.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/RecordingPaintDevice.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

namespace {

using namespace paint_record;

const QColor kInstallFill(0x00, 0x92, 0xCA);
const QColor kInstallBorder(0x00, 0x98, 0xD4);

// A picture whose regions have their own colours, so a pixel tells which
// part of it landed there: AColors split the width in equal columns.
std::unique_ptr<TSkinPicture> Picture(int AWidth, int AHeight, std::initializer_list<QColor> AColors) {
  QImage image(AWidth, AHeight, QImage::Format_ARGB32);
  const int columns = static_cast<int>(AColors.size());
  int column = 0;
  for (const QColor& color : AColors) {
    for (int x = column * AWidth / columns; x < (column + 1) * AWidth / columns; ++x) {
      for (int y = 0; y < AHeight; ++y) image.setPixelColor(x, y, color);
    }
    ++column;
  }
  auto picture = std::make_unique<TSkinPicture>();
  picture->SetImage(image);
  return picture;
}

// A canvas bound to a painter on a recording device; every test leaves the
// painter as it found it.
class RecordedCanvasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test_support::GuiApp();
    ostrel::skin::ResetDrawSettings();
    FPainter.begin(&FDevice);
    FCanvas.Prepare(&FPainter);
  }
  void TearDown() override {
    EXPECT_TRUE(FPainter.worldTransform().isIdentity()) << "the canvas restores the matrix";
    EXPECT_FALSE(FPainter.hasClipping()) << "the canvas resets its clip";
    EXPECT_EQ(FPainter.opacity(), 1.0);
    EXPECT_EQ(FPainter.pen(), QPen());
    EXPECT_EQ(FPainter.brush(), QBrush());
    FCanvas.UnPrepare();
    FPainter.end();
    ostrel::skin::ResetDrawSettings();
  }

  const std::vector<Op>& Ops() const { return FDevice.Ops(); }

  RecordingPaintDevice FDevice{600, 400};
  QPainter FPainter;
  TQtDrawCanvas FCanvas;
};

// ---------------------------------------------------------------------------
// Rectangles

struct RectRow {
  const char* Name;
  std::function<void(TDrawRectParam&)> Configure;
  TRectF Control;
  std::vector<Op> Expected;
};

void PrintTo(const RectRow& ARow, std::ostream* AOut) { *AOut << ARow.Name; }

void Fill(TDrawRectParam& AParam, TAlphaColor AColor) {
  AParam.SetIsFill(true);
  AParam.FillDrawColor()->SetColor(AColor);
}

void Border(TDrawRectParam& AParam, TAlphaColor AColor, double AWidth) {
  AParam.BorderDrawColor()->SetColor(AColor);
  AParam.SetBorderWidth(AWidth);
}

void Round(TDrawRectParam& AParam, double ARadius) {
  AParam.SetIsRound(true);
  AParam.SetRoundWidth(ARadius);
  AParam.SetRoundHeight(ARadius);
}

class DrawRectTable : public RecordedCanvasTest, public ::testing::WithParamInterface<RectRow> {};

TEST_P(DrawRectTable, RecordsTheseOps) {
  const RectRow& row = GetParam();
  TDrawRectParam param;
  row.Configure(param);
  EXPECT_TRUE(FCanvas.DrawRect(&param, row.Control));
  EXPECT_EQ(Ops(), row.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Canvas, DrawRectTable,
    ::testing::Values(
        RectRow{"nothing to draw", [](TDrawRectParam&) {}, {0, 0, 100, 30}, {}},
        RectRow{"no width", [](TDrawRectParam& p) { Fill(p, 0xFF0092CA); }, {10, 10, 0.0005, 30}, {}},
        RectRow{"no height", [](TDrawRectParam& p) { Fill(p, 0xFF0092CA); }, {10, 10, 30, 0}, {}},
        RectRow{"install button: rounded fill inset by 0.5, then its outline",
                [](TDrawRectParam& p) {
                  Fill(p, 0xFF0092CA);
                  Round(p, 4);
                  Border(p, 0xFF0098D4, 1);
                },
                {0, 0, 100, 30},
                {FillPath({0.5, 0.5, 99, 29}, 17, kInstallFill), StrokePath({0.5, 0.5, 99, 29}, 17, kInstallBorder, 1)}},
        RectRow{"bottom panel: square top corners",
                [](TDrawRectParam& p) {
                  Fill(p, 0xC0202020);
                  Round(p, 4);
                  p.SetRectCorners({TDRPRectCorner::rcBottomLeft, TDRPRectCorner::rcBottomRight});
                  Border(p, 0xFF373737, 1);
                },
                {0, 0, 464, 60},
                {FillPath({0.5, 0.5, 463, 59}, 11, QColor(0x20, 0x20, 0x20, 0xC0)),
                 StrokePath({0.5, 0.5, 463, 59}, 11, QColor(0x37, 0x37, 0x37), 1)}},
        RectRow{"plain fill without border", [](TDrawRectParam& p) { Fill(p, 0xFFFF0000); }, {5, 6, 70, 20},
                {FillRect({5, 6, 70, 20}, Qt::red)}},
        RectRow{"border alone", [](TDrawRectParam& p) { Border(p, 0xFF00FF00, 2); }, {0, 0, 40, 20},
                {StrokePath({1, 1, 38, 18}, 5, Qt::green, 2)}},
        RectRow{"1 pixel high is a line in the own fill colour",
                [](TDrawRectParam& p) { Fill(p, 0xFF0000FF); }, {0, 10, 50, 1},
                {Line({{0, 10.5}, {50, 10.5}}, Qt::blue, 1)}},
        RectRow{"1 pixel wide is a line", [](TDrawRectParam& p) { Fill(p, 0xFF0000FF); }, {20.6, 0, 1, 30},
                {Line({{20.5, 0}, {20.5, 30}}, Qt::blue, 1)}},
        RectRow{"a line at the top uses the own fill colour, not the effect's",
                [](TDrawRectParam& p) {
                  p.SetIsLine(true);
                  p.SetLinePosition(TDRPLinePosition::lpTop);
                  p.FillDrawColor()->SetColor(0xFF112233);
                  auto& over = *p.DrawEffectSetting()->MouseOverEffect();
                  over.FillDrawColor()->SetColor(0xFFFFFFFF);
                  over.SetEffectTypes({TDRPEffectType::drpetFillColorChange});
                  p.SetStaticEffectStates({TDPEffectState::dpstMouseOver});
                },
                {0, 0, 80, 30},
                {Line({{0, 0.5}, {80, 0.5}}, QColor(0x11, 0x22, 0x33), 1)}},
        RectRow{"border 10 on 6 high collapses to a 0.01 strip in the middle",
                [](TDrawRectParam& p) {
                  Fill(p, 0xFFFF0000);
                  Border(p, 0xFF000000, 10);
                },
                {0, 0, 100, 6},
                {FillRect({5, 3, 90, 0.01}, Qt::red), StrokePath({5, 3, 90, 0.01}, 5, Qt::black, 10)}},
        RectRow{"mouse-over effect colours and border width",
                [](TDrawRectParam& p) {
                  Fill(p, 0xFF0092CA);
                  auto& over = *p.DrawEffectSetting()->MouseOverEffect();
                  over.FillDrawColor()->SetColor(0xFF0089BF);
                  over.BorderDrawColor()->SetColor(0xFF0090C9);
                  over.SetBorderWidth(2);
                  over.SetEffectTypes({TDRPEffectType::drpetFillColorChange, TDRPEffectType::drpetBorderColorChange,
                                       TDRPEffectType::drpetBorderWidthChange});
                  p.SetStaticEffectStates({TDPEffectState::dpstMouseOver});
                },
                {0, 0, 40, 20},
                {FillRect({1, 1, 38, 18}, QColor(0x00, 0x89, 0xBF)), StrokePath({1, 1, 38, 18}, 5, QColor(0, 0x90, 0xC9), 2)}},
        RectRow{"alpha of the parameter is the opacity of fill and stroke",
                [](TDrawRectParam& p) {
                  Fill(p, 0xFFFF0000);
                  Border(p, 0xFF000000, 1);
                  p.DrawAlpha = 128;
                },
                {0, 0, 50, 25},
                {FillRect({0.5, 0.5, 49, 24}, Qt::red, 128 / 255.0), StrokePath({0.5, 0.5, 49, 24}, 5, Qt::black, 1, 128 / 255.0)}},
        RectRow{"no brush strokes only",
                [](TDrawRectParam& p) {
                  Fill(p, 0xFFFF0000);
                  p.SetBrushKind(TDRPBrushKind::drpbkNone);
                  Border(p, 0xFF000000, 1);
                },
                {0, 0, 50, 25},
                {StrokePath({0.5, 0.5, 49, 24}, 5, Qt::black, 1)}},
        RectRow{"a rounded hole is filled even-odd",
                [](TDrawRectParam& p) {
                  Fill(p, 0xFFFF0000);
                  p.SetIsClipRound(true);
                  p.ClipRoundRectSetting()->SetMargins(10, 10, 10, 10);
                  p.ClipRoundRectSetting()->SetSizeType(TDPSizeType::dpstPixel);
                  p.ClipRoundRectSetting()->SetEnabled(true);
                },
                {0, 0, 60, 40},
                // The rectangle, then the hole: radii of half its size leave four curves and no straight side.
                {FillPath({0, 0, 60, 40}, 5 + 13, Qt::red, 1, Qt::OddEvenFill)}},
        RectRow{"chosen sides of a rounded outline", [](TDrawRectParam& p) {
                  Round(p, 6);
                  Border(p, 0xFF000000, 1);
                  p.SetBorderEadges({TDRPBorderEadge::beLeft, TDRPBorderEadge::beBottom, TDRPBorderEadge::beRight});
                },
                {0, 0, 100, 40},
                // Right (move, line), bottom-right corner, bottom, bottom-left corner, left; the
                // undrawn top's corners are not drawn either.
                {StrokePath({0.5, 6.5, 99, 33}, 2 + 3 + 1 + 3 + 1, Qt::black, 1)}}),
    [](const ::testing::TestParamInfo<RectRow>& AInfo) { return "row" + std::to_string(AInfo.index); });

TEST_F(RecordedCanvasTest, MinusOneRadiiAreHalfTheInsetRectangle) {
  TDrawRectParam param;
  Fill(param, 0xFFFF0000);
  param.SetIsRound(true);
  param.SetRoundWidth(-1);
  param.SetRoundHeight(-1);
  Border(param, 0xFF000000, 1);
  FCanvas.DrawRect(&param, TRectF(0, 0, 50, 25));
  ASSERT_EQ(Ops().size(), 2u);
  const QPainterPath& path = Ops()[0].Path;
  // Radii 24.5 and 12 on the 49 x 24 rectangle at (0.5, 0.5): the top edge
  // has no straight part, the first curve ends 12 below the top.
  EXPECT_NEAR(path.elementAt(0).x, 0.5 + 24.5, 0.001);
  ASSERT_TRUE(path.elementAt(1).isCurveTo());
  EXPECT_NEAR(path.elementAt(3).x, 49.5, 0.001);
  EXPECT_NEAR(path.elementAt(3).y, 0.5 + 12, 0.001);
}

TEST_F(RecordedCanvasTest, KeptPathsFollowTheParameter) {
  TDrawRectParam param;
  Fill(param, 0xFFFF0000);
  Round(param, 4);
  FCanvas.DrawRect(&param, TRectF(0, 0, 100, 30));
  const ostrel::skin::KeptDrawCache* cache = param.DrawCache();
  ASSERT_NE(cache, nullptr);
  FCanvas.DrawRect(&param, TRectF(0, 0, 100, 30));
  EXPECT_EQ(param.DrawCache(), cache) << "a second paint reuses what the first built";
  param.SetRoundWidth(8);
  FDevice.Clear();
  FCanvas.DrawRect(&param, TRectF(0, 0, 100, 30));
  ASSERT_EQ(Ops().size(), 1u);
  EXPECT_NEAR(Ops()[0].Path.elementAt(0).x, 8, 0.001) << "a changed radius builds the path anew";
}

// ---------------------------------------------------------------------------
// Pictures

struct PictureRow {
  const char* Name;
  int PictureWidth;
  int PictureHeight;
  std::function<void(TDrawPictureParam&)> Configure;
  TRectF Control;
  std::vector<Op> Expected;
};

void PrintTo(const PictureRow& ARow, std::ostream* AOut) { *AOut << ARow.Name; }

class DrawPictureTable : public RecordedCanvasTest, public ::testing::WithParamInterface<PictureRow> {};

TEST_P(DrawPictureTable, RecordsTheseOps) {
  const PictureRow& row = GetParam();
  TDrawPictureParam param;
  row.Configure(param);
  const auto picture = Picture(row.PictureWidth, row.PictureHeight, {Qt::red});
  EXPECT_TRUE(FCanvas.DrawSkinPicture(&param, picture.get(), row.Control));
  EXPECT_EQ(Ops(), row.Expected);
}

std::vector<Op> NinePieces() {
  return {Image({0, 0, 8, 8}, {0, 0, 8, 8}),     Image({92, 0, 8, 8}, {24, 0, 8, 8}),
          Image({0, 42, 8, 8}, {0, 24, 8, 8}),   Image({92, 42, 8, 8}, {24, 24, 8, 8}),
          Image({8, 0, 84, 8}, {8, 0, 16, 8}),   Image({8, 42, 84, 8}, {8, 24, 16, 8}),
          Image({0, 8, 8, 34}, {0, 8, 8, 16}),   Image({92, 8, 8, 34}, {24, 8, 8, 16}),
          Image({8, 8, 84, 34}, {8, 8, 16, 16})};
}

INSTANTIATE_TEST_SUITE_P(
    Canvas, DrawPictureTable,
    ::testing::Values(
        PictureRow{"a new parameter draws at natural size at the top left", 20, 10, [](TDrawPictureParam&) {},
                   {5, 5, 100, 100}, {Image({5, 5, 20, 10}, {0, 0, 20, 10})}},
        PictureRow{"no control rectangle", 20, 10, [](TDrawPictureParam&) {}, {5, 5, 0, 100}, {}},
        PictureRow{"100 x 40 fitted into 50 x 50 is 50 x 20, centred", 100, 40,
                   [](TDrawPictureParam& p) {
                     p.SetIsAutoFit(true);
                     p.SetPictureVertAlign(TPictureVertAlign::pvaCenter);
                   },
                   {0, 0, 50, 50}, {Image({0, 15, 50, 20}, {0, 0, 100, 40})}},
        PictureRow{"100 x 40 stretched and fitted into 300 x 60 is 150 x 60", 100, 40,
                   [](TDrawPictureParam& p) {
                     p.SetIsAutoFit(true);
                     p.SetIsStretch(true);
                   },
                   {0, 0, 300, 60}, {Image({0, 0, 150, 60}, {0, 0, 100, 40})}},
        PictureRow{"nine pieces of 32 x 32 in 100 x 50, in order", 32, 32,
                   [](TDrawPictureParam& p) {
                     p.SetIsStretch(true);
                     p.SetStretchStyle(TPictureStretchStyle::issSquare);
                   },
                   {0, 0, 100, 50}, NinePieces()},
        PictureRow{"the progress picture in three parts", 256, 4,
                   [](TDrawPictureParam& p) {
                     p.SetIsStretch(true);
                     p.SetStretchStyle(TPictureStretchStyle::issThreePartHorz);
                   },
                   {0, 0, 300, 4},
                   {Image({0, 0, 8, 4}, {0, 0, 8, 4}), Image({292, 0, 8, 4}, {248, 0, 8, 4}),
                    Image({8, 0, 284, 4}, {8, 0, 240, 4})}},
        PictureRow{"a 12 x 12 picture smaller than its margins is stretched whole", 12, 12,
                   [](TDrawPictureParam& p) {
                     p.SetIsStretch(true);
                     p.SetStretchStyle(TPictureStretchStyle::issSquare);
                     p.SetPictureTooSmallProcessType(TPictureTooSmallProcessType::itsptTensile);
                   },
                   {0, 0, 100, 50}, {Image({0, 0, 100, 50}, {0, 0, 12, 12})}},
        PictureRow{"pieces of no size draw nothing", 12, 12,
                   [](TDrawPictureParam& p) {
                     p.SetIsStretch(true);
                     p.SetStretchStyle(TPictureStretchStyle::issThreePartHorz);
                   },
                   {0, 0, 100, 12},
                   // The middle's source is 12 - 8 - 8 = -4 wide: not drawn, never mirrored.
                   {Image({0, 0, 8, 12}, {0, 0, 8, 12}), Image({92, 0, 8, 12}, {4, 0, 8, 12})}},
        PictureRow{"a part wider than the picture is cut to it", 16, 4,
                   [](TDrawPictureParam& p) {
                     p.SetIsStretch(true);
                     p.SetStretchStyle(TPictureStretchStyle::issThreePartHorz);
                     p.SetPictureTooSmallProcessType(TPictureTooSmallProcessType::itsptPart);
                     p.StretchMargins()->SetBounds(10, 0, 10, 0);
                   },
                   {0, 0, 40, 4}, {Image({0, 0, 16, 4}, {0, 0, 16, 4})}},
        PictureRow{"fill max of 200 x 100 in 100 x 100 takes the middle", 200, 100,
                   [](TDrawPictureParam& p) {
                     p.SetIsStretch(true);
                     p.SetStretchStyle(TPictureStretchStyle::issAutoFitFillMax);
                   },
                   {0, 0, 100, 100}, {Image({0, 0, 100, 100}, {50, 0, 100, 100})}},
        PictureRow{"alpha is the opacity", 20, 10, [](TDrawPictureParam& p) { p.DrawAlpha = 51; }, {0, 0, 40, 40},
                   {Image({0, 0, 20, 10}, {0, 0, 20, 10}, 0.2)}}),
    [](const ::testing::TestParamInfo<PictureRow>& AInfo) { return "row" + std::to_string(AInfo.index); });

TEST_F(RecordedCanvasTest, RotationTurnsAboutTheDestinationCentre) {
  TDrawPictureParam param;
  param.SetRotateAngle(90);
  const auto picture = Picture(20, 10, {Qt::red});
  FCanvas.DrawSkinPicture(&param, picture.get(), TRectF(0, 0, 100, 100));
  ASSERT_EQ(Ops().size(), 1u);
  const QTransform& t = Ops()[0].Transform;
  // D is (0, 0, 20, 10): its centre (10, 5) stays, its corner (0, 0) turns to (15, -5).
  EXPECT_EQ(t.map(QPointF(10, 5)), QPointF(10, 5));
  EXPECT_NEAR(t.map(QPointF(0, 0)).x(), 15, 0.001);
  EXPECT_NEAR(t.map(QPointF(0, 0)).y(), -5, 0.001);

  // An effect adds its angle to the parameter's.
  FDevice.Clear();
  auto& over = *param.DrawEffectSetting()->MouseOverEffect();
  over.SetEffectTypes({TDPPEffectType::dppetRotateAngleChange});
  param.SetStaticEffectStates({TDPEffectState::dpstMouseOver});
  FPainter.translate(30, 40);
  FCanvas.DrawSkinPicture(&param, picture.get(), TRectF(0, 0, 100, 100));
  FPainter.resetTransform();
  ASSERT_EQ(Ops().size(), 1u);
  EXPECT_NEAR(Ops()[0].Transform.map(QPointF(10, 5)).x(), 40, 0.001) << "the painter's own matrix is kept";
  EXPECT_NEAR(Ops()[0].Transform.map(QPointF(0, 0)).x(), 50, 0.001) << "180 degrees";
}

// ---------------------------------------------------------------------------
// Text

class RecordedTextTest : public RecordedCanvasTest {
 protected:
  void SetUp() override {
    RecordedCanvasTest::SetUp();
    FParam.SetFontName(QStringLiteral("DejaVu Sans"));
    FParam.SetFontSize(20);
  }
  std::vector<Op> Texts() const { return FDevice.OpsOf(OpKind::Text); }
  TDrawTextParam FParam;
};

TEST_F(RecordedTextTest, CentredSingleLineAndTheFontColourInForce) {
  FParam.SetFontHorzAlign(TFontHorzAlign::fhaCenter);
  FParam.SetFontVertAlign(TFontVertAlign::fvaCenter);
  FParam.SetFontColor(0xFFFFFFFF);
  auto& down = *FParam.DrawEffectSetting()->MouseDownEffect();
  down.FontColor()->SetColor(0xCEFFFFFF);
  down.SetEffectTypes({TDTPEffectType::dtpetFontColorChange});
  FParam.SetStaticEffectStates({TDPEffectState::dpstMouseDown});
  FParam.DrawAlpha = 200;
  EXPECT_TRUE(FCanvas.DrawText(&FParam, QStringLiteral("Install Now"), TRectF(10, 20, 200, 50)));
  const std::vector<Op> texts = Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].Text, QStringLiteral("Install Now"));
  // The parameter's alpha goes into the colour: 0xCE x 200 / 255.
  EXPECT_EQ(texts[0].Pen, QColor(0xFF, 0xFF, 0xFF, 0xA2));
  EXPECT_EQ(texts[0].Opacity, 1.0);
  double width = 0;
  double height = 0;
  FCanvas.CalcTextDrawSize(&FParam, QStringLiteral("Install Now"), TRectF(10, 20, 200, 50), width, height,
                           TCalcDrawSizeType::cdstBoth);
  EXPECT_NEAR(texts[0].Rect.center().x(), 110, 1) << "centred in 10 .. 210";
  TRectF placed;
  FCanvas.CalcTextDrawRect(&FParam, QStringLiteral("Install Now"), TRectF(10, 20, 200, 50), placed);
  EXPECT_NEAR(placed.center().x(), 110, 0.5);
  EXPECT_NEAR(placed.center().y(), 45, 0.5);
  EXPECT_EQ(placed.size(), QSizeF(width, height));
  EXPECT_EQ(width, std::ceil(width)) << "measured sizes are whole device pixels";
}

TEST_F(RecordedTextTest, SizeIsFlooredToWholePointsWhenDrawnButNotWhenMeasured) {
  FParam.SetFontSize(14.6);
  const QString text = QStringLiteral("Mmmmmmmmmmmmmmmmmmmmmmmmmmmmmm");
  double exact = 0;
  double height = 0;
  FCanvas.CalcTextDrawSize(&FParam, text, TRectF(0, 0, 600, 50), exact, height, TCalcDrawSizeType::cdstWidth);
  FParam.SetFontSize(14);
  double floored = 0;
  FCanvas.CalcTextDrawSize(&FParam, text, TRectF(0, 0, 600, 50), floored, height, TCalcDrawSizeType::cdstWidth);
  EXPECT_GT(exact, floored + 5);
  FParam.SetFontSize(14.6);
  FCanvas.DrawText(&FParam, text, TRectF(0, 0, 600, 50));
  ASSERT_EQ(Texts().size(), 1u);
  EXPECT_NEAR(Texts()[0].Rect.width(), floored, 1);
}

TEST_F(RecordedTextTest, VerticalTextPutsEachCharacterOnItsOwnLine) {
  FParam.SetIsDrawVert(true);
  FCanvas.DrawText(&FParam, QStringLiteral("ab"), TRectF(0, 0, 100, 100));
  const std::vector<Op> texts = Texts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].Text, QStringLiteral("a"));
  EXPECT_EQ(texts[1].Text, QStringLiteral("b"));
  EXPECT_LT(texts[0].Rect.top(), texts[1].Rect.top()) << "a above b";
  EXPECT_EQ(texts[0].Rect.left(), texts[1].Rect.left());
}

TEST_F(RecordedTextTest, TrimmingCutsWhatDoesNotFitWithAnEllipsis) {
  struct Row {
    TFontTrimmingType Trimming;
    const char* Name;
  };
  const QString text = QStringLiteral("Install into the folder below");
  for (const Row& row : {Row{TFontTrimmingType::fttCharacter, "by character"}, Row{TFontTrimmingType::fftWord, "by word"}}) {
    FDevice.Clear();
    FParam.SetFontTrimming(row.Trimming);
    FCanvas.DrawText(&FParam, text, TRectF(0, 0, 150, 40));
    const std::vector<Op> texts = Texts();
    ASSERT_EQ(texts.size(), 1u) << row.Name;
    EXPECT_TRUE(texts[0].Text.endsWith(QChar(0x2026))) << row.Name << ": " << texts[0].Text.toStdString();
    EXPECT_LE(texts[0].Rect.width(), 150) << row.Name;
    if (row.Trimming == TFontTrimmingType::fftWord) {
      const QString kept = texts[0].Text.chopped(1);
      EXPECT_TRUE(text.startsWith(kept + u' ')) << "ends at a whole word: " << kept.toStdString();
    }
  }
  FDevice.Clear();
  FParam.SetFontTrimming(TFontTrimmingType::fttNone);
  FCanvas.DrawText(&FParam, text, TRectF(0, 0, 150, 40));
  ASSERT_EQ(Texts().size(), 1u);
  EXPECT_EQ(Texts()[0].Text, text) << "without trimming the text is drawn whole";
}

TEST_F(RecordedTextTest, WrappedTextKeepsTheLinesThatFitAndEndsTheLastWithAnEllipsis) {
  FParam.SetIsWordWrap(true);
  FParam.SetFontTrimming(TFontTrimmingType::fftWord);
  FParam.SetFontVertAlign(TFontVertAlign::fvaBottom);
  FCanvas.DrawText(&FParam, QStringLiteral("one two three four five six seven eight nine ten"), TRectF(0, 0, 160, 55));
  const std::vector<Op> texts = Texts();
  ASSERT_EQ(texts.size(), 2u) << "two lines of about 23 pixels fit 55";
  EXPECT_TRUE(texts[1].Text.endsWith(QChar(0x2026)));
  EXPECT_LE(texts[1].Rect.bottom(), 55.5) << "bottom-aligned inside the rectangle";
}

TEST_F(RecordedTextTest, TheKeptLayoutServesEveryPaintUntilTheTextChanges) {
  FCanvas.DrawText(&FParam, QStringLiteral("Browse"), TRectF(0, 0, 200, 40));
  const ostrel::skin::KeptTextLayout* kept = FParam.TextLayout();
  ASSERT_NE(kept, nullptr);
  FCanvas.DrawText(&FParam, QStringLiteral("Browse"), TRectF(50, 50, 200, 40));
  FCanvas.DrawText(&FParam, QStringLiteral("Install"), TRectF(0, 0, 200, 40));
  EXPECT_EQ(FParam.TextLayout(), kept);
  const std::vector<Op> texts = Texts();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[1].Rect.topLeft() - texts[0].Rect.topLeft(), QPointF(50, 50)) << "a moved rectangle moves the text";
  EXPECT_EQ(texts[2].Text, QStringLiteral("Install"));
}

TEST_F(RecordedTextTest, TheDefaultFamilySettingReplacesTheParametersFamily) {
  FParam.SetFontName(QStringLiteral("DejaVu Serif"));
  ostrel::skin::DrawSettings().IsUseDefaultFontFamily = true;
  ostrel::skin::DrawSettings().DefaultFontFamily = QStringLiteral("DejaVu Sans Mono");
  const QString text = QStringLiteral("iiiiii");
  FCanvas.DrawText(&FParam, text, TRectF(0, 0, 400, 40));
  ostrel::skin::DrawSettings().DefaultFontFamily.clear();
  FCanvas.DrawText(&FParam, text, TRectF(0, 0, 400, 40));
  const std::vector<Op> texts = Texts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_GT(texts[0].Rect.width(), texts[1].Rect.width() * 1.5) << "monospace i are wider; an empty family is ignored";
}

TEST_F(RecordedTextTest, TheStoredDefaultFamilyMeasuresAsThePinnedFallback) {
  // Forms name a Windows family; where it is missing the text measures and
  // draws as the family the dependency script installs.
  TDrawTextParam stored;
  stored.SetFontSize(20);
  ASSERT_EQ(stored.FontName(), TFont::DefaultFamily());
  const QString text = QStringLiteral("Install Now");
  double storedWidth = 0;
  double pinnedWidth = 0;
  double height = 0;
  FCanvas.CalcTextDrawSize(&stored, text, TRectF(0, 0, 400, 50), storedWidth, height, TCalcDrawSizeType::cdstBoth);
  FCanvas.CalcTextDrawSize(&FParam, text, TRectF(0, 0, 400, 50), pinnedWidth, height, TCalcDrawSizeType::cdstBoth);
  if (QFontDatabase::hasFamily(TFont::DefaultFamily())) GTEST_SKIP() << "this machine has the stored family";
  EXPECT_EQ(storedWidth, pinnedWidth);
  EXPECT_EQ(pinnedWidth, 111) << "DejaVu Sans at 20 pixels";
  EXPECT_EQ(height, 24);
}

TEST_F(RecordedTextTest, ColouredPiecesSitSideBySideInTheirOwnColours) {
  TColorTextCollection pieces;
  TBaseColorTextItem& first = pieces.Add(QStringLiteral("Ostrel "));
  first.IsUseDefaultDrawFont = true;
  first.IsUseDefaultDrawFontColor = true;
  TBaseColorTextItem& second = pieces.Add(QStringLiteral("2.0"));
  second.DrawFont()->SetFontName(QStringLiteral("DejaVu Sans"));
  second.DrawFont()->SetFontSize(12);
  second.DrawFont()->SetColor(0xFFFF0000);
  FParam.SetFontColor(0xFF102030);
  FParam.SetFontHorzAlign(TFontHorzAlign::fhaRight);
  FParam.SetFontVertAlign(TFontVertAlign::fvaBottom);
  FParam.DrawAlpha = 100;
  EXPECT_TRUE(FCanvas.DrawText(&FParam, QString(), TRectF(0, 0, 300, 40), &pieces));
  const std::vector<Op> texts = Texts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].Pen, QColor(0x10, 0x20, 0x30));
  EXPECT_EQ(texts[1].Pen, QColor(Qt::red));
  EXPECT_EQ(texts[0].Opacity, 1.0) << "pieces draw at full opacity";
  EXPECT_NEAR(texts[0].Rect.left() + first.DrawWidth, texts[1].Rect.left(), 0.01);
  EXPECT_NEAR(texts[1].Rect.left() + second.DrawWidth, 300, 0.01) << "the row is right-aligned";
  EXPECT_NEAR(second.DrawTop + second.DrawHeight, 40, 0.01) << "each piece bottom-aligned";
  EXPECT_GT(first.DrawHeight, second.DrawHeight);
}

TEST_F(RecordedCanvasTest, DesignTimeAidsFollowTheirSettings) {
  FCanvas.DrawDesigningText(TRectF(0, 0, 100, 20), QStringLiteral("Name"));
  EXPECT_EQ(Ops(), std::vector<Op>{}) << "names are off by default";
  FCanvas.DrawDesigningRect(TRectF(10, 10, 50, 20), 0xFF0000FF);
  ASSERT_EQ(Ops().size(), 1u);
  EXPECT_EQ(Ops()[0].Rect, QRectF(11, 11, 49, 19));
  EXPECT_EQ(Ops()[0].PenStyle, Qt::DashLine);
  EXPECT_EQ(Ops()[0].Pen, QColor(Qt::blue));
  EXPECT_NEAR(Ops()[0].Opacity, 0.7, 0.001);

  TDrawCanvasSetting setting;
  setting.SetIsDrawDesigningRect(false);
  setting.SetIsDrawDesigningName(true);
  FDevice.Clear();
  FCanvas.DrawDesigningRect(TRectF(10, 10, 50, 20), 0xFF0000FF);
  FCanvas.DrawDesigningText(TRectF(0, 0, 100, 20), QStringLiteral("Name"));
  ASSERT_EQ(Ops().size(), 1u);
  EXPECT_EQ(Ops()[0].Kind, OpKind::Text);
  EXPECT_EQ(Ops()[0].Pen, QColor(Qt::black));
  EXPECT_NEAR(Ops()[0].FontPixels, 12, 0.01);
  EXPECT_TRUE(ostrel::skin::DrawSettings().IsDrawDesigningName);
}

// ---------------------------------------------------------------------------
// Degenerate input and the painter's state

TEST_F(RecordedCanvasTest, DegenerateInputDrawsNothingAndAnswersTrue) {
  TDrawRectParam rect;
  Fill(rect, 0xFFFF0000);
  TDrawTextParam text;
  TDrawPictureParam pictureParam;
  const auto picture = Picture(8, 8, {Qt::red});
  TSkinPicture empty;
  TDrawPicture drawPicture;
  TDrawLineParam line;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const TRectF rects[] = {{0, 0, 0, 0}, {10, 10, -5, 20}, {10, 10, 20, -5}, {nan, 0, 10, 10}};
  drawPicture.SetSize(4, 4);
  for (const TRectF& r : rects) {
    EXPECT_TRUE(FCanvas.DrawRect(&rect, r));
    EXPECT_TRUE(FCanvas.DrawSkinPicture(&pictureParam, picture.get(), r));
    EXPECT_TRUE(FCanvas.DrawPicture(&pictureParam, &drawPicture, r));
    EXPECT_TRUE(FCanvas.DrawText(&text, QStringLiteral("text"), r));
  }
  drawPicture.SetSize(0, 0);
  EXPECT_TRUE(FCanvas.DrawText(&text, QString(), {0, 0, 10, 10}));
  EXPECT_TRUE(FCanvas.DrawRect(nullptr, {0, 0, 10, 10}));
  EXPECT_TRUE(FCanvas.DrawText(nullptr, QStringLiteral("x"), {0, 0, 10, 10}));
  EXPECT_TRUE(FCanvas.DrawSkinPicture(&pictureParam, nullptr, {0, 0, 10, 10}));
  EXPECT_TRUE(FCanvas.DrawSkinPicture(&pictureParam, &empty, {0, 0, 10, 10}));
  EXPECT_TRUE(FCanvas.DrawPicture(&pictureParam, &drawPicture, {0, 0, 10, 10})) << "a draw picture without pixels";
  EXPECT_TRUE(FCanvas.DrawPicture(nullptr, &drawPicture, {0, 0, 10, 10}));
  EXPECT_TRUE(FCanvas.DrawLine(nullptr, 0, 0, 1, 1));
  text.SetFontSize(0.5);
  EXPECT_TRUE(FCanvas.DrawText(&text, QStringLiteral("x"), {0, 0, 10, 10})) << "a size that floors to 0";
  EXPECT_EQ(Ops(), std::vector<Op>{});

  // Every state subset paints without fault; disabled wins over the rest.
  auto& disabled = *rect.DrawEffectSetting()->DisabledEffect();
  disabled.FillDrawColor()->SetColor(0xFF808080);
  disabled.SetEffectTypes({TDRPEffectType::drpetFillColorChange});
  for (std::uint64_t bits = 0; bits < 32; ++bits) {
    rect.SetStaticEffectStates(TDPEffectStates::FromBits(bits));
    FDevice.Clear();
    FCanvas.DrawRect(&rect, {0, 0, 10, 10});
    ASSERT_EQ(Ops().size(), 1u) << bits;
    EXPECT_EQ(Ops()[0].Brush, (bits & 0x10) != 0 ? QColor(0x80, 0x80, 0x80) : QColor(Qt::red)) << bits;
  }
}

TEST_F(RecordedCanvasTest, OneClipAtATimeAndLinesOfLineParameters) {
  TDrawLineParam line;
  line.LineColor()->SetColor(0xFF00FF00);
  line.SetLineWidth(2);
  FCanvas.SetClip(TRectF(0, 0, 50, 50));
  FCanvas.SetClip(TRectF(10, 10, 20, 20));
  FCanvas.DrawRectLine(&line, TRectF(10.4, 10, 20, 20), TDRPLinePosition::lpLeft);
  FCanvas.ResetClip();
  EXPECT_FALSE(FPainter.hasClipping()) << "a second SetClip replaced the first";
  {
    const TScopedCanvasClip clip(FCanvas, TRectF(0, 0, 5, 5));
    // Upright pictures are cut by hand; the first other draw puts the clip on the painter.
    EXPECT_FALSE(FPainter.hasClipping());
    FCanvas.DrawRectLine(&line, TRectF(1, 1, 3, 3), TDRPLinePosition::lpLeft);
    EXPECT_TRUE(FPainter.hasClipping());
  }
  FCanvas.SetClip(TRectF(0, 0, 5, 5));
  FCanvas.UnPrepare();
  EXPECT_FALSE(FPainter.hasClipping()) << "letting go of the painter resets a clip left set";
  FCanvas.Prepare(&FPainter);
  Op expected = Line({{10.5, 10}, {10.5, 30}}, Qt::green, 2);
  expected.Clip = QRectF(10, 10, 20, 20);
  const std::vector<Op> ops = Ops();
  ASSERT_EQ(ops.size(), 2u);
  EXPECT_EQ(ops[0], expected);
  EXPECT_EQ(ops[1].Clip, QRectF(0, 0, 5, 5));
}

// ---------------------------------------------------------------------------
// Pixels where a person would see the fault

class PixelCanvasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test_support::GuiApp();
    FImage.fill(Qt::transparent);
    FPainter.begin(&FImage);
    FCanvas.Prepare(&FPainter);
  }
  void Finish() {
    FCanvas.UnPrepare();
    FPainter.end();
  }
  // The bounds of every pixel that is not transparent.
  QRect PaintedBounds() const {
    QRect bounds;
    for (int y = 0; y < FImage.height(); ++y) {
      for (int x = 0; x < FImage.width(); ++x) {
        if (FImage.pixelColor(x, y).alpha() > 0) bounds |= QRect(x, y, 1, 1);
      }
    }
    return bounds;
  }

  QImage FImage{120, 80, QImage::Format_ARGB32_Premultiplied};
  QPainter FPainter;
  TQtDrawCanvas FCanvas;
};

TEST_F(PixelCanvasTest, StateColoursOfARoundedRectangle) {
  TDrawRectParam param;
  Fill(param, 0xFF0092CA);
  Round(param, 6);
  auto& over = *param.DrawEffectSetting()->MouseOverEffect();
  over.FillDrawColor()->SetColor(0xFFC5C5C5);
  over.SetEffectTypes({TDRPEffectType::drpetFillColorChange});
  FCanvas.DrawRect(&param, TRectF(0, 0, 60, 40));
  param.SetStaticEffectStates({TDPEffectState::dpstMouseOver});
  FCanvas.DrawRect(&param, TRectF(60, 0, 60, 40));
  Finish();
  EXPECT_EQ(FImage.pixelColor(30, 20), kInstallFill);
  EXPECT_EQ(FImage.pixelColor(90, 20), QColor(0xC5, 0xC5, 0xC5));
  EXPECT_EQ(FImage.pixelColor(0, 0).alpha(), 0) << "the rounded corner leaves its corner pixel";
  EXPECT_EQ(FImage.pixelColor(30, 0), kInstallFill) << "the straight edge reaches the border row";
}

TEST_F(PixelCanvasTest, AHoleIsLeftEmptyAndAGradientStartsAtTheOwnFillColour) {
  TDrawRectParam holed;
  Fill(holed, 0xFFFF0000);
  holed.SetIsClipRound(true);
  holed.ClipRoundRectSetting()->SetSizeType(TDPSizeType::dpstPixel);
  holed.ClipRoundRectSetting()->SetMargins(10, 10, 10, 10);
  holed.ClipRoundRectSetting()->SetEnabled(true);
  FCanvas.DrawRect(&holed, TRectF(0, 0, 60, 60));

  TDrawRectParam gradient;
  Fill(gradient, 0xFFFF0000);
  gradient.SetBrushKind(TDRPBrushKind::drpbkGradient);
  auto& over = *gradient.DrawEffectSetting()->MouseOverEffect();
  over.FillDrawColor()->SetColor(0xFF0000FF);
  over.SetEffectTypes({TDRPEffectType::drpetFillColorChange});
  gradient.SetStaticEffectStates({TDPEffectState::dpstMouseOver});
  FCanvas.DrawRect(&gradient, TRectF(60, 0, 60, 80));
  Finish();
  EXPECT_EQ(FImage.pixelColor(30, 30).alpha(), 0) << "the hole";
  EXPECT_EQ(FImage.pixelColor(4, 30), QColor(Qt::red)) << "around the hole";
  const QColor top = FImage.pixelColor(90, 0);
  EXPECT_GT(top.red(), 240) << "red at the start, not the effect's blue";
  EXPECT_LT(top.blue(), 15);
  EXPECT_GT(FImage.pixelColor(90, 79).green(), 240) << "white at the end";
}

TEST_F(PixelCanvasTest, ARotatedPictureTurnsAboutItsCentre) {
  TDrawPictureParam param;
  param.SetRotateAngle(90);
  const auto picture = Picture(40, 20, {Qt::red, Qt::blue});
  FCanvas.DrawSkinPicture(&param, picture.get(), TRectF(0, 0, 120, 80));
  Finish();
  // Turned a quarter clockwise about (20, 10): the red left half is on top.
  EXPECT_EQ(FImage.pixelColor(20, 0), QColor(Qt::red));
  EXPECT_EQ(FImage.pixelColor(20, 19), QColor(Qt::blue));
  EXPECT_EQ(FImage.pixelColor(5, 10).alpha(), 0) << "the picture's old left end is empty";
  EXPECT_EQ(PaintedBounds(), QRect(10, -10, 20, 40).intersected(FImage.rect()));
}

TEST_F(PixelCanvasTest, TranslucentTextIsTheOpaqueTextTimesItsOpacity) {
  // The same text twice, opaque on the left and at half its alpha on the
  // right: every pixel on the right is its twin on the left halved.
  TDrawTextParam param;
  param.SetFontName(QStringLiteral("DejaVu Sans"));
  param.SetFontSize(20);
  param.SetFontColor(0xFFE04020);
  FCanvas.DrawText(&param, QStringLiteral("Wg"), TRectF(0.3, 10.6, 60, 40));
  param.DrawAlpha = 128;
  FCanvas.DrawText(&param, QStringLiteral("Wg"), TRectF(60.3, 10.6, 60, 40));
  Finish();
  int worst = 0;
  int inked = 0;
  for (int y = 0; y < FImage.height(); ++y) {
    for (int x = 0; x < 60; ++x) {
      const QRgb opaque = FImage.pixel(x, y);
      const QRgb half = FImage.pixel(x + 60, y);
      if (qAlpha(opaque) > 0) ++inked;
      const auto off = [](int AFull, int AHalf) { return std::abs(AFull * 128 / 255 - AHalf); };
      worst = std::max({worst, off(qAlpha(opaque), qAlpha(half)), off(qRed(opaque), qRed(half)),
                        off(qGreen(opaque), qGreen(half)), off(qBlue(opaque), qBlue(half))});
    }
  }
  EXPECT_GT(inked, 50);
  EXPECT_LE(worst, 2);
}

TEST_F(PixelCanvasTest, TrimmedTextStaysInItsRectangleAndVerticalTextStacks) {
  TDrawTextParam param;
  param.SetFontName(QStringLiteral("DejaVu Sans"));
  param.SetFontSize(16);
  param.SetFontTrimming(TFontTrimmingType::fttCharacter);
  FCanvas.DrawText(&param, QStringLiteral("Custom installation folder"), TRectF(0, 0, 80, 30));
  TDrawTextParam vertical;
  vertical.SetFontName(QStringLiteral("DejaVu Sans"));
  vertical.SetFontSize(16);
  vertical.SetIsDrawVert(true);
  FCanvas.DrawText(&vertical, QStringLiteral("ab"), TRectF(100, 0, 20, 80));
  Finish();
  QRect trimmed;
  QRect stacked;
  for (int y = 0; y < FImage.height(); ++y) {
    for (int x = 0; x < FImage.width(); ++x) {
      if (FImage.pixelColor(x, y).alpha() == 0) continue;
      (x < 100 ? trimmed : stacked) |= QRect(x, y, 1, 1);
    }
  }
  EXPECT_LE(trimmed.right(), 80) << "no ink past the rectangle's right edge";
  EXPECT_GT(trimmed.width(), 60) << "the ellipsis fills the rest";
  EXPECT_GT(stacked.height(), 25) << "two lines";
  EXPECT_LT(stacked.width(), 13) << "one character wide";
}

}  // namespace
