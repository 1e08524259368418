#include "skin/controls/uSkinComboBoxType.h"

namespace ostrel::skin {

TComboBoxStatePicture ChooseComboBoxStatePicture(TDPEffectStates AStates, bool AIsInteractive,
                                                 TComboBoxStatePictures AEmpty) {
  using P = TComboBoxStatePicture;
  using S = TDPEffectState;
  P choice = P::Normal;
  if (AStates.Contains(S::dpstDisabled))
    choice = P::Disabled;
  else if (AIsInteractive && AStates.Contains(S::dpstFocused))
    choice = P::Focused;
  else if (AIsInteractive && AStates.Contains(S::dpstMouseOver))
    choice = P::Hover;
  return AEmpty.Contains(choice) ? P::Normal : choice;
}

}  // namespace ostrel::skin
