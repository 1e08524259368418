// The button: the state picture rule and the centred block of icon and
// caption as tables, then the control: its defaults, state pictures on
// screen, push groups, stored forms, repaints, layout and automatic size.

#include "skin/controls/uSkinButtonType.h"
#include "skin/host/Form.h"
#include "skin/host/FormReader.h"
#include "skin/host/FormWriter.h"
#include "tests/skin/controls/ControlTestSupport.h"
#include "tests/support/Edges.h"
#include "tests/support/PictureBytes.h"

#include "tests/support/SkinTestFamily.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

using namespace ostrel::skin;
using test_support::Edges;
using test_support::ExpectEdges;
using P = TButtonStatePicture;
using S = TDPEffectState;

TEST(ButtonStatePicture, ChoiceFollowsTheStatesAndFallsBackOnEmptyPictures) {
  struct Row {
    const char* Name;
    TDPEffectStates States;
    bool Interactive;
    TButtonStatePictures Empty;
    P Expected;
  };
  const TButtonStatePictures none;
  const TButtonStatePictures all{P::Normal, P::Hover, P::Down, P::Disabled, P::Focused, P::Pushed};
  const Row rows[] = {
      {"every picture empty ends at Normal", {S::dpstMouseOver, S::dpstPushed}, true, all, P::Normal},
      {"no state", {}, true, none, P::Normal},
      {"disabled", {S::dpstDisabled}, true, none, P::Disabled},
      {"disabled pressed still shows Disabled", {S::dpstDisabled, S::dpstMouseDown}, true, none, P::Disabled},
      {"disabled pushed shows Disabled", {S::dpstDisabled, S::dpstPushed}, true, none, P::Disabled},
      {"disabled without its picture falls back to Pushed when pushed", {S::dpstDisabled, S::dpstPushed}, true,
       {P::Disabled}, P::Pushed},
      {"disabled without its picture falls back to Normal", {S::dpstDisabled}, true, {P::Disabled}, P::Normal},
      {"disabled and focused never shows Focused", {S::dpstDisabled, S::dpstFocused}, true, {P::Disabled},
       P::Normal},
      {"pressed wins over hovered", {S::dpstMouseDown, S::dpstMouseOver}, true, none, P::Down},
      {"hovered wins over pushed", {S::dpstMouseOver, S::dpstPushed}, true, none, P::Hover},
      {"a hovered pushed button painted for a list shows Pushed", {S::dpstMouseOver, S::dpstPushed}, false, none,
       P::Pushed},
      {"pushed wins over focused", {S::dpstPushed, S::dpstFocused}, true, none, P::Pushed},
      {"focused", {S::dpstFocused}, true, none, P::Focused},
      {"focus counts only when interactive", {S::dpstFocused}, false, none, P::Normal},
      {"press counts only when interactive", {S::dpstMouseDown}, false, none, P::Normal},
      {"focused and hovered without a hover picture falls back to Focused", {S::dpstFocused, S::dpstMouseOver}, true,
       {P::Hover}, P::Focused},
      {"hovered pushed without hover and focus pictures shows Pushed",
       {S::dpstMouseOver, S::dpstPushed, S::dpstFocused}, true, {P::Hover, P::Focused}, P::Pushed},
      {"pressed without its picture shows Normal", {S::dpstMouseDown}, true, {P::Down}, P::Normal},
      {"pushed without its picture shows Normal", {S::dpstPushed}, true, {P::Pushed}, P::Normal},
  };
  for (const Row& row : rows)
    EXPECT_EQ(ChooseButtonStatePicture(row.States, row.Interactive, row.Empty), row.Expected) << row.Name;
}

TEST(ButtonStatePicture, EveryStateSetChoosesAPictureThatIsNotEmpty) {
  // Whatever the states, the choice is a picture that has pixels when any but Normal has.
  for (TDPEffectStates::Bits bits = 0; bits < 32; ++bits) {
    const auto states = TDPEffectStates::FromBits(bits);
    for (TButtonStatePictures::Bits empty = 0; empty < 64; ++empty) {
      const auto empties = TButtonStatePictures::FromBits(empty);
      const P choice = ChooseButtonStatePicture(states, true, empties);
      if (choice != P::Normal) {
        EXPECT_FALSE(empties.Contains(choice)) << bits << " " << empty;
      }
    }
  }
}

