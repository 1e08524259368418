// The setup window's animations as its stored form will hold them: the table
// checked against a form, the intro's timeline on a manual clock, update
// mode's two-second intro, the progress curve and the folder panel's slide.

#include "setup/app/window/WindowAnimations.h"

#include "skin/controls/uSkinLibraryStart.h"
#include "skin/controls/uSkinProgressBarType.h"
#include "skin/host/Animation.h"
#include "skin/host/ClassRegistry.h"
#include "skin/host/Control.h"
#include "skin/host/Form.h"
#include "skin/host/FormReader.h"
#include "skin/host/FrameClock.h"
#include "skin/host/HostClasses.h"

#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <memory>

using ostrel::app::kWindowAnimations;
using ostrel::host::ManualFrameClock;
using ostrel::host::ScopedFrameClock;

namespace {

// The window's layout with plain controls in place of the skinned ones (but
// the real progress bar, which the progress animation drives), and the
// handlers the animations name.
class TIntroTestForm : public TForm {
  Q_OBJECT

 public:
  using TForm::TForm;
  Q_INVOKABLE void Ani1YProcess(TObject*) { ++Frames; }
  Q_INVOKABLE void Ani2YProcess(TObject*) { ++Frames; }
  Q_INVOKABLE void Ani4YProcess(TObject*) { ++Frames; }
  Q_INVOKABLE void AniYProcess(TObject*) { ++Frames; }
  int Frames = 0;
};

QString AnimationsOf(const char* AParent, int AIndent) {
  QString text;
  for (const auto& a : kWindowAnimations) {
    if (!a.MadeAtStartup && a.Parent == AParent) text += ostrel::app::AnimationObjectText(a, AIndent);
  }
  return text;
}

QString WindowFormText() {
  return QStringLiteral(
             "object MainForm: TIntroTestForm\n"
             "  ClientWidth = 656\n"
             "  ClientHeight = 376\n"
             "  object BgImage: TControl\n"
             "    Position.X = 8\n"
             "    Position.Y = 8\n"
             "    Width = 640\n"
             "    Height = 360\n"
             "    ClipChildren = True\n"
             "    object BrandImage: TControl\n"
             "      Position.X = 170\n"
             "      Position.Y = 223\n"
             "      Width = 300\n"
             "      Height = 78\n"
             "      Opacity = 0\n") +
         AnimationsOf("BrandImage", 3) +
         QStringLiteral(
             "    end\n"
             "    object IconImage: TControl\n"
             "      Position.X = 270\n"
             "      Position.Y = 100\n"
             "      Width = 100\n"
             "      Height = 158\n"
             "      object Icon2Image: TControl\n"
             "        Width = 100\n"
             "        Height = 158\n"
             "        Opacity = 0\n") +
         AnimationsOf("Icon2Image", 4) + QStringLiteral("      end\n") + AnimationsOf("IconImage", 3) +
         QStringLiteral(
             "    end\n"
             "    object MainPanel: TControl\n"
             "      Position.Y = 368\n"
             "      Width = 640\n"
             "      Height = 65\n") +
         AnimationsOf("MainPanel", 3) +
         QStringLiteral(
             "    end\n"
             "    object ControlPanel: TControl\n"
             "      Position.Y = 20\n"
             "      Width = 640\n"
             "      Height = 360\n"
             "      Opacity = 0\n") +
         AnimationsOf("ControlPanel", 3) +
         QStringLiteral(
             "    end\n"
             "    object ProgressBar: TSkinFMXProgressBar\n"
             "      Position.X = 1\n"
             "      Position.Y = 355\n"
             "      Width = 638\n"
             "      Height = 4\n"
             "    end\n"
             "  end\n"
             "end\n");
}

class WindowAnimationsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ostrel::host::RegisterHostClasses();
    ostrel::host::RegisterAnimationClasses();
    ostrel::host::RegisterClass<TIntroTestForm>();
    ostrel::skin::StartSkinControls();
  }

  // Reads the form: the enabled animations start at clock time 0.
  void Load(const QString& AText = WindowFormText()) { ostrel::host::ReadComponentInto(form, AText); }

  TControl* Control(const char* AName) const {
    return dynamic_cast<TControl*>(form.FindComponent(QString::fromLatin1(AName)));
  }
  TAnimation* Animation(const char* AName) const {
    return dynamic_cast<TAnimation*>(form.FindComponent(QString::fromLatin1(AName)));
  }
  // Runs the clock at 60 frames a second up to clock time ATime.
  void RunTo(double ATime) { clock.Run(ATime - clock.Now()); }

  static QApplication& App() {
    static int argc = 1;
    static char name[] = "window_animations_test";
    static char* argv[] = {name, nullptr};
    // Lives until the process ends: a static destructor would run after
    // parts of Qt it needs are gone.
    static QApplication* const app = new QApplication(argc, argv);
    return *app;
  }

  QApplication& app = App();  // before the form
  ManualFrameClock clock;
  ScopedFrameClock useClock{clock};
  TIntroTestForm form;
};

