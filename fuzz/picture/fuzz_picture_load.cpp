#include "fuzz/support/DocRoundTrip.h"
#include "skin/base/uDrawPicture.h"

#include <QGuiApplication>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void CheckPicture(const TSkinPicture& APicture) {
  if (APicture.IsEmpty()) return;
  if (APicture.Image().format() != QImage::Format_ARGB32_Premultiplied) std::abort();
  if (APicture.Width() > TBitmap::MaxSide || APicture.Height() > TBitmap::MaxSide) std::abort();
  if (qint64{APicture.Width()} * APicture.Height() > TBitmap::MaxPixelCount) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "fuzz_picture_load";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* const app = new QGuiApplication(argc, argv);
  (void)app;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* AData, std::size_t ASize) {
  const QByteArray bytes(reinterpret_cast<const char*>(AData), static_cast<qsizetype>(ASize));

  // As picture bytes: no exception, the GIF bytes kept exactly when they are GIF.
  TDrawPicture picture;
  picture.SetIsClipRound(ASize % 2 == 1);
  picture.LoadFromStream(bytes);
  CheckPicture(picture);
  if (picture.HasGIFStream() != ostrel::skin::GIFDataOffset(bytes).has_value()) std::abort();
  picture.ReadBinaryProperty(QStringLiteral("GIFFileData"), bytes);
  CheckPicture(picture);

  // As a document of stored pictures.
  fuzz_support::ForEachTopClassNode(AData, ASize, [](TBTNode20_Class* asClass) {
    fuzz_support::CheckDocRoundTrip<TDrawPicture>(asClass, CheckPicture);
  });
  return 0;
}
