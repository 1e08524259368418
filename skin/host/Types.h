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

// The corners of a rectangle, as the canvas rounds them.
enum class TCorner : std::uint8_t { TopLeft, TopRight, BottomLeft, BottomRight };
using TCorners = TSet<TCorner>;
inline constexpr TCorners AllCorners{TCorner::TopLeft, TCorner::TopRight, TCorner::BottomLeft, TCorner::BottomRight};

// The sides of a rectangle, as the canvas strokes them.
enum class TSide : std::uint8_t { Left, Top, Right, Bottom };
using TSides = TSet<TSide>;
inline constexpr TSides AllSides{TSide::Left, TSide::Top, TSide::Right, TSide::Bottom};

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
