#pragma once
// The order in which Tab moves the focus through a form's controls: first the
// controls given a place of their own (TabOrder 0, 1, ...), then the others as
// a reader scans the window, row by row from the top, left to right in a row.
// Two controls share a row when the middle of the lower one lies within the
// height of the one that starts the row, so a switch beside a taller button
// follows the button instead of coming first for its lower top edge.

#include "skin/host/Types.h"

#include <QList>

class TControl;
class TForm;

namespace ostrel::host {

struct TabCandidate {
  TControl* Control = nullptr;
  int Order = -1;  // -1: by position
  TRectF Rect;     // in the form's client coordinates
};

// Sorts the candidates into tab order; the sort is stable, so equals keep the
// order they came in.
QList<TControl*> ArrangeInTabOrder(QList<TabCandidate> ACandidates);

// The controls of AForm that Tab reaches now: they can take the focus, stop
// at Tab, are enabled and showing (TControl::IsShowing), in tab order.
QList<TControl*> TabOrderOf(const TForm& AForm);

// The control Tab reaches after AFrom, AFrom counted at its place in the
// order even where Tab reaches it no more (it was just disabled or hidden);
// none when no other control can take the focus.
TControl* NextInTabOrder(const TForm& AForm, TControl& AFrom);

}  // namespace ostrel::host
