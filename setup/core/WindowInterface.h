#pragma once
// What the setup logic asks of the setup window. Every call is made on the UI
// thread.

#include <optional>
#include <string>
#include <string_view>

namespace ostrel::setup {

class ISetupWindow {
 public:
  virtual ~ISetupWindow() = default;

  virtual void SetCaption(std::string_view caption) = 0;
  virtual void SetInstallButtonCaption(std::string_view caption) = 0;

  // Hides CustomInstallSwitch and CustomInstallLabel.
  virtual void HideCustomInstall() = 0;

  // Disables the named intro animation (stopping it), gives it the delay and
  // duration in seconds and enables it again, so it starts afresh.
  virtual void RestartAnimation(std::string_view name, double delay, double duration) = 0;

  // DriveComboBox.
  virtual void AddDriveItem(std::string_view text) = 0;
  virtual int DriveItemCount() const = 0;
  virtual void SelectDriveItem(int index) = 0;
  // The selected item's text; nothing when no item is selected.
  virtual std::optional<std::string> SelectedDriveItem() const = 0;

  // The progress animation OperateAni: created at start-up, started by the
  // Install action.
  virtual void CreateOperateAni() = 0;
  virtual void StartOperateAni() = 0;

  // Disables InstallButton, DriveComboBox and BrowseBtn.
  virtual void DisableInputs() = 0;

  virtual void Hide() = 0;

  // A modal question with the buttons Yes and No and no icon, owned by the
  // window even while it is not shown. True only for Yes.
  virtual bool AskYesNo(std::string_view text, std::string_view caption) = 0;

  // A modal message with an OK button that tells the user the installation
  // did not succeed, and why; returns once it is closed.
  virtual void ShowFailure(std::string_view text) = 0;
};

}  // namespace ostrel::setup
