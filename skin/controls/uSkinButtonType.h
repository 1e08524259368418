#pragma once
// The button: a state picture behind, an icon and a caption laid out
// independently or centred together, two detail texts, a help text while the
// caption is empty; it can stay pushed, push itself on click, form a push
// group with its siblings and belong to a button group.
//
// Which state picture shows and where the centred block of icon and caption
// goes are pure functions below.

#include "skin/base/uDrawParam.h"
#include "skin/host/Set.h"
#include "skin/host/Types.h"

#include <cstdint>

namespace ostrel::skin {

// The six state pictures of the default button material.
enum class TButtonStatePicture : std::uint8_t { Normal, Hover, Down, Disabled, Focused, Pushed };
using TButtonStatePictures = TSet<TButtonStatePicture>;

// The state picture for the effect states AStates (dpstPushed while the button
// is pushed): disabled shows Disabled whatever else holds; else pressed, then
// hovered, then pushed, then focused, hover, press and focus counting only
// when painting AIsInteractive. An empty choice falls back to Focused when
// focused and interactive, then to Pushed when pushed, then to Normal.
// AEmpty holds the pictures that are empty.
TButtonStatePicture ChooseButtonStatePicture(TDPEffectStates AStates, bool AIsInteractive,
                                             TButtonStatePictures AEmpty);

// Where icon and caption go when they are centred as one block in R: the
// block of AIconWidth + ACaptionWidth starts where it is centred; the icon
// comes first unless AIsIconAfterCaption. Each part is drawn into its
// rectangle by its own parameter.
struct TButtonBlockLayout {
  TRectF Icon;
  TRectF Caption;
};
TButtonBlockLayout CenterIconAndCaption(const TRectF& R, double AIconWidth, double ACaptionWidth,
                                        bool AIsIconAfterCaption);

}  // namespace ostrel::skin
