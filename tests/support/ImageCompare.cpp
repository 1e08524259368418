#include "tests/support/ImageCompare.h"

#include <QColor>

#include <algorithm>
#include <cstdlib>

namespace test_support {

namespace {

int ChannelDelta(QRgb A, QRgb B) {
  return std::max({std::abs(qAlpha(A) - qAlpha(B)), std::abs(qRed(A) - qRed(B)), std::abs(qGreen(A) - qGreen(B)),
                   std::abs(qBlue(A) - qBlue(B))});
}

}  // namespace

ImageDifference CompareImages(const QImage& AActual, const QImage& AExpected, int AChannelTolerance) {
  ImageDifference result;
  if (AActual.size() != AExpected.size()) return result;
  result.SameSize = true;
  const QImage actual = AActual.convertToFormat(QImage::Format_ARGB32);
  const QImage expected = AExpected.convertToFormat(QImage::Format_ARGB32);
  result.Diff = QImage(expected.size(), QImage::Format_ARGB32);
  for (int y = 0; y < expected.height(); ++y) {
    const auto* a = reinterpret_cast<const QRgb*>(actual.constScanLine(y));
    const auto* e = reinterpret_cast<const QRgb*>(expected.constScanLine(y));
    auto* d = reinterpret_cast<QRgb*>(result.Diff.scanLine(y));
    for (int x = 0; x < expected.width(); ++x) {
      const int delta = ChannelDelta(a[x], e[x]);
      result.LargestChannelDelta = std::max(result.LargestChannelDelta, delta);
      if (delta > AChannelTolerance) {
        ++result.DifferingPixels;
        d[x] = qRgba(255, 0, 0, 255);
      } else {
        const int grey = qGray(e[x]) / 4 + 160;
        d[x] = qRgba(grey, grey, grey, 255);
      }
    }
  }
  return result;
}

}  // namespace test_support
