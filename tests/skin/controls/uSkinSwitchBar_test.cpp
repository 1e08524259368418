// The switch bar family: a new bar, the value rules and the checked state
// with their events, the knob's pictures and spans through a recording
// device, clicks and drags through a real form, stored forms and refusals.

#include "skin/controls/uSkinSwitchBarType.h"
#include "skin/host/Form.h"
#include "skin/host/FormReader.h"
#include "skin/host/FormWriter.h"
#include "skin/host/HostClasses.h"
#include "tests/skin/controls/ControlTestSupport.h"
#include "tests/skin/host/HostTestSupport.h"
#include "tests/support/RecordingPaintDevice.h"
#include "tests/support/SkinTestFamily.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

using paint_record::Op;
using paint_record::OpKind;

namespace {

class TTestSwitchBar : public TSkinFMXSwitchBar {
  Q_OBJECT

 public:
  using TSkinFMXSwitchBar::TSkinFMXSwitchBar;
  void Invalidate() override {
    ++InvalidateCount;
    TSkinFMXSwitchBar::Invalidate();
  }
  int InvalidateCount = 0;
};

// A picture of one colour and size; the size tells in a recording which picture was drawn.
QImage Solid(int AWidth, int AHeight, QColor AColor) {
  QImage image(AWidth, AHeight, QImage::Format_ARGB32);
  image.fill(AColor);
  return image;
}

class SwitchBarTest : public testing::Test {
 protected:
  // Before any member: a form needs the application when it is made.
  SwitchBarTest() { host_test::App(); }

  void SetUp() override {
    ostrel::host::RegisterHostClasses();
    ostrel::skin::StartSkinLibrary({&ostrel::skin::RegisterSkinCoreFamily, &RegisterSkinSwitchBarFamily});
  }

  // The setup window's switch: 50 x 25, a 25-pixel knob, and pictures whose
  // source sizes tell them apart: back 50 x 25, fore 50 x 24, knob normal 25 x 25,
  // hover 24 x 24, down 23 x 23.
  TTestSwitchBar* NewSwitch(TComponent* AOwner = nullptr) {
    auto* bar = new TTestSwitchBar(AOwner != nullptr ? AOwner : &FOwner);
    bar->SetSize(50, 25);
    TSkinSwitchBarDefaultMaterial* m = bar->Material();
    m->SetSwitchBtnDrawSize(25);
    m->HorzBackGndPicture()->SetImage(Solid(50, 25, Qt::darkGray));
    m->HorzForeGndPicture()->SetImage(Solid(50, 24, Qt::blue));
    m->HorzSwitchBtnNormalPicture()->SetImage(Solid(25, 25, Qt::white));
    m->HorzSwitchBtnHoverPicture()->SetImage(Solid(24, 24, Qt::lightGray));
    m->HorzSwitchBtnDownPicture()->SetImage(Solid(23, 23, Qt::gray));
    for (TDrawPictureParam* param :
         {m->BackGndDrawPictureParam(), m->ForeGndDrawPictureParam(), m->SwitchBtnDrawPictureParam()}) {
      param->SetIsStretch(true);
    }
    return bar;
  }

  static std::vector<Op> Images(TTestSwitchBar& ABar, bool AInteractive = true) {
    return controls_test::OpsOf(controls_test::RecordControl(ABar, AInteractive), OpKind::Image);
  }

  // Which picture an image op drew, by its source width.
  static const char* Which(const Op& AOp) {
    switch (static_cast<int>(AOp.Source.height())) {
      case 25:
        return AOp.Source.width() == 50 ? "back" : "knob";
      case 24:
        return AOp.Source.width() == 50 ? "fore" : "hover knob";
      case 23:
        return "down knob";
      default:
        return "?";
    }
  }

  static std::vector<std::string> Names(const std::vector<Op>& AOps) {
    std::vector<std::string> names;
    for (const Op& op : AOps) names.emplace_back(Which(op));
    return names;
  }