TEST_F(WindowAnimationsTest, AFormWrittenFromTheTableMatchesItAndDeparturesAreNamed) {
  Load();
  EXPECT_EQ(ostrel::app::CheckFormAnimations(form), QStringList());

  // One entry stored with another delay, one without its handler, one missing.
  const auto& table = kWindowAnimations;
  auto ani2X = *ostrel::app::FindWindowAnimation("Ani2X");
  ani2X.Delay = 4;
  auto ani4Y = *ostrel::app::FindWindowAnimation("Ani4Y");
  ani4Y.OnProcess = "";
  QString text = WindowFormText();
  text.replace(ostrel::app::AnimationObjectText(table[2], 3), ostrel::app::AnimationObjectText(ani2X, 3));
  text.replace(ostrel::app::AnimationObjectText(table[7], 3), ostrel::app::AnimationObjectText(ani4Y, 3));
  text.remove(ostrel::app::AnimationObjectText(table[9], 3));
  TIntroTestForm changed;
  ostrel::host::ReadComponentInto(changed, text);
  EXPECT_EQ(ostrel::app::CheckFormAnimations(changed),
            (QStringList{"Ani2X.Delay is 4, not 4.5", "Ani4Y.OnProcess is , not Ani4YProcess",
                         "AniY is not a float animation of the form"}));
}

TEST_F(WindowAnimationsTest, TheIntroPlaysItsTimeline) {
  Load();
  struct Mark {
    double time;
    const char* control;
    double x, y, opacity;
  };
  // From the window's load: the logo waits, rises, the brand strip fades in,
  // both move aside while the second logo fades in, then the controls rise.
  const Mark marks[] = {
      {0.5, "IconImage", 270, 100, 1},   {0.5, "BrandImage", 170, 223, 0}, {0.5, "ControlPanel", 0, 20, 0},
      {2.5, "IconImage", 270, 75, 1},    {3.5, "BrandImage", 170, 223, 0.5},
      {4.0, "IconImage", 270, 50, 1},    {4.0, "BrandImage", 170, 223, 1}, {4.0, "Icon2Image", 0, 0, 0},
      {5.5, "BrandImage", 110, 146.5, 1}, {6.5, "BrandImage", 50, 70, 1},  {6.5, "IconImage", 450, 90, 1},
      {6.5, "Icon2Image", 0, 0, 1},      {6.5, "ControlPanel", 0, 2.5, 0.5},
      {7.5, "ControlPanel", 0, 0, 1},    {7.5, "MainPanel", 0, 368, 1},
  };
  for (const Mark& m : marks) {
    RunTo(m.time);
    SCOPED_TRACE(testing::Message() << m.control << " at " << m.time << " s");
    const TControl* control = Control(m.control);
    ASSERT_NE(control, nullptr);
    EXPECT_NEAR(control->Position()->X(), m.x, 0.01);
    EXPECT_NEAR(control->Position()->Y(), m.y, 0.01);
    EXPECT_NEAR(control->Opacity(), m.opacity, 0.01);
  }
  EXPECT_GT(form.Frames, 0) << "the per-frame handlers run";
  EXPECT_TRUE(clock.IsIdle()) << "nothing runs after the intro";
}

