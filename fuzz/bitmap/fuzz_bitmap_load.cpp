#include "skin/host/Bitmap.h"

#include <QGuiApplication>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "fuzz_bitmap_load";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* const app = new QGuiApplication(argc, argv);
  (void)app;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* AData, std::size_t ASize) {
  TBitmap bitmap(2, 2);
  bitmap.Clear(0xFF102030u);
  const QImage before = bitmap.Image();
  try {
    bitmap.LoadFromStream(QByteArray(reinterpret_cast<const char*>(AData), static_cast<qsizetype>(ASize)));
  } catch (const EInvalidGraphic&) {
    if (bitmap.Image() != before) std::abort();
    return 0;
  }
  if (bitmap.IsEmpty() || bitmap.Image().format() != QImage::Format_ARGB32_Premultiplied) std::abort();
  // A loaded picture must survive its own PNG round trip.
  TBitmap copy;
  copy.LoadFromStream(bitmap.SaveToStream());
  if (copy.Image().size() != bitmap.Image().size()) std::abort();
  return 0;
}
