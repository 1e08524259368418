// Off-screen bitmaps, measuring text without a control, and the cache of
// pre-rendered rounded rectangles.

#include "skin/base/uSkinBufferBitmap.h"
#include "tests/support/GuiApp.h"
#include "tests/support/LogCapture.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

class BufferBitmapTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { test_support::GuiApp(); }
  void SetUp() override { ostrel::skin::ResetDrawSettings(); }
  void TearDown() override { ostrel::skin::ResetDrawSettings(); }
};

TEST_F(BufferBitmapTest, TheBitmapHasTheScaledSizeAndACanvasOnIt) {
  TBufferBitmap buffer;
  EXPECT_EQ(buffer.DrawCanvas(), nullptr) << "no canvas before there is a bitmap";
  ASSERT_TRUE(buffer.CreateBufferBitmap(33, 10, 1.5f));
  EXPECT_EQ(buffer.Width(), 33);
  EXPECT_EQ(buffer.Height(), 10);
  EXPECT_FLOAT_EQ(buffer.Scale(), 1.5f);
  EXPECT_EQ(buffer.SelfBitmap()->Width(), 50) << "ceil(1.5 x 33)";
  EXPECT_EQ(buffer.SelfBitmap()->Height(), 15);
  TDrawCanvas* canvas = buffer.DrawCanvas();
  ASSERT_NE(canvas, nullptr);
  EXPECT_EQ(buffer.DrawCanvas(), canvas);
  TDrawRectParam fill;
  fill.SetIsFill(true);
  fill.FillDrawColor()->SetColor(0xFFFF0000);
  canvas->DrawRect(&fill, TRectF(0, 0, 33, 10));
  EXPECT_EQ(buffer.SelfBitmap()->Image().pixelColor(48, 14), QColor(Qt::red)) << "logical pixels cover the device pixels";
  EXPECT_EQ(buffer.SelfBitmap()->Image().pixelColor(49, 14).alpha(), 127) << "33 logical pixels end halfway into the 50th";

  // A new bitmap replaces the old one with its painter and canvas.
  ASSERT_TRUE(buffer.CreateBufferBitmap(4, 4, 1.0f));
  EXPECT_EQ(buffer.SelfBitmap()->Width(), 4);
}

TEST_F(BufferBitmapTest, ABitmapThatCannotBeMadeIsLoggedAndFalse) {
  for (const auto& [width, height, scale] : {std::tuple{0, 10, 1.0f}, std::tuple{10, 10, 0.0f}, std::tuple{100000, 100000, 1.0f}}) {
    const LogCapture log;
    TBufferBitmap buffer;
    EXPECT_FALSE(buffer.CreateBufferBitmap(width, height, scale));
    EXPECT_EQ(buffer.DrawCanvas(), nullptr);
    ASSERT_EQ(log.Lines().size(), 1);
    EXPECT_TRUE(log.Lines()[0].startsWith(QStringLiteral("TFMXPlatformBitmap.CreateBitmap ")));
  }
}

TEST_F(BufferBitmapTest, MeasuringWithoutAControl) {
  EXPECT_EQ(GetGlobalAutoSizeBufferBitmap(), GetGlobalAutoSizeBufferBitmap());
  EXPECT_EQ(GetGlobalAutoSizeBufferBitmap()->Width(), 100);

  TDrawTextParam param;
  param.SetFontName(QStringLiteral("DejaVu Sans"));
  param.SetFontSize(20);
  const TTextSize empty = GetStringSize(QString(), TRectF(0, 0, 10, 10), &param);
  EXPECT_EQ(empty.Width, 0);
  EXPECT_EQ(empty.Height, 0);

  // Without wrap a text is measured on one line whatever the rectangle's width.
  const TTextSize line = GetStringSize(QStringLiteral("Install Now"), TRectF(0, 0, 10, 30), &param);
  EXPECT_GT(line.Width, 100);
  EXPECT_EQ(line.Width, std::ceil(line.Width));
  // With wrap it is measured in the rectangle's width, as tall as it gets.
  param.SetIsWordWrap(true);
  const TTextSize wrapped = GetStringSize(QStringLiteral("Install Now"), TRectF(0, 0, 80, 30), &param);
  EXPECT_LE(wrapped.Width, 80);
  EXPECT_GT(wrapped.Height, line.Height * 1.5);

  // The auto size adds the adjustments and the sub-rectangle's insets; without wrap its height is the rectangle's.
  param.SetIsWordWrap(false);
  param.SetAutoSizeWidthAdjust(4);
  param.SetAutoSizeHeightAdjust(2);
  param.DrawRectSetting()->SetSizeType(TDPSizeType::dpstPixel);
  param.DrawRectSetting()->SetMargins(8, 1, 30, 1);
  param.DrawRectSetting()->SetEnabled(true);
  const TTextSize automatic = GetTextAutoSize(QStringLiteral("Install Now"), TRectF(0, 0, 10, 33), &param);
  EXPECT_DOUBLE_EQ(automatic.Width, line.Width + 4 + 8 + 30);
  EXPECT_DOUBLE_EQ(automatic.Height, 33);

  // By size, with the process-wide parameter.
  const double small = GetStringWidthBySize(QStringLiteral("Install Now"), 10);
  const double large = GetStringWidthBySize(QStringLiteral("Install Now"), 20);
  EXPECT_GT(large, small * 1.8);
  EXPECT_FALSE(ostrel::skin::GlobalDrawTextParam().IsWordWrap());

  // A lost buffer is made anew.
  FreeGlobalAutoSizeBufferBitmap();
  EXPECT_EQ(GetStringSize(QStringLiteral("Install Now"), TRectF(0, 0, 10, 30), &param).Width, line.Width);
}

TEST_F(BufferBitmapTest, RoundedRectanglesAreRenderedOncePerLook) {
  TColorRoundRectBitmapList cache;
  TDrawRectParam param;
  param.FillDrawColor()->SetColor(0xFF00FF00);
  ostrel::skin::DrawSettings().ScreenScale = 2;
  TDrawPicture* first = cache.GetBitmap(&param, 20, 10, -1, -1, false);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->Width(), 40) << "sizes and radii times the screen scale";
  EXPECT_EQ(first->Image().pixelColor(20, 10), QColor(Qt::green));
  EXPECT_EQ(first->Image().pixelColor(0, 0).alpha(), 0);
  EXPECT_EQ(cache.GetBitmap(&param, 20, 10, -1, -1, false), first);
  EXPECT_EQ(cache.Count(), 1);

  TDrawPicture* hole = cache.GetBitmap(&param, 20, 10, -1, -1, true);
  EXPECT_NE(hole, first);
  EXPECT_EQ(hole->Image().pixelColor(0, 0), QColor(Qt::green)) << "only the corners outside the rounding";
  EXPECT_EQ(hole->Image().pixelColor(20, 10).alpha(), 0);
  param.FillDrawColor()->SetColor(0xFFFF0000);
  EXPECT_NE(cache.GetBitmap(&param, 20, 10, -1, -1, false), first) << "another colour is another entry";
  EXPECT_EQ(cache.Count(), 3);
  EXPECT_EQ(cache.GetBitmap(&param, 0, 10, 2, 2, false), nullptr);
}

}  // namespace