TEST_F(WindowAnimationsTest, UpdateModePlaysTheWholeIntroInTwoSeconds) {
  Load();
  for (const char* name : {"Ani1O", "Ani2X", "Ani2Y", "Ani1Y", "Ani3X", "Ani3Y", "Ani3O", "Ani4O", "Ani4Y"}) {
    ASSERT_TRUE(ostrel::app::RestartAnimation(form, name, 0.0, 2.0)) << name;
  }
  EXPECT_FALSE(ostrel::app::RestartAnimation(form, "NoSuchAnimation", 0.0, 2.0));
  RunTo(1.0);
  EXPECT_NEAR(Control("BrandImage")->Opacity(), 0.5, 0.01);
  RunTo(2.0);
  EXPECT_EQ(Control("BrandImage")->Position()->Point(), QPointF(50, 70));
  EXPECT_EQ(Control("BrandImage")->Opacity(), 1);
  // Both logo rises run at once; the later one in start-up's order ends last.
  EXPECT_EQ(Control("IconImage")->Position()->Point(), QPointF(450, 90));
  EXPECT_EQ(Control("Icon2Image")->Opacity(), 1);
  EXPECT_EQ(Control("ControlPanel")->Position()->Y(), 0);
  EXPECT_EQ(Control("ControlPanel")->Opacity(), 1);
  EXPECT_TRUE(clock.IsIdle());
}

TEST_F(WindowAnimationsTest, TheProgressBarReachesItsMarksExactly) {
  Load();
  RunTo(8);
  auto* bar = dynamic_cast<TSkinProgressBar*>(Control("ProgressBar"));
  ASSERT_NE(bar, nullptr);
  TIntAnimation* operate = ostrel::app::CreateOperateAni(form, *bar);
  EXPECT_EQ(operate->Owner(), &form);
  operate->Start();
  const double start = clock.Now();
  struct Mark {
    double after;
    int position;
  };
  // 1.5 s gives exactly 49.5, which rounds to the even 50: a curve that
  // truncates, or misses 0.5 by a hair, shows 49.
  for (const Mark m : {Mark{0, 0}, Mark{1.5, 50}, Mark{3, 74}, Mark{7.5, 96}, Mark{15, 99}, Mark{20, 99}}) {
    clock.Advance(start + m.after - clock.Now());
    EXPECT_EQ(bar->Prop()->Position(), m.position) << "after " << m.after << " s";
  }
  EXPECT_FALSE(operate->Running());
}

TEST_F(WindowAnimationsTest, TheSwitchSlidesThePanelToTheEndOfItsLastDirection) {
  Load();
  RunTo(8);
  TAnimation* aniY = Animation("AniY");
  const TControl* panel = Control("MainPanel");
  struct Case {
    const char* what;
    std::vector<std::pair<double, bool>> toggles;  // wait, then set the switch
    double y;
  };
  const Case cases[] = {
      {"checked: up onto the background's bottom edge", {{0, true}}, 295},
      {"unchecked: down below it", {{0, true}, {1.5, false}}, 368},
      {"unchecked halfway up: the rise completes, then the panel sinks", {{0, true}, {0.3, false}}, 368},
      {"quick toggles: the last direction wins", {{0, true}, {0.1, false}, {0.1, true}}, 295},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    aniY->Stop();
    panel->Position()->SetY(368);
    for (const auto& [wait, checked] : c.toggles) {
      RunTo(clock.Now() + wait);
      ostrel::app::SlidePanel(*aniY, checked);
    }
    RunTo(clock.Now() + 1.0);
    EXPECT_EQ(panel->Position()->Y(), c.y);
    EXPECT_FALSE(aniY->Running());
  }
  // Halfway through a rise it decelerates: more than half the way is done.
  panel->Position()->SetY(368);
  ostrel::app::SlidePanel(*aniY, true);
  RunTo(clock.Now() + 0.5);
  EXPECT_NEAR(panel->Position()->Y(), 368 - 73 * 0.875, 0.01);
}

}  // namespace

#include "WindowAnimations_test.moc"