TEST(ButtonBlockLayout, IconAndCaptionAreCentredAsOneBlock) {
  struct Row {
    const char* Name;
    double Icon, Caption;
    bool IconAfter;
    Edges ExpectedIcon, ExpectedCaption;
  };
  const TRectF r(0, 0, 160, 50);
  const Row rows[] = {
      {"nothing: both start at the centre", 0, 0, false, {80, 0, 160, 50}, {80, 0, 160, 50}},
      {"block wider than the button starts left of it", 100, 100, false, {-20, 0, 160, 50}, {80, 0, 160, 50}},
      {"icon before the caption", 20, 60, false, {40, 0, 160, 50}, {60, 0, 160, 50}},
      {"icon after the caption", 20, 60, true, {100, 0, 120, 50}, {40, 0, 160, 50}},
      {"caption alone", 0, 60, false, {50, 0, 160, 50}, {50, 0, 160, 50}},
  };
  for (const Row& row : rows) {
    const TButtonBlockLayout layout = CenterIconAndCaption(r, row.Icon, row.Caption, row.IconAfter);
    ExpectEdges(layout.Icon, row.ExpectedIcon, std::string(row.Name) + ", icon");
    ExpectEdges(layout.Caption, row.ExpectedCaption, std::string(row.Name) + ", caption");
  }
}

}  // namespace

// --- the button control --------------------------------------------------------------------


namespace {

using paint_record::OpKind;

using TCountingButton = controls_test::Counting<TSkinFMXButton>;

void Fill(TDrawPicture& APicture, int AWidth, int AHeight, QColor AColor) {
  APicture.LoadFromStream(picture_bytes::Png(AWidth, AHeight, AColor));
}

class ButtonTest : public controls_test::ControlTest {
 protected:
  TCountingButton* NewButton(TControl* AParent = nullptr) {
    auto* button = new TCountingButton(&FOwner);
    if (AParent != nullptr) button->SetParent(AParent);
    return button;
  }

};

QColor CentreOf(const QImage& AImage) { return AImage.pixelColor(AImage.width() / 2, AImage.height() / 2); }

}  // namespace

TEST_F(ButtonTest, AFreshButtonHasItsSizeDefaultsAndRegisteredCompanions) {
  TCountingButton* button = NewButton();
  EXPECT_EQ(button->Width(), 100);
  EXPECT_EQ(button->Height(), 40);
  TButtonProperties* properties = button->Prop();
  EXPECT_EQ(properties->ButtonIndex(), -1);
  EXPECT_FALSE(properties->IsPushed());
  EXPECT_FALSE(properties->IsAutoPush());
  EXPECT_EQ(properties->PushedGroupIndex(), 0);
  EXPECT_EQ(properties->GetComponentClassify(), QStringLiteral("SkinButton"));
  EXPECT_EQ(properties->Icon()->Name(), QStringLiteral("Icon"));
  EXPECT_TRUE(TControlTypeClass::Of<TSkinButtonDefaultType>().IsClassOf(button->SkinControlType()));
  TSkinButtonDefaultMaterial* material = button->CurrentUseMaterialToDefault();
  ASSERT_NE(material, nullptr);
  EXPECT_EQ(material->DrawHelpTextParam()->DrawFont()->Color(), 0xFF808080u);
  EXPECT_TRUE(material->HasMouseDownEffect());
  EXPECT_TRUE(material->HasMouseOverEffect());
  const QStringList params = [&] {
    QStringList names;
    for (int i = 0; i < material->DrawParamList()->Count(); ++i) {
      names << material->DrawParamList()->GetItemAs<TDrawParam>(i)->Name();
    }
    return names;
  }();
  EXPECT_EQ(params, (QStringList{"DrawBackColorParam", "DrawHelpTextParam", "DrawCaptionParam", "DrawDetailParam",
                                 "DrawDetail1Param", "DrawIconParam", "DrawPictureParam"}))
      << params.join(',').toStdString();
}