  TComponent FOwner;
};

TEST_F(SwitchBarTest, ANewBarIsOffAtTheStartOfItsRange) {
  auto* bar = new TTestSwitchBar(&FOwner);
  EXPECT_EQ(bar->Width(), 44);
  EXPECT_EQ(bar->Height(), 22);
  TSwitchBarProperties* p = bar->Prop();
  EXPECT_EQ(p->Min(), 0);
  EXPECT_EQ(p->Max(), 1);
  EXPECT_EQ(p->Position(), 0);
  EXPECT_EQ(p->DrawPosition(), 0);
  EXPECT_FALSE(p->Checked());
  EXPECT_EQ(p->Orientation(), TSwitchBarOrientation::srHorizontal);
  const TSkinSwitchBarBtnState& state = *p->SwitchBtnState();
  EXPECT_FALSE(state.MouseDown);
  EXPECT_FALSE(state.MouseHover);
  EXPECT_EQ(state.MouseDownOffset, 0);
  EXPECT_EQ(p->GetComponentClassify(), QStringLiteral("SkinSwitchBar"));
  EXPECT_TRUE(TControlTypeClass::Of<TSkinSwitchBarDefaultType>().IsClassOf(bar->SkinControlType()));
  ASSERT_NE(bar->Material(), nullptr);
  EXPECT_EQ(bar->Material()->SwitchBtnDrawSize(), 0);
  EXPECT_TRUE(bar->Material()->IsDrawForeAndBackGround());
}

TEST_F(SwitchBarTest, ValueRulesAndTheCheckedStateFireOnlyOnRealChanges) {
  TTestSwitchBar* bar = NewSwitch();
  TSwitchBarProperties* p = bar->Prop();
  std::vector<TObject*> senders;
  bar->SetOnChange([&](TObject* ASender) { senders.push_back(ASender); });
  struct Row {
    const char* Name;
    void (*Set)(TSwitchBarProperties&);
    double Position;
    bool Checked;
    int Events;
  };
  const Row rows[] = {
      {"unchecking an unchecked bar", [](TSwitchBarProperties& q) { q.SetChecked(false); }, 0, false, 0},
      {"checking", [](TSwitchBarProperties& q) { q.SetChecked(true); }, 1, true, 1},
      {"checking again", [](TSwitchBarProperties& q) { q.SetChecked(true); }, 1, true, 0},
      {"beyond the maximum", [](TSwitchBarProperties& q) { q.SetPosition(2); }, 1, true, 0},
      {"below the minimum", [](TSwitchBarProperties& q) { q.SetPosition(-1); }, 0, false, 1},
      {"not a number is the minimum",
       [](TSwitchBarProperties& q) { q.SetPosition(std::numeric_limits<double>::quiet_NaN()); }, 0, false, 0},
      {"between the ends", [](TSwitchBarProperties& q) { q.SetPosition(0.25); }, 0.25, false, 1},
      {"unchecking between the ends changes nothing: it is not checked",
       [](TSwitchBarProperties& q) { q.SetChecked(false); }, 0.25, false, 0},
      {"static checking is silent", [](TSwitchBarProperties& q) { q.SetStaticChecked(true); }, 1, true, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    senders.clear();
    bar->InvalidateCount = 0;
    row.Set(*p);
    EXPECT_EQ(p->Position(), row.Position);
    EXPECT_EQ(p->Checked(), row.Checked);
    EXPECT_EQ(p->StaticChecked(), row.Checked);
    EXPECT_EQ(senders, std::vector<TObject*>(static_cast<std::size_t>(row.Events), p));
    EXPECT_EQ(bar->InvalidateCount, row.Events);
  }

  // The drawn position: clamped and repainted, never an OnChange.
  senders.clear();
  bar->InvalidateCount = 0;
  p->SetDrawPosition(5);
  EXPECT_EQ(p->DrawPosition(), 1);
  EXPECT_TRUE(p->DrawChecked());
  EXPECT_EQ(bar->InvalidateCount, 1);
  p->SetStaticDrawChecked(false);
  EXPECT_EQ(p->DrawPosition(), 0);
  EXPECT_EQ(bar->InvalidateCount, 1);
  EXPECT_TRUE(senders.empty());
}

TEST_F(SwitchBarTest, WhileOnTheParametersShowTheirPushedEffect) {
  TTestSwitchBar* bar = NewSwitch();
  TSkinControlType* type = bar->SkinControlType();
  EXPECT_FALSE(type->CalcCurrentEffectStates().Contains(TDPEffectState::dpstPushed));
  bar->Prop()->SetChecked(true);
  EXPECT_TRUE(type->CalcCurrentEffectStates().Contains(TDPEffectState::dpstPushed));
  bar->SetEnabled(false);
  EXPECT_EQ(type->CalcCurrentEffectStates(),
            (TDPEffectStates{TDPEffectState::dpstDisabled, TDPEffectState::dpstPushed}));
}

TEST_F(SwitchBarTest, TheKnobSpansItsEndOfTheTrackAndTheForegroundGrowsToIt) {
  TTestSwitchBar* bar = NewSwitch();
  struct Row {
    const char* Name;
    double Position;
    QRectF Fore;
    QRectF Knob;
  };
  const Row rows[] = {
      {"off", 0, {0, 0, 0, 25}, {0, 0, 25, 25}},
      {"a fifth: the pixel is within half a knob", 0.2, {0, 0, 10, 25}, {0, 0, 25, 25}},
      {"halfway: centred on the pixel", 0.5, {0, 0, 25, 25}, {12.5, 0, 25, 25}},
      {"on", 1, {0, 0, 50, 25}, {25, 0, 25, 25}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    bar->Prop()->SetPosition(row.Position);
    const std::vector<Op> ops = Images(*bar);
    std::vector<std::string> names = Names(ops);
    if (row.Fore.width() == 0) {
      EXPECT_EQ(names, (std::vector<std::string>{"back", "knob"})) << "an empty foreground draws nothing";
    } else {
      ASSERT_EQ(names, (std::vector<std::string>{"back", "fore", "knob"}));
      EXPECT_EQ(ops[1].Rect, row.Fore);
    }
    EXPECT_EQ(ops.back().Rect, row.Knob);
  }

  // Without a size of its own the knob is as wide as its normal picture.
  bar->Material()->SetSwitchBtnDrawSize(0);
  bar->Material()->HorzSwitchBtnNormalPicture()->SetImage(Solid(20, 25, Qt::white));
  bar->Prop()->SetChecked(true);
  auto* type = dynamic_cast<TSkinSwitchBarDefaultType*>(bar->SkinControlType());
  ASSERT_NE(type, nullptr);
  EXPECT_EQ(type->GetSwitchBtnDrawSize(), 20);
  EXPECT_EQ(type->GetSwitchBtnDrawRect(1), TRectF(30, 0, 20, 25));
}

TEST_F(SwitchBarTest, WithoutForeAndBackTogetherOnlyTheForegroundShowsWhileOnAndOnlyTheBackgroundWhileOff) {
  TTestSwitchBar* bar = NewSwitch();
  bar->Material()->SetIsDrawForeAndBackGround(false);
  EXPECT_EQ(Names(Images(*bar)), (std::vector<std::string>{"back", "knob"}));
  bar->Prop()->SetChecked(true);
  const std::vector<Op> on = Images(*bar);
  EXPECT_EQ(Names(on), (std::vector<std::string>{"fore", "knob"}));
  EXPECT_EQ(on[0].Rect, QRectF(0, 0, 50, 25));
}

TEST_F(SwitchBarTest, TheKnobPictureFollowsThePointerOnlyWhenPaintedInteractively) {
  TTestSwitchBar* bar = NewSwitch();
  TSkinSwitchBarBtnState& state = *bar->Prop()->SwitchBtnState();
  bar->Prop()->SetPosition(1);
  bar->Prop()->SetDrawPosition(0);
  struct Row {
    const char* Name;
    bool Down, Hover, Interactive;
    const char* Knob;
    QRectF Rect;
  };
  const Row rows[] = {
      {"held", true, true, true, "down knob", {25, 0, 25, 25}},
      {"hovered", false, true, true, "hover knob", {25, 0, 25, 25}},
      {"neither", false, false, true, "knob", {25, 0, 25, 25}},
      {"held, painted by another at the drawn position", true, true, false, "knob", {0, 0, 25, 25}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    state.MouseDown = row.Down;
    state.MouseHover = row.Hover;
    const std::vector<Op> ops = Images(*bar, row.Interactive);
    ASSERT_FALSE(ops.empty());
    EXPECT_STREQ(Which(ops.back()), row.Knob);
    EXPECT_EQ(ops.back().Rect, row.Rect);
  }
  // An empty pressed picture falls back to the normal one; the disabled one is never chosen.
  state.MouseDown = true;
  bar->Material()->HorzSwitchBtnDownPicture()->ClearPicture();
  bar->Material()->HorzSwitchBtnDisabledPicture()->SetImage(Solid(22, 22, Qt::red));
  bar->SetEnabled(false);
  EXPECT_STREQ(Which(Images(*bar).back()), "knob");
}

TEST_F(SwitchBarTest, OrientationSwapsTheSizeAndTurnsTheGeometry) {
  auto* bar = new TTestSwitchBar(&FOwner);
  bar->Prop()->SetOrientation(TSwitchBarOrientation::srVertical);
  EXPECT_EQ(bar->Width(), 22);
  EXPECT_EQ(bar->Height(), 44);
  bar->Material()->SetSwitchBtnDrawSize(22);
  bar->Prop()->SetChecked(true);
  auto* type = dynamic_cast<TSkinSwitchBarDefaultType*>(bar->SkinControlType());
  EXPECT_EQ(type->GetSwitchBtnDrawRect(1), TRectF(0, 22, 22, 22));
}

TEST_F(SwitchBarTest, TheBaseTypeAnswersNoKnobGeometryAndTheFamilyRefusesOtherControls) {
  TTestSwitchBar* bar = NewSwitch();
  TSkinSwitchBarType base;
  base.Bind(bar);
  try {
    base.GetSwitchBtnDrawSize();
    ADD_FAILURE();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Have Not Implement TBinaryObjectList.GetSwitchBtnDrawSize"));
  }
  try {
    base.GetSwitchBtnDrawRect(0);
    ADD_FAILURE();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Have Not Implement TSkinSwitchBarType.GetSwitchBtnDrawRect"));
  }
  base.UnBind();

  test_support::StartSkinTestFamily();
  TSkinTestBox box(&FOwner);
  const QString message = QStringLiteral("This Component Do not Support ISkinSwitchBar Interface");
  try {
    TSwitchBarProperties properties(&box);
    ADD_FAILURE();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), message);
  }
  TSkinSwitchBarDefaultType type;
  try {
    type.Bind(&box);
    ADD_FAILURE();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), message);
  }
}

