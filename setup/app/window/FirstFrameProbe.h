#pragma once
// For the start-up benchmark (bench/window/first_frame.sh): with
// OSTREL_EXIT_AFTER_FIRST_FRAME=1 in the environment, the process ends with
// exit code 0 as soon as AWindow has painted its first frame and handed it to
// the window system, so timing the whole run times the way to the first frame.
// Without the variable nothing is watched.

class QWidget;

namespace ostrel::app {

void ExitAfterFirstFrameIfAsked(QWidget& AWindow);

}  // namespace ostrel::app
