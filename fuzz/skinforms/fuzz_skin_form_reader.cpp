// Feeds arbitrary text to the stored-form reader with the skinned control
// classes registered: controls choosing types and materials by name, kinds,
// referenced and self-owned materials with their parameters. Every input
// must be refused with EFormError, leaving no component alive, or read into
// a tree whose controls paint without fault and whose written form reads
// back and writes again to the very same text.

#include "skin/base/uBaseLog.h"
#include "skin/host/ClassRegistry.h"
#include "skin/host/Form.h"
#include "skin/host/FormReader.h"
#include "skin/host/FormWriter.h"
#include "skin/host/HostClasses.h"
#include "tests/support/SkinTestFamily.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void Abort(const char* AWhat, const QString& AText) {
  std::fprintf(stderr, "%s\n%s\n", AWhat, AText.toUtf8().constData());
  std::abort();
}

void PaintControls(const TComponent& ARoot) {
  QImage image(64, 32, QImage::Format_ARGB32_Premultiplied);
  for (TComponent* component : ARoot.Components()) {
    auto* box = dynamic_cast<TSkinTestBox*>(component);
    if (box == nullptr) continue;
    image.fill(Qt::transparent);
    QPainter painter(&image);
    box->PaintTo(painter);
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
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(AData), static_cast<qsizetype>(ASize));
  TForm root;
  try {
    ostrel::host::ReadComponentInto(root, text);
  } catch (const ostrel::host::EFormError&) {
    if (root.ComponentCount() != 0) Abort("a refused form left components alive", text);
    return 0;
  }
  PaintControls(root);
  const QString first = ostrel::host::WriteComponent(root);
  TForm again;
  try {
    ostrel::host::ReadComponentInto(again, first);
  } catch (const ostrel::host::EFormError& e) {
    Abort(e.what(), first);
  }
  if (ostrel::host::WriteComponent(again) != first) Abort("writing is not stable", first);
  return 0;
}
