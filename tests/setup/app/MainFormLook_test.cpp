// The setup window as people see it: the stored form the build makes, read
// with the real control families and the program's pictures, shown on a
// virtual X screen and driven by a manual animation clock. The intro at fixed
// moments and update mode are held to reference pictures a person has looked
// at (scripts/update-references.sh makes them anew, on purpose only); the
// Install button's hover and press colours, the switch sliding the folder
// panel and a missing picture are checked on the window itself.

#include "setup/app/window/MainFormWindow.h"
#include "setup/core/Startup.h"
#include "skin/controls/uSkinButtonType.h"
#include "skin/controls/uSkinComboBoxType.h"
#include "skin/controls/uSkinImageType.h"
#include "skin/controls/uSkinSwitchBarType.h"
#include "skin/host/Control.h"
#include "skin/host/FrameClock.h"
#include "skin/host/Position.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/ReferenceImage.h"
#include "tests/support/XSession.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QGraphicsView>
#include <QMouseEvent>

#include <array>
#include <map>
#include <memory>
#include <string>

namespace {

using ostrel::host::ManualFrameClock;
using ostrel::host::ScopedFrameClock;

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
// Anti-aliased edges of text and round shapes that a font or rasteriser
// update may move a little; a moved, missing or recoloured part is far more.
constexpr int kChannelTolerance = 24;
constexpr int kAllowedDifferingPixels = 200;

// The test's own X server, and the application on it; both go before the
// process ends, the application first.
class OnScreen final : public ::testing::Environment {
 public:
  void SetUp() override {
    FServer = std::make_unique<test_support::XSession>(kScreenWidth, kScreenHeight);
    if (FServer->Ready()) {
      qputenv("DISPLAY", QByteArray::fromStdString(FServer->Display()));
      qputenv("QT_QPA_PLATFORM", "xcb");
    }
    static int argc = 1;
    static char name[] = "main_form_look_test";
    static char* argv[] = {name, nullptr};
    FApplication = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override {
    FApplication.reset();
    FServer.reset();
  }
  // Why no window can be shown; empty when it can.
  static std::string Problem() { return Instance->FServer->Ready() ? std::string() : Instance->FServer->Problem(); }

  static OnScreen* Instance;

 private:
  std::unique_ptr<test_support::XSession> FServer;
  std::unique_ptr<QApplication> FApplication;
};

OnScreen* OnScreen::Instance = static_cast<OnScreen*>(::testing::AddGlobalTestEnvironment(new OnScreen));

// The resources the packed setup carries for its window, read from the
// build's files (OSTREL_WINDOW_RESOURCES: NAME=FILE, separated by "|").
// Names are found ignoring letter case, as the program's bundle finds them.
class WindowResources {
 public:
  // AWithout: the name of one resource to leave out, as a program that lost it.
  explicit WindowResources(const QString& AWithout = QString()) {
    for (const QString& entry : QStringLiteral(OSTREL_WINDOW_RESOURCES).split(u'|')) {
      const QString name = entry.section(u'=', 0, 0).toUpper();
      if (name == AWithout.toUpper()) continue;
      QFile file(entry.section(u'=', 1));
      if (file.open(QIODevice::ReadOnly)) FEntries[name.toStdString()] = file.readAll();
    }
  }

  bool Has(const char* AName) const { return FEntries.contains(QString::fromLatin1(AName).toUpper().toStdString()); }
  QString FormText() const {
    const auto it = FEntries.find("TMAINFORM");
    return it == FEntries.end() ? QString() : QString::fromUtf8(it->second);
  }
  // Valid while this object lives.
  ostrel::app::ResourceFinder Finder() const {
    return [this](std::string_view AName) -> std::optional<std::span<const std::byte>> {
      const auto it = FEntries.find(QString::fromUtf8(AName.data(), static_cast<qsizetype>(AName.size()))
                                        .toUpper()
                                        .toStdString());
      if (it == FEntries.end()) return std::nullopt;
      return std::as_bytes(std::span(it->second.constData(), static_cast<std::size_t>(it->second.size())));
    };
  }

 private:
  std::map<std::string, QByteArray> FEntries;
};

QString Hex(QRgb AColour) { return QStringLiteral("#%1").arg(AColour & 0xFFFFFFu, 6, 16, QLatin1Char('0')); }

// One window read from the built form with the given resources, its intro
// started at clock time 0.
class WindowOnScreen {
 public:
  // The close button would end the process; here it ends nothing.
  explicit WindowOnScreen(const WindowResources& AResources)
      : FWindow(AResources.FormText(), AResources.Finder(), [] {}) {
    FWindow.SetInstallHandler([this] { ++Installs; });
  }

