#pragma once
// The setup window as the program drives it, on TMainForm: what start-up and
// the install chain ask of the window (captions, the drive list, the intro's
// restart, the progress animation, disabling the inputs, hiding, the
// uninstaller's question, the failure message) done on the form's controls,
// found by the names the stored form gives them. A property a control family
// publishes (a button's Caption) is set by its name, so this adapter needs no
// control class beyond the host's.

#include "setup/app/WindowModule.h"
#include "setup/app/window/FolderPicker.h"
#include "setup/app/window/MainForm.h"

#include <QString>

#include <memory>

class TIntAnimation;

namespace ostrel::app {

class MainFormWindow final : public ShownSetupWindow {
 public:
  // The form is read from AFormText; a text that does not read raises
  // ostrel::host::EFormError or Exception. AEndProcess ends the process (the
  // close button); APicker outlives the window.
  MainFormWindow(const QString& AFormText, IFolderPicker& APicker, std::function<void()> AEndProcess);
  // The window as the program shows it: the form's pictures come from
  // AResources (the program's bundle) and Browse shows the system's picker.
  MainFormWindow(const QString& AFormText, ResourceFinder AResources, std::function<void()> AEndProcess);
  ~MainFormWindow() override;

  TMainForm& Form() { return *FForm; }

  void SetInstallHandler(std::function<void()> handler) override;
  void Show() override;

  void SetCaption(std::string_view caption) override;
  void SetInstallButtonCaption(std::string_view caption) override;
  void HideCustomInstall() override;
  void RestartAnimation(std::string_view name, double delay, double duration) override;
  void AddDriveItem(std::string_view text) override;
  int DriveItemCount() const override;
  void SelectDriveItem(int index) override;
  std::optional<std::string> SelectedDriveItem() const override;
  void CreateOperateAni() override;
  void StartOperateAni() override;
  void DisableInputs() override;
  void Hide() override;
  bool AskYesNo(std::string_view text, std::string_view caption) override;
  void ShowFailure(std::string_view text) override;

 private:
  struct Services;

  void Load(const QString& AFormText, std::function<void()> AEndProcess);

  // Declared before the form, which uses them until it is gone.
  std::unique_ptr<Services> FServices;
  std::unique_ptr<TMainForm> FForm;
  TIntAnimation* FOperateAni = nullptr;  // owned by the form
};

}  // namespace ostrel::app
