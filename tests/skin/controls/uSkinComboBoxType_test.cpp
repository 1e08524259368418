// The combo box's state picture rule.

#include "skin/controls/uSkinComboBoxType.h"

#include <gtest/gtest.h>

namespace {

using namespace ostrel::skin;
using P = TComboBoxStatePicture;
using S = TDPEffectState;

TEST(ComboBoxStatePicture, ChoiceFollowsTheStatesAndFallsBackToNormal) {
  struct Row {
    const char* Name;
    TDPEffectStates States;
    bool Interactive;
    TComboBoxStatePictures Empty;
    P Expected;
  };
  const TComboBoxStatePictures none;
  const Row rows[] = {
      {"all empty", {S::dpstDisabled}, true, {P::Normal, P::Hover, P::Focused, P::Disabled}, P::Normal},
      {"no state", {}, true, none, P::Normal},
      {"disabled", {S::dpstDisabled}, true, none, P::Disabled},
      {"disabled without its picture shows Normal", {S::dpstDisabled}, true, {P::Disabled}, P::Normal},
      {"focus wins over hover", {S::dpstFocused, S::dpstMouseOver}, true, none, P::Focused},
      {"hovered", {S::dpstMouseOver}, true, none, P::Hover},
      {"there is no pressed picture", {S::dpstMouseDown}, true, none, P::Normal},
      {"hover counts only when interactive", {S::dpstMouseOver}, false, none, P::Normal},
      {"focused without its picture does not fall back to Hover", {S::dpstFocused, S::dpstMouseOver}, true,
       {P::Focused}, P::Normal},
  };
  for (const Row& row : rows)
    EXPECT_EQ(ChooseComboBoxStatePicture(row.States, row.Interactive, row.Empty), row.Expected) << row.Name;
}

}  // namespace
