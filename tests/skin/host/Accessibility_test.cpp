// What a screen reader sees of a form: the accessible tree of its controls
// with roles, names, states and actions, and the events that tell of changes.

#include "skin/host/Accessibility.h"
#include "skin/host/ComboBox.h"
#include "skin/host/Control.h"
#include "skin/host/Form.h"
#include "tests/skin/host/HostTestSupport.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>

#include <vector>

namespace {

// A host control that declares what a control family would.
class Declared : public TControl {
 public:
  Declared(TComponent* AOwner, TComponent* AParent, TAccessibleRole ARole, const QString& AName, TRectF ABounds)
      : TControl(AOwner), FRole(ARole) {
    FCaption = AName;
    SetBounds(ABounds.x(), ABounds.y(), ABounds.width(), ABounds.height());
    SetParent(AParent);
    SetOnClick([this](TObject*) {
      ++Clicks;
      if (Checked) {
        *Checked = !*Checked;
        AccessibleStateChanged();
      }
    });
  }

  TAccessibleRole AccessibleRole() const override { return FRole; }
  QString AccessibleName() const override { return FCaption.isEmpty() ? TControl::AccessibleName() : FCaption; }
  std::optional<bool> AccessibleChecked() const override { return Checked; }

  std::optional<bool> Checked;
  int Clicks = 0;

 private:
  TAccessibleRole FRole;
  QString FCaption;
};

class AccessibilityTest : public ::testing::Test {
 protected:
  AccessibilityTest() {
    form->SetCaption(QStringLiteral("Install Ostrel"));
    form->SetClientSize(656, 376);
    // Layout panels declare nothing: their children stand in their place.
    auto* background = new TControl(form.get());
    background->SetBounds(8, 8, 640, 360);
    background->SetParent(form.get());
    background->SetClipChildren(true);
    close = new Declared(form.get(), background, TAccessibleRole::Button, QString(), {599, 8, 33, 33});
    close->SetHint(QStringLiteral("Close"));
    close->SetCanFocus(true);
    mainPanel = new TControl(form.get());
    mainPanel->SetBounds(0, 368, 640, 65);
    mainPanel->SetParent(background);
    auto* controlPanel = new TControl(form.get());
    controlPanel->SetBounds(0, 0, 640, 360);
    controlPanel->SetParent(background);
    new Declared(form.get(), controlPanel, TAccessibleRole::Label, QStringLiteral("Custom installation"),
                 {465, 254, 144, 33});
    toggle = new Declared(form.get(), controlPanel, TAccessibleRole::Switch, QStringLiteral("Custom installation"),
                          {407, 258, 50, 25});
    toggle->Checked = false;
    toggle->SetCanFocus(true);
    install = new Declared(form.get(), controlPanel, TAccessibleRole::Button, QStringLiteral("Install Now"),
                           {120, 233, 160, 50});
    install->SetCanFocus(true);
    combo = new TComboBox(form.get());
    combo->SetBounds(105, 18, 464, 30);
    combo->SetParent(mainPanel);
    combo->SetAccessibleName(QStringLiteral("Install to"));
    combo->SetItems({QStringLiteral("/home/user/.local/share/Ostrel"), QStringLiteral("/data/Ostrel")});
    combo->SetItemIndex(0);
    auto* hidden = new Declared(form.get(), background, TAccessibleRole::Button, QStringLiteral("Hidden"),
                                {10, 10, 10, 10});
    hidden->SetVisible(false);
  }

  QAccessibleInterface* Window() const { return QAccessible::queryAccessibleInterface(form->View()); }

  QApplication& app = host_test::App();  // before the form
  std::unique_ptr<TForm> form = std::make_unique<TForm>();
  TControl* mainPanel = nullptr;
  Declared* close = nullptr;
  Declared* toggle = nullptr;
  Declared* install = nullptr;
  TComboBox* combo = nullptr;
};

TEST_F(AccessibilityTest, TheTreeShowsEachDeclaredControlWithRoleNameAndState) {
  QAccessibleInterface* window = Window();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->role(), QAccessible::Window);
  EXPECT_EQ(window->text(QAccessible::Name), QStringLiteral("Install Ostrel"));

