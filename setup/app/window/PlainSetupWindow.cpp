#include "setup/app/window/PlainSetupWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QVBoxLayout>

namespace ostrel::app {

namespace {

QString ToQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

namespace {

// The bytes live in the program's mapped resources, which outlive the window.
host::FunctionResourceLookup::Finder BundleFinder(ResourceFinder resources) {
  return [resources = std::move(resources)](const QString& name) -> std::optional<QByteArray> {
    if (!resources) return std::nullopt;
    const QByteArray utf8 = name.toUtf8();
    const auto bytes = resources(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
    if (!bytes) return std::nullopt;
    return QByteArray::fromRawData(reinterpret_cast<const char*>(bytes->data()), static_cast<qsizetype>(bytes->size()));
  };
}

}  // namespace

PlainSetupWindow::PlainSetupWindow(platform::ISystem& system, ResourceFinder resources)
    : system_(system), resources_(BundleFinder(std::move(resources))), resourcesScope_(resources_) {
  setFixedSize(640, 360);

  auto* intro = new QLabel(QStringLiteral("Operate your phone on PC safely and easily."), this);
  intro->setAlignment(Qt::AlignCenter);
  intro->setWordWrap(true);

  customInstallSwitch_ = new QCheckBox(this);
  customInstallSwitch_->setObjectName(QStringLiteral("CustomInstallSwitch"));
  customInstallLabel_ = new QLabel(QStringLiteral("Custom installation"), this);
  customInstallLabel_->setObjectName(QStringLiteral("CustomInstallLabel"));
  installButton_ = new QPushButton(QStringLiteral("Install Now"), this);
  installButton_->setObjectName(QStringLiteral("InstallButton"));

  mainPanel_ = new QWidget(this);
  mainPanel_->setObjectName(QStringLiteral("MainPanel"));
  auto* installTo = new QLabel(QStringLiteral("Install to"), mainPanel_);
  driveComboBox_ = new QComboBox(mainPanel_);
  driveComboBox_->setObjectName(QStringLiteral("DriveComboBox"));
  driveComboBox_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  browseBtn_ = new QPushButton(QStringLiteral("..."), mainPanel_);
  browseBtn_->setObjectName(QStringLiteral("BrowseBtn"));
  browseBtn_->setToolTip(QStringLiteral("Browse"));
  auto* folderRow = new QHBoxLayout(mainPanel_);
  folderRow->addWidget(installTo);
  folderRow->addWidget(driveComboBox_);
  folderRow->addWidget(browseBtn_);
  mainPanel_->setVisible(false);

  progressBar_ = new QProgressBar(this);
  progressBar_->setObjectName(QStringLiteral("ProgressBar"));
  progressBar_->setRange(0, 100);
  progressBar_->setValue(0);
  progressBar_->setTextVisible(false);
  progressBar_->setMaximumHeight(4);

  auto* buttonRow = new QHBoxLayout;
  buttonRow->addWidget(installButton_);
  buttonRow->addStretch();
  buttonRow->addWidget(customInstallSwitch_);
  buttonRow->addWidget(customInstallLabel_);

  auto* layout = new QVBoxLayout(this);
  layout->addStretch();
  layout->addWidget(intro);
  layout->addLayout(buttonRow);
  layout->addWidget(mainPanel_);
  layout->addWidget(progressBar_);

  connect(customInstallSwitch_, &QCheckBox::toggled, mainPanel_, &QWidget::setVisible);
  connect(browseBtn_, &QPushButton::clicked, this, [this] { BrowseBtnClick(); });
  connect(installButton_, &QPushButton::clicked, this, [this] {
    if (installHandler_) installHandler_();
  });
}

void PlainSetupWindow::SetInstallHandler(std::function<void()> handler) { installHandler_ = std::move(handler); }

void PlainSetupWindow::Show() { show(); }

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
  if (operateAni_ != nullptr) return;
  operateAni_ = new QPropertyAnimation(progressBar_, "value", this);
  operateAni_->setStartValue(0);
  operateAni_->setEndValue(99);
  operateAni_->setDuration(15000);
  operateAni_->setEasingCurve(QEasingCurve::OutExpo);
}

void PlainSetupWindow::StartOperateAni() {
  if (operateAni_ != nullptr) operateAni_->start();
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

void PlainSetupWindow::ShowFailure(std::string_view text) {
  QMessageBox box(QMessageBox::Warning, windowTitle(), ToQString(text), QMessageBox::Ok, this);
  box.exec();
}

void PlainSetupWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  system_.ExitProcess(0);
}

void PlainSetupWindow::BrowseBtnClick() {
  const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("Select Folder of Installtion"));
  if (folder.isEmpty()) return;
  const QString path = QDir::toNativeSeparators(folder);
  if (browseTag_ <= 0) {
    driveComboBox_->addItem(path);
    browseTag_ = 1;
  } else {
    driveComboBox_->setItemText(driveComboBox_->count() - 1, path);
  }
  driveComboBox_->setCurrentIndex(driveComboBox_->count() - 1);
}

}  // namespace ostrel::app
