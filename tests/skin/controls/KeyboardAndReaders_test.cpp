// What the control families give the keyboard and screen readers: which
// controls take the focus and what each says it is, a key press as the
// control's click without movement, and the focused look drawn only while
// the form shows the focus.

#include "skin/controls/uSkinButtonType.h"
#include "skin/controls/uSkinImageType.h"
#include "skin/controls/uSkinLabelType.h"
#include "skin/controls/uSkinPanelType.h"
#include "skin/controls/uSkinProgressBarType.h"
#include "skin/controls/uSkinSwitchBarType.h"
#include "skin/host/Form.h"
#include "tests/skin/controls/ControlTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using controls_test::ControlTest;

class KeyboardAndReadersTest : public ControlTest {};

TEST_F(KeyboardAndReadersTest, EachFamilySaysWhatItIsAndWhetherItTakesTheFocus) {
  struct Case {
    const char* What;
    std::function<TControl*(TComponent*)> Make;
    TAccessibleRole Role;
    QString Name;
    bool CanFocus;
  };
  const auto button = [](const QString& ACaption, const QString& AHint, const QString& AStored) {
    return [=](TComponent* AOwner) {
      auto* b = new TSkinFMXButton(AOwner);
      b->SetText(ACaption);
      b->SetHint(AHint);
      b->SetAccessibleName(AStored);
      return b;
    };
  };
  const Case cases[] = {
      {"a button by its caption", button("Install Now", "Starts", ""), TAccessibleRole::Button, "Install Now", true},
      {"an icon button by its hint", button("", "Close", ""), TAccessibleRole::Button, "Close", true},
      {"a button by the name stored for it", button("Go", "", "Install Ostrel"), TAccessibleRole::Button,
       "Install Ostrel", true},
      {"a label by its caption",
       [](TComponent* AOwner) {
         auto* l = new TSkinFMXLabel(AOwner);
         l->SetText(QStringLiteral("Install to"));
         return l;
       },
       TAccessibleRole::Label, "Install to", false},
      {"an unnamed picture is decoration", [](TComponent* AOwner) { return new TSkinFMXImage(AOwner); },
       TAccessibleRole::None, "", false},
      {"a named picture is an image",
       [](TComponent* AOwner) {
         auto* i = new TSkinFMXImage(AOwner);
         i->SetAccessibleName(QStringLiteral("Ostrel"));
         return i;
       },
       TAccessibleRole::Image, "Ostrel", false},
      {"a panel gives its place to its controls", [](TComponent* AOwner) { return new TSkinFMXPanel(AOwner); },
       TAccessibleRole::None, "", false},
      {"a switch bar", [](TComponent* AOwner) { return new TSkinFMXSwitchBar(AOwner); }, TAccessibleRole::Switch, "",
       true},
      {"a progress bar", [](TComponent* AOwner) { return new TSkinFMXProgressBar(AOwner); },
       TAccessibleRole::ProgressBar, "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    TControl* control = c.Make(&FOwner);
    EXPECT_EQ(control->AccessibleRole(), c.Role);
    EXPECT_EQ(control->AccessibleName(), c.Name);
    EXPECT_EQ(control->CanFocus(), c.CanFocus);
  }
}

TEST_F(KeyboardAndReadersTest, SwitchAndProgressBarTellTheirState) {
  auto* toggle = new TSkinFMXSwitchBar(&FOwner);
  EXPECT_EQ(toggle->AccessibleChecked(), false);
  toggle->Prop()->SetChecked(true);
  EXPECT_EQ(toggle->AccessibleChecked(), true);

  auto* bar = new TSkinFMXProgressBar(&FOwner);
  struct Case {
    std::int32_t Min, Max, Position;
    const char* Value;
  };
  for (const Case c : {Case{0, 100, 0, "0%"}, Case{0, 100, 29, "29%"}, Case{0, 200, 50, "25%"}, Case{0, 0, 0, "0%"}}) {
    bar->Prop()->SetMin(c.Min);
    bar->Prop()->SetMax(c.Max);
    bar->Prop()->SetPosition(c.Position);
    EXPECT_EQ(bar->AccessibleValue(), QString::fromLatin1(c.Value));
  }
}

TEST_F(KeyboardAndReadersTest, AKeyPressIsTheControlsClickWithoutMovement) {
  TForm form;
  auto* toggle = new TSkinFMXSwitchBar(&form);
  toggle->SetParent(&form);
  int changes = 0;
  toggle->SetOnChange([&changes](TObject*) { ++changes; });
  // A switch toggles on a click without movement; a key press has none.
  toggle->KeyClick();
  EXPECT_TRUE(toggle->Prop()->Checked());
  EXPECT_EQ(changes, 1);
  // A pointer press and drag left behind does not make the next key press a drag.
  toggle->MouseDown(TMouseButton::mbLeft, {}, 2, 2);
  toggle->MouseMove({TShiftStateItem::ssLeft}, 30, 2);
  toggle->MouseUp(TMouseButton::mbLeft, {}, 30, 2);
  const bool afterPointer = toggle->Prop()->Checked();
  toggle->KeyClick();
  EXPECT_NE(toggle->Prop()->Checked(), afterPointer);
  toggle->SetEnabled(false);
  const int before = changes;
  toggle->KeyClick();
  EXPECT_EQ(changes, before) << "a disabled switch is not pressed";

  auto* button = new TSkinFMXButton(&form);
  button->SetParent(&form);
  int clicks = 0;
  button->SetOnClick([&clicks](TObject*) { ++clicks; });
  button->Prop()->SetIsAutoPush(true);
  button->KeyClick();
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(button->Prop()->IsPushed()) << "the button's own click ran, push and all";
}

TEST_F(KeyboardAndReadersTest, TheFocusedLookShowsOnlyWhileTheFormShowsTheFocus) {
  TForm form;
  auto* button = new controls_test::Counting<TSkinFMXButton>(&form);
  button->SetParent(&form);
  TDrawRectParam* back = button->Material()->BackColor();
  button->Material()->SetIsTransparent(false);
  back->SetIsFill(true);
  back->FillDrawColor()->SetColor(0xFF202020);
  back->DrawEffectSetting()->FocusedEffect()->SetEffectTypes({TDRPEffectType::drpetFillColorChange});
  back->DrawEffectSetting()->FocusedEffect()->FillDrawColor()->SetColor(0xFF0092CA);
  const auto middle = [button] { return controls_test::RenderControl(*button).pixel(50, 20); };

  button->SetFocus();
  EXPECT_FALSE(button->GetIsFocused()) << "focused, but the focus is not shown yet";
  EXPECT_EQ(middle(), 0xFF202020u);
  button->InvalidateCount = 0;
  form.SetFocusShown(true);
  EXPECT_TRUE(button->GetIsFocused());
  EXPECT_GT(button->InvalidateCount, 0) << "the look changed, so the button repaints";
  EXPECT_EQ(middle(), 0xFF0092CAu);
  form.SetFocusShown(false);
  EXPECT_EQ(middle(), 0xFF202020u);
  EXPECT_TRUE(button->IsFocused()) << "hiding the focus does not move it";

  // Any key the form gets shows it (a pointer press in the window hides it).
  form.KeyDown(Qt::Key_Shift, QChar(), {});
  EXPECT_TRUE(form.FocusShown());
}

TEST_F(KeyboardAndReadersTest, AControlThatIsOnKeepsItsLookAndShowsItsFocusOverIt) {
  TForm form;
  auto* toggle = new TSkinFMXSwitchBar(&form);
  toggle->SetParent(&form);
  toggle->SetSize(50, 25);
  TDrawRectParam* back = toggle->Material()->BackColor();
  toggle->Material()->SetIsTransparent(false);
  back->SetIsFill(true);
  back->SetIsRound(false);
  back->SetBorderWidth(1);
  back->FillDrawColor()->SetColor(0xFF1D1D1D);
  back->BorderDrawColor()->SetColor(0xFF999999);
  auto* pushed = back->DrawEffectSetting()->PushedEffect();
  pushed->SetEffectTypes({TDRPEffectType::drpetFillColorChange, TDRPEffectType::drpetBorderColorChange});
  pushed->FillDrawColor()->SetColor(0xFF0092CA);
  pushed->BorderDrawColor()->SetColor(0xFF0098D4);
  auto* focused = back->DrawEffectSetting()->FocusedEffect();
  focused->SetEffectTypes({TDRPEffectType::drpetBorderColorChange, TDRPEffectType::drpetBorderWidthChange});
  focused->BorderDrawColor()->SetColor(0xFFFFFFFF);
  focused->SetBorderWidth(2);

  struct Case {
    bool On;
    bool Focused;
    QRgb Fill;
    QRgb Edge;  // the second pixel in from the edge
  };
  const Case cases[] = {
      {false, false, 0xFF1D1D1D, 0xFF1D1D1D},
      {false, true, 0xFF1D1D1D, 0xFFFFFFFF},
      {true, false, 0xFF0092CA, 0xFF0092CA},
      {true, true, 0xFF0092CA, 0xFFFFFFFF},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "on " << c.On << ", focused " << c.Focused);
    toggle->Prop()->SetChecked(c.On);
    if (c.Focused) {
      toggle->SetFocus();
      form.SetFocusShown(true);
    } else {
      toggle->ResetFocus();
    }
    const QImage face = controls_test::RenderControl(*toggle);
    EXPECT_EQ(face.pixel(25, 12), c.Fill);
    EXPECT_EQ(face.pixel(1, 12), c.Edge);
  }
}

}  // namespace
