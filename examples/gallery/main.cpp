// Opens the gallery of skinned controls. With --grab FILE it saves a
// picture of the window's client area once the window is shown and ends.

#include "examples/gallery/GalleryForm.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QCommandLineParser parser;
  parser.addHelpOption();
  const QCommandLineOption grab(QStringLiteral("grab"), QStringLiteral("Save a picture of the window to <file>."),
                                QStringLiteral("file"));
  const QCommandLineOption pictures(QStringLiteral("pictures"), QStringLiteral("The folder of the program's pictures."),
                                    QStringLiteral("folder"), QStringLiteral(OSTREL_GALLERY_PICTURES));
  parser.addOption(grab);
  parser.addOption(pictures);
  parser.process(app);

  std::unique_ptr<TGallery> gallery;
  try {
    gallery = std::make_unique<TGallery>(parser.value(pictures));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  gallery->Form().Show();

  if (parser.isSet(grab)) {
    const QString file = parser.value(grab);
    QTimer::singleShot(200, &app, [&gallery, file] {
      QApplication::exit(gallery->Form().RenderToImage().save(file, "PNG") ? 0 : 2);
    });
  }
  return QApplication::exec();
}
