// Feeds arbitrary text to the stored-form reader with the skinned control
// classes registered: controls choosing types and materials by name, kinds,
// referenced and self-owned materials with their parameters, image lists
// with their stored pictures and the pictures that use them. Every input
// must be refused with EFormError, leaving no component alive, or read into
// a tree whose controls paint without fault and whose written form reads
// back and writes again to the very same text.

#include "fuzz/support/FormRoundTrip.h"
#include "skin/base/uBaseLog.h"
#include "skin/base/uDrawPicture.h"
#include "skin/base/uSkinImageList.h"
#include "skin/host/ClassRegistry.h"
#include "skin/host/HostClasses.h"
#include "tests/support/SkinTestFamily.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cstddef>
#include <cstdint>

namespace {

// Every item by index and by its name at two display scales, as controls ask.
void LookUpPictures(const TSkinImageList& AList) {
  for (int i = -1; i <= AList.Count(); ++i) {
    TDrawPicture* const item = AList.GetItem(i);
    if (item == nullptr) continue;
    static_cast<void>(item->CurrentPictureWidth());
    for (const double scale : {1.0, 2.0}) static_cast<void>(AList.PictureList()->GetItemByName(item->ImageName(), scale));
  }
}

void PaintControls(const TComponent& ARoot) {
  QImage image(64, 32, QImage::Format_ARGB32_Premultiplied);
  for (TComponent* component : ARoot.Components()) {
    if (const auto* list = dynamic_cast<TSkinImageList*>(component)) LookUpPictures(*list);
    auto* box = dynamic_cast<TSkinTestBox*>(component);
    if (box == nullptr) continue;
    image.fill(Qt::transparent);
    QPainter painter(&image);
    box->PaintTo(painter);
    if (TSkinTestBoxMaterial* material = box->TestMaterial()) static_cast<void>(material->IconPicture()->CurrentPictureWidth());
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication app(*argc, *argv);
  ostrel::host::RegisterHostClasses();
  test_support::StartSkinTestFamily();
  // The library's log goes to standard error; a fuzzing run has no use for it.
  TBaseLog::Instance().SetWriteToDebugger(false);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* AData, std::size_t ASize) {
  fuzz_support::CheckFormRoundTrip(AData, ASize, PaintControls);
  return 0;
}
