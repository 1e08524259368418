// The image comparison the window pictures are held to: within the
// tolerance nothing differs, beyond it each pixel counts once and shows red.

#include "tests/support/ImageCompare.h"

#include <gtest/gtest.h>

namespace {

using test_support::CompareImages;

QImage Filled(QRgb AColor, int AWidth = 4, int AHeight = 3) {
  QImage image(AWidth, AHeight, QImage::Format_ARGB32);
  image.fill(AColor);
  return image;
}

TEST(ImageCompare, CountsPixelsBeyondTheToleranceInAnyChannel) {
  const QImage reference = Filled(qRgba(10, 20, 30, 255));
  QImage actual = reference;
  actual.setPixel(0, 0, qRgba(14, 20, 30, 255));  // within 4
  actual.setPixel(1, 0, qRgba(10, 25, 30, 255));  // 5 in green
  actual.setPixel(2, 0, qRgba(10, 20, 30, 250));  // 5 in alpha

  const auto diff = CompareImages(actual, reference, 4);
  ASSERT_TRUE(diff.SameSize);
  EXPECT_EQ(diff.DifferingPixels, 2);
  EXPECT_EQ(diff.LargestChannelDelta, 5);
  EXPECT_EQ(diff.Diff.pixel(1, 0), qRgba(255, 0, 0, 255));
  EXPECT_EQ(diff.Diff.pixel(2, 0), qRgba(255, 0, 0, 255));
  EXPECT_NE(diff.Diff.pixel(0, 0), qRgba(255, 0, 0, 255));
}

TEST(ImageCompare, FormatsDoNotMatterButSizesDo) {
  const QImage reference = Filled(qRgba(200, 100, 0, 128));
  EXPECT_EQ(CompareImages(reference.convertToFormat(QImage::Format_ARGB32_Premultiplied), reference, 1).DifferingPixels,
            0);
  const auto diff = CompareImages(Filled(qRgba(200, 100, 0, 128), 5, 3), reference, 255);
  EXPECT_FALSE(diff.SameSize);
  EXPECT_TRUE(diff.Diff.isNull());
}

}  // namespace
