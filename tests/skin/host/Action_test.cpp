// A control's click runs its linked action or fires its own OnClick, and the
// link follows the action's life and the stored form.

#include "skin/host/Action.h"
#include "skin/host/ClassRegistry.h"
#include "skin/host/Control.h"
#include "skin/host/Form.h"
#include "skin/host/FormReader.h"
#include "skin/host/FormWriter.h"
#include "skin/host/HostClasses.h"
#include "tests/skin/host/HostTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class TActionTestForm : public TForm {
  Q_OBJECT

 public:
  explicit TActionTestForm(TComponent* AOwner = nullptr) : TForm(AOwner) {}

  Q_INVOKABLE void InstallExecute(TObject* Sender) { ran << dynamic_cast<TComponent*>(Sender)->Name(); }

  QStringList ran;
};

class ActionLink : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    host_test::App();
    ostrel::host::RegisterHostClasses();
    ostrel::host::RegisterClass<TActionTestForm>();
  }
};

}  // namespace

TEST_F(ActionLink, ClickRunsTheActionWhenExecutionIsOnAndItHasAHandler) {
  struct Case {
    const char* what;
    bool executionOn;
    bool linkAction;
    bool actionHasHandler;
    const char* expected;
  };
  const Case cases[] = {
      {"action runs instead of OnClick", true, true, true, "action"},
      {"an action without handler leaves the click to OnClick", true, true, false, "click"},
      {"execution off: OnClick only", false, true, true, "click"},
      {"no action", true, false, false, "click"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QString ran;
    TComponent owner;
    auto* action = new TBasicAction(&owner);
    if (c.actionHasHandler) action->SetOnExecute([&ran](TObject*) { ran += QStringLiteral("action"); });
    auto* control = new TControl(&owner);
    control->SetEnableExecuteAction(c.executionOn);
    if (c.linkAction) control->SetAction(action);
    control->SetOnClick([&ran](TObject*) { ran += QStringLiteral("click"); });
    control->Click();
    EXPECT_EQ(ran, QString::fromLatin1(c.expected));
  }
}

TEST_F(ActionLink, FreeingTheActionUnlinksItAndAMoveToAnotherOwnerKeepsIt) {
  TComponent owner;
  auto* control = new TControl(&owner);
  control->SetEnableExecuteAction(true);
  int clicks = 0;
  control->SetOnClick([&clicks](TObject*) { ++clicks; });

  auto action = std::make_unique<TBasicAction>(&owner);
  control->SetAction(action.get());
  TComponent otherOwner;
  owner.RemoveComponent(action.get());
  otherOwner.InsertComponent(action.get());
  EXPECT_EQ(control->Action(), action.get()) << "a change of owner is no removal";

  otherOwner.RemoveComponent(action.get());
  action.reset();
  EXPECT_EQ(control->Action(), nullptr);
  control->Click();
  EXPECT_EQ(clicks, 1);
}

TEST_F(ActionLink, StoredFormLinksTheActionByNameAndAPointerClickRunsIt) {
  const QString text = QStringLiteral(
      "object ActionTestForm: TActionTestForm\n"
      "  ClientWidth = 100\n"
      "  ClientHeight = 100\n"
      "  object Install: TBasicAction\n"
      "    OnExecute = InstallExecute\n"
      "  end\n"
      "  object Button: TControl\n"
      "    Width = 50\n"
      "    Height = 50\n"
      "    Action = Install\n"
      "  end\n"
      "end\n");
  TActionTestForm form;
  ostrel::host::ReadComponentInto(form, text);
  auto* button = qobject_cast<TControl*>(form.FindComponent(QStringLiteral("Button")));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->Action(), form.FindComponent(QStringLiteral("Install")));
  button->SetEnableExecuteAction(true);
  form.Show();

  host_test::Press(form, {10, 10});
  host_test::Release(form, {10, 10});
  EXPECT_EQ(form.ran, QStringList{"Install"});
  button->SetEnabled(false);
  host_test::Press(form, {10, 10});
  host_test::Release(form, {10, 10});
  EXPECT_EQ(form.ran, QStringList{"Install"}) << "a disabled control runs nothing";

  const QString written = ostrel::host::WriteComponent(form);
  EXPECT_TRUE(written.contains(QStringLiteral("    Action = Install\n"))) << written.toStdString();
  EXPECT_TRUE(written.contains(QStringLiteral("    OnExecute = InstallExecute\n")));
}

#include "Action_test.moc"
