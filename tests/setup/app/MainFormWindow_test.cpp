// The setup window's form class and its adapter for the program, on a stored
// form whose controls are plain host controls in the window's places (the
// progress bar is the real one, which the progress animation drives): the
// window drag from the background and from what lets the pointer through,
// never from what takes it; the close button; the folder choice; the switch's
// slide; what start-up and the install chain ask of the window; the failure
// message in the window's own look.

#include "setup/app/window/FailureMessage.h"
#include "setup/app/window/MainForm.h"
#include "setup/app/window/MainFormWindow.h"
#include "setup/app/window/WindowAnimations.h"

#include "skin/controls/uSkinProgressBarType.h"
#include "skin/host/Animation.h"
#include "skin/host/ClassRegistry.h"
#include "skin/host/ComboBox.h"
#include "skin/host/Control.h"
#include "skin/host/FormReader.h"
#include "skin/host/FrameClock.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGraphicsView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include <memory>

using ostrel::host::ManualFrameClock;
using ostrel::host::ScopedFrameClock;

namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "main_form_test";
  static char* argv[] = {name, nullptr};
  static QApplication* const app = new QApplication(argc, argv);
  return *app;
}

// A control with a published caption that counts its clicks.
class TTestButton : public TControl {
  Q_OBJECT
  Q_PROPERTY(QString Caption MEMBER Caption)

 public:
  explicit TTestButton(TComponent* AOwner = nullptr) : TControl(AOwner) { SetCanFocus(true); }
  QString Caption;
};

// A switch with a published Checked; a click toggles it and fires OnChange.
class TTestSwitch : public TControl {
  Q_OBJECT
  Q_PROPERTY(bool Checked MEMBER Checked)

 public:
  explicit TTestSwitch(TComponent* AOwner = nullptr) : TControl(AOwner) {
    SetCanFocus(true);
    EventTable().Add(QStringLiteral("OnChange"), FOnChange);
  }
  void Click() override {
    Checked = !Checked;
    if (FOnChange) FOnChange(this);
  }
  bool Checked = false;

 private:
  TNotifyEvent FOnChange;
};

QString Animations(const char* AParent, int AIndent) {
  QString text;
  for (const auto& a : ostrel::app::kWindowAnimations) {
    if (!a.MadeAtStartup && a.Parent == AParent) text += ostrel::app::AnimationObjectText(a, AIndent);
  }
  return text;
}

// The window's tree with the places, sizes and handlers it has.
QString FormText() {
  return QStringLiteral(R"(object MainForm: TMainForm
  ClientWidth = 656
  ClientHeight = 376
  Position = ScreenCenter
  BorderStyle = None
  FormStyle = StayOnTop
  Transparency = True
  OnCreate = FormCreate
  object BgImage: TControl
    Position.X = 8
    Position.Y = 8
    Width = 640
    Height = 360
    ClipChildren = True
    OnMouseDown = BgImageMouseDown
    object BrandImage: TControl
      Position.X = 170
      Position.Y = 223
      Width = 300
      Height = 78
      Opacity = 0
      HitTest = False
)") + Animations("BrandImage", 3) +
         QStringLiteral(R"(    end
    object CloseBtn: TTestButton
      Position.X = 599
      Position.Y = 8
      Width = 33
      Height = 33
      OnClick = CloseBtnClick
    end
    object IconImage: TControl
      Position.X = 270
      Position.Y = 100
      Width = 100
      Height = 158
      HitTest = False
      object Icon2Image: TControl
        Width = 100
        Height = 158
        Opacity = 0
        HitTest = False
)") + Animations("Icon2Image", 4) +
         QStringLiteral("      end\n") + Animations("IconImage", 3) + QStringLiteral(R"(    end
    object MainPanel: TControl
      Position.Y = 368
      Width = 640
      Height = 65
      HitTest = False
)") + Animations("MainPanel", 3) +
         QStringLiteral(R"(      object DriveComboBox: TComboBox
        Position.X = 105
        Position.Y = 18
        Width = 464
        Height = 30
      end
      object BrowseBtn: TTestButton
        Position.X = 577
        Position.Y = 16
        Width = 34
        Height = 34
        OnClick = BrowseBtnClick
      end
    end
    object ControlPanel: TControl
      Position.Y = 20
      Width = 640
      Height = 360
      Opacity = 0
      HitTest = False
)") + Animations("ControlPanel", 3) +
         QStringLiteral(R"(      object CustomInstallLabel: TControl
        Position.X = 465
        Position.Y = 254
        Width = 144
        Height = 33
        HitTest = False
      end
      object CustomInstallSwitch: TTestSwitch
        Position.X = 407
        Position.Y = 258
        Width = 50
        Height = 25
        OnChange = CustomInstallSwitchChange
      end
      object InstallButton: TTestButton
        Position.X = 120
        Position.Y = 233
        Width = 160
        Height = 50
        Caption = 'Install Now'
        OnClick = InstallButtonClick
      end
    end
    object ProgressBar: TSkinFMXProgressBar
      Position.X = 1
      Position.Y = 355
      Width = 638
      Height = 4
    end
  end
end
)");
}

