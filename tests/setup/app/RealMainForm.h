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
#include "tests/skin/host/HostTestSupport.h"

#include <QFile>
#include <QGraphicsView>

#include <optional>
#include <stdexcept>
#include <string>

namespace real_form {

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
  void Key(int AKey, Qt::KeyboardModifiers AModifiers = Qt::NoModifier) { host_test::Type(Form, AKey, AModifiers); }

  // A left click at a point of the window (client coordinates).
  void Click(QPointF APoint) {
    host_test::Press(Form, APoint);
    host_test::Release(Form, APoint);
  }

  QString FocusedName() const {
    const TControl* focused = Form.FocusedControl();
    return focused != nullptr ? focused->Name() : QString();
  }

  QApplication& app = host_test::App();
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
