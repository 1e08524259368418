#include "skin/host/GlowShadow.h"

#include "skin/host/Control.h"
#include "skin/host/ImageBands.h"

#include <QGraphicsDropShadowEffect>
#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QPaintDevice>
#include <QPixmap>

#include <algorithm>
#include <cmath>
#include <memory>

namespace ostrel::host {

namespace {

constexpr QPainter::RenderHints kHints =
    QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing;

// Takes the coverage of AImage inside ARect into AAlpha (one byte a pixel,
// rows as long as the image's); true when any pixel's changed.
bool TakeAlpha(const QImage& AImage, const QRect& ARect, std::vector<std::uint8_t>& AAlpha) {
  bool changed = false;
  for (int y = ARect.top(); y <= ARect.bottom(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(AImage.constScanLine(y));
    std::uint8_t* alpha = AAlpha.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(AImage.width());
    for (int x = ARect.left(); x <= ARect.right(); ++x) {
      const auto a = static_cast<std::uint8_t>(qAlpha(line[x]));
      changed |= a != alpha[x];
      alpha[x] = a;
    }
  }
  return changed;
}

// The tree below AControl (drawn under AAt) as the scene draws it: each
// control above its parent and its earlier siblings, clipped where a parent
// clips its children. Each item puts back what its paint changes, so only a
// clip needs the painter's state saved, and not even that when the caller
// leaves the painter's clip to be narrowed for good (AClipIsOurs).
void PaintChildren(QPainter& APainter, const TControl& AControl, const QTransform& AAt, bool AClipIsOurs = false) {
  const bool clips = AControl.ClipChildren() && !AControl.Controls().empty();
  const bool save = clips && !AClipIsOurs;
  if (save) APainter.save();
  if (clips) {
    APainter.setWorldTransform(AAt);
    APainter.setClipRect(AControl.LocalRect(), Qt::IntersectClip);
  }
  for (TControl* child : AControl.Controls()) {
    if (!child->Visible()) continue;
    const QPointF at = child->Item()->pos();
    const QTransform transform = QTransform::fromTranslate(at.x(), at.y()) * AAt;
    APainter.setWorldTransform(transform);
    static_cast<ControlItem*>(child->Item())->paint(&APainter, nullptr, nullptr);
    PaintChildren(APainter, *child, transform);
  }
  if (save) APainter.restore();
}

}  // namespace

GlowShadow::GlowShadow(ControlItem& AItem) : FItem(&AItem) { FItem->SetBackdrop(this); }

GlowShadow::~GlowShadow() {
  EndPainters();
  if (FItem != nullptr && FItem->Backdrop() == this) FItem->SetBackdrop(nullptr);
}

void GlowShadow::SetLook(QColor AColor, qreal ABlurRadius) {
  ABlurRadius = std::isfinite(ABlurRadius) ? std::max<qreal>(ABlurRadius, 0) : 0;
  if (AColor == FColor && ABlurRadius == FRadius) return;
  if (ABlurRadius != FRadius && FItem != nullptr) FItem->GeometryChanging();
  FColor = AColor;
  FRadius = ABlurRadius;
  FBlurDirty = true;
  if (FItem != nullptr) FItem->update();
}

void GlowShadow::LookChanged(const QRectF& ARect, bool AOwn) {
  if (AOwn) {
    FOwnDirty = true;
  } else {
    FChildArea |= ARect;
  }
}

bool GlowShadow::Prepare(const QPainter& APainter) {
  if (FItem == nullptr) return false;
  const QPaintDevice* device = APainter.device();
  const qreal scale = device != nullptr ? device->devicePixelRatioF() : 1.0;
  const QRectF area = FItem->boundingRect();
  if (area == FArea && scale == FScale) return FWidth > 0 && FHeight > 0;
  FArea = area;
  FScale = scale;
  FWidth = static_cast<int>(std::ceil(area.width() * scale));
  FHeight = static_cast<int>(std::ceil(area.height() * scale));
  EndPainters();
  FOwnImage = QImage();
  FTreeImage = QImage();
  FShadow = QImage();
  FOwnAlpha.clear();
  FTreeAlpha.clear();
  FOpenSums.clear();
  FOwnDirty = FSumsDirty = FTreeDirty = FBlurDirty = true;
  if (FWidth <= 0 || FHeight <= 0) return false;
  const auto make = [&] {
    QImage image(FWidth, FHeight, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    // Text is laid out for the device it is drawn on; the window's keeps its layouts.
    if (device != nullptr) {
      image.setDotsPerMeterX(qRound(device->logicalDpiX() / 0.0254));
      image.setDotsPerMeterY(qRound(device->logicalDpiY() / 0.0254));
    }
    return image;
  };
  FOwnImage = make();
  FTreeImage = make();
  const auto pixels = static_cast<std::size_t>(FWidth) * static_cast<std::size_t>(FHeight);
  FOwnAlpha.assign(pixels, 0);
  FTreeAlpha.assign(pixels, 0);
  FOpenSums.assign(static_cast<std::size_t>(FWidth + 1) * static_cast<std::size_t>(FHeight + 1), 0);
  FOwnPainter.begin(&FOwnImage);
  FTreePainter.begin(&FTreeImage);
  return FOwnPainter.isActive() && FTreePainter.isActive();
}

void GlowShadow::EndPainters() {
  if (FOwnPainter.isActive()) FOwnPainter.end();
  if (FTreePainter.isActive()) FTreePainter.end();
}

void GlowShadow::PaintOwn() {
  QPainter& p = FOwnPainter;
  p.resetTransform();
  p.setClipping(false);
  p.setOpacity(1);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.fillRect(FArea.translated(-FArea.topLeft()), Qt::transparent);
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  p.setRenderHints(kHints);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::NoBrush);
  p.translate(-FArea.topLeft());
  FItem->PaintControl(p);
}

void GlowShadow::PaintTree(const QRect& ADevice) {
  QPainter& p = FTreePainter;
  const QRectF area(ADevice.x() / FScale, ADevice.y() / FScale, ADevice.width() / FScale, ADevice.height() / FScale);
  p.resetTransform();
  p.setOpacity(1);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.setClipping(false);
  // Cleared as a fresh painter would, without antialiasing: at a fractional
  // scale the area's edges fall inside pixels, which must be cleared whole.
  p.setRenderHints(kHints, false);
  p.fillRect(area, Qt::transparent);
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  p.setRenderHints(kHints);
  p.setClipRect(area);
  p.translate(-FArea.topLeft());
  FItem->PaintControl(p);
  // The clip was set for this tree alone: it may be narrowed in place, which
  // allocates nothing on a painter that owns its clip.
  PaintChildren(p, FItem->Control(), p.worldTransform(), true);
}

void GlowShadow::SumOpaque() {
  const auto stride = static_cast<std::size_t>(FWidth) + 1;
  for (int y = 0; y < FHeight; ++y) {
    std::uint32_t row = 0;
    const std::uint8_t* alpha = FOwnAlpha.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(FWidth);
    std::uint32_t* above = FOpenSums.data() + static_cast<std::size_t>(y) * stride;
    std::uint32_t* sums = above + stride;
    for (int x = 0; x < FWidth; ++x) {
      row += alpha[x] != 0xFF ? 1u : 0u;
      sums[x + 1] = above[x + 1] + row;
    }
  }
}

QRect GlowShadow::DeviceRect(const QRectF& ALocal) const {
  // A pixel more all round: antialiased edges reach into their neighbours,
  // but not past the control when it clips its children.
  QRectF local = ALocal.adjusted(-1, -1, 1, 1);
  if (FItem->Control().ClipChildren()) local &= FItem->Control().LocalRect();
  const QRectF device = local.translated(-FArea.topLeft());
  const int left = std::clamp(static_cast<int>(std::floor(device.left() * FScale)), 0, FWidth);
  const int top = std::clamp(static_cast<int>(std::floor(device.top() * FScale)), 0, FHeight);
  const int right = std::clamp(static_cast<int>(std::ceil(device.right() * FScale)), 0, FWidth);
  const int bottom = std::clamp(static_cast<int>(std::ceil(device.bottom() * FScale)), 0, FHeight);
  return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

std::uint32_t GlowShadow::OpenCount(const QRect& ADevice) const {
  if (ADevice.isEmpty()) return 0;
  const auto stride = static_cast<std::size_t>(FWidth) + 1;
  const auto at = [&](int x, int y) {
    return FOpenSums[static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x)];
  };
  const int left = ADevice.left();
  const int top = ADevice.top();
  const int right = ADevice.right() + 1;
  const int bottom = ADevice.bottom() + 1;
  return at(right, bottom) + at(left, top) - at(left, bottom) - at(right, top);
}

QRect GlowShadow::OpenBounds(QRect ADevice) const {
  if (OpenCount(ADevice) == 0) return {};
  // Each edge moves in as far as the rows or columns it passes cover fully;
  // a binary search on the summed table finds it.
  const auto shrink = [&](int ALow, int AHigh, auto AOpenUpTo) {
    while (ALow < AHigh) {
      const int middle = ALow + (AHigh - ALow) / 2;
      if (AOpenUpTo(middle)) {
        AHigh = middle;
      } else {
        ALow = middle + 1;
      }
    }
    return ALow;
  };
  const QRect whole = ADevice;
  ADevice.setTop(shrink(whole.top(), whole.bottom(), [&](int y) {
    return OpenCount(QRect(QPoint(whole.left(), whole.top()), QPoint(whole.right(), y))) > 0;
  }));
  ADevice.setBottom(whole.bottom() - shrink(0, whole.bottom() - ADevice.top(), [&](int d) {
    return OpenCount(QRect(QPoint(whole.left(), whole.bottom() - d), whole.bottomRight())) > 0;
  }));
  const QRect rows = ADevice;
  ADevice.setLeft(shrink(rows.left(), rows.right(), [&](int x) {
    return OpenCount(QRect(rows.topLeft(), QPoint(x, rows.bottom()))) > 0;
  }));
  ADevice.setRight(rows.right() - shrink(0, rows.right() - ADevice.left(), [&](int d) {
    return OpenCount(QRect(QPoint(rows.right() - d, rows.top()), rows.bottomRight())) > 0;
  }));
  return ADevice;
}

void GlowShadow::Blur() {
  ++FBlurCount;
  // Graphics View's own drop shadow draws the tree over its shadow, in
  // device pixels; the shadow alone is what lies beneath. Where the tree
  // covers a pixel with alpha a, the drop shadow drew tree + (1 - a) x
  // shadow, so the shadow there is (drawn - tree) / (1 - a); under full
  // coverage it is never seen.
  QImage tree = FTreeImage;
  tree.setDevicePixelRatio(1);
  QGraphicsScene scene;
  QGraphicsPixmapItem* item = scene.addPixmap(QPixmap::fromImage(tree));
  auto effect = std::make_unique<QGraphicsDropShadowEffect>();
  effect->setColor(FColor);
  effect->setOffset(0, 0);
  effect->setBlurRadius(FRadius * FScale);
  item->setGraphicsEffect(effect.release());
  QImage drawn(FWidth, FHeight, QImage::Format_ARGB32_Premultiplied);
  drawn.fill(Qt::transparent);
  {
    QPainter painter(&drawn);
    const QRectF whole(0, 0, FWidth, FHeight);
    scene.render(&painter, whole, whole);
  }
  FShadow = QImage(FWidth, FHeight, QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < FHeight; ++y) {
    const auto* over = reinterpret_cast<const QRgb*>(drawn.constScanLine(y));
    const auto* source = reinterpret_cast<const QRgb*>(FTreeImage.constScanLine(y));
    auto* shadow = reinterpret_cast<QRgb*>(FShadow.scanLine(y));
    for (int x = 0; x < FWidth; ++x) {
      const int a = qAlpha(source[x]);
      if (a == 255) {
        shadow[x] = 0;
        continue;
      }
      const auto under = [&](int AOver, int ASource, int ALimit) {
        return std::clamp((std::max(AOver - ASource, 0) * 255 + (255 - a) / 2) / (255 - a), 0, ALimit);
      };
      const int alpha = under(qAlpha(over[x]), a, 255);
      shadow[x] = qRgba(under(qRed(over[x]), qRed(source[x]), alpha), under(qGreen(over[x]), qGreen(source[x]), alpha),
                        under(qBlue(over[x]), qBlue(source[x]), alpha), alpha);
    }
  }
  FShadow.setDevicePixelRatio(FScale);
}

void GlowShadow::PaintBackdrop(QPainter& APainter) {
  if (!Prepare(APainter)) return;
  if (FOwnDirty) {
    FOwnDirty = false;
    PaintOwn();
    if (TakeAlpha(FOwnImage, FOwnImage.rect(), FOwnAlpha) || FSumsDirty) {
      FSumsDirty = false;
      SumOpaque();
      FTreeDirty = true;
    }
  }
  // Only the changed area is drawn again; the rest of the tree's picture
  // still holds.
  QRect tree = FTreeDirty ? QRect(0, 0, FWidth, FHeight) : QRect();
  if (!FTreeDirty && !FChildArea.isEmpty()) {
    // Where the control covers fully, nothing a child draws shows in the
    // coverage: only the rest of the changed area is drawn again.
    tree = OpenBounds(DeviceRect(FChildArea));
  }
  FTreeDirty = false;
  FChildArea = QRectF();
  if (!tree.isEmpty()) {
    PaintTree(tree);
    if (TakeAlpha(FTreeImage, tree, FTreeAlpha)) FBlurDirty = true;
  }
  if (FBlurDirty) {
    FBlurDirty = false;
    Blur();
  }
  DrawImageInBands(APainter, QRectF(FArea.topLeft(), FShadow.deviceIndependentSize()), FShadow, QRectF(FShadow.rect()));
}

}  // namespace ostrel::host
