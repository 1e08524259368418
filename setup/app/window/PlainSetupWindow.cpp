#include "setup/app/window/PlainSetupWindow.h"

#include "setup/app/window/BundleResources.h"
#include "setup/app/window/FailureMessage.h"
#include "setup/app/window/FirstFrameProbe.h"
#include "skin/host/Animation.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

namespace ostrel::app {

namespace {

QString ToQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The skinned window's client area and where its background starts in it.
constexpr QSize kClientSize(656, 376);
constexpr QPoint kBackground(8, 8);

// A child placed as the skinned window places the control of that name:
// ABounds is relative to the background.
template <class W>
W* Place(W* AWidget, const char* AName, QRect ABounds) {
  AWidget->setObjectName(QString::fromLatin1(AName));
  AWidget->setGeometry(ABounds.translated(kBackground));
  return AWidget;
}

}  // namespace

PlainSetupWindow::PlainSetupWindow(platform::ISystem& system, ResourceFinder resources)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      system_(system),
      resources_(BundleFinder(std::move(resources))),
      resourcesScope_(resources_) {
  setFixedSize(kClientSize);
  // Like the skinned window, only the background and what lies on it show.
  setAttribute(Qt::WA_TranslucentBackground);
  setStyleSheet(QStringLiteral("QWidget#Background { background: #1d1d1d; } QLabel, QCheckBox { color: white; }"));
  auto* background = Place(new QWidget(this), "Background", {0, 0, 640, 360});
  background->setAttribute(Qt::WA_StyledBackground);
  background->lower();

  auto* close = Place(new QPushButton(QStringLiteral("\u00D7"), this), "CloseBtn", {599, 8, 33, 33});
  close->setAccessibleName(QStringLiteral("Close"));
  connect(close, &QPushButton::clicked, this, [this] { system_.ExitProcess(0); });

  auto* intro = Place(new QLabel(QStringLiteral("Operate your phone on PC safely and easily."), this), "IntroLabel",
                      {28, 167, 345, 41});
  intro->setAlignment(Qt::AlignCenter);
  intro->setWordWrap(true);

  installButton_ = Place(new QPushButton(QStringLiteral("Install Now"), this), "InstallButton", {120, 233, 160, 50});
  customInstallSwitch_ = Place(new QCheckBox(this), "CustomInstallSwitch", {407, 258, 50, 25});
  customInstallSwitch_->setAccessibleName(QStringLiteral("Custom installation"));
  customInstallLabel_ =
      Place(new QLabel(QStringLiteral("Custom installation"), this), "CustomInstallLabel", {465, 254, 144, 33});

  // Where the switch slides it: resting on the background's bottom edge.
  mainPanel_ = Place(new QWidget(this), "MainPanel", {0, 295, 640, 65});
  auto* installTo = new QLabel(QStringLiteral("Install to"), mainPanel_);
  installTo->setGeometry(28, 16, 69, 33);
  driveComboBox_ = new QComboBox(mainPanel_);
  driveComboBox_->setObjectName(QStringLiteral("DriveComboBox"));
  driveComboBox_->setGeometry(105, 18, 464, 30);
  driveComboBox_->setAccessibleName(QStringLiteral("Install to"));
  browseBtn_ = new QPushButton(QStringLiteral("..."), mainPanel_);
  browseBtn_->setObjectName(QStringLiteral("BrowseBtn"));
  browseBtn_->setGeometry(577, 16, 34, 34);
  browseBtn_->setToolTip(QStringLiteral("Browse"));
  browseBtn_->setAccessibleName(QStringLiteral("Browse"));
  mainPanel_->setVisible(false);

  progressBar_ = Place(new QProgressBar(this), "ProgressBar", {1, 355, 638, 4});
  progressBar_->setRange(0, 100);
  progressBar_->setValue(0);
  progressBar_->setTextVisible(false);

  setTabOrder(close, installButton_);
  setTabOrder(installButton_, customInstallSwitch_);
  setTabOrder(customInstallSwitch_, driveComboBox_);
  setTabOrder(driveComboBox_, browseBtn_);

  connect(customInstallSwitch_, &QCheckBox::toggled, mainPanel_, &QWidget::setVisible);
  connect(browseBtn_, &QPushButton::clicked, this, [this] { BrowseBtnClick(); });
  connect(installButton_, &QPushButton::clicked, this, [this] {
    if (installHandler_) installHandler_();
  });
}

PlainSetupWindow::~PlainSetupWindow() = default;

void PlainSetupWindow::SetInstallHandler(std::function<void()> handler) { installHandler_ = std::move(handler); }

void PlainSetupWindow::Show() {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
  }
  ExitAfterFirstFrameIfAsked(*this);
  show();
}

