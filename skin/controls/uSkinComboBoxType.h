#pragma once
// The skinned combo box's painter: it draws the closed control (state
// picture, arrow, selected text, help text) from its material over the host
// combo box, whose list, selection, keyboard and drop-down stay the host's.
//
// Which state picture shows is a pure function below.

#include "skin/base/uDrawParam.h"
#include "skin/host/Set.h"

#include <cstdint>

namespace ostrel::skin {

// The four state pictures of the default combo box material.
enum class TComboBoxStatePicture : std::uint8_t { Normal, Hover, Focused, Disabled };
using TComboBoxStatePictures = TSet<TComboBoxStatePicture>;

// Disabled when disabled; else, painting AIsInteractive, Focused when
// focused, then Hover when hovered; else Normal. There is no pressed picture,
// and focus wins over hover. An empty choice falls back to Normal.
TComboBoxStatePicture ChooseComboBoxStatePicture(TDPEffectStates AStates, bool AIsInteractive,
                                                 TComboBoxStatePictures AEmpty);

}  // namespace ostrel::skin
