#pragma once
// TMainForm: the setup window's form class. Its stored form (the resource
// TMAINFORM) holds the controls, their looks and the intro's animations; this
// class holds what the form's events name and what needs no particular
// control class: the window drag, the close button, the folder choice, the
// switch's slide of the folder panel, the repaints the animations ask for,
// and the Install button's action. Controls are found by their names once the
// form has loaded; one the form lacks leaves its handler with nothing to do.

#include "setup/app/window/FolderPicker.h"
#include "skin/host/Form.h"

#include <functional>

class TAnimation;
class TComboBox;
class TControl;

class TMainForm : public TForm {
  Q_OBJECT

 public:
  // APicker must outlive the form.
  explicit TMainForm(ostrel::app::IFolderPicker& APicker, TComponent* AOwner = nullptr);

  // What InstallButton runs, and what ends the process (the close button).
  void SetInstallHandler(std::function<void()> AHandler) { FInstall = std::move(AHandler); }
  void SetEndProcess(std::function<void()> AEndProcess) { FEndProcess = std::move(AEndProcess); }

  // Start-up runs from the program as soon as the window is made, before it
  // is first shown, which is when the form's creation handler would run it.
  Q_INVOKABLE void FormCreate(TObject* Sender);
  Q_INVOKABLE void InstallButtonClick(TObject* Sender);
  Q_INVOKABLE void CloseBtnClick(TObject* Sender);
  // Any button on the background, or on a control that lets the pointer
  // through to it, moves the window while held.
  Q_INVOKABLE void BgImageMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, float X, float Y);
  Q_INVOKABLE void BrowseBtnClick(TObject* Sender);
  // Slides MainPanel up when the sender's published Checked is true, else down.
  Q_INVOKABLE void CustomInstallSwitchChange(TObject* Sender);
  Q_INVOKABLE void Ani1YProcess(TObject* Sender);
  Q_INVOKABLE void Ani2YProcess(TObject* Sender);
  Q_INVOKABLE void Ani4YProcess(TObject* Sender);
  Q_INVOKABLE void AniYProcess(TObject* Sender);

  // The controls by name; none when the form lacks one.
  TControl* Control(const char* AName) const;
  TComboBox* DriveComboBox() const;
  TAnimation* Animation(const char* AName) const;

 private:
  void RepaintBackground();

  ostrel::app::IFolderPicker& FPicker;
  std::function<void()> FInstall;
  std::function<void()> FEndProcess;
};

namespace ostrel::app {

// Makes TMainForm and the classes its stored form names known to the form
// reader (the host's, the animations'; control families add their own).
void RegisterMainFormClasses();

}  // namespace ostrel::app
