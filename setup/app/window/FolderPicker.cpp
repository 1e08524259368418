#include "setup/app/window/FolderPicker.h"

#include "skin/host/ComboBox.h"

#include <QDir>
#include <QFileDialog>

namespace ostrel::app {

std::optional<QString> SystemFolderPicker::PickFolder(QWidget* AOwner, const QString& ATitle) {
  const QString folder = QFileDialog::getExistingDirectory(AOwner, ATitle, QString(), QFileDialog::ShowDirsOnly);
  if (folder.isEmpty()) return std::nullopt;
  return QDir::toNativeSeparators(folder);
}

bool ChooseInstallFolder(IFolderPicker& APicker, QWidget* AOwner, TComboBox& ADriveList, TComponent& ABrowseBtn) {
  const std::optional<QString> folder = APicker.PickFolder(AOwner, QString::fromUtf16(kPickFolderTitle));
  if (!folder || folder->isEmpty()) return false;
  if (ABrowseBtn.Tag() <= 0 || ADriveList.Count() == 0) {
    ADriveList.AddItem(*folder);
    ABrowseBtn.SetTag(1);
  } else {
    ADriveList.SetItemText(ADriveList.Count() - 1, *folder);
  }
  ADriveList.SetItemIndex(ADriveList.Count() - 1);
  return true;
}

}  // namespace ostrel::app