TEST_F(ButtonTest, ShowsTheStatePictureOfItsStatesOnScreen) {
  struct Row {
    const char* Name;
    bool Enabled, Hover, Down, Pushed, Interactive, DisabledPictureEmpty;
    QColor Expected;
  };
  const QColor normal(Qt::red), hover(Qt::green), down(Qt::blue), disabled(Qt::gray), pushed(Qt::yellow);
  const Row rows[] = {
      {"normal", true, false, false, false, true, false, normal},
      {"hovered", true, true, false, false, true, false, hover},
      {"pressed", true, true, true, false, true, false, down},
      {"pushed", true, false, false, true, true, false, pushed},
      {"hovered and pushed", true, true, false, true, true, false, hover},
      {"hovered and pushed, painted for a list", true, true, false, true, false, false, pushed},
      {"disabled and pressed", false, true, true, false, true, false, disabled},
      {"disabled, pushed, no disabled picture", false, false, true, true, true, true, pushed},
      {"disabled, no disabled picture", false, true, true, false, true, true, normal},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    TCountingButton* button = NewButton();
    TSkinButtonDefaultMaterial* material = button->Material();
    Fill(*material->NormalPicture(), 4, 4, normal);
    Fill(*material->HoverPicture(), 4, 4, hover);
    Fill(*material->DownPicture(), 4, 4, down);
    if (!row.DisabledPictureEmpty) Fill(*material->DisabledPicture(), 4, 4, disabled);
    Fill(*material->PushedPicture(), 4, 4, pushed);
    material->DrawPictureParam()->SetIsStretch(true);
    button->Prop()->SetIsPushed(row.Pushed);
    button->SetEnabled(row.Enabled);
    button->SetIsMouseOver(row.Hover);
    button->SetIsMouseDown(row.Down);
    EXPECT_EQ(CentreOf(controls_test::RenderControl(*button, row.Interactive)), row.Expected);
  }
}

TEST_F(ButtonTest, APushedButtonCarriesThePushedStateIntoItsParameters) {
  TCountingButton* button = NewButton();
  button->Prop()->SetIsPushed(true);
  button->SetEnabled(false);
  const TDPEffectStates states = button->SkinControlType()->CurrentEffectStates();
  EXPECT_TRUE(states.Contains(TDPEffectState::dpstPushed));
  EXPECT_TRUE(states.Contains(TDPEffectState::dpstDisabled));
  controls_test::RecordControl(*button);
  EXPECT_TRUE(button->Material()->DrawCaptionParam()->StaticEffectStates().Contains(TDPEffectState::dpstPushed));
}

TEST_F(ButtonTest, APushGroupBehavesLikeRadioButtons) {
  TControl parent(&FOwner);
  TCountingButton* a = NewButton(&parent);
  TCountingButton* b = NewButton(&parent);
  TCountingButton* c = NewButton(&parent);
  TCountingButton* lone = NewButton(&parent);
  for (TCountingButton* button : {a, b, c}) {
    button->Prop()->SetPushedGroupIndex(1);
    button->Prop()->SetIsAutoPush(true);
  }
  lone->Prop()->SetPushedGroupIndex(2);
  const auto pushed = [&] {
    return std::string{a->Prop()->IsPushed() ? 'a' : '-', b->Prop()->IsPushed() ? 'b' : '-',
                       c->Prop()->IsPushed() ? 'c' : '-'};
  };
  a->Prop()->SetIsPushed(true);
  EXPECT_EQ(pushed(), "a--");
  b->Prop()->SetIsPushed(true);
  EXPECT_EQ(pushed(), "-b-") << "pushing one releases the others";
  b->Prop()->SetIsPushed(false);
  EXPECT_EQ(pushed(), "-b-") << "the pushed member cannot be released directly";
  c->Click();
  EXPECT_EQ(pushed(), "--c");
  c->Click();
  EXPECT_EQ(pushed(), "--c") << "a second click on the pushed member keeps it pushed";
  b->InvalidateCount = 0;
  a->Click();
  EXPECT_EQ(pushed(), "a--");
  EXPECT_EQ(b->InvalidateCount, 0) << "an unpushed sibling is left alone";

  lone->Prop()->SetIsAutoPush(true);
  lone->Click();
  EXPECT_TRUE(lone->Prop()->IsPushed());
  lone->Click();
  EXPECT_FALSE(lone->Prop()->IsPushed()) << "a push group of one toggles freely";

  TForm form;
  TCountingButton* first = NewButton();
  TCountingButton* second = NewButton();
  for (TCountingButton* button : {first, second}) {
    button->SetParent(&form);
    button->Prop()->SetPushedGroupIndex(3);
  }
  first->Prop()->SetIsPushed(true);
  second->Prop()->SetIsPushed(true);
  EXPECT_FALSE(first->Prop()->IsPushed()) << "siblings at the top of a form form a group too";
  for (TCountingButton* button : {first, second}) button->SetParent(nullptr);
}

