#include "skin/host/Fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QSet>

namespace ostrel::host {

namespace {
// Families already looked at; UI thread only, like every font use.
QSet<QString>& CheckedFamilies() {
  static QSet<QString> checked;
  return checked;
}
}  // namespace

QStringList FallbackFontFamilies() { return {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")}; }

void EnsureFontFamily(const QString& AFamily) {
  if (AFamily.isEmpty()) return;
  QSet<QString>& checked = CheckedFamilies();
  if (checked.contains(AFamily)) return;
  checked.insert(AFamily);
  if (QFontDatabase::hasFamily(AFamily) || !QFont::substitutes(AFamily).isEmpty()) return;
  QFont::insertSubstitutions(AFamily, FallbackFontFamilies());
}

QString ResolvedFontFamily(const QString& AFamily) {
  EnsureFontFamily(AFamily);
  return QFontInfo(QFont(AFamily)).family();
}

}  // namespace ostrel::host
