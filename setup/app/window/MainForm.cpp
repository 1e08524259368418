#include "setup/app/window/MainForm.h"

#include "setup/app/window/WindowAnimations.h"
#include "skin/host/Animation.h"
#include "skin/host/ComboBox.h"
#include "skin/host/Control.h"
#include "skin/host/HostClasses.h"
#include "skin/controls/uSkinLibraryStart.h"

#include <QGraphicsView>
#include <QVariant>

TMainForm::TMainForm(ostrel::app::IFolderPicker& APicker, TComponent* AOwner) : TForm(AOwner), FPicker(APicker) {}

TControl* TMainForm::Control(const char* AName) const {
  return dynamic_cast<TControl*>(FindComponent(QString::fromLatin1(AName)));
}

TComboBox* TMainForm::DriveComboBox() const { return dynamic_cast<TComboBox*>(Control("DriveComboBox")); }

TAnimation* TMainForm::Animation(const char* AName) const {
  return dynamic_cast<TAnimation*>(FindComponent(QString::fromLatin1(AName)));
}

void TMainForm::FormCreate(TObject*) {}

void TMainForm::InstallButtonClick(TObject*) {
  if (FInstall) FInstall();
}

void TMainForm::CloseBtnClick(TObject*) {
  if (FEndProcess) FEndProcess();
}

void TMainForm::BgImageMouseDown(TObject*, TMouseButton, TShiftState, float, float) { StartWindowDrag(); }

void TMainForm::BrowseBtnClick(TObject* Sender) {
  TComboBox* list = DriveComboBox();
  auto* button = dynamic_cast<TComponent*>(Sender);
  if (list == nullptr || button == nullptr) return;
  ostrel::app::ChooseInstallFolder(FPicker, View(), *list, *button);
}

void TMainForm::CustomInstallSwitchChange(TObject* Sender) {
  TAnimation* slide = Animation("AniY");
  const auto* sender = dynamic_cast<const QObject*>(Sender);
  if (slide == nullptr || sender == nullptr) return;
  ostrel::app::SlidePanel(*slide, sender->property("Checked").toBool());
}

void TMainForm::RepaintBackground() {
  // Runs on every frame of four animations: the name is not made afresh each time.
  static const QString kBackground = QStringLiteral("BgImage");
  if (auto* background = dynamic_cast<TControl*>(FindComponent(kBackground))) background->Repaint();
}

void TMainForm::Ani1YProcess(TObject*) { RepaintBackground(); }
void TMainForm::Ani2YProcess(TObject*) { RepaintBackground(); }
void TMainForm::Ani4YProcess(TObject*) { RepaintBackground(); }
void TMainForm::AniYProcess(TObject*) { RepaintBackground(); }

namespace ostrel::app {

void RegisterMainFormClasses() {
  host::RegisterHostClasses();
  host::RegisterAnimationClasses();
  skin::StartSkinControls();
}

}  // namespace ostrel::app
