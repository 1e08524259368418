#include "setup/app/HeadlessSetupWindow.h"

namespace ostrel::app {

void HeadlessSetupWindow::AddDriveItem(std::string_view text) { driveItems_.emplace_back(text); }

int HeadlessSetupWindow::DriveItemCount() const { return static_cast<int>(driveItems_.size()); }

// As a list box does: an index outside the list selects nothing.
void HeadlessSetupWindow::SelectDriveItem(int index) { selected_ = index >= 0 && index < DriveItemCount() ? index : -1; }

std::optional<std::string> HeadlessSetupWindow::SelectedDriveItem() const {
  if (selected_ < 0) return std::nullopt;
  return driveItems_[static_cast<std::size_t>(selected_)];
}

}  // namespace ostrel::app
