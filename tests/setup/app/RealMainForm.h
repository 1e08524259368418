#pragma once
// The setup window as the build makes it: the stored form the packed setup
// carries, read with the real control families, its pictures found by their
// resource names in the rendered pictures folder, on a manual animation clock
// run past the intro. The folder picker and the end of the process are
// stand-ins that count what they are asked.

#include "setup/app/window/MainForm.h"
#include "setup/app/window/MainFormWindow.h"
#include "skin/host/Control.h"
#include "skin/host/Form.h"
#include "skin/host/FrameClock.h"
#include "skin/host/Resources.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QGraphicsView>
#include <QKeyEvent>
#include <QMouseEvent>

#include <optional>

namespace real_form {

inline QApplication& App() {
  if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) return *existing;
  static int argc = 1;
  static char name[] = "real_main_form_test";
  static char* argv[] = {name, nullptr};
  static QApplication* const app = new QApplication(argc, argv);
  return *app;
}

inline QString BuiltFormText() {
  QFile file(QStringLiteral(OSTREL_MAIN_FORM));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

// The pictures the form names as resources ("bg", "logo", …), as the packer
// stores them: NAME.png from the rendered folder.
inline std::optional<QByteArray> RenderedPicture(const QString& AName) {
  QFile file(QStringLiteral(OSTREL_PICTURES_DIR "/") + AName.toLower() + QStringLiteral(".png"));
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  return file.readAll();
}

class CountingPicker final : public ostrel::app::IFolderPicker {
 public:
  std::optional<QString> PickFolder(QWidget*, const QString&) override {
    ++Asked;
    return std::nullopt;
  }
  int Asked = 0;
};

class RealMainForm {
 public:
  // Shown, past the intro (ACompleteIntro) or at its first frame.
  explicit RealMainForm(bool ACompleteIntro = true) {
    window.SetInstallHandler([this] {
      ++Installs;
      window.DisableInputs();
      window.StartOperateAni();
    });
    window.CreateOperateAni();
    Form.Show();
    // The window has the keyboard, as the one a user works does.
    Form.View()->activateWindow();
    QCoreApplication::processEvents();
    if (ACompleteIntro) Clock.Run(8);
  }

  TControl& Control(const char* AName) const {
    TControl* control = Form.Control(AName);
    if (control == nullptr) throw std::runtime_error(std::string("the form has no ") + AName);
    return *control;
  }

  // A key pressed and released in the window, as the window system delivers it.
  void Key(int AKey, Qt::KeyboardModifiers AModifiers = Qt::NoModifier) {
    QWidget* view = Form.View();
    const QString text = AKey == Qt::Key_Space ? QStringLiteral(" ") : QString();
    QKeyEvent press(QEvent::KeyPress, AKey, AModifiers, text);
    QCoreApplication::sendEvent(view, &press);
    QKeyEvent release(QEvent::KeyRelease, AKey, AModifiers, text);
    QCoreApplication::sendEvent(view, &release);
  }

  // A left click at a point of the window (client coordinates).
  void Click(QPointF APoint) {
    QWidget* viewport = Form.View()->viewport();
    const QPointF global = viewport->mapToGlobal(APoint);
    QMouseEvent press(QEvent::MouseButtonPress, APoint, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, APoint, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &release);
  }

  QString FocusedName() const {
    const TControl* focused = Form.FocusedControl();
    return focused != nullptr ? focused->Name() : QString();
  }

  QApplication& app = App();
  ostrel::host::ManualFrameClock Clock;
  ostrel::host::ScopedFrameClock UseClock{Clock};
  ostrel::host::FunctionResourceLookup Pictures{RenderedPicture};
  ostrel::host::ScopedResourceLookup UsePictures{Pictures};
  CountingPicker Picker;
  int Installs = 0;
  int Ended = 0;
  ostrel::app::MainFormWindow window{BuiltFormText(), Picker, [this] { ++Ended; }};
  TMainForm& Form = window.Form();
};

}  // namespace real_form