class FakePicker final : public ostrel::app::IFolderPicker {
 public:
  std::optional<QString> PickFolder(QWidget*, const QString& ATitle) override {
    Titles << ATitle;
    if (Answers.isEmpty()) return std::nullopt;
    const QString answer = Answers.takeFirst();
    if (answer.isEmpty()) return std::nullopt;
    return answer;
  }
  // An empty one cancels.
  QStringList Answers;
  QStringList Titles;
};

// Counts the window drags the window system is asked for.
class TDragCountingForm : public TMainForm {
 public:
  using TMainForm::TMainForm;
  int Drags = 0;

 protected:
  bool BeginSystemMove() override {
    ++Drags;
    return true;
  }
};

class MainFormTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ostrel::app::RegisterMainFormClasses();
    ostrel::host::RegisterClass<TTestButton>();
    ostrel::host::RegisterClass<TTestSwitch>();
  }

  // Shown, and ASeconds into the intro (past it by default).
  explicit MainFormTest(double ASeconds = 8) {
    form.SetEndProcess([this] { ++ended; });
    form.SetInstallHandler([this] { ++installs; });
    ostrel::host::ReadComponentInto(form, FormText());
    form.Show();
    clock.Run(ASeconds);
  }

  template <class T = TControl>
  T* Find(const char* AName) const {
    return dynamic_cast<T*>(form.FindComponent(QString::fromLatin1(AName)));
  }
  void Send(QEvent::Type AType, QPointF APoint, Qt::MouseButton AButton, Qt::MouseButtons AHeld) {
    QWidget* viewport = form.View()->viewport();
    QMouseEvent event(AType, APoint, viewport->mapToGlobal(APoint), AButton, AHeld, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &event);
  }
  void ClickAt(QPointF APoint, Qt::MouseButton AButton = Qt::LeftButton) {
    Send(QEvent::MouseButtonPress, APoint, AButton, AButton);
    Send(QEvent::MouseButtonRelease, APoint, AButton, Qt::NoButton);
  }

  QApplication& app = App();
  ManualFrameClock clock;
  ScopedFrameClock useClock{clock};
  FakePicker picker;
  TDragCountingForm form{picker};
  int ended = 0;
  int installs = 0;
};

