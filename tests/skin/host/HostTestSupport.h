#pragma once
// A GUI application for host tests and real pointer events delivered to a
// form's window, so the routing under test is the one a user gets.

#include "skin/host/Form.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGraphicsView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace host_test {

inline QApplication& App() {
  static int argc = 1;
  static char name[] = "host_test";
  static char* argv[] = {name, nullptr};
  // Lives until the process ends: destroying it from a static destructor
  // runs after parts of Qt it needs are gone.
  static QApplication* const app = new QApplication(argc, argv);
  return *app;
}

// Sends one mouse event to the form's viewport at a client point.
inline void SendMouse(const TForm& AForm, QEvent::Type AType, QPointF APoint, Qt::MouseButton AButton,
                      Qt::MouseButtons AHeld, Qt::KeyboardModifiers AModifiers = Qt::NoModifier) {
  QWidget* viewport = AForm.View()->viewport();
  QMouseEvent event(AType, APoint, viewport->mapToGlobal(APoint), AButton, AHeld, AModifiers);
  QCoreApplication::sendEvent(viewport, &event);
}

inline void Move(const TForm& AForm, QPointF APoint, Qt::MouseButtons AHeld = Qt::NoButton) {
  SendMouse(AForm, QEvent::MouseMove, APoint, Qt::NoButton, AHeld);
}
inline void Press(const TForm& AForm, QPointF APoint, Qt::MouseButton AButton = Qt::LeftButton) {
  SendMouse(AForm, QEvent::MouseButtonPress, APoint, AButton, AButton);
}
inline void DoublePress(const TForm& AForm, QPointF APoint) {
  SendMouse(AForm, QEvent::MouseButtonDblClick, APoint, Qt::LeftButton, Qt::LeftButton);
}
inline void Release(const TForm& AForm, QPointF APoint, Qt::MouseButton AButton = Qt::LeftButton) {
  SendMouse(AForm, QEvent::MouseButtonRelease, APoint, AButton, Qt::NoButton);
}
inline void Wheel(const TForm& AForm, QPointF APoint, int ADelta) {
  QWidget* viewport = AForm.View()->viewport();
  QWheelEvent event(APoint, viewport->mapToGlobal(APoint), QPoint(), QPoint(0, ADelta), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(viewport, &event);
}

// Sends one key event to the form's window, as the keyboard would.
inline void SendKey(const TForm& AForm, QEvent::Type AType, int AKey, Qt::KeyboardModifiers AModifiers = Qt::NoModifier,
                    bool AAutoRepeat = false) {
  const QString text = AKey == Qt::Key_Space ? QStringLiteral(" ") : QString();
  QKeyEvent event(AType, AKey, AModifiers, text, AAutoRepeat);
  QCoreApplication::sendEvent(AForm.View(), &event);
}

// Press and release.
inline void Type(const TForm& AForm, int AKey, Qt::KeyboardModifiers AModifiers = Qt::NoModifier) {
  SendKey(AForm, QEvent::KeyPress, AKey, AModifiers);
  SendKey(AForm, QEvent::KeyRelease, AKey, AModifiers);
}

}  // namespace host_test
