// The keyboard in a form: Tab order, which controls Tab reaches, and Space
// and Enter pressing the focused control, driven through the form's window.

#include "skin/host/ComboBox.h"
#include "skin/host/Control.h"
#include "skin/host/Form.h"
#include "skin/host/TabOrder.h"
#include "tests/skin/host/HostTestSupport.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QGraphicsProxyWidget>

using host_test::SendKey;
using host_test::Type;

namespace {

QStringList NamesOf(const QList<TControl*>& AControls) {
  QStringList names;
  for (const TControl* c : AControls) names << c->Name();
  return names;
}

TEST(TabOrder, ExplicitPlacesFirstThenRowsTopToBottomLeftToRight) {
  struct Entry {
    const char* name;
    int order;
    TRectF rect;
  };
  struct Case {
    const char* what;
    std::vector<Entry> entries;
    QStringList expected;
  };
  // The setup window's focusable controls where the intro leaves them.
  const std::vector<Entry> window = {
      {"Switch", -1, {415, 266, 50, 25}},  {"Install", -1, {128, 241, 160, 50}}, {"Close", -1, {607, 16, 33, 33}},
      {"Browse", -1, {585, 311, 34, 34}}, {"Combo", -1, {113, 313, 464, 30}},
  };
  const Case cases[] = {
      {"a switch beside a taller button follows it", window, {"Close", "Install", "Switch", "Combo", "Browse"}},
      {"places of their own come first, in their order",
       {{"A", -1, {0, 0, 10, 10}}, {"B", 1, {0, 50, 10, 10}}, {"C", 0, {0, 90, 10, 10}}, {"D", -1, {20, 0, 10, 10}}},
       {"C", "B", "A", "D"}},
      {"a control whose middle lies below the row's first starts a new row",
       {{"Low", -1, {0, 8, 10, 10}}, {"High", -1, {50, 0, 10, 10}}},
       {"High", "Low"}},
      {"equal places keep the order they came in",
       {{"First", 2, {90, 90, 10, 10}}, {"Second", 2, {0, 0, 10, 10}}},
       {"First", "Second"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QObject owner;
    std::vector<std::unique_ptr<TControl>> controls;
    QList<ostrel::host::TabCandidate> candidates;
    for (const Entry& e : c.entries) {
      controls.push_back(std::make_unique<TControl>());
      controls.back()->SetName(QString::fromLatin1(e.name));
      candidates.append({controls.back().get(), e.order, e.rect});
    }
    EXPECT_EQ(NamesOf(ostrel::host::ArrangeInTabOrder(candidates)), c.expected);
  }
}

// A focusable control that counts its clicks.
class Pressable : public TControl {
 public:
  Pressable(TComponent* AOwner, TComponent* AParent, const QString& AName, TRectF ABounds) : TControl(AOwner) {
    SetName(AName);
    SetCanFocus(true);
    SetBounds(ABounds.x(), ABounds.y(), ABounds.width(), ABounds.height());
    SetParent(AParent);
    SetOnClick([this](TObject*) { ++Clicks; });
  }
  int Clicks = 0;
};

class KeyboardTest : public ::testing::Test {
 protected:
  KeyboardTest() {
    form->SetClientSize(300, 200);
    panel->SetBounds(0, 0, 300, 200);
    panel->SetParent(form.get());
    panel->SetClipChildren(true);
  }

  QApplication& app = host_test::App();  // before the form
  std::unique_ptr<TForm> form = std::make_unique<TForm>();
  TControl* panel = new TControl(form.get());
};

TEST_F(KeyboardTest, TabReachesOnlyControlsAUserCanSeeAndUse) {
  auto* a = new Pressable(form.get(), panel, "A", {10, 10, 40, 20});
  auto* b = new Pressable(form.get(), panel, "B", {60, 10, 40, 20});
  auto* c = new Pressable(form.get(), panel, "C", {10, 50, 40, 20});
  struct Case {
    const char* what;
    std::function<void()> hideB;
  };
  const Case cases[] = {
      {"disabled", [b] { b->SetEnabled(false); }},
      {"hidden", [b] { b->SetVisible(false); }},
      {"fully transparent parent",
       [&] {
         auto* fade = new TControl(form.get());
         fade->SetBounds(0, 0, 300, 200);
         fade->SetParent(panel);
         fade->SetOpacity(0);
         b->SetParent(fade);
       }},
      {"clipped away below its parent's edge", [b] { b->Position()->SetY(250); }},
      {"out of the window", [b] { b->Position()->SetX(400); }},
      {"no tab stop", [b] { b->SetTabStop(false); }},
      {"cannot take the focus", [b] { b->SetCanFocus(false); }},
  };
  EXPECT_EQ(NamesOf(form->TabOrderList()), (QStringList{"A", "B", "C"}));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.hideB();
    EXPECT_EQ(NamesOf(form->TabOrderList()), (QStringList{"A", "C"}));
    b->SetEnabled(true);
    b->SetVisible(true);
    b->SetTabStop(true);
    b->SetCanFocus(true);
    b->SetParent(panel);
    b->SetBounds(60, 10, 40, 20);
    ASSERT_EQ(NamesOf(form->TabOrderList()), (QStringList{"A", "B", "C"}));
  }
  (void)a;
  (void)c;
}

TEST_F(KeyboardTest, TabAndShiftTabWalkTheOrderAndWrapAround) {
  new Pressable(form.get(), panel, "A", {10, 10, 40, 20});
  new Pressable(form.get(), panel, "B", {60, 10, 40, 20});
  new Pressable(form.get(), panel, "C", {10, 50, 40, 20});
  QStringList walk;
  const auto focused = [&] { return form->FocusedControl() != nullptr ? form->FocusedControl()->Name() : QString(); };
  for (int i = 0; i < 4; ++i) {
    Type(*form, Qt::Key_Tab);
    walk << focused();
  }
  EXPECT_EQ(walk, (QStringList{"A", "B", "C", "A"}));
  walk.clear();
  for (int i = 0; i < 2; ++i) {
    Type(*form, Qt::Key_Backtab, Qt::ShiftModifier);
    walk << focused();
  }
  EXPECT_EQ(walk, (QStringList{"C", "B"}));
}

TEST_F(KeyboardTest, SpaceClicksOnReleaseAndEnterAtOnce) {
  auto* button = new Pressable(form.get(), panel, "Button", {10, 10, 40, 20});
  button->SetFocus();
  ASSERT_TRUE(button->IsFocused());

  SendKey(*form, QEvent::KeyPress, Qt::Key_Space);
  EXPECT_TRUE(button->KeyPressed()) << "shows itself pressed while the key is held";
  EXPECT_EQ(button->Clicks, 0);
  SendKey(*form, QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, true);
  SendKey(*form, QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, true);
  EXPECT_EQ(button->Clicks, 0) << "the system's repeats of a held key press nothing";
  SendKey(*form, QEvent::KeyRelease, Qt::Key_Space);
  EXPECT_FALSE(button->KeyPressed());
  EXPECT_EQ(button->Clicks, 1);

  for (const int key : {Qt::Key_Return, Qt::Key_Enter}) {
    SendKey(*form, QEvent::KeyPress, key);
    SendKey(*form, QEvent::KeyPress, key, Qt::NoModifier, true);
  }
  EXPECT_EQ(button->Clicks, 3);
  Type(*form, Qt::Key_Return, Qt::ControlModifier);
  EXPECT_EQ(button->Clicks, 3) << "Ctrl+Enter is a shortcut, not a press";
}

TEST_F(KeyboardTest, APressThatLosesTheFocusOrItsEnablednessClicksNothing) {
  auto* a = new Pressable(form.get(), panel, "A", {10, 10, 40, 20});
  auto* b = new Pressable(form.get(), panel, "B", {60, 10, 40, 20});
  a->SetFocus();
  SendKey(*form, QEvent::KeyPress, Qt::Key_Space);
  Type(*form, Qt::Key_Tab);
  ASSERT_TRUE(b->IsFocused());
  SendKey(*form, QEvent::KeyRelease, Qt::Key_Space);
  EXPECT_EQ(a->Clicks + b->Clicks, 0);
  EXPECT_FALSE(a->KeyPressed());

  b->SetEnabled(false);
  EXPECT_NE(form->FocusedControl(), b);
  Type(*form, Qt::Key_Return);
  EXPECT_EQ(b->Clicks, 0);
}

// A focused control that stops taking input (the install disables its own
// button; a panel hides or fades out) hands the focus to the control Tab
// reaches after it, so the keyboard keeps a place to work from and the
// focused look leaves what cannot be used. With nothing else to take it, the
// focus goes nowhere.
TEST_F(KeyboardTest, TheFocusMovesOnFromAControlThatStopsTakingInput) {
  auto* a = new Pressable(form.get(), panel, "A", {10, 10, 40, 20});
  auto* fade = new TControl(form.get());
  fade->SetBounds(0, 0, 300, 200);
  fade->SetParent(panel);
  fade->SetHitTest(false);
  auto* b = new Pressable(form.get(), fade, "B", {60, 10, 40, 20});
  auto* c = new Pressable(form.get(), panel, "C", {10, 50, 40, 20});
  struct Case {
    const char* what;
    TControl* focused;
    std::function<void()> stop;
    TControl* next;
  };
  const Case cases[] = {
      {"disabled", b, [b] { b->SetEnabled(false); }, c},
      {"hidden", b, [b] { b->SetVisible(false); }, c},
      {"faded out", b, [b] { b->SetOpacity(0); }, c},
      {"its parent faded out", b, [fade] { fade->SetOpacity(0); }, c},
      {"its parent disabled", b, [fade] { fade->SetEnabled(false); }, c},
      {"the last in the order wraps to the first", c, [c] { c->SetEnabled(false); }, a},
      {"a focus Tab never stopped at keeps its place",
       b,
       [b] {
         b->SetTabStop(false);
         b->SetEnabled(false);
       },
       c},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    k.focused->SetFocus();
    form->SetFocusShown(true);
    ASSERT_TRUE(k.focused->ShowsFocus());
    k.stop();
    EXPECT_EQ(form->FocusedControl(), k.next);
    EXPECT_FALSE(k.focused->ShowsFocus());
    for (TControl* control : {static_cast<TControl*>(a), fade, static_cast<TControl*>(b), static_cast<TControl*>(c)}) {
      control->SetEnabled(true);
      control->SetVisible(true);
      control->SetOpacity(1);
    }
    b->SetTabStop(true);
  }

  a->SetEnabled(false);
  c->SetVisible(false);
  b->SetFocus();
  b->SetEnabled(false);
  EXPECT_EQ(form->FocusedControl(), nullptr) << "no other control can take it";
}

// A faded-out control is as good as hidden to the keyboard and to screen
// readers' actions: it cannot be focused, and a press from either clicks nothing.
TEST_F(KeyboardTest, AFadedOutControlTakesNeitherTheFocusNorAPress) {
  auto* fade = new TControl(form.get());
  fade->SetBounds(0, 0, 300, 200);
  fade->SetParent(panel);
  auto* button = new Pressable(form.get(), fade, "Button", {10, 10, 40, 20});
  fade->SetOpacity(0);
  button->SetFocus();
  EXPECT_EQ(form->FocusedControl(), nullptr);
  Type(*form, Qt::Key_Tab);
  EXPECT_EQ(form->FocusedControl(), nullptr);
  button->KeyClick();
  EXPECT_EQ(button->Clicks, 0);

  fade->SetOpacity(1);
  button->SetFocus();
  EXPECT_TRUE(button->IsFocused());
  Type(*form, Qt::Key_Return);
  EXPECT_EQ(button->Clicks, 1);
}

TEST_F(KeyboardTest, TheComboBoxTakesItsKeysAndGivesTabBack) {
  auto* before = new Pressable(form.get(), panel, "Before", {10, 10, 40, 20});
  auto* combo = new TComboBox(form.get());
  combo->SetName(QStringLiteral("Combo"));
  combo->SetBounds(60, 10, 120, 22);
  combo->SetParent(panel);
  combo->SetItems({QStringLiteral("one"), QStringLiteral("two")});
  combo->SetItemIndex(0);
  auto* after = new Pressable(form.get(), panel, "After", {190, 10, 40, 20});
  form->Show();
  // Graphics View gives an item the keys only in the active window.
  QApplication::setActiveWindow(form->View());

  before->SetFocus();
  Type(*form, Qt::Key_Tab);
  ASSERT_TRUE(combo->IsFocused());
  EXPECT_TRUE(combo->Proxy()->hasFocus());
  Type(*form, Qt::Key_Down);
  EXPECT_EQ(combo->ItemIndex(), 1) << "arrows reach Qt's combo box";
  Type(*form, Qt::Key_Tab);
  EXPECT_TRUE(after->IsFocused());
  EXPECT_FALSE(combo->Proxy()->hasFocus());
  Type(*form, Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_TRUE(combo->IsFocused());
  Type(*form, Qt::Key_Space);
  EXPECT_EQ(after->Clicks + before->Clicks, 0);
  form->Hide();
}

// Without a window system that moves windows (here: none at all), the form
// moves the window itself while the button is held.
TEST(WindowDragByItself, TheWindowFollowsThePointerUntilTheRelease) {
  QApplication& app = host_test::App();
  (void)app;
  TForm form;
  form.SetClientSize(100, 100);
  form.SetLeft(40);
  form.SetTop(30);
  form.Show();
  auto* back = new TControl(&form);
  back->SetBounds(0, 0, 100, 100);
  back->SetParent(&form);
  int clicks = 0;
  back->SetOnClick([&clicks](TObject*) { ++clicks; });
  back->SetOnMouseDown([&form](TObject*, TMouseButton, TShiftState, float, float) { form.StartWindowDrag(); });

  QWidget* viewport = form.View()->viewport();
  const auto send = [viewport](QEvent::Type AType, QPointF ALocal, QPointF AScreen, Qt::MouseButton AButton,
                               Qt::MouseButtons AHeld) {
    QMouseEvent event(AType, ALocal, ALocal, AScreen, AButton, AHeld, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &event);
  };
  send(QEvent::MouseButtonPress, {10, 10}, {50, 40}, Qt::LeftButton, Qt::LeftButton);
  ASSERT_TRUE(form.SelfDragging());
  send(QEvent::MouseMove, {10, 10}, {75, 52}, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(form.View()->pos(), QPoint(65, 42));
  EXPECT_EQ(form.Left(), 65);
  send(QEvent::MouseButtonRelease, {10, 10}, {75, 52}, Qt::LeftButton, Qt::NoButton);
  EXPECT_FALSE(form.SelfDragging());
  send(QEvent::MouseMove, {10, 10}, {200, 200}, Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(form.View()->pos(), QPoint(65, 42)) << "the window stays once the button is up";
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(form.Captured(), nullptr);
}

}  // namespace