TEST_F(ButtonTest, AStoredFormKeepsEveryPushedMemberOfAGroupAndRoundTrips) {
  const QString text = QStringLiteral(
      "object Form1: TForm\n"
      "  object Bar: TControl\n"
      "    object B1: TSkinFMXButton\n"
      "      Properties.IsPushed = True\n"
      "      Properties.PushedGroupIndex = 1\n"
      "      Properties.HelpText = 'Pick one'\n"
      "      Caption = 'One'\n"
      "      Detail = 'first'\n"
      "      SelfOwnMaterial.IsAutoCenterIconAndCaption = True\n"
      "      SelfOwnMaterial.DrawCaptionParam.FontSize = 20\n"
      "    end\n"
      "    object B2: TSkinFMXButton\n"
      "      Properties.IsPushed = True\n"
      "      Properties.PushedGroupIndex = 1\n"
      "    end\n"
      "  end\n"
      "end\n");
  std::unique_ptr<TComponent> form = ostrel::host::ReadComponent(text);
  auto* b1 = dynamic_cast<TSkinFMXButton*>(form->FindComponent(QStringLiteral("B1")));
  auto* b2 = dynamic_cast<TSkinFMXButton*>(form->FindComponent(QStringLiteral("B2")));
  ASSERT_NE(b1, nullptr);
  ASSERT_NE(b2, nullptr);
  EXPECT_TRUE(b1->Prop()->IsPushed());
  EXPECT_TRUE(b2->Prop()->IsPushed());
  EXPECT_EQ(b1->Prop()->HelpText(), QStringLiteral("Pick one"));
  EXPECT_EQ(b1->GetDetail(), QStringLiteral("first"));
  EXPECT_TRUE(b1->Material()->IsAutoCenterIconAndCaption());
  EXPECT_EQ(b1->Material()->DrawCaptionParam()->FontSize(), 20.0);

  b1->Prop()->SetIsPushed(true);
  b2->Click();
  EXPECT_TRUE(b2->Prop()->IsPushed());
  const QString written = ostrel::host::WriteComponent(*form);
  std::unique_ptr<TComponent> again = ostrel::host::ReadComponent(written);
  auto* c1 = dynamic_cast<TSkinFMXButton*>(again->FindComponent(QStringLiteral("B1")));
  ASSERT_NE(c1, nullptr) << written.toStdString();
  EXPECT_EQ(c1->Prop()->HelpText(), QStringLiteral("Pick one"));
  EXPECT_EQ(c1->Prop()->PushedGroupIndex(), 1);
  EXPECT_EQ(c1->Caption(), QStringLiteral("One"));
  EXPECT_TRUE(c1->Material()->IsAutoCenterIconAndCaption());
}

TEST_F(ButtonTest, SettersRepaintOnlyOnARealChange) {
  TCountingButton* button = NewButton();
  struct Row {
    const char* Name;
    std::function<void()> Change;
    int Repaints;
  };
  const Row rows[] = {
      {"a new caption", [&] { button->SetText(QStringLiteral("Go")); }, 1},
      {"the same caption", [&] { button->SetText(QStringLiteral("Go")); }, 0},
      {"a new detail", [&] { button->SetDetail(QStringLiteral("d")); }, 1},
      {"the same detail", [&] { button->SetDetail(QStringLiteral("d")); }, 0},
      {"a new second detail", [&] { button->SetDetail1(QStringLiteral("d")); }, 1},
      {"a new help text", [&] { button->Prop()->SetHelpText(QStringLiteral("h")); }, 1},
      {"the same help text", [&] { button->Prop()->SetHelpText(QStringLiteral("h")); }, 0},
      {"pushing", [&] { button->Prop()->SetIsPushed(true); }, 1},
      {"pushing again", [&] { button->Prop()->SetIsPushed(true); }, 0},
      {"the pushed flag alone", [&] { button->Prop()->SetStaticIsPushed(false); }, 0},
      {"a new icon", [&] { Fill(*button->Prop()->Icon(), 4, 4, Qt::red); }, 1},
  };
  button->SkinControlType();
  for (const Row& row : rows) {
    button->InvalidateCount = 0;
    row.Change();
    EXPECT_EQ(button->InvalidateCount, row.Repaints) << row.Name;
  }
}

