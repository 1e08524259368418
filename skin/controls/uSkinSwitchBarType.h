#pragma once
// The switch bar: an on/off switch drawn as a track with a sliding knob. Its
// state is a position between a minimum and a maximum; it is on exactly when
// the position is the maximum.
//
// The geometry (value to pixel, knob and foreground rectangles, the value a
// drag reaches) and the value rules are pure functions below, shared by
// painting, hit testing and dragging.

#include "skin/host/Types.h"

#include <QObject>

#include <cstdint>

namespace uSkinSwitchBarType {
Q_NAMESPACE

enum class TSwitchBarOrientation : std::uint8_t { srHorizontal, srVertical };
Q_ENUM_NS(TSwitchBarOrientation)

}  // namespace uSkinSwitchBarType

using uSkinSwitchBarType::TSwitchBarOrientation;

namespace ostrel::skin {

// A position after the value rules: below AMin (or not a number) it becomes
// AMin, then above AMax it becomes AMax, so with AMin > AMax it is AMax.
double ClampSwitchBarPosition(double APosition, double AMin, double AMax);

// The pixel of AValue on a track ALength long: AValue x ALength / (AMax -
// AMin), rounded half to even. The value itself is scaled, not its distance
// from AMin. A zero range (or any result that is not a number) gives 0, so
// the knob stays at the start.
double SwitchBarValuePixel(double AValue, double ALength, double AMin, double AMax);

// The knob rectangle in a track of AWidth x AHeight for pixel APixel and knob
// size AKnobSize along the track: centred on the pixel and kept inside the track.
TRectF SwitchBarKnobRect(double AWidth, double AHeight, TSwitchBarOrientation AOrientation, double APixel,
                         double AKnobSize);

// The part of the track that shows the "on" foreground for pixel APixel:
// from the start to the knob's centre once the pixel is past one knob size,
// to the pixel before that, never beyond the track.
TRectF SwitchBarForeGndRect(double AWidth, double AHeight, TSwitchBarOrientation AOrientation, double APixel,
                            double AKnobSize);

// The position a drag reaches when the pointer is at AAxis along the track:
// the knob's centre follows the pointer (less AMouseDownOffset), scaled over
// the track length less one knob; AMin when the knob fills the track.
double SwitchBarDragPosition(double AAxis, double AMouseDownOffset, double AKnobSize, double ALength, double AMin,
                             double AMax);

}  // namespace ostrel::skin
