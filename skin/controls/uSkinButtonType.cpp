#include "skin/controls/uSkinButtonType.h"

namespace ostrel::skin {

TButtonStatePicture ChooseButtonStatePicture(TDPEffectStates AStates, bool AIsInteractive,
                                             TButtonStatePictures AEmpty) {
  using P = TButtonStatePicture;
  using S = TDPEffectState;
  const bool pushed = AStates.Contains(S::dpstPushed);
  const bool disabled = AStates.Contains(S::dpstDisabled);
  const bool focused = AIsInteractive && !disabled && AStates.Contains(S::dpstFocused);
  P choice = P::Normal;
  if (disabled)
    choice = P::Disabled;
  else if (AIsInteractive && AStates.Contains(S::dpstMouseDown))
    choice = P::Down;
  else if (AIsInteractive && AStates.Contains(S::dpstMouseOver))
    choice = P::Hover;
  else if (pushed)
    choice = P::Pushed;
  else if (focused)
    choice = P::Focused;
  if (focused && AEmpty.Contains(choice)) choice = P::Focused;
  if (AEmpty.Contains(choice)) choice = pushed ? P::Pushed : P::Normal;
  if (AEmpty.Contains(choice)) choice = P::Normal;
  return choice;
}

TButtonBlockLayout CenterIconAndCaption(const TRectF& R, double AIconWidth, double ACaptionWidth,
                                        bool AIsIconAfterCaption) {
  TRectF block = R;
  block.setLeft(R.left() + (R.width() - (AIconWidth + ACaptionWidth)) / 2);
  TButtonBlockLayout layout;
  if (AIsIconAfterCaption) {
    layout.Caption = block;
    block.setLeft(block.left() + ACaptionWidth);
    block.setRight(block.left() + AIconWidth);
    layout.Icon = block;
  } else {
    layout.Icon = block;
    if (AIconWidth > 0) block.setLeft(block.left() + AIconWidth);
    layout.Caption = block;
  }
  return layout;
}

}  // namespace ostrel::skin
