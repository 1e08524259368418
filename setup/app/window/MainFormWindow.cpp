#include "setup/app/window/MainFormWindow.h"

#include "setup/app/window/BundleResources.h"
#include "setup/app/window/FailureMessage.h"
#include "setup/app/window/FirstFrameProbe.h"
#include "setup/app/window/WindowAnimations.h"
#include "skin/host/Animation.h"
#include "skin/host/ComboBox.h"
#include "skin/host/Control.h"
#include "skin/host/FormReader.h"

#include <QGraphicsView>
#include <QMessageBox>

namespace ostrel::app {

namespace {

QString ToQString(std::string_view AText) {
  return QString::fromUtf8(AText.data(), static_cast<qsizetype>(AText.size()));
}

}  // namespace

// What the window uses from the program while it lives: its resources, made
// the ones the skin library finds while reading and painting, and the picker.
struct MainFormWindow::Services {
  explicit Services(ResourceFinder AResources) : Resources(BundleFinder(std::move(AResources))) {}

  host::FunctionResourceLookup Resources;
  host::ScopedResourceLookup Scope{Resources};
  SystemFolderPicker Picker;
};

MainFormWindow::MainFormWindow(const QString& AFormText, IFolderPicker& APicker, std::function<void()> AEndProcess)
    : FForm(std::make_unique<TMainForm>(APicker)) {
  Load(AFormText, std::move(AEndProcess));
}

MainFormWindow::MainFormWindow(const QString& AFormText, ResourceFinder AResources, std::function<void()> AEndProcess)
    : FServices(std::make_unique<Services>(std::move(AResources))),
      FForm(std::make_unique<TMainForm>(FServices->Picker)) {
  Load(AFormText, std::move(AEndProcess));
}

void MainFormWindow::Load(const QString& AFormText, std::function<void()> AEndProcess) {
  RegisterMainFormClasses();
  FForm->SetEndProcess(std::move(AEndProcess));
  host::ReadComponentInto(*FForm, AFormText);
}

MainFormWindow::~MainFormWindow() = default;

void MainFormWindow::SetInstallHandler(std::function<void()> handler) { FForm->SetInstallHandler(std::move(handler)); }

void MainFormWindow::Show() {
  ExitAfterFirstFrameIfAsked(*FForm->View()->viewport());
  FForm->Show();
}

void MainFormWindow::SetCaption(std::string_view caption) { FForm->SetCaption(ToQString(caption)); }

void MainFormWindow::SetInstallButtonCaption(std::string_view caption) {
  if (TControl* button = FForm->Control("InstallButton")) button->setProperty("Caption", ToQString(caption));
}

void MainFormWindow::HideCustomInstall() {
  for (const char* name : {"CustomInstallSwitch", "CustomInstallLabel"}) {
    if (TControl* control = FForm->Control(name)) control->SetVisible(false);
  }
}

void MainFormWindow::RestartAnimation(std::string_view name, double delay, double duration) {
  ostrel::app::RestartAnimation(*FForm, name, delay, duration);
}

void MainFormWindow::AddDriveItem(std::string_view text) {
  if (TComboBox* list = FForm->DriveComboBox()) list->AddItem(ToQString(text));
}

int MainFormWindow::DriveItemCount() const {
  const TComboBox* list = FForm->DriveComboBox();
  return list != nullptr ? list->Count() : 0;
}

void MainFormWindow::SelectDriveItem(int index) {
  if (TComboBox* list = FForm->DriveComboBox()) list->SetItemIndex(index);
}

std::optional<std::string> MainFormWindow::SelectedDriveItem() const {
  const TComboBox* list = FForm->DriveComboBox();
  if (list == nullptr || list->ItemIndex() < 0) return std::nullopt;
  return list->SelectedText().toStdString();
}

void MainFormWindow::CreateOperateAni() {
  if (FOperateAni != nullptr) return;
  if (TControl* bar = FForm->Control("ProgressBar")) FOperateAni = ostrel::app::CreateOperateAni(*FForm, *bar);
}

void MainFormWindow::StartOperateAni() {
  if (FOperateAni != nullptr) FOperateAni->Start();
}

void MainFormWindow::DisableInputs() {
  for (const char* name : {"InstallButton", "DriveComboBox", "BrowseBtn"}) {
    if (TControl* control = FForm->Control(name)) control->SetEnabled(false);
  }
}

void MainFormWindow::Hide() { FForm->Hide(); }

bool MainFormWindow::AskYesNo(std::string_view text, std::string_view caption) {
  QMessageBox box(QMessageBox::NoIcon, ToQString(caption), ToQString(text), QMessageBox::Yes | QMessageBox::No,
                  FForm->View());
  return box.exec() == QMessageBox::Yes;
}

void MainFormWindow::ShowFailure(std::string_view text) {
  ShowFailureMessage(FForm->View(), FForm->Caption(), ToQString(text));
}

}  // namespace ostrel::app
