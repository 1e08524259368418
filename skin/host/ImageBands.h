#pragma once
// Draws a picture on Qt's raster engine without the heap allocations its
// tall blits cost. The raster engine splits every image blit or smooth
// transform taller than 95 device rows into 64-row segments and hands them to
// Qt's global thread pool, a task and a queue entry allocated per segment, on
// every frame. Drawn in bands of at most 64 rows, the same picture comes out
// pixel for pixel the same and stays on the painting thread.

#include <QRectF>

class QImage;
class QPainter;

namespace ostrel::host {

// QPainter::drawImage(ADest, AImage, ASource), in bands where that is exact:
// on the raster engine, under a painter that only moves (no scale, rotation
// or shear) and with the picture at its own size. Anything else is one call.
void DrawImageInBands(QPainter& APainter, const QRectF& ADest, const QImage& AImage, const QRectF& ASource);

}  // namespace ostrel::host
