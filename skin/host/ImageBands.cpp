#include "skin/host/ImageBands.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QTransform>

#include <algorithm>

namespace ostrel::host {

namespace {

// A blit of up to 95 rows stays in one segment; a band of 64 rows at a
// fraction of a row still touches no more than 65.
constexpr qreal kBandRows = 64;

bool CanBand(const QPainter& APainter, const QRectF& ADest, const QImage& AImage, const QRectF& ASource) {
  const QPaintEngine* engine = APainter.paintEngine();
  if (engine == nullptr || engine->type() != QPaintEngine::Raster) return false;
  if (APainter.deviceTransform().type() > QTransform::TxTranslate) return false;
  if (AImage.devicePixelRatio() != 1.0) return false;
  return ADest.height() > kBandRows && ADest.size() == ASource.size();
}

}  // namespace

void DrawImageInBands(QPainter& APainter, const QRectF& ADest, const QImage& AImage, const QRectF& ASource) {
  if (!CanBand(APainter, ADest, AImage, ASource)) {
    APainter.drawImage(ADest, AImage, ASource);
    return;
  }
  // The raster engine rounds a picture's edges to whole rows the same way
  // for a band as for the whole, so bands meet without a gap or an overlap.
  for (qreal top = ADest.top(); top < ADest.bottom(); top += kBandRows) {
    const qreal rows = std::min(kBandRows, ADest.bottom() - top);
    APainter.drawImage(QRectF(ADest.left(), top, ADest.width(), rows), AImage,
                       QRectF(ASource.left(), ASource.top() + (top - ADest.top()), ASource.width(), rows));
  }
}

}  // namespace ostrel::host