TEST_F(ButtonTest, LaysOutIconAndCaptionAsOneCentredBlock) {
  TCountingButton* button = NewButton();
  button->SetBounds(0, 0, 200, 40);
  TSkinButtonDefaultMaterial* material = button->Material();
  material->SetIsAutoCenterIconAndCaption(true);
  Fill(*button->Prop()->Icon(), 16, 16, Qt::red);
  button->SetText(QStringLiteral("Install"));
  const double textWidth = GetStringSize(QStringLiteral("Install"), button->LocalRect(), material->DrawCaptionParam()).Width;
  ASSERT_GT(textWidth, 0);
  const double left = (200 - (16 + textWidth)) / 2;

  std::vector<paint_record::Op> ops = controls_test::RecordControl(*button);
  std::vector<paint_record::Op> images = controls_test::OpsOf(ops, OpKind::Image);
  std::vector<paint_record::Op> texts = controls_test::OpsOf(ops, OpKind::Text);
  ASSERT_EQ(images.size(), 1u);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NEAR(images[0].Rect.left(), left, 0.001);
  EXPECT_NEAR(texts[0].Rect.left(), left + 16, 1.0) << "the caption follows the icon";

  const double originalSize = material->DrawCaptionParam()->FontSize();
  material->DrawCaptionParam()->SetFontSize(originalSize * 2);
  const double largerWidth =
      GetStringSize(QStringLiteral("Install"), button->LocalRect(), material->DrawCaptionParam()).Width;
  ASSERT_GT(largerWidth, textWidth);
  images = controls_test::OpsOf(controls_test::RecordControl(*button), OpKind::Image);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_NEAR(images[0].Rect.left(), (200 - (16 + largerWidth)) / 2, 0.001) << "a larger font moves the block";
  material->DrawCaptionParam()->SetFontSize(originalSize);

  material->DrawIconParam()->SetPictureHorzAlign(TPictureHorzAlign::phaRight);
  ops = controls_test::RecordControl(*button);
  images = controls_test::OpsOf(ops, OpKind::Image);
  texts = controls_test::OpsOf(ops, OpKind::Text);
  ASSERT_EQ(images.size(), 1u);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NEAR(texts[0].Rect.left(), left, 1.0);
  EXPECT_NEAR(images[0].Rect.left(), left + textWidth, 0.001) << "the icon follows the caption";
  EXPECT_EQ(material->DrawIconParam()->PictureHorzAlign(), TPictureHorzAlign::phaRight);

  button->SetText(QString());
  material->DrawIconParam()->SetPictureHorzAlign(TPictureHorzAlign::phaLeft);
  images = controls_test::OpsOf(controls_test::RecordControl(*button), OpKind::Image);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_NEAR(images[0].Rect.left(), 92, 0.001) << "an icon alone is centred";
  EXPECT_EQ(material->DrawIconParam()->PictureHorzAlign(), TPictureHorzAlign::phaLeft)
      << "the alignment is put back after the drawing";
}

TEST_F(ButtonTest, DrawsTheRightIconAndTheHelpTextOnlyWithoutCaption) {
  TCountingButton* button = NewButton();
  Fill(*button->Prop()->Icon(), 8, 8, Qt::red);
  button->Prop()->SetIsPushed(true);
  EXPECT_EQ(button->Prop()->CurrentIcon(), button->Prop()->Icon()) << "an empty pushed icon falls back to the icon";
  Fill(*button->Prop()->PushedIcon(), 8, 8, Qt::blue);
  EXPECT_EQ(button->Prop()->CurrentIcon(), button->Prop()->PushedIcon());
  button->Prop()->SetIsPushed(false);
  EXPECT_EQ(button->Prop()->CurrentIcon(), button->Prop()->Icon());

  button->Prop()->SetHelpText(QStringLiteral("Browse"));
  std::vector<paint_record::Op> texts = controls_test::OpsOf(controls_test::RecordControl(*button), OpKind::Text);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].Text, QStringLiteral("Browse"));
  button->SetText(QStringLiteral("Go"));
  texts = controls_test::OpsOf(controls_test::RecordControl(*button), OpKind::Text);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].Text, QStringLiteral("Go"));
}

TEST_F(ButtonTest, SizesItselfToItsCaptionAndIcon) {
  TCountingButton* button = NewButton();
  TSkinButtonDefaultMaterial* material = button->Material();
  button->Prop()->SetAutoSize(true);
  button->SetText(QStringLiteral("Install Now"));
  const double textWidth =
      GetTextAutoSize(QStringLiteral("Install Now"), TRectF(0, 0, 1000, 40), material->DrawCaptionParam()).Width;
  EXPECT_NEAR(button->Width(), textWidth, 0.001);
  EXPECT_EQ(button->Height(), 40) << "without word wrap the height stays";
  Fill(*button->Prop()->Icon(), 16, 16, Qt::red);
  material->SetIsAutoCenterIconAndCaption(true);
  EXPECT_NEAR(button->Width(), textWidth + 16, 0.001) << "the material's change re-sizes";
}

TEST_F(ButtonTest, RefusesAControlThatIsNoButton) {
  test_support::StartSkinTestFamily();
  TSkinTestBox other(&FOwner);
  const char* const refusal = "This Component Do not Support ISkinButton Interface";
  controls_test::ExpectRefused(
      [&] {
        TSkinButtonDefaultType type;
        type.Bind(&other);
      },
      refusal);
  controls_test::ExpectRefused([&] { TButtonProperties properties(&other); }, refusal);
}