// Clicks and drags as a user makes them, through a shown form.
class SwitchBarPointerTest : public SwitchBarTest {
 protected:
  void SetUp() override {
    SwitchBarTest::SetUp();
    FForm.SetClientSize(200, 100);
    FForm.Show();
    FBar = NewSwitch(&FForm);
    FBar->SetParent(&FForm);
    FBar->SetBounds(100, 50, 50, 25);
    FBar->SetOnChange([this](TObject*) { ++FChanges; });
  }

  // A point of the bar in the form.
  static QPointF At(double AX, double AY) { return {100 + AX, 50 + AY}; }

  TForm FForm;
  TTestSwitchBar* FBar = nullptr;
  int FChanges = 0;
};

TEST_F(SwitchBarPointerTest, AClickWithoutMovementTogglesOnTheKnobAndOnTheTrack) {
  std::vector<bool> states;
  for (const double x : {40.0, 40.0, 10.0}) {
    host_test::Move(FForm, At(x, 12));
    host_test::Press(FForm, At(x, 12));
    host_test::Release(FForm, At(x, 12));
    states.push_back(FBar->Prop()->Checked());
  }
  EXPECT_EQ(states, (std::vector<bool>{true, false, true}));
  EXPECT_EQ(FChanges, 3);
  EXPECT_FALSE(FBar->Prop()->SwitchBtnState()->MouseDown);
}

