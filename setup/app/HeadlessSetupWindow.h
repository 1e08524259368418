#pragma once
// The setup window of an unattended run that shows none: it keeps what the
// install chain reads back (the drive list and its selection) and lets the
// rest pass. Needs no widgets, so such a run needs no display.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "setup/core/WindowInterface.h"

namespace ostrel::app {

class HeadlessSetupWindow final : public setup::ISetupWindow {
 public:
  void SetCaption(std::string_view) override {}
  void SetInstallButtonCaption(std::string_view) override {}
  void HideCustomInstall() override {}
  void RestartAnimation(std::string_view, double, double) override {}
  void AddDriveItem(std::string_view text) override;
  int DriveItemCount() const override;
  void SelectDriveItem(int index) override;
  std::optional<std::string> SelectedDriveItem() const override;
  void CreateOperateAni() override {}
  void StartOperateAni() override {}
  void DisableInputs() override {}
  void Hide() override {}
  // Nobody is there to answer; an unattended run never asks, and a question
  // that came anyway must not be taken as consent.
  bool AskYesNo(std::string_view, std::string_view) override { return false; }
  // Only unattended runs are windowless; they say why on standard error.
  void ShowFailure(std::string_view) override {}

 private:
  std::vector<std::string> driveItems_;
  int selected_ = -1;
};

}  // namespace ostrel::app
