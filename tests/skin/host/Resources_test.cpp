// The program's resources as the library sees them, and the mapping of font
// families the machine lacks.

#include "skin/host/Fonts.h"
#include "skin/host/Resources.h"
#include "tests/skin/host/HostTestSupport.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>

namespace {

using ostrel::host::FindProgramResource;
using ostrel::host::FunctionResourceLookup;
using ostrel::host::MemoryResourceLookup;
using ostrel::host::ScopedResourceLookup;

TEST(ResourceLookup, NamesMatchWithoutRegardToAsciiCase) {
  MemoryResourceLookup resources;
  resources.Add(QStringLiteral("BG"), "png bytes");
  resources.Add(QStringLiteral("Straße"), "sharp s");
  const ScopedResourceLookup scope(resources);
  EXPECT_EQ(FindProgramResource(QStringLiteral("bg")), QByteArray("png bytes"));
  EXPECT_EQ(FindProgramResource(QStringLiteral("STRAße")), QByteArray("sharp s"));
  EXPECT_EQ(FindProgramResource(QStringLiteral("STRASSE")), std::nullopt) << "only ASCII letters fold";
  EXPECT_EQ(FindProgramResource(QStringLiteral("missing")), std::nullopt);
  EXPECT_EQ(resources.LookupCount(), 4);
}

TEST(ResourceLookup, ScopesNestAndEndWithNothingInstalled) {
  EXPECT_EQ(FindProgramResource(QStringLiteral("bg")), std::nullopt);
  MemoryResourceLookup outer;
  outer.Add(QStringLiteral("bg"), "outer");
  const ScopedResourceLookup outerScope(outer);
  {
    const FunctionResourceLookup inner([](const QString& AName) -> std::optional<QByteArray> {
      if (AName == u"bg") return QByteArray("inner");
      return std::nullopt;
    });
    const ScopedResourceLookup innerScope(inner);
    EXPECT_EQ(FindProgramResource(QStringLiteral("bg")), QByteArray("inner"));
  }
  EXPECT_EQ(FindProgramResource(QStringLiteral("bg")), QByteArray("outer"));
}

TEST(FontFamilies, MissingFamiliesResolveToTheInstalledFallback) {
  host_test::App();
  ASSERT_TRUE(QFontDatabase::hasFamily(QStringLiteral("DejaVu Sans")))
      << "scripts/install-deps.sh installs the family the tests measure with";
  const QString missing = QStringLiteral("Segoe UI");
  if (QFontDatabase::hasFamily(missing)) GTEST_SKIP() << "this machine has the family itself";
  EXPECT_EQ(ostrel::host::ResolvedFontFamily(missing), QStringLiteral("DejaVu Sans"));
  EXPECT_EQ(ostrel::host::ResolvedFontFamily(QStringLiteral("No Such Family 7")), QStringLiteral("DejaVu Sans"));
  EXPECT_EQ(ostrel::host::ResolvedFontFamily(QStringLiteral("DejaVu Serif")), QStringLiteral("DejaVu Serif"))
      << "installed families stay themselves";
}

}  // namespace