TEST_F(MainFormTest, TheWindowMovesFromTheBackgroundAndWhatLetsThePointerThroughOnly) {
  // Window points: the background starts at (8, 8).
  struct Case {
    const char* what;
    QPointF point;
    Qt::MouseButton button;
    bool drags;
  };
  const Case cases[] = {
      {"bare background", {40, 40}, Qt::LeftButton, true},
      {"bare background, right button", {40, 40}, Qt::RightButton, true},
      {"the logo, which ignores the mouse", {330, 140}, Qt::LeftButton, true},
      {"the label, which ignores the mouse", {520, 278}, Qt::LeftButton, true},
      {"the install button", {208, 266}, Qt::LeftButton, false},
      {"the switch", {440, 278}, Qt::LeftButton, false},
      {"the close button's edge", {608, 17}, Qt::MiddleButton, false},
  };
  form.SetEndProcess(nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const int before = form.Drags;
    ClickAt(c.point, c.button);
    EXPECT_EQ(form.Drags - before, c.drags ? 1 : 0);
  }
  EXPECT_EQ(installs, 1);

  // Disabled, the install button still keeps the press from the background.
  Find("InstallButton")->SetEnabled(false);
  const int before = form.Drags;
  ClickAt({208, 266});
  EXPECT_EQ(form.Drags, before);
  EXPECT_EQ(installs, 1);
}

class MainFormDuringTheIntro : public MainFormTest {
 protected:
  MainFormDuringTheIntro() : MainFormTest(1) {}
};

// Until the intro fades the controls in, their places show the background,
// and a press there is one on the background: it moves the window and
// installs nothing.
TEST_F(MainFormDuringTheIntro, APressWhereTheControlsWillShowMovesTheWindowAndInstallsNothing) {
  const struct {
    const char* what;
    QPointF point;
  } places[] = {{"the install button", {208, 266}}, {"the switch", {440, 278}}};
  for (const auto& place : places) {
    SCOPED_TRACE(place.what);
    const int before = form.Drags;
    ClickAt(place.point);
    EXPECT_EQ(form.Drags - before, 1);
  }
  EXPECT_EQ(installs, 0);
  EXPECT_FALSE(Find("CustomInstallSwitch")->property("Checked").toBool());

  clock.Run(7);
  const int before = form.Drags;
  ClickAt({208, 266});
  EXPECT_EQ(installs, 1);
  EXPECT_EQ(form.Drags, before);
}

TEST_F(MainFormTest, TheCloseButtonEndsTheProcessWhateverTheWindowDoes) {
  Find("InstallButton")->SetEnabled(false);
  Find("DriveComboBox")->SetEnabled(false);
  ClickAt({624, 32});
  EXPECT_EQ(ended, 1);
}

TEST_F(MainFormTest, TheSwitchSlidesTheFolderPanelInAndOut) {
  const TControl* panel = Find("MainPanel");
  ClickAt({440, 278});
  clock.Run(1);
  EXPECT_EQ(panel->Position()->Y(), 295) << "resting on the background's bottom edge";
  ClickAt({440, 278});
  ClickAt({440, 278});
  ClickAt({440, 278});
  clock.Run(1);
  EXPECT_EQ(panel->Position()->Y(), 368) << "quick toggles end where the last one goes";
}

TEST_F(MainFormTest, BrowsingAddsOneItemAfterTheDrivesAndReplacesIt) {
  auto* list = Find<TComboBox>("DriveComboBox");
  auto* browse = Find("BrowseBtn");
  list->AddItem(QStringLiteral("/home/user/.local/share/Ostrel"));
  list->AddItem(QStringLiteral("/data/Ostrel"));
  list->SetItemIndex(0);
  struct Step {
    QString answer;  // empty: cancelled
    QStringList items;
    int selected;
  };
  const QString home = QStringLiteral("/home/user/.local/share/Ostrel");
  const QString data = QStringLiteral("/data/Ostrel");
  const Step steps[] = {
      {QString(), {home, data}, 0},
      {QStringLiteral("/srv/first"), {home, data, "/srv/first"}, 2},
      {QStringLiteral("/srv/second"), {home, data, "/srv/second"}, 2},
      {QString(), {home, data, "/srv/second"}, 2},
      {QStringLiteral("/"), {home, data, "/"}, 2},
  };
  for (const Step& s : steps) {
    picker.Answers << s.answer;
    browse->Click();
    EXPECT_EQ(list->Items(), s.items);
    EXPECT_EQ(list->ItemIndex(), s.selected);
  }
  EXPECT_EQ(picker.Titles.first(), QStringLiteral("Select Folder of Installtion"));
}

