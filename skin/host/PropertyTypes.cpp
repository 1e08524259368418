#include "skin/host/PropertyTypes.h"

#include <QHash>
#include <QMetaObject>

#include <array>
#include <cstring>

namespace ostrel::host {

namespace {

QHash<int, QStringList>& RegisteredEnumNames() {
  static QHash<int, QStringList> names;
  return names;
}

QHash<int, SetTypeInfo>& RegisteredSetTypes() {
  static QHash<int, SetTypeInfo> types;
  return types;
}

struct NamedColor {
  const char* Name;
  TAlphaColor Value;
};
constexpr std::array<NamedColor, 5> kNamedColors{{
    {"claNull", claNull},
    {"claBlack", claBlack},
    {"claGray", claGray},
    {"claSilver", claSilver},
    {"claWhite", claWhite},
}};

}  // namespace

void RegisterEnumNamesFor(QMetaType AType, const QStringList& ANames) { RegisteredEnumNames().insert(AType.id(), ANames); }

EnumNames EnumNamesOf(QMetaType AType) {
  EnumNames result;
  if (!AType.isValid()) return result;
  const auto it = RegisteredEnumNames().constFind(AType.id());
  if (it != RegisteredEnumNames().cend()) {
    for (qsizetype i = 0; i < it->size(); ++i) result.push_back({i, it->at(i)});
    return result;
  }
  if (!AType.flags().testFlag(QMetaType::IsEnumeration)) return result;
  const QMetaObject* scope = AType.metaObject();
  if (scope == nullptr) return result;
  QByteArray name = AType.name();
  const qsizetype cut = name.lastIndexOf("::");
  if (cut >= 0) name = name.mid(cut + 2);
  const int index = scope->indexOfEnumerator(name.constData());
  if (index < 0) return result;
  const QMetaEnum meta = scope->enumerator(index);
  for (int i = 0; i < meta.keyCount(); ++i) result.push_back({meta.value(i), QString::fromLatin1(meta.key(i))});
  return result;
}

std::optional<qint64> EnumValueOf(const EnumNames& ANames, const QString& AName) {
  for (const EnumValueName& n : ANames) {
    if (n.Name.compare(AName, Qt::CaseInsensitive) == 0) return n.Value;
  }
  return std::nullopt;
}

QString EnumNameOf(const EnumNames& ANames, qint64 AValue) {
  for (const EnumValueName& n : ANames) {
    if (n.Value == AValue) return n.Name;
  }
  return QString();
}

qint64 EnumVariantValue(const QVariant& AValue) {
  const void* data = AValue.constData();
  switch (AValue.metaType().sizeOf()) {
    case 1: return *static_cast<const std::uint8_t*>(data);
    case 2: return *static_cast<const std::uint16_t*>(data);
    case 4: return *static_cast<const std::int32_t*>(data);
    case 8: return *static_cast<const std::int64_t*>(data);
    default: return AValue.toLongLong();
  }
}

QVariant MakeEnumVariant(QMetaType AType, qint64 AValue) {
  QVariant result(AType, nullptr);
  void* data = result.data();
  switch (AType.sizeOf()) {
    case 1: *static_cast<std::uint8_t*>(data) = static_cast<std::uint8_t>(AValue); break;
    case 2: *static_cast<std::uint16_t*>(data) = static_cast<std::uint16_t>(AValue); break;
    case 4: *static_cast<std::int32_t*>(data) = static_cast<std::int32_t>(AValue); break;
    case 8: *static_cast<std::int64_t*>(data) = AValue; break;
    default: return QVariant(AValue);
  }
  return result;
}

void RegisterSetTypeInfo(QMetaType ASetType, SetTypeInfo AInfo) { RegisteredSetTypes().insert(ASetType.id(), std::move(AInfo)); }

const SetTypeInfo* FindSetType(QMetaType ASetType) {
  if (!ASetType.isValid()) return nullptr;
  const auto it = RegisteredSetTypes().constFind(ASetType.id());
  return it == RegisteredSetTypes().cend() ? nullptr : &*it;
}

std::optional<TAlphaColor> ColorFromName(const QString& AName) {
  for (const NamedColor& c : kNamedColors) {
    if (AName.compare(QLatin1String(c.Name), Qt::CaseInsensitive) == 0) return c.Value;
  }
  return std::nullopt;
}

QString ColorToText(TAlphaColor AColor) {
  for (const NamedColor& c : kNamedColors) {
    if (c.Value == AColor) return QString::fromLatin1(c.Name);
  }
  return QStringLiteral("x%1").arg(AColor, 8, 16, QChar(u'0')).toUpper().replace(0, 1, u'x');
}

}  // namespace ostrel::host
