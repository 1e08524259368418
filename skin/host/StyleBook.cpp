#include "skin/host/StyleBook.h"

#include "skin/host/Resources.h"

TStyleBook::TStyleBook(TComponent* AOwner) : TComponent(AOwner) {}

TStyleBook::~TStyleBook() = default;

void TStyleBook::SetResource(const QStringList& AValue) {
  auto styles = std::make_unique<ostrel::host::FormObject>();
  if (!AValue.isEmpty()) *styles = ostrel::host::ParseForm(AValue.join(u'\n'));
  FStyles = std::move(styles);
  FResource = AValue;
}

bool TStyleBook::LoadFromResource(const QString& AName) {
  const std::optional<QByteArray> bytes = ostrel::host::FindProgramResource(AName);
  if (!bytes) return false;
  SetResource(QString::fromUtf8(*bytes).split(u'\n'));
  return true;
}

QStringList TStyleBook::StyleNames() const {
  QStringList names;
  if (FStyles) {
    for (const ostrel::host::FormObject& style : FStyles->Children) names << style.Name;
  }
  return names;
}

const ostrel::host::FormObject* TStyleBook::FindStyle(const QString& AStyleName) const {
  if (!FStyles) return nullptr;
  for (const ostrel::host::FormObject& style : FStyles->Children) {
    if (style.Name.compare(AStyleName, Qt::CaseInsensitive) == 0) return &style;
  }
  return nullptr;
}

const ostrel::host::FormValue* TStyleBook::StyleValue(const QString& AStyleName, const QString& APath) const {
  const ostrel::host::FormObject* style = FindStyle(AStyleName);
  if (style == nullptr) return nullptr;
  // The last line wins, as when a form sets a property twice.
  for (auto it = style->Properties.rbegin(); it != style->Properties.rend(); ++it) {
    if (it->Path.compare(APath, Qt::CaseInsensitive) == 0) return &it->Value;
  }
  return nullptr;
}

namespace ostrel::host {

QString PlatformStyleResource(int AMajor, int AMinor) {
  if (AMajor == 6 && (AMinor == 2 || AMinor == 3)) return QStringLiteral("WIN8STYLE");
  if (AMajor > 0 && (AMajor < 6 || (AMajor == 6 && AMinor < 2))) return QStringLiteral("WIN7STYLE");
  return QStringLiteral("WIN10STYLE");
}

}  // namespace ostrel::host
