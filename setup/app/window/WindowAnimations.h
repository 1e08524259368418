#pragma once
// The setup window's eleven property animations as data: the nine of the
// intro, the slide of the folder panel (AniY) and the progress animation
// (OperateAni). The stored form names the first ten under their parents; a
// form is checked against this table (CheckFormAnimations), and
// AnimationObjectText writes an entry the way the form stores it. OperateAni
// is made in code at start-up (CreateOperateAni).
//
// Also the window's operations on its animations: start-up's restart of the
// intro in update mode and the switch's slide of the panel.

#include "skin/host/Interpolation.h"

#include <QString>
#include <QStringList>

#include <array>
#include <string_view>

class QObject;
class TAnimation;
class TComponent;
class TIntAnimation;

namespace ostrel::app {

struct WindowAnimation {
  std::string_view Name;
  std::string_view Parent;
  std::string_view PropertyName;
  double StartValue;
  double StopValue;
  double Delay;
  double Duration;
  TInterpolationType Interpolation;
  TAnimationType Type;
  // Enabled in the stored form, so it starts once the window has loaded.
  bool Enabled;
  // The form's per-frame handler; empty for none.
  std::string_view OnProcess;
  // An integer animation made in code, not stored in the form.
  bool MadeAtStartup;
};

inline constexpr std::array<WindowAnimation, 11> kWindowAnimations{{
    {"Ani1Y", "IconImage", "Position.Y", 100, 50, 1.0, 3.0, TInterpolationType::Cubic, TAnimationType::InOut, true,
     "Ani1YProcess", false},
    {"Ani1O", "BrandImage", "Opacity", 0, 1, 3.0, 1.0, TInterpolationType::Linear, TAnimationType::In, true, "", false},
    {"Ani2X", "BrandImage", "Position.X", 170, 50, 4.5, 2.0, TInterpolationType::Cubic, TAnimationType::InOut, true, "",
     false},
    {"Ani2Y", "BrandImage", "Position.Y", 223, 70, 4.5, 2.0, TInterpolationType::Cubic, TAnimationType::InOut, true,
     "Ani2YProcess", false},
    {"Ani3X", "IconImage", "Position.X", 270, 450, 4.5, 2.0, TInterpolationType::Cubic, TAnimationType::InOut, true, "",
     false},
    {"Ani3Y", "IconImage", "Position.Y", 50, 90, 4.5, 2.0, TInterpolationType::Cubic, TAnimationType::InOut, true, "",
     false},
    {"Ani3O", "Icon2Image", "Opacity", 0, 1, 4.5, 2.0, TInterpolationType::Cubic, TAnimationType::In, true, "", false},
    {"Ani4Y", "ControlPanel", "Position.Y", 20, 0, 6.0, 1.0, TInterpolationType::Cubic, TAnimationType::Out, true,
     "Ani4YProcess", false},
    {"Ani4O", "ControlPanel", "Opacity", 0, 1, 6.0, 1.0, TInterpolationType::Linear, TAnimationType::In, true, "",
     false},
    // The form stores this path; its first part names nothing and is skipped.
    {"AniY", "MainPanel", "Miscellaneous.Position.Y", 368, 295, 0, 1.0, TInterpolationType::Cubic,
     TAnimationType::Out, false, "AniYProcess", false},
    {"OperateAni", "ProgressBar", "Properties.Position", 0, 99, 0, 15.0, TInterpolationType::Exponential,
     TAnimationType::Out, false, "", true},
}};

const WindowAnimation* FindWindowAnimation(std::string_view AName);

// The entry as an object block of a stored form, indented by AIndent levels
// (two spaces each), to be placed inside its parent's block.
QString AnimationObjectText(const WindowAnimation& AAnimation, int AIndent);

// What in AForm differs from the table: each stored animation's class,
// parent, path, values, timing, curve, enabledness and handler. Empty when
// the form holds every stored animation exactly as listed.
QStringList CheckFormAnimations(const TComponent& AForm);

// Start-up's OperateAni: an integer animation owned by AOwner on AProgressBar.
TIntAnimation* CreateOperateAni(TComponent& AOwner, QObject& AProgressBar);

// Disables the animation (which stops it), gives it the new timing and
// enables it again (which starts it afresh). False when AForm holds no
// animation of that name.
bool RestartAnimation(TComponent& AForm, std::string_view AName, double ADelay, double ADuration);

// The switch's slide: the panel rises (checked: decelerating from start to
// stop) or sinks back (unchecked: accelerating, run inverse). A toggle during
// a slide first completes it at once, then runs the other way from its end.
void SlidePanel(TAnimation& AAniY, bool AChecked);

}  // namespace ostrel::app
