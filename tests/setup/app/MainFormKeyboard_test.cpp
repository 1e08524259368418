// The setup window worked by keyboard alone, on the stored form the build
// makes and the real control families: Tab walks the controls a user can see
// in reading order, the focused one shows it, Space on the switch slides the
// folder panel, Enter on Install starts the install.

#include "tests/setup/app/RealMainForm.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

namespace {

using real_form::RealMainForm;

// Presses Tab until AName has the focus; false when a whole round did not reach it.
bool TabTo(RealMainForm& AWindow, const char* AName) {
  for (int i = 0; i < 8; ++i) {
    if (AWindow.FocusedName() == QLatin1String(AName)) return true;
    AWindow.Key(Qt::Key_Tab);
  }
  return AWindow.FocusedName() == QLatin1String(AName);
}

QStringList TabRound(RealMainForm& AWindow, int AKey = Qt::Key_Tab) {
  QStringList names;
  for (int i = 0; i < 6; ++i) {
    AWindow.Key(AKey);
    names << AWindow.FocusedName();
  }
  return names;
}

TEST(MainFormKeyboard, DuringTheIntroTabReachesOnlyWhatIsShown) {
  RealMainForm window(false);
  // Nothing has the focus yet: Enter and Space press nothing.
  for (const int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) window.Key(key);
  // The controls fade in at 6 s; until then only the close button shows.
  EXPECT_EQ(TabRound(window), QStringList(6, QStringLiteral("CloseBtn")));
  // Focusing the faded-out Install directly (as a screen reader may ask) does
  // not take either.
  window.Control("InstallButton").SetFocus();
  EXPECT_EQ(window.FocusedName(), QStringLiteral("CloseBtn"));
  EXPECT_EQ(window.Installs, 0);
  window.Clock.Run(7);
  window.Key(Qt::Key_Tab);
  EXPECT_EQ(window.FocusedName(), QStringLiteral("InstallButton"));
}

TEST(MainFormKeyboard, TabWalksTheControlsInReadingOrderAndThePanelOnceItIsIn) {
  RealMainForm window;
  // The folder panel rests below the background's edge, out of sight.
  EXPECT_EQ(TabRound(window), (QStringList{"CloseBtn", "InstallButton", "CustomInstallSwitch", "CloseBtn",
                                           "InstallButton", "CustomInstallSwitch"}));
  EXPECT_EQ(TabRound(window, Qt::Key_Backtab), (QStringList{"InstallButton", "CloseBtn", "CustomInstallSwitch",
                                                            "InstallButton", "CloseBtn", "CustomInstallSwitch"}));

  ASSERT_TRUE(TabTo(window, "CustomInstallSwitch"));
  window.Key(Qt::Key_Space);
  window.Clock.Run(1);
  // Rows from the top: the close button; Install with the switch beside it;
  // the folder list with Browse.
  EXPECT_EQ(TabRound(window), (QStringList{"DriveComboBox", "BrowseBtn", "CloseBtn", "InstallButton",
                                           "CustomInstallSwitch", "DriveComboBox"}));

  // The folder list takes its arrows, and Tab still walks the window.
  window.window.AddDriveItem("/home/user/.local/share/Ostrel");
  window.window.AddDriveItem("/data/Ostrel");
  window.window.SelectDriveItem(0);
  window.Key(Qt::Key_Down);
  EXPECT_EQ(window.window.SelectedDriveItem(), "/data/Ostrel");
  window.Key(Qt::Key_Tab);
  EXPECT_EQ(window.FocusedName(), QStringLiteral("BrowseBtn"));
  window.Key(Qt::Key_Tab, Qt::ShiftModifier);
  EXPECT_EQ(window.FocusedName(), QStringLiteral("DriveComboBox"));
}

TEST(MainFormKeyboard, SpaceOnTheSwitchSlidesTheFolderPanelInAndOut) {
  RealMainForm window;
  const TControl& panel = window.Control("MainPanel");
  const TControl& toggle = window.Control("CustomInstallSwitch");
  ASSERT_TRUE(TabTo(window, "CustomInstallSwitch"));
  window.Key(Qt::Key_Space);
  EXPECT_TRUE(toggle.property("Properties").value<QObject*>()->property("Checked").toBool());
  window.Clock.Run(1);
  EXPECT_EQ(panel.Position()->Y(), 295);
  window.Key(Qt::Key_Space);
  window.Clock.Run(1);
  EXPECT_EQ(panel.Position()->Y(), 368);
  EXPECT_FALSE(toggle.property("Properties").value<QObject*>()->property("Checked").toBool());
}

QRect PlaceOf(const TControl& AControl) { return AControl.AbsoluteRect().toAlignedRect(); }

TEST(MainFormKeyboard, EnterPressesTheFocusedButton) {
  RealMainForm window;
  ASSERT_TRUE(TabTo(window, "InstallButton"));
  window.Key(Qt::Key_Return);
  EXPECT_EQ(window.Installs, 1);
  // The install disables the inputs, the focused button among them: the focus
  // moves on to the switch beside it and shows there, and Install, disabled,
  // shows no focus.
  EXPECT_EQ(window.FocusedName(), QStringLiteral("CustomInstallSwitch"));
  EXPECT_TRUE(window.Control("CustomInstallSwitch").ShowsFocus());
  const QRect install = PlaceOf(window.Control("InstallButton"));
  EXPECT_NE(QColor(window.Form.RenderToImage().pixel(install.left() + 1, install.center().y())), QColor(Qt::white));
  // Neither a key nor Tab presses Install again.
  EXPECT_EQ(TabRound(window), (QStringList{"CloseBtn", "CustomInstallSwitch", "CloseBtn", "CustomInstallSwitch",
                                           "CloseBtn", "CustomInstallSwitch"}));
  EXPECT_EQ(window.Installs, 1);

  ASSERT_TRUE(TabTo(window, "CloseBtn"));
  window.Key(Qt::Key_Enter);
  EXPECT_EQ(window.Ended, 1);
}

// In update mode the switch is hidden: past Install the focus wraps round to
// the close button, so the keyboard still has a place to work from.
TEST(MainFormKeyboard, InUpdateModeTheFocusMovesFromInstallToTheCloseButton) {
  RealMainForm window;
  window.window.HideCustomInstall();
  ASSERT_TRUE(TabTo(window, "InstallButton"));
  window.Key(Qt::Key_Space);
  EXPECT_EQ(window.Installs, 1);
  EXPECT_EQ(window.FocusedName(), QStringLiteral("CloseBtn"));
  window.Key(Qt::Key_Return);
  EXPECT_EQ(window.Ended, 1);
}

TEST(MainFormKeyboard, BrowseOpensThePickerFromTheKeyboard) {
  RealMainForm window;
  ASSERT_TRUE(TabTo(window, "CustomInstallSwitch"));
  window.Key(Qt::Key_Space);
  window.Clock.Run(1);
  ASSERT_TRUE(TabTo(window, "BrowseBtn"));
  window.Key(Qt::Key_Space);
  EXPECT_EQ(window.Picker.Asked, 1);
  EXPECT_EQ(window.Installs, 0);
}

// How many pixels of ARect differ between two pictures of the window.
int Differing(const QImage& A, const QImage& B, const QRect& ARect) {
  int count = 0;
  for (int y = ARect.top(); y <= ARect.bottom(); ++y) {
    for (int x = ARect.left(); x <= ARect.right(); ++x) count += A.pixel(x, y) != B.pixel(x, y) ? 1 : 0;
  }
  return count;
}

TEST(MainFormKeyboard, TheFocusedControlShowsItsFocusWhenTheKeyboardMovedIt) {
  RealMainForm window;
  // The switch on, so the folder panel is in; then nothing focused.
  window.Control("CustomInstallSwitch").property("Properties").value<QObject*>()->setProperty("Checked", true);
  window.Clock.Run(1);
  const QImage plain = window.Form.RenderToImage();

  for (const char* name : {"CloseBtn", "InstallButton", "CustomInstallSwitch", "DriveComboBox", "BrowseBtn"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(TabTo(window, name));
    const QImage focused = window.Form.RenderToImage();
    const QRect place = PlaceOf(window.Control(name));
    EXPECT_GT(Differing(plain, focused, place), 0) << "no focused look";
    // Only the focused control changes its look.
    EXPECT_EQ(Differing(plain, focused, focused.rect()), Differing(plain, focused, place));
  }

  // Install's focused look: a white edge two pixels wide on the accent fill.
  ASSERT_TRUE(TabTo(window, "InstallButton"));
  const QImage focused = window.Form.RenderToImage();
  const QRect install = PlaceOf(window.Control("InstallButton"));
  const QPoint edge(install.left() + 1, install.center().y());
  EXPECT_EQ(QColor(focused.pixel(edge)), QColor(Qt::white));
  EXPECT_EQ(QColor(plain.pixel(edge)), QColor(0xFF0092CA));

  // A pointer press hides the focus without moving it; a key shows it again.
  window.Click({40, 40});
  EXPECT_EQ(window.FocusedName(), QStringLiteral("InstallButton"));
  EXPECT_EQ(Differing(plain, window.Form.RenderToImage(), install), 0);
  window.Key(Qt::Key_Shift);
  EXPECT_EQ(QColor(window.Form.RenderToImage().pixel(edge)), QColor(Qt::white));
}

}  // namespace
