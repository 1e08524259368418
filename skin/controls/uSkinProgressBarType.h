#pragma once
// The progress bar: an integer position between a minimum and a maximum
// shown as the filled part of a track, with an optional percentage text and
// a caption.
//
// The geometry (progress length, percent rectangle) and the value rules are
// pure functions below, shared by both looks.

#include "skin/host/Types.h"

#include <QObject>

#include <cstdint>

namespace uSkinProgressBarType {
Q_NAMESPACE

enum class TProgressBarOrientation : std::uint8_t { prHorizontal, prVertical };
Q_ENUM_NS(TProgressBarOrientation)

}  // namespace uSkinProgressBarType

using uSkinProgressBarType::TProgressBarOrientation;

namespace ostrel::skin {

// A position after the value rules: below AMin it becomes AMin, then above
// AMax it becomes AMax (so with AMin > AMax it is AMax).
std::int32_t ClampProgressBarPosition(std::int32_t APosition, std::int32_t AMin, std::int32_t AMax);

// How far the progress reaches along a track ATrackLength long: APosition x
// (ATrackLength / (AMax - AMin)). The position itself is scaled, not its
// distance from AMin. A zero range reaches nowhere, and the result is kept
// within the track, so the bar never draws outside its rectangle.
double ProgressBarLength(std::int32_t APosition, double ATrackLength, std::int32_t AMin, std::int32_t AMax);

// The part of R that shows the progress: from the left (top) edge, or, when
// AIsReverse, from the right (bottom) edge, ALength long.
TRectF ProgressBarPercentRect(const TRectF& R, TProgressBarOrientation AOrientation, double ALength, bool AIsReverse);

// APosition / (AMax - AMin) x 100, rounded down (towards minus infinity),
// computed exactly: 29 of 100 is 29, where the same sum in floating point
// gives 28.999… and shows 28. A zero range gives 0.
std::int64_t ProgressBarPercent(std::int32_t APosition, std::int32_t AMin, std::int32_t AMax);

}  // namespace ostrel::skin
