// Runs the gallery on a virtual X server and holds its window to the
// reference picture a person has looked at (scripts/update-gallery-reference.sh
// makes it anew, on purpose only). Anti-aliasing may differ a little; a moved,
// missing or recoloured control does not pass. A failing run leaves the
// picture it got and a difference picture beside the test.

#include "tests/support/ImageCompare.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

constexpr int kChannelTolerance = 24;
// Anti-aliased edges of text and round shapes that a font or rasteriser
// update may move by a fraction of a pixel.
constexpr int kAllowedDifferingPixels = 200;

}  // namespace

TEST(Gallery, WindowMatchesTheReferencePicture) {
  const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
  if (xvfb.isEmpty()) GTEST_SKIP() << "xvfb-run is not installed";
  ASSERT_TRUE(QFileInfo::exists(QStringLiteral(GALLERY_PATH)));
  const QImage reference(QStringLiteral(GALLERY_REFERENCE));
  ASSERT_FALSE(reference.isNull()) << "no reference picture at " << GALLERY_REFERENCE;

  QTemporaryDir dir;
  const QString shot = dir.filePath(QStringLiteral("gallery.png"));
  QProcess gallery;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  gallery.setProcessEnvironment(env);
  gallery.start(xvfb, {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 800x600x24"),
                       QStringLiteral(GALLERY_PATH), QStringLiteral("--grab"), shot});
  ASSERT_TRUE(gallery.waitForFinished(60000)) << "the gallery did not end";
  ASSERT_EQ(gallery.exitCode(), 0) << gallery.readAllStandardError().toStdString();

  const QImage actual(shot);
  ASSERT_FALSE(actual.isNull());
  const test_support::ImageDifference difference = test_support::CompareImages(actual, reference, kChannelTolerance);
  ASSERT_TRUE(difference.SameSize) << actual.width() << "x" << actual.height() << " against " << reference.width()
                                   << "x" << reference.height();
  if (difference.DifferingPixels > kAllowedDifferingPixels) {
    const QString kept = QDir::currentPath() + QStringLiteral("/gallery-actual.png");
    actual.save(kept);
    difference.Diff.save(QDir::currentPath() + QStringLiteral("/gallery-diff.png"));
    ADD_FAILURE() << difference.DifferingPixels << " pixels differ (largest channel difference "
                  << difference.LargestChannelDelta << "); see " << kept.toStdString() << " and gallery-diff.png";
  }
}
