// Starts the host demo on a virtual X server, lets its intro animation run,
// and checks the screen: the window's background and the animated box are
// where they should be, and the transparent margin around the window shows
// neither of them.

#include <gtest/gtest.h>

#include <QColor>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

constexpr QRgb kBackColor = 0xFF0092CA;
constexpr QRgb kMoverColor = 0xFFFF8000;

bool Near(QColor AActual, QRgb AExpected, int ATolerance = 6) {
  const QColor expected = QColor::fromRgb(AExpected);
  return std::abs(AActual.red() - expected.red()) <= ATolerance &&
         std::abs(AActual.green() - expected.green()) <= ATolerance &&
         std::abs(AActual.blue() - expected.blue()) <= ATolerance;
}

}  // namespace

TEST(HostDemo, WindowAppearsOnScreenWithAnimatedBoxAndTransparentMargin) {
  const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
  if (xvfb.isEmpty()) GTEST_SKIP() << "xvfb-run is not installed";
  ASSERT_TRUE(QFileInfo::exists(QStringLiteral(HOST_DEMO_PATH)));

  QTemporaryDir dir;
  const QString shot = dir.filePath(QStringLiteral("screen.png"));
  QProcess demo;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  demo.setProcessEnvironment(env);
  demo.start(xvfb, {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 800x600x24"),
                    QStringLiteral(HOST_DEMO_PATH), QStringLiteral("--grab"), shot, QStringLiteral("--grab-after"),
                    QStringLiteral("2000")});
  ASSERT_TRUE(demo.waitForFinished(60000)) << "the demo did not end";
  const QString out = QString::fromUtf8(demo.readAllStandardOutput());
  ASSERT_EQ(demo.exitCode(), 0) << demo.readAllStandardError().toStdString();

  const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("window (-?\\d+) (-?\\d+) (\\d+) (\\d+)")).match(out);
  ASSERT_TRUE(m.hasMatch()) << out.toStdString();
  const int x = m.captured(1).toInt();
  const int y = m.captured(2).toInt();
  EXPECT_EQ(m.captured(3).toInt(), 320);
  EXPECT_EQ(m.captured(4).toInt(), 200);
  // Centred on the 800 x 600 screen.
  EXPECT_EQ(x, (800 - 320) / 2);
  EXPECT_EQ(y, (600 - 200) / 2);

  const QImage screen(shot);
  ASSERT_FALSE(screen.isNull());
  const auto at = [&](int AX, int AY) { return screen.pixelColor(x + AX, y + AY); };

  // The background box (client 10,10 .. 310,190) away from the animated box.
  EXPECT_TRUE(Near(at(150, 30), kBackColor)) << at(150, 30).name().toStdString();
  // The box faded in and slid from x = 30 to x = 210 (client), 70 .. 130 high.
  EXPECT_TRUE(Near(at(240, 100), kMoverColor)) << at(240, 100).name().toStdString();
  EXPECT_TRUE(Near(at(50, 100), kBackColor)) << "the box left its start: " << at(50, 100).name().toStdString();
  // The transparent margin and its shadow show neither colour but what lies
  // beneath the window: an opaque window background would show here.
  const QColor desktop = screen.pixelColor(0, 0);
  for (const QPoint p : {QPoint(2, 2), QPoint(5, 100), QPoint(160, 196)}) {
    const QColor c = at(p.x(), p.y());
    EXPECT_TRUE(Near(c, desktop.rgb(), 40)) << p.x() << "," << p.y() << " " << c.name().toStdString();
    EXPECT_FALSE(Near(c, kBackColor, 40)) << p.x() << "," << p.y() << " " << c.name().toStdString();
    EXPECT_FALSE(Near(c, kMoverColor, 40)) << p.x() << "," << p.y() << " " << c.name().toStdString();
  }
}