  ostrel::app::MainFormWindow& Window() { return FWindow; }
  TMainForm& Form() { return FWindow.Form(); }
  TControl& Control(const char* AName) {
    TControl* control = Form().Control(AName);
    if (control == nullptr) throw std::runtime_error(std::string("the form has no ") + AName);
    return *control;
  }
  // Runs the clock at 60 frames a second up to clock time ATime from the load.
  void RunTo(double ATime) { FClock.Run(ATime - FClock.Now()); }
  void RunFor(double ASeconds) { FClock.Run(ASeconds); }
  bool ClockIdle() const { return FClock.IsIdle(); }

  // What the window's own view paints now, the frame it flushes to the screen.
  QImage Shot() { return Form().View()->grab().toImage().convertToFormat(QImage::Format_ARGB32); }
  QRgb PixelAt(QPoint APoint) { return Shot().pixel(APoint) & 0xFFFFFFu; }

  // The pointer, in window coordinates.
  void MoveTo(QPointF APoint) { Send(QEvent::MouseMove, APoint, Qt::NoButton, Qt::NoButton); }
  void Press(QPointF APoint) { Send(QEvent::MouseButtonPress, APoint, Qt::LeftButton, Qt::LeftButton); }
  void Release(QPointF APoint) { Send(QEvent::MouseButtonRelease, APoint, Qt::LeftButton, Qt::NoButton); }
  void Click(QPointF APoint) {
    MoveTo(APoint);
    Press(APoint);
    Release(APoint);
  }

  int Installs = 0;

 private:
  void Send(QEvent::Type AType, QPointF APoint, Qt::MouseButton AButton, Qt::MouseButtons AHeld) {
    QWidget* viewport = Form().View()->viewport();
    QMouseEvent event(AType, APoint, viewport->mapToGlobal(APoint), AButton, AHeld, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &event);
  }

  // Made before the window, whose animations start on this clock.
  ManualFrameClock FClock;
  ScopedFrameClock FUseClock{FClock};
  ostrel::app::MainFormWindow FWindow;
};

// Window points, with the background at (8, 8) and the intro over.
constexpr QPoint kInstallButtonCentre(8 + 120 + 80, 8 + 233 + 25);
constexpr QPointF kSwitchCentre(8 + 407 + 25, 8 + 258 + 12.5);

class MainFormLook : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string problem = OnScreen::Problem();
    if (!problem.empty()) GTEST_SKIP() << problem;
    ASSERT_FALSE(resources.FormText().isEmpty()) << "the build wrote no stored form";
  }

  const WindowResources resources;
};

