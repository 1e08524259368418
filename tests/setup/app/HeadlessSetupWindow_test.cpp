#include "setup/app/HeadlessSetupWindow.h"

#include <gtest/gtest.h>

namespace ostrel::app {
namespace {

// The install chain reads the target back from the selection; a selection
// outside the list, or none, must give no target rather than a wrong one.
TEST(HeadlessSetupWindow, KeepsTheDriveListAndOnlyAValidSelection) {
  HeadlessSetupWindow window;
  EXPECT_EQ(window.DriveItemCount(), 0);
  EXPECT_FALSE(window.SelectedDriveItem());

  window.AddDriveItem("/home/u/.local/share/Ostrel");
  window.AddDriveItem("/mnt/data/Ostrel");
  EXPECT_EQ(window.DriveItemCount(), 2);
  EXPECT_FALSE(window.SelectedDriveItem()) << "nothing is selected until asked";

  window.SelectDriveItem(1);
  EXPECT_EQ(window.SelectedDriveItem(), "/mnt/data/Ostrel");
  for (const int outside : {2, -1, -7}) {
    window.SelectDriveItem(outside);
    EXPECT_FALSE(window.SelectedDriveItem()) << outside;
  }
  EXPECT_FALSE(window.AskYesNo("Uninstall Ostrel?", "Ostrel")) << "no answer is never a yes";
}

}  // namespace
}  // namespace ostrel::app
