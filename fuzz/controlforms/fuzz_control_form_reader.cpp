// Feeds arbitrary text to the stored-form reader with the library's control
// families registered: out-of-range positions, sizes, indexes and
// orientations, pictures, materials and properties of every family. Every
// input must be refused with EFormError, leaving no component alive, or read
// into a tree whose skinned controls paint without fault and whose written
// form reads back and writes again to the very same text.

#include "fuzz/support/FormRoundTrip.h"
#include "skin/base/uBaseLog.h"
#include "skin/base/uQtDrawCanvas.h"
#include "skin/base/uSkinFireMonkeyControl.h"
#include "skin/controls/uSkinLibraryStart.h"
#include "skin/host/HostClasses.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cstddef>
#include <cstdint>

namespace {

// Each skinned control painted by its control type into a small picture,
// interactively and as a painted child, whatever size it claims.
void PaintControls(const TComponent& ARoot) {
  QImage image(64, 32, QImage::Format_ARGB32_Premultiplied);
  for (TComponent* component : ARoot.Components()) {
    auto* control = dynamic_cast<TControl*>(component);
    ISkinControl* intf = SkinControlIntfOf(control);
    if (intf == nullptr) continue;
    TSkinControlType* type = intf->GetSkinControlType();
    if (type == nullptr) continue;
    for (const bool interactive : {true, false}) {
      image.fill(Qt::transparent);
      QPainter painter(&image);
      TQtDrawCanvas canvas;
      canvas.Prepare(&painter);
      TPaintData data;
      data.IsDrawInteractiveState = interactive;
      data.IsInDrawDirectUI = !interactive;
      type->Paint(canvas, type->GetPaintCurrentUseMaterial(), control->LocalRect(), data);
      canvas.UnPrepare();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication app(*argc, *argv);
  ostrel::host::RegisterHostClasses();
  ostrel::skin::StartSkinControls();
  // The library's log goes to standard error; a fuzzing run has no use for it.
  TBaseLog::Instance().SetWriteToDebugger(false);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* AData, std::size_t ASize) {
  fuzz_support::CheckFormRoundTrip(AData, ASize, PaintControls);
  return 0;
}
