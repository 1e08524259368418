// The setup window as a screen reader reads it through Qt's accessibility
// interface, on the stored form the build makes and the real control
// families: each control's role, name, value and state, the actions a reader
// offers, and the events that tell of changes.

#include "tests/setup/app/RealMainForm.h"

#include "skin/host/Accessibility.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

using real_form::RealMainForm;

QAccessibleInterface* Root(const RealMainForm& AWindow) {
  return QAccessible::queryAccessibleInterface(AWindow.Form.View());
}

// The node of a control, by the control's name in the form.
QAccessibleInterface* Node(const RealMainForm& AWindow, const char* AName) {
  return QAccessible::queryAccessibleInterface(&AWindow.Control(AName));
}

QStringList ChildNames(QAccessibleInterface* ANode) {
  QStringList names;
  for (int i = 0; i < ANode->childCount(); ++i) names << ANode->child(i)->text(QAccessible::Name);
  return names;
}

// Records what screen readers are told while it lives.
class HeardEvents {
 public:
  bool Heard(QAccessible::Event AType, QObject* AObject) const {
    return std::find(FEvents.begin(), FEvents.end(), std::make_pair(AType, AObject)) != FEvents.end();
  }
  void Clear() { FEvents.clear(); }

 private:
  std::vector<std::pair<QAccessible::Event, QObject*>> FEvents;
  ostrel::host::ScopedAccessibleEventSink FSink{
      [this](QAccessibleEvent& AEvent) { FEvents.emplace_back(AEvent.type(), AEvent.object()); }};
};

TEST(MainFormAccessibility, TheWindowReadsInReadingOrderWithRolesNamesAndStates) {
  RealMainForm window;
  QAccessibleInterface* root = Root(window);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->role(), QAccessible::Window);
  EXPECT_EQ(root->text(QAccessible::Name), QStringLiteral("Install Ostrel"));

  struct Expected {
    QAccessible::Role Role;
    const char* Name;
    const char* Value;
    bool Focusable;
    bool Checkable;
    bool Invisible;
  };
  // Pictures are decoration and stay out; panels give their place to their
  // controls. The folder panel rests below the window's edge, unseen.
  const Expected expected[] = {
      {QAccessible::Button, "Close", "", true, false, false},
      {QAccessible::StaticText, "Operate your phone on PC safely and easily.", "", false, false, false},
      {QAccessible::Button, "Install Now", "", true, false, false},
      {QAccessible::Button, "Custom installation", "off", true, true, false},
      {QAccessible::StaticText, "Custom installation", "", false, false, false},
      {QAccessible::ProgressBar, "Installation progress", "0%", false, false, false},
      {QAccessible::StaticText, "Install to", "", false, false, true},
      {QAccessible::ComboBox, "Install to", "", true, false, true},
      {QAccessible::Button, "Browse", "", true, false, true},
  };
  ASSERT_EQ(root->childCount(), static_cast<int>(std::size(expected))) << ChildNames(root).join(", ").toStdString();
  for (int i = 0; i < root->childCount(); ++i) {
    QAccessibleInterface* node = root->child(i);
    const Expected& e = expected[i];
    SCOPED_TRACE(e.Name);
    EXPECT_EQ(node->role(), e.Role);
    EXPECT_EQ(node->text(QAccessible::Name), QString::fromUtf8(e.Name));
    EXPECT_EQ(node->text(QAccessible::Value), QString::fromUtf8(e.Value));
    EXPECT_EQ(node->state().focusable, e.Focusable);
    EXPECT_EQ(node->state().checkable, e.Checkable);
    EXPECT_EQ(node->state().invisible, e.Invisible);
    EXPECT_FALSE(node->state().disabled);
    EXPECT_FALSE(node->state().checked);
    EXPECT_EQ(node->parent(), root);
    EXPECT_FALSE(node->rect().isEmpty());
  }
}

// A reader may still offer the actions of what reads as invisible; until the
// intro shows them, the controls do nothing they are asked.
TEST(MainFormAccessibility, DuringTheIntroTheHiddenControlsReadAsInvisibleAndTakeNoAction) {
  RealMainForm window(false);
  EXPECT_TRUE(Node(window, "InstallButton")->state().invisible);
  EXPECT_TRUE(Node(window, "CustomInstallSwitch")->state().invisible);
  EXPECT_FALSE(Node(window, "CloseBtn")->state().invisible);

  QAccessibleActionInterface* install = Node(window, "InstallButton")->actionInterface();
  QAccessibleActionInterface* toggle = Node(window, "CustomInstallSwitch")->actionInterface();
  ASSERT_NE(install, nullptr);
  ASSERT_NE(toggle, nullptr);
  install->doAction(QAccessibleActionInterface::pressAction());
  install->doAction(QAccessibleActionInterface::setFocusAction());
  toggle->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_EQ(window.Installs, 0);
  EXPECT_EQ(window.FocusedName(), QString());
  EXPECT_EQ(Node(window, "CustomInstallSwitch")->text(QAccessible::Value), QStringLiteral("off"));

  window.Clock.Run(8);
  EXPECT_FALSE(Node(window, "InstallButton")->state().invisible);
  install->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(window.Installs, 1);
}