TEST(MainFormWindowTest, DoesWhatStartUpAndTheInstallChainAsk) {
  App();
  ostrel::app::RegisterMainFormClasses();
  ostrel::host::RegisterClass<TTestButton>();
  ostrel::host::RegisterClass<TTestSwitch>();
  ManualFrameClock clock;
  ScopedFrameClock useClock(clock);
  FakePicker picker;
  int ended = 0;
  ostrel::app::MainFormWindow window(FormText(), picker, [&ended] { ++ended; });
  TMainForm& form = window.Form();
  const auto find = [&form](const char* AName) { return form.Control(AName); };

  window.SetCaption("Update Ostrel");
  EXPECT_EQ(form.Caption(), QStringLiteral("Update Ostrel"));
  window.SetInstallButtonCaption("Update Now");
  EXPECT_EQ(find("InstallButton")->property("Caption").toString(), QStringLiteral("Update Now"));
  window.HideCustomInstall();
  EXPECT_FALSE(find("CustomInstallSwitch")->Visible());
  EXPECT_FALSE(find("CustomInstallLabel")->Visible());

  EXPECT_EQ(window.SelectedDriveItem(), std::nullopt);
  window.AddDriveItem("/home/u/.local/share/Ostrel");
  window.AddDriveItem("/data/Ostrel");
  EXPECT_EQ(window.DriveItemCount(), 2);
  EXPECT_EQ(window.SelectedDriveItem(), std::nullopt) << "adding selects nothing";
  window.SelectDriveItem(1);
  EXPECT_EQ(window.SelectedDriveItem(), "/data/Ostrel");

  window.RestartAnimation("Ani2X", 0, 2);
  clock.Run(2);
  EXPECT_EQ(find("BrandImage")->Position()->X(), 50);

  window.CreateOperateAni();
  window.CreateOperateAni();
  int installs = 0;
  window.SetInstallHandler([&] {
    ++installs;
    window.DisableInputs();
    window.StartOperateAni();
  });
  form.InstallButtonClick(&form);
  EXPECT_EQ(installs, 1);
  for (const char* name : {"InstallButton", "DriveComboBox", "BrowseBtn"}) EXPECT_FALSE(find(name)->Enabled()) << name;
  clock.Advance(1.5);
  EXPECT_EQ(dynamic_cast<TSkinProgressBar&>(*find("ProgressBar")).Prop()->Position(), 50);
  form.CloseBtnClick(&form);
  EXPECT_EQ(ended, 1);
}

TEST(FailureMessageTest, SaysWhyInTheWindowsLookAndClosesFromTheKeyboard) {
  App();
  ostrel::app::FailureMessage message(nullptr, QStringLiteral("Install Ostrel"),
                                      QStringLiteral("Ostrel could not be installed: the disk is full."));
  EXPECT_EQ(message.Text()->text(), QStringLiteral("Ostrel could not be installed: the disk is full."));
  EXPECT_EQ(message.windowTitle(), QStringLiteral("Install Ostrel"));
  EXPECT_TRUE(message.windowFlags().testFlag(Qt::FramelessWindowHint));

  const QImage face = message.grab().toImage();
  EXPECT_EQ(face.pixelColor(20, face.height() / 2).rgb(), ostrel::app::FailureMessage::kPanelColor);
  const QPoint button = message.OkButton()->geometry().center();
  EXPECT_EQ(face.pixelColor(button.x(), button.y() - 10).rgb(), ostrel::app::FailureMessage::kButtonColor);

  for (const int key : {Qt::Key_Return, Qt::Key_Escape}) {
    QTimer::singleShot(0, &message, [&message, key] {
      QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
      QCoreApplication::sendEvent(message.focusWidget() != nullptr ? message.focusWidget() : &message, &press);
    });
    const int result = message.exec();
    EXPECT_EQ(result, key == Qt::Key_Return ? QDialog::Accepted : QDialog::Rejected);
    EXPECT_TRUE(message.OkButton()->hasFocus() || !message.isVisible());
  }
}

}  // namespace

#include "MainFormWindow_test.moc"
