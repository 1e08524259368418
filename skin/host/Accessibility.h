#pragma once
// Screen readers see a form's controls through Qt's accessibility interfaces:
// the window is the root, and each control that declares a role
// (TControl::AccessibleRole) is a node with that role, its name, its state
// (focusable, focused, disabled, checked, ...) and its screen rectangle.
// Controls without a role (layout panels, decoration) are left out and their
// children take their place. A node's actions press, toggle or open the
// control as a user would from the keyboard, and it can be given the focus.
//
// The interfaces come from a factory that Qt asks for every form window and
// control; InstallAccessibility puts it in place (once per process, forms do
// it when they are made).

#include <functional>

class QAccessibleEvent;
class TControl;

namespace ostrel::host {

void InstallAccessibility();

// Tell screen readers what changed; nothing happens while none listens.
void NotifyAccessibleFocus(TControl& AControl);
void NotifyAccessibleStateChanged(TControl& AControl);
void NotifyAccessibleNameChanged(TControl& AControl);

// Sends the events above to a function instead of Qt's bridge while the
// scope lives, whether or not a screen reader listens: for tests, which run
// where no bridge is.
class ScopedAccessibleEventSink {
 public:
  using Sink = std::function<void(QAccessibleEvent& AEvent)>;
  explicit ScopedAccessibleEventSink(Sink ASink);
  ~ScopedAccessibleEventSink();
  ScopedAccessibleEventSink(const ScopedAccessibleEventSink&) = delete;
  ScopedAccessibleEventSink& operator=(const ScopedAccessibleEventSink&) = delete;

 private:
  Sink FPrevious;
};

}  // namespace ostrel::host