TEST(MainFormAccessibility, TheSwitchTogglesFromAReaderAndTellsItIsOnThenOff) {
  RealMainForm window;
  QAccessibleInterface* toggle = Node(window, "CustomInstallSwitch");
  QAccessibleActionInterface* actions = toggle->actionInterface();
  ASSERT_NE(actions, nullptr);
  EXPECT_EQ(actions->actionNames(),
            (QStringList{QAccessibleActionInterface::toggleAction(), QAccessibleActionInterface::setFocusAction()}));

  HeardEvents heard;
  actions->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_TRUE(toggle->state().checked);
  EXPECT_EQ(toggle->text(QAccessible::Value), QStringLiteral("on"));
  EXPECT_TRUE(heard.Heard(QAccessible::StateChanged, toggle->object()));
  window.Clock.Run(1);
  EXPECT_EQ(window.Control("MainPanel").Position()->Y(), 295) << "the folder panel slid in";
  EXPECT_FALSE(Node(window, "DriveComboBox")->state().invisible);

  actions->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_FALSE(toggle->state().checked);
  EXPECT_EQ(toggle->text(QAccessible::Value), QStringLiteral("off"));

  // Focus given by a reader shows, as the keyboard's does.
  heard.Clear();
  actions->doAction(QAccessibleActionInterface::setFocusAction());
  EXPECT_TRUE(toggle->state().focused);
  EXPECT_EQ(Root(window)->focusChild(), toggle);
  EXPECT_TRUE(window.Form.FocusShown());
  EXPECT_TRUE(heard.Heard(QAccessible::Focus, toggle->object()));
}

TEST(MainFormAccessibility, TheInstallDisablesTheInputsAndTheBarReadsItsPercentage) {
  RealMainForm window;
  window.window.AddDriveItem("/home/user/.local/share/Ostrel");
  window.window.AddDriveItem("/data/Ostrel");
  HeardEvents heard;
  window.window.SelectDriveItem(1);
  QAccessibleInterface* combo = Node(window, "DriveComboBox");
  EXPECT_EQ(combo->text(QAccessible::Value), QStringLiteral("/data/Ostrel"));
  EXPECT_TRUE(heard.Heard(QAccessible::ValueChanged, combo->object()));

  QAccessibleActionInterface* install = Node(window, "InstallButton")->actionInterface();
  ASSERT_NE(install, nullptr);
  install->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(window.Installs, 1);
  struct Case {
    const char* Name;
    bool Disabled;
  };
  for (const Case c : {Case{"InstallButton", true}, Case{"DriveComboBox", true}, Case{"BrowseBtn", true},
                       Case{"CustomInstallSwitch", false}, Case{"CloseBtn", false}}) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(Node(window, c.Name)->state().disabled, c.Disabled);
  }
  install->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(window.Installs, 1) << "a disabled button is not pressed";

  QAccessibleInterface* bar = Node(window, "ProgressBar");
  heard.Clear();
  window.Clock.Advance(1.5);
  EXPECT_EQ(bar->text(QAccessible::Value), QStringLiteral("50%"));
  EXPECT_TRUE(heard.Heard(QAccessible::ValueChanged, bar->object()));
}

TEST(MainFormAccessibility, UpdateModeRenamesTheButtonAndLeavesTheSwitchOut) {
  RealMainForm window;
  HeardEvents heard;
  window.window.SetInstallButtonCaption("Update Now");
  window.window.HideCustomInstall();
  QAccessibleInterface* install = Node(window, "InstallButton");
  EXPECT_EQ(install->text(QAccessible::Name), QStringLiteral("Update Now"));
  EXPECT_TRUE(heard.Heard(QAccessible::NameChanged, install->object()));
  const QStringList names = ChildNames(Root(window));
  EXPECT_FALSE(names.contains(QStringLiteral("Custom installation"))) << names.join(", ").toStdString();
  EXPECT_TRUE(names.contains(QStringLiteral("Update Now")));
}

}  // namespace
