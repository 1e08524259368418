#pragma once
// The GUI application tests that measure or paint need (fonts, screens),
// made once per test program and kept until the process ends: destroying it
// from a static destructor would run after parts of Qt it needs are gone.

#include <QGuiApplication>

namespace test_support {

inline QGuiApplication& GuiApp() {
  if (auto* existing = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return *existing;
  static int argc = 1;
  static char name[] = "skin_test";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* const app = new QGuiApplication(argc, argv);
  return *app;
}

}  // namespace test_support
