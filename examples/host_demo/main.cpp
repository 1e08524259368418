// Opens the demo window. With --grab FILE it saves a picture of the whole
// screen after --grab-after milliseconds and ends; it prints the window's
// client origin and size first so a caller can find the window in it.

#include "examples/host_demo/DemoForm.h"
#include "skin/host/FormReader.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QCommandLineParser parser;
  parser.addHelpOption();
  const QCommandLineOption grab(QStringLiteral("grab"), QStringLiteral("Save a screenshot to <file>."),
                                QStringLiteral("file"));
  const QCommandLineOption grabAfter(QStringLiteral("grab-after"), QStringLiteral("Milliseconds before the grab."),
                                     QStringLiteral("ms"), QStringLiteral("1500"));
  parser.addOption(grab);
  parser.addOption(grabAfter);
  parser.process(app);

  RegisterDemoClasses();
  TDemoForm form;
  try {
    ostrel::host::ReadComponentInto(form, QString::fromUtf8(kDemoFormText));
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  form.Show();

  if (parser.isSet(grab)) {
    const QString file = parser.value(grab);
    QTimer::singleShot(parser.value(grabAfter).toInt(), &app, [&form, file] {
      const QPointF origin = form.ClientToScreen(QPointF(0, 0));
      std::printf("window %d %d %d %d\n", qRound(origin.x()), qRound(origin.y()), form.ClientWidth(),
                  form.ClientHeight());
      std::fflush(stdout);
      const bool saved = QGuiApplication::primaryScreen()->grabWindow(0).save(file, "PNG");
      QApplication::exit(saved ? 0 : 2);
    });
  }
  return QApplication::exec();
}
