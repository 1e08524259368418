#pragma once
// Where a popup opens against the control it belongs to (a drop-down list
// against its combo box, say), kept on the screen.

#include <QObject>
#include <QRectF>
#include <QSizeF>

#include <cstdint>

namespace PopupPlacement {
Q_NAMESPACE

// The side of the target the popup opens on; the "Center" kinds centre it
// along that side, Center centres it on the target itself.
enum class TPlacement : std::uint8_t { Bottom, Top, Left, Right, Center, BottomCenter, TopCenter, LeftCenter, RightCenter };
Q_ENUM_NS(TPlacement)

}  // namespace PopupPlacement

using PopupPlacement::TPlacement;

namespace ostrel::host {

// The rectangle a popup of ASize takes for APlacement against ATarget (both in
// screen coordinates), inside AArea (the screen's available part). A popup
// that would cross AArea's edge on the side it opens to goes to the other side
// when it fits there; it is then moved inside AArea, and one larger than AArea
// keeps AArea's top-left corner.
QRectF PlacePopup(const QRectF& ATarget, const QSizeF& ASize, TPlacement APlacement, const QRectF& AArea);

}  // namespace ostrel::host