TEST_F(MainFormLook, ScreenshotsOfTheIntroAtFixedMomentsMatchTheirReferences) {
  WindowOnScreen shown(resources);
  shown.Window().Show();
  QGraphicsView& view = *shown.Form().View();
  EXPECT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
  EXPECT_EQ(view.size(), QSize(656, 376));
  EXPECT_EQ(view.pos(), QPoint((kScreenWidth - 656) / 2, (kScreenHeight - 376) / 2)) << "centred on the screen";
  EXPECT_TRUE(view.windowFlags().testFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(view.testAttribute(Qt::WA_TranslucentBackground));

  // The logo alone; the logo risen, the brand strip shown; both moved aside,
  // the controls in place.
  for (const auto& [time, name] : {std::pair{0.5, "setup-window-intro-0.5s"}, std::pair{4.0, "setup-window-intro-4s"},
                                   std::pair{7.5, "setup-window-intro-7.5s"}}) {
    shown.RunTo(time);
    EXPECT_TRUE(test_support::MatchesReference(shown.Shot(), QString::fromLatin1(name), kChannelTolerance,
                                               kAllowedDifferingPixels));
  }
  EXPECT_TRUE(shown.ClockIdle()) << "nothing moves after the intro";
}

TEST_F(MainFormLook, ScreenshotOfUpdateModeAfterItsTwoSecondIntro) {
  WindowOnScreen shown(resources);
  // What start-up asks of the window in update mode, before it shows.
  ostrel::app::MainFormWindow& window = shown.Window();
  window.SetCaption("Update Ostrel");
  window.SetInstallButtonCaption("Update Now");
  window.HideCustomInstall();
  for (const std::string_view name : ostrel::setup::kIntroAnimations) window.RestartAnimation(name, 0.0, 2.0);
  window.Show();

  shown.RunTo(2.0);
  EXPECT_TRUE(shown.ClockIdle()) << "the whole intro played in two seconds";
  EXPECT_EQ(shown.Control("IconImage").Position()->Point(), QPointF(450, 90));
  EXPECT_EQ(shown.Control("BrandImage").Position()->Point(), QPointF(50, 70));
  EXPECT_EQ(shown.Control("ControlPanel").Opacity(), 1);
  EXPECT_EQ(shown.Control("InstallButton").property("Caption").toString(), QStringLiteral("Update Now"));
  EXPECT_EQ(shown.Form().View()->windowTitle(), QStringLiteral("Update Ostrel"));
  EXPECT_TRUE(test_support::MatchesReference(shown.Shot(), QStringLiteral("setup-window-update-2s"),
                                             kChannelTolerance, kAllowedDifferingPixels));

  // Where the switch would be, a click finds the background: the folder
  // choice stays out of view.
  shown.Click(kSwitchCentre);
  shown.RunFor(1.5);
  EXPECT_EQ(shown.Control("MainPanel").Position()->Y(), 368);
  EXPECT_EQ(shown.Installs, 0);
}

TEST_F(MainFormLook, TheInstallButtonShowsItsHoverAndPressColours) {
  WindowOnScreen shown(resources);
  shown.Window().Show();
  shown.RunTo(8);
  // The button's middle column, between its caption and its lower edge.
  const QPoint fill = kInstallButtonCentre + QPoint(0, 17);
  const QPoint away(40, 40);
  shown.MoveTo(away);
  EXPECT_EQ(Hex(shown.PixelAt(fill)), Hex(0x0092CA)) << "at rest";
  shown.MoveTo(kInstallButtonCentre);
  EXPECT_EQ(Hex(shown.PixelAt(fill)), Hex(0x0089BF)) << "under the pointer";
  shown.Press(kInstallButtonCentre);
  EXPECT_EQ(Hex(shown.PixelAt(fill)), Hex(0x0077A6)) << "held down";
  EXPECT_EQ(shown.Installs, 0) << "a press alone installs nothing";
  shown.Release(kInstallButtonCentre);
  EXPECT_EQ(shown.Installs, 1);
  EXPECT_EQ(Hex(shown.PixelAt(fill)), Hex(0x0089BF)) << "released, still under the pointer";
  shown.MoveTo(away);
  EXPECT_EQ(Hex(shown.PixelAt(fill)), Hex(0x0092CA)) << "the pointer gone";
}

// The bar is drawn whole and cut at the reached percentage: its light leading
// edge stays at the far end, unseen until the end, instead of following the cut.
TEST_F(MainFormLook, TheProgressBarShowsItsForegroundUpToTheReachedPercentageOnly) {
  WindowOnScreen shown(resources);
  shown.Window().CreateOperateAni();
  shown.Window().Show();
  shown.RunTo(8);
  constexpr int kRow = 8 + 355 + 2;
  const QRgb pastTheCut = shown.PixelAt({400, kRow});
  EXPECT_NE(Hex(shown.PixelAt({100, kRow})), Hex(0x0092CA)) << "nothing drawn at 0";
  shown.Window().StartOperateAni();
  shown.RunFor(1.5);
  // At 50 the cut lies at 9 + 319 = 328 in window points.
  EXPECT_EQ(Hex(shown.PixelAt({100, kRow})), Hex(0x0092CA));
  EXPECT_EQ(Hex(shown.PixelAt({324, kRow})), Hex(0x0092CA)) << "no leading edge at the cut";
  EXPECT_EQ(Hex(shown.PixelAt({400, kRow})), Hex(pastTheCut)) << "only the background past the cut";
}

TEST_F(MainFormLook, TheSwitchSlidesTheFolderPanelToTheEndOfItsLastDirection) {
  WindowOnScreen shown(resources);
  shown.Window().Show();
  shown.RunTo(8);
  const TControl& panel = shown.Control("MainPanel");
  const auto checked = [&shown] { return shown.Control("CustomInstallSwitch").property("Properties")
                                      .value<QObject*>()->property("Checked").toBool(); };

  shown.Click(kSwitchCentre);
  EXPECT_TRUE(checked());
  shown.RunFor(1.0);
  EXPECT_EQ(panel.Position()->Y(), 295) << "resting on the background's bottom edge";

  shown.Click(kSwitchCentre);
  EXPECT_FALSE(checked());
  shown.RunFor(1.0);
  EXPECT_EQ(panel.Position()->Y(), 368) << "below the edge again";

  // On, off, on within a fraction of the slide: up it goes.
  for (int i = 0; i < 3; ++i) {
    shown.Click(kSwitchCentre);
    shown.RunFor(0.1);
  }
  shown.RunFor(1.0);
  EXPECT_TRUE(checked());
  EXPECT_EQ(panel.Position()->Y(), 295);
}

TEST_F(MainFormLook, ScreenshotOfTheFolderChoiceSlidIn) {
  WindowOnScreen shown(resources);
  // What start-up gives the list in install mode.
  shown.Window().AddDriveItem("/home/user/.local/share/Ostrel");
  shown.Window().AddDriveItem("/data/Ostrel");
  shown.Window().SelectDriveItem(0);
  shown.Window().Show();
  shown.RunTo(8);
  shown.Click(kSwitchCentre);
  shown.MoveTo({40, 40});
  shown.RunFor(1.0);
  EXPECT_TRUE(test_support::MatchesReference(shown.Shot(), QStringLiteral("setup-window-folder-choice"),
                                             kChannelTolerance, kAllowedDifferingPixels));
}

// Insets the window gives in pixels are stored as pixels, those it gives in
// percent as percent (the unit a form leaves out): a percent inset of 8 on
// the drive list would push its text 37 pixels in and shrink nothing else.
TEST_F(MainFormLook, IconTextAndArrowInsetsAreInTheirOwnUnits) {
  WindowOnScreen shown(resources);
  auto& close = dynamic_cast<TSkinFMXButton&>(shown.Control("CloseBtn"));
  auto& browse = dynamic_cast<TSkinFMXButton&>(shown.Control("BrowseBtn"));
  auto& drives = dynamic_cast<TSkinFMXComboBox&>(shown.Control("DriveComboBox"));
  auto& customInstall = dynamic_cast<TSkinFMXSwitchBar&>(shown.Control("CustomInstallSwitch"));
  struct Case {
    const char* what;
    const TDrawParam* param;
    QSizeF control;
    // Left, top, right, bottom.
    std::array<double, 4> expected;
  };
  const Case cases[] = {
      {"close icon, 25 percent", close.Material()->DrawIconParam(), {33, 33}, {8.25, 8.25, 24.75, 24.75}},
      {"browse icon, 6 pixels", browse.Material()->DrawIconParam(), {34, 34}, {6, 6, 28, 28}},
      {"drive text, 8 and 30 pixels", drives.Material()->DrawTextParam(), {464, 30}, {8, 0, 434, 30}},
      {"drive help text, 8 pixels", drives.Material()->DrawHelpTextParam(), {464, 30}, {8, 0, 456, 30}},
      {"drive arrow, 8 pixels", drives.Material()->DrawArrowPictureParam(), {464, 30}, {0, 8, 456, 22}},
      {"switch knob, 15 percent", customInstall.Material()->SwitchBtnDrawPictureParam(), {20, 20},
       {3, 3, 17, 17}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const TRectF got = c.param->CalcDrawRect(TRectF(QPointF(0, 0), c.control));
    const std::array<double, 4> edges{got.left(), got.top(), got.right(), got.bottom()};
    EXPECT_EQ(edges, c.expected);
  }
}

TEST_F(MainFormLook, AMissingPictureLeavesItsImageEmptyAndTheWindowWorking) {
  const std::map<std::string, const char*> imageOf = {
      {"BG", "BgImage"}, {"BRAND", "BrandImage"}, {"LOGO", "IconImage"}, {"LOGO2", "Icon2Image"}};
  for (const auto& [lost, image] : imageOf) {
    SCOPED_TRACE(lost);
    const WindowResources without(QString::fromStdString(lost));
    ASSERT_FALSE(without.Has(lost.c_str()));
    WindowOnScreen shown(without);
    shown.Window().Show();
    shown.RunTo(8);
    for (const auto& [name, other] : imageOf) {
      auto& control = dynamic_cast<TSkinImage&>(shown.Control(other));
      EXPECT_EQ(control.Prop()->Picture()->CurrentPictureIsEmpty(), name == lost) << other;
    }
    EXPECT_FALSE(shown.Shot().isNull());
    shown.Click(kSwitchCentre);
    shown.RunFor(1.0);
    EXPECT_EQ(shown.Control("MainPanel").Position()->Y(), 295);
    shown.Click(kInstallButtonCentre);
    EXPECT_EQ(shown.Installs, 1);
  }
}

}  // namespace