TEST_F(SwitchBarPointerTest, DraggingTheKnobHalfwayLeavesThePositionBetweenTheEnds) {
  host_test::Move(FForm, At(12, 12));
  EXPECT_TRUE(FBar->Prop()->SwitchBtnState()->MouseHover);
  FBar->InvalidateCount = 0;
  host_test::Press(FForm, At(12, 12));
  EXPECT_TRUE(FBar->Prop()->SwitchBtnState()->MouseDown);
  EXPECT_GE(FBar->InvalidateCount, 1) << "the held knob shows";
  host_test::Move(FForm, At(20, 12), Qt::LeftButton);
  host_test::Move(FForm, At(25, 12), Qt::LeftButton);
  // The knob's centre follows the pointer over the track less one knob: (25 - 12.5) / 25.
  EXPECT_DOUBLE_EQ(FBar->Prop()->Position(), 0.5);
  EXPECT_EQ(FChanges, 2) << "every change of the position fires";
  host_test::Release(FForm, At(25, 12));
  EXPECT_DOUBLE_EQ(FBar->Prop()->Position(), 0.5) << "no snap to an end";
  EXPECT_FALSE(FBar->Prop()->Checked());
  EXPECT_FALSE(FBar->Prop()->SwitchBtnState()->MouseDown);

  // Dragged past the end it stays on; a press away from the knob grabs nothing.
  host_test::Press(FForm, At(25, 12));
  host_test::Move(FForm, At(60, 12), Qt::LeftButton);
  host_test::Release(FForm, At(60, 12));
  EXPECT_TRUE(FBar->Prop()->Checked());
  host_test::Press(FForm, At(5, 12));
  EXPECT_FALSE(FBar->Prop()->SwitchBtnState()->MouseDown);
  host_test::Move(FForm, At(15, 12), Qt::LeftButton);
  EXPECT_TRUE(FBar->Prop()->Checked()) << "the track does not drag";
  host_test::Release(FForm, At(15, 12));

  host_test::Move(FForm, At(40, 12));
  EXPECT_TRUE(FBar->Prop()->SwitchBtnState()->MouseHover);
  host_test::Move(FForm, At(190, 90));
  EXPECT_FALSE(FBar->Prop()->SwitchBtnState()->MouseHover) << "leaving clears the hover";
}