  struct Node {
    QAccessible::Role role;
    QString name;
    QString value;
    bool focusable;
    bool checkable;
    bool invisible;
  };
  // In reading order, whatever the order of painting.
  const std::vector<Node> expected = {
      {QAccessible::Button, "Close", "", true, false, false},
      {QAccessible::Button, "Install Now", "", true, false, false},
      {QAccessible::Button, "Custom installation", "off", true, true, false},
      {QAccessible::StaticText, "Custom installation", "", false, false, false},
      // Below the background's edge until the switch slides its panel up.
      {QAccessible::ComboBox, "Install to", "/home/user/.local/share/Ostrel", true, false, true},
  };
  ASSERT_EQ(window->childCount(), static_cast<int>(expected.size()));
  for (int i = 0; i < window->childCount(); ++i) {
    QAccessibleInterface* node = window->child(i);
    ASSERT_NE(node, nullptr);
    SCOPED_TRACE(node->text(QAccessible::Name).toStdString());
    EXPECT_EQ(node->role(), expected[i].role);
    EXPECT_EQ(node->text(QAccessible::Name), expected[i].name);
    EXPECT_EQ(node->text(QAccessible::Value), expected[i].value);
    EXPECT_EQ(node->state().focusable, expected[i].focusable);
    EXPECT_EQ(node->state().checkable, expected[i].checkable);
    EXPECT_EQ(node->state().invisible, expected[i].invisible);
    EXPECT_FALSE(node->state().checked);
    EXPECT_FALSE(node->state().disabled);
    EXPECT_EQ(node->parent(), window) << "panels without a role are left out";
    EXPECT_EQ(window->indexOfChild(node), i);
  }

  mainPanel->Position()->SetY(295);
  install->SetEnabled(false);
  toggle->Checked = true;
  EXPECT_FALSE(window->child(4)->state().invisible);
  EXPECT_TRUE(window->child(1)->state().disabled);
  EXPECT_TRUE(window->child(2)->state().checked);
  EXPECT_EQ(window->child(2)->text(QAccessible::Value), QStringLiteral("on"));
}

TEST_F(AccessibilityTest, ActionsPressToggleAndFocusAsTheKeyboardWould) {
  QAccessibleInterface* window = Window();
  QAccessibleActionInterface* installActions = window->child(1)->actionInterface();
  ASSERT_NE(installActions, nullptr);
  EXPECT_EQ(installActions->actionNames(),
            (QStringList{QAccessibleActionInterface::pressAction(), QAccessibleActionInterface::setFocusAction()}));
  installActions->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(install->Clicks, 1);

  QAccessibleActionInterface* switchActions = window->child(2)->actionInterface();
  ASSERT_NE(switchActions, nullptr);
  switchActions->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_EQ(toggle->Checked, true);
  switchActions->doAction(QAccessibleActionInterface::setFocusAction());
  EXPECT_TRUE(toggle->IsFocused());
  EXPECT_TRUE(window->child(2)->state().focused);
  EXPECT_EQ(window->focusChild(), window->child(2));

  install->SetEnabled(false);
  installActions->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(install->Clicks, 1) << "a disabled control is not pressed";
}

TEST_F(AccessibilityTest, ScreenReadersHearOfFocusStateAndNameChanges) {
  std::vector<std::pair<QAccessible::Event, QObject*>> events;
  {
    const ostrel::host::ScopedAccessibleEventSink sink(
        [&events](QAccessibleEvent& AEvent) { events.emplace_back(AEvent.type(), AEvent.object()); });
    toggle->SetFocus();
    toggle->KeyClick();
    combo->SetItemIndex(1);
    close->SetAccessibleName(QStringLiteral("Close the setup"));
  }
  const auto has = [&events](QAccessible::Event AType, QObject* AObject) {
    return std::find(events.begin(), events.end(), std::make_pair(AType, AObject)) != events.end();
  };
  EXPECT_TRUE(has(QAccessible::Focus, toggle));
  EXPECT_TRUE(has(QAccessible::StateChanged, toggle));
  EXPECT_TRUE(has(QAccessible::ValueChanged, combo));
  EXPECT_TRUE(has(QAccessible::NameChanged, close));
  EXPECT_EQ(Window()->child(0)->text(QAccessible::Name), QStringLiteral("Close the setup"));
}

}  // namespace
