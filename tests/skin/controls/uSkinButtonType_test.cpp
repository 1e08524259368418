// The button: the state picture rule and the centred block of icon and
// caption, as tables.

#include "skin/controls/uSkinButtonType.h"
#include "tests/support/Edges.h"

#include <gtest/gtest.h>

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