TEST_F(SwitchBarTest, AStoredFormKeepsTheCheckedStateQuietly) {
  const QString text = QStringLiteral(
      "object Form1: TForm\n"
      "  object Custom: TSkinFMXSwitchBar\n"
      "    Width = 50\n"
      "    Height = 25\n"
      "    Properties.Checked = True\n"
      "    SelfOwnMaterial.SwitchBtnDrawSize = 25\n"
      "    SelfOwnMaterial.IsDrawForeAndBackGround = False\n"
      "  end\n"
      "end\n");
  std::unique_ptr<TComponent> form = ostrel::host::ReadComponent(text);
  auto* bar = dynamic_cast<TSkinSwitchBar*>(form->FindComponent(QStringLiteral("Custom")));
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(bar->Prop()->Checked());
  EXPECT_EQ(bar->Width(), 50);
  EXPECT_EQ(bar->Material()->SwitchBtnDrawSize(), 25);
  EXPECT_FALSE(bar->Material()->IsDrawForeAndBackGround());
  const QString written = ostrel::host::WriteComponent(*form);
  EXPECT_TRUE(written.contains(QStringLiteral("Properties.Checked = True"))) << written.toStdString();
  std::unique_ptr<TComponent> again = ostrel::host::ReadComponent(written);
  EXPECT_EQ(ostrel::host::WriteComponent(*again), written);
}

}  // namespace

#include "uSkinSwitchBar_test.moc"
