#pragma once
// A plain Qt window with the setup window's inputs: caption, drive list,
// folder browser, the custom-installation switch, the install button and the
// progress bar.

#include <QWidget>
#include <functional>

#include "setup/app/WindowModule.h"
#include "setup/platform/System.h"
#include "skin/host/Resources.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPropertyAnimation;
class QPushButton;

namespace ostrel::app {

class PlainSetupWindow final : public QWidget, public ShownSetupWindow {
 public:
  PlainSetupWindow(platform::ISystem& system, ResourceFinder resources);

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

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BrowseBtnClick();

  platform::ISystem& system_;
  // The program's resources, as the skin library asks for them.
  host::FunctionResourceLookup resources_;
  host::ScopedResourceLookup resourcesScope_;
  std::function<void()> installHandler_;
  int browseTag_ = 0;
  // Children, owned by this window through Qt's parent ownership.
  QWidget* mainPanel_;
  QComboBox* driveComboBox_;
  QPushButton* browseBtn_;
  QCheckBox* customInstallSwitch_;
  QLabel* customInstallLabel_;
  QPushButton* installButton_;
  QProgressBar* progressBar_;
  QPropertyAnimation* operateAni_ = nullptr;
};

}  // namespace ostrel::app
