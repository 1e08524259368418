#pragma once
// Geometry and colour types shared by every layer drawn on the host framework.

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include "skin/host/Set.h"

#include <cstdint>

using TPointF = QPointF;
using TRectF = QRectF;
using TSizeF = QSizeF;

// A colour as AARRGGBB, not premultiplied.
using TAlphaColor = std::uint32_t;

inline constexpr TAlphaColor claNull = 0x00000000u;
inline constexpr TAlphaColor claBlack = 0xFF000000u;
inline constexpr TAlphaColor claGray = 0xFF808080u;
inline constexpr TAlphaColor claSilver = 0xFFC0C0C0u;
inline constexpr TAlphaColor claWhite = 0xFFFFFFFFu;

enum class TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };

enum class TShiftStateItem : std::uint8_t {
  ssShift,
  ssAlt,
  ssCtrl,
  ssLeft,
  ssRight,
  ssMiddle,
  ssDouble,
  ssTouch,
  ssPen,
  ssCommand,
  ssHorizontal,
};
using TShiftState = TSet<TShiftStateItem>;

namespace ostrel::host {

constexpr std::uint8_t AlphaOf(TAlphaColor AColor) { return static_cast<std::uint8_t>(AColor >> 24); }
constexpr std::uint8_t RedOf(TAlphaColor AColor) { return static_cast<std::uint8_t>(AColor >> 16); }
constexpr std::uint8_t GreenOf(TAlphaColor AColor) { return static_cast<std::uint8_t>(AColor >> 8); }
constexpr std::uint8_t BlueOf(TAlphaColor AColor) { return static_cast<std::uint8_t>(AColor); }

}  // namespace ostrel::host
