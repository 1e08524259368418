#include "setup/app/window/WindowAnimations.h"

#include "skin/host/Animation.h"
#include "skin/host/Component.h"


#include <cmath>

namespace ostrel::app {

namespace {

QString Text(std::string_view AText) {
  return QString::fromUtf8(AText.data(), static_cast<qsizetype>(AText.size()));
}

QString Number(double AValue) { return QString::number(AValue, 'g', 10); }

const char* InterpolationName(TInterpolationType AValue) {
  static constexpr const char* kNames[] = {"Linear",      "Quadratic", "Cubic",    "Quartic", "Quintic", "Sinusoidal",
                                           "Exponential", "Circular",  "Elastic", "Back",    "Bounce"};
  return kNames[static_cast<int>(AValue)];
}

const char* TypeName(TAnimationType AValue) {
  static constexpr const char* kNames[] = {"In", "Out", "InOut"};
  return kNames[static_cast<int>(AValue)];
}

// Stored values are single precision; the table's are exact in it.
bool Same(double AStored, double AListed) { return std::abs(AStored - AListed) < 1e-6; }

void Compare(QStringList& AProblems, const QString& AName, const char* AWhat, const QString& AStored,
             const QString& AListed) {
  if (AStored != AListed) {
    AProblems << QStringLiteral("%1.%2 is %3, not %4").arg(AName, QLatin1String(AWhat), AStored, AListed);
  }
}

void CompareNumber(QStringList& AProblems, const QString& AName, const char* AWhat, double AStored, double AListed) {
  if (!Same(AStored, AListed)) Compare(AProblems, AName, AWhat, Number(AStored), Number(AListed));
}

}  // namespace

const WindowAnimation* FindWindowAnimation(std::string_view AName) {
  for (const WindowAnimation& a : kWindowAnimations) {
    if (a.Name == AName) return &a;
  }
  return nullptr;
}

QString AnimationObjectText(const WindowAnimation& AAnimation, int AIndent) {
  const QString outer(AIndent * 2, u' ');
  const QString inner = outer + QStringLiteral("  ");
  QString text = outer + QStringLiteral("object %1: %2\n")
                             .arg(Text(AAnimation.Name),
                                  AAnimation.MadeAtStartup ? QStringLiteral("TIntAnimation")
                                                           : QStringLiteral("TFloatAnimation"));
  const auto line = [&](const QString& AProperty, const QString& AValue) {
    text += inner + AProperty + QStringLiteral(" = ") + AValue + u'\n';
  };
  if (AAnimation.Type != TAnimationType::In) line(QStringLiteral("AnimationType"), QLatin1String(TypeName(AAnimation.Type)));
  if (AAnimation.Delay != 0) line(QStringLiteral("Delay"), Number(AAnimation.Delay));
  line(QStringLiteral("Duration"), Number(AAnimation.Duration));
  if (AAnimation.Enabled) line(QStringLiteral("Enabled"), QStringLiteral("True"));
  if (AAnimation.Interpolation != TInterpolationType::Linear) {
    line(QStringLiteral("Interpolation"), QLatin1String(InterpolationName(AAnimation.Interpolation)));
  }
  line(QStringLiteral("PropertyName"), u'\'' + Text(AAnimation.PropertyName) + u'\'');
  if (AAnimation.StartValue != 0) line(QStringLiteral("StartValue"), Number(AAnimation.StartValue));
  if (AAnimation.StopValue != 0) line(QStringLiteral("StopValue"), Number(AAnimation.StopValue));
  if (!AAnimation.OnProcess.empty()) line(QStringLiteral("OnProcess"), Text(AAnimation.OnProcess));
  text += outer + QStringLiteral("end\n");
  return text;
}

QStringList CheckFormAnimations(const TComponent& AForm) {
  QStringList problems;
  for (const WindowAnimation& listed : kWindowAnimations) {
    if (listed.MadeAtStartup) continue;
    const QString name = Text(listed.Name);
    const auto* stored = dynamic_cast<const TFloatAnimation*>(AForm.FindComponent(name));
    if (stored == nullptr) {
      problems << QStringLiteral("%1 is not a float animation of the form").arg(name);
      continue;
    }
    const TComponent* parent = stored->GetParentComponent();
    Compare(problems, name, "Parent", parent != nullptr ? parent->Name() : QString(), Text(listed.Parent));
    Compare(problems, name, "PropertyName", stored->PropertyName(), Text(listed.PropertyName));
    CompareNumber(problems, name, "StartValue", stored->StartValue(), listed.StartValue);
    CompareNumber(problems, name, "StopValue", stored->StopValue(), listed.StopValue);
    CompareNumber(problems, name, "Delay", stored->Delay(), listed.Delay);
    CompareNumber(problems, name, "Duration", stored->Duration(), listed.Duration);
    Compare(problems, name, "Interpolation", QLatin1String(InterpolationName(stored->Interpolation())),
            QLatin1String(InterpolationName(listed.Interpolation)));
    Compare(problems, name, "AnimationType", QLatin1String(TypeName(stored->AnimationType())),
            QLatin1String(TypeName(listed.Type)));
    Compare(problems, name, "Enabled", stored->Enabled() ? QStringLiteral("True") : QStringLiteral("False"),
            listed.Enabled ? QStringLiteral("True") : QStringLiteral("False"));
    Compare(problems, name, "OnProcess", stored->EventHandlerName(QStringLiteral("OnProcess")), Text(listed.OnProcess));
  }
  return problems;
}

TIntAnimation* CreateOperateAni(TComponent& AOwner, QObject& AProgressBar) {
  const WindowAnimation& listed = *FindWindowAnimation("OperateAni");
  auto* animation = new TIntAnimation(&AOwner);
  animation->SetName(Text(listed.Name));
  animation->SetParent(&AProgressBar);
  animation->SetPropertyName(Text(listed.PropertyName));
  animation->SetStartValue(static_cast<int>(listed.StartValue));
  animation->SetStopValue(static_cast<int>(listed.StopValue));
  animation->SetDelay(static_cast<float>(listed.Delay));
  animation->SetDuration(static_cast<float>(listed.Duration));
  animation->SetInterpolation(listed.Interpolation);
  animation->SetAnimationType(listed.Type);
  return animation;
}

bool RestartAnimation(TComponent& AForm, std::string_view AName, double ADelay, double ADuration) {
  auto* animation = dynamic_cast<TAnimation*>(AForm.FindComponent(Text(AName)));
  if (animation == nullptr) return false;
  animation->SetEnabled(false);
  animation->SetDelay(static_cast<float>(ADelay));
  animation->SetDuration(static_cast<float>(ADuration));
  animation->SetEnabled(true);
  return true;
}

void SlidePanel(TAnimation& AAniY, bool AChecked) {
  AAniY.Stop();
  AAniY.SetAnimationType(AChecked ? TAnimationType::Out : TAnimationType::In);
  AAniY.SetInverse(!AChecked);
  AAniY.Start();
}

}  // namespace ostrel::app
