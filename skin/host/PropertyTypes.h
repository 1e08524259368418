#pragma once
// What stored forms need to know about property types beyond Qt's own
// meta-object data: names of plain (non-Q_ENUM) enumerations, the element type
// of TSet<E> properties, colour names, and the hook through which an object
// stores blobs of its own format.

#include "skin/host/Set.h"
#include "skin/host/Types.h"

#include <QByteArray>
#include <QMetaEnum>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

// Implemented by objects (components or their owned sub-objects) that keep
// properties in a binary format of their own; stored forms write them as
// `Name = { hex bytes }`.
class IBinaryProperties {
 public:
  virtual QStringList BinaryPropertyNames() const = 0;
  // Throws an Exception when AData is not valid for AName; the object must
  // then be left as it was.
  virtual void ReadBinaryProperty(const QString& AName, const QByteArray& AData) = 0;
  // Nothing when the property has nothing to store.
  virtual std::optional<QByteArray> WriteBinaryProperty(const QString& AName) const = 0;

 protected:
  ~IBinaryProperties() = default;
};

namespace ostrel::host {

struct EnumValueName {
  qint64 Value;
  QString Name;
};
using EnumNames = std::vector<EnumValueName>;

// Names for AType: registered names first, else the Q_ENUM keys; empty when
// AType is no enumeration this layer knows.
EnumNames EnumNamesOf(QMetaType AType);
std::optional<qint64> EnumValueOf(const EnumNames& ANames, const QString& AName);
QString EnumNameOf(const EnumNames& ANames, qint64 AValue);

// Enumerations declared outside any Q_OBJECT / Q_GADGET scope cannot use Q_ENUM;
// their value names are registered in ordinal order instead.
void RegisterEnumNamesFor(QMetaType AType, const QStringList& ANames);
template <class E>
void RegisterEnumNames(std::initializer_list<const char*> ANames) {
  static_assert(std::is_enum_v<E>);
  QStringList names;
  for (const char* n : ANames) names.append(QString::fromLatin1(n));
  RegisterEnumNamesFor(QMetaType::fromType<E>(), names);
}

// Reads and builds a variant of an enumeration type from its integer value.
qint64 EnumVariantValue(const QVariant& AValue);
QVariant MakeEnumVariant(QMetaType AType, qint64 AValue);

struct SetTypeInfo {
  QMetaType Element;
  std::function<std::uint64_t(const QVariant&)> ToBits;
  std::function<QVariant(std::uint64_t)> FromBits;
};

void RegisterSetTypeInfo(QMetaType ASetType, SetTypeInfo AInfo);
const SetTypeInfo* FindSetType(QMetaType ASetType);

// Makes TSet<E> properties readable and writable as `[member, member]`.
template <class E>
void RegisterSetType() {
  using S = TSet<E>;
  RegisterSetTypeInfo(QMetaType::fromType<S>(),
                      SetTypeInfo{QMetaType::fromType<E>(),
                                  [](const QVariant& AValue) { return AValue.value<S>().ToBits(); },
                                  [](std::uint64_t ABits) { return QVariant::fromValue(S::FromBits(ABits)); }});
}

// The colour names a stored form may use instead of xAARRGGBB.
std::optional<TAlphaColor> ColorFromName(const QString& AName);
QString ColorToText(TAlphaColor AColor);

}  // namespace ostrel::host
