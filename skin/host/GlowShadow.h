#pragma once
// The shadow a glow draws around a control and its children: Graphics
// View's drop shadow of the control's tree, kept as a picture and drawn
// beneath the control on every paint. It is made again only when the tree's
// coverage (alpha) changed. A change of the control's own paint is checked by
// drawing the control alone and comparing its coverage; a child's change only
// by drawing the tree again where the control itself leaves pixels uncovered,
// since over opaque pixels nothing a child draws changes the coverage. So
// children moving over an opaque background cost no blur.

#include "skin/host/ControlItem.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRectF>

#include <cstdint>
#include <vector>

namespace ostrel::host {

class GlowShadow final : public IItemBackdrop {
 public:
  // Draws beneath AItem from now on, until destroyed or abandoned.
  explicit GlowShadow(ControlItem& AItem);
  GlowShadow(const GlowShadow&) = delete;
  GlowShadow& operator=(const GlowShadow&) = delete;
  ~GlowShadow();

  // AColor with its alpha; ABlurRadius in logical pixels, which is also how
  // far the shadow reaches beyond the control.
  void SetLook(QColor AColor, qreal ABlurRadius);
  // The item is being freed with its control: forget it without touching it.
  void Abandon() { FItem = nullptr; }

  // How often the blurred picture has been made.
  int BlurCount() const { return FBlurCount; }

  qreal Outset() const override { return FRadius; }
  void PaintBackdrop(QPainter& APainter) override;
  void LookChanged(const QRectF& ARect, bool AOwn) override;

 private:
  bool Prepare(const QPainter& APainter);
  void EndPainters();
  void PaintOwn();
  // Draws the tree again inside ADevice (device pixels of the buffers).
  void PaintTree(const QRect& ADevice);
  // ALocal grown by a pixel, cut as the control cuts its children, in device pixels.
  QRect DeviceRect(const QRectF& ALocal) const;
  // The pixels of ADevice the control alone does not cover fully: their
  // count, and the smallest rectangle holding them (empty for none).
  std::uint32_t OpenCount(const QRect& ADevice) const;
  QRect OpenBounds(QRect ADevice) const;
  void SumOpaque();
  void Blur();

  ControlItem* FItem;
  QColor FColor{Qt::black};
  qreal FRadius = 0;
  // The buffers cover the item's bounding rectangle in device pixels.
  QRectF FArea;
  qreal FScale = 0;
  int FWidth = 0;
  int FHeight = 0;
  QImage FOwnImage;
  // Kept active on FOwnImage: the control alone is drawn again on every
  // change of its own look, and a painter begun afresh would allocate.
  QPainter FOwnPainter;
  std::vector<std::uint8_t> FOwnAlpha;
  // Pixels below full coverage in FOwnAlpha, summed over rectangles from the
  // top-left corner ((FWidth + 1) x (FHeight + 1)).
  std::vector<std::uint32_t> FOpenSums;
  QImage FTreeImage;
  // Kept active on FTreeImage for the same reason.
  QPainter FTreePainter;
  std::vector<std::uint8_t> FTreeAlpha;
  QImage FShadow;
  QRectF FChildArea;
  bool FOwnDirty = true;
  bool FSumsDirty = true;
  bool FTreeDirty = true;
  bool FBlurDirty = true;
  int FBlurCount = 0;
};

}  // namespace ostrel::host
