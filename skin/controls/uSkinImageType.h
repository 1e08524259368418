#pragma once
// The image control: one picture with a caption over it; it can size itself
// to the picture, play an animated GIF, and spin its picture or step through
// the pictures of an image list on a timer.
//
// The steps of that timer are pure functions below.

#include <cstdint>

namespace ostrel::skin {

// The rotation timer's interval for ARotateSpeed: ceiling(ARotateSpeed x 10)
// milliseconds, at least 1 (a speed of 0 or below would tick on every pass of
// the event loop) and at most what a timer takes; a speed that is not a
// number counts as 0.
int RotateTimerInterval(double ARotateSpeed);

// The angle after one tick: an angle of 360 or more starts again at 0, the
// increment is added, and a result above 360 is clipped to 360; so with an
// increment of 20 the angles run 20, 40, …, 360, 20, … The sum never
// overflows, whatever the increment.
std::int32_t NextRotateAngle(std::int32_t AAngle, std::int32_t AIncrement);

// The image index after one tick for a list of ACount pictures: the next one,
// back to 0 after the last; a list of one picture or none keeps AIndex.
std::int32_t NextFrameImageIndex(std::int32_t AIndex, std::int32_t ACount);

}  // namespace ostrel::skin
