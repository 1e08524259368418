// A picture drawn in bands must come out exactly as one blit draws it, in
// every placement the window's pictures take: whole and part rows, moved
// painters, opacity and clips; where bands would not be exact it is one blit.

#include "skin/host/ImageBands.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <functional>

namespace {

// Every pixel different, with varying alpha, so a row drawn twice, skipped
// or taken from the wrong source row shows.
QImage Pattern(int AWidth, int AHeight) {
  QImage image(AWidth, AHeight, QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < AHeight; ++y) {
    for (int x = 0; x < AWidth; ++x) {
      image.setPixel(x, y, qPremultiply(qRgba((x * 7) & 255, (y * 3) & 255, (x ^ y) & 255, 40 + ((x + 2 * y) % 200))));
    }
  }
  return image;
}

struct Placement {
  const char* Name;
  QRectF Dest;
  QRectF Source;
  std::function<void(QPainter&)> Setup;
};

QImage Draw(const Placement& APlacement, const QImage& APicture, bool ABands) {
  QImage target(300, 400, QImage::Format_ARGB32_Premultiplied);
  target.fill(qRgba(16, 32, 48, 64));
  QPainter painter(&target);
  painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
  if (APlacement.Setup) APlacement.Setup(painter);
  if (ABands) {
    ostrel::host::DrawImageInBands(painter, APlacement.Dest, APicture, APlacement.Source);
  } else {
    painter.drawImage(APlacement.Dest, APicture, APlacement.Source);
  }
  return target;
}

TEST(ImageBands, LookExactlyLikeOneBlit) {
  const QImage picture = Pattern(120, 300);
  const Placement placements[] = {
      {"whole rows", QRectF(8, 8, 120, 300), QRectF(0, 0, 120, 300), {}},
      {"part rows", QRectF(17.3, 20.6, 120, 300), QRectF(0, 0, 120, 300), {}},
      {"painter moved by part rows", QRectF(8, 8.25, 120, 300), QRectF(0, 0, 120, 300),
       [](QPainter& p) { p.translate(3.5, 11.7); }},
      {"part of the picture", QRectF(10, 30.4, 100, 200), QRectF(10, 40, 100, 200), {}},
      {"with opacity", QRectF(5, 12.5, 120, 300), QRectF(0, 0, 120, 300), [](QPainter& p) { p.setOpacity(0.45); }},
      {"under a clip", QRectF(5, 12.5, 120, 300), QRectF(0, 0, 120, 300),
       [](QPainter& p) { p.setClipRect(QRectF(20, 100.5, 70, 150)); }},
      {"scaled, one blit", QRectF(5, 12.5, 90, 250), QRectF(0, 0, 120, 300), {}},
      {"rotated, one blit", QRectF(40, 12.5, 120, 300), QRectF(0, 0, 120, 300), [](QPainter& p) { p.rotate(7); }},
      {"short, one blit", QRectF(5, 12.5, 120, 60), QRectF(0, 0, 120, 60), {}},
  };
  for (const Placement& placement : placements) {
    EXPECT_TRUE(Draw(placement, picture, true) == Draw(placement, picture, false)) << placement.Name;
  }
}

TEST(ImageBands, HighResolutionPictureIsDrawnAtItsLogicalSize) {
  QImage picture = Pattern(240, 600);
  picture.setDevicePixelRatio(2);
  const Placement placement{"two pixels a point", QRectF(8, 8.5, 120, 300), QRectF(0, 0, 240, 600), {}};
  EXPECT_TRUE(Draw(placement, picture, true) == Draw(placement, picture, false));
}

}  // namespace
