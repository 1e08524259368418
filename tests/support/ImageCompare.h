#pragma once
// Compares a rendered image with a reference within a tolerance, for the
// tests that hold a whole window to a picture a person has looked at. Small
// differences in anti-aliasing pass; a moved, missing or recoloured part
// does not.

#include <QImage>
#include <QString>

namespace test_support {

struct ImageDifference {
  bool SameSize = false;
  // Pixels where some channel (alpha included) differs by more than the tolerance.
  int DifferingPixels = 0;
  // The largest channel difference seen anywhere.
  int LargestChannelDelta = 0;
  // The reference faded to grey, with every differing pixel in opaque red;
  // null when the sizes differ.
  QImage Diff;
};

// AActual against AExpected, both read as non-premultiplied ARGB.
ImageDifference CompareImages(const QImage& AActual, const QImage& AExpected, int AChannelTolerance);

}  // namespace test_support
