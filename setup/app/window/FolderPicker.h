#pragma once
// The folder choice behind the window's Browse button: the system's folder
// picker behind an interface tests replace, and the rule for the drive list
// (one browsed item after the drive defaults, replaced by each later choice).

#include <QString>

#include <optional>

class QWidget;
class TComboBox;
class TComponent;

namespace ostrel::app {

class IFolderPicker {
 public:
  virtual ~IFolderPicker() = default;
  // Shows a modal folder picker owned by AOwner; the chosen folder's path in
  // the system's own form, or nothing when the user cancels or it fails. A
  // drive root keeps its separator (E:\, /), other folders end without one.
  virtual std::optional<QString> PickFolder(QWidget* AOwner, const QString& ATitle) = 0;
};

// Qt's folder dialog: the system's native one where the platform has one
// (Windows, macOS, a desktop with a platform theme), Qt's own elsewhere.
class SystemFolderPicker final : public IFolderPicker {
 public:
  std::optional<QString> PickFolder(QWidget* AOwner, const QString& ATitle) override;
};

// The title the picker shows, as the product has always spelled it.
inline constexpr char16_t kPickFolderTitle[] = u"Select Folder of Installtion";

// BrowseBtnClick: asks APicker for a folder; a chosen one becomes a new last
// item of ADriveList the first time (the button's Tag, 0 at first, is then
// set to 1), and replaces the last item's text after that; the last item is
// selected. Nothing changes when no folder comes back. True when one did.
bool ChooseInstallFolder(IFolderPicker& APicker, QWidget* AOwner, TComboBox& ADriveList, TComponent& ABrowseBtn);

}  // namespace ostrel::app
