#include "tests/support/ReferenceImage.h"

#include "tests/support/ImageCompare.h"

#include <QDir>
#include <QFileInfo>

#include <cstdlib>
#include <string_view>

namespace test_support {

namespace {

QString ReferencePath(const QString& AName) {
  return QStringLiteral(OSTREL_SOURCE_DIR "/tests/references/%1.png").arg(AName);
}

QString OutputPath(const QString& AName, const char* AKind) {
  QDir().mkpath(QStringLiteral("screenshots"));
  return QFileInfo(QStringLiteral("screenshots/%1.%2.png").arg(AName, QLatin1String(AKind))).absoluteFilePath();
}

bool Updating() {
  const char* value = std::getenv("OSTREL_UPDATE_REFERENCES");
  return value != nullptr && std::string_view(value) == "1";
}

}  // namespace

::testing::AssertionResult MatchesReference(const QImage& AActual, const QString& AName, int AChannelTolerance,
                                             int AAllowedPixels) {
  const QString reference = ReferencePath(AName);
  if (Updating()) {
    QDir().mkpath(QFileInfo(reference).absolutePath());
    if (!AActual.save(reference, "PNG")) {
      return ::testing::AssertionFailure() << "cannot write the reference " << reference.toStdString();
    }
    return ::testing::AssertionSuccess() << "wrote the reference " << reference.toStdString();
  }
  const QImage expected(reference);
  if (expected.isNull()) {
    const QString actual = OutputPath(AName, "actual");
    AActual.save(actual, "PNG");
    return ::testing::AssertionFailure() << "no reference " << reference.toStdString() << "; this run drew "
                                         << actual.toStdString()
                                         << " (scripts/update-references.sh stores it once it looks right)";
  }
  const ImageDifference difference = CompareImages(AActual, expected, AChannelTolerance);
  if (difference.SameSize && difference.DifferingPixels <= AAllowedPixels) return ::testing::AssertionSuccess();
  const QString actual = OutputPath(AName, "actual");
  AActual.save(actual, "PNG");
  ::testing::AssertionResult failure = ::testing::AssertionFailure();
  if (!difference.SameSize) {
    return failure << AName.toStdString() << " is " << AActual.width() << " x " << AActual.height()
                   << ", its reference " << expected.width() << " x " << expected.height() << "; see "
                   << actual.toStdString();
  }
  const QString diff = OutputPath(AName, "diff");
  difference.Diff.save(diff, "PNG");
  return failure << AName.toStdString() << ": " << difference.DifferingPixels << " pixels differ by more than "
                 << AChannelTolerance << " (largest " << difference.LargestChannelDelta << "); see "
                 << actual.toStdString() << " and " << diff.toStdString();
}

}  // namespace test_support