void PlainSetupWindow::SetCaption(std::string_view caption) { setWindowTitle(ToQString(caption)); }

void PlainSetupWindow::SetInstallButtonCaption(std::string_view caption) {
  installButton_->setText(ToQString(caption));
}

void PlainSetupWindow::HideCustomInstall() {
  customInstallSwitch_->setChecked(false);
  customInstallSwitch_->setVisible(false);
  customInstallLabel_->setVisible(false);
}

// This window has no intro to replay.
void PlainSetupWindow::RestartAnimation(std::string_view, double, double) {}

void PlainSetupWindow::AddDriveItem(std::string_view text) { driveComboBox_->addItem(ToQString(text)); }

int PlainSetupWindow::DriveItemCount() const { return driveComboBox_->count(); }

void PlainSetupWindow::SelectDriveItem(int index) { driveComboBox_->setCurrentIndex(index); }

std::optional<std::string> PlainSetupWindow::SelectedDriveItem() const {
  if (driveComboBox_->currentIndex() < 0) return std::nullopt;
  return driveComboBox_->currentText().toStdString();
}

void PlainSetupWindow::CreateOperateAni() {
  if (operateAni_) return;
  // The skinned window's curve, exact: Qt's own easing truncates to 49 where 50 is due.
  operateAni_ = std::make_unique<TIntAnimation>();
  operateAni_->SetParent(progressBar_);
  operateAni_->SetPropertyName(QStringLiteral("value"));
  operateAni_->SetStopValue(99);
  operateAni_->SetDuration(15.0f);
  operateAni_->SetInterpolation(TInterpolationType::Exponential);
  operateAni_->SetAnimationType(TAnimationType::Out);
}

void PlainSetupWindow::StartOperateAni() {
  if (operateAni_) operateAni_->Start();
}

void PlainSetupWindow::DisableInputs() {
  installButton_->setEnabled(false);
  driveComboBox_->setEnabled(false);
  browseBtn_->setEnabled(false);
}

void PlainSetupWindow::Hide() { hide(); }

bool PlainSetupWindow::AskYesNo(std::string_view text, std::string_view caption) {
  QMessageBox box(QMessageBox::NoIcon, ToQString(caption), ToQString(text), QMessageBox::Yes | QMessageBox::No, this);
  return box.exec() == QMessageBox::Yes;
}

void PlainSetupWindow::ShowFailure(std::string_view text) { ShowFailureMessage(this, windowTitle(), ToQString(text)); }

void PlainSetupWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  system_.ExitProcess(0);
}

void PlainSetupWindow::BrowseBtnClick() {
  const std::optional<QString> path = picker_.PickFolder(this, QString::fromUtf16(kPickFolderTitle));
  if (!path) return;
  if (browseTag_ <= 0) {
    driveComboBox_->addItem(*path);
    browseTag_ = 1;
  } else {
    driveComboBox_->setItemText(driveComboBox_->count() - 1, *path);
  }
  driveComboBox_->setCurrentIndex(driveComboBox_->count() - 1);
}

}  // namespace ostrel::app
